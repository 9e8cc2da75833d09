// Geometry of the live results table: rectangles, columns and their strict visibility, the rows
// that fit, column resizing, the row under the pointer and the gradient colours.
#include "display/results_layout.h"

#include <gtest/gtest.h>

namespace zarvo {
namespace {

TableMetrics Metrics(int z, int y, int rowHeight = 38, int visibleRows = 12) {
  TableMetrics m = {z, y, {70, 290, 80, 165, 140, 140, 140, 140, 110}, rowHeight, visibleRows};
  return m;
}

void ExpectRect(const LayoutRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

TEST(ResultsLayout, RectanglesOnA1600x900Screen) {
  const ResultsLayout l = ComputeResultsLayout(Metrics(1600, 900));
  ExpectRect(l.tableArea, 215, 115, 1585, 610);
  ExpectRect(l.headingBand, 220, 123, 1570, 145);
  ExpectRect(l.markerColumn, 220, 145, 260, 601);  // 12 rows of 38
  ExpectRect(l.rowsArea, 260, 145, 1570, 601);
  ExpectRect(l.titleBand, 215, 20, 678, 70);
  ExpectRect(l.clockStrip, 250, 730, 640, 780);
  ExpectRect(l.secondsBox, 680, 730, 750, 770);
  ExpectRect(l.eventLine, 1155, 30, 1805, 100);
}

TEST(ResultsLayout, EveryUnitIsTruncatedOnA1366x768Screen) {
  const ResultsLayout l = ComputeResultsLayout(Metrics(1366, 768));
  ExpectRect(l.tableArea, 212, 98, 200 + 1385 * 1366 / 1600, 520);
  EXPECT_EQ(l.headingBand.left, 217);
  EXPECT_EQ(l.titleBand.right, 579);
  ExpectRect(l.eventLine, 1015, 25, 1569, 85);
  EXPECT_EQ(l.rowsArea.bottom, 512);  // (12·38 + 145)·768/900
}

TEST(ResultsLayout, WithoutRowsTheRowsAreaIsEmpty) {
  const ResultsLayout l = ComputeResultsLayout(Metrics(1600, 900, 38, 0));
  EXPECT_EQ(l.rowsArea.bottom, l.rowsArea.top);
  EXPECT_EQ(RowBandHeight(l.rowsArea, 0), 0);
}

TEST(ResultsColumns, HeadingsAndCellsShareTheirAnchor) {
  const TableMetrics m = Metrics(1600, 900);
  const ResultsLayout l = ComputeResultsLayout(m);
  EXPECT_EQ(HeadingX(m, l, 0), 295);
  EXPECT_EQ(CellX(m, l, 0), 295);
  EXPECT_EQ(HeadingX(m, l, 1), 340);
  EXPECT_EQ(CellX(m, l, 1), 340);
  EXPECT_EQ(HeadingX(m, l, 2), 695);
  EXPECT_EQ(CellX(m, l, 2), 695);
  EXPECT_EQ(HeadingX(m, l, 3), 860);
  EXPECT_EQ(CellX(m, l, 3), 855);
  EXPECT_EQ(HeadingX(m, l, 8), 1480);
  EXPECT_EQ(CellX(m, l, 8), 1480);
  EXPECT_EQ(ResHeadingX(m, l), 240);
  EXPECT_EQ(FinHeadingX(m, l), 1553);
  EXPECT_EQ(FinishFlagX(m, l), 1540);
  EXPECT_EQ(MarkerTextX(m, l), 240);
  EXPECT_EQ(HeadingTextTop(m), 125);
}

TEST(ResultsColumns, GridLinesFollowTheColumnWidths) {
  const TableMetrics m = Metrics(1600, 900);
  const ResultsLayout l = ComputeResultsLayout(m);
  EXPECT_EQ(HeadingFirstGridX(m, l), 260);
  EXPECT_EQ(HeadingGridX(m, l, 0), 330);
  EXPECT_EQ(HeadingGridX(m, l, 8), 1535);
  EXPECT_EQ(RowsGridX(m, l, -1), 260);
  EXPECT_EQ(RowsGridX(m, l, 0), 330);
  EXPECT_EQ(RowsGridX(m, l, 8), 1535);
}

TEST(ResultsColumns, VisibilityThresholdsAreStrict) {
  TableMetrics m = Metrics(1600, 900);
  // Width equal to the threshold hides the column; one more shows it.
  const int thresholds[kColumnCount] = {40, 80, 50, 85, 85, 85, 85, 85, 55};
  for (int k = 0; k < kColumnCount; ++k) {
    m.columnWidths[k] = thresholds[k];
    EXPECT_FALSE(ColumnVisible(m, k)) << k;
    m.columnWidths[k] = thresholds[k] + 1;
    EXPECT_TRUE(ColumnVisible(m, k)) << k;
  }
  m.columnWidths[6] = 0;
  EXPECT_FALSE(ColumnVisible(m, 6));
}

TEST(ResultsColumns, ThresholdsScaleWithTheScreenButWidthsDoNot) {
  TableMetrics m = Metrics(1920, 1080);
  m.columnWidths[6] = 1920 * 85 / 1600;  // 102: the "Worst lap" column is hidden
  EXPECT_FALSE(ColumnVisible(m, 6));
  m.columnWidths[6] = 103;
  EXPECT_TRUE(ColumnVisible(m, 6));
  m.columnWidths[0] = 48;  // Z/40
  EXPECT_FALSE(ColumnVisible(m, 0));
}

TEST(ResultsRows, TextTopsAndLinesFollowTheRowHeight) {
  const TableMetrics m = Metrics(1600, 900);
  const ResultsLayout l = ComputeResultsLayout(m);
  EXPECT_EQ(RowTextTop(m, l, 0), 148);  // 38/12 = 3 below the row's top
  EXPECT_EQ(RowTextTop(m, l, 11), 566);
  EXPECT_EQ(MarkerTextTop(m, l, 11), 566);
  EXPECT_EQ(RowLineY(m, l, 1), 183);
  EXPECT_EQ(RowLineY(m, l, 12), 601);
  EXPECT_EQ(RowBandHeight(l.rowsArea, 12), 38);

  const TableMetrics big = Metrics(1920, 1080, 45, 10);
  const ResultsLayout bl = ComputeResultsLayout(big);
  EXPECT_EQ(RowLineY(big, bl, 1), 174 + 54);
  EXPECT_EQ(RowTextTop(big, bl, 1), 174 + (3 + 45) * 1080 / 900);
}

TEST(FitVisibleRows, TwelveRowsOf38FitBetweenTheHeadingsAndTheLapButtons) {
  const int heights[kColumnCount] = {32, 32, 32, 32, 32, 32, 32, 32, 32};
  const RowFit fit = FitVisibleRows(heights, 20, 1600, 900);
  EXPECT_EQ(fit.rowHeight, 38);
  EXPECT_EQ(fit.rowsThatFit, 12);  // 12·38 = 456 < 465
  EXPECT_EQ(fit.visibleRows, 12);
}

TEST(FitVisibleRows, RowHeightIsTheTallestColumnFontTimes1Point2Truncated) {
  const int heights[kColumnCount] = {10, 26, 12, 0, 0, 0, 0, 0, 14};
  const RowFit fit = FitVisibleRows(heights, 20, 1600, 900);
  EXPECT_EQ(fit.rowHeight, 31);    // 26·120/100 = 31.2
  EXPECT_EQ(fit.rowsThatFit, 14);  // 15·31 = 465 is not below 465
}

TEST(FitVisibleRows, NeverMoreThanTwentyRowsNorMoreThanTheParticipants) {
  const int small[kColumnCount] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  EXPECT_EQ(FitVisibleRows(small, 20, 1600, 900).rowsThatFit, 20);
  EXPECT_EQ(FitVisibleRows(small, 20, 1600, 900).visibleRows, 20);
  EXPECT_EQ(FitVisibleRows(small, 5, 1600, 900).visibleRows, 5);
  EXPECT_EQ(FitVisibleRows(small, 0, 1600, 900).visibleRows, 0);
  const int none[kColumnCount] = {};
  EXPECT_EQ(FitVisibleRows(none, 20, 1600, 900).rowsThatFit, 20);
}

TEST(FitVisibleRows, AHugeFontFitsNoRow) {
  const int huge[kColumnCount] = {0, 100000, 0, 0, 0, 0, 0, 0, 0};
  const RowFit fit = FitVisibleRows(huge, 20, 1600, 900);
  EXPECT_EQ(fit.rowsThatFit, 0);
  EXPECT_EQ(fit.visibleRows, 0);
}

TEST(FitVisibleRows, TheRowHeightCountsTwiceOnABiggerScreen) {
  // The pixel height of the fonts is used again as height units: 38-pixel text on a 1920x1080
  // screen gives rows of 45 units, 54 pixels; 10 fit in V(610) - V(145) = 558 pixels.
  const int heights[kColumnCount] = {38, 38, 38, 38, 38, 38, 38, 38, 38};
  const RowFit fit = FitVisibleRows(heights, 20, 1920, 1080);
  EXPECT_EQ(fit.rowHeight, 45);
  EXPECT_EQ(fit.rowsThatFit, 10);
}

TEST(FontHeight, ScalesTheSizeByTheScreenWidthKeepingItsSign) {
  EXPECT_EQ(FontHeight(26, 1600), 26);
  EXPECT_EQ(FontHeight(26, 1920), 31);
  EXPECT_EQ(FontHeight(-20, 1366), -17);  // truncated toward zero
}

TEST(ColumnResizing, BordersAddEachColumnTruncatedSeparately) {
  const TableMetrics m = Metrics(1600, 900);
  EXPECT_EQ(ColumnBorderX(m, 0), 330);
  EXPECT_EQ(ColumnBorderX(m, 8), 1535);
  const TableMetrics small = Metrics(1366, 768);
  // 17 + 200 + 34 + 59 + 247: one pixel left of X(P(1)) = 307.
  EXPECT_EQ(ColumnBorderX(small, 1), 557);
}

TEST(ColumnResizing, PointerWithinTwoPixelsOfABorderStrictlyInsideTheHeadingBand) {
  const TableMetrics m = Metrics(1600, 900);
  EXPECT_EQ(ColumnBorderAt(m, 330, 130), 0);
  EXPECT_EQ(ColumnBorderAt(m, 328, 130), 0);
  EXPECT_EQ(ColumnBorderAt(m, 332, 124), 0);
  EXPECT_EQ(ColumnBorderAt(m, 333, 130), -1);
  EXPECT_EQ(ColumnBorderAt(m, 327, 130), -1);
  EXPECT_EQ(ColumnBorderAt(m, 330, 123), -1);  // on the band's top edge
  EXPECT_EQ(ColumnBorderAt(m, 330, 145), -1);  // on its bottom edge
  EXPECT_EQ(ColumnBorderAt(m, 330, 144), 0);
  EXPECT_EQ(ColumnBorderAt(m, 1535, 130), 8);
}

TEST(ColumnResizing, AHiddenColumnOfWidthZeroCanBeDraggedOpen) {
  TableMetrics m = Metrics(1600, 900);
  m.columnWidths[6] = 0;  // border 6 lies on border 5
  EXPECT_EQ(ColumnBorderX(m, 5), ColumnBorderX(m, 6));
  EXPECT_EQ(ColumnBorderAt(m, ColumnBorderX(m, 6), 130), 6);
}

TEST(ColumnResizing, DragResultIsClampedTo5And999) {
  EXPECT_EQ(DraggedColumnWidth(30, 400, 350), 5);  // 50 pixels left of a 30-wide column
  EXPECT_EQ(DraggedColumnWidth(990, 100, 120), 999);
  EXPECT_EQ(DraggedColumnWidth(100, 0, 2000000000), 999);
  EXPECT_EQ(DraggedColumnWidth(100, 110, 10), 0);  // exactly 0 is not negative
  EXPECT_EQ(DraggedColumnWidth(100, 10, 40), 130);
  EXPECT_EQ(DraggedColumnWidth(100, 40, 10), 70);
}

TEST(RowAtPointer, EachRowSpansItsBandExclusively) {
  const TableMetrics m = Metrics(1600, 900);
  const ResultsLayout l = ComputeResultsLayout(m);
  EXPECT_EQ(RowAtPointer(m, l, 240, 145), -1);
  EXPECT_EQ(RowAtPointer(m, l, 240, 146), 0);
  EXPECT_EQ(RowAtPointer(m, l, 240, 182), 0);
  EXPECT_EQ(RowAtPointer(m, l, 240, 183), -1);  // the line between rows 0 and 1
  EXPECT_EQ(RowAtPointer(m, l, 240, 184), 1);
  EXPECT_EQ(RowAtPointer(m, l, 240, 600), 11);
  EXPECT_EQ(RowAtPointer(m, l, 240, 601), -1);
  EXPECT_EQ(RowAtPointer(m, l, 240, 640), -1);
}

TEST(RowAtPointer, OnlyStrictlyInsideTheMarkerColumn) {
  const TableMetrics m = Metrics(1600, 900);
  const ResultsLayout l = ComputeResultsLayout(m);
  EXPECT_EQ(RowAtPointer(m, l, 220, 160), -1);
  EXPECT_EQ(RowAtPointer(m, l, 221, 160), 0);
  EXPECT_EQ(RowAtPointer(m, l, 259, 160), 0);
  EXPECT_EQ(RowAtPointer(m, l, 260, 160), -1);
  EXPECT_EQ(RowAtPointer(m, l, 400, 160), -1);  // a click in the rows opens nothing
}

TEST(RowAtPointer, NoRowWithoutVisibleRows) {
  const TableMetrics m = Metrics(1600, 900, 38, 0);
  EXPECT_EQ(RowAtPointer(m, ComputeResultsLayout(m), 240, 160), -1);
}

TEST(MulDivRounded, RoundsHalfAwayFromZeroAsThePlatformDoes) {
  EXPECT_EQ(MulDivRounded(1, 1, 2), 1);
  EXPECT_EQ(MulDivRounded(-1, 1, 2), -1);
  EXPECT_EQ(MulDivRounded(1, -1, 2), -1);
  EXPECT_EQ(MulDivRounded(2, 100, 3), 67);
  EXPECT_EQ(MulDivRounded(2, -100, 3), -67);
  EXPECT_EQ(MulDivRounded(1, 100, 3), 33);
  EXPECT_EQ(MulDivRounded(7, 3, -2), -11);  // -10.5
  EXPECT_EQ(MulDivRounded(5, 3, 0), -1);
  EXPECT_EQ(MulDivRounded(2000000000, 2, 1), -1);  // does not fit
  EXPECT_EQ(MulDivRounded(2000000000, 3, 3), 2000000000);  // 64-bit product
}

TEST(Gradient, FirstLineIsTheTopColourAndEachLineRoundsToNearest) {
  const Colour top = MakeColour(200, 100, 0);
  const Colour bottom = MakeColour(100, 200, 255);
  EXPECT_EQ(GradientLineColour(top, bottom, 0, 3), top);
  // 200 - MulDiv(1, 100, 3) = 167; 100 - MulDiv(1, -100, 3) = 133; 0 - MulDiv(1, -255, 3) = 85
  EXPECT_EQ(GradientLineColour(top, bottom, 1, 3), MakeColour(167, 133, 85));
  // 200 - 67 = 133 (truncation would give 134); 100 + 67 = 167; 0 + 170 = 170
  EXPECT_EQ(GradientLineColour(top, bottom, 2, 3), MakeColour(133, 167, 170));
}

TEST(Gradient, EqualColoursGiveAFlatBand) {
  const Colour c = MakeColour(12, 34, 56);
  for (int n = 0; n < 40; ++n) EXPECT_EQ(GradientLineColour(c, c, n, 40), c);
}

TEST(Gradient, LastLineStopsOneStepShortOfTheBottomColour) {
  const Colour white = MakeColour(255, 255, 255);
  const Colour black = 0;
  EXPECT_EQ(GradientLineColour(white, black, 37, 38), MakeColour(7, 7, 7));  // 255 - 248.3
}

TEST(MarkerShade, WhiteFadesToPaleYellowDownEachCell) {
  EXPECT_EQ(MarkerShadeColour(0, 20), MakeColour(255, 255, 255));
  EXPECT_EQ(MarkerShadeColour(10, 20), MakeColour(235, 235, 207));  // 95/2 = 47.5 -> 48
  EXPECT_EQ(MarkerShadeColour(19, 20), MakeColour(217, 217, 165));
  EXPECT_EQ(kMarkerFlatColour, MakeColour(255, 255, 200));
}

TEST(Watermark, TenDarkerThanTheTableNeverBelowBlack) {
  EXPECT_EQ(WatermarkColour(MakeColour(240, 245, 250)), MakeColour(230, 235, 240));
  EXPECT_EQ(WatermarkColour(MakeColour(9, 10, 11)), MakeColour(0, 0, 1));
  EXPECT_EQ(WatermarkColour(0), Colour(0));
}

}  // namespace
}  // namespace zarvo
