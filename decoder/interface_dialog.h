// What the interface dialog "INTERFACE" decides, without its controls: what it shows of the stored
// interface settings (device radio, port, status text, lamp), and "Connect", which opens the
// chosen port, identifies the device as the start-up does and stores the outcome. The port is
// left open after "Connect" whatever the outcome: it is the program's port from then on.
#pragma once

#include <cstdint>

#include "decoder/interface_settings.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

constexpr int kInterfacePortCount = 99;  // COM1 to COM99
constexpr int kInterfaceStatusCapacity = 256;

enum class InterfaceLamp { kGreen, kRed };

// "images/voyantVert.bmp" or "images/voyantRouge.bmp" (relative to the program folder), drawn at
// (280, 410) in the dialog's client area.
constexpr int kInterfaceLampX = 280;
constexpr int kInterfaceLampY = 410;
const char* InterfaceLampFile(InterfaceLamp lamp);

struct InterfaceDialogModel {
  char portName[kPortNameCapacity];  // the port stored, then the one "Connect" used
  int32_t connected;                 // 1 = identified
  char deviceKey[kDeviceKeyCapacity];
  int checkedRadio;  // IDC_INTERFACE_VEXA .. IDC_INTERFACE_ORIX_BLUETOOTH; 0 for none
  char status[kInterfaceStatusCapacity];
};

// Line i (0..98) of the port list: "COM%d" with i + 1.
void InterfacePortName(int index, char (&out)[kPortNameCapacity]);
// The line that holds exactly that name; -1 when none does.
int InterfacePortIndex(const char* name);

// Opening: reads the settings file (its message when it cannot be opened; the controls then stay
// at their defaults: no radio, no port, a red lamp).
void OpenInterfaceModel(InterfaceDialogModel& model, MessageBoxes& boxes,
                        const char* settingsPath = kInterfaceSettingsFile);
// A device radio pressed: only the key held by the dialog changes.
void InterfaceRadioChosen(InterfaceDialogModel& model, int radioId);
InterfaceLamp InterfaceLampOf(const InterfaceDialogModel& model);
// The selected line of the port list (-1 for none), as "Connect" uses it.
int InterfaceSelectedPort(const InterfaceDialogModel& model);

// "Connect", first half, with the port list's selected line portIndex: the port is closed and the
// status shows the attempt (the dialog paints it before the wait of the second half); the flag is
// 0 until the outcome is known. With no line selected (-1) the status says so, the program's port
// stays open and the flag as it was, and false tells the dialog not to go on.
bool BeginInterfaceConnect(InterfaceDialogModel& model, int portIndex, SerialPort& port);
// "Connect", second half, on the same line: opens the port, sends the identify request and
// collects an answer for up to 1500 ms of the performance counter. A wired or Bluetooth Orix
// answer, or the silence of the Vexa interface, stores the device with flag 1. A port that does
// not open, a request that cannot be written or a read that fails during the wait (the device is
// gone) identifies nothing: each has its own status text, and flag 0 with "Zarvo" is stored. The
// settings file is rewritten (its message when it cannot be); with no line selected nothing is
// opened and nothing is stored.
void FinishInterfaceConnect(InterfaceDialogModel& model, int portIndex, SerialPort& port,
                            Clock& clock, MessageBoxes& boxes,
                            const char* settingsPath = kInterfaceSettingsFile);

}  // namespace zarvo
