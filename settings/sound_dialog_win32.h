// The sound options dialog "SONS" on Windows (rules in settings/sound_dialog.h).
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Runs the dialog modal to owner; true when the user pressed "Ok".
bool RunSoundDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
