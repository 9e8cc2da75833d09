// The run window: its opening from an archived run, range edits and their clamps, the strip's
// scroll bar, the hover, the view kept per kind of window, the controls' places and the page.
#include "analysis/run_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "analysis/detail_results_file.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "resources/resource_ids.h"
#include "tests/analysis/test_runs.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::PracticeLaps;
using testing::RecordingMessageBoxes;
using testing::RecordOfLaps;

std::unique_ptr<RunWindowModel> WindowOfLaps(int n, RunWindowKind kind = RunWindowKind::kDetail) {
  auto model = std::make_unique<RunWindowModel>();
  ClearRunWindow(*model, kind);
  auto record = RecordOfLaps(PracticeLaps(n));
  SetText(record->setup.trackConditions, "Dry 18C");
  SetText(record->setup.carName, "Buggy 8");
  SetText(record->setup.engine, "OS 21");
  SetText(record->setup.rideHeightFront, "27mm");
  SetText(record->setup.rideHeightRear, "29mm");
  SetText(record->setup.throttleServo, "Savox");
  LoadRunWindow(*model, *record, " Training - Run2 ", "Mornay", "Start 2026/12/07 14:03:10");
  return model;
}

bool HasText(const DrawList& list, std::string_view text, const DrawOp** found = nullptr) {
  for (int i = 0; i < list.count; ++i) {
    if (list.ops[i].kind == DrawKind::kText && list.TextOf(list.ops[i]) == text) {
      if (found != nullptr) *found = &list.ops[i];
      return true;
    }
  }
  return false;
}

std::string StripLap(int lap) {
  char text[16];
  std::snprintf(text, sizeof text, TXT_GRAPH_STRIP_LAP, lap);
  return text;
}

class KeptViews : public ::testing::Test {
 protected:
  void TearDown() override {
    KeptView(RunWindowKind::kDetail) = GraphView::kData;
    KeptView(RunWindowKind::kSynthesis) = GraphView::kData;
  }
};

TEST(RunWindow, LoadingARunSetsTheLinesTheRangeAndTheStrip) {
  auto model = WindowOfLaps(40);
  EXPECT_STREQ(model->headingLine, " Training - Run2  : Lucas MARTIN");
#if defined(ZARVO_EDITION_FR)
  EXPECT_STREQ(model->trackLine, " Piste : Mornay   (Start 2026/12/07 14:03:10) ");
#else
  EXPECT_STREQ(model->trackLine, " Track : Mornay   (Start 2026/12/07 14:03:10) ");
#endif
  EXPECT_EQ(model->first, 1);
  EXPECT_EQ(model->last, 40);
  EXPECT_EQ(model->stripOffset, 0);
  EXPECT_EQ(model->laps.lapTimes[3], PracticeLaps(40)[2]);
}

TEST(RunWindow, RangeEditsClampToTheRunAndSayWhichTextIsRewritten) {
  auto model = WindowOfLaps(40);
  int to = -1;
  EXPECT_TRUE(LastLapTyped(*model, "250", to));  // 250 for 40 laps: the edit reads 40
  EXPECT_EQ(to, 40);
  EXPECT_EQ(model->last, 40);
  EXPECT_FALSE(LastLapTyped(*model, "12", to));
  EXPECT_EQ(model->last, 12);
  EXPECT_FALSE(FirstLapTyped(*model, "0", to));  // lap 1 is used, "0" stays in the edit
  EXPECT_EQ(model->first, 1);
  EXPECT_FALSE(FirstLapTyped(*model, "", to));
  EXPECT_EQ(model->first, 1);
  EXPECT_TRUE(FirstLapTyped(*model, "41", to));
  EXPECT_EQ(to, 40);
  EXPECT_FALSE(FirstLapTyped(*model, "7x", to));  // leading digits count, the rest not
  EXPECT_EQ(model->first, 7);
  EXPECT_FALSE(FirstLapTyped(*model, "x7", to));
  EXPECT_EQ(model->first, 1);
  EXPECT_FALSE(LastLapTyped(*model, "", to));  // an empty last lap empties the range
  EXPECT_EQ(model->last, 0);

  // A run without laps: "From lap" is 1, as the window opens with it, and never 0.
  auto empty = WindowOfLaps(0);
  EXPECT_EQ(empty->first, 1);
  EXPECT_FALSE(FirstLapTyped(*empty, "1", to)) << "the opening text stays";
  EXPECT_EQ(empty->first, 1);
  EXPECT_FALSE(FirstLapTyped(*empty, "0", to));
  EXPECT_EQ(empty->first, 1);
  EXPECT_TRUE(FirstLapTyped(*empty, "3", to));
  EXPECT_EQ(to, 1);
  EXPECT_EQ(empty->first, 1);
  EXPECT_TRUE(LastLapTyped(*empty, "3", to));
  EXPECT_EQ(to, 0);
}

