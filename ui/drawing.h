// A drawing as a list of primitives (filled rectangles, outlined rectangles, lines, texts,
// ellipses) in the coordinates of the surface it is meant for: client pixels of a window, or the
// logical units of a printed page. Portable code builds the list; ui/drawing_win32.h
// replays it on any device context, so the screen and the paper share one painter and tests read
// the coordinates.
//
// Fixed capacity, nothing allocated: a list holds at most kMaxOps primitives and kTextCapacity
// bytes of text (Windows-1252). What does not fit is dropped and marks the list overflowed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/colour.h"

namespace zarvo {

enum class DrawKind : uint8_t {
  kFill,       // rectangle filled with `fill`, no outline
  kRectangle,  // outline of pen `colour`, `penWidth`; filled with `fill` unless `hollow`
  kLine,       // from (x1, y1) to (x2, y2), pen `colour`, `penWidth`; the end point is not drawn
  kText,       // at anchor (x1, y1): top of the text, horizontal place by `align`
  kEllipse,    // inside (x1, y1)-(x2, y2), outline and fill as kRectangle
};

enum class TextAlign : uint8_t { kLeft, kRight, kCentre };

// A font of face "Arial" by cell height (pixels or logical units) and weight.
struct DrawFont {
  int16_t height;
  int16_t weight;  // 400 normal, 700 bold
  bool underline;
};

inline bool operator==(const DrawFont& a, const DrawFont& b) {
  return a.height == b.height && a.weight == b.weight && a.underline == b.underline;
}

// Rectangles are left, top, right, bottom with the right and bottom edges outside, as Windows
// draws them.
struct DrawOp {
  DrawKind kind;
  TextAlign align;
  bool hollow;      // kRectangle, kEllipse: outline only
  bool opaque;      // kText: the text cell is filled with `fill`
  int8_t penWidth;  // kRectangle, kLine, kEllipse
  DrawFont font;    // kText
  int32_t x1, y1, x2, y2;
  Colour colour;        // pen or text colour
  Colour fill;          // fill colour; text background when opaque
  uint16_t textOffset;  // kText: bytes of DrawList::text
  uint16_t textLength;
};

struct DrawList {
  static constexpr int kMaxOps = 1024;
  static constexpr int kTextCapacity = 16384;

  DrawOp ops[kMaxOps];
  int count;
  char text[kTextCapacity];
  int textUsed;
  bool overflowed;

  void Clear() {
    count = 0;
    textUsed = 0;
    overflowed = false;
  }
  std::string_view TextOf(const DrawOp& op) const {
    return std::string_view(text + op.textOffset, op.textLength);
  }

  void Fill(int left, int top, int right, int bottom, Colour fill);
  void Frame(int left, int top, int right, int bottom, Colour pen);
  void Rectangle(int left, int top, int right, int bottom, Colour pen, Colour fill);
  void Ellipse(int left, int top, int right, int bottom, Colour pen, Colour fill);
  void Line(int x1, int y1, int x2, int y2, Colour pen, int width = 1);
  // Transparent text in `colour`.
  void Text(int x, int y, TextAlign align, const DrawFont& font, Colour colour, std::string_view s);
  // Text whose cell is filled with `background`.
  void OpaqueText(int x, int y, TextAlign align, const DrawFont& font, Colour colour,
                  Colour background, std::string_view s);

 private:
  DrawOp* Add(DrawKind kind);
  // An operation over the box (x1, y1)-(x2, y2) drawn with that pen; nullptr when the list is full.
  DrawOp* AddBox(DrawKind kind, int x1, int y1, int x2, int y2, Colour pen);
};

constexpr Colour kBlack = MakeColour(0, 0, 0);
constexpr Colour kWhite = MakeColour(255, 255, 255);

}  // namespace zarvo
