// How the main window shows the results table: the rectangle repainted for each part race control
// changes, the rows that fit and the results scroll bar, the scroll requests, the column borders
// dragged with the mouse and the row under a Ctrl+click.
#pragma once

#include <cstdint>

#include "display/results_layout.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "settings/display_settings.h"

namespace zarvo {

// The part of the window repainted when race control changes an area.
LayoutRect RaceAreaRect(RaceArea area, const ResultsLayout& layout);
// The table area is painted whole by the table painter, so it needs no erasing first; the clock
// texts, the seconds, the run caption and the event line are drawn over the window background.
bool RaceAreaNeedsErase(RaceArea area);

// The row height, the rows that fit and the scroll position of the table.
struct ResultsView {
  int rowHeight;        // H, height units
  int rowsThatFit;      // 0..20
  int visibleRows;      // min(rows that fit, participants)
  int firstVisibleRow;  // the scroll bar's position
  bool scrollBarShown;  // fewer rows fit than there are participants
  int scrollRange;      // participants - visible rows when shown, else 0
};

// After the rows were fitted again (a session or run loaded, the participants or the display
// settings changed): the first row is shown first, and the scroll bar only when the rows that fit
// are fewer than the participants.
void ApplyRowFit(ResultsView& view, const RowFit& fit, int participantCount);

// The geometry of the table on this screen with these live column widths.
TableMetrics MetricsOf(const ResultsView& view, int screenWidth, int screenHeight,
                       const int32_t (&liveWidths)[kColumnCount]);

enum class ScrollRequest { kLineUp, kLineDown, kPageUp, kPageDown, kThumbReleased, kOther };

// The scroll bar's new position: one row up or down within the range, the first or the last row
// for a page, the thumb where it was released; anything else keeps it.
int ScrolledPosition(ScrollRequest request, int position, int minimum, int maximum, int thumb);

// Column resizing in the heading band: a press within 2 pixels of a column's right border starts
// a drag; the release sets that column's width by the pixels moved, as long as the pointer is
// still in the band.
class ColumnResizer {
 public:
  // The pointer shows the west-east resize cursor: over a border in the band, or while dragging.
  bool WantsResizeCursor(const TableMetrics& m, int x, int y) const;
  // True when the press started a drag.
  bool Press(const TableMetrics& m, int x, int y);
  // Ends the drag. When the pointer is still strictly inside the band, the column's width becomes
  // old width + (x - press x), clamped to 5..999, in the live widths and in the display settings,
  // and true is returned (the table must be repainted).
  bool Release(const TableMetrics& m, int x, int y, int32_t (&liveWidths)[kColumnCount],
               DisplaySettings& settings);
  bool Dragging() const { return column_ >= 0; }
  // The pointer was lost (another window took the mouse): the drag ends without a change.
  void Cancel() { column_ = -1; }

 private:
  int column_ = -1;
  int pressX_ = 0;
};

// The slot (1..20) of the participant in the visible row under a Ctrl+click, or 0 when the
// pointer is not strictly inside the marker column over a shown row.
int SlotAtPointer(const TableMetrics& m, const ResultsLayout& layout, int firstVisibleRow,
                  const Race& race, int x, int y);

}  // namespace zarvo
