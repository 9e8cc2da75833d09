// Painting a drawing list's fills into a grey picture for the tests.
#include "tests/support/raster.h"

#include <algorithm>

namespace zarvo::testing {

GreyPicture PaintFills(const DrawList& list, int width, int height) {
  GreyPicture p;
  p.width = width;
  p.height = height;
  p.pixels.assign(size_t(width) * size_t(height), 255);
  for (int i = 0; i < list.count; ++i) {
    const DrawOp& op = list.ops[i];
    if (op.kind != DrawKind::kFill) continue;
    const uint32_t c = op.fill;
    const uint8_t grey = static_cast<uint8_t>(((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF)) / 3);
    for (int y = std::max(0, op.y1); y < std::min(height, op.y2); ++y) {
      for (int x = std::max(0, op.x1); x < std::min(width, op.x2); ++x) {
        p.pixels[size_t(y) * size_t(width) + size_t(x)] = grey;
      }
    }
  }
  return p;
}

std::string PgmBytes(const GreyPicture& picture) {
  std::string out = "P5\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) +
                    "\n255\n";
  out.append(picture.pixels.begin(), picture.pixels.end());
  return out;
}

}  // namespace zarvo::testing
