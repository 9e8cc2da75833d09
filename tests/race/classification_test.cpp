// The ranking rules, their tie-breaks and sentinels, and the time texts of the results rows.
#include "race/classification.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::MakeRace;

// Gives slot s (1-based) laps ending at the given own-clock total with the given last lap.
void GiveLaps(Race& race, int s, int laps, int32_t total, int32_t last, int32_t best = 0) {
  ParticipantRecord& p = race.slots[s - 1];
  p.lapCount = laps;
  p.passageTimes[laps] = total;
  p.lastLap = last;
  p.bestLap = best;
}

std::string Order(const Race& race) {
  std::string order;
  for (int k = 0; k < race.participantCount; ++k) {
    order += std::to_string(race.standings[k].slotNumber) + " ";
  }
  return order;
}

TEST(RankByLapsAndTime, MoreLapsFirstThenSmallerTotal) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}, {"C", "3"}});
  GiveLaps(*race, 1, 5, 300000, 60000);
  GiveLaps(*race, 2, 5, 299999, 60000);
  GiveLaps(*race, 3, 6, 400000, 60000);
  RankByLapsAndTime(race->slots, race->participantCount, race->standings);
  EXPECT_EQ(Order(*race), "3 2 1 ");
  EXPECT_EQ(race->standings[1].totalTime, 299999);
}

TEST(RankByLapsAndTime, CompleteTieGoesToTheLaterSlot) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}, {"E", "5"}, {"F", "6"},
                        {"G", "7"}});
  for (int s = 1; s <= 7; ++s) GiveLaps(*race, s, 1, 90000, 90000);
  GiveLaps(*race, 2, 5, 150000, 30000);
  GiveLaps(*race, 7, 5, 150000, 30000);
  RankByLapsAndTime(race->slots, race->participantCount, race->standings);
  EXPECT_EQ(race->standings[0].slotNumber, 7);
  EXPECT_EQ(race->standings[1].slotNumber, 2);
  // Equal again among the rest: later slots first.
  EXPECT_EQ(Order(*race), "7 2 6 5 4 3 1 ");
}

TEST(RankByLapsAndTime, ZeroLapParticipantsWhoCrossedComeFirstInCrossingOrder) {
  // Under the staggered start a first crossing sets only the last lap (time to the crossing).
  auto race = MakeRace({{"A", "1"}, {"B", "2"}, {"C", "3"}});
  GiveLaps(*race, 2, 0, 0, 0);     // not crossed yet
  GiveLaps(*race, 1, 0, 0, 4200);  // crossed second
  GiveLaps(*race, 3, 0, 0, 1800);  // crossed first
  StandardRefresh(*race);
  EXPECT_EQ(Order(*race), "3 1 2 ");
  // The sentinels never show: a 0-lap participant has total and last lap 0 in the standings.
  EXPECT_EQ(race->standings[2].totalTime, 0);
  EXPECT_EQ(race->standings[2].lastLap, 0);
  EXPECT_STREQ(race->rows[2].totalText, "0:00.000");
  EXPECT_STREQ(race->rows[2].lastLapText, "0.000");
  EXPECT_STREQ(race->rows[0].lastLapText, "1.800");
}

TEST(RankByLapsAndTime, EmptySlotsAreNeverRankedBeforeOccupiedOnes) {
  auto race = MakeRace({{"(NA)", ""}, {"A", "1"}, {"(NA)", ""}, {"B", "2"}});
  GiveLaps(*race, 4, 3, 90000, 30000);
  StandardRefresh(*race);
  EXPECT_EQ(race->participantCount, 2);
  EXPECT_EQ(Order(*race), "4 2 ");
}

TEST(RankByLapsAndTime, EntriesBeyondTheParticipantCountKeepTheirContents) {
  auto race = MakeRace({{"A", "1"}});
  SetText(race->standings[5].driverName, "stale");
  race->standings[5].slotNumber = 17;
  RankByLapsAndTime(race->slots, race->participantCount, race->standings);
  EXPECT_STREQ(race->standings[5].driverName, "stale");
  EXPECT_EQ(race->standings[5].slotNumber, 17);
}

TEST(RankByBestLap, SmallerBestFirstAndParticipantsWithoutALapLast) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}, {"C", "3"}, {"D", "4"}});
  GiveLaps(*race, 1, 0, 0, 0);
  GiveLaps(*race, 2, 3, 78000, 26000, 25000);
  GiveLaps(*race, 3, 3, 79000, 24999, 24999);
  GiveLaps(*race, 4, 0, 0, 3000);  // crossed once, no lap
  StandardRefresh(*race);
  EXPECT_EQ(Order(*race), "2 3 4 1 ");  // classification key is laps and time
  SetText(race->params.classificationKey, kRankBestLap);
  StandardRefresh(*race);
  EXPECT_EQ(Order(*race), "3 2 4 1 ");
  EXPECT_EQ(race->standings[3].bestLap, 0);
  EXPECT_EQ(race->standings[3].lastLap, 0);
  EXPECT_EQ(race->standings[2].lastLap, 3000);
}

TEST(RankByBestLap, EqualBestLapsRankBySmallerLastLapThenLaterSlot) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}, {"C", "3"}});
  GiveLaps(*race, 1, 4, 120000, 31000, 25000);
  GiveLaps(*race, 2, 4, 121000, 30000, 25000);
  GiveLaps(*race, 3, 4, 122000, 31000, 25000);
  RankByBestLap(race->slots, race->participantCount, race->standings);
  EXPECT_EQ(Order(*race), "2 3 1 ");
}

