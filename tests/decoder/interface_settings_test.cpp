// The interface settings file: the exact bytes written, and what is read from good, damaged and
// missing files.
#include "decoder/interface_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::TempFolder;

class InterfaceSettingsFile : public ::testing::Test {
 protected:
  std::string Path() const { return folder.File(kInterfaceSettingsFile); }
  std::string Bytes() const {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(Path().c_str(), bytes, 4096));
    return bytes;
  }
  void Store(const std::string& bytes) { ASSERT_TRUE(WriteFileReplacing(Path().c_str(), bytes)); }
  InterfaceSettings Read() {
    InterfaceSettings s = {};
    EXPECT_TRUE(ReadInterfaceSettings(Path().c_str(), s));
    return s;
  }

  TempFolder folder;
};

TEST_F(InterfaceSettingsFile, OneLineWithTabsAndCrLf) {
  ASSERT_TRUE(WriteInterfaceSettings(Path().c_str(), "COM12", 1, "ZarvoOrix"));
  EXPECT_EQ(Bytes(), "COM12\t1\tZarvoOrix\r\n");
}

TEST_F(InterfaceSettingsFile, FlagZeroAlwaysStoresTheVexaKey) {
  ASSERT_TRUE(WriteInterfaceSettings(Path().c_str(), "COM4", 0, "ZarvoOrixBluetooth"));
  EXPECT_EQ(Bytes(), "COM4\t0\tZarvo\r\n");
}

TEST_F(InterfaceSettingsFile, TheFileNameIsTheSameInBothEditions) {
  EXPECT_STREQ(kInterfaceSettingsFile, "R\xE9glagesInterface2.rg");
}

TEST_F(InterfaceSettingsFile, WhatIsWrittenIsReadBack) {
  ASSERT_TRUE(WriteInterfaceSettings(Path().c_str(), "COM99", 1, "ZarvoOrixBluetooth"));
  const InterfaceSettings s = Read();
  EXPECT_STREQ(s.portName, "COM99");
  EXPECT_EQ(s.connected, 1);
  EXPECT_STREQ(s.deviceKey, "ZarvoOrixBluetooth");
}

TEST_F(InterfaceSettingsFile, ALineEndingWithLfOnlyIsRead) {
  Store("COM3\t1\tZarvoOrix\n");
  const InterfaceSettings s = Read();
  EXPECT_STREQ(s.portName, "COM3");
  EXPECT_EQ(s.connected, 1);
  EXPECT_STREQ(s.deviceKey, "ZarvoOrix");
}

TEST_F(InterfaceSettingsFile, LongFieldsAreCutToTheirCapacity) {
  Store("COM123456789\t1\t" + std::string(50, 'K') + "\r\n");
  const InterfaceSettings s = Read();
  EXPECT_STREQ(s.portName, "COM12");
  EXPECT_EQ(s.connected, 1);  // the cut port name does not shift the other fields
  EXPECT_EQ(std::string(s.deviceKey), std::string(29, 'K'));
}

TEST_F(InterfaceSettingsFile, AnEmptyPortNameKeepsTheOtherFieldsInPlace) {
  Store("\t0\tZarvo\r\n");  // what the identification writes when the file was missing
  const InterfaceSettings s = Read();
  EXPECT_STREQ(s.portName, "");
  EXPECT_EQ(s.connected, 0);
  EXPECT_STREQ(s.deviceKey, "Zarvo");
}

TEST_F(InterfaceSettingsFile, ADamagedFlagReadsAsNotConnected) {
  Store("COM2\tyes\tZarvoOrix\r\n");
  EXPECT_EQ(Read().connected, 0);
}

TEST_F(InterfaceSettingsFile, AnEmptyFileGivesEmptyFields) {
  Store("");
  const InterfaceSettings s = Read();
  EXPECT_STREQ(s.portName, "");
  EXPECT_EQ(s.connected, 0);
  EXPECT_STREQ(s.deviceKey, "");
}

TEST_F(InterfaceSettingsFile, AMissingFileIsReportedAndLeavesTheSettingsUnchanged) {
  InterfaceSettings s = {"COM7", 1, "ZarvoOrix"};
  EXPECT_FALSE(ReadInterfaceSettings(Path().c_str(), s));
  EXPECT_STREQ(s.portName, "COM7");
  EXPECT_EQ(s.connected, 1);
  EXPECT_STREQ(s.deviceKey, "ZarvoOrix");
}

TEST_F(InterfaceSettingsFile, AFileThatCannotBeCreatedIsReported) {
  const std::string path = folder.File("no-such-folder/") + kInterfaceSettingsFile;
  EXPECT_FALSE(WriteInterfaceSettings(path.c_str(), "COM1", 1, "Zarvo"));
}

}  // namespace
}  // namespace zarvo
