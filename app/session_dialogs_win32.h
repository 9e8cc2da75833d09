// The session commands' dialogs on Windows: the three setup dialogs, and the places where the
// driver details and smartphone import dialogs will open.
#pragma once

#include <windows.h>

#include "app/session_ports.h"
#include "platform/message_boxes.h"

namespace zarvo {

class Win32SessionDialogs : public SessionDialogs {
 public:
  // owner: the window the dialogs are modal to (the main window once it exists).
  Win32SessionDialogs(const HWND* owner, MessageBoxes& boxes) : owner_(owner), boxes_(boxes) {}
  void OpenTrackDialog() override;
  void OpenParticipantsDialog() override;
  void OpenRaceParametersDialog() override;
  // Not built yet: selecting a driver opens nothing.
  void OpenDriverDetailsDialog() override {}
  bool OpenSmartphoneImportDialog() override;

 private:
  const HWND* owner_;
  MessageBoxes& boxes_;
};

}  // namespace zarvo