TEST(StandardRefresh, AnUnknownClassificationKeyKeepsTheStandings) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}});
  GiveLaps(*race, 2, 4, 120000, 31000);
  SetText(race->params.classificationKey, "CLASSEMENTAutre");
  StandardRefresh(*race);
  EXPECT_EQ(Order(*race), "1 2 ");
  EXPECT_STREQ(race->rows[1].lapsText, "0");
}

TEST(StandardRefresh, RowsCarryTheFlagsOfTheirEntry) {
  auto race = MakeRace({{"A", "1"}, {"B", "2"}});
  GiveLaps(*race, 2, 2, 60000, 29000, 29000);
  race->slots[1].lapRecorded = true;
  race->slots[1].newBest = true;
  race->slots[1].runBestHolder = true;
  race->slots[0].finished = true;
  StandardRefresh(*race);
  EXPECT_TRUE(race->rows[0].lapRecorded);
  EXPECT_TRUE(race->rows[0].newBest);
  EXPECT_TRUE(race->rows[0].runBestHolder);
  EXPECT_FALSE(race->rows[0].finished);
  EXPECT_TRUE(race->rows[1].finished);
  EXPECT_STREQ(race->rows[0].slotText, " 2 ");
  EXPECT_STREQ(race->rows[0].lapsText, "2");
  EXPECT_STREQ(race->rows[0].totalText, "1:00.000");
}

TEST(TimeTexts, SplitAndThreeFormTime) {
  const TimeParts parts = SplitTime(3723004);
  EXPECT_EQ(parts.hours, 1);
  EXPECT_EQ(parts.minutes, 2);
  EXPECT_EQ(parts.seconds, 3);
  EXPECT_EQ(parts.milliseconds, 4);
  char text[kTimeTextCapacity];
  EXPECT_STREQ(FormatThreeForm(parts, text, sizeof text), "1:02:03.004");
  EXPECT_STREQ(FormatTotalTime(parts, text, sizeof text), "1:02:03.004");
  EXPECT_STREQ(FormatThreeForm(SplitTime(123004), text, sizeof text), "2:03.004");
  EXPECT_STREQ(FormatTotalTime(SplitTime(123004), text, sizeof text), "2:03.004");
  EXPECT_STREQ(FormatThreeForm(SplitTime(3004), text, sizeof text), "3.004");
  EXPECT_STREQ(FormatTotalTime(SplitTime(3004), text, sizeof text), "0:03.004");
  EXPECT_STREQ(FormatTotalTime(SplitTime(45120), text, sizeof text), "0:45.120");
  EXPECT_STREQ(FormatThreeForm(SplitTime(0), text, sizeof text), "0.000");
  EXPECT_STREQ(FormatThreeForm(SplitTime(3600000), text, sizeof text), "1:00:00.000");
}

TEST(TimeTexts, ClockOfTheConnectionMessagesIsRoundedDownToTenths) {
  char text[16];
  EXPECT_STREQ(FormatClockTenths(754599, text, sizeof text), "12:34.500");
  EXPECT_STREQ(FormatClockTenths(3099, text, sizeof text), "3.000");
  EXPECT_STREQ(FormatClockTenths(3723999, text, sizeof text), "1:02:03.900");
}

TEST(TimeTexts, TheLongestTimesFitTheirFields) {
  char text[kTimeTextCapacity];
  // The empty-slot sentinel, the longest value a row can meet, still fits with its terminator.
  FormatTotalTime(SplitTime(kEmptySlotTime), text, sizeof text);
  EXPECT_STREQ(text, "416:40:00.000");
}

}  // namespace
}  // namespace zarvo

namespace zarvo {
namespace {

// The time texts are hand-formatted for speed; they must equal what printf writes.
TEST(TimeTexts, EqualPrintfForEveryFormAndCapacity) {
  const int32_t samples[] = {0, 1, 999, 1000, 59999, 60000, 3599999, 3600000, 3723004,
                             36000000, kMissingTime, kEmptySlotTime, kPlacedTime, -1, -61001};
  for (int32_t t : samples) {
    const TimeParts p = SplitTime(t);
    char expected[64];
    char actual[64];
    if (p.hours != 0) {
      std::snprintf(expected, sizeof expected, "%d:%02d:%02d.%03d", p.hours, p.minutes,
                    p.seconds, p.milliseconds);
    } else if (p.minutes != 0) {
      std::snprintf(expected, sizeof expected, "%d:%02d.%03d", p.minutes, p.seconds,
                    p.milliseconds);
    } else {
      std::snprintf(expected, sizeof expected, "%d.%03d", p.seconds, p.milliseconds);
    }
    EXPECT_STREQ(FormatThreeForm(p, actual, sizeof actual), expected) << t;
    if (p.hours == 0) {
      std::snprintf(expected, sizeof expected, "%d:%02d.%03d", p.minutes, p.seconds,
                    p.milliseconds);
    }
    EXPECT_STREQ(FormatTotalTime(p, actual, sizeof actual), expected) << t;
    for (size_t capacity = 1; capacity <= 16; ++capacity) {  // cut like snprintf
      char small[16];
      FormatTotalTime(p, small, capacity);
      EXPECT_EQ(std::string(small), std::string(expected).substr(0, capacity - 1)) << t;
    }
  }
}

}  // namespace
}  // namespace zarvo

namespace zarvo {
namespace {

TEST(TimeTexts, SlotAndLapTextsEqualPrintf) {
  for (int32_t v : {0, 7, 20, 999, 12345, -3}) {
    for (const char* format : {" %d ", "%d"}) {
      char expected[5];
      char actual[5];
      std::snprintf(expected, sizeof expected, format, v);
      FormatCount(format, v, actual, sizeof actual);
      EXPECT_STREQ(actual, expected) << format << " " << v;
    }
  }
}

}  // namespace
}  // namespace zarvo
