// The scripted serial port of the decoder tests.
#include "tests/support/fake_serial_port.h"

#include <algorithm>
#include <cstring>

namespace zarvo::testing {

bool FakeSerialPort::Open(const char* name) {
  opened.push_back(name);
  bool ok = openSucceeds;
  if (!openResults.empty()) {
    ok = openResults.front();
    openResults.pop_front();
  }
  open_ = ok;
  return ok;
}

// As the real port does, what has arrived and was not taken is thrown away; chunks due later are
// what the device will send.
void FakeSerialPort::Close() {
  open_ = false;
  while (Arrived()) chunks_.pop_front();
}

void FakeSerialPort::Queue(const Bytes& chunk) {
  chunks_.push_back({clock_ != nullptr ? clock_->nowNs : 0, chunk});
}

void FakeSerialPort::QueueAt(int64_t atMs, const Bytes& chunk) {
  chunks_.push_back({atMs * 1000000, chunk});
}

bool FakeSerialPort::Arrived() const {
  const int64_t now = clock_ != nullptr ? clock_->nowNs : 0;
  return !chunks_.empty() && chunks_.front().atNs <= now;
}

bool FakeSerialPort::Read(uint8_t* buffer, int max, int* count) {
  ++reads;
  *count = 0;
  if (!open_) return false;
  if (!Arrived()) {
    if (lineFailed) return false;
    if (clock_ != nullptr) clock_->Advance(1);
    return true;
  }
  Chunk& chunk = chunks_.front();
  const int n = std::min<int>(max, static_cast<int>(chunk.bytes.size()));
  std::memcpy(buffer, chunk.bytes.data(), n);
  chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + n);
  if (chunk.bytes.empty()) chunks_.pop_front();
  *count = n;
  return true;
}

ChunkTake FakeSerialPort::TakeChunk(SerialChunk& out) {
  ++reads;
  if (!open_) return ChunkTake::kFailed;
  if (!Arrived()) return lineFailed ? ChunkTake::kFailed : ChunkTake::kNothing;
  Chunk& chunk = chunks_.front();
  const int n = std::min<int>(kSerialChunkCapacity, static_cast<int>(chunk.bytes.size()));
  out.counter = chunk.atNs / 100;
  out.count = n;
  std::memcpy(out.bytes, chunk.bytes.data(), n);
  chunk.bytes.erase(chunk.bytes.begin(), chunk.bytes.begin() + n);
  if (chunk.bytes.empty()) chunks_.pop_front();
  return ChunkTake::kChunk;
}

bool FakeSerialPort::Write(const uint8_t* bytes, int count, int* written) {
  const Bytes data(bytes, bytes + count);
  writes.push_back(data);
  bool ok = open_ && writesSucceed;
  if (!writeResults.empty()) {
    ok = open_ && writeResults.front();
    writeResults.pop_front();
  }
  *written = ok ? count : 0;
  if (onWrite) onWrite(data);
  return ok;
}

}  // namespace zarvo::testing
