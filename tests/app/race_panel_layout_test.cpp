// Positions of the race panel controls, the session tree and the results scroll bar.
#include "app/race_panel_layout.h"

#include <gtest/gtest.h>

namespace zarvo {
namespace {

TEST(RacePanelLayout, LapButtonsStand50PixelsApartAroundTheCentreAt1600) {
  const RacePanelLayout p = ComputeRacePanelLayout(1600, 900);
  EXPECT_EQ(p.lapButtons[10].x, 900);  // button 11
  EXPECT_EQ(p.lapButtons[0].x, 400);
  EXPECT_EQ(p.lapButtons[19].x, 1350);
  for (int k = 1; k < kLapButtonCount; ++k) {
    EXPECT_EQ(p.lapButtons[k].x - p.lapButtons[k - 1].x, 50) << k;
    EXPECT_EQ(p.lapButtons[k].y, 625);
    EXPECT_EQ(p.lapButtons[k].width, 40);
    EXPECT_EQ(p.lapButtons[k].height, 20);
  }
  // The group box holds them all.
  EXPECT_EQ(p.lapGroup.x, 375);
  EXPECT_EQ(p.lapGroup.width, 1050);
  EXPECT_LT(p.lapGroup.x, p.lapButtons[0].x);
  EXPECT_GT(p.lapGroup.x + p.lapGroup.width, p.lapButtons[19].x + p.lapButtons[19].width);
}

TEST(RacePanelLayout, LeftOfTheCentreTheOffsetTruncatesTowardZero) {
  const RacePanelLayout p = ComputeRacePanelLayout(1366, 768);
  const int centre = (1366 - 200) / 2 + 200;  // 783
  EXPECT_EQ(p.lapButtons[10].x, centre);
  EXPECT_EQ(p.lapButtons[0].x, centre - 426);   // -683000/1600 = -426.875
  EXPECT_EQ(p.lapButtons[19].x, centre + 384);  // 9·50·1366/1600 = 384.19
  EXPECT_EQ(p.lapButtons[0].y, 625 * 768 / 900);
}

TEST(RacePanelLayout, StartStopClearAndTheirLabels) {
  const RacePanelLayout p = ComputeRacePanelLayout(1600, 900);
  // c = (42·1600 - 8400)/100 = 588
  EXPECT_EQ(p.startButton.x, 688);
  EXPECT_EQ(p.startButton.y, 40);
  EXPECT_EQ(p.startButton.width, 80);
  EXPECT_EQ(p.startButton.height, 45);
  EXPECT_EQ(p.startLabel.x, 693);
  EXPECT_EQ(p.startLabel.y, 86);
  EXPECT_EQ(p.startLabel.height, 20);
  EXPECT_EQ(p.stopButton.x, 788);
  EXPECT_EQ(p.clearButton.x, 888);
  EXPECT_EQ(p.clearLabel.x, 893);
}

TEST(RacePanelLayout, ClockCountdownAndTransponderGroups) {
  const RacePanelLayout p = ComputeRacePanelLayout(1920, 1080);
  EXPECT_EQ(p.clockGroup.x, 45 * 1920 / 1600 + 200);
  EXPECT_EQ(p.clockGroup.y, 852);
  EXPECT_EQ(p.clockGroup.width, 480);
  EXPECT_EQ(p.clockGroup.height, 90);
  EXPECT_EQ(p.countdownGroup.x, 748);
  EXPECT_EQ(p.countdownGroup.width, 100);
  const int a = 720 * 1920 / 1600;  // 864
  EXPECT_EQ(p.transponderGroup.x, a + 200);
  EXPECT_EQ(p.transponderGroup.y, 840);
  EXPECT_EQ(p.transponderGroup.height, 102);
  EXPECT_EQ(p.personalChips.x, a + 205);
  EXPECT_EQ(p.personalChips.width, 140) << "wide enough for its caption";
  EXPECT_LE(p.personalChips.x + p.personalChips.width,
            p.transponderGroup.x + p.transponderGroup.width);
  EXPECT_LT(p.personalChips.y + p.personalChips.height, p.scanButton.y)
      << "the row of Scan is below it";
  EXPECT_EQ(p.mixedScan.y, 912);
  EXPECT_EQ(p.scanButton.x, a + 320);
  EXPECT_EQ(p.scanState.x, a + 390);
  EXPECT_EQ(p.scanState.height, 27);
}

TEST(MainWindowPlaces, SessionTreeAndResultsScrollBar) {
  const ControlPlace tree = SessionTreePlace(820);
  EXPECT_EQ(tree.x, 10);
  EXPECT_EQ(tree.y, 54);
  EXPECT_EQ(tree.width, 190);
  EXPECT_EQ(tree.height, 740);

  TableMetrics m = {1600, 900, {70, 290, 80, 165, 140, 140, 140, 140, 110}, 38, 12};
  const ControlPlace bar = ResultsScrollBarPlace(ComputeResultsLayout(m), 1600);
  EXPECT_EQ(bar.x, 200);
  EXPECT_EQ(bar.y, 145);
  EXPECT_EQ(bar.width, 15);
  EXPECT_EQ(bar.height, 456);
}

}  // namespace
}  // namespace zarvo
