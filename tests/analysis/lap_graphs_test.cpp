// The three views as drawing lists: the furniture and the strip, the summary table, the
// histogram's levels and bars, the curve's mapping, labels and breaks, the hover, and the paper
// form moved and restyled onto the page.
#include "analysis/lap_graphs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/analysis/test_runs.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::RunOfLaps;

constexpr int kAxisY = 325;  // B - 20 of the screen's plot area
constexpr int kX0 = 378;     // L + 48

struct Painted {
  std::unique_ptr<RunLaps> run;
  std::unique_ptr<DrawList> list = std::make_unique<DrawList>();
  std::unique_ptr<ViewNumbers> numbers = std::make_unique<ViewNumbers>();
  GraphInputs in = {};
};

Painted Paint(GraphView view, const std::vector<int32_t>& laps, int s, int e,
              GraphForm form = GraphForm::kScreen, int stripOffset = 0,
              CurveHover hover = CurveHover{}) {
  Painted p;
  p.run = RunOfLaps(laps);
  p.list->Clear();
  p.in.laps = p.run.get();
  p.in.first = s;
  p.in.last = e;
  p.in.headingLine = " Training - Run1  : Lucas MARTIN";
  p.in.trackLine = " Track : Mornay   (Start 2026/12/07 14:03:10 - Duration 0:05:00) ";
  p.in.stripOffset = stripOffset;
  p.in.hover = hover;
  DrawView(view, p.in, form, *p.numbers, *p.list);
  return p;
}

std::vector<const DrawOp*> Ops(const DrawList& list, DrawKind kind) {
  std::vector<const DrawOp*> found;
  for (int i = 0; i < list.count; ++i) {
    if (list.ops[i].kind == kind) found.push_back(&list.ops[i]);
  }
  return found;
}

const DrawOp* FindText(const DrawList& list, const std::string& s) {
  for (const DrawOp* op : Ops(list, DrawKind::kText)) {
    if (list.TextOf(*op) == s) return op;
  }
  return nullptr;
}

// Texts written at a given anchor row, left to right in drawing order.
std::vector<std::string> TextsAtY(const DrawList& list, int y) {
  std::vector<std::string> texts;
  for (const DrawOp* op : Ops(list, DrawKind::kText)) {
    if (op->y1 == y) texts.emplace_back(list.TextOf(*op));
  }
  return texts;
}

std::vector<const DrawOp*> LinesOf(const DrawList& list, Colour colour, int width = 1) {
  std::vector<const DrawOp*> found;
  for (const DrawOp* op : Ops(list, DrawKind::kLine)) {
    if (op->colour == colour && op->penWidth == width) found.push_back(op);
  }
  return found;
}

// A text s anchored at (x, y), with its alignment and font height (weight 400).
void ExpectText(const DrawList& list, const std::string& s, int x, int y, TextAlign align,
                int height) {
  std::string seen;
  for (const DrawOp* op : Ops(list, DrawKind::kText)) {
    if (list.TextOf(*op) != s) continue;
    if (op->x1 == x && op->y1 == y) {
      EXPECT_EQ(op->align, align) << s;
      EXPECT_EQ(op->font.height, height) << s;
      EXPECT_EQ(op->font.weight, 400) << s;
      return;
    }
    seen += " (" + std::to_string(op->x1) + ", " + std::to_string(op->y1) + ")";
  }
  ADD_FAILURE() << "\"" << s << "\" not at (" << x << ", " << y << "); found at:" << seen;
}

std::string Lap(int k) {
  char text[16];
  std::snprintf(text, sizeof text, TXT_GRAPH_STRIP_LAP, k);
  return text;
}

