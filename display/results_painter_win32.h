// Painting the live results table on a device context (the main window's or a printer's), and
// measuring its column fonts to fit the rows. All arithmetic comes from display/results_layout.h.
#pragma once

#include <windows.h>

#include "display/results_layout.h"
#include "race/race_model.h"
#include "settings/display_settings.h"

namespace zarvo {

// Bitmaps of the table, relative to the program folder (the current directory).
constexpr char kFinishFlagBitmap[] = "images/drapeauArrivee.bmp";
constexpr char kLogoBitmap[] = "images/logo.bmp";

// Everything one paint reads; nothing is written.
struct ResultsPaintInputs {
  const DisplaySettings* settings;
  TableMetrics metrics;      // screen size, live column widths, row height, visible-row count
  int firstVisibleRow;       // the results scroll bar's position
  const ResultsRow* rows;    // the kSlotCount results rows, in classification order
  const char* runCaption;    // " %s - Run%d "
  bool radioConflict;        // shows the radio-conflict text on the event line
  const char* durationText;  // race length
  const char* elapsedText;
  const char* remainingText;
  const char* secondsText;   // countdown seconds, "%ds"
};

// Draws the logo, the table, its headings and rows, the finish flags, the countdown seconds, the
// clock strip and the event line, in that order. Every GDI object created is released and the
// device context is left as it was given.
void PaintResultsTable(HDC dc, const ResultsPaintInputs& in);

// The text-metric heights of the nine column fonts (slots 3 to 11, face, height, weight, italic).
void MeasureColumnTextHeights(HDC dc, const DisplaySettings& settings, int screenWidth,
                              int (&heights)[kColumnCount]);

// Measures the column fonts on the window's device context and fits the rows.
RowFit FitVisibleRows(HWND window, const DisplaySettings& settings, int participantCount,
                      int screenWidth, int screenHeight);

inline RECT ToRect(const LayoutRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace zarvo
