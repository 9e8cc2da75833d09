// The lap callouts dialog's procedure: moves data between the controls and CalloutDialogModel.
#include "app/lap_callouts_dialog_win32.h"

#include "resources/resource_ids.h"
#include "speech/callout_dialog.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using CalloutDialogData = dialog::ModalData<CalloutDialogModel>;

void ShowSwitches(HWND window, const CalloutDialogModel& model) {
  for (int i = 0; i < kCalloutSwitchCount; ++i) {
    const int id = CalloutSwitchId(i);
    dialog::CheckItem(window, id, CalloutSwitchIsOn(model, id));
    dialog::EnableItem(window, id, CalloutSwitchEnabled(model, id));
  }
}

BOOL OnInit(HWND window, CalloutDialogData& data) {
  OpenCalloutDialogModel(data.model, *data.boxes);
  data.fonts.Apply(window, {IDC_CALLOUT_TITLE});
  ShowSwitches(window, data.model);
  return TRUE;
}

void OnCommand(HWND window, CalloutDialogData& data, int id, int code) {
  if (code != BN_CLICKED) return;
  if (CalloutControlClicked(data.model, id, IsDlgButtonChecked(window, id) == BST_CHECKED)) {
    ShowSwitches(window, data.model);
  }
}

}  // namespace

bool RunLapCalloutsDialog(HWND owner, MessageBoxes& boxes) {
  return dialog::RunModal<CalloutDialogModel, OnInit, OnCommand, ConfirmCalloutDialog>(
      owner, L"ANNONCESTOURS", boxes);
}

}  // namespace zarvo