TEST(Furniture, BackgroundsStripRowsAndHeadingLines) {
  const Painted p = Paint(GraphView::kHisto, {20400, 20500}, 1, 2);
  const auto fills = Ops(*p.list, DrawKind::kFill);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->y1, 67);  // band
  EXPECT_EQ(fills[0]->y2, 105);
  EXPECT_EQ(fills[0]->fill, kGraphBackground);
  EXPECT_EQ(fills[1]->y1, 370);  // strip
  EXPECT_EQ(fills[1]->y2, 438);
  EXPECT_EQ(fills[2]->y1, 147);  // plot of a graph
  EXPECT_EQ(fills[2]->x2, 950);
  EXPECT_EQ(fills[2]->fill, kGraphPlotBackground);
  const Painted data = Paint(GraphView::kData, {20400}, 1, 1);
  EXPECT_EQ(Ops(*data.list, DrawKind::kFill)[2]->fill, kGraphBackground);

  const auto rects = Ops(*p.list, DrawKind::kRectangle);
  ASSERT_GE(rects.size(), 2u);
  EXPECT_EQ(rects[0]->x1, 360);
  EXPECT_EQ(rects[0]->y1, 380);
  EXPECT_EQ(rects[0]->x2, 920);
  EXPECT_EQ(rects[0]->y2, 405);
  EXPECT_EQ(rects[0]->fill, kGraphHeaderRow);
  EXPECT_EQ(rects[1]->y1, 405);
  EXPECT_EQ(rects[1]->y2, 430);
  EXPECT_EQ(rects[1]->fill, kGraphBodyRow);
  std::vector<int> columns;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kLine)) {
    if (op->y1 == 380 && op->y2 == 430) columns.push_back(op->x1);
  }
  EXPECT_EQ(columns, (std::vector<int>{430, 500, 570, 640, 710, 780, 850}));

  const DrawOp* heading = FindText(*p.list, p.in.headingLine);
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->x1, 330);
  EXPECT_EQ(heading->y1, 10);
  EXPECT_EQ(heading->font.height, 25);
  EXPECT_TRUE(heading->opaque);
  EXPECT_EQ(heading->fill, kGraphHeaderRow);
  ExpectText(*p.list, p.in.trackLine, 330, 40, TextAlign::kLeft, 16);
}

TEST(Strip, FiveLapsLeaveTwoEmptyColumns) {
  const Painted p = Paint(GraphView::kCurve, {20400, 20500, 20600, 20700, 20800}, 1, 5);
  EXPECT_EQ(TextsAtY(*p.list, 385),
            (std::vector<std::string>{TXT_GRAPH_LAPS, Lap(1), Lap(2), Lap(3), Lap(4), Lap(5)}));
  EXPECT_EQ(TextsAtY(*p.list, 410), (std::vector<std::string>{TXT_GRAPH_TIME, "20.400", "20.500",
                                                              "20.600", "20.700", "20.800"}));
  ExpectText(*p.list, Lap(5), 775, 385, TextAlign::kRight, 16);
  ExpectText(*p.list, "20.800", 775, 410, TextAlign::kRight, 16);
  ExpectText(*p.list, TXT_GRAPH_LAPS, 396, 385, TextAlign::kRight, 16);
  ExpectText(*p.list, TXT_GRAPH_TIME, 404, 410, TextAlign::kRight, 16);
}

TEST(Strip, ShowsSevenLapsFromItsOffsetAndNothingWithoutLaps) {
  const Painted p =
      Paint(GraphView::kData, testing::PracticeLaps(12), 1, 12, GraphForm::kScreen, 5);
  const auto row = TextsAtY(*p.list, 385);
  ASSERT_EQ(row.size(), 8u);
  EXPECT_EQ(row[1], Lap(6));
  EXPECT_EQ(row[7], Lap(12));
  // "Data" writes its captions left-aligned.
  ExpectText(*p.list, TXT_GRAPH_LAPS, 365, 385, TextAlign::kLeft, 16);
  ExpectText(*p.list, TXT_GRAPH_TIME, 365, 410, TextAlign::kLeft, 16);

  const Painted none = Paint(GraphView::kData, {}, 1, 0);
  EXPECT_TRUE(TextsAtY(*none.list, 385).empty());
  EXPECT_TRUE(TextsAtY(*none.list, 410).empty());
}

