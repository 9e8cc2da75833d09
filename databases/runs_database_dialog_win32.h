// The runs database dialog "BASERESULTATS" on Windows (rules in runs_database_dialog.h).
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

void RunRunsDatabaseDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
