// Geometry of the live results table: its rectangles, column positions and visibility, the rows
// that fit, column resizing, the row under the pointer and the colours of its gradients.
// Everything scales with the screen (Z x Y pixels), not the window: the width unit is Z/1600 and
// the height unit Y/900, each product truncated. The session tree takes the left 200 pixels.
#pragma once

#include <cstdint>

#include "settings/display_settings.h"

namespace zarvo {

constexpr int kMaxVisibleRows = 20;
constexpr int kTreeWidth = 200;  // pixels left of the table that belong to the session tree

struct LayoutRect {
  int left;
  int top;
  int right;
  int bottom;
};

// What the geometry depends on.
struct TableMetrics {
  int screenWidth;                     // Z, pixels
  int screenHeight;                    // Y, pixels
  int32_t columnWidths[kColumnCount];  // the live column widths, width units
  int rowHeight;                       // H, from FitVisibleRows, used as height units
  int visibleRows;                     // R, 0 to 20
};

// x·Z/1600 and y·Y/900, truncated (computed in 64 bits).
int WidthUnits(int64_t x, int screenWidth);
int HeightUnits(int64_t y, int screenHeight);

// The eight rectangles of the table, recomputed before every use. They are also the regions
// repainted when their contents change.
struct ResultsLayout {
  LayoutRect tableArea;     // background, frame and watermark
  LayoutRect headingBand;   // column headings
  LayoutRect markerColumn;  // "Res": the markers of the rows
  LayoutRect rowsArea;      // the rows
  LayoutRect titleBand;     // run caption
  LayoutRect clockStrip;    // race length, remaining and elapsed times
  LayoutRect secondsBox;    // countdown seconds
  LayoutRect eventLine;     // radio conflict
};

ResultsLayout ComputeResultsLayout(const TableMetrics& m);

// --- Columns (index 0..8: Lane, Driver, Laps, Total time, Lap time, Best lap, Worst lap,
// Average lap, Transp.) ---

enum class TextAlign { kLeft, kCentre, kRight };

// P(k) = w[0] + ... + w[k]; P(-1) = 0.
int ColumnPrefix(const int32_t (&widths)[kColumnCount], int column);
TextAlign ColumnAlignment(int column);
// A column too narrow for its texts is not drawn at all; the test is strict.
bool ColumnVisible(const TableMetrics& m, int column);
// Anchor x of a column's heading and of its cells (screen pixels, window coordinates).
int HeadingX(const TableMetrics& m, const ResultsLayout& layout, int column);
int CellX(const TableMetrics& m, const ResultsLayout& layout, int column);
// "Res" over the marker column and "Fin" over the finish flags, both centred.
int ResHeadingX(const TableMetrics& m, const ResultsLayout& layout);
int FinHeadingX(const TableMetrics& m, const ResultsLayout& layout);
int HeadingTextTop(const TableMetrics& m);

// --- Rows ---

// Top of the band of visible row i (0-based); i = R gives the bottom of the last row.
int RowLineY(const TableMetrics& m, const ResultsLayout& layout, int row);
// Top of the texts of visible row i, in the rows area and in the marker column.
int RowTextTop(const TableMetrics& m, const ResultsLayout& layout, int row);
int MarkerTextTop(const TableMetrics& m, const ResultsLayout& layout, int row);
int MarkerTextX(const TableMetrics& m, const ResultsLayout& layout);
int FinishFlagX(const TableMetrics& m, const ResultsLayout& layout);
// Height in pixels of each shaded band (marker cells, relief rows): area height / R; 0 when R = 0.
int RowBandHeight(const LayoutRect& area, int visibleRows);

// --- Grid lines ---

// The first heading separator (after "Res"), then k = 0..8: heading-left + X(P(k) + 40).
int HeadingFirstGridX(const TableMetrics& m, const ResultsLayout& layout);
int HeadingGridX(const TableMetrics& m, const ResultsLayout& layout, int column);
// Vertical lines of the rows area: rows-left + X(P(k)), k = -1..8 (k = -1 is rows-left).
int RowsGridX(const TableMetrics& m, const ResultsLayout& layout, int column);

// --- Fitting the rows ---

struct RowFit {
  int rowHeight;    // H: the tallest column font's text height × 1.2, in pixels
  int rowsThatFit;  // the most rows, up to 20, whose height fits the table
  int visibleRows;  // min(rows that fit, participant count)
};

// The font height of a font slot on this screen: (Z·size)/1600 pixels.
int FontHeight(int32_t size, int screenWidth);

// textHeights: the text-metric height (tmHeight) of the nine column fonts, made from slots 3 to
// 11 with their face, FontHeight, weight and italic.
RowFit FitVisibleRows(const int (&textHeights)[kColumnCount], int participantCount,
                      int screenWidth, int screenHeight);

// --- Column resizing and the pointer ---

// x of the right border of column k: Z/80 + 200 + Z/40 + Σ_{j<=k} (Z·w[j])/1600.
int ColumnBorderX(const TableMetrics& m, int column);
// The pointer is in the heading band's resize zone: strictly between V(123) and V(145).
bool InResizeZone(const TableMetrics& m, int y);
// The column whose right border is within 2 pixels of the pointer in the resize zone, or -1.
// Where borders meet (a column of width 0) the last one wins, so a hidden column can be
// dragged open again.
int ColumnBorderAt(const TableMetrics& m, int x, int y);
// The width after a drag: old width + (release x - press x) pixels, a negative result 5, above
// 999 999.
int32_t DraggedColumnWidth(int32_t oldWidth, int pressX, int releaseX);
// The visible row (0-based) under the pointer for the Ctrl+click: x strictly inside the marker
// column, y strictly inside the row's band. -1 when none.
int RowAtPointer(const TableMetrics& m, const ResultsLayout& layout, int x, int y);

// --- Colours ---

// Multiply then divide, rounded half away from zero; -1 when the divisor is 0 or the result
// does not fit, as the platform's MulDiv.
int MulDivRounded(int number, int numerator, int denominator);
// Line n (0..h-1) of a vertical gradient from top to bottom over h lines.
Colour GradientLineColour(Colour top, Colour bottom, int line, int lineCount);
// Line n of a marker cell d lines high: white fading to RGB(215, 215, 160).
Colour MarkerShadeColour(int line, int bandHeight);
// The marker column when the heading colours are equal.
constexpr Colour kMarkerFlatColour = MakeColour(255, 255, 200);
// The watermark: the table background darkened by 10 on each channel, never below 0.
Colour WatermarkColour(Colour background);

}  // namespace zarvo