TEST(DataView, SummaryCaptionsValuesAndTableAtTheirPlaces) {
  const Painted p = Paint(GraphView::kData, {20400, 20400, 21000}, 1, 3);
  const DrawList& l = *p.list;
  ExpectText(l, TXT_SUMMARY_BEST_LAP, 460, 197, TextAlign::kRight, 20);
  ExpectText(l, TXT_SUMMARY_WORST_LAP, 460, 222, TextAlign::kRight, 20);
  ExpectText(l, TXT_SUMMARY_AVERAGE_LAP, 460, 257, TextAlign::kRight, 20);
  ExpectText(l, "20.400", 550, 197, TextAlign::kRight, 20);
  ExpectText(l, "21.000", 550, 222, TextAlign::kRight, 20);
  ExpectText(l, TXT_SUMMARY_DEVIATION, 460, 287, TextAlign::kRight, 16);
#if defined(ZARVO_EDITION_FR)
  ExpectText(l, "20.6000", 550, 257, TextAlign::kRight, 20);
  ExpectText(l, "+/- 0.2828", 470, 287, TextAlign::kLeft, 16);
  ExpectText(l, "(T 1)", 555, 197, TextAlign::kLeft, 14);
  ExpectText(l, "(T 3)", 555, 222, TextAlign::kLeft, 14);
#else
  ExpectText(l, "20.600", 550, 257, TextAlign::kRight, 20);
  ExpectText(l, "+/- 0.282", 470, 287, TextAlign::kLeft, 16);
  ExpectText(l, "(L 1)", 555, 197, TextAlign::kLeft, 14);
  ExpectText(l, "(L 3)", 555, 222, TextAlign::kLeft, 14);
#endif
  ExpectText(l, TXT_SUMMARY_DEVIATION_NOTE, 430, 307, TextAlign::kLeft, 14);

  ExpectText(l, TXT_SUMMARY_LAP_TIME_COLUMN, 630, 152, TextAlign::kLeft, 16);
  ExpectText(l, TXT_SUMMARY_SHARE_COLUMN, 905, 152, TextAlign::kRight, 16);
  ExpectText(l, "20.400 < t < 20.500", 630, 172, TextAlign::kLeft, 16);
  ExpectText(l, "25.400 < t ", 630, 325, TextAlign::kLeft, 16);
  ExpectText(l, "66.6 %", 905, 172, TextAlign::kRight, 16);
  ExpectText(l, "33.3 %", 905, 223, TextAlign::kRight, 16);
  EXPECT_EQ(TextsAtY(l, 172), (std::vector<std::string>{"20.400 < t < 20.500", "2", "66.6 %"}));
  EXPECT_EQ(TextsAtY(l, 223), (std::vector<std::string>{"20.900 < t < 21.400", "1", "33.3 %"}));

  const auto rects = Ops(l, DrawKind::kRectangle);
  ASSERT_EQ(rects.size(), 4u);  // two strip rows, the table's header and body
  EXPECT_EQ(rects[2]->x1, 600);
  EXPECT_EQ(rects[2]->y1, 150);
  EXPECT_EQ(rects[2]->x2, 930);
  EXPECT_EQ(rects[2]->y2, 170);
  EXPECT_EQ(rects[2]->fill, kGraphHeaderRow);
  EXPECT_EQ(rects[3]->y1, 170);
  EXPECT_EQ(rects[3]->y2, 343);
  EXPECT_EQ(rects[3]->fill, kGraphBodyRow);
  std::vector<int> rows;
  for (const DrawOp* op : LinesOf(l, kSummaryRowLine)) {
    EXPECT_EQ(op->x1, 601);
    EXPECT_EQ(op->x2, 929);
    rows.push_back(op->y1);
  }
  EXPECT_EQ(rows, (std::vector<int>{188, 205, 222, 239, 256, 273, 290, 307, 324}));
  int columns = 0;
  for (const DrawOp* op : LinesOf(l, kBlack)) {
    if (op->y1 == 150 && op->y2 == 343 && (op->x1 == 790 || op->x1 == 840)) ++columns;
  }
  EXPECT_EQ(columns, 2);
}

TEST(DataView, OneLapFillsItsBandAndAnEmptyRangeShowsTheFrameOnly) {
  const Painted one = Paint(GraphView::kData, {20400, 23456}, 2, 2);
  EXPECT_EQ(TextsAtY(*one.list, 172),
            (std::vector<std::string>{"23.400 < t < 23.500", "1", "100.0 %"}));
  EXPECT_EQ(TextsAtY(*one.list, 189),
            (std::vector<std::string>{"23.500 < t < 23.600", "0", "0.0 %"}));

  const Painted empty = Paint(GraphView::kData, testing::PracticeLaps(40), 30, 10);
  EXPECT_NE(FindText(*empty.list, TXT_SUMMARY_BEST_LAP), nullptr);
  EXPECT_NE(FindText(*empty.list, TXT_SUMMARY_LAP_TIME_COLUMN), nullptr);
  EXPECT_TRUE(TextsAtY(*empty.list, 172).empty());
  EXPECT_EQ(TextsAtY(*empty.list, 197), std::vector<std::string>{TXT_SUMMARY_BEST_LAP});
  EXPECT_EQ(LinesOf(*empty.list, kSummaryRowLine).size(), 9u);
}

