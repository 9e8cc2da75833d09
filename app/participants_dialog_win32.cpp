// The participants list dialog's procedure: moves data between the controls and
// ParticipantsDialogModel.
#include "app/participants_dialog_win32.h"

#include <cstdio>
#include <memory>

#include "app/session_dialogs.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using ParticipantsDialogData = dialog::ModalData<ParticipantsDialogModel>;

// The participants box from the model, its first line selected, and the count "(%d)".
void ShowParticipants(HWND window, const ParticipantsDialogModel& model) {
  dialog::ListBoxClear(window, IDC_PARTICIPANTS_LIST);
  for (int k = 0; k < model.participantCount; ++k) {
    dialog::ListBoxAdd(window, IDC_PARTICIPANTS_LIST, model.list.entries[k].driverName);
  }
  dialog::ListBoxSelect(window, IDC_PARTICIPANTS_LIST, 0);
  char count[16];
  std::snprintf(count, sizeof count, "(%d)", model.participantCount);
  dialog::SetItemText(window, IDC_PARTICIPANTS_COUNT, count);
}

BOOL OnInit(HWND window, ParticipantsDialogData& data) {
  ParticipantsDialogModel& model = data.model;
  OpenParticipantsModel(model, *data.boxes);
  data.fonts.Apply(window, {IDC_PARTICIPANTS_HEADING});
  for (int d = 0; d < model.driverCount; ++d) {
    dialog::ListBoxAdd(window, IDC_PARTICIPANTS_DATABASE, model.drivers[d].name);
  }
  dialog::ListBoxSelect(window, IDC_PARTICIPANTS_DATABASE, 0);
  ShowParticipants(window, model);
  dialog::EnableItem(window, IDC_PARTICIPANTS_REMOVE, model.removeAllowed);
  // The database list has the focus: choose a driver, then "<-".
  SetFocus(GetDlgItem(window, IDC_PARTICIPANTS_DATABASE));
  return FALSE;
}

void OnCommand(HWND window, ParticipantsDialogData& data, int id, int code) {
  if (code != BN_CLICKED) return;
  ParticipantsDialogModel& model = data.model;
  switch (id) {
    case IDC_PARTICIPANTS_ADD:
      if (AddParticipant(model, dialog::ListBoxSelection(window, IDC_PARTICIPANTS_DATABASE))) {
        ShowParticipants(window, model);
      }
      break;
    case IDC_PARTICIPANTS_REMOVE:
      if (RemoveParticipant(model, dialog::ListBoxSelection(window, IDC_PARTICIPANTS_LIST))) {
        ShowParticipants(window, model);
      }
      break;
    default:
      break;
  }
}

}  // namespace

bool RunParticipantsDialog(HWND owner, MessageBoxes& boxes) {
  return dialog::RunModal<ParticipantsDialogModel, OnInit, OnCommand, ConfirmParticipants>(
      owner, L"LISTEPILOTES", boxes);
}

}  // namespace zarvo