TEST(RunWindow, AFirstLapAfterTheLastDrawsEveryViewWithItsAxesButNoData) {
  auto model = WindowOfLaps(40);
  int to;
  FirstLapTyped(*model, "30", to);
  LastLapTyped(*model, "10", to);
  auto list = std::make_unique<DrawList>();
  for (GraphView view : {GraphView::kData, GraphView::kHisto, GraphView::kCurve}) {
    model->view = view;
    list->Clear();
    DrawRunWindow(*model, *list);
    int lines = 0, curve = 0, bars = 0;
    for (int i = 0; i < list->count; ++i) {
      const DrawOp& op = list->ops[i];
      if (op.kind == DrawKind::kLine) ++lines;
      if (op.kind == DrawKind::kLine && op.colour == kCurveLine) ++curve;
      if (op.kind == DrawKind::kRectangle && op.fill == kHistoBar) ++bars;
      if (op.kind == DrawKind::kText)
        EXPECT_EQ(list->TextOf(op).find("(L "), std::string_view::npos) << int(view);
    }
    EXPECT_GT(lines, 0) << int(view);
    EXPECT_EQ(curve, 0);
    EXPECT_EQ(bars, 0);
    EXPECT_FALSE(list->overflowed);
  }
}

TEST(RunWindow, TheStripBarIsHiddenUpToSixLapsAndPagesToItsEnds) {
  auto six = WindowOfLaps(6);
  EXPECT_FALSE(MakeStripBar(*six).visible);
  EXPECT_FALSE(ScrollStrip(*six, StripScroll::kLineRight, 0));
  EXPECT_EQ(six->stripOffset, 0);
  auto list = std::make_unique<DrawList>();
  DrawRunWindow(*six, *list);
  EXPECT_TRUE(HasText(*list, StripLap(6)));
  EXPECT_FALSE(HasText(*list, StripLap(7)));

  auto seven = WindowOfLaps(7);
  EXPECT_TRUE(MakeStripBar(*seven).visible);
  EXPECT_EQ(MakeStripBar(*seven).maximum, 1);

  auto model = WindowOfLaps(40);
  EXPECT_EQ(MakeStripBar(*model).maximum, 34);
  EXPECT_FALSE(ScrollStrip(*model, StripScroll::kLineLeft, 0));  // already at the start
  EXPECT_TRUE(ScrollStrip(*model, StripScroll::kLineRight, 0));
  EXPECT_EQ(model->stripOffset, 1);
  EXPECT_TRUE(ScrollStrip(*model, StripScroll::kPageRight, 0));
  EXPECT_EQ(model->stripOffset, 34);
  EXPECT_FALSE(ScrollStrip(*model, StripScroll::kLineRight, 0));
  EXPECT_TRUE(ScrollStrip(*model, StripScroll::kThumbPosition, 20));
  EXPECT_EQ(model->stripOffset, 20);
  EXPECT_FALSE(ScrollStrip(*model, StripScroll::kOther, 5));  // thumb tracking is ignored
  EXPECT_EQ(model->stripOffset, 20);
  EXPECT_TRUE(ScrollStrip(*model, StripScroll::kThumbPosition, 999));
  EXPECT_EQ(model->stripOffset, 34);
  EXPECT_TRUE(ScrollStrip(*model, StripScroll::kPageLeft, 0));
  EXPECT_EQ(model->stripOffset, 0);
  list->Clear();
  model->stripOffset = 33;
  DrawRunWindow(*model, *list);
  EXPECT_TRUE(HasText(*list, StripLap(34)));
  EXPECT_TRUE(HasText(*list, StripLap(40)));
  EXPECT_FALSE(HasText(*list, StripLap(33)));
}