// Seven laps in one bin and three in another: the largest count is 7.
std::vector<int32_t> SevenAndThree() {
  std::vector<int32_t> laps(7, 20450);
  laps.insert(laps.end(), 3, 21050);
  return laps;
}

TEST(HistoView, LargestCountSevenGivesSevenLevelsLabelledOneToSeven) {
  const Painted p = Paint(GraphView::kHisto, SevenAndThree(), 1, 10);
  EXPECT_EQ(p.numbers->heightScale, 7);
  const auto grid = LinesOf(*p.list, kHistoGridLine);
  ASSERT_EQ(grid.size(), 7u);
  for (int k = 1; k <= 7; ++k) {
    const int y = kAxisY - 160 * k / 7;
    EXPECT_EQ(grid[k - 1]->y1, y);
    EXPECT_EQ(grid[k - 1]->x1, 361);
    EXPECT_EQ(grid[k - 1]->x2, 930);
    ExpectText(*p.list, std::to_string(k), 355, y - 5, TextAlign::kRight, 14);
  }
  // No half ticks up to 10 levels: the only short marks at x = 358 are the seven ticks.
  int halfTicks = 0;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) halfTicks += op->x1 == 358;
  EXPECT_EQ(halfTicks, 0);

  std::vector<const DrawOp*> bars;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kRectangle)) {
    if (op->fill == kHistoBar) bars.push_back(op);
  }
  ASSERT_EQ(bars.size(), 40u);
  EXPECT_EQ(bars[2]->x1, kX0 + 28);
  EXPECT_EQ(bars[2]->x2, kX0 + 41);
  EXPECT_EQ(bars[2]->y1, kAxisY - 160);
  EXPECT_EQ(bars[2]->y2, 326);
  EXPECT_EQ(bars[5]->y1, kAxisY - 160 * 3 / 7);
  EXPECT_EQ(bars[0]->y1, kAxisY);  // an empty bin is a flat outline
  EXPECT_EQ(bars[0]->colour, kBlack);
}

TEST(HistoView, LargestCount37GivesFiveLevelsOfEight) {
  std::vector<int32_t> laps(37, 20450);
  laps.insert(laps.end(), 5, 22000);
  const Painted p = Paint(GraphView::kHisto, laps, 1, 42);
  EXPECT_EQ(p.numbers->heightScale, 40);
  const char* labels[] = {"8", "16", "24", "32", "40"};
  for (int k = 1; k <= 5; ++k) {
    ExpectText(*p.list, labels[k - 1], 355, kAxisY - 5 - 32 * k, TextAlign::kRight, 14);
  }
  std::vector<int> halfTicks;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) {
    if (op->x1 == 358 && op->x2 == 360) halfTicks.push_back(op->y1);
  }
  EXPECT_EQ(halfTicks, (std::vector<int>{309, 277, 245, 213, 181}));
  EXPECT_EQ(LinesOf(*p.list, kHistoGridLine).size(), 5u);
}

TEST(HistoView, AxisTicksLabelsAndAverage) {
  const Painted p = Paint(GraphView::kHisto, SevenAndThree(), 1, 10);
  int small = 0, long_ = 0;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) {
    if (op->y1 != kAxisY) continue;
    if (op->y2 == kAxisY + 2) ++small;
    if (op->y2 == kAxisY + 7) ++long_;
  }
  EXPECT_EQ(small, 80);
  EXPECT_EQ(long_, 16);
  ExpectText(*p.list, "20.0", kX0 + 10, 332, TextAlign::kRight, 14);
  ExpectText(*p.list, "27.5", kX0 + 10 + 35 * 15, 332, TextAlign::kRight, 14);
  ExpectText(*p.list, TXT_GRAPH_LAPS, 375, 147, TextAlign::kRight, 14);
  ExpectText(*p.list, TXT_GRAPH_TIME, 950, 326, TextAlign::kRight, 14);
  // Average 20 630: xa = 378 + 630 * 35 / 500 = 422.
  const auto average = LinesOf(*p.list, kHistoAverageLine);
  ASSERT_EQ(average.size(), 1u);
  EXPECT_EQ(average[0]->x1, 422);
  EXPECT_EQ(average[0]->y1, 157);
  EXPECT_EQ(average[0]->y2, kAxisY);
  ExpectText(*p.list, TXT_GRAPH_AVERAGE, 419, 147, TextAlign::kRight, 14);
  ExpectText(*p.list, "20.630", 424, 147, TextAlign::kLeft, 14);
}

