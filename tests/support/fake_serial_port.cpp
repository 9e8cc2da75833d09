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

void FakeSerialPort::QueueAt(int64_t atMs, const Bytes& chunk) {
  chunks_.push_back({atMs, chunk});
}

bool FakeSerialPort::Read(uint8_t* buffer, int max, int* count) {
  ++reads;
  *count = 0;
  if (!open_) return false;
  const int64_t now = clock_ != nullptr ? clock_->NowMs() : 0;
  if (chunks_.empty() || chunks_.front().atMs > now) {
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
