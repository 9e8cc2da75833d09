// The driver details dialog's procedure: moves data between the controls and DriverDetailsModel,
// runs its timer and paints the scan lamp.
#include "decoder/driver_details_dialog_win32.h"

#include <memory>

#include "decoder/driver_details_dialog.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

struct DetailsDialogState {
  DriverDetailsModel model;
  SerialPort* port = nullptr;
  Clock* clock = nullptr;
  DetailsSession* session = nullptr;
};

struct ScanLamps {
  HBITMAP pictures[kDetailsLampStates] = {};
};

using DetailsDialogData = dialog::ModalData<DetailsDialogState, ScanLamps>;

void InvalidateLamp(HWND window, const DetailsDialogData& data) {
  for (HBITMAP picture : data.extra.pictures) {
    dialog::InvalidateBitmap(window, picture, kDetailsLampX, kDetailsLampY);
  }
}

void ShowScanState(HWND window, const DetailsDialogData& data) {
  const bool scanning = data.model.model.scanning;
  dialog::CheckItem(window, IDC_DETAILS_SCAN, scanning);
  SendDlgItemMessageW(window, IDC_DETAILS_TRANSPONDER, EM_SETREADONLY, scanning ? TRUE : FALSE, 0);
  dialog::SetItemText(window, IDC_DETAILS_SCAN_STATE,
                      scanning ? TXT_DETAILS_SCAN_ON : TXT_DETAILS_SCAN_OFF);
  InvalidateLamp(window, data);
}

BOOL OnInit(HWND window, DetailsDialogData& data) {
  DriverDetailsModel& model = data.model.model;
  SetTimer(window, kDetailsTimerId, kDetailsTimerPeriodMs, nullptr);
  OpenDriverDetails(model, *data.model.session, *data.boxes);
  data.fonts.Apply(window, {});
  dialog::LimitItemText(window, IDC_DETAILS_TRANSPONDER, kDetailsTransponderDigits);
  for (int k = 0; k < kFrequenciesPerEntry; ++k) {
    for (int i = 0; i < model.frequencyCount; ++i) {
      dialog::ComboAdd(window, IDC_DETAILS_FREQUENCY_FIRST + k, model.frequencies[i]);
    }
  }
  if (const ParticipantEntry* entry = DetailsEntry(model)) {
    dialog::SetItemText(window, IDC_DETAILS_DRIVER, entry->driverName);
    dialog::SetItemText(window, IDC_DETAILS_TRANSPONDER, entry->transponder);
    for (int k = 0; k < kFrequenciesPerEntry; ++k) {
      dialog::ComboSelect(window, IDC_DETAILS_FREQUENCY_FIRST + k, DetailsFrequencyLine(model, k));
    }
  }
  for (int state = 1; state < kDetailsLampStates; ++state) {
    data.extra.pictures[state] = dialog::LoadBitmapFile(DetailsLampFile(state));
  }
  ShowScanState(window, data);
  return TRUE;
}

void OnCommand(HWND window, DetailsDialogData& data, int id, int code) {
  DetailsDialogState& state = data.model;
  if (id == IDC_DETAILS_TRANSPONDER && code == EN_CHANGE) {
    DetailsTransponderTyped(state.model, dialog::ItemText(window, IDC_DETAILS_TRANSPONDER).c_str());
  } else if (id == IDC_DETAILS_SCAN && code == BN_CLICKED) {
    if (IsDlgButtonChecked(window, IDC_DETAILS_SCAN) == BST_CHECKED) {
      DetailsScanDown(state.model, *state.port, *state.clock);
    } else {
      DetailsScanUp(state.model);
    }
    ShowScanState(window, data);
  } else if (id >= IDC_DETAILS_FREQUENCY_FIRST && id <= IDC_DETAILS_FREQUENCY_LAST &&
             code == CBN_SELCHANGE) {
    DetailsFrequencyChosen(state.model, id - IDC_DETAILS_FREQUENCY_FIRST,
                           dialog::ComboSelection(window, id));
  }
}

void Confirm(DetailsDialogState& state, MessageBoxes& boxes) {
  ConfirmDriverDetails(state.model, *state.session, boxes);
}

bool OnMessage(HWND window, DetailsDialogData& data, UINT message, WPARAM wParam, LPARAM,
               INT_PTR& result) {
  DetailsDialogState& state = data.model;
  switch (message) {
    case WM_TIMER: {
      if (wParam != kDetailsTimerId) return false;
      const DetailsTick tick = DetailsTimerTick(state.model, *state.port, *state.clock);
      if (tick.transponderRead) {
        if (const ParticipantEntry* entry = DetailsEntry(state.model)) {
          dialog::SetItemText(window, IDC_DETAILS_TRANSPONDER, entry->transponder);
        }
      }
      if (tick.portFailed) ShowScanState(window, data);
      if (tick.lampChanged) InvalidateLamp(window, data);
      result = 0;
      return true;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      const int lamp = state.model.lampState;
      if (lamp >= 1 && lamp < kDetailsLampStates) {
        dialog::DrawBitmap(dc, data.extra.pictures[lamp], kDetailsLampX, kDetailsLampY);
      }
      EndPaint(window, &paint);
      result = TRUE;
      return true;
    }
    case WM_DESTROY:
      KillTimer(window, kDetailsTimerId);
      for (HBITMAP& picture : data.extra.pictures) {
        if (picture != nullptr) DeleteObject(picture);
        picture = nullptr;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace

bool RunDriverDetailsDialog(HWND owner, MessageBoxes& boxes, SerialPort& port, Clock& clock,
                            DetailsSession& session) {
  auto state = std::make_unique<DetailsDialogState>();
  state->port = &port;
  state->clock = &clock;
  state->session = &session;
  return dialog::RunModal<DetailsDialogState, OnInit, OnCommand, Confirm, OnMessage, ScanLamps>(
      owner, L"PILOTEDETAILS", boxes, *state);
}

}  // namespace zarvo
