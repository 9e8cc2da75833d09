// Summary, histogram and curve window of a lap range, their scales and their texts, with the
// edge cases the run windows meet: one lap, equal laps, laps of hours, empty and wild ranges.
#include "analysis/lap_statistics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/analysis/test_runs.h"

namespace zarvo {
namespace {

using testing::RecordOfLaps;
using testing::RunOfLaps;

LapSummary SummaryOf(const RunLaps& run, int s, int e) {
  LapSummary out = {};
  Summarise(run, s, e, out);
  return out;
}

LapHistogram HistogramOf(const RunLaps& run, int s, int e) {
  LapHistogram out = {};
  MakeHistogram(run, s, e, out);
  return out;
}

CurveWindow CurveOf(const RunLaps& run, int s, int e) {
  CurveWindow out = {};
  MakeCurveWindow(run, s, e, out);
  return out;
}

template <typename T>
bool IsCleared(const T& value) {
  static const T zero = {};
  return std::memcmp(&value, &zero, sizeof value) == 0;
}

TEST(RunLaps, LapsAreDifferencesOfPassageTimesAndTheCountIsHeld) {
  auto run = RunOfLaps({20400, 20500, 21000});
  EXPECT_EQ(run->lapCount, 3);
  EXPECT_EQ(run->lapTimes[1], 20400);
  EXPECT_EQ(run->lapTimes[3], 21000);
  EXPECT_EQ(run->lapTimes[4], 0);

  auto record = RecordOfLaps({1000});
  record->lapCount = 5000;
  record->passageTimes[2] = INT32_MIN;  // damaged: a jump of more than 32 bits
  RunLaps laps;
  LoadRunLaps(*record, laps);
  EXPECT_EQ(laps.lapCount, kMaxLapCount);
  EXPECT_EQ(laps.lapTimes[2], INT32_MIN);  // 1000 - 2^31 held to the range
  record->lapCount = -3;
  LoadRunLaps(*record, laps);
  EXPECT_EQ(laps.lapCount, 0);
}

TEST(Summary, OneLapIsItsOwnAverageWithNoDeviationAndAllOfItsBand) {
  auto run = RunOfLaps({20400, 23456, 20100});
  const LapSummary s = SummaryOf(*run, 2, 2);
  EXPECT_EQ(s.lapTotal, 1);
  EXPECT_EQ(s.averageLap, 23456);
  EXPECT_EQ(s.standardDeviation, 0);
  EXPECT_EQ(s.bestLap, 23456);
  EXPECT_EQ(s.worstLap, 23456);
  EXPECT_EQ(s.bestLapNumber, 2);
  EXPECT_EQ(s.worstLapNumber, 2);
  EXPECT_EQ(s.bandLimits[0], 23400);
  EXPECT_EQ(s.bandCounts[0], 1);
  EXPECT_EQ(s.bandShares[0], 1000);
  EXPECT_EQ(s.averageTenths, 234560);
  EXPECT_EQ(s.deviationTenths, 0);
}

TEST(Summary, ThreeLapsGiveTheirBandsSharesAverageAndDeviation) {
  auto run = RunOfLaps({20400, 20400, 21000});
  const LapSummary s = SummaryOf(*run, 1, 3);
  EXPECT_EQ(s.bestLap, 20400);
  EXPECT_EQ(s.bestLapNumber, 1);  // the first occurrence
  EXPECT_EQ(s.worstLap, 21000);
  EXPECT_EQ(s.worstLapNumber, 3);
  const int32_t limits[kBandCount] = {20400, 20500, 20600, 20900, 21400,
                                      21900, 22400, 23400, 24400, 25400};
  for (int i = 0; i < kBandCount; ++i) EXPECT_EQ(s.bandLimits[i], limits[i]) << i;
  EXPECT_EQ(s.bandCounts[0], 2);
  EXPECT_EQ(s.bandCounts[3], 1);  // [20 900, 21 400)
  EXPECT_EQ(s.bandShares[0], 666);
  EXPECT_EQ(s.bandShares[3], 333);
  EXPECT_EQ(s.averageLap, 20600);
  EXPECT_EQ(s.standardDeviation, 282);  // trunc(sqrt((200² + 200² + 400²) / 3))
  // Tenths: trunc(sqrt((2000² + 2000² + 4000²) / 3)) = 2828.
  EXPECT_EQ(s.averageTenths, 206000);
  EXPECT_EQ(s.deviationTenths, 2828);
}

TEST(Summary, BandsCoverTheLapsFromBaseToFiveSecondsAndBeyond) {
  auto run = RunOfLaps({20450, 20499, 20500, 25399, 25400, 90000});
  const LapSummary s = SummaryOf(*run, 1, 6);
  EXPECT_EQ(s.bandLimits[0], 20400);  // best cut to 100 ms
  EXPECT_EQ(s.bandCounts[0], 2);
  EXPECT_EQ(s.bandCounts[1], 1);
  EXPECT_EQ(s.bandCounts[8], 1);  // 25 399 < base + 5000
  EXPECT_EQ(s.bandCounts[9], 2);
  int total = 0;
  for (int c : s.bandCounts) total += c;
  EXPECT_EQ(total, 6);
}

TEST(Summary, AverageIsTruncatedFromPassageTimes) {
  auto run = RunOfLaps({33333, 33333, 33334});
  EXPECT_EQ(SummaryOf(*run, 1, 3).averageLap, 33333);
  EXPECT_EQ(SummaryOf(*run, 1, 3).averageTenths, 333333);
}

TEST(Histogram, BinsAreTwoTenthsFromTheWholeSecondBelowTheBest) {
  auto run = RunOfLaps({20400, 20599, 20600, 27999, 28000, 40000});
  const LapHistogram h = HistogramOf(*run, 1, 6);
  EXPECT_EQ(h.lapTotal, 6);
  EXPECT_EQ(h.bestLap, 20400);
  EXPECT_EQ(h.binLimits[0], 20000);
  EXPECT_EQ(h.binLimits[39], 27800);
  EXPECT_EQ(h.binCounts[2], 2);  // [20 400, 20 600)
  EXPECT_EQ(h.binCounts[3], 1);
  EXPECT_EQ(h.binCounts[38], 0);
  // 8 s or more above the whole second below the best: the last bin, however far.
  EXPECT_EQ(h.binCounts[39], 3);
  EXPECT_EQ(h.averageLap, (20400 + 20599 + 20600 + 27999 + 28000 + 40000) / 6);
}

TEST(Histogram, HeightScaleRoundsTheLargestCountUp) {
  auto scaleFor = [](int32_t c) {
    LapHistogram h = {};
    h.binCounts[5] = c;
    h.binCounts[6] = c / 2;
    return HistogramHeightScale(h);
  };
  EXPECT_EQ(scaleFor(0), 0);
  EXPECT_EQ(scaleFor(7), 7);
  EXPECT_EQ(scaleFor(10), 10);
  EXPECT_EQ(scaleFor(11), 20);
  EXPECT_EQ(scaleFor(37), 40);
  EXPECT_EQ(scaleFor(99), 100);
  EXPECT_EQ(scaleFor(100), 100);
  EXPECT_EQ(scaleFor(101), 200);
  EXPECT_EQ(scaleFor(999), 1000);
}

TEST(CurveWindow, CoversAtMost101LapsFromTheFirst) {
  auto run = RunOfLaps(testing::PracticeLaps(999));
  const CurveWindow w = CurveOf(*run, 1, 999);
  EXPECT_EQ(w.lapTotal, 101);
  EXPECT_EQ(w.averageLap, run->passageTimes[101] / 101);
  const CurveWindow tail = CurveOf(*run, 950, 999);
  EXPECT_EQ(tail.lapTotal, 50);
  int32_t best = kNoLapSentinel, worst = 0;
  for (int k = 950; k <= 999; ++k) {
    best = std::min(best, run->lapTimes[k]);
    worst = std::max(worst, run->lapTimes[k]);
  }
  EXPECT_EQ(tail.bestLap, best);
  EXPECT_EQ(tail.worstLap, worst);
}

TEST(CurveScale, BoundsAreWholeSecondsAroundBestAndWorst) {
  auto run = RunOfLaps({20400, 20400, 21000});
  const CurveScale c = MakeCurveScale(CurveOf(*run, 1, 3));
  EXPECT_EQ(c.low, 20000);
  EXPECT_EQ(c.high, 22000);
  EXPECT_EQ(c.steps, 5);
  EXPECT_EQ(c.gridLines, 5);

  // All laps equal: high is still a second above low.
  auto equal = RunOfLaps({20000, 20000, 20000});
  const CurveScale e = MakeCurveScale(CurveOf(*equal, 1, 3));
  EXPECT_EQ(e.high - e.low, 1000);
  EXPECT_EQ(e.steps, 3);

  // A lap of 3.5 hours: many steps, the grid stops at 21 lines.
  auto parked = RunOfLaps({20000, kCurveBreakLap, 21000});
  const CurveScale p = MakeCurveScale(CurveOf(*parked, 1, 3));
  EXPECT_EQ(p.low, 20000);
  EXPECT_EQ(p.high, kCurveBreakLap + 1000);
  EXPECT_EQ(p.steps, (kCurveBreakLap + 1000 - 20000) / 500 + 1);
  EXPECT_EQ(p.gridLines, 21);

  // Ten seconds between the bounds are 20 half seconds: 21 steps, all drawn as grid lines;
  // eleven seconds are 23 steps, of which 21 lines are drawn.
  auto wide = RunOfLaps({20000, 29500});
  const CurveScale w = MakeCurveScale(CurveOf(*wide, 1, 2));
  EXPECT_EQ(w.steps, 21);
  EXPECT_EQ(w.gridLines, 21);
  auto wider = RunOfLaps({20000, 30500});
  const CurveScale x = MakeCurveScale(CurveOf(*wider, 1, 2));
  EXPECT_EQ(x.steps, 23);
  EXPECT_EQ(x.gridLines, 21);
}

TEST(Ranges, EmptyOrReversedRangesLeaveTheOutputsCleared) {
  auto run = RunOfLaps({20000, 21000, 22000});
  EXPECT_TRUE(IsCleared(SummaryOf(*run, 3, 2)));
  EXPECT_TRUE(IsCleared(HistogramOf(*run, 3, 2)));
  EXPECT_TRUE(IsCleared(CurveOf(*run, 30, 10)));
  auto none = RunOfLaps({});
  EXPECT_TRUE(IsCleared(SummaryOf(*none, 1, 1)));
  EXPECT_TRUE(IsCleared(HistogramOf(*none, 0, 0)));
  EXPECT_TRUE(IsCleared(CurveOf(*none, 1, 0)));
}

TEST(Ranges, RangesReachingOutsideTheRunAreCutToIt) {
  auto run = RunOfLaps({20000, 21000, 22000});
  const LapSummary inside = SummaryOf(*run, 1, 3);
  const LapSummary wild = SummaryOf(*run, -50, 100000);
  EXPECT_EQ(std::memcmp(&inside, &wild, sizeof inside), 0);
  const LapHistogram h = HistogramOf(*run, 0, 4);
  EXPECT_EQ(h.lapTotal, 3);
  EXPECT_EQ(CurveOf(*run, 2, 999).lapTotal, 2);
  EXPECT_TRUE(IsCleared(SummaryOf(*run, 4, 9)));  // wholly after the last lap
  EXPECT_TRUE(IsCleared(SummaryOf(*run, -9, -1)));
}

TEST(Ranges, LapsOfDaysDoNotOverflow) {
  auto run = RunOfLaps({20000, 1000000000, 1000000000, 20500});
  const LapSummary s = SummaryOf(*run, 1, 4);
  EXPECT_EQ(s.worstLap, 1000000000);
  EXPECT_EQ(s.worstLapNumber, 2);
  EXPECT_EQ(s.averageLap, (20000 + 2000000000 + 20500) / 4);
  EXPECT_GT(s.standardDeviation, 400000000);
  EXPECT_EQ(s.averageTenths, INT32_MAX);  // past what tenths can hold
  EXPECT_EQ(s.bandCounts[9], 2);
  const LapHistogram h = HistogramOf(*run, 1, 4);
  EXPECT_EQ(h.binCounts[39], 2);
  const CurveScale c = MakeCurveScale(CurveOf(*run, 1, 4));
  EXPECT_GT(c.steps, 0);
  EXPECT_EQ(c.gridLines, 21);
}

TEST(Texts, LapNumbersDeviationBandsSharesAndTenths) {
  char text[64];
#if defined(ZARVO_EDITION_FR)
  EXPECT_STREQ(LapNumberText(12, text, sizeof text), "(T 12)");
#else
  EXPECT_STREQ(LapNumberText(12, text, sizeof text), "(L 12)");
#endif
  EXPECT_STREQ(DeviationText("0.282", text, sizeof text), "+/- 0.282");
  EXPECT_STREQ(ShareText(125, text, sizeof text), "12.5 %");
  EXPECT_STREQ(ShareText(1000, text, sizeof text), "100.0 %");
  EXPECT_STREQ(ShareText(666, text, sizeof text), "66.6 %");
  EXPECT_STREQ(ShareText(0, text, sizeof text), "0.0 %");
  EXPECT_STREQ(TenthsText(206000, text, sizeof text), "20.6000");
  EXPECT_STREQ(TenthsText(2828, text, sizeof text), "0.2828");
  EXPECT_STREQ(LapTimeText(20400, text, sizeof text), "20.400");
  EXPECT_STREQ(LapTimeText(83456, text, sizeof text), "1:23.456");
  EXPECT_STREQ(LapTimeText(kCurveBreakLap, text, sizeof text), "3:30:00.000");

  auto run = RunOfLaps({20400, 20400, 21000});
  const LapSummary s = SummaryOf(*run, 1, 3);
  EXPECT_STREQ(BandRowText(s, 0, text, sizeof text), "20.400 < t < 20.500");
  EXPECT_STREQ(BandRowText(s, 8, text, sizeof text), "24.400 < t < 25.400");
  EXPECT_STREQ(BandRowText(s, 9, text, sizeof text), "25.400 < t ");
  char tiny[6];
  EXPECT_STREQ(BandRowText(s, 0, tiny, sizeof tiny), "20.40");
}

}  // namespace
}  // namespace zarvo
