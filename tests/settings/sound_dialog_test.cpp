// The sound options dialog: what it shows of the file, what each click stores, and what "Ok"
// writes (and that leaving without "Ok" writes nothing).
#include "settings/sound_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/files.h"
#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

const char kAllOnEnglish[] =
    "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
    "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n";

class SoundDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<SoundDialogModel> Open() {
    auto model = std::make_unique<SoundDialogModel>();
    OpenSoundDialogModel(*model, boxes);
    return model;
  }
  // What the eight controls show: E or F, then one 1 or 0 a box.
  static std::string Shown(const SoundDialogModel& model) {
    std::string shown = SoundLanguageIsEnglish(model) ? "E" : "F";
    for (int i = 1; i < kSoundSettingCount; ++i) shown += SoundSwitchIsOn(model, i) ? '1' : '0';
    return shown;
  }

  testing::TempFolder folder;
  testing::RecordingMessageBoxes boxes;
};

TEST_F(SoundDialogTest, ShowsTheFileAndOkWithoutAClickWritesTheSameBytes) {
  WriteBytes(kSoundSettingsFile, kAllOnEnglish);
  auto model = Open();
  EXPECT_EQ(Shown(*model), "E1111111");
  ConfirmSoundDialog(*model, boxes);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), kAllOnEnglish);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SoundDialogTest, EachClickStoresItsKeywordAndOkWritesThemInOrder) {
  WriteBytes(kSoundSettingsFile, kAllOnEnglish);
  auto model = Open();
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_FRENCH, true));
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_PASSAGE, false));
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_DRIVER_FINISHED, false));
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_START, false));
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_START, true)) << "unchecked then checked";
  EXPECT_FALSE(SoundControlClicked(*model, IDC_SOUND_TITLE, true)) << "not a switch";
  EXPECT_EQ(Shown(*model), "F1101110");
  ConfirmSoundDialog(*model, boxes);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile),
            "SONLANGUEFrancais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEnon\r\n"
            "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREnon\r\n");
  EXPECT_TRUE(SoundControlClicked(*model, IDC_SOUND_ENGLISH, true));
  EXPECT_TRUE(SoundLanguageIsEnglish(*model));
}

TEST_F(SoundDialogTest, EveryControlStoresTheKeywordsOfItsOwnSetting) {
  WriteBytes(kSoundSettingsFile, kAllOnEnglish);
  auto model = Open();
  for (int i = 1; i < kSoundSettingCount; ++i) {
    const SoundSwitch& control = SoundSwitchOf(i);
    SoundControlClicked(*model, control.controlId, false);
    EXPECT_STREQ(SoundSetting(model->settings, i), control.off) << i;
    for (int other = 1; other < kSoundSettingCount; ++other) {
      EXPECT_EQ(SoundSwitchIsOn(*model, other), other > i) << i << " changed " << other;
    }
  }
}

TEST_F(SoundDialogTest, UnknownWordsShowOffAndFrenchAndAreWrittenBackUnchanged) {
  const char bytes[] =
      "SONLANGUEanglais\r\nSONDECOMPTEOUI\r\noui\r\nSONPASSAGEoui\r\nX\r\nSONHORLOGEnon\r\n"
      "SONFINCOURSEouii\r\nSONFINVOITUREoui\r\n";
  WriteBytes(kSoundSettingsFile, bytes);
  auto model = Open();
  EXPECT_EQ(Shown(*model), "F0010001");
  ConfirmSoundDialog(*model, boxes);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), bytes);
}

TEST_F(SoundDialogTest, SettingsAShortFileLacksAreWrittenAsTheKeywordsShown) {
  WriteBytes(kSoundSettingsFile, "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\n");
  auto model = Open();
  EXPECT_EQ(Shown(*model), "E1100000");
  EXPECT_STREQ(model->settings.passage, "") << "what the file lacks stays empty";
  // Switching on the last sound alone must not move its word to the first empty line.
  SoundControlClicked(*model, IDC_SOUND_DRIVER_FINISHED, true);
  ConfirmSoundDialog(*model, boxes);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile),
            "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEnon\r\n"
            "SONMEILLEURTOURnon\r\nSONHORLOGEnon\r\nSONFINCOURSEnon\r\nSONFINVOITUREoui\r\n");
  SoundSettings back;
  ClearSoundSettings(back);
  ASSERT_TRUE(ReadSoundSettings(kSoundSettingsFile, back));
  EXPECT_STREQ(back.driverFinished, kSoundDriverFinishedOn);
  EXPECT_STREQ(back.passage, kSoundPassageOff);
}

TEST_F(SoundDialogTest, AMissingFileIsReportedShowsEverythingOffAndOkWritesNothing) {
  auto model = Open();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(boxes.shown[0].text, TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG);
  EXPECT_EQ(Shown(*model), "F0000000");
  SoundControlClicked(*model, IDC_SOUND_ENGLISH, true);
  ConfirmSoundDialog(*model, boxes);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), "<missing>");
  EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(SoundDialogTest, LeavingWithoutOkWritesNothing) {
  WriteBytes(kSoundSettingsFile, kAllOnEnglish);
  auto model = Open();
  SoundControlClicked(*model, IDC_SOUND_FRENCH, true);
  SoundControlClicked(*model, IDC_SOUND_CLOCK, false);
  model.reset();  // "Cancel" or the close box: the copy is dropped
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), kAllOnEnglish);
}

TEST_F(SoundDialogTest, AFileThatCannotBeWrittenIsReported) {
  WriteBytes(kSoundSettingsFile, kAllOnEnglish);
  auto model = Open();
  ASSERT_TRUE(RemoveFile(kSoundSettingsFile));
  ASSERT_TRUE(MakeDirectory(kSoundSettingsFile));  // a folder in the file's place
  ConfirmSoundDialog(*model, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG);
}

}  // namespace
}  // namespace zarvo
