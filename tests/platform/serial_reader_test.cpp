// The serial port's reader thread over a scripted device: every chunk keeps the counter of the
// moment its read returned, however late it is taken; a full queue stops the reading without
// losing a byte; a failure comes after the bytes read before it; closing wakes and joins the
// reader and nothing of one opening is delivered after the next.
#include "platform/serial_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zarvo {
namespace {

using Bytes = std::vector<uint8_t>;

// A clock whose counter the device sets when a read returns, so that the stamp the reader takes
// right after is known to the test. Its sleeps are real, short ones.
class ScriptClock : public Clock {
 public:
  uint32_t TickCount() override { return 0; }
  int64_t PerformanceCounter() override { return counter.load(); }
  int64_t PerformanceFrequency() override { return 10000000; }
  LocalDateTime LocalTime() override { return {2026, 1, 1, 0, 0, 0}; }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  std::atomic<int64_t> counter{0};
};

// A device whose reads return scripted results; a read without a result waits for one, for a
// wake or for its time limit, as the real devices do.
class ScriptedDevice : public SerialDevice {
 public:
  explicit ScriptedDevice(ScriptClock& clock) : clock_(clock) {}

  struct Result {
    LineWait wait;
    Bytes bytes;
    int64_t counter;  // the counter at the moment the read returns
  };

  void Arrive(const Bytes& bytes, int64_t counter) { Push({LineWait::kBytes, bytes, counter}); }
  size_t Unread() {
    std::lock_guard<std::mutex> lock(mutex_);
    return results_.size();
  }

  bool Open(const char* name) override {
    opened.push_back(name);
    open_ = openSucceeds;
    return open_;
  }
  void Close() override {
    EXPECT_FALSE(inWait.load()) << "closed while the reader waits";
    open_ = false;
  }
  bool IsOpen() const override { return open_; }
  LineWait WaitForBytes(uint8_t* buffer, int max, int* count) override {
    *count = 0;
    if (failing.load()) {
      failures.fetch_add(1);
      return LineWait::kFailed;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    inWait.store(true);
    changed_.wait_for(lock, std::chrono::milliseconds(kSerialWaitLimitMs),
                      [&] { return woken_ || !results_.empty(); });
    inWait.store(false);
    if (woken_) {
      woken_ = false;
      return LineWait::kNothing;
    }
    if (results_.empty()) return LineWait::kNothing;
    Result r = results_.front();
    results_.pop_front();
    clock_.counter.store(r.counter);
    const int n = std::min<int>(max, static_cast<int>(r.bytes.size()));
    std::copy(r.bytes.begin(), r.bytes.begin() + n, buffer);
    *count = n;
    return r.wait;
  }
  void Wake() override {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    changed_.notify_all();
  }
  bool Write(const uint8_t* bytes, int count, int* written) override {
    writes.emplace_back(bytes, bytes + count);
    *written = count;
    return true;
  }

  std::vector<std::string> opened;
  std::vector<Bytes> writes;
  bool openSucceeds = true;
  std::atomic<bool> inWait{false};
  std::atomic<bool> failing{false};  // every read fails at once (the device is gone)
  std::atomic<int> failures{0};

 private:
  void Push(const Result& r) {
    std::lock_guard<std::mutex> lock(mutex_);
    results_.push_back(r);
    changed_.notify_all();
  }

  ScriptClock& clock_;
  bool open_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Result> results_;
  bool woken_ = false;
};

class ReadingSerialPortTest : public ::testing::Test {
 protected:
  ReadingSerialPortTest() {
    auto owned = std::make_unique<ScriptedDevice>(clock);
    device = owned.get();
    port = std::make_unique<ReadingSerialPort>(std::move(owned), clock);
  }