TEST(HistoView, EmptyRangeDrawsTheAxesOnly) {
  const Painted p = Paint(GraphView::kHisto, testing::PracticeLaps(40), 30, 10);
  EXPECT_EQ(p.numbers->heightScale, 0);
  int plotLines = 0;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kLine)) plotLines += op->y1 < 370;
  EXPECT_EQ(plotLines, 2);
  EXPECT_EQ(Ops(*p.list, DrawKind::kRectangle).size(), 2u);  // the strip rows
}

// A lap of hours puts the average far past the axis: it is marked at the axis' end, with its value.
TEST(HistoView, AnAverageBeyondTheAxisIsMarkedAtItsEnd) {
  const Painted far = Paint(GraphView::kHisto, {20000, 20000, kCurveBreakLap}, 1, 3);
  const auto marker = LinesOf(*far.list, kHistoAverageLine);
  ASSERT_EQ(marker.size(), 1u);
  EXPECT_EQ(marker[0]->x1, 950 - 10);
  EXPECT_EQ(marker[0]->x2, 950 - 10);
  ExpectText(*far.list, TXT_GRAPH_AVERAGE, 937, 147, TextAlign::kRight, 14);
  const DrawOp* value = FindText(*far.list, "4213.333");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->x1, 942);
}

TEST(CurveView, MappingGridAndAverage) {
  const Painted p = Paint(GraphView::kCurve, {20400, 20400, 21000}, 1, 3);
  const CurveScale& c = p.numbers->curveScale;
  const GraphRect plot = PlotArea(GraphForm::kScreen);
  EXPECT_EQ(CurvePointY(plot, c, 20000), kAxisY - 32);  // low on the first grid line
  EXPECT_EQ(CurvePointY(plot, c, 22000), kAxisY - 32 - 128);
  EXPECT_EQ(CurvePointY(plot, c, 20400), 268);
  const auto grid = LinesOf(*p.list, kCurveGridLine);
  ASSERT_EQ(grid.size(), 5u);
  EXPECT_EQ(grid[0]->y1, 293);
  EXPECT_EQ(grid[4]->y1, 165);
  EXPECT_EQ(grid[0]->x1, 371);
  EXPECT_EQ(grid[0]->x2, 930);
  const auto curve = LinesOf(*p.list, kCurveLine, 2);
  ASSERT_EQ(curve.size(), 2u);
  EXPECT_EQ(curve[0]->x1, kX0);
  EXPECT_EQ(curve[0]->y1, 268);
  EXPECT_EQ(curve[0]->x2, kX0 + 186);
  EXPECT_EQ(curve[1]->x2, kX0 + 373);
  EXPECT_EQ(curve[1]->y2, CurvePointY(plot, c, 21000));
  // y labels of the five levels, half a second apart, from low.
  ExpectText(*p.list, "20.0", 365, 318 - 32, TextAlign::kRight, 14);
  ExpectText(*p.list, "22.0", 365, 318 - 160, TextAlign::kRight, 14);
  const int ya = CurvePointY(plot, c, 20600);
  ExpectText(*p.list, TXT_GRAPH_AVERAGE, 940, ya - 35, TextAlign::kRight, 14);
  ExpectText(*p.list, "20.600", 940, ya - 20, TextAlign::kRight, 14);
  bool averageLine = false;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) {
    averageLine |= op->y1 == ya && op->y2 == ya && op->x1 == 371 && op->x2 == 930;
  }
  EXPECT_TRUE(averageLine);
  ExpectText(*p.list, TXT_GRAPH_TIME, 385, 147, TextAlign::kRight, 14);
  ExpectText(*p.list, TXT_GRAPH_LAPS, 950, 329, TextAlign::kRight, 14);
}

