// The sound options dialog's procedure: moves data between the controls and SoundDialogModel.
#include "settings/sound_dialog_win32.h"

#include "resources/resource_ids.h"
#include "settings/sound_dialog.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using SoundDialogData = dialog::ModalData<SoundDialogModel>;

BOOL OnInit(HWND window, SoundDialogData& data) {
  SoundDialogModel& model = data.model;
  OpenSoundDialogModel(model, *data.boxes);
  data.fonts.Apply(window, {IDC_SOUND_TITLE});
  const bool english = SoundLanguageIsEnglish(model);
  dialog::CheckItem(window, IDC_SOUND_ENGLISH, english);
  dialog::CheckItem(window, IDC_SOUND_FRENCH, !english);
  for (int i = 1; i < kSoundSettingCount; ++i) {
    dialog::CheckItem(window, SoundSwitchOf(i).controlId, SoundSwitchIsOn(model, i));
  }
  return TRUE;
}

void OnCommand(HWND window, SoundDialogData& data, int id, int code) {
  if (code != BN_CLICKED) return;
  SoundControlClicked(data.model, id, IsDlgButtonChecked(window, id) == BST_CHECKED);
}

}  // namespace

bool RunSoundDialog(HWND owner, MessageBoxes& boxes) {
  return dialog::RunModal<SoundDialogModel, OnInit, OnCommand, ConfirmSoundDialog>(owner, L"SONS",
                                                                                   boxes);
}

}  // namespace zarvo
