// The main window's view of the results table: repainted areas, rows, scrolling and resizing.
#include "app/results_view.h"

#include <algorithm>

namespace zarvo {

LayoutRect RaceAreaRect(RaceArea area, const ResultsLayout& layout) {
  switch (area) {
    case RaceArea::kTable:
      return layout.tableArea;
    case RaceArea::kTitle:
      return layout.titleBand;
    case RaceArea::kClock:
      return layout.clockStrip;
    case RaceArea::kCountdown:
      return layout.secondsBox;
    case RaceArea::kEventLine:
      return layout.eventLine;
  }
  return layout.tableArea;
}

bool RaceAreaNeedsErase(RaceArea area) {
  return area != RaceArea::kTable;
}

void ApplyRowFit(ResultsView& view, const RowFit& fit, int participantCount) {
  view.rowHeight = fit.rowHeight;
  view.rowsThatFit = fit.rowsThatFit;
  view.visibleRows = fit.visibleRows;
  view.firstVisibleRow = 0;
  view.scrollBarShown = fit.rowsThatFit < participantCount;
  view.scrollRange = view.scrollBarShown ? participantCount - fit.visibleRows : 0;
}

TableMetrics MetricsOf(const ResultsView& view, int screenWidth, int screenHeight,
                       const int32_t (&liveWidths)[kColumnCount]) {
  TableMetrics m = {};
  m.screenWidth = screenWidth;
  m.screenHeight = screenHeight;
  std::copy(std::begin(liveWidths), std::end(liveWidths), m.columnWidths);
  m.rowHeight = view.rowHeight;
  m.visibleRows = view.visibleRows;
  return m;
}

int ScrolledPosition(ScrollRequest request, int position, int minimum, int maximum, int thumb) {
  switch (request) {
    case ScrollRequest::kLineUp:
      return position > minimum ? position - 1 : position;
    case ScrollRequest::kLineDown:
      return position < maximum ? position + 1 : position;
    case ScrollRequest::kPageUp:
      return minimum;
    case ScrollRequest::kPageDown:
      return maximum;
    case ScrollRequest::kThumbReleased:
      return thumb;
    case ScrollRequest::kOther:
      break;
  }
  return position;
}

bool ColumnResizer::WantsResizeCursor(const TableMetrics& m, int x, int y) const {
  return Dragging() || ColumnBorderAt(m, x, y) >= 0;
}

bool ColumnResizer::Press(const TableMetrics& m, int x, int y) {
  column_ = ColumnBorderAt(m, x, y);
  pressX_ = x;
  return Dragging();
}

bool ColumnResizer::Release(const TableMetrics& m, int x, int y,
                            int32_t (&liveWidths)[kColumnCount], DisplaySettings& settings) {
  const int column = column_;
  column_ = -1;
  if (column < 0 || !InResizeZone(m, y)) return false;
  const int32_t width = DraggedColumnWidth(liveWidths[column], pressX_, x);
  liveWidths[column] = width;
  settings.columnWidths[column] = width;
  return true;
}

int SlotAtPointer(const TableMetrics& m, const ResultsLayout& layout, int firstVisibleRow,
                  const Race& race, int x, int y) {
  const int row = RowAtPointer(m, layout, x, y);
  if (row < 0) return 0;
  const int index = firstVisibleRow + row;
  if (index < 0 || index >= kSlotCount || index >= race.participantCount) return 0;
  return race.standings[index].slotNumber;
}

}  // namespace zarvo
