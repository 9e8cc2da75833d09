// The run synthesis additions on the run window's dialog ("DETAILRESULTATS"): the window procedure
// of the run window calls these in synthesis mode, at its opening and for its commands, and calls
// LeaveRunSynthesis (analysis/run_synthesis.h) with "Save", "Cancel" or the close box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/run_synthesis.h"
#include "platform/message_boxes.h"

namespace zarvo {

// At opening, once the edits hold the sheet: "Save" and the chooser shown, the chooser filled with
// its entries (RunSynthesis::cars) and its empty entry selected, every setup-sheet edit limited to
// its field's capacity minus 2 and editable.
void ShowSynthesisControls(HWND dialog, const std::vector<std::string>& cars);

// WM_COMMAND of the run window in synthesis mode: a changed setup-sheet edit is copied into the
// working copy (the sheet the window shows and prints); a new selection in the chooser goes
// through CarChosen, then the edits of the car name to the throttle servo are written again from
// the sheet. False for any other command.
bool OnSynthesisCommand(HWND dialog, WPARAM wParam, SetupSheet& sheet, MessageBoxes& boxes);

}  // namespace zarvo
