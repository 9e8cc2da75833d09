// The run synthesis additions on the run window's controls (see run_synthesis_win32.h).
#include "analysis/run_synthesis_win32.h"

#include "analysis/run_window.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

// The field of a setup-sheet edit, -1 for any other control.
int FieldOfControl(int id) {
  if (id == IDC_RUN_TRACK_CONDITIONS) return 0;
  if (id >= IDC_RUN_CAR_NAME && id <= IDC_RUN_THROTTLE_SERVO) return id - IDC_RUN_CAR_NAME + 1;
  return -1;
}

void RewriteCarFields(HWND dialog, const SetupSheet& sheet) {
  for (int i = 1; i < kSetupFieldCount; ++i) {
    dialog::SetItemText(dialog, SetupEditId(i), SetupField(sheet, i));
  }
}

}  // namespace

void ShowSynthesisControls(HWND dialog, const std::vector<std::string>& cars) {
  dialog::ShowItem(dialog, IDOK, true);
  dialog::ShowItem(dialog, IDC_RUN_CAR_LIST, true);
  for (const std::string& entry : cars) dialog::ComboAdd(dialog, IDC_RUN_CAR_LIST, entry.c_str());
  dialog::ComboSelect(dialog, IDC_RUN_CAR_LIST, 0);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    const int id = SetupEditId(i);
    dialog::LimitItemText(dialog, id, SetupEditLimit(i));
    SendDlgItemMessageW(dialog, id, EM_SETREADONLY, FALSE, 0);
  }
}

bool OnSynthesisCommand(HWND dialog, WPARAM wParam, SetupSheet& sheet, MessageBoxes& boxes) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  const int field = FieldOfControl(id);
  if (field >= 0 && code == EN_CHANGE) {
    SetupFieldTyped(sheet, field, dialog::ItemText(dialog, id).c_str());
    return true;
  }
  if (id == IDC_RUN_CAR_LIST && code == CBN_SELCHANGE) {
    const std::string chosen = dialog::ComboSelectedText(dialog, IDC_RUN_CAR_LIST);
    CarChosen(chosen.c_str(), sheet, boxes);
    // Rewritten whatever was answered; the track conditions edit keeps what it holds.
    RewriteCarFields(dialog, sheet);
    return true;
  }
  return false;
}

}  // namespace zarvo
