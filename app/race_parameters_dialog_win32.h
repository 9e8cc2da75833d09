// The race parameters dialog "COURSEPARAMETRES": classification, duration, countdown, start and
// end rules of the session's runs.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Modal over owner. Reads the race parameters of the working copy; "Validate" rewrites them.
// True when the user confirmed.
bool RunRaceParametersDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
