// The race parameters dialog's procedure: moves data between the controls and
// RaceParametersDialogModel.
#include "app/race_parameters_dialog_win32.h"

#include <memory>

#include "app/session_dialogs.h"
#include "resources/resource_ids.h"
#include "text/fixed_text.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using RaceParametersDialogData = dialog::ModalData<RaceParametersDialogModel>;

// The minutes for a time run, the lap target for a lap run, each with its end rule.
void ShowDurationControls(HWND window, const RaceParameters& params) {
  const DurationControls shown = DurationControlsOf(params);
  if (shown == DurationControls::kAsTemplate) return;
  const bool minutes = shown == DurationControls::kMinutes;
  dialog::CheckItem(window, IDC_PARAMETERS_TIME, minutes);
  dialog::CheckItem(window, IDC_PARAMETERS_LAPS, !minutes);
  dialog::ShowItem(window, IDC_PARAMETERS_MINUTES, minutes);
  dialog::ShowItem(window, IDC_PARAMETERS_MINUTES_LABEL, minutes);
  dialog::EnableItem(window, IDC_PARAMETERS_FINISH_LAP, minutes);
  dialog::ShowItem(window, IDC_PARAMETERS_LAP_TARGET, !minutes);
  dialog::ShowItem(window, IDC_PARAMETERS_LAPS_LABEL, !minutes);
  dialog::EnableItem(window, IDC_PARAMETERS_ALL_LAPS, !minutes);
}

BOOL OnInit(HWND window, RaceParametersDialogData& data) {
  const RaceParameters& params = data.model.params;
  OpenRaceParametersModel(data.model, *data.boxes);
  data.fonts.Apply(window, {IDC_PARAMETERS_HEADING});
  dialog::LimitItemText(window, IDC_PARAMETERS_MINUTES, kDurationMaxDigits);
  dialog::LimitItemText(window, IDC_PARAMETERS_LAP_TARGET, kLapTargetMaxDigits);
  dialog::LimitItemText(window, IDC_PARAMETERS_COUNTDOWN, kCountdownMaxDigits);
  ShowDurationControls(window, params);
  dialog::CheckItem(window, IDC_PARAMETERS_BY_LAPS_TIME,
                    SameText(params.classificationKey, kRankLapsAndTime));
  dialog::CheckItem(window, IDC_PARAMETERS_BY_BEST_LAP,
                    SameText(params.classificationKey, kRankBestLap));
  dialog::CheckItem(window, IDC_PARAMETERS_STAGGERED, true);
  dialog::CheckItem(window, IDC_PARAMETERS_FINISH_LAP, true);
  dialog::CheckItem(window, IDC_PARAMETERS_ALL_LAPS, true);
  // Setting the boxes runs their change rules, which keep these values.
  const int minutes = params.durationMinutes, laps = params.lapTarget;
  const int countdown = params.countdownSeconds;
  dialog::SetItemNumber(window, IDC_PARAMETERS_MINUTES, minutes);
  dialog::SetItemNumber(window, IDC_PARAMETERS_LAP_TARGET, laps);
  dialog::SetItemNumber(window, IDC_PARAMETERS_COUNTDOWN, countdown);
  return TRUE;
}

// A number box changed: the model keeps the value its rule gives, and the box shows it when the
// rule says so (the caret goes to the end).
void OnNumberTyped(HWND window, int id, RaceParametersDialogModel& model,
                   TypedNumber (*rule)(RaceParametersDialogModel&, const char*)) {
  const TypedNumber typed = rule(model, dialog::ItemText(window, id).c_str());
  if (!typed.rewriteBox) return;
  dialog::SetItemNumber(window, id, typed.value);
  SendDlgItemMessageW(window, id, EM_SETSEL, WPARAM(-1), LPARAM(-1));
}

void OnCommand(HWND window, RaceParametersDialogData& data, int id, int code) {
  RaceParameters& params = data.model.params;
  if (code == EN_CHANGE) {
    if (id == IDC_PARAMETERS_MINUTES) OnNumberTyped(window, id, data.model, DurationMinutesTyped);
    if (id == IDC_PARAMETERS_LAP_TARGET) OnNumberTyped(window, id, data.model, LapTargetTyped);
    if (id == IDC_PARAMETERS_COUNTDOWN) OnNumberTyped(window, id, data.model, CountdownTyped);
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_PARAMETERS_BY_LAPS_TIME:
      SetText(params.classificationKey, kRankLapsAndTime);
      break;
    case IDC_PARAMETERS_BY_BEST_LAP:
      SetText(params.classificationKey, kRankBestLap);
      break;
    case IDC_PARAMETERS_TIME:
      SetText(params.durationMode, kDurationTime);
      ShowDurationControls(window, params);
      break;
    case IDC_PARAMETERS_LAPS:
      SetText(params.durationMode, kDurationLaps);
      ShowDurationControls(window, params);
      break;
    // The start mode and the end rules have one value each: their buttons stay checked.
    case IDC_PARAMETERS_STAGGERED:
      SetText(params.startMode, kStartStaggered);
      dialog::CheckItem(window, IDC_PARAMETERS_FINISH_LAP, true);
      dialog::CheckItem(window, IDC_PARAMETERS_ALL_LAPS, true);
      break;
    case IDC_PARAMETERS_FINISH_LAP:
      SetText(params.endRuleTime, kEndTimeFinishLap);
      break;
    case IDC_PARAMETERS_ALL_LAPS:
      SetText(params.endRuleLaps, kEndLapsAllLaps);
      break;
    default:
      break;
  }
}

}  // namespace

bool RunRaceParametersDialog(HWND owner, MessageBoxes& boxes) {
  return dialog::RunModal<RaceParametersDialogModel, OnInit, OnCommand, ConfirmRaceParameters>(
      owner, L"COURSEPARAMETRES", boxes);
}

}  // namespace zarvo
