// The POSIX serial transport with its reader thread on real pseudo-terminals: reads that never
// block, chunks stamped when they arrive, closing and opening again with nothing lost or repeated,
// settings refused by what is not a serial device, and a device that vanishes while open.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "tests/integration/child_process.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

class PosixSerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::StartSocatPair(socat, folder.File("com1"), folder.File("com2"),
                                        folder.File("socat.log")));
  }
  // Milliseconds a call takes: a guard against hangs, not a performance figure.
  template <typename F>
  static int64_t MsTaken(F f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
  }

  TempFolder folder;
  ChildProcess socat;
  std::unique_ptr<SerialPort> a = MakePosixSerialPort(folder.path());
  std::unique_ptr<SerialPort> b = MakePosixSerialPort(folder.path());
};

TEST_F(PosixSerialPortTest, BytesCrossTheLineBothWaysUnchanged) {
  ASSERT_TRUE(a->Open("COM1"));
  ASSERT_TRUE(b->Open("COM2"));
  // Every byte value, including those a cooked terminal would eat (XON, XOFF, CR, ^C).
  uint8_t all[256];
  for (int i = 0; i < 256; ++i) all[i] = static_cast<uint8_t>(i);
  int written = 0;
  ASSERT_TRUE(a->Write(all, 256, &written));
  EXPECT_EQ(written, 256);
  std::string got;
  for (int i = 0; i < 500 && got.size() < 256; ++i) {
    uint8_t buffer[255];
    int count = 0;
    ASSERT_TRUE(b->Read(buffer, 255, &count));
    got.append(reinterpret_cast<char*>(buffer), count);
  }
  EXPECT_EQ(got, std::string(reinterpret_cast<char*>(all), 256));
  ASSERT_TRUE(b->Write(all + 0x10, 5, &written));
  uint8_t back[8];
  int count = 0;
  for (int i = 0; i < 500 && count == 0; ++i) ASSERT_TRUE(a->Read(back, 8, &count));
  EXPECT_EQ(count, 5);
  EXPECT_EQ(back[0], 0x10);
}

TEST_F(PosixSerialPortTest, AReadWithNothingPendingSucceedsWithZeroBytesAtOnce) {
  ASSERT_TRUE(a->Open("COM1"));
  uint8_t buffer[255];
  int count = -1;
  bool ok = false;
  EXPECT_LT(MsTaken([&] { ok = a->Read(buffer, 255, &count); }), 100);
  EXPECT_TRUE(ok);
  EXPECT_EQ(count, 0);
}

TEST_F(PosixSerialPortTest, AMissingDeviceDoesNotOpen) {
  EXPECT_FALSE(a->Open("COM7"));
  EXPECT_FALSE(a->IsOpen());
  EXPECT_FALSE(a->Open("LPT1"));
}

TEST_F(PosixSerialPortTest, AFileThatRefusesTheLineSettingsIsClosedAgain) {
  const std::string plain = folder.File("com3");
  ASSERT_TRUE(WriteFileReplacing(plain.c_str(), "not a serial line"));
  EXPECT_FALSE(a->Open("COM3"));
  EXPECT_FALSE(a->IsOpen());
}

TEST_F(PosixSerialPortTest, APortOpenElsewhereIsBusyUntilClosed) {
  ASSERT_TRUE(a->Open("COM1"));
  EXPECT_FALSE(b->Open("COM1"));
  a->Close();
  EXPECT_TRUE(b->Open("COM1"));
}

TEST_F(PosixSerialPortTest, OpeningAnotherPortClosesTheFirst) {
  ASSERT_TRUE(a->Open("COM1"));
  ASSERT_TRUE(a->Open("COM2"));
  EXPECT_TRUE(b->Open("COM1"));
}

