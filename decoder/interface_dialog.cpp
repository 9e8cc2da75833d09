// The interface dialog's rules (see interface_dialog.h).
#include "decoder/interface_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "decoder/frames.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr int kIdentifyWaitMs = 1500;
constexpr int kReadChunk = 255;

enum class Found { kNotOpened, kWriteFailed, kReadFailed, kOrixWired, kOrixBluetooth, kSilence };

int32_t MsSince(Clock& clock, int64_t start) {
  const int64_t frequency = clock.PerformanceFrequency();
  if (frequency <= 0) return INT32_MAX;
  return static_cast<int32_t>((clock.PerformanceCounter() - start) * 1000 / frequency);
}

// The identification of the start-up on an open port, told apart from a device that cannot be
// talked to: a failed write or read ends the wait at once.
Found Identify(SerialPort& port, Clock& clock, int32_t* decoderId) {
  FrameCollector collector(FrameKind{kOrixIdentify, kOrixAnswerLength});
  int written = 0;
  if (!port.Write(kIdentifyRequest, kOrixRequestLength, &written) || written == 0) {
    return Found::kWriteFailed;
  }
  const int64_t start = clock.PerformanceCounter();
  uint8_t buffer[kReadChunk];
  while (MsSince(clock, start) < kIdentifyWaitMs) {
    int count = 0;
    if (!port.Read(buffer, kReadChunk, &count)) return Found::kReadFailed;
    for (int i = 0; i < count && i < kReadChunk; ++i) {
      if (!collector.Push(buffer[i])) continue;
      const uint8_t* frame = collector.Frame();
      if (frame[4] != kOrixKindWired && frame[4] != kOrixKindBluetooth) continue;
      *decoderId = frame[5] * 256 + frame[6];
      return frame[4] == kOrixKindWired ? Found::kOrixWired : Found::kOrixBluetooth;
    }
  }
  return Found::kSilence;
}

void SetStatus(InterfaceDialogModel& model, const std::string& text) {
  SetText(model.status, text.c_str());
}

}  // namespace

const char* InterfaceLampFile(InterfaceLamp lamp) {
  return lamp == InterfaceLamp::kGreen ? "images/voyantVert.bmp" : "images/voyantRouge.bmp";
}

void InterfacePortName(int index, char (&out)[kPortNameCapacity]) {
  std::memset(out, 0, sizeof out);
  if (index < 0 || index >= kInterfacePortCount) return;
  std::snprintf(out, sizeof out, "COM%d", index + 1);
}

int InterfacePortIndex(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < kInterfacePortCount; ++i) {
    char line[kPortNameCapacity];
    InterfacePortName(i, line);
    if (std::strcmp(line, name) == 0) return i;
  }
  return -1;
}

void OpenInterfaceModel(InterfaceDialogModel& model, MessageBoxes& boxes,
                        const char* settingsPath) {
  std::memset(&model, 0, sizeof model);
  InterfaceSettings stored = {};
  if (!ReadInterfaceSettings(settingsPath, stored)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_INTERFACE_FILE_MISSING, MessageIcon::kError);
    SetText(model.status, TXT_INTERFACE_NOT_OPEN);
    return;
  }
  SetText(model.portName, stored.portName);
  SetText(model.deviceKey, stored.deviceKey);
  model.connected = stored.connected == 1 ? 1 : 0;
  const bool vexa = SameText(model.deviceKey, kDeviceVexa);
  const bool bluetooth = SameText(model.deviceKey, kDeviceOrixBluetooth);
  model.checkedRadio =
      vexa ? IDC_INTERFACE_VEXA : (bluetooth ? IDC_INTERFACE_ORIX_BLUETOOTH : IDC_INTERFACE_ORIX);
  if (model.connected == 0) {
    SetText(model.status, TXT_INTERFACE_NOT_OPEN);
  } else if (vexa) {
    SetText(model.status, TXT_INTERFACE_READY_VEXA);
  } else if (bluetooth) {
    SetText(model.status, TXT_INTERFACE_READY_ORIX_BLUETOOTH);
  } else {
    SetText(model.status, TXT_INTERFACE_READY_ORIX);
  }
}

