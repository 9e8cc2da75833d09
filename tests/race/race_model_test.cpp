// The participants table, standings and rows: reset, rebuild, setup sheet layout, defaults.
#include "race/race_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::MakeRace;

TEST(ResetTable, EmptySlotIsFinishedWithSentinelTimes) {
  auto race = MakeRace({{"ANNA", "004711"}});
  const ParticipantRecord& empty = race->slots[5];
  EXPECT_TRUE(empty.finished);
  EXPECT_EQ(empty.bestLap, kEmptySlotTime);
  EXPECT_EQ(empty.passageTimes[0], kEmptySlotTime);
  EXPECT_EQ(empty.passageTimes[999], kEmptySlotTime);
  EXPECT_EQ(empty.slotNumber, 6);

  const ParticipantRecord& anna = race->slots[0];
  EXPECT_FALSE(anna.finished);
  EXPECT_EQ(anna.bestLap, 0);
  EXPECT_EQ(anna.passageTimes[999], 0);
}

TEST(ResetTable, KeepsNamesTranspondersSetupAndScanFlag) {
  auto race = MakeRace({{"ANNA", "004711"}});
  ParticipantRecord& p = race->slots[0];
  SetText(p.setup.carName, "Buggy");
  p.scanSettled = true;
  p.lapCount = 12;
  p.ownStart = 4000;
  p.runBestHolder = true;
  p.passageTimes[12] = 360000;
  ResetTable(*race);
  EXPECT_STREQ(p.driverName, "ANNA");
  EXPECT_STREQ(p.transponder, "004711");
  EXPECT_STREQ(p.setup.carName, "Buggy");
  EXPECT_TRUE(p.scanSettled);
  EXPECT_EQ(p.lapCount, 0);
  EXPECT_EQ(p.ownStart, 0);
  EXPECT_FALSE(p.runBestHolder);
  EXPECT_EQ(p.passageTimes[12], 0);
}

TEST(EmptySlotName, OnlyTheExactTextMarksAnEmptySlot) {
  auto race = MakeRace({{"(NA)", ""}, {"(na)", ""}, {"(NA) Bob", ""}, {"(NA)", ""}});
  EXPECT_TRUE(race->slots[0].finished);
  EXPECT_FALSE(race->slots[1].finished);
  EXPECT_FALSE(race->slots[2].finished);
  EXPECT_EQ(race->participantCount, 2);
  EXPECT_STREQ(race->standings[0].driverName, "(na)");
  EXPECT_EQ(race->standings[0].slotNumber, 2);
  EXPECT_STREQ(race->standings[1].driverName, "(NA) Bob");
}

TEST(RebuildStandings, FillsOccupiedSlotsInOrderAndMarksTheRestUnused) {
  auto race = MakeRace({{"ANNA", "000001"}, {"(NA)", ""}, {"BOB", "000002"}});
  EXPECT_EQ(RebuildStandings(*race), 2);
  EXPECT_EQ(race->standings[0].slotNumber, 1);
  EXPECT_EQ(race->standings[1].slotNumber, 3);
  EXPECT_STREQ(race->standings[1].transponder, "000002");
  EXPECT_FALSE(race->standings[1].finished);
  EXPECT_EQ(race->standings[2].slotNumber, 0);
  EXPECT_TRUE(race->standings[2].finished);
  EXPECT_STREQ(race->standings[2].driverName, "");
}

TEST(RebuildRows, WritesNamesMarkerSlotAndLapTextsOnly) {
  auto race = MakeRace({{"(NA)", ""}, {"(NA)", ""}, {"CLARA", "012345"}});
  const ResultsRow& row = race->rows[0];
  EXPECT_STREQ(row.driverName, "CLARA");
  EXPECT_STREQ(row.transponder, "012345");
  EXPECT_STREQ(row.marker, "\xA4");
  EXPECT_STREQ(row.slotText, " 3 ");
  EXPECT_STREQ(row.lapsText, "0");
  EXPECT_STREQ(row.totalText, "");
  EXPECT_STREQ(race->rows[1].driverName, "");
  EXPECT_STREQ(race->rows[1].marker, "");
}

TEST(RebuildRows, NoOccupiedSlotGivesNoParticipantAndEmptyRows) {
  auto race = MakeRace({});
  EXPECT_EQ(race->participantCount, 0);
  for (const ResultsRow& row : race->rows) {
    EXPECT_STREQ(row.driverName, "");
    EXPECT_STREQ(row.marker, "");
  }
}

TEST(SetupSheet, FortyNineFieldsInOrderWithTheirCapacities) {
  const int expected[kSetupFieldCount] = {
      40, 30, 20, 20, 20, 20, 20, 40, 20, 20, 20, 15,  // track .. ratio
      20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20,  // diffs .. wheelbase
      15, 15, 15, 15, 15, 15, 15, 15, 15, 15,  // ride height .. toe
      20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20};  // body .. throttle servo
  SetupSheet sheet;
  size_t total = 0;
  for (int i = 0; i < kSetupFieldCount; ++i) {
    EXPECT_EQ(SetupFieldCapacity(i), expected[i]) << "field " << i + 1;
    // Fields follow one another without gaps, so the index order is the declaration order.
    EXPECT_EQ(SetupField(sheet, i), reinterpret_cast<char*>(&sheet) + total) << "field " << i + 1;
    total += expected[i];
  }
  EXPECT_EQ(total, sizeof(SetupSheet));
  EXPECT_EQ(SetupField(sheet, 0), sheet.trackConditions);
  EXPECT_EQ(SetupField(sheet, 11), sheet.ratio);
  EXPECT_EQ(SetupField(sheet, 48), sheet.throttleServo);
}

TEST(RaceParameters, DefaultsOfANewSession) {
  RaceParameters params;
  SetDefaultRaceParameters(params);
  EXPECT_STREQ(params.classificationKey, "CLASSEMENTToursTemps");
  EXPECT_STREQ(params.durationMode, "DUREESERIETemps");
  EXPECT_STREQ(params.startMode, "DEPARTDecale");
  EXPECT_STREQ(params.endRuleTime, "FINTEMPSFinirTour");
  EXPECT_STREQ(params.endRuleLaps, "FINTOURFaireTousLesTours");
  EXPECT_EQ(params.durationMinutes, 1);
  EXPECT_EQ(params.lapTarget, 1);
  EXPECT_EQ(params.countdownSeconds, 5);
  EXPECT_EQ(params.circuitIndex, kNoCircuit);
  EXPECT_EQ(params.minimumLapSeconds, 2);
  EXPECT_EQ(params.maximumLapCount, 999);
  EXPECT_EQ(params.lapRunLimitHours, 12);

  params.durationMinutes = 125;
  SplitDuration(params);
  EXPECT_EQ(params.durationHours, 2);
  EXPECT_EQ(params.durationMinutesPart, 5);
}

}  // namespace
}  // namespace zarvo
