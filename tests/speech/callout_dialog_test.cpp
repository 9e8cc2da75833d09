// The lap callouts dialog: what it shows of its file, what each click stores, which boxes can be
// used, what "Ok" writes, and that the sound settings file is never touched.
#include "speech/callout_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "records/sound_settings.h"
#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

const char kSoundFile[] =
    "SONLANGUEAnglais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
    "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n";

class CalloutDialog : public ::testing::Test {
 protected:
  CalloutDialog() { WriteBytes(kSoundSettingsFile, kSoundFile); }
  // What the three boxes show, "1" checked, "0" not, "-" greyed.
  static std::string Shown(const CalloutDialogModel& model) {
    std::string shown;
    for (int i = 0; i < kCalloutSwitchCount; ++i) {
      const int id = CalloutSwitchId(i);
      shown += CalloutSwitchEnabled(model, id) ? (CalloutSwitchIsOn(model, id) ? '1' : '0') : '-';
    }
    return shown;
  }

  testing::TempFolder folder;
  testing::RecordingMessageBoxes boxes;
  CalloutDialogModel model;
};

TEST_F(CalloutDialog, WithoutAFileEverythingIsOffAndOkWritesTheFile) {
  OpenCalloutDialogModel(model, boxes);
  EXPECT_TRUE(boxes.shown.empty()) << "a missing file is the first use, not an error";
  EXPECT_EQ(Shown(model), "0--");
  ConfirmCalloutDialog(model, boxes);
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile),
            "ANNONCETOURSnon\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONnon\r\n");
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), kSoundFile);
}

TEST_F(CalloutDialog, ClicksAreStoredAndOkWritesThemLeavingTheSoundSettingsByteForByte) {
  OpenCalloutDialogModel(model, boxes);
  EXPECT_TRUE(CalloutControlClicked(model, IDC_CALLOUT_ON, true));
  EXPECT_EQ(Shown(model), "100") << "the refinements can be used once the callouts are on";
  EXPECT_TRUE(CalloutControlClicked(model, IDC_CALLOUT_POSITION, true));
  EXPECT_EQ(Shown(model), "101");
  EXPECT_FALSE(CalloutControlClicked(model, IDC_CALLOUT_TITLE, true)) << "not a box";
  EXPECT_FALSE(CalloutControlClicked(model, IDC_SOUND_PASSAGE, false)) << "another dialog's box";
  ConfirmCalloutDialog(model, boxes);
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile),
            "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONoui\r\n");
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), kSoundFile);
  EXPECT_TRUE(boxes.shown.empty());
  // Opened again, it shows what was written.
  CalloutDialogModel again;
  OpenCalloutDialogModel(again, boxes);
  EXPECT_EQ(Shown(again), "101");
}

TEST_F(CalloutDialog, TurningTheCalloutsOffGreysTheRefinementsButKeepsThem) {
  WriteBytes(kCalloutSettingsFile,
             "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONoui\r\n");
  OpenCalloutDialogModel(model, boxes);
  EXPECT_EQ(Shown(model), "111");
  CalloutControlClicked(model, IDC_CALLOUT_ON, false);
  EXPECT_EQ(Shown(model), "0--");
  CalloutControlClicked(model, IDC_CALLOUT_ON, true);
  EXPECT_EQ(Shown(model), "111") << "the refinements come back as they were";
  CalloutControlClicked(model, IDC_CALLOUT_BEST_ONLY, false);
  CalloutControlClicked(model, IDC_CALLOUT_ON, false);
  ConfirmCalloutDialog(model, boxes);
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile),
            "ANNONCETOURSnon\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONoui\r\n");
}

TEST_F(CalloutDialog, ADamagedFileIsReportedShownOffAndReplacedOnlyByOk) {
  const std::string damaged = "ANNONCETOURSoui\r\nSONPASSAGEoui\r\n";
  WriteBytes(kCalloutSettingsFile, damaged);
  OpenCalloutDialogModel(model, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_CALLOUT_SETTINGS_DAMAGED);
  EXPECT_EQ(Shown(model), "0--");
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile), damaged) << "opening writes nothing";
  CalloutControlClicked(model, IDC_CALLOUT_ON, true);
  ConfirmCalloutDialog(model, boxes);
  EXPECT_EQ(ReadBytes(kCalloutSettingsFile),
            "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONnon\r\n");
}

TEST_F(CalloutDialog, AFileThatCannotBeWrittenIsReported) {
  OpenCalloutDialogModel(model, boxes);
  MakeDirectory(kCalloutSettingsFile);  // a folder where the file should go
  CalloutControlClicked(model, IDC_CALLOUT_ON, true);
  ConfirmCalloutDialog(model, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_CALLOUT_SETTINGS_NOT_WRITTEN);
  EXPECT_EQ(ReadBytes(kSoundSettingsFile), kSoundFile);
}

}  // namespace
}  // namespace zarvo