void InterfaceRadioChosen(InterfaceDialogModel& model, int radioId) {
  switch (radioId) {
    case IDC_INTERFACE_VEXA:
      SetText(model.deviceKey, kDeviceVexa);
      break;
    case IDC_INTERFACE_ORIX:
      SetText(model.deviceKey, kDeviceOrix);
      break;
    case IDC_INTERFACE_ORIX_BLUETOOTH:
      SetText(model.deviceKey, kDeviceOrixBluetooth);
      break;
    default:
      return;
  }
  model.checkedRadio = radioId;
}

InterfaceLamp InterfaceLampOf(const InterfaceDialogModel& model) {
  return model.connected == 1 ? InterfaceLamp::kGreen : InterfaceLamp::kRed;
}

int InterfaceSelectedPort(const InterfaceDialogModel& model) {
  return InterfacePortIndex(model.portName);
}

bool BeginInterfaceConnect(InterfaceDialogModel& model, int portIndex, SerialPort& port) {
  if (portIndex < 0 || portIndex >= kInterfacePortCount) {
    SetText(model.status, TXT_INTERFACE_NO_PORT_CHOSEN);
    return false;
  }
  port.Close();
  model.connected = 0;
  SetText(model.status, TXT_INTERFACE_ATTEMPT);
  return true;
}

void FinishInterfaceConnect(InterfaceDialogModel& model, int portIndex, SerialPort& port,
                            Clock& clock, MessageBoxes& boxes, const char* settingsPath) {
  const std::string attempt = TXT_INTERFACE_ATTEMPT;
  char name[kPortNameCapacity];
  InterfacePortName(portIndex, name);
  if (name[0] == '\0') return;  // BeginInterfaceConnect has said so
  model.connected = 0;
  SetText(model.portName, name);

  Found found = Found::kNotOpened;
  int32_t decoderId = 0;
  if (port.Open(name)) found = Identify(port, clock, &decoderId);
  char id[16];
  std::snprintf(id, sizeof id, "%06d", decoderId);
  const std::string opened = attempt + TXT_INTERFACE_OPENED;
  switch (found) {
    // Nothing identified: flag 0 and the key "Zarvo", as for a port that does not open.
    case Found::kNotOpened:
      SetText(model.deviceKey, kDeviceVexa);
      SetStatus(model, attempt + TXT_INTERFACE_OPEN_FAILED);
      break;
    case Found::kWriteFailed:
      SetText(model.deviceKey, kDeviceVexa);
      SetStatus(model, opened + TXT_INTERFACE_WRITE_FAILED);
      break;
    case Found::kReadFailed:
      SetText(model.deviceKey, kDeviceVexa);
      SetStatus(model, opened + TXT_INTERFACE_READ_FAILED);
      break;
    case Found::kOrixWired:
      model.connected = 1;
      SetText(model.deviceKey, kDeviceOrix);
      model.checkedRadio = IDC_INTERFACE_ORIX;
      SetStatus(model, opened + TXT_INTERFACE_ORIX_ID + id + TXT_INTERFACE_ORIX_READY);
      break;
    case Found::kOrixBluetooth:
      model.connected = 1;
      SetText(model.deviceKey, kDeviceOrixBluetooth);
      model.checkedRadio = IDC_INTERFACE_ORIX_BLUETOOTH;
      SetStatus(model, opened + TXT_INTERFACE_ORIX_BLUETOOTH_ID + id + TXT_INTERFACE_ORIX_READY);
      break;
    case Found::kSilence:
      model.connected = 1;
      SetText(model.deviceKey, kDeviceVexa);
      model.checkedRadio = IDC_INTERFACE_VEXA;
      SetStatus(model, opened + TXT_INTERFACE_VEXA_FOUND);
      break;
  }
  if (!WriteInterfaceSettings(settingsPath, model.portName, model.connected, model.deviceKey)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_INTERFACE_FILE_MISSING, MessageIcon::kError);
  }
}

}  // namespace zarvo
