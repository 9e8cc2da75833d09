// The track dialog "COURSEPISTE": the session label, the circuit and the minimum lap time.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Modal over owner. Reads the circuits database and the session track of the working copy;
// "Enter" rewrites the session track. True when the user confirmed.
bool RunTrackDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
