// Hands the live results from the user-interface thread to the server's threads: the UI thread
// publishes a new immutable snapshot after each refresh; readers take the current one, or wait a
// bounded time for a newer one. The lock is held only to swap or copy the pointer, so publishing
// never waits for a reader's work.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "web/live_snapshot.h"

namespace zarvo {

class SnapshotPublisher {
 public:
  // Stamps the next version on the snapshot and makes it the current one. UI thread.
  void Publish(std::shared_ptr<Snapshot> snapshot);

  // The current snapshot; null until the first one is published. Any thread.
  std::shared_ptr<const Snapshot> Current() const;

  // The current snapshot once its version differs from `seen`, or whatever is current after
  // `timeout` (possibly the same one, or null). Any thread.
  std::shared_ptr<const Snapshot> WaitForNewer(uint64_t seen,
                                               std::chrono::milliseconds timeout) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable published_;
  std::shared_ptr<const Snapshot> current_;
  uint64_t version_ = 0;
};

}  // namespace zarvo
