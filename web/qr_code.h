// The QR code of the address phones open: its module grid (made by the qrcodegen library) and a
// drawing of it as filled rectangles, replayed on a window like every other drawing list.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "ui/drawing.h"

namespace zarvo {

// Longer texts are refused (an address is a few dozen characters).
constexpr size_t kMaxQrTextBytes = 256;
// The light border every reader needs around the code, in modules.
constexpr int kQrQuietZone = 4;

struct QrGrid {
  int size = 0;  // modules a side (21 to 177); 0 when there is no code
  std::vector<uint8_t> dark;  // size * size, row by row; 1 = dark module
  bool Dark(int x, int y) const {
    return x >= 0 && y >= 0 && x < size && y < size && dark[size_t(y) * size_t(size) + x] != 0;
  }
};

// The code of the text (bytes as given, error correction level M, raised when it costs no
// size), or an empty grid for an empty or too long text.
QrGrid MakeQrGrid(std::string_view text);

// The side in pixels of the drawn code, quiet zone included.
int QrDrawingSide(const QrGrid& grid, int moduleSize);

// Appends the code at (left, top): a white square over the whole side, then the dark modules of
// each row, a run of neighbours as one rectangle. Nothing for an empty grid or a module size
// below 1. Returns false when the list could not hold it all.
bool DrawQrCode(const QrGrid& grid, int left, int top, int moduleSize, DrawList& list);

}  // namespace zarvo
