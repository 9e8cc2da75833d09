// The live results dialog's procedure: moves data between the controls and LiveDialogModel, and
// paints the QR code the model draws.
#include "web/live_dialog_win32.h"

#include <memory>

#include "platform/network_addresses.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"
#include "ui/drawing_win32.h"

namespace zarvo {

namespace {

// The square of the QR code, in dialog units (see resources/live_results.rc).
constexpr RECT kCodePlace = {85, 110, 185, 210};

struct LiveDialogWindow {
  std::unique_ptr<DrawList> code = std::make_unique<DrawList>();
};

using LiveDialogData = dialog::ModalData<LiveDialogModel, LiveDialogWindow>;

RECT CodeRect(HWND window) {
  RECT r = kCodePlace;
  MapDialogRect(window, &r);
  return r;
}

void ShowAddresses(HWND window, const LiveDialogModel& model) {
  dialog::SetItemText(window, IDC_LIVE_ADDRESSES, LiveAddressesText(model).c_str());
  const RECT r = CodeRect(window);
  InvalidateRect(window, &r, TRUE);
}

void ShowStatus(HWND window, const LiveDialogModel& model) {
  dialog::SetItemText(window, IDC_LIVE_STATUS, LiveStatusText(model.state).c_str());
}

BOOL OnInit(HWND window, LiveDialogData& data) {
  LiveDialogModel& model = data.model;
  OpenLiveDialogModel(model, *data.boxes);
  data.fonts.Apply(window, {IDC_LIVE_TITLE});
  dialog::CheckItem(window, IDC_LIVE_ON, model.settings.on);
  dialog::LimitItemText(window, IDC_LIVE_PORT, kLivePortMaxDigits);
  dialog::SetItemText(window, IDC_LIVE_PORT, model.portText.c_str());
  ShowAddresses(window, model);
  ShowStatus(window, model);
  return TRUE;
}

void OnCommand(HWND window, LiveDialogData& data, int id, int code) {
  LiveDialogModel& model = data.model;
  switch (id) {
    case IDC_LIVE_ON:
      if (code == BN_CLICKED) {
        LiveSwitchClicked(model, IsDlgButtonChecked(window, IDC_LIVE_ON) == BST_CHECKED);
      }
      break;
    case IDC_LIVE_PORT:
      if (code == EN_CHANGE) {
        LivePortTyped(model, dialog::ItemText(window, IDC_LIVE_PORT));
        ShowAddresses(window, model);
      }
      break;
    case IDOK:
      // Not the helper's confirmation: a server that could not start keeps the dialog open with
      // the status line saying why.
      if (ConfirmLiveDialog(model, *data.boxes) == LiveConfirm::kClose) {
        data.confirmed = true;
        EndDialog(window, IDOK);
      } else {
        ShowStatus(window, model);
      }
      break;
    default:
      break;
  }
}

bool OnMessage(HWND window, LiveDialogData& data, UINT message, WPARAM, LPARAM, INT_PTR& result) {
  if (message != WM_PAINT) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const RECT r = CodeRect(window);
  DrawList& list = *data.extra.code;
  list.Clear();
  if (DrawLiveAddressCode(data.model, r.left, r.top, r.right, r.bottom, list)) {
    ReplayDrawList(dc, list);
  }
  EndPaint(window, &paint);
  result = 0;
  return true;
}

}  // namespace

bool RunLiveDialog(HWND owner, MessageBoxes& boxes, LiveResultsControl& control) {
  auto model = std::make_unique<LiveDialogModel>();
  model->control = &control;
  model->addresses = LocalIpv4Addresses();
  return dialog::RunModal<LiveDialogModel, OnInit, OnCommand, nullptr, OnMessage,
                          LiveDialogWindow>(owner, L"RESULTATSDIRECT", boxes, *model);
}

}  // namespace zarvo
