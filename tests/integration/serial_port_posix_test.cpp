// The POSIX serial transport on real pseudo-terminals: reads that never block, settings refused
// by what is not a serial device, and a device that vanishes while open.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

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
  socat.Kill();  // the adapter is pulled
  const uint8_t request[5] = {0xFF, 0xFF, 0xFF, 0xE0, 0x03};
  int written = -1;
  EXPECT_LT(MsTaken([&] { a->Write(request, 5, &written); }), 500);
  EXPECT_EQ(written, 0);
  uint8_t buffer[255];
  int count = -1;
  bool ok = true;
  EXPECT_LT(MsTaken([&] { ok = a->Read(buffer, 255, &count); }), 100);
  EXPECT_FALSE(ok);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zarvo