TEST(CurveView, LapLabelsEveryLapUpTo19AndEveryFifthBeyond) {
  const Painted twelve = Paint(GraphView::kCurve, testing::PracticeLaps(12), 1, 12);
  std::vector<std::string> expected;
  for (int k = 1; k <= 12; ++k) expected.push_back(std::to_string(k));
  EXPECT_EQ(TextsAtY(*twelve.list, 332), expected);
  const DrawOp* last = FindText(*twelve.list, "12");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->x1, kX0 + 560 * 11 / 12);
  EXPECT_EQ(last->align, TextAlign::kCentre);

  const Painted many = Paint(GraphView::kCurve, testing::PracticeLaps(40), 3, 27);
  EXPECT_EQ(TextsAtY(*many.list, 332), (std::vector<std::string>{"3", "8", "13", "18", "23"}));
  int ticks = 0;
  for (const DrawOp* op : LinesOf(*many.list, kBlack)) {
    ticks += op->y1 == kAxisY && op->y2 == kAxisY + 7;
  }
  EXPECT_EQ(ticks, 25);
}

TEST(CurveView, ALapOfThreeAndAHalfHoursRemovesExactlyItsTwoSegments) {
  std::vector<int32_t> laps = testing::PracticeLaps(10);
  laps[4] = kCurveBreakLap;  // lap 5
  const Painted p = Paint(GraphView::kCurve, laps, 1, 10);
  const auto curve = LinesOf(*p.list, kCurveLine, 2);
  ASSERT_EQ(curve.size(), 7u);
  const GraphRect plot = PlotArea(GraphForm::kScreen);
  for (const DrawOp* op : curve) {
    EXPECT_NE(op->x2, CurvePointX(plot, 4, 10));  // no segment ends at lap 5
    EXPECT_NE(op->x1, CurvePointX(plot, 4, 10));  // nor starts there
  }
  EXPECT_EQ(LinesOf(*p.list, kCurveGridLine).size(), 21u);
  // Its many steps are labelled at levels 1 + m b, b = q / 5, while m b < q.
  const int q = p.numbers->curveScale.steps;
  EXPECT_GT(q, 25000);
  int labels = 0;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kText)) labels += op->x1 == 365;
  EXPECT_EQ(labels, (q - 1) / (q / 5) + 1);
  EXPECT_GE(labels, 5);
  EXPECT_LE(labels, 6);
}

TEST(CurveView, EmptyRangeDrawsTheAxesOnly) {
  const Painted p = Paint(GraphView::kCurve, testing::PracticeLaps(40), 30, 10);
  int plotLines = 0;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kLine)) plotLines += op->y1 < 370;
  EXPECT_EQ(plotLines, 2);
  EXPECT_TRUE(TextsAtY(*p.list, 332).empty());
  // One lap: a tick and a label, no segment.
  const Painted one = Paint(GraphView::kCurve, {20400}, 1, 1);
  EXPECT_TRUE(LinesOf(*one.list, kCurveLine, 2).empty());
  EXPECT_EQ(TextsAtY(*one.list, 332), std::vector<std::string>{"1"});
}

TEST(CurveHoverTest, BeginsNearAPointStaysCloseAndEnds) {
  auto run = RunOfLaps({20400, 20400, 21000});
  CurveWindow w = {};
  MakeCurveWindow(*run, 1, 3, w);
  const CurveScale c = MakeCurveScale(w);
  CurveHover h = {};
  // Point 1 is at (564, 268).
  EXPECT_FALSE(TrackCurveHover(h, 564, 272, *run, 1, w, c));
  EXPECT_FALSE(h.active);
  EXPECT_TRUE(TrackCurveHover(h, 565, 271, *run, 1, w, c));
  EXPECT_TRUE(h.active);
  EXPECT_EQ(h.index, 1);
  EXPECT_FALSE(TrackCurveHover(h, 566, 272, *run, 1, w, c));
  EXPECT_TRUE(h.active);
  EXPECT_TRUE(TrackCurveHover(h, 567, 268, *run, 1, w, c));
  EXPECT_FALSE(h.active);

  auto parked = RunOfLaps({20400, kCurveBreakLap, 21000});
  MakeCurveWindow(*parked, 1, 3, w);
  const CurveScale pc = MakeCurveScale(w);
  const GraphRect plot = PlotArea(GraphForm::kScreen);
  h = {};
  EXPECT_FALSE(TrackCurveHover(h, CurvePointX(plot, 1, 3), CurvePointY(plot, pc, kCurveBreakLap),
                               *parked, 1, w, pc));
}

