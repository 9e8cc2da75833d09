// Positions of the main window's controls from the screen size.
#include "app/race_panel_layout.h"

#include <cstdint>

namespace zarvo {

RacePanelLayout ComputeRacePanelLayout(int screenWidth, int screenHeight) {
  const int w = screenWidth;
  const int h = screenHeight;
  const int centre = (w - 200) / 2 + 200;                                // X
  const int modes = static_cast<int>(int64_t(720) * w / 1600);           // A
  const int buttons = static_cast<int>((42 * int64_t(w) - 8400) / 100);  // c
  auto v = [h](int y) { return HeightUnits(y, h); };

  RacePanelLayout p;
  p.startButton = {buttons + 100, v(40), 80, h / 20};
  p.startLabel = {buttons + 105, v(86), 70, h / 45};
  p.stopButton = {buttons + 200, v(40), 80, h / 20};
  p.stopLabel = {buttons + 205, v(86), 70, h / 45};
  p.clearButton = {buttons + 300, v(40), 80, h / 20};
  p.clearLabel = {buttons + 305, v(86), 70, h / 45};
  p.lapGroup = {centre - WidthUnits(525, w), v(606), WidthUnits(1050, w), h / 18};
  for (int k = 1; k <= kLapButtonCount; ++k) {
    // (k - 11)·50·W/1600 truncates toward zero, also left of the centre.
    p.lapButtons[k - 1] = {centre + WidthUnits(int64_t(k - 11) * 50, w), v(625), w / 40, h / 45};
  }
  p.clockGroup = {WidthUnits(45, w) + 200, v(710), w / 4, h / 12};
  p.countdownGroup = {WidthUnits(440, w) + 220, v(710), 100, h / 12};
  p.transponderGroup = {modes + 200, v(700), 330, v(85)};
  // "Personal chips" in the bold panel font needs about 125 pixels with its radio mark; its row
  // holds nothing else, so it is given 140 instead of the 105 of the other mode button.
  p.personalChips = {modes + 205, v(727), 140, h / 45};
  p.mixedScan = {modes + 205, v(760), 105, h / 45};
  p.scanButton = {modes + 320, v(757), 60, v(23)};
  p.scanState = {modes + 390, v(757), 110, v(23)};
  return p;
}

ControlPlace SessionTreePlace(int clientHeight) {
  return {10, 54, 190, clientHeight - 80};
}

ControlPlace ResultsScrollBarPlace(const ResultsLayout& layout, int screenWidth) {
  return {kTreeWidth, layout.rowsArea.top, WidthUnits(15, screenWidth),
          layout.rowsArea.bottom - layout.rowsArea.top};
}

}  // namespace zarvo
