// The live results dialog "RESULTATSDIRECT" on Windows (rules in web/live_dialog.h).
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"
#include "web/live_dialog.h"

namespace zarvo {

// Modal to owner; the addresses are the computer's at opening. True when "Ok" wrote and applied
// the settings.
bool RunLiveDialog(HWND owner, MessageBoxes& boxes, LiveResultsControl& control);

}  // namespace zarvo
