// The run windows on Windows: the template "DETAILRESULTATS" driven by analysis/run_window.h.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// The run detail window of an archived run, as the runs database dialog opens it after writing
// the archived-run request. Modal to owner; nothing is written when it closes.
void RunArchivedRunWindow(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
