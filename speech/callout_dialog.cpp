// The lap callouts dialog's rules (see callout_dialog.h).
#include "speech/callout_dialog.h"

#include "resources/resource_ids.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

struct Switch {
  int controlId;
  bool CalloutSettings::*field;
};

const Switch kSwitches[kCalloutSwitchCount] = {
    {IDC_CALLOUT_ON, &CalloutSettings::announceLaps},
    {IDC_CALLOUT_BEST_ONLY, &CalloutSettings::onlyBestLaps},
    {IDC_CALLOUT_POSITION, &CalloutSettings::sayPosition},
};

const Switch* SwitchOf(int controlId) {
  for (const Switch& s : kSwitches) {
    if (s.controlId == controlId) return &s;
  }
  return nullptr;
}

}  // namespace

int CalloutSwitchId(int index) {
  return index >= 0 && index < kCalloutSwitchCount ? kSwitches[index].controlId : 0;
}

void OpenCalloutDialogModel(CalloutDialogModel& model, MessageBoxes& boxes) {
  if (ReadCalloutSettings(kCalloutSettingsFile, model.settings) == CalloutFileRead::kDamaged) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_CALLOUT_SETTINGS_DAMAGED, MessageIcon::kError);
  }
}

bool CalloutSwitchIsOn(const CalloutDialogModel& model, int controlId) {
  const Switch* s = SwitchOf(controlId);
  return s != nullptr && model.settings.*s->field;
}

bool CalloutSwitchEnabled(const CalloutDialogModel& model, int controlId) {
  if (SwitchOf(controlId) == nullptr) return false;
  return controlId == IDC_CALLOUT_ON || model.settings.announceLaps;
}

bool CalloutControlClicked(CalloutDialogModel& model, int controlId, bool checked) {
  const Switch* s = SwitchOf(controlId);
  if (s == nullptr) return false;
  model.settings.*s->field = checked;
  return true;
}

void ConfirmCalloutDialog(const CalloutDialogModel& model, MessageBoxes& boxes) {
  if (!WriteCalloutSettings(kCalloutSettingsFile, model.settings)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_CALLOUT_SETTINGS_NOT_WRITTEN, MessageIcon::kError);
  }
}

}  // namespace zarvo
