// The lap callout settings file: its exact bytes, what a reader makes of hand-edited, damaged,
// over-long and missing files, and that the sound settings file is left as it was.
#include "speech/callout_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "records/sound_settings.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kAllOff =
    "ANNONCETOURSnon\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONnon\r\n";

CalloutSettings AllOn() {
  return CalloutSettings{true, true, true};
}

bool Same(const CalloutSettings& a, const CalloutSettings& b) {
  return a.announceLaps == b.announceLaps && a.onlyBestLaps == b.onlyBestLaps &&
         a.sayPosition == b.sayPosition;
}

TEST(CalloutSettingsFile, EverythingIsOffByDefaultAndWrittenAsThreeCrLfLines) {
  const CalloutSettings defaults;
  EXPECT_FALSE(defaults.announceLaps);
  EXPECT_FALSE(defaults.onlyBestLaps);
  EXPECT_FALSE(defaults.sayPosition);
  EXPECT_EQ(FormatCalloutSettings(defaults), kAllOff);
  EXPECT_EQ(FormatCalloutSettings(CalloutSettings{true, false, true}),
            "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONoui\r\n");
}

TEST(CalloutSettingsFile, EveryCombinationReadsBackAsWritten) {
  for (int bits = 0; bits < 8; ++bits) {
    const CalloutSettings written{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
    CalloutSettings read = AllOn();
    ASSERT_EQ(ParseCalloutSettings(FormatCalloutSettings(written), read), CalloutFileRead::kRead);
    EXPECT_TRUE(Same(read, written)) << bits;
  }
}

TEST(CalloutSettingsFile, HandEditedLineEndsBlanksAndOrderAreTaken) {
  CalloutSettings s;
  ASSERT_EQ(ParseCalloutSettings("  ANNONCEPOSITIONoui\n\n\tANNONCETOURSoui \r\n"
                                 "ANNONCEMEILLEURSTOURSSEULSnon",
                                 s),
            CalloutFileRead::kRead);
  EXPECT_TRUE(Same(s, CalloutSettings{true, false, true}));
}

TEST(CalloutSettingsFile, ADamagedFileGivesTheDefaultsAndSaysSo) {
  const char* damaged[] = {
      "",                                                      // empty
      "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSoui\r\n",  // a setting left out
      "ANNONCETOURSoui\r\nANNONCETOURSnon\r\nANNONCEMEILLEURSTOURSSEULSoui\r\n"
      "ANNONCEPOSITIONoui\r\n",  // given twice
      "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui\r\nSONPASSAGEoui\r\n",
      "ANNONCETOURSOUI\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui\r\n",  // case
      "ANNONCETOURSouix\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui\r\n",
  };
  for (const char* bytes : damaged) {
    CalloutSettings s = AllOn();
    EXPECT_EQ(ParseCalloutSettings(bytes, s), CalloutFileRead::kDamaged) << bytes;
    EXPECT_TRUE(Same(s, CalloutSettings{})) << bytes;
  }
  // A zero byte inside a keyword.
  const std::string zero = std::string("ANNONCETOURSoui\0x\r\n", 19) +
                           "ANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui\r\n";
  CalloutSettings s = AllOn();
  EXPECT_EQ(ParseCalloutSettings(zero, s), CalloutFileRead::kDamaged);
  EXPECT_TRUE(Same(s, CalloutSettings{}));
}

TEST(CalloutSettingsFile, ReadingIsBoundedAndAnOverLongFileIsDamaged) {
  TempFolder folder;
  const std::string good = "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui";
  // Padded with blanks to the most a file may hold: still read.
  WriteBytes(kCalloutSettingsFile, good + std::string(kMaxCalloutFileBytes - good.size(), ' '));
  CalloutSettings s;
  EXPECT_EQ(ReadCalloutSettings(kCalloutSettingsFile, s), CalloutFileRead::kRead);
  EXPECT_TRUE(Same(s, AllOn()));
  // One byte more, and the reader does not look further.
  WriteBytes(kCalloutSettingsFile, good + std::string(kMaxCalloutFileBytes + 1 - good.size(), ' '));
  EXPECT_EQ(ReadCalloutSettings(kCalloutSettingsFile, s), CalloutFileRead::kDamaged);
  EXPECT_TRUE(Same(s, CalloutSettings{}));
  WriteBytes(kCalloutSettingsFile, std::string(1 << 20, 'A'));
  EXPECT_EQ(ReadCalloutSettings(kCalloutSettingsFile, s), CalloutFileRead::kDamaged);
}

TEST(CalloutSettingsFile, AMissingFileIsTheDefaultsWithoutAComplaint) {
  TempFolder folder;
  CalloutSettings s = AllOn();
  EXPECT_EQ(ReadCalloutSettings(kCalloutSettingsFile, s), CalloutFileRead::kMissing);
  EXPECT_TRUE(Same(s, CalloutSettings{}));
}

TEST(CalloutSettingsFile, WritingReplacesItsOwnFileAndLeavesTheSoundSettingsByteForByte) {
  TempFolder folder;
  const std::string sounds =
      "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
      "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n";
  WriteBytes(kSoundSettingsFile, sounds);
  WriteBytes(kCalloutSettingsFile, "something else entirely");
  ASSERT_TRUE(WriteCalloutSettings(kCalloutSettingsFile, CalloutSettings{true, false, true}));
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile),
            "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONoui\r\n");
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), sounds);
  CalloutSettings s;
  EXPECT_EQ(ReadCalloutSettings(kCalloutSettingsFile, s), CalloutFileRead::kRead);
  EXPECT_TRUE(Same(s, CalloutSettings{true, false, true}));
  EXPECT_FALSE(WriteCalloutSettings("no such folder/RéglagesAnnoncesTours.rg", s));
}

}  // namespace
}  // namespace zarvo
