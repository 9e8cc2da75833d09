// The export's data: ranked and written as the results table ranks and writes the run, an
// archived run with the run window's statistics, and the run number of a caption.
#include "export/export_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "race/classification.h"
#include "tests/support/sample_session.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ArchivedRunOf;
using testing::RunOfDrivers;

const ExportRunInfo kInfo{3, " CLUB - Run3 ", "Start 2026/05/01 14:03:10 - Duration 0:10:00",
                          "Les Ormes"};

// Four drivers whose order differs by the two classification rules: most laps first, or
// fastest lap first; DORA has no lap.
std::unique_ptr<Race> MixedRun() {
  return RunOfDrivers({{"ANNA", {21000, 20500, 20800}},
                       {"BOB", {19000, 25000}},
                       {"CHLOE", {20000, 20100, 20900, 20050}},
                       {"DORA", {}}});
}

void ExpectSameAsResultsTable(const Race& race, const ExportRun& run) {
  ASSERT_EQ(run.driverCount, race.participantCount);
  for (int k = 0; k < run.driverCount; ++k) {
    const ExportDriver& d = run.drivers[k];
    const StandingsEntry& e = race.standings[k];
    const ResultsRow& row = race.rows[k];
    SCOPED_TRACE(e.driverName);
    EXPECT_EQ(d.position, k + 1);
    EXPECT_STREQ(d.driverName, e.driverName);
    EXPECT_EQ(d.slotNumber, e.slotNumber);
    EXPECT_EQ(d.lapCount, e.lapCount);
    EXPECT_EQ(d.totalTime, e.totalTime);
    EXPECT_EQ(d.bestLap, e.bestLap);
    EXPECT_EQ(d.averageLap, e.averageLap);
    EXPECT_EQ(d.worstLap, e.worstLap);
    EXPECT_EQ(d.lastLap, e.lastLap);
    EXPECT_STREQ(d.totalText, row.totalText);
    EXPECT_STREQ(d.bestText, row.bestLapText);
    EXPECT_STREQ(d.averageText, row.averageLapText);
    EXPECT_STREQ(d.worstText, row.worstLapText);
    EXPECT_STREQ(d.lastText, row.lastLapText);
    const ParticipantRecord& slot = race.slots[e.slotNumber - 1];
    ASSERT_EQ(d.laps.lapCount, slot.lapCount);
    for (int lap = 1; lap <= slot.lapCount; ++lap) {
      EXPECT_EQ(d.laps.lapTimes[lap], slot.passageTimes[lap] - slot.passageTimes[lap - 1]);
      EXPECT_EQ(d.laps.passageTimes[lap], slot.passageTimes[lap]);
    }
  }
}

TEST(ExportRunFromRace, RanksAndWritesEveryDriverAsTheResultsTableDoes) {
  for (const char* key : {kRankLapsAndTime, kRankBestLap}) {
    SCOPED_TRACE(key);
    auto race = MixedRun();
    SetText(race->params.classificationKey, key);
    StandardRefresh(*race);  // what the screen shows
    auto run = std::make_unique<ExportRun>();
    BuildRunFromRace(*race, kInfo, *run);
    ExpectSameAsResultsTable(*race, *run);
    EXPECT_EQ(run->rankedByBestLap, std::strcmp(key, kRankBestLap) == 0);
  }
}

TEST(ExportRunFromRace, TheTwoRulesGiveTheirOwnOrder) {
  auto race = MixedRun();
  auto run = std::make_unique<ExportRun>();
  BuildRunFromRace(*race, kInfo, *run);
  EXPECT_STREQ(run->drivers[0].driverName, "CHLOE");  // 4 laps
  EXPECT_STREQ(run->drivers[1].driverName, "ANNA");   // 3 laps
  EXPECT_STREQ(run->drivers[3].driverName, "DORA");   // none
  SetText(race->params.classificationKey, kRankBestLap);
  BuildRunFromRace(*race, kInfo, *run);
  EXPECT_STREQ(run->drivers[0].driverName, "BOB");  // 19.000
  EXPECT_STREQ(run->drivers[3].driverName, "DORA");
}

TEST(ExportRunFromRace, LeavesTheRaceAsItWasAndKeepsTheRunInfo) {
  auto race = MixedRun();
  SetText(race->params.classificationKey, kRankBestLap);  // not yet applied to the standings
  auto before = std::make_unique<Race>(*race);
  auto run = std::make_unique<ExportRun>();
  BuildRunFromRace(*race, kInfo, *run);
  EXPECT_EQ(std::memcmp(before.get(), race.get(), sizeof(Race)), 0);
  EXPECT_EQ(run->runNumber, 3);
  EXPECT_STREQ(run->runCaption, kInfo.runCaption);
  EXPECT_STREQ(run->runTitle, kInfo.runTitle);
  EXPECT_STREQ(run->circuitName, "Les Ormes");
}

