// The main window's view of the results table: which rectangle each race area repaints, when the
// scroll bar shows, how scroll requests move it, column resizing and the row under a Ctrl+click.
#include "app/results_view.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "text/fixed_text.h"

namespace zarvo {
namespace {

// A race of n drivers "D1".."Dn" in slots 1 to n, standings in slot order.
std::unique_ptr<Race> RaceOf(int n) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    char name[8];
    std::snprintf(name, sizeof name, "D%d", s + 1);
    SetText(race->slots[s].driverName, s < n ? name : kNoDriver);
  }
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  return race;
}

TableMetrics Metrics1600(int visibleRows) {
  return TableMetrics{1600, 900, {70, 290, 80, 165, 140, 140, 140, 140, 110}, 38, visibleRows};
}

TEST(RaceAreas, EachAreaRepaintsItsOwnRectangle) {
  const ResultsLayout l = ComputeResultsLayout(Metrics1600(12));
  auto same = [](const LayoutRect& a, const LayoutRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  };
  EXPECT_TRUE(same(RaceAreaRect(RaceArea::kTable, l), l.tableArea));
  EXPECT_TRUE(same(RaceAreaRect(RaceArea::kTitle, l), l.titleBand));
  EXPECT_TRUE(same(RaceAreaRect(RaceArea::kClock, l), l.clockStrip));
  EXPECT_TRUE(same(RaceAreaRect(RaceArea::kCountdown, l), l.secondsBox));
  EXPECT_TRUE(same(RaceAreaRect(RaceArea::kEventLine, l), l.eventLine));
}

TEST(RaceAreas, OnlyTheTableIsPaintedWholeWithoutErasing) {
  EXPECT_FALSE(RaceAreaNeedsErase(RaceArea::kTable));
  EXPECT_TRUE(RaceAreaNeedsErase(RaceArea::kClock));
  EXPECT_TRUE(RaceAreaNeedsErase(RaceArea::kCountdown));
  EXPECT_TRUE(RaceAreaNeedsErase(RaceArea::kTitle));
  EXPECT_TRUE(RaceAreaNeedsErase(RaceArea::kEventLine));
}

TEST(ResultsScrollBar, ShownWithTheHiddenRowsAsRangeWhenFewerRowsFitThanParticipants) {
  ResultsView view = {};
  view.firstVisibleRow = 5;
  ApplyRowFit(view, RowFit{38, 12, 12}, 20);
  EXPECT_TRUE(view.scrollBarShown);
  EXPECT_EQ(view.scrollRange, 8);
  EXPECT_EQ(view.firstVisibleRow, 0);
  EXPECT_EQ(view.visibleRows, 12);
  EXPECT_EQ(view.rowHeight, 38);
}

TEST(ResultsScrollBar, HiddenWhenEveryParticipantHasARow) {
  ResultsView view = {};
  ApplyRowFit(view, RowFit{38, 12, 12}, 12);
  EXPECT_FALSE(view.scrollBarShown);
  EXPECT_EQ(view.scrollRange, 0);
  ApplyRowFit(view, RowFit{38, 12, 0}, 0);
  EXPECT_FALSE(view.scrollBarShown);
}

TEST(ResultsScrollBar, LinesStopAtTheEndsAndPagesJumpToThem) {
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kLineUp, 0, 0, 8, 0), 0);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kLineUp, 3, 0, 8, 0), 2);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kLineDown, 8, 0, 8, 0), 8);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kLineDown, 3, 0, 8, 0), 4);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kPageDown, 3, 0, 8, 0), 8);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kPageUp, 3, 0, 8, 0), 0);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kThumbReleased, 3, 0, 8, 6), 6);
  EXPECT_EQ(ScrolledPosition(ScrollRequest::kOther, 3, 0, 8, 6), 3);
}

