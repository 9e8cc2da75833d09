// The live results settings file: its exact bytes, what a reader makes of hand-edited, damaged,
// over-long and missing files, and the port's bounds.
#include "web/live_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

TEST(LiveSettingsFile, OffOnPort8080ByDefaultAndWrittenAsTwoCrLfLines) {
  const LiveSettings defaults;
  EXPECT_FALSE(defaults.on);
  EXPECT_EQ(defaults.port, 8080);
  EXPECT_EQ(FormatLiveSettings(defaults), "RESULTATSDIRECTnon\r\nRESULTATSDIRECTPORT8080\r\n");
  EXPECT_EQ(FormatLiveSettings(LiveSettings{true, 65535}),
            "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT65535\r\n");
}

TEST(LiveSettingsFile, WhatIsWrittenReadsBackIncludingThePortBounds) {
  for (const LiveSettings& written : {LiveSettings{true, 1}, LiveSettings{false, 65535},
                                      LiveSettings{true, 8081}, LiveSettings{false, 80}}) {
    LiveSettings read{!written.on, 4242};
    ASSERT_EQ(ParseLiveSettings(FormatLiveSettings(written), read), LiveFileRead::kRead);
    EXPECT_EQ(read.on, written.on);
    EXPECT_EQ(read.port, written.port);
  }
}

TEST(LiveSettingsFile, HandEditedLineEndsBlanksAndOrderAreTaken) {
  LiveSettings s;
  ASSERT_EQ(ParseLiveSettings("\n  RESULTATSDIRECTPORT9000 \n\n\tRESULTATSDIRECToui", s),
            LiveFileRead::kRead);
  EXPECT_TRUE(s.on);
  EXPECT_EQ(s.port, 9000);
}

TEST(LiveSettingsFile, ADamagedFileGivesTheDefaults) {
  const char* damaged[] = {
      "",                                                        // nothing
      "RESULTATSDIRECToui\r\n",                                  // no port
      "RESULTATSDIRECTPORT9000\r\n",                             // no switch
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTnon\r\nRESULTATSDIRECTPORT9000\r\n",  // twice
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT9000\r\nRESULTATSDIRECTPORT9001\r\n",
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT0\r\n",         // below the range
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT65536\r\n",     // above it
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT\r\n",          // no digits
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT-80\r\n",       // a sign
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT0008080\r\n",   // too many digits
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT80x\r\n",       // not a number
      "RESULTATSDIRECTOUI\r\nRESULTATSDIRECTPORT9000\r\n",      // another case
      "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT9000\r\nSONDEPARToui\r\n",  // an unknown word
  };
  for (const char* bytes : damaged) {
    LiveSettings s{true, 1234};
    EXPECT_EQ(ParseLiveSettings(bytes, s), LiveFileRead::kDamaged) << bytes;
    EXPECT_FALSE(s.on) << bytes;
    EXPECT_EQ(s.port, 8080) << bytes;
  }
}

TEST(LiveSettingsFile, AFileOverItsBoundIsDamagedEvenWhenItsWordsAreRight) {
  std::string bytes = FormatLiveSettings(LiveSettings{true, 9000});
  bytes.append(kMaxLiveFileBytes - bytes.size(), ' ');
  LiveSettings s;
  EXPECT_EQ(ParseLiveSettings(bytes, s), LiveFileRead::kRead) << "exactly the bound";
  bytes += ' ';
  EXPECT_EQ(ParseLiveSettings(bytes, s), LiveFileRead::kDamaged);
  EXPECT_FALSE(s.on);

  TempFolder folder;
  WriteBytes(kLiveSettingsFile, bytes + std::string(100000, ' '));
  EXPECT_EQ(ReadLiveSettings(kLiveSettingsFile, s), LiveFileRead::kDamaged);
}

TEST(LiveSettingsFile, AMissingFileGivesTheDefaultsAndWritingCreatesIt) {
  TempFolder folder;
  LiveSettings s{true, 1};
  EXPECT_EQ(ReadLiveSettings(kLiveSettingsFile, s), LiveFileRead::kMissing);
  EXPECT_FALSE(s.on);
  EXPECT_EQ(s.port, 8080);
  ASSERT_TRUE(WriteLiveSettings(kLiveSettingsFile, LiveSettings{true, 8123}));
  EXPECT_EQ(ReadBytes("R\xe9glagesR\xe9sultatsEnDirect.rg"),
            "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT8123\r\n");
  EXPECT_EQ(ReadLiveSettings(kLiveSettingsFile, s), LiveFileRead::kRead);
  EXPECT_TRUE(s.on);
  EXPECT_EQ(s.port, 8123);
}

TEST(LivePort, OnlyDigitsFrom1To65535AreAPort) {
  EXPECT_EQ(ParseLivePort("1"), 1);
  EXPECT_EQ(ParseLivePort("8080"), 8080);
  EXPECT_EQ(ParseLivePort("65535"), 65535);
  EXPECT_EQ(ParseLivePort("08080"), 8080);
  for (const char* refused : {"", "0", "00000", "65536", "99999", "123456", " 80", "80 ", "+80",
                              "-1", "8o80"}) {
    EXPECT_EQ(ParseLivePort(refused), 0) << refused;
  }
}

}  // namespace
}  // namespace zarvo