TEST(ExportRunFromRace, MarksEveryHolderOfTheRunBestLapAndNoDriverWithoutLaps) {
  auto race = RunOfDrivers(
      {{"ANNA", {20000, 21000}}, {"BOB", {22000, 20000}}, {"CARL", {20500}}, {"DORA", {}}});
  auto run = std::make_unique<ExportRun>();
  BuildRunFromRace(*race, kInfo, *run);
  for (int k = 0; k < run->driverCount; ++k) {
    const ExportDriver& d = run->drivers[k];
    const bool holder =
        std::strcmp(d.driverName, "ANNA") == 0 || std::strcmp(d.driverName, "BOB") == 0;
    EXPECT_EQ(d.bestOfRun, holder) << d.driverName;
  }
}

TEST(ExportRunFromRace, AnEmptyTableGivesARunWithoutDrivers) {
  auto race = RunOfDrivers({});
  auto run = std::make_unique<ExportRun>();
  BuildRunFromRace(*race, kInfo, *run);
  EXPECT_EQ(run->driverCount, 0);
}

TEST(ArchivedRunExport, HasTheRunWindowStatisticsAndHeadingLine) {
  auto archived = ArchivedRunOf("Léa", {20400, 20400, 21000, 22500}, " CLUB - Run12 ",
                                "Start 2026/05/01 14:03:10 - Duration 0:05:00", "Les Ormes");
  ExportSession session;
  BuildArchivedRunExport(*archived, session);
  ASSERT_EQ(session.runs.size(), 1u);
  const ExportRun& run = session.runs[0];
  EXPECT_EQ(run.runNumber, 12);
  EXPECT_STREQ(run.circuitName, "Les Ormes");
  ASSERT_EQ(run.driverCount, 1);
  const ExportDriver& d = run.drivers[0];
  EXPECT_EQ(d.position, 1);
  EXPECT_STREQ(d.driverName, "Léa");

  RunLaps laps;
  LoadRunLaps(archived->participant, laps);
  LapSummary summary;
  std::memset(&summary, 0, sizeof summary);
  Summarise(laps, 1, 4, summary);
  EXPECT_EQ(d.lapCount, 4);
  EXPECT_EQ(d.totalTime, archived->participant.passageTimes[4]);
  EXPECT_EQ(d.bestLap, summary.bestLap);
  EXPECT_EQ(d.worstLap, summary.worstLap);
  EXPECT_EQ(d.averageLap, summary.averageLap);
  EXPECT_EQ(d.lastLap, 22500);
  char text[kTimeTextCapacity];
  EXPECT_STREQ(d.bestText, LapTimeText(summary.bestLap, text, sizeof text));
  EXPECT_STREQ(d.totalText, FormatTotalTime(SplitTime(84300), text, sizeof text));
  EXPECT_STREQ(session.title, " CLUB - Run12  : Léa");
}

TEST(ArchivedRunExport, ARunWithoutLapsHasItsDriverAndNoTimes) {
  auto archived = ArchivedRunOf("ANNA", {}, " CLUB - Run1 ", ".", "");
  ExportSession session;
  BuildArchivedRunExport(*archived, session);
  ASSERT_EQ(session.runs.size(), 1u);
  ASSERT_EQ(session.runs[0].driverCount, 1);
  const ExportDriver& d = session.runs[0].drivers[0];
  EXPECT_EQ(d.lapCount, 0);
  EXPECT_EQ(d.bestLap, 0);
  EXPECT_EQ(d.totalTime, 0);
  EXPECT_FALSE(d.bestOfRun);
}

TEST(DriverRunExport, TakesOnlyTheNameAndPassageTimesOfTheRecord) {
  auto archived = ArchivedRunOf("ANNA", {20000, 22000, 21000}, "", "", "");
  ParticipantRecord record = archived->participant;
  // Whatever else the record holds (a run synthesis hands over a live participant) is not used.
  record.bestLap = 1;
  record.worstLap = 2;
  record.averageLap = 3;
  record.lastLap = 4;
  record.slotNumber = 17;
  ExportSession session;
  BuildDriverRunExport(record, nullptr, nullptr, nullptr, session);
  ASSERT_EQ(session.runs.size(), 1u);
  const ExportDriver& d = session.runs[0].drivers[0];
  EXPECT_EQ(d.bestLap, 20000);
  EXPECT_EQ(d.worstLap, 22000);
  EXPECT_EQ(d.averageLap, 21000);
  EXPECT_EQ(d.lastLap, 21000);
  EXPECT_EQ(d.slotNumber, 1);
  EXPECT_EQ(session.runs[0].runNumber, 0);
  EXPECT_STREQ(session.title, " : ANNA");
}

TEST(RunNumberOfCaption, ReadsTheLastRunNumberOfTheCaption) {
  EXPECT_EQ(RunNumberOfCaption(" CLUB - Run3 "), 3);
  EXPECT_EQ(RunNumberOfCaption(" Run5 Day - Run20 "), 20);
  EXPECT_EQ(RunNumberOfCaption(" CLUB - Run21 "), 0);
  EXPECT_EQ(RunNumberOfCaption(" CLUB - Run "), 0);
  EXPECT_EQ(RunNumberOfCaption(" CLUB - Run3x "), 0);
  EXPECT_EQ(RunNumberOfCaption("CLUB - Run99999999999 "), 0);
  EXPECT_EQ(RunNumberOfCaption(""), 0);
  EXPECT_EQ(RunNumberOfCaption(nullptr), 0);
}

}  // namespace
}  // namespace zarvo
