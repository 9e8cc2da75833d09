// The track dialog's procedure: moves data between the controls and TrackDialogModel.
#include "app/track_dialog_win32.h"

#include <memory>

#include "app/session_dialogs.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using TrackDialogData = dialog::ModalData<TrackDialogModel>;

void ShowCircuit(HWND window, const TrackDialogModel& model) {
  const bool chosen = model.selectedCircuit >= 0 && model.selectedCircuit < model.circuitCount;
  const CircuitRecord* circuit = chosen ? &model.circuits.records[model.selectedCircuit] : nullptr;
  dialog::SetItemText(window, IDC_TRACK_CIRCUIT_NAME, chosen ? circuit->name : "");
  dialog::SetItemText(window, IDC_TRACK_LENGTH, chosen ? circuit->length : "");
  dialog::SetItemText(window, IDC_TRACK_RECORD, chosen ? circuit->recordLapText : "");
  dialog::SetItemText(window, IDC_TRACK_RECORD_HOLDER, chosen ? circuit->recordHolder : "");
  dialog::SetItemText(window, IDC_TRACK_LOCATION, chosen ? circuit->location : "");
}

BOOL OnInit(HWND window, TrackDialogData& data) {
  TrackDialogModel& model = data.model;
  OpenTrackModel(model, *data.boxes);
  data.fonts.Apply(window, {});
  dialog::LimitItemText(window, IDC_TRACK_LABEL, kSessionLabelMaxTyped);
  dialog::LimitItemText(window, IDC_TRACK_MINIMUM_LAP, kMinimumLapMaxDigits);
  for (int i = 0; i < model.circuitCount; ++i) {
    dialog::ComboAdd(window, IDC_TRACK_CIRCUITS, model.circuits.records[i].name);
  }
  // Setting the boxes' texts runs their change rules, which leave these values as they are.
  dialog::SetItemText(window, IDC_TRACK_LABEL, model.track.label);
  dialog::SetItemText(window, IDC_TRACK_MINIMUM_LAP, model.minimumLapText);
  if (model.selectedCircuit >= 0)
    dialog::ComboSelect(window, IDC_TRACK_CIRCUITS, model.selectedCircuit);
  ShowCircuit(window, model);
  return TRUE;
}

void OnCommand(HWND window, TrackDialogData& data, int id, int code) {
  TrackDialogModel& model = data.model;
  switch (id) {
    case IDC_TRACK_LABEL:
      if (code == EN_CHANGE &&
          TrackLabelTyped(model, dialog::ItemText(window, IDC_TRACK_LABEL).c_str())) {
        dialog::SetItemText(window, IDC_TRACK_LABEL, "");
      }
      break;
    case IDC_TRACK_CIRCUITS:
      if (code == CBN_SELCHANGE) {
        TrackCircuitChosen(model, dialog::ComboSelection(window, IDC_TRACK_CIRCUITS));
        ShowCircuit(window, model);
        dialog::SetItemText(window, IDC_TRACK_MINIMUM_LAP, model.minimumLapText);
      }
      break;
    case IDC_TRACK_MINIMUM_LAP:
      if (code == EN_CHANGE) {
        TrackMinimumLapTyped(model, dialog::ItemText(window, IDC_TRACK_MINIMUM_LAP).c_str());
      }
      break;
    default:
      break;
  }
}

}  // namespace

bool RunTrackDialog(HWND owner, MessageBoxes& boxes) {
  return dialog::RunModal<TrackDialogModel, OnInit, OnCommand, ConfirmTrack>(owner, L"COURSEPISTE",
                                                                             boxes);
}

}  // namespace zarvo
