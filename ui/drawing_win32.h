// Replays a drawing list (ui/drawing.h) on a device context: a window's client area in
// pixels or a printed page in its logical units.
#pragma once

#include <windows.h>

#include "ui/drawing.h"

namespace zarvo {

// Draws every primitive of the list in order. Fonts, pens and brushes are made as the list needs
// them and all deleted before it returns; the device context is left as it was given.
void ReplayDrawList(HDC dc, const DrawList& list);

}  // namespace zarvo
