// The display options dialog "AFFICHAGE" on Windows (rules in display/display_dialog.h).
#pragma once

#include <windows.h>

#include "display/display_dialog.h"
#include "platform/message_boxes.h"

namespace zarvo {

// Runs the dialog modal to owner; memory keeps the chosen column from one opening to the next.
// True when the user pressed "Ok".
bool RunDisplayDialog(HWND owner, MessageBoxes& boxes, DisplayDialogMemory& memory);

// Replays the preview steps on a device context (the dialog's, or a test's bitmap).
void PaintDisplayPreview(HDC dc, const DisplaySettings& settings,
                         const std::vector<PreviewStep>& steps);

}  // namespace zarvo
