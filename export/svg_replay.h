// The drawing-list replayer for SVG: the same primitives ui/drawing_win32.h draws on a
// device context, written as an inline SVG picture, so a graph on screen, on paper and in a web
// page comes from one geometry.
//
// Pixel rules follow GDI's: a rectangle's right and bottom edges lie outside it, a line leaves
// out its end point, a 1-unit pen covers the pixel row or column right of and below its
// coordinate. Texts are "Arial" by cell height, anchored at the top of the cell. Consecutive
// lines of one pen are written as one path.
#pragma once

#include <string>
#include <string_view>

#include "ui/drawing.h"

namespace zarvo {

struct SvgView {
  int left;
  int top;
  int width;
  int height;
};

// Appends <svg ...>...</svg> showing the part `view` of the list's coordinates. `title` (Windows-
// 1252) describes the picture for readers that cannot see it. `idPrefix` keeps the ids of the
// picture's definitions unique within a page holding several pictures (ASCII letters, digits,
// '-').
void AppendSvg(std::string& out, const DrawList& list, const SvgView& view, std::string_view title,
               std::string_view idPrefix);

// "#rrggbb" of a colour (0x00BBGGRR).
std::string SvgColour(Colour colour);

}  // namespace zarvo
