// A serial port for tests: records what is written, serves scripted bytes to the reads, and fails
// opens and writes on demand. With a FakeClock, bytes can be scheduled for a later time and every
// read that finds nothing lets 1 ms pass, as the real port's read timeout does.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "tests/support/fakes.h"

namespace zarvo::testing {

using Bytes = std::vector<uint8_t>;

class FakeSerialPort : public SerialPort {
 public:
  explicit FakeSerialPort(FakeClock* clock = nullptr) : clock_(clock) {}

  bool Open(const char* name) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Read(uint8_t* buffer, int max, int* count) override;
  bool Write(const uint8_t* bytes, int count, int* written) override;

  // Bytes that a read returns from now on (after the bytes already queued). A read returns at
  // most one queued chunk, so the chunks are the pieces the reads see.
  void Queue(const Bytes& chunk) { QueueAt(0, chunk); }
  // Bytes that become readable once the clock reaches atMs (FakeClock::NowMs()).
  void QueueAt(int64_t atMs, const Bytes& chunk);
  size_t Pending() const { return chunks_.size(); }

  std::vector<std::string> opened;  // every name Open was called with
  std::vector<Bytes> writes;        // every write, successful or not
  bool openSucceeds = true;
  std::deque<bool> openResults;  // consumed first, then openSucceeds applies
  bool writesSucceed = true;
  std::deque<bool> writeResults;  // consumed first, then writesSucceed applies
  int reads = 0;
  // Called after every write with its bytes: lets a test answer a request.
  std::function<void(const Bytes&)> onWrite;

 private:
  struct Chunk {
    int64_t atMs;
    Bytes bytes;
  };
  FakeClock* clock_;
  bool open_ = false;
  std::deque<Chunk> chunks_;
};

// Bytes from a list of numbers, for readable test data: B({0xFF, 0xFF, 0xFF, 0x01}).
inline Bytes B(std::initializer_list<int> values) {
  Bytes out;
  for (int v : values) out.push_back(static_cast<uint8_t>(v));
  return out;
}

}  // namespace zarvo::testing
