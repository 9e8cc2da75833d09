// The race panel's controls on the main window: Start, Stop and Clear with their labels, the
// twenty lap buttons, the clock, countdown and transponder-mode groups, and the panel font.
#pragma once

#include <windows.h>

namespace zarvo {

// Creates every control of the panel at its computed place for a W x H screen; Start, Stop and
// Clear show bitmaps 2, 3 and 4. Returns the three bitmaps' handles through pictures (released by
// the caller at the end).
void CreateRacePanelControls(HWND window, HINSTANCE instance, int screenWidth, int screenHeight,
                             HBITMAP (&pictures)[3]);

// "Arial", height 16, weight 700, set on the labels, the groups, the transponder controls and the
// lap buttons. The caller deletes it at the end.
HFONT CreateAndSetPanelFont(HWND window);

}  // namespace zarvo
