// A serial port for tests: records what is written, serves scripted bytes, and fails opens,
// writes and the line on demand. Each queued chunk is what one read of the line brought: it
// arrives at a given time and carries the performance counter of that time, as the reader of the
// real port stamps it. With a FakeClock, chunks can be scheduled for a later time and every Read
// that finds nothing lets 1 ms pass, as the real port's wait does.
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
  void Close() override;
  bool IsOpen() const override { return open_; }
  bool Read(uint8_t* buffer, int max, int* count) override;
  ChunkTake TakeChunk(SerialChunk& chunk) override;
  bool Write(const uint8_t* bytes, int count, int* written) override;

  // A chunk that arrives now (after the chunks already queued). A Read or TakeChunk returns at
  // most one chunk, so the chunks are the pieces the program sees.
  void Queue(const Bytes& chunk);
  // A chunk that arrives once the clock reaches atMs (FakeClock::NowMs()), stamped with the
  // counter of that instant.
  void QueueAt(int64_t atMs, const Bytes& chunk);
  size_t Pending() const { return chunks_.size(); }
  // The counter a chunk arriving at atMs carries.
  static int64_t CounterAt(int64_t atMs) { return atMs * 10000; }

  std::vector<std::string> opened;  // every name Open was called with
  std::vector<Bytes> writes;        // every write, successful or not
  bool openSucceeds = true;
  std::deque<bool> openResults;  // consumed first, then openSucceeds applies
  bool writesSucceed = true;
  std::deque<bool> writeResults;  // consumed first, then writesSucceed applies
  // The device is gone: once the chunks that arrived are taken, reads fail.
  bool lineFailed = false;
  int reads = 0;  // Read and TakeChunk calls
  // Called after every write with its bytes: lets a test answer a request.
  std::function<void(const Bytes&)> onWrite;

 private:
  struct Chunk {
    int64_t atNs;
    Bytes bytes;
  };
  bool Arrived() const;
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