// The right border of column k is Z/80 + 200 + Z/40 + the widths up to k: 260 + 70 = 330 for Lane.
TEST(ColumnResizing, APressOnABorderDragsThatColumnByThePixelsMoved) {
  TableMetrics m = Metrics1600(12);
  DisplaySettings settings = {};
  std::memcpy(settings.columnWidths, m.columnWidths, sizeof settings.columnWidths);
  int32_t live[kColumnCount];
  std::memcpy(live, m.columnWidths, sizeof live);
  ColumnResizer resizer;
  const int y = 130;  // inside the heading band (123..145 at 900 pixels)
  EXPECT_TRUE(resizer.WantsResizeCursor(m, 331, y));
  EXPECT_FALSE(resizer.WantsResizeCursor(m, 340, y));
  ASSERT_TRUE(resizer.Press(m, 331, y));
  EXPECT_TRUE(resizer.WantsResizeCursor(m, 500, 400)) << "the cursor stays while dragging";
  EXPECT_TRUE(resizer.Release(m, 351, y, live, settings));
  EXPECT_EQ(live[0], 90);
  EXPECT_EQ(settings.columnWidths[0], 90) << "saved with the display settings";
  EXPECT_EQ(live[1], 290);
  EXPECT_FALSE(resizer.Dragging());
}

TEST(ColumnResizing, AReleaseOutsideTheHeadingBandChangesNothing) {
  TableMetrics m = Metrics1600(12);
  DisplaySettings settings = {};
  int32_t live[kColumnCount];
  std::memcpy(live, m.columnWidths, sizeof live);
  ColumnResizer resizer;
  ASSERT_TRUE(resizer.Press(m, 330, 130));
  EXPECT_FALSE(resizer.Release(m, 400, 145, live, settings));  // the band's edge is outside
  EXPECT_EQ(live[0], 70);
  EXPECT_FALSE(resizer.Dragging());
}

TEST(ColumnResizing, APressAwayFromBordersStartsNoDragAndTheReleaseIsIgnored) {
  TableMetrics m = Metrics1600(12);
  DisplaySettings settings = {};
  int32_t live[kColumnCount];
  std::memcpy(live, m.columnWidths, sizeof live);
  ColumnResizer resizer;
  EXPECT_FALSE(resizer.Press(m, 300, 130));
  EXPECT_FALSE(resizer.Release(m, 350, 130, live, settings));
  EXPECT_EQ(live[0], 70);
}

TEST(ColumnResizing, DraggingFarLeftGives5AndFarRightGives999) {
  TableMetrics m = Metrics1600(12);
  DisplaySettings settings = {};
  int32_t live[kColumnCount];
  std::memcpy(live, m.columnWidths, sizeof live);
  ColumnResizer resizer;
  ASSERT_TRUE(resizer.Press(m, 330, 130));
  ASSERT_TRUE(resizer.Release(m, 250, 130, live, settings));  // 70 - 80 < 0
  EXPECT_EQ(live[0], 5);
  m.columnWidths[0] = 5;
  const int border = ColumnBorderX(m, 0);
  ASSERT_TRUE(resizer.Press(m, border, 130));
  ASSERT_TRUE(resizer.Release(m, border + 1500, 130, live, settings));
  EXPECT_EQ(live[0], 999);
  EXPECT_EQ(settings.columnWidths[0], 999);
}

TEST(CtrlClick, TheRowUnderThePointerGivesTheSlotShownThereAfterScrolling) {
  auto owned = RaceOf(20);
  Race& race = *owned;
  // Slot 20 leads, the others follow in slot order.
  StandingsEntry leader = race.standings[19];
  for (int i = 19; i > 0; --i) race.standings[i] = race.standings[i - 1];
  race.standings[0] = leader;
  const TableMetrics m = Metrics1600(12);
  const ResultsLayout l = ComputeResultsLayout(m);
  const int x = l.markerColumn.left + 5;
  const int firstRowMiddle = (RowLineY(m, l, 0) + RowLineY(m, l, 1)) / 2;
  const int thirdRowMiddle = (RowLineY(m, l, 2) + RowLineY(m, l, 3)) / 2;
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, x, firstRowMiddle), 20);
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, x, thirdRowMiddle), 2);
  EXPECT_EQ(SlotAtPointer(m, l, 8, race, x, firstRowMiddle), 8);
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, l.markerColumn.right, firstRowMiddle), 0);
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, x, RowLineY(m, l, 1)), 0) << "on the grid line";
}

TEST(CtrlClick, NoSlotBelowTheLastParticipant) {
  auto owned = RaceOf(3);
  const Race& race = *owned;
  const TableMetrics m = Metrics1600(3);
  const ResultsLayout l = ComputeResultsLayout(m);
  const int x = l.markerColumn.left + 5;
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, x, (RowLineY(m, l, 2) + RowLineY(m, l, 3)) / 2), 3);
  EXPECT_EQ(SlotAtPointer(m, l, 0, race, x, RowLineY(m, l, 3) + 5), 0);
}

}  // namespace
}  // namespace zarvo