TEST(RunWindow, HoverFollowsCurvePointsOnlyInTheCurveView) {
  auto model = WindowOfLaps(12);
  ChooseRunView(*model, GraphView::kCurve);
  CurveWindow window;
  std::memset(&window, 0, sizeof window);
  MakeCurveWindow(model->laps, 1, 12, window);
  const CurveScale scale = MakeCurveScale(window);
  const GraphRect plot = PlotArea(GraphForm::kScreen);
  const int x = CurvePointX(plot, 4, window.lapTotal);
  const int y = CurvePointY(plot, scale, model->laps.lapTimes[5]);

  EXPECT_FALSE(RunWindowMouseMoved(*model, x + 2, y));  // 2 across: not yet
  EXPECT_FALSE(model->hover.active);
  EXPECT_FALSE(RunWindowMouseMoved(*model, x, y + 4));  // 4 down: not yet
  EXPECT_TRUE(RunWindowMouseMoved(*model, x + 1, y - 3));
  EXPECT_TRUE(model->hover.active);
  EXPECT_EQ(model->hover.index, 4);
  EXPECT_FALSE(RunWindowMouseMoved(*model, x - 2, y + 4));  // kept within 2 and 4
  EXPECT_TRUE(model->hover.active);
  EXPECT_TRUE(RunWindowMouseMoved(*model, x + 3, y));  // 3 across ends it
  EXPECT_FALSE(model->hover.active);

  RunWindowMouseMoved(*model, x, y);
  ASSERT_TRUE(model->hover.active);
  ChooseRunView(*model, GraphView::kData);  // a view change drops the hover
  EXPECT_FALSE(model->hover.active);
  EXPECT_FALSE(RunWindowMouseMoved(*model, x, y));
  EXPECT_FALSE(model->hover.active);
  KeptView(RunWindowKind::kDetail) = GraphView::kData;
}

TEST_F(KeptViews, EachKindReopensInTheViewLastChosenInIt) {
  auto detail = WindowOfLaps(10);
  EXPECT_EQ(detail->view, GraphView::kData);  // the program's start
  ChooseRunView(*detail, GraphView::kCurve);
  EXPECT_EQ(WindowOfLaps(10)->view, GraphView::kCurve);
  EXPECT_EQ(WindowOfLaps(10, RunWindowKind::kSynthesis)->view, GraphView::kData);
  auto synthesis = WindowOfLaps(10, RunWindowKind::kSynthesis);
  ChooseRunView(*synthesis, GraphView::kHisto);
  EXPECT_EQ(WindowOfLaps(10)->view, GraphView::kCurve);
  EXPECT_EQ(WindowOfLaps(10, RunWindowKind::kSynthesis)->view, GraphView::kHisto);
}

class ArchivedRunWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateRunsDatabase("Lucas MARTIN"));
    path = RunsDatabasePath("Lucas MARTIN");
    ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
    auto record = RecordOfLaps(PracticeLaps(12));
    record->bestLap = 20000;
    SetText(record->setup.engine, "OS 21");
    ASSERT_EQ(ArchiveParticipantRun(*record, kTitle, " Training - Run2 ", "Mornay", boxes),
              ArchiveOutcome::kAppended);
  }
  static constexpr char kTitle[] = "Start 2026/12/07 14:03:10 - Duration 0:05:00";
  testing::TempFolder folder;
  std::string path;
  RecordingMessageBoxes boxes;
  RunWindowModel model;
};

