// A drawing list's filled rectangles painted into a grey-level picture, in list order, for tests
// that look at the pixels of a portable drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/drawing.h"

namespace zarvo::testing {

struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // row by row; 255 white
  uint8_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Paints the list's kFill rectangles (right and bottom edges outside) on a white picture; a
// colour becomes its mean of red, green and blue.
GreyPicture PaintFills(const DrawList& list, int width, int height);

// The picture as a binary PGM file.
std::string PgmBytes(const GreyPicture& picture);

}  // namespace zarvo::testing
