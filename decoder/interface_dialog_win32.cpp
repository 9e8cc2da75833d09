// The interface dialog's procedure: moves data between the controls and InterfaceDialogModel,
// and paints the lamp.
#include "decoder/interface_dialog_win32.h"

#include "decoder/interface_dialog.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

struct InterfaceDialogState {
  InterfaceDialogModel model;
  SerialPort* port;
  Clock* clock;
};

struct InterfaceLamps {
  HBITMAP green = nullptr;
  HBITMAP red = nullptr;
};

using InterfaceDialogData = dialog::ModalData<InterfaceDialogState, InterfaceLamps>;

HBITMAP LampBitmap(const InterfaceDialogData& data) {
  return InterfaceLampOf(data.model.model) == InterfaceLamp::kGreen ? data.extra.green
                                                                    : data.extra.red;
}

void InvalidateLamp(HWND window, const InterfaceDialogData& data) {
  dialog::InvalidateBitmap(window, data.extra.green, kInterfaceLampX, kInterfaceLampY);
  dialog::InvalidateBitmap(window, data.extra.red, kInterfaceLampX, kInterfaceLampY);
}

void ShowModel(HWND window, InterfaceDialogData& data) {
  const InterfaceDialogModel& model = data.model.model;
  dialog::SetItemText(window, IDC_INTERFACE_STATUS, model.status);
  for (int id = IDC_INTERFACE_VEXA; id <= IDC_INTERFACE_ORIX_BLUETOOTH; ++id) {
    dialog::CheckItem(window, id, id == model.checkedRadio);
  }
  dialog::ComboSelect(window, IDC_INTERFACE_PORTS, InterfaceSelectedPort(model));
  InvalidateLamp(window, data);
}

BOOL OnInit(HWND window, InterfaceDialogData& data) {
  for (int i = 0; i < kInterfacePortCount; ++i) {
    char name[kPortNameCapacity];
    InterfacePortName(i, name);
    dialog::ComboAdd(window, IDC_INTERFACE_PORTS, name);
  }
  OpenInterfaceModel(data.model.model, *data.boxes);
  data.fonts.Apply(window, {IDC_INTERFACE_HEADING});
  data.extra.green = dialog::LoadBitmapFile(InterfaceLampFile(InterfaceLamp::kGreen));
  data.extra.red = dialog::LoadBitmapFile(InterfaceLampFile(InterfaceLamp::kRed));
  ShowModel(window, data);
  return TRUE;
}

void OnCommand(HWND window, InterfaceDialogData& data, int id, int code) {
  InterfaceDialogState& state = data.model;
  switch (id) {
    case IDOK:
      EndDialog(window, IDOK);
      break;
    case IDC_INTERFACE_VEXA:
    case IDC_INTERFACE_ORIX:
    case IDC_INTERFACE_ORIX_BLUETOOTH:
      if (code == BN_CLICKED) InterfaceRadioChosen(state.model, id);
      break;
    case IDC_INTERFACE_CONNECT: {
      if (code != BN_CLICKED) break;
      const int line = dialog::ComboSelection(window, IDC_INTERFACE_PORTS);
      if (!BeginInterfaceConnect(state.model, line, *state.port)) {
        ShowModel(window, data);
        break;
      }
      dialog::SetItemText(window, IDC_INTERFACE_STATUS, state.model.status);
      InvalidateLamp(window, data);
      UpdateWindow(window);  // the attempt shows during the wait
      const HCURSOR previous = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
      FinishInterfaceConnect(state.model, line, *state.port, *state.clock, *data.boxes);
      SetCursor(previous);
      ShowModel(window, data);
      break;
    }
    default:
      break;
  }
}

bool OnMessage(HWND window, InterfaceDialogData& data, UINT message, WPARAM, LPARAM,
               INT_PTR& result) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    dialog::DrawBitmap(dc, LampBitmap(data), kInterfaceLampX, kInterfaceLampY);
    EndPaint(window, &paint);
    result = TRUE;
    return true;
  }
  if (message == WM_DESTROY) {
    if (data.extra.green != nullptr) DeleteObject(data.extra.green);
    if (data.extra.red != nullptr) DeleteObject(data.extra.red);
    data.extra = InterfaceLamps{};
  }
  return false;
}

}  // namespace

void RunInterfaceDialog(HWND owner, MessageBoxes& boxes, SerialPort& port, Clock& clock) {
  InterfaceDialogState state = {};
  state.port = &port;
  state.clock = &clock;
  dialog::RunModal<InterfaceDialogState, OnInit, OnCommand, nullptr, OnMessage, InterfaceLamps>(
      owner, L"INTERFACE", boxes, state);
}

}  // namespace zarvo