TEST_F(PosixSerialPortTest, AVanishedDeviceFailsReadsAndWritesWithoutBlocking) {
  ASSERT_TRUE(a->Open("COM1"));
  socat.Kill();  // the adapter is pulled while the reader waits on the line
  const uint8_t request[5] = {0xFF, 0xFF, 0xFF, 0xE0, 0x03};
  int written = -1;
  EXPECT_LT(MsTaken([&] { a->Write(request, 5, &written); }), 500);
  EXPECT_EQ(written, 0);
  // The reader reports the failure as soon as it has seen it; every read returns at once.
  bool ok = true;
  int count = -1;
  for (int i = 0; i < 1000 && ok; ++i) {
    uint8_t buffer[255];
    EXPECT_LT(MsTaken([&] { ok = a->Read(buffer, 255, &count); }), 100);
  }
  EXPECT_FALSE(ok);
  EXPECT_EQ(count, 0);
  SerialChunk chunk;
  EXPECT_EQ(a->TakeChunk(chunk), ChunkTake::kFailed);
  EXPECT_LT(MsTaken([&] { a->Close(); }), 1000);  // the reader is joined, never hung
}

// Bytes taken long after they came keep the counter of their arrival.
TEST_F(PosixSerialPortTest, AChunkTakenLateKeepsTheCounterOfItsArrival) {
  Clock& clock = SystemClock();
  ASSERT_TRUE(a->Open("COM1"));
  ASSERT_TRUE(b->Open("COM2"));
  const int64_t frequency = clock.PerformanceFrequency();
  const int64_t beforeWrite = clock.PerformanceCounter();
  const uint8_t frame[2] = {0x03, 0xE9};
  int written = 0;
  ASSERT_TRUE(b->Write(frame, 2, &written));
  clock.Sleep(500);  // the program's thread is busy elsewhere
  const int64_t takenAt = clock.PerformanceCounter();
  SerialChunk chunk;
  ASSERT_EQ(a->TakeChunk(chunk), ChunkTake::kChunk);
  EXPECT_EQ(chunk.count, 2);
  EXPECT_EQ(chunk.bytes[1], 0xE9);
  EXPECT_GE(chunk.counter, beforeWrite);
  EXPECT_LT(chunk.counter, takenAt - frequency / 4) << "stamped when taken, not when it came";
}

// Close joins the reader and throws away what was not taken; after Open again every byte sent
// comes once, in order, and none of the earlier opening comes back.
TEST_F(PosixSerialPortTest, ClosingAndOpeningAgainLosesNothingSentAfterTheOpeningAndRepeatsNothing) {
  ASSERT_TRUE(a->Open("COM1"));
  ASSERT_TRUE(b->Open("COM2"));
  auto send = [&](int first, int n) {
    for (int i = first; i < first + n; ++i) {
      const uint8_t byte = static_cast<uint8_t>(i);
      int written = 0;
      ASSERT_TRUE(b->Write(&byte, 1, &written));
      ASSERT_EQ(written, 1);
    }
  };
  auto receive = [&](size_t n) {
    std::string got;
    for (int i = 0; i < 2000 && got.size() < n; ++i) {
      SerialChunk chunk;
      if (a->TakeChunk(chunk) == ChunkTake::kChunk) {
        got.append(reinterpret_cast<char*>(chunk.bytes), chunk.count);
      } else {
        SystemClock().Sleep(1);
      }
    }
    return got;
  };
  auto expected = [](int first, int n) {
    std::string out;
    for (int i = first; i < first + n; ++i) out += static_cast<char>(i);
    return out;
  };
  for (int round = 0; round < 3; ++round) {
    send(round * 60, 40);
    EXPECT_EQ(receive(40), expected(round * 60, 40)) << "round " << round;
    send(round * 60 + 40, 20);  // left untaken when the port closes
    SystemClock().Sleep(50);
    EXPECT_LT(MsTaken([&] { a->Close(); }), 1000);
    EXPECT_FALSE(a->IsOpen());
    ASSERT_TRUE(a->Open("COM1"));
  }
  send(200, 30);
  EXPECT_EQ(receive(30), expected(200, 30));
  SystemClock().Sleep(50);
  SerialChunk chunk;
  EXPECT_EQ(a->TakeChunk(chunk), ChunkTake::kNothing) << "nothing more, nothing twice";
}

}  // namespace
}  // namespace zarvo
