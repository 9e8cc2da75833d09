// Display settings files of any content: a file that reads is written back to the same record,
// with terminated face names and widths in range, and the table's geometry stays computable; a
// file that does not read changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "display/results_layout.h"
#include "settings/display_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  DisplaySettings s;
  std::memset(&s, 0x5A, sizeof s);
  CustomColours c;
  std::memset(&c, 0x5A, sizeof c);
  const DisplaySettings before = s;
  const DisplayFileRead result = ParseDisplaySettings(input, s, c);
  if (result != DisplayFileRead::kRead) {
    if (std::memcmp(&s, &before, sizeof s) != 0) __builtin_trap();
    return 0;
  }
  for (const FontSpec& f : s.fonts) {
    if (f.faceName[kFaceNameCapacity - 1] != '\0') __builtin_trap();
  }
  DisplaySettings again;
  std::memset(&again, 0, sizeof again);
  CustomColours againCustom = {};
  if (ParseDisplaySettings(FormatDisplaySettings(s, c), again, againCustom) !=
      DisplayFileRead::kRead) {
    __builtin_trap();
  }
  if (std::memcmp(&again, &s, sizeof s) != 0) __builtin_trap();

  for (int z : {1280, 1600, 1920}) {
    int heights[kColumnCount];
    for (int k = 0; k < kColumnCount; ++k) {
      if (s.columnWidths[k] < 0 || s.columnWidths[k] > kMaxColumnWidth) __builtin_trap();
      heights[k] = FontHeight(s.fonts[kFontFirstColumn + k].size, z) & 0xFFFF;
    }
    const RowFit fit = FitVisibleRows(heights, 20, z, z * 9 / 16);
    if (fit.visibleRows < 0 || fit.visibleRows > kMaxVisibleRows) __builtin_trap();
    TableMetrics m = {z, z * 9 / 16, {}, fit.rowHeight, fit.visibleRows};
    std::memcpy(m.columnWidths, s.columnWidths, sizeof m.columnWidths);
    const ResultsLayout l = ComputeResultsLayout(m);
    for (int k = 0; k < kColumnCount; ++k) {
      if (ColumnVisible(m, k)) (void)(HeadingX(m, l, k) + CellX(m, l, k) + ColumnBorderX(m, k));
    }
    for (int i = 0; i <= fit.visibleRows; ++i) (void)RowTextTop(m, l, i);
    (void)GradientLineColour(s.colours[kColourRowsTop], s.colours[kColourRowsBottom], 3,
                             RowBandHeight(l.rowsArea, fit.visibleRows) + 4);
  }
  return 0;
}
