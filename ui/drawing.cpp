// Building a drawing list.
#include "ui/drawing.h"

#include <cstring>

namespace zarvo {

DrawOp* DrawList::Add(DrawKind kind) {
  if (count >= kMaxOps) {
    overflowed = true;
    return nullptr;
  }
  DrawOp* op = &ops[count++];
  std::memset(op, 0, sizeof *op);
  op->kind = kind;
  op->penWidth = 1;
  return op;
}

DrawOp* DrawList::AddBox(DrawKind kind, int x1, int y1, int x2, int y2, Colour pen) {
  DrawOp* op = Add(kind);
  if (op != nullptr) {
    op->x1 = x1;
    op->y1 = y1;
    op->x2 = x2;
    op->y2 = y2;
    op->colour = pen;
  }
  return op;
}

void DrawList::Fill(int left, int top, int right, int bottom, Colour fill) {
  if (DrawOp* op = AddBox(DrawKind::kFill, left, top, right, bottom, 0)) op->fill = fill;
}

void DrawList::Frame(int left, int top, int right, int bottom, Colour pen) {
  if (DrawOp* op = AddBox(DrawKind::kRectangle, left, top, right, bottom, pen)) op->hollow = true;
}

void DrawList::Rectangle(int left, int top, int right, int bottom, Colour pen, Colour fill) {
  if (DrawOp* op = AddBox(DrawKind::kRectangle, left, top, right, bottom, pen)) op->fill = fill;
}

void DrawList::Ellipse(int left, int top, int right, int bottom, Colour pen, Colour fill) {
  if (DrawOp* op = AddBox(DrawKind::kEllipse, left, top, right, bottom, pen)) op->fill = fill;
}

void DrawList::Line(int x1, int y1, int x2, int y2, Colour pen, int width) {
  if (DrawOp* op = AddBox(DrawKind::kLine, x1, y1, x2, y2, pen)) {
    op->penWidth = static_cast<int8_t>(width);
  }
}

void DrawList::Text(int x, int y, TextAlign align, const DrawFont& font, Colour colour,
                    std::string_view s) {
  if (s.size() > size_t(kTextCapacity - textUsed)) {
    overflowed = true;
    return;
  }
  if (DrawOp* op = Add(DrawKind::kText)) {
    op->x1 = x;
    op->y1 = y;
    op->align = align;
    op->font = font;
    op->colour = colour;
    op->textOffset = static_cast<uint16_t>(textUsed);
    op->textLength = static_cast<uint16_t>(s.size());
    std::memcpy(text + textUsed, s.data(), s.size());
    textUsed += static_cast<int>(s.size());
  }
}

void DrawList::OpaqueText(int x, int y, TextAlign align, const DrawFont& font, Colour colour,
                          Colour background, std::string_view s) {
  const int before = count;
  Text(x, y, align, font, colour, s);
  if (count > before) {
    ops[count - 1].opaque = true;
    ops[count - 1].fill = background;
  }
}

}  // namespace zarvo
