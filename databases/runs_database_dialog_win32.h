// The runs database dialog "BASERESULTATS" on Windows (rules in runs_database_dialog.h).
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// What the dialog asks for when a run is chosen: the run of that title in that runs file shown,
// modal to owner, returning once its window is closed; false when it could not be shown (the
// opener said why). The run detail window stands above the databases, so the program hands the
// opener in (OpenArchivedRun, analysis/run_window_win32.h).
using ArchivedRunOpener = bool (*)(HWND owner, const char* runsFilePath, const char* runTitle,
                                   MessageBoxes& boxes);

void RunRunsDatabaseDialog(HWND owner, MessageBoxes& boxes, ArchivedRunOpener openRun);

}  // namespace zarvo
