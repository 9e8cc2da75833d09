// The colour of everything the program paints or prints: the display settings' slots, the
// drawing lists, the gauges of the dialogs.
#pragma once

#include <cstdint>

namespace zarvo {

// A colour is 0x00BBGGRR: red in the low byte, as the platform's COLORREF.
using Colour = uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
  return Colour(red & 0xFF) | (Colour(green & 0xFF) << 8) | (Colour(blue & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return int(c & 0xFF); }
constexpr int GreenOf(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return int((c >> 16) & 0xFF); }

}  // namespace zarvo
