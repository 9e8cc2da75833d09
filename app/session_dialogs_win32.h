// The session commands' dialogs on Windows: the three setup dialogs, the driver details, and the
// place where the smartphone import dialog will open.
#pragma once

#include <windows.h>

#include "app/driver_details_session.h"
#include "app/session_ports.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

class Win32SessionDialogs : public SessionDialogs {
 public:
  // owner: the window the dialogs are modal to (the main window once it exists).
  Win32SessionDialogs(const HWND* owner, MessageBoxes& boxes) : owner_(owner), boxes_(boxes) {}
  void OpenTrackDialog() override;
  void OpenParticipantsDialog() override;
  void OpenRaceParametersDialog() override;
  // The driver details scan on the program's port; until UseSerialPort is called the dialog does
  // not open.
  void OpenDriverDetailsDialog() override;
  bool OpenSmartphoneImportDialog() override;

  // The program's port and clock, which the driver details dialog's scan reads.
  void UseSerialPort(SerialPort& port, Clock& clock) {
    port_ = &port;
    clock_ = &clock;
  }

 private:
  const HWND* owner_;
  MessageBoxes& boxes_;
  SerialPort* port_ = nullptr;
  Clock* clock_ = nullptr;
  WorkingCopyDetails details_;
};

}  // namespace zarvo
