// Geometry of the live results table, in integer arithmetic truncated as the table is drawn.
#include "display/results_layout.h"

#include <algorithm>

namespace zarvo {

namespace {

int SumOfWidths(const int32_t (&widths)[kColumnCount]) {
  return ColumnPrefix(widths, kColumnCount - 1);
}

int Clamp(int64_t v) {
  return static_cast<int>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v)));
}

}  // namespace

int WidthUnits(int64_t x, int screenWidth) { return Clamp(x * screenWidth / 1600); }

int HeightUnits(int64_t y, int screenHeight) { return Clamp(y * screenHeight / 900); }

ResultsLayout ComputeResultsLayout(const TableMetrics& m) {
  const int z = m.screenWidth;
  const int y = m.screenHeight;
  const int s9 = SumOfWidths(m.columnWidths);
  const int rowsBottom = HeightUnits(int64_t(m.visibleRows) * m.rowHeight + 145, y);
  const int e = static_cast<int>(int64_t(z) * 80 / 100) + 200;

  ResultsLayout l;
  l.tableArea = {WidthUnits(15, z) + 200, HeightUnits(115, y), WidthUnits(s9 + 110, z) + 200,
                 HeightUnits(610, y)};
  l.headingBand = {z / 80 + 200, HeightUnits(123, y), WidthUnits(s9 + 95, z) + 200,
                   HeightUnits(145, y)};
  l.markerColumn = {z / 80 + 200, HeightUnits(145, y), WidthUnits(60, z) + 200, rowsBottom};
  l.rowsArea = {WidthUnits(60, z) + 200, HeightUnits(145, y), WidthUnits(s9 + 95, z) + 200,
                rowsBottom};
  l.titleBand = {WidthUnits(15, z) + 200, y / 45, static_cast<int>((42 * int64_t(z) - 8400) / 100) + 90,
                 HeightUnits(70, y)};
  l.clockStrip = {z / 32 + 200, HeightUnits(730, y), WidthUnits(440, z) + 200, HeightUnits(780, y)};
  l.secondsBox = {WidthUnits(440, z) + 240, HeightUnits(730, y), WidthUnits(440, z) + 310,
                  HeightUnits(770, y)};
  l.eventLine = {e - WidthUnits(325, z), y / 30, e + WidthUnits(325, z), y / 9};
  return l;
}

int ColumnPrefix(const int32_t (&widths)[kColumnCount], int column) {
  int sum = 0;
  for (int k = 0; k <= column && k < kColumnCount; ++k) sum += widths[k];
  return sum;
}

TextAlign ColumnAlignment(int column) {
  if (column == 0 || column == 8) return TextAlign::kCentre;
  if (column == 1) return TextAlign::kLeft;
  return TextAlign::kRight;
}

bool ColumnVisible(const TableMetrics& m, int column) {
  const int z = m.screenWidth;
  const int32_t w = m.columnWidths[column];
  switch (column) {
    case 0:
      return w > z / 40;
    case 1:
      return w > z / 20;
    case 2:
      return w > z / 32;
    case 8:
      return w > static_cast<int>(int64_t(z) * 55 / 1600);
    default:
      return w > static_cast<int>(int64_t(z) * 85 / 1600);
  }
}

int HeadingX(const TableMetrics& m, const ResultsLayout& layout, int column) {
  const int32_t(&w)[kColumnCount] = m.columnWidths;
  const int z = m.screenWidth;
  int64_t units;
  switch (column) {
    case 0:
      units = w[0] / 2 + 40;
      break;
    case 1:
      units = ColumnPrefix(w, 0) + 50;
      break;
    case 8:
      units = int64_t(ColumnPrefix(w, 7)) + w[8] / 2 + 40;
      break;
    default:
      units = ColumnPrefix(w, column) + 35;
      break;
  }
  return layout.headingBand.left + WidthUnits(units, z);
}

int CellX(const TableMetrics& m, const ResultsLayout& layout, int column) {
  const int32_t(&w)[kColumnCount] = m.columnWidths;
  const int z = m.screenWidth;
  int64_t units;
  switch (column) {
    case 0:
      units = w[0] / 2;
      break;
    case 1:
      units = ColumnPrefix(w, 0) + 10;
      break;
    case 2:
      units = ColumnPrefix(w, 2) - 5;
      break;
    case 8:
      units = int64_t(ColumnPrefix(w, 7)) + w[8] / 2;
      break;
    default:
      units = ColumnPrefix(w, column) - 10;
      break;
  }
  return layout.rowsArea.left + WidthUnits(units, z);
}

int ResHeadingX(const TableMetrics& m, const ResultsLayout& layout) {
  return layout.headingBand.left + m.screenWidth / 80;
}

int FinHeadingX(const TableMetrics& m, const ResultsLayout& layout) {
  return layout.headingBand.left + WidthUnits(ColumnPrefix(m.columnWidths, 8) + 58, m.screenWidth);
}

int HeadingTextTop(const TableMetrics& m) { return HeightUnits(125, m.screenHeight); }

int RowLineY(const TableMetrics& m, const ResultsLayout& layout, int row) {
  return layout.rowsArea.top + HeightUnits(int64_t(row) * m.rowHeight, m.screenHeight);
}

int RowTextTop(const TableMetrics& m, const ResultsLayout& layout, int row) {
  return HeightUnits(m.rowHeight / 12 + int64_t(row) * m.rowHeight, m.screenHeight) +
         layout.rowsArea.top;
}