TEST_F(ArchivedRunWindow, OpensTheRunTheRequestNames) {
  ASSERT_TRUE(WriteArchivedRunRequest(path.c_str(), kTitle));
  OpenArchivedRunWindow(model, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(model.laps.lapCount, 12);
  EXPECT_EQ(model.last, 12);
  EXPECT_STREQ(model.record.setup.engine, "OS 21");
  EXPECT_STREQ(model.headingLine, " Training - Run2  : Lucas MARTIN");
  EXPECT_NE(std::string(model.trackLine).find("Mornay   (" + std::string(kTitle) + ") "),
            std::string::npos);
}

TEST_F(ArchivedRunWindow, TheRunHandedOverIsTheOneTheWindowOpens) {
  ASSERT_TRUE(HandOverArchivedRun(path.c_str(), kTitle, boxes));
  EXPECT_EQ(testing::ReadBytes(kDetailResultsFile), path + "\t" + kTitle + "\t\r\n");
  OpenArchivedRunWindow(model, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(model.laps.lapCount, 12);
  EXPECT_STREQ(model.headingLine, " Training - Run2  : Lucas MARTIN");
}

TEST_F(ArchivedRunWindow, ARequestThatCannotBeWrittenIsSaidAndNothingIsHandedOver) {
  // A folder in the place of the hand-off file: the request cannot replace it.
  std::filesystem::create_directory(kDetailResultsFile);
  EXPECT_FALSE(HandOverArchivedRun(path.c_str(), kTitle, boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
  EXPECT_TRUE(std::filesystem::is_directory(kDetailResultsFile));
}

TEST_F(ArchivedRunWindow, AMissingRequestFileOrRunOpensAnEmptyRunWithItsMessage) {
  OpenArchivedRunWindow(model, boxes);  // no request written
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
  EXPECT_EQ(model.laps.lapCount, 0);

  ASSERT_TRUE(WriteArchivedRunRequest(path.c_str(), "Start 1999/01/01 00:00:00"));
  OpenArchivedRunWindow(model, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, TXT_RUN_TO_READ_NOT_FOUND);
  EXPECT_EQ(model.laps.lapCount, 0);

  ASSERT_TRUE(
      WriteArchivedRunRequest("Base donn\xE9"
                              "es runs/Nobody.bdr",
                              kTitle));
  OpenArchivedRunWindow(model, boxes);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, TXT_DRIVER_RUNS_FILE_NOT_FOUND);
  EXPECT_EQ(model.laps.lapCount, 0);
  EXPECT_EQ(model.first, 1);
  EXPECT_EQ(model.last, 0);
}

TEST(RunWindowLayout, ControlsAreUniqueInsideTheClientAndClearOfTheFourAreas) {
  std::set<int> ids;
  const GraphRect areas[] = {kGraphAreas.header, kGraphAreas.band, kGraphAreas.plot,
                             kGraphAreas.strip};
  for (int i = 0; i < kRunWindowControlCount; ++i) {
    const ControlPlace& c = kRunWindowLayout[i];
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_GE(c.x, 0);
    EXPECT_LE(c.x + c.width, kRunWindowClientWidth) << c.id;
    // A drop-down list's height is that of its open list; closed it is one edit high.
    const int height = c.id == IDC_RUN_CAR_LIST ? 22 : c.height;
    EXPECT_LE(c.y + height, kRunWindowClientHeight) << c.id;
    for (const GraphRect& a : areas) {
      const bool apart =
          c.x + c.width <= a.left || c.x >= a.right || c.y + height <= a.top || c.y >= a.bottom;
      EXPECT_TRUE(apart) << "control " << c.id << " over an area at " << a.left << "," << a.top;
    }
  }
  // Every edit, label, group and button of the template: 5001-5055, 5101-5154, Save, Cancel,
  // and the export's button.
  EXPECT_EQ(kRunWindowControlCount, 55 + 54 + 2 + 1);
  EXPECT_EQ(ids.count(IDC_RUN_EXPORT), 1u);
  for (int id = 5001; id <= 5055; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
  for (int id = 5101; id <= 5154; ++id) EXPECT_EQ(ids.count(id), 1u) << id;
  EXPECT_EQ(SetupEditId(0), 5001);
  EXPECT_EQ(SetupEditId(1), 5003);
  EXPECT_EQ(SetupEditId(48), 5050);
}

// Labels, edits and buttons never cover one another (a group frame holds its controls).
TEST(RunWindowLayout, NoTwoControlsShareAPlace) {
  const std::set<int> groups = {IDC_RUN_ENGINE_GROUP,  IDC_RUN_DIFFERENTIALS_GROUP,
                                IDC_RUN_SHOCKS_GROUP,  IDC_RUN_CHASSIS_GROUP,
                                IDC_RUN_SUMMARY_GROUP, IDC_RUN_STRIP_GROUP,
                                IDC_RUN_TIRES_GROUP,   IDC_RUN_RADIO_GROUP};
  auto closedHeight = [](const ControlPlace& c) { return c.id == IDC_RUN_CAR_LIST ? 22 : c.height; };
  for (int i = 0; i < kRunWindowControlCount; ++i) {
    const ControlPlace& a = kRunWindowLayout[i];
    if (groups.count(a.id) != 0) continue;
    for (int j = i + 1; j < kRunWindowControlCount; ++j) {
      const ControlPlace& b = kRunWindowLayout[j];
      if (groups.count(b.id) != 0) continue;
      const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                         a.y + closedHeight(a) <= b.y || b.y + closedHeight(b) <= a.y;
      EXPECT_TRUE(apart) << "controls " << a.id << " and " << b.id << " overlap";
    }
  }
}

TEST(RunPage, FramesThenCaptionsThatCutThemHeadingsAndTheSetupSheet) {
  auto model = WindowOfLaps(12);
  int to;
  LastLapTyped(*model, "12", to);
  auto list = std::make_unique<DrawList>();
  list->Clear();
  DrawRunPage(*model, *list);
  EXPECT_FALSE(list->overflowed);
  ASSERT_GE(list->count, 7);
  EXPECT_EQ(list->ops[0].kind, DrawKind::kRectangle);
  EXPECT_TRUE(list->ops[0].hollow);
  EXPECT_EQ(list->ops[0].x1, 50);
  EXPECT_EQ(list->ops[0].y1, 260);
  EXPECT_EQ(list->ops[0].x2, 690);
  EXPECT_EQ(list->ops[0].y2, 518);
  EXPECT_EQ(list->ops[6].x1, 420);
  EXPECT_EQ(list->ops[6].y2, 1010);

  const DrawOp* op = nullptr;
#if defined(ZARVO_EDITION_FR)
  ASSERT_TRUE(HasText(*list, "Synth\xE8se du run entre tour 1 et tour 12", &op));
#else
  ASSERT_TRUE(HasText(*list, "Summary of the run from lap 1 to lap 12", &op));
#endif
  EXPECT_EQ(op->x1, 370);
  EXPECT_EQ(op->y1, 270);
  EXPECT_EQ(op->align, TextAlign::kCentre);

  ASSERT_TRUE(HasText(*list, TXT_PAGE_ENGINE_FRAME, &op));
  EXPECT_TRUE(op->opaque);  // cuts the engine frame's top line at y 650
  EXPECT_EQ(op->x1, 55);
  EXPECT_EQ(op->y1, 640);
  EXPECT_EQ(op->font, (DrawFont{18, 700, false}));
  EXPECT_GT(op - list->ops, 6);  // drawn after the frames

  ASSERT_TRUE(HasText(*list, " Training - Run2  : Lucas MARTIN", &op));
  EXPECT_EQ(op->x1, 360);
  EXPECT_EQ(op->y1, 130);
  EXPECT_EQ(op->font, (DrawFont{25, 700, false}));
  ASSERT_TRUE(HasText(*list, "Dry 18C", &op));
  EXPECT_EQ(op->y1, 230);
  const DrawOp* car = nullptr;
  ASSERT_TRUE(HasText(*list, "Buggy 8", &car));
  EXPECT_EQ(car->y1, 592);
  const DrawOp* engine = nullptr;
  ASSERT_TRUE(HasText(*list, "OS 21", &engine));
#if defined(ZARVO_EDITION_FR)
  // "Conditions de piste :" and the bold "Voiture :" are longer than the places leave them: their
  // values move after them instead of being overwritten.
  EXPECT_GT(op->x1, 160);
  EXPECT_GT(car->x1, 105);
#else
  EXPECT_EQ(op->x1, 160);
  EXPECT_EQ(car->x1, 105);
  EXPECT_EQ(engine->x1, 110);
#endif
  ASSERT_TRUE(HasText(*list, "27mm", &op));  // front and rear centred on their columns
  EXPECT_EQ(op->x1, 540);
  EXPECT_EQ(op->align, TextAlign::kCentre);
  ASSERT_TRUE(HasText(*list, "29mm", &op));
  EXPECT_EQ(op->x1, 630);
  EXPECT_EQ(op->y1, 600);
  ASSERT_TRUE(HasText(*list, "Savox", &op));
  EXPECT_EQ(op->x1, 535);
  EXPECT_EQ(op->y1, 990);
  EXPECT_EQ(op->align, TextAlign::kLeft);
  ASSERT_TRUE(HasText(*list, TXT_PAGE_THROTTLE_SERVO, &op));
  EXPECT_EQ(op->x1, 430);
  ASSERT_TRUE(HasText(*list, TXT_PAGE_FRONT, &op));
  EXPECT_TRUE(op->font.underline);
  EXPECT_FALSE(HasText(*list, " (L5)"));  // never a hover label on paper

  model->view = GraphView::kCurve;
  list->Clear();
  DrawRunPage(*model, *list);
#if defined(ZARVO_EDITION_FR)
  EXPECT_TRUE(HasText(*list, "Evolution des temps au tour entre tour 1 et tour 12"));
#else
  EXPECT_TRUE(HasText(*list, "Evolution of the lap times from lap 1 to lap 12"));
#endif
  bool curveLine = false;
  for (int i = 0; i < list->count; ++i)
    curveLine |= list->ops[i].kind == DrawKind::kLine && list->ops[i].colour == kCurveLine &&
                 list->ops[i].x1 >= 50 && list->ops[i].y1 > 260 && list->ops[i].y1 < 518;
  EXPECT_TRUE(curveLine);  // the curve itself lies inside the graph frame
}

}  // namespace
}  // namespace zarvo
