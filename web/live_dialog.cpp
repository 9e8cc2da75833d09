// The live results dialog's rules (see live_dialog.h).
#include "web/live_dialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/network_addresses.h"
#include "text/catalogue.h"
#include "ui/drawing.h"
#include "web/qr_code.h"

namespace zarvo {

void OpenLiveDialogModel(LiveDialogModel& model, MessageBoxes& boxes) {
  if (ReadLiveSettings(kLiveSettingsFile, model.settings) == LiveFileRead::kDamaged) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_LIVE_SETTINGS_DAMAGED, MessageIcon::kError);
  }
  model.portText = std::to_string(model.settings.port);
  model.state = model.control != nullptr ? model.control->State() : LiveServerState{};
}

void LiveSwitchClicked(LiveDialogModel& model, bool checked) {
  model.settings.on = checked;
}

void LivePortTyped(LiveDialogModel& model, const std::string& text) {
  model.portText = text.substr(0, size_t(kLivePortMaxDigits));
}

int ShownLivePort(const LiveDialogModel& model) {
  const int typed = ParseLivePort(model.portText);
  return typed != 0 ? typed : model.settings.port;
}

std::vector<std::string> LiveAddressTexts(const LiveDialogModel& model) {
  std::vector<std::string> out;
  const std::string port = std::to_string(ShownLivePort(model));
  for (uint32_t a : model.addresses) out.push_back("http://" + Ipv4Text(a) + ":" + port + "/");
  return out;
}

std::string LiveAddressesText(const LiveDialogModel& model) {
  const std::vector<std::string> texts = LiveAddressTexts(model);
  if (texts.empty()) return TXT_LIVE_NO_ADDRESS;
  std::string out;
  for (const std::string& t : texts) {
    if (!out.empty()) out += "\r\n";
    out += t;
  }
  return out;
}

std::string LiveStatusText(const LiveServerState& state) {
  char text[512];
  switch (state.status) {
    case LiveStatus::kStopped:
      return TXT_LIVE_STATUS_STOPPED;
    case LiveStatus::kRunning:
      std::snprintf(text, sizeof text, TXT_LIVE_STATUS_RUNNING, state.port);
      break;
    case LiveStatus::kPortTaken:
      std::snprintf(text, sizeof text, TXT_LIVE_STATUS_PORT_TAKEN, state.port);
      break;
    case LiveStatus::kPortForbidden:
      std::snprintf(text, sizeof text, TXT_LIVE_STATUS_PORT_FORBIDDEN, state.port);
      break;
    case LiveStatus::kFailed:
      std::snprintf(text, sizeof text, TXT_LIVE_STATUS_FAILED, state.port, state.systemError);
      break;
  }
  return text;
}

bool DrawLiveAddressCode(const LiveDialogModel& model, int left, int top, int right, int bottom,
                         DrawList& list) {
  const std::vector<std::string> texts = LiveAddressTexts(model);
  if (texts.empty()) return false;
  const QrGrid grid = MakeQrGrid(texts.front());
  const int modules = QrDrawingSide(grid, 1);
  const int room = std::min(right - left, bottom - top);
  if (grid.size == 0 || modules <= 0 || room < modules) return false;
  const int moduleSize = room / modules;
  const int side = QrDrawingSide(grid, moduleSize);
  return DrawQrCode(grid, left + (right - left - side) / 2, top + (bottom - top - side) / 2,
                    moduleSize, list);
}

LiveConfirm ConfirmLiveDialog(LiveDialogModel& model, MessageBoxes& boxes) {
  const int port = ParseLivePort(model.portText);
  if (port == 0) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_LIVE_PORT_INVALID, MessageIcon::kError);
    return LiveConfirm::kStayOpen;
  }
  model.settings.port = port;
  if (!WriteLiveSettings(kLiveSettingsFile, model.settings)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_LIVE_SETTINGS_NOT_WRITTEN, MessageIcon::kError);
  }
  if (model.control == nullptr) return LiveConfirm::kClose;
  model.state = model.control->Apply(model.settings);
  const bool failedToStart = model.settings.on && model.state.status != LiveStatus::kRunning;
  return failedToStart ? LiveConfirm::kStayOpen : LiveConfirm::kClose;
}

}  // namespace zarvo
