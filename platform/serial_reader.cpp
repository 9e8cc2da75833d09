// The serial port's reader thread and the taking of its chunks (see serial_reader.h).
#include "platform/serial_reader.h"

#include <algorithm>
#include <cstring>

namespace zarvo {

void DiscardReceived(SerialPort& port) {
  SerialChunk chunk;
  while (port.TakeChunk(chunk) == ChunkTake::kChunk) {
  }
}

ReadingSerialPort::ReadingSerialPort(std::unique_ptr<SerialDevice> device, Clock& clock)
    : device_(std::move(device)), clock_(clock) {}

ReadingSerialPort::~ReadingSerialPort() {
  Close();
}

bool ReadingSerialPort::Open(const char* name) {
  Close();
  if (!device_->Open(name)) return false;
  stop_.store(false);
  lineFailed_.store(false);
  reader_ = std::thread(&ReadingSerialPort::ReaderLoop, this);
  return true;
}

void ReadingSerialPort::Close() {
  if (reader_.joinable()) {
    stop_.store(true);
    device_->Wake();
    reader_.join();
  }
  device_->Close();
  // The reader is gone: the consumer may empty the queue. Bytes of this opening are never
  // delivered as if they came after the next one.
  queue_.Clear();
  frontTaken_ = 0;
  lineFailed_.store(false);
}

void ReadingSerialPort::PauseReader(int ms) {
  for (int waited = 0; waited < ms && !stop_.load(std::memory_order_relaxed); ++waited) {
    clock_.Sleep(1);
  }
}

void ReadingSerialPort::ReaderLoop() {
  device_->ReaderStarted();
  bool stalled = false;
  while (!stop_.load(std::memory_order_relaxed)) {
    SerialChunk* slot = queue_.BeginPush();
    if (slot == nullptr) {
      if (!stalled) fullStalls_.fetch_add(1, std::memory_order_relaxed);
      stalled = true;
      PauseReader(1);
      continue;
    }
    stalled = false;
    int count = 0;
    const LineWait got = device_->WaitForBytes(slot->bytes, kSerialChunkCapacity, &count);
    // The stamp of the bytes: taken before anything else, however late this thread runs on.
    const int64_t counter = clock_.PerformanceCounter();
    if (got == LineWait::kFailed) {
      lineFailed_.store(true, std::memory_order_release);
      PauseReader(kRetryAfterFailureMs);
      continue;
    }
    lineFailed_.store(false, std::memory_order_release);
    if (got != LineWait::kBytes || count <= 0) continue;
    slot->counter = counter;
    slot->count = std::min(count, kSerialChunkCapacity);
    queue_.CommitPush();
  }
}

ChunkTake ReadingSerialPort::TakeChunk(SerialChunk& chunk) {
  if (!reader_.joinable()) return ChunkTake::kFailed;
  // The failure is read first: every chunk read before it was published before it.
  const bool failed = lineFailed_.load(std::memory_order_acquire);
  SerialChunk* front = queue_.Front();
  if (front == nullptr) return failed ? ChunkTake::kFailed : ChunkTake::kNothing;
  chunk.counter = front->counter;
  chunk.count = front->count - frontTaken_;
  std::memcpy(chunk.bytes, front->bytes + frontTaken_, static_cast<size_t>(chunk.count));
  frontTaken_ = 0;
  queue_.Pop();
  return ChunkTake::kChunk;
}

bool ReadingSerialPort::Read(uint8_t* buffer, int max, int* count) {
  *count = 0;
  if (!reader_.joinable() || max <= 0) return false;
  bool failed = lineFailed_.load(std::memory_order_acquire);
  SerialChunk* front = queue_.Front();
  if (front == nullptr) {
    if (failed) return false;
    clock_.Sleep(1);
    failed = lineFailed_.load(std::memory_order_acquire);
    front = queue_.Front();
    if (front == nullptr) return !failed;
  }
  const int n = std::min(max, front->count - frontTaken_);
  std::memcpy(buffer, front->bytes + frontTaken_, static_cast<size_t>(n));
  frontTaken_ += n;
  if (frontTaken_ == front->count) {
    frontTaken_ = 0;
    queue_.Pop();
  }
  *count = n;
  return true;
}

bool ReadingSerialPort::Write(const uint8_t* bytes, int count, int* written) {
  *written = 0;
  if (!reader_.joinable()) return false;
  return device_->Write(bytes, count, written);
}

}  // namespace zarvo
