// The sound settings file: its exact bytes, what a reader keeps of short, unknown or damaged
// files, and the round trip the sound dialog relies on.
#include "records/sound_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/files.h"
#include "tests/support/temp_folder.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kAllOnEnglish =
    "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
    "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n";

SoundSettings Empty() {
  SoundSettings s;
  ClearSoundSettings(s);
  return s;
}

TEST(SoundSettingsFile, EightKeywordsEachOnItsOwnCrLfLineInFieldOrder) {
  SoundSettings s = Empty();
  SetText(s.language, kSoundEnglish);
  SetText(s.countdown, kSoundCountdownOn);
  SetText(s.start, kSoundStartOn);
  SetText(s.passage, kSoundPassageOn);
  SetText(s.bestLap, kSoundBestLapOn);
  SetText(s.clock, kSoundClockOn);
  SetText(s.endOfRace, kSoundEndOfRaceOn);
  SetText(s.driverFinished, kSoundDriverFinishedOn);
  EXPECT_EQ(FormatSoundSettings(s), kAllOnEnglish);
}

TEST(SoundSettingsFile, TheShippedFileSwitchesEverySoundOnInEnglish) {
  SoundSettings s = Empty();
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile((std::string(ZARVO_SOURCE_DIR) + "/data/" + kSoundSettingsFile).c_str(),
                            bytes, 4096));
  EXPECT_EQ(bytes, kAllOnEnglish);
  ParseSoundSettings(bytes, s);
  EXPECT_STREQ(s.language, kSoundEnglish);
  EXPECT_STREQ(s.driverFinished, kSoundDriverFinishedOn);
}

TEST(SoundSettingsFile, ReadsBackWhatWasWritten) {
  TempFolder folder;
  SoundSettings s = Empty();
  SetText(s.language, kSoundFrench);
  SetText(s.countdown, kSoundCountdownOff);
  SetText(s.start, kSoundStartOn);
  SetText(s.passage, kSoundPassageOff);
  SetText(s.bestLap, kSoundBestLapOn);
  SetText(s.clock, kSoundClockOff);
  SetText(s.endOfRace, kSoundEndOfRaceOn);
  SetText(s.driverFinished, kSoundDriverFinishedOff);
  ASSERT_TRUE(WriteSoundSettings(kSoundSettingsFile, s));
  SoundSettings back = Empty();
  ASSERT_TRUE(ReadSoundSettings(kSoundSettingsFile, back));
  EXPECT_EQ(0, std::memcmp(&s, &back, sizeof s));
}

TEST(SoundSettingsFile, UnknownWordsAreKeptAndWrittenBackUnchanged) {
  const std::string file =
      "SONLANGUEKlingon\r\nyes\r\nSONDEPARToui\r\nSONPASSAGEOUI\r\n"
      "x\r\ny\r\nz\r\nSONFINVOITUREnon\r\n";
  SoundSettings s = Empty();
  ParseSoundSettings(file, s);
  EXPECT_STREQ(s.language, "SONLANGUEKlingon");
  EXPECT_STREQ(s.passage, "SONPASSAGEOUI");  // not the "oui" keyword: the sound is off
  EXPECT_EQ(FormatSoundSettings(s), file);
}

TEST(SoundSettingsFile, AShortFileLeavesTheMissingSettingsAsTheCallerEmptiedThem) {
  SoundSettings s = Empty();
  ParseSoundSettings("SONLANGUEAnglais\nSONDECOMPTEoui\n", s);  // LF alone is a line end too
  EXPECT_STREQ(s.language, kSoundEnglish);
  EXPECT_STREQ(s.countdown, kSoundCountdownOn);
  EXPECT_STREQ(s.start, "");
  EXPECT_STREQ(s.driverFinished, "");
}

TEST(SoundSettingsFile, AnOverlongWordIsCutAndTheNextSettingKeepsItsWord) {
  SoundSettings s = Empty();
  ParseSoundSettings("SONLANGUEAnglaisAndMuchMoreThanFits SONDECOMPTEoui", s);
  EXPECT_STREQ(s.language, "SONLANGUEAnglaisAn");  // 18 characters and the terminator
  EXPECT_STREQ(s.countdown, kSoundCountdownOn);
}

TEST(SoundSettingsFile, AMissingFileIsReportedAndChangesNothing) {
  TempFolder folder;
  SoundSettings s = Empty();
  SetText(s.clock, kSoundClockOn);
  EXPECT_FALSE(ReadSoundSettings(kSoundSettingsFile, s));
  EXPECT_STREQ(s.clock, kSoundClockOn);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), "<missing>");
}

TEST(SoundSettingsFile, OnlyTheFirstEightWordsCount) {
  TempFolder folder;
  WriteBytes(kSoundSettingsFile, kAllOnEnglish + "SONLANGUEFrancais\r\n");
  SoundSettings s = Empty();
  ASSERT_TRUE(ReadSoundSettings(kSoundSettingsFile, s));
  EXPECT_STREQ(s.language, kSoundEnglish);
  EXPECT_EQ(FormatSoundSettings(s), kAllOnEnglish);
}

}  // namespace
}  // namespace zarvo
