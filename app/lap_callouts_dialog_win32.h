// The lap callouts dialog "ANNONCESTOURS" on Windows (rules in speech/callout_dialog.h).
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Runs the dialog modal to owner; true when the user pressed "Ok".
bool RunLapCalloutsDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