TEST(CurveHoverTest, HoveredPointShowsItsLapInAnEllipse) {
  const Painted p = Paint(GraphView::kCurve, {20400, 20400, 21000}, 1, 3, GraphForm::kScreen, 0,
                          CurveHover{true, 1, 565, 271});
  const auto ellipses = Ops(*p.list, DrawKind::kEllipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0]->x1, 520);
  EXPECT_EQ(ellipses[0]->y1, 241);
  EXPECT_EQ(ellipses[0]->x2, 610);
  EXPECT_EQ(ellipses[0]->y2, 271);
  EXPECT_EQ(ellipses[0]->fill, kWhite);
  char text[32];
  std::snprintf(text, sizeof text, "20.400" TXT_GRAPH_HOVER_LAP, 2);
  ExpectText(*p.list, text, 565, 248, TextAlign::kCentre, 14);
  // Near the plot's corner the ellipse is held inside it.
  const Painted corner = Paint(GraphView::kCurve, {20400, 20400, 21000}, 1, 3, GraphForm::kScreen,
                               0, CurveHover{true, 0, 340, 150});
  const auto held = Ops(*corner.list, DrawKind::kEllipse);
  ASSERT_EQ(held.size(), 1u);
  EXPECT_EQ(held[0]->x1, 330);
  EXPECT_EQ(held[0]->y2, 177);
}

TEST(PaperForm, MovedWithoutBackgroundsHeadingStripOrHover) {
  for (GraphView view : {GraphView::kData, GraphView::kHisto, GraphView::kCurve}) {
    const Painted p = Paint(view, {20400, 20400, 21000}, 1, 3, GraphForm::kPaper, 0,
                            CurveHover{true, 1, 565, 271});
    EXPECT_TRUE(Ops(*p.list, DrawKind::kFill).empty());
    EXPECT_TRUE(Ops(*p.list, DrawKind::kEllipse).empty());
    EXPECT_EQ(FindText(*p.list, p.in.headingLine), nullptr);
    EXPECT_EQ(FindText(*p.list, Lap(1)), nullptr);
    for (int i = 0; i < p.list->count; ++i) {
      EXPECT_GE(p.list->ops[i].y1, 290) << static_cast<int>(view);
      EXPECT_LE(p.list->ops[i].x1, 690) << static_cast<int>(view);
    }
  }
}

TEST(PaperForm, DataTableIsFramedAndRuledAt330And303) {
  const Painted p = Paint(GraphView::kData, {20400, 20400, 21000}, 1, 3, GraphForm::kPaper);
  const auto rects = Ops(*p.list, DrawKind::kRectangle);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_TRUE(rects[0]->hollow);
  EXPECT_EQ(rects[0]->x1, 330);
  EXPECT_EQ(rects[0]->y1, 303);
  EXPECT_EQ(rects[1]->x2, 660);
  EXPECT_EQ(rects[1]->y2, 496);
  EXPECT_EQ(LinesOf(*p.list, kPaperSummaryRowLine).size(), 9u);
  ExpectText(*p.list, TXT_SUMMARY_BEST_LAP, 190, 350, TextAlign::kRight, 19);
  ExpectText(*p.list, TXT_SUMMARY_DEVIATION, 190, 440, TextAlign::kRight, 15);
  ExpectText(*p.list, TXT_SUMMARY_DEVIATION_NOTE, 160, 460, TextAlign::kLeft, 13);
  ExpectText(*p.list, "20.400 < t < 20.500", 360, 325, TextAlign::kLeft, 15);
  // Both editions print the average and deviation as race times.
  ExpectText(*p.list, "20.600", 280, 410, TextAlign::kRight, 19);
  ExpectText(*p.list, "+/- 0.282", 200, 440, TextAlign::kLeft, 15);
}

TEST(PaperForm, HistogramAtOrigin108WithPrintColours) {
  const Painted p = Paint(GraphView::kHisto, SevenAndThree(), 1, 10, GraphForm::kPaper);
  int firstTick = 10000;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) {
    if (op->y1 == 478 && op->y2 == 480) firstTick = std::min(firstTick, op->x1);
  }
  EXPECT_EQ(firstTick, 108);
  EXPECT_EQ(LinesOf(*p.list, kPaperGridLine).size(), 7u);
  EXPECT_EQ(LinesOf(*p.list, kPaperHistoAverageLine).size(), 1u);
  int bars = 0;
  for (const DrawOp* op : Ops(*p.list, DrawKind::kRectangle)) bars += op->fill == kPaperHistoBar;
  EXPECT_EQ(bars, 40);
  ExpectText(*p.list, TXT_GRAPH_LAPS, 105, 290, TextAlign::kRight, 13);
  ExpectText(*p.list, TXT_GRAPH_TIME, 688, 481, TextAlign::kRight, 13);
  ExpectText(*p.list, "20.0", 118, 485, TextAlign::kRight, 13);
}