int MarkerTextTop(const TableMetrics& m, const ResultsLayout& layout, int row) {
  return HeightUnits(m.rowHeight / 12 + int64_t(row) * m.rowHeight, m.screenHeight) +
         layout.markerColumn.top;
}

int MarkerTextX(const TableMetrics& m, const ResultsLayout& layout) {
  return layout.markerColumn.left + m.screenWidth / 80;
}

int FinishFlagX(const TableMetrics& m, const ResultsLayout& layout) {
  return layout.rowsArea.left + WidthUnits(ColumnPrefix(m.columnWidths, 8) + 5, m.screenWidth);
}

int RowBandHeight(const LayoutRect& area, int visibleRows) {
  if (visibleRows <= 0) return 0;
  return (area.bottom - area.top) / visibleRows;
}

int HeadingFirstGridX(const TableMetrics& m, const ResultsLayout& layout) {
  return layout.headingBand.left + m.screenWidth / 40;
}

int HeadingGridX(const TableMetrics& m, const ResultsLayout& layout, int column) {
  return layout.headingBand.left +
         WidthUnits(ColumnPrefix(m.columnWidths, column) + 40, m.screenWidth);
}

int RowsGridX(const TableMetrics& m, const ResultsLayout& layout, int column) {
  return layout.rowsArea.left + WidthUnits(ColumnPrefix(m.columnWidths, column), m.screenWidth);
}

int FontHeight(int32_t size, int screenWidth) {
  return static_cast<int>(int64_t(screenWidth) * size / 1600);
}

RowFit FitVisibleRows(const int (&textHeights)[kColumnCount], int participantCount,
                      int screenWidth, int screenHeight) {
  (void)screenWidth;  // the text heights already hold the screen's scale
  RowFit fit{0, 0, 0};
  for (int h : textHeights) fit.rowHeight = std::max(fit.rowHeight, h * 120 / 100);
  const int64_t room = HeightUnits(610, screenHeight) - HeightUnits(145, screenHeight);
  for (int n = kMaxVisibleRows; n >= 0; --n) {
    if (int64_t(fit.rowHeight) * n * screenHeight / 900 < room) {
      fit.rowsThatFit = n;
      break;
    }
  }
  fit.visibleRows = std::max(0, std::min(fit.rowsThatFit, participantCount));
  return fit;
}

int ColumnBorderX(const TableMetrics& m, int column) {
  const int z = m.screenWidth;
  int64_t x = z / 80 + 200 + z / 40;
  for (int j = 0; j <= column && j < kColumnCount; ++j) x += int64_t(z) * m.columnWidths[j] / 1600;
  return Clamp(x);
}

bool InResizeZone(const TableMetrics& m, int y) {
  return y > HeightUnits(123, m.screenHeight) && y < HeightUnits(145, m.screenHeight);
}

int ColumnBorderAt(const TableMetrics& m, int x, int y) {
  if (!InResizeZone(m, y)) return -1;
  int found = -1;
  for (int k = 0; k < kColumnCount; ++k) {
    const int border = ColumnBorderX(m, k);
    if (x >= border - 2 && x <= border + 2) found = k;
  }
  return found;
}

int32_t DraggedColumnWidth(int32_t oldWidth, int pressX, int releaseX) {
  const int64_t width = int64_t(oldWidth) + (int64_t(releaseX) - pressX);
  if (width < 0) return 5;
  if (width > kMaxColumnWidth) return kMaxColumnWidth;
  return static_cast<int32_t>(width);
}

int RowAtPointer(const TableMetrics& m, const ResultsLayout& layout, int x, int y) {
  if (x <= layout.markerColumn.left || x >= layout.markerColumn.right) return -1;
  for (int i = 1; i <= m.visibleRows; ++i) {
    const int top = RowLineY(m, layout, i - 1);
    const int bottom = RowLineY(m, layout, i);
    if (y > top && y < bottom) return i - 1;
  }
  return -1;
}

int MulDivRounded(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t a = number;
  int64_t d = denominator;
  if (d < 0) {
    a = -a;
    d = -d;
  }
  const int64_t product = a * numerator;
  const bool positive = (a >= 0) == (numerator >= 0);
  const int64_t result = positive ? (product + d / 2) / d : (product - d / 2) / d;
  if (result > INT32_MAX || result < -INT32_MAX) return -1;
  return static_cast<int>(result);
}

Colour GradientLineColour(Colour top, Colour bottom, int line, int lineCount) {
  if (lineCount <= 0) return top;
  auto channel = [&](int a, int c) { return (a - MulDivRounded(line, a - c, lineCount)) & 0xFF; };
  return MakeColour(channel(RedOf(top), RedOf(bottom)), channel(GreenOf(top), GreenOf(bottom)),
                    channel(BlueOf(top), BlueOf(bottom)));
}

Colour MarkerShadeColour(int line, int bandHeight) {
  if (bandHeight <= 0) return MakeColour(255, 255, 255);
  const int yellowing = MulDivRounded(line, 40, bandHeight);
  return MakeColour(255 - yellowing, 255 - yellowing, 255 - MulDivRounded(line, 95, bandHeight));
}

Colour WatermarkColour(Colour background) {
  auto darker = [](int c) { return c < 10 ? 0 : c - 10; };
  return MakeColour(darker(RedOf(background)), darker(GreenOf(background)),
                    darker(BlueOf(background)));
}

}  // namespace zarvo
