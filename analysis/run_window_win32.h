// The run windows on Windows: the template "DETAILRESULTATS" driven by analysis/run_window.h.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// The run detail window of an archived run, as the runs database dialog opens it after writing
// the archived-run request. Modal to owner; nothing is written when it closes.
void RunArchivedRunWindow(HWND owner, MessageBoxes& boxes);

// What the runs database dialog asks for when a run is chosen (its ArchivedRunOpener): the
// archived-run request handed over, then the run detail window. False when the request could
// not be written (the window is not opened).
bool OpenArchivedRun(HWND owner, const char* runsFilePath, const char* runTitle,
                     MessageBoxes& boxes);

// The run synthesis window of the run the main window handed off: the same window with "Save",
// the car chooser and the setup sheet to edit. Leaving it writes the setup answer ("Save": flag 1
// with the sheet as edited; "Cancel" and the close box: flag 0), once the working directory
// recorded at opening is current again.
void RunSynthesisWindow(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