TEST(PaperForm, CurveAverageRunsTo670WithTextsAt680) {
  const Painted p = Paint(GraphView::kCurve, {20400, 20400, 21000}, 1, 3, GraphForm::kPaper);
  const GraphRect plot = PlotArea(GraphForm::kPaper);
  EXPECT_EQ(plot.left, 60);
  EXPECT_EQ(plot.bottom - 20, 478);
  const int ya = CurvePointY(plot, p.numbers->curveScale, 20600);
  bool averageLine = false;
  for (const DrawOp* op : LinesOf(*p.list, kBlack)) {
    averageLine |= op->y1 == ya && op->x1 == 101 && op->x2 == 670;
  }
  EXPECT_TRUE(averageLine);
  ExpectText(*p.list, TXT_GRAPH_AVERAGE, 680, ya - 35, TextAlign::kRight, 14);
  ExpectText(*p.list, TXT_GRAPH_TIME, 115, 290, TextAlign::kRight, 14);
  ExpectText(*p.list, TXT_GRAPH_LAPS, 688, 481, TextAlign::kRight, 14);
  EXPECT_EQ(LinesOf(*p.list, kPaperGridLine).size(), 5u);
  EXPECT_EQ(LinesOf(*p.list, kCurveLine, 2).size(), 2u);
}

TEST(HeadingLines, CaptionDriverCircuitAndTitle) {
  char heading[kHeadingLineCapacity];
  char track[kTrackLineCapacity];
  EXPECT_STREQ(FormatHeadingLine(" Training - Run1 ", "Lucas MARTIN", heading, sizeof heading),
               " Training - Run1  : Lucas MARTIN");
#if defined(ZARVO_EDITION_FR)
  const std::string caption = " Piste : ";
#else
  const std::string caption = " Track : ";
#endif
  EXPECT_EQ(std::string(FormatTrackLine("Mornay", "Start 2026/12/07", track, sizeof track)),
            caption + "Mornay   (Start 2026/12/07) ");
  // The longest texts of a hand-off fit.
  const std::string c(89, 'c'), d(39, 'd'), t(104, 't'), k(39, 'k');
  EXPECT_EQ(std::string(FormatHeadingLine(c.c_str(), d.c_str(), heading, sizeof heading)).size(),
            89u + 3 + 39);
  EXPECT_EQ(std::string(FormatTrackLine(k.c_str(), t.c_str(), track, sizeof track)).size(),
            caption.size() + 39 + 4 + 104 + 2);
}

TEST(Lists, A999LapRunFitsEveryViewsList) {
  for (GraphView view : {GraphView::kData, GraphView::kHisto, GraphView::kCurve}) {
    const Painted p = Paint(view, testing::PracticeLaps(999), 1, 999);
    EXPECT_FALSE(p.list->overflowed);
    EXPECT_GT(p.list->count, 50);
  }
  const Painted curve = Paint(GraphView::kCurve, testing::PracticeLaps(999), 1, 999);
  EXPECT_EQ(LinesOf(*curve.list, kCurveLine, 2).size(), 100u);
}

TEST(Lists, WhatDoesNotFitIsDroppedAndMarked) {
  auto list = std::make_unique<DrawList>();
  list->Clear();
  for (int i = 0; i < DrawList::kMaxOps + 5; ++i) list->Line(0, 0, i, i, kBlack);
  EXPECT_EQ(list->count, DrawList::kMaxOps);
  EXPECT_TRUE(list->overflowed);
  list->Clear();
  const std::string big(DrawList::kTextCapacity - 3, 'x');
  list->Text(0, 0, TextAlign::kLeft, DrawFont{16, 400, false}, kBlack, big);
  list->Text(0, 0, TextAlign::kLeft, DrawFont{16, 400, false}, kBlack, "abcd");
  EXPECT_EQ(list->count, 1);
  EXPECT_TRUE(list->overflowed);
}

}  // namespace
}  // namespace zarvo
