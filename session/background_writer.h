// A file written by a thread of its own, fed by the user-interface thread through a bounded queue,
// so that the UI thread (and the 10 ms tick on it) never waits for the disk. The run journal and
// the tick log of a measurement run are written this way.
//
// The queue is one ring of fixed size, allocated once: a Write copies its bytes into it under a
// short lock and returns; the writer thread hands them to the file, in the order they came, one
// Append per Write, and pushes them to the disk (Sync) at most every syncIntervalMs after the first
// byte not yet pushed, or at once after a Write that asks for it. When the queue has no room for a
// Write, nothing of it is queued and Write says so: the caller decides (the journal stops
// recording and tells the user; nothing is dropped in silence).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zarvo {

// The file the writer thread owns. Every call comes from that thread; Open closes a file that is
// still open first.
class WriterFile {
 public:
  virtual ~WriterFile() = default;
  virtual bool Open(const char* path) = 0;
  virtual bool Append(std::string_view bytes) = 0;
  virtual bool Sync() = 0;
  virtual void Close() = 0;
};

// Milliseconds of a clock that never goes back, read by the writer thread to pace its pushes.
class WriterClock {
 public:
  virtual ~WriterClock() = default;
  virtual uint64_t NowMs() = 0;
};
// std::chrono::steady_clock.
WriterClock& SteadyWriterClock();

class BackgroundWriter {
 public:
  // capacityBytes: the queue (a Write takes its length plus 16 bytes, at most half the queue);
  // syncIntervalMs: how long bytes may wait before they are pushed to the disk; 0 = only on demand.
  BackgroundWriter(WriterFile& file, size_t capacityBytes, uint32_t syncIntervalMs,
                   WriterClock& clock = SteadyWriterClock());
  // Everything queued is written (and pushed when it was due), the file closed, the thread ended.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Each returns at once; false, queuing nothing, when the queue has no room for it.
  // Open: the file named path (an open file is closed first); opens are numbered from 1.
  bool Open(std::string_view path);
  bool Write(std::string_view bytes, bool syncNow);
  bool Close();

  // Blocks until everything queued before the call is done, and any push then due (never on the
  // tick: it waits for the disk).
  void Flush();
  // The writer looks at its clock again (the clock of a test moved on).
  void Wake();

  // What the writer thread has done, readable from any thread.
  uint64_t OpensQueued() const { return opensQueued_; }  // the UI thread's count
  // The number of the last open whose file could not be opened, or that met a failed Append or
  // Sync; 0 when none.
  uint64_t LastFailedOpen() const { return lastFailedOpen_.load(); }
  // The number of the last open whose file could not be opened at all; 0 when none.
  uint64_t LastRefusedOpen() const { return lastRefusedOpen_.load(); }
  uint64_t Syncs() const { return syncs_.load(); }
  uint64_t Appends() const { return appends_.load(); }

 private:
  enum class Kind : uint32_t { kPad, kOpen, kWrite, kWriteSync, kClose };
  struct Header {
    Kind kind;
    uint32_t length;  // of the payload that follows the header
  };
  bool Push(Kind kind, std::string_view payload);
  void Run();
  void Process(Kind kind, std::string_view payload);
  void DoSync();

  WriterFile& file_;
  WriterClock& clock_;
  const uint32_t syncIntervalMs_;
  std::vector<char> ring_;

  std::mutex mutex_;
  std::condition_variable wake_;  // the writer: something to do
  std::condition_variable idle_;  // Flush: the writer has nothing left to do
  size_t head_ = 0;               // where the next record goes
  size_t tail_ = 0;               // the next record to process
  size_t used_ = 0;               // bytes of the ring taken by records not yet processed
  bool writerIdle_ = false;
  bool stop_ = false;

  // The writer thread's own state.
  bool open_ = false;
  bool dirty_ = false;  // appended and not yet pushed
  uint64_t lastSyncMs_ = 0;
  uint64_t opensDone_ = 0;

  uint64_t opensQueued_ = 0;
  std::atomic<uint64_t> lastFailedOpen_{0};
  std::atomic<uint64_t> lastRefusedOpen_{0};
  std::atomic<uint64_t> syncs_{0};
  std::atomic<uint64_t> appends_{0};
  std::thread thread_;
};

}  // namespace zarvo
