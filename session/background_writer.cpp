// The writer thread and its bounded queue (see background_writer.h).
#include "session/background_writer.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace zarvo {

namespace {

constexpr size_t kAlign = 8;
constexpr size_t kHeaderBytes = 8;

size_t Rounded(size_t n) {
  return (n + kAlign - 1) / kAlign * kAlign;
}

class SteadyClock final : public WriterClock {
 public:
  uint64_t NowMs() override {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

}  // namespace

WriterClock& SteadyWriterClock() {
  static SteadyClock clock;
  return clock;
}

BackgroundWriter::BackgroundWriter(WriterFile& file, size_t capacityBytes, uint32_t syncIntervalMs,
                                   WriterClock& clock)
    : file_(file),
      clock_(clock),
      syncIntervalMs_(syncIntervalMs),
      ring_(std::max(Rounded(capacityBytes), size_t(64))) {
  static_assert(sizeof(Header) == kHeaderBytes, "records are laid out in 8-byte steps");
  thread_ = std::thread([this] { Run(); });
}

BackgroundWriter::~BackgroundWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

bool BackgroundWriter::Push(Kind kind, std::string_view payload) {
  const size_t need = kHeaderBytes + Rounded(payload.size());
  const size_t capacity = ring_.size();
  if (need > capacity / 2) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t toEnd = capacity - head_;
    const size_t cost = need + (toEnd < need ? toEnd : 0);
    if (cost > capacity - used_) return false;
    if (toEnd < need) {
      // The record does not fit before the end of the ring: the rest is padding.
      const Header pad{Kind::kPad, uint32_t(toEnd - kHeaderBytes)};
      std::memcpy(&ring_[head_], &pad, kHeaderBytes);
      used_ += toEnd;
      head_ = 0;
    }
    const Header header{kind, uint32_t(payload.size())};
    std::memcpy(&ring_[head_], &header, kHeaderBytes);
    if (!payload.empty()) std::memcpy(&ring_[head_ + kHeaderBytes], payload.data(), payload.size());
    head_ = (head_ + need) % capacity;
    used_ += need;
    writerIdle_ = false;
    if (kind == Kind::kOpen) ++opensQueued_;
  }
  wake_.notify_one();
  return true;
}

bool BackgroundWriter::Open(std::string_view path) {
  return Push(Kind::kOpen, path);
}

bool BackgroundWriter::Write(std::string_view bytes, bool syncNow) {
  return Push(syncNow ? Kind::kWriteSync : Kind::kWrite, bytes);
}

bool BackgroundWriter::Close() {
  return Push(Kind::kClose, std::string_view());
}

void BackgroundWriter::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return used_ == 0 && writerIdle_; });
}

void BackgroundWriter::Wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    writerIdle_ = false;
  }
  wake_.notify_one();
}

void BackgroundWriter::DoSync() {
  const bool ok = file_.Sync();
  syncs_.fetch_add(1);
  if (!ok) lastFailedOpen_.store(opensDone_);
  dirty_ = false;
  lastSyncMs_ = clock_.NowMs();
}

void BackgroundWriter::Process(Kind kind, std::string_view payload) {
  switch (kind) {
    case Kind::kPad:
      break;
    case Kind::kOpen: {
      if (open_ && dirty_) DoSync();
      file_.Close();
      ++opensDone_;
      const std::string path(payload);
      open_ = file_.Open(path.c_str());
      dirty_ = false;
      lastSyncMs_ = clock_.NowMs();  // the interval runs from the open
      if (!open_) {
        lastRefusedOpen_.store(opensDone_);
        lastFailedOpen_.store(opensDone_);
      }
      break;
    }
    case Kind::kWrite:
    case Kind::kWriteSync:
      if (!open_) break;  // the open failed: the caller knows it from LastFailedOpen
      appends_.fetch_add(1);
      if (!file_.Append(payload)) {
        lastFailedOpen_.store(opensDone_);
        file_.Close();
        open_ = false;
        break;
      }
      dirty_ = true;
      if (kind == Kind::kWriteSync) DoSync();
      break;
    case Kind::kClose:
      if (open_ && dirty_) DoSync();
      file_.Close();
      open_ = false;
      dirty_ = false;
      break;
  }
}

void BackgroundWriter::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (used_ > 0) {
      Header header;
      std::memcpy(&header, &ring_[tail_], kHeaderBytes);
      const size_t size = kHeaderBytes + Rounded(header.length);
      // The producer never writes where records wait, so the payload is read without the lock.
      const std::string_view payload(&ring_[tail_ + kHeaderBytes], header.length);
      lock.unlock();
      Process(header.kind, payload);
      lock.lock();
      tail_ = (tail_ + size) % ring_.size();
      used_ -= size;
      continue;
    }
    const bool pushDue = open_ && dirty_ && syncIntervalMs_ > 0;
    if (pushDue && clock_.NowMs() - lastSyncMs_ >= syncIntervalMs_) {
      lock.unlock();
      DoSync();
      lock.lock();
      continue;
    }
    if (stop_) break;
    writerIdle_ = true;
    idle_.notify_all();
    if (pushDue) {
      const uint64_t waited = clock_.NowMs() - lastSyncMs_;
      const uint64_t left = waited < syncIntervalMs_ ? syncIntervalMs_ - waited : 0;
      wake_.wait_for(lock, std::chrono::milliseconds(std::max<uint64_t>(left, 1)));
    } else {
      wake_.wait(lock);
    }
  }
  lock.unlock();
  if (open_ && dirty_) DoSync();
  file_.Close();
  open_ = false;
}

}  // namespace zarvo