  // Waits (a guard against a hang, not a timing) until the condition holds.
  template <typename F>
  static bool Eventually(F condition) {
    for (int i = 0; i < 5000; ++i) {
      if (condition()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
  }
  // Takes chunks until n have come (or the guard gives up).
  std::vector<SerialChunk> TakeChunks(size_t n) {
    std::vector<SerialChunk> out;
    Eventually([&] {
      SerialChunk chunk;
      while (out.size() < n && port->TakeChunk(chunk) == ChunkTake::kChunk) out.push_back(chunk);
      return out.size() >= n;
    });
    return out;
  }
  static Bytes BytesOf(const SerialChunk& chunk) {
    return Bytes(chunk.bytes, chunk.bytes + chunk.count);
  }

  ScriptClock clock;
  ScriptedDevice* device;
  std::unique_ptr<ReadingSerialPort> port;
};

TEST_F(ReadingSerialPortTest, ChunksKeepTheCounterOfTheirReadHoweverLateTheyAreTaken) {
  ASSERT_TRUE(port->Open("COM3"));
  device->Arrive({0x00, 0x07}, 1000);
  device->Arrive({0x00}, 2500);
  device->Arrive({0x08, 0x01, 0x02}, 2600);
  ASSERT_TRUE(Eventually([&] { return device->Unread() == 0 && port->Queued() == 3; }));
  clock.counter.store(999999);  // the program comes to them much later
  const std::vector<SerialChunk> got = TakeChunks(3);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].counter, 1000);
  EXPECT_EQ(BytesOf(got[0]), (Bytes{0x00, 0x07}));
  EXPECT_EQ(got[1].counter, 2500);
  EXPECT_EQ(got[2].counter, 2600);
  EXPECT_EQ(BytesOf(got[2]), (Bytes{0x08, 0x01, 0x02}));
  SerialChunk none;
  EXPECT_EQ(port->TakeChunk(none), ChunkTake::kNothing);
}

TEST_F(ReadingSerialPortTest, AReadTakesPartOfAChunkAndTheRestKeepsItsCounter) {
  ASSERT_TRUE(port->Open("COM3"));
  device->Arrive({1, 2, 3, 4, 5}, 700);
  ASSERT_TRUE(Eventually([&] { return port->Queued() == 1; }));
  uint8_t buffer[2];
  int count = 0;
  ASSERT_TRUE(port->Read(buffer, 2, &count));
  EXPECT_EQ(Bytes(buffer, buffer + count), (Bytes{1, 2}));
  const std::vector<SerialChunk> rest = TakeChunks(1);
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(BytesOf(rest[0]), (Bytes{3, 4, 5}));
  EXPECT_EQ(rest[0].counter, 700);
  // Nothing waiting: a read comes back empty after its short wait.
  EXPECT_TRUE(port->Read(buffer, 2, &count));
  EXPECT_EQ(count, 0);
}

// The program's thread stalls: the queue fills, the reader stops reading (the rest stays in the
// device, as it stays in the operating system's buffer), and once the program takes the chunks
// every byte comes, in order, the stall counted.
TEST_F(ReadingSerialPortTest, AFullQueueStopsTheReadingAndLosesNothing) {
  ASSERT_TRUE(port->Open("COM3"));
  const int total = static_cast<int>(ReadingSerialPort::kQueueChunks) + 40;
  for (int i = 0; i < total; ++i) {
    device->Arrive({static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i)}, 100 + i);
  }
  ASSERT_TRUE(Eventually([&] { return port->Queued() == ReadingSerialPort::kQueueChunks; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(port->Queued(), ReadingSerialPort::kQueueChunks);
  EXPECT_EQ(device->Unread(), 40u);  // not read while there is no room
  EXPECT_GE(port->FullStalls(), 1);

  const std::vector<SerialChunk> got = TakeChunks(static_cast<size_t>(total));
  ASSERT_EQ(got.size(), static_cast<size_t>(total));
  for (int i = 0; i < total; ++i) {
    EXPECT_EQ(got[i].count, 2) << i;
    EXPECT_EQ(got[i].bytes[0] * 256 + got[i].bytes[1], i) << i;
    EXPECT_EQ(got[i].counter, 100 + i) << i;
  }
  EXPECT_EQ(device->Unread(), 0u);
}

TEST_F(ReadingSerialPortTest, AFailureIsReportedAfterTheBytesReadBeforeItUntilAReadWorksAgain) {
  ASSERT_TRUE(port->Open("COM3"));
  device->Arrive({0xAA, 0xBB}, 10);
  ASSERT_TRUE(Eventually([&] { return port->Queued() == 1; }));
  device->failing.store(true);
  device->Wake();  // the reader leaves its wait and meets the failure
  SerialChunk chunk;
  // A second failed read means the reader has marked the first: the failure is known before the
  // chunk is looked at, and the chunk still comes first.
  ASSERT_TRUE(Eventually([&] { return device->failures.load() >= 2; }));
  ASSERT_EQ(port->TakeChunk(chunk), ChunkTake::kChunk);
  EXPECT_EQ(BytesOf(chunk), (Bytes{0xAA, 0xBB}));
  ASSERT_TRUE(Eventually([&] { return port->TakeChunk(chunk) == ChunkTake::kFailed; }));
  uint8_t buffer[8];
  int count = -1;
  EXPECT_FALSE(port->Read(buffer, 8, &count));
  EXPECT_EQ(count, 0);
  // The line works again (a transient fault): the next bytes come and the failure is over.
  device->failing.store(false);
  device->Arrive({0x01}, 30);
  const std::vector<SerialChunk> after = TakeChunks(1);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].counter, 30);
  EXPECT_EQ(port->TakeChunk(chunk), ChunkTake::kNothing);
}

TEST_F(ReadingSerialPortTest, ClosingWakesTheWaitingReaderAndNothingOfAnOpeningComesAfterTheNext) {
  ASSERT_TRUE(port->Open("COM3"));
  device->Arrive({0x11, 0x22}, 10);
  ASSERT_TRUE(Eventually([&] { return port->Queued() == 1; }));
  ASSERT_TRUE(Eventually([&] { return device->inWait.load(); }));
  port->Close();  // the reader was waiting for more: woken and joined (the device checks it)
  EXPECT_FALSE(port->IsOpen());
  SerialChunk chunk;
  EXPECT_EQ(port->TakeChunk(chunk), ChunkTake::kFailed);
  uint8_t buffer[8];
  int count = -1;
  EXPECT_FALSE(port->Read(buffer, 8, &count));
  int written = -1;
  EXPECT_FALSE(port->Write(buffer, 5, &written));
  EXPECT_EQ(written, 0);

  ASSERT_TRUE(port->Open("COM4"));
  device->Arrive({0x33}, 40);
  const std::vector<SerialChunk> got = TakeChunks(1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(BytesOf(got[0]), (Bytes{0x33}));  // 11 22 of the first opening never comes
  EXPECT_EQ(port->TakeChunk(chunk), ChunkTake::kNothing);
  EXPECT_TRUE(port->Write(buffer, 5, &written));
  EXPECT_EQ(written, 5);
  EXPECT_EQ(device->opened, (std::vector<std::string>{"COM3", "COM4"}));
}

TEST_F(ReadingSerialPortTest, APortThatDoesNotOpenHasNoReader) {
  device->openSucceeds = false;
  EXPECT_FALSE(port->Open("COM9"));
  EXPECT_FALSE(port->IsOpen());
  SerialChunk chunk;
  EXPECT_EQ(port->TakeChunk(chunk), ChunkTake::kFailed);
  port->Close();  // closing what never opened is harmless
}

}  // namespace
}  // namespace zarvo
