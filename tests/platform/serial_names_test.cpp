// Port names to device paths: the "\\.\" prefix on Windows, the COM mapping on POSIX.
#include "platform/serial_names.h"

#include <gtest/gtest.h>

namespace zarvo {
namespace {

TEST(SerialNames, Com12OpensTheWin32DevicePathWithThePrefix) {
  EXPECT_EQ(Win32SerialDevicePath("COM12"), "\\\\.\\COM12");
  EXPECT_EQ(Win32SerialDevicePath("COM1"), "\\\\.\\COM1");
}

TEST(SerialNames, APrefixedNameIsNotPrefixedTwice) {
  EXPECT_EQ(Win32SerialDevicePath("\\\\.\\COM3"), "\\\\.\\COM3");
}

TEST(SerialNames, PosixMapsComPortsIntoTheComFolderOrOntoTtyS) {
  EXPECT_EQ(PosixSerialDevicePath("COM1", "/tmp/x"), "/tmp/x/com1");
  EXPECT_EQ(PosixSerialDevicePath("COM12", ""), "/dev/ttyS11");
  EXPECT_EQ(PosixSerialDevicePath("/dev/ttyUSB0", "/tmp/x"), "/dev/ttyUSB0");
}

TEST(SerialNames, PosixGivesNoDeviceForOtherNames) {
  EXPECT_EQ(PosixSerialDevicePath("", "/tmp/x"), "");
  EXPECT_EQ(PosixSerialDevicePath("COM", "/tmp/x"), "");
  EXPECT_EQ(PosixSerialDevicePath("COM0", ""), "");
  EXPECT_EQ(PosixSerialDevicePath("COM1x", ""), "");
  EXPECT_EQ(PosixSerialDevicePath("LPT1", ""), "");
}

}  // namespace
}  // namespace zarvo
