// The hand-over of live results snapshots between the UI thread and the server's threads.
#include "web/snapshot_publisher.h"

#include <utility>

namespace zarvo {

void SnapshotPublisher::Publish(std::shared_ptr<Snapshot> snapshot) {
  if (snapshot == nullptr) return;
  std::shared_ptr<const Snapshot> previous;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    snapshot->version = ++version_;
    previous = std::exchange(current_, std::move(snapshot));
  }
  published_.notify_all();
  // `previous` is released here, outside the lock.
}

std::shared_ptr<const Snapshot> SnapshotPublisher::Current() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return current_;
}

std::shared_ptr<const Snapshot> SnapshotPublisher::WaitForNewer(
    uint64_t seen, std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  published_.wait_for(lock, timeout, [&] { return current_ != nullptr && version_ != seen; });
  return current_;
}

}  // namespace zarvo
