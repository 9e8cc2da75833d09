// Passage processing: acceptance, lap bookkeeping, best laps, records, finish rule, lap ceiling,
// sound cues and the radio-conflict check.
#include "race/passage.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::RecordingHost;
using testing::TimingFixture;
using Cue = RecordingHost::CueEvent;

TEST(Acceptance, CandidateLapMustExceedTheMinimumLapTimeStrictly) {
  TimingFixture f({{"ANNA", "004711"}});
  ASSERT_EQ(f.race->params.minimumLapSeconds, 2);
  f.Pass("004711", 10000);  // starts ANNA's own clock
  EXPECT_EQ(f.Pass("004711", 12000), 0) << "exactly 2000 ms";
  EXPECT_EQ(f.Pass("004711", 12001), 1) << "2001 ms";
  EXPECT_EQ(f.race->slots[0].lapCount, 1);
  EXPECT_EQ(f.race->slots[0].lastLap, 2001);
}

// A huge minimum lap time (set by hand or read from a damaged file) rejects, never wraps round
// into a negative filter that accepts every crossing.
TEST(Acceptance, AHugeMinimumLapTimeRejectsInsteadOfAcceptingEverything) {
  TimingFixture f({{"ANNA", "004711"}});
  f.race->params.minimumLapSeconds = 2147483;  // * 1000 is beyond 32 bits
  f.Pass("004711", 10000);
  EXPECT_EQ(f.Pass("004711", 60000), 0);
  EXPECT_EQ(f.race->slots[0].lapCount, 0);
}

TEST(Acceptance, FirstCrossingIsAlwaysAcceptedAndOnlyStartsTheOwnClock) {
  TimingFixture f({{"ANNA", "004711"}});
  EXPECT_EQ(f.Pass("004711", 500), 1);
  const ParticipantRecord& p = f.race->slots[0];
  EXPECT_EQ(p.lapCount, 0);
  EXPECT_EQ(p.ownStart, 500);
  EXPECT_EQ(p.passageTimes[0], 0);
  EXPECT_EQ(p.lastLap, 500) << "the time from the race start to the first crossing";
  EXPECT_EQ(f.Pass("004711", 1900), 0) << "second crossing within the minimum lap time";
  EXPECT_EQ(p.lapCount, 0);
  EXPECT_EQ(f.Pass("004711", 31000), 1);
  EXPECT_EQ(p.lapCount, 1);
  EXPECT_EQ(p.passageTimes[1], 30500);
}

TEST(Acceptance, UnknownAndFinishedTranspondersAreDropped) {
  TimingFixture f({{"ANNA", "004711"}, {"BOB", "000002"}});
  f.race->slots[1].finished = true;
  EXPECT_EQ(f.Pass("999999", 500), 0);
  EXPECT_EQ(f.Pass("000002", 500), 0);
  EXPECT_EQ(f.Pass("04711", 500), 0) << "transponders are compared as whole texts";
  EXPECT_TRUE(f.host.cues.empty());
  EXPECT_EQ(f.race->slots[1].lapCount, 0);
}

TEST(Acceptance, TwoSlotsSharingATransponderBothScore) {
  TimingFixture f({{"ANNA", "004711"}, {"BOB", "000002"}, {"CLARA", "004711"}});
  EXPECT_EQ(f.Pass("004711", 1000), 2);
  EXPECT_EQ(f.Pass("004711", 31000), 2);
  EXPECT_EQ(f.race->slots[0].lapCount, 1);
  EXPECT_EQ(f.race->slots[2].lapCount, 1);
  EXPECT_EQ(f.race->slots[1].lapCount, 0);
}

TEST(LapBookkeeping, BestWorstAndTruncatedAverageOnTheOwnClock) {
  TimingFixture f({{"ANNA", "004711"}});
  f.Pass("004711", 20000);  // own start at 20 s
  f.Pass("004711", 50000);  // 30000
  f.Pass("004711", 85000);  // 35000
  f.Pass("004711", 120000);  // 35000 -> total 100000 in 3 laps
  const ParticipantRecord& p = f.race->slots[0];
  EXPECT_EQ(p.lapCount, 3);
  EXPECT_EQ(p.passageTimes[3], 100000);
  EXPECT_EQ(p.bestLap, 30000);
  EXPECT_EQ(p.worstLap, 35000);
  EXPECT_EQ(p.averageLap, 33333);
  EXPECT_EQ(f.race->standings[0].totalTime, 100000);
  EXPECT_STREQ(f.race->rows[0].totalText, "1:40.000");
  EXPECT_STREQ(f.race->rows[0].averageLapText, "33.333");
}

TEST(LapBookkeeping, CommonStartCountsTheFirstCrossingAsALapAndKeepsNoStatistics) {
  TimingFixture f({{"ANNA", "004711"}});
  SetText(f.race->params.startMode, "DEPARTCommun");
  f.Pass("004711", 20000);
  f.Pass("004711", 50000);
  const ParticipantRecord& p = f.race->slots[0];
  EXPECT_EQ(p.lapCount, 2);
  EXPECT_EQ(p.ownStart, 0);
  EXPECT_EQ(p.passageTimes[1], 20000);
  EXPECT_EQ(p.passageTimes[2], 50000);
  EXPECT_EQ(p.lastLap, 30000);
  EXPECT_EQ(p.bestLap, 0);
  EXPECT_EQ(p.averageLap, 0);
}

TEST(LapBookkeeping, TheLapJustRecordedIsFlaggedInTheRowsOfThatRefreshOnly) {
  TimingFixture f({{"ANNA", "004711"}, {"BOB", "000002"}});
  f.Pass("000002", 1000);
  EXPECT_TRUE(f.race->rows[0].lapRecorded);
  EXPECT_STREQ(f.race->rows[0].driverName, "BOB");
  EXPECT_FALSE(f.race->slots[1].lapRecorded) << "cleared once sounds and repaint are done";
  EXPECT_EQ(f.host.repaints, 1);
}

TEST(ManualLap, ButtonsMapOntoSlotsAndLapsAreAlwaysAccepted) {
  EXPECT_EQ(ManualLapSlot(2201), 1);
  EXPECT_EQ(ManualLapSlot(2220), 20);
  EXPECT_EQ(ManualLapSlot(2200), 0);
  EXPECT_EQ(ManualLapSlot(2221), 0);

  TimingFixture f({{"ANNA", "004711"}, {"BOB", "000002"}});
  f.race->run.counterFrequency = 10000000;  // 10 MHz
  f.race->run.raceStartCounter = 5000000;
  EXPECT_TRUE(ManualLap(f.ctx, 2, 5000000 + 10000000));      // 1 s: own start
  EXPECT_TRUE(ManualLap(f.ctx, 2, 5000000 + 310000000));     // 31 s: lap 1
  EXPECT_TRUE(ManualLap(f.ctx, 2, 5000000 + 311000000));     // 100 ms later: lap 2
  const ParticipantRecord& bob = f.race->slots[1];
  EXPECT_EQ(bob.lapCount, 2);
  EXPECT_EQ(bob.lastLap, 100);
  EXPECT_EQ(bob.passageCounter, 5000000 + 311000000);
  EXPECT_EQ(bob.passageTimes[2], 30100);
  EXPECT_EQ(f.race->slots[0].lapCount, 0);
}

TEST(ManualLap, ActsOnlyWhileRunningOnAnUnfinishedSlot) {
  TimingFixture f({{"ANNA", "004711"}});
  f.race->run.counterFrequency = 1000;
  EXPECT_FALSE(ManualLap(f.ctx, 3, 5000)) << "empty slot";
  f.race->run.raceRunning = false;
  EXPECT_FALSE(ManualLap(f.ctx, 1, 5000));
  f.race->run.raceRunning = true;
  f.race->slots[0].finished = true;
  EXPECT_FALSE(ManualLap(f.ctx, 1, 5000));
  EXPECT_FALSE(ManualLap(f.ctx, 0, 5000));
  EXPECT_FALSE(ManualLap(f.ctx, 21, 5000));
}

TEST(ManualLap, WithoutACounterFrequencyThePreviousPassageTimeIsUsed) {
  TimingFixture f({{"ANNA", "004711"}});
  f.Pass("004711", 7000);
  f.race->run.counterFrequency = 0;
  EXPECT_TRUE(ManualLap(f.ctx, 1, 123456789));
  EXPECT_EQ(f.race->slots[0].passageRaceTime, 7000);
  EXPECT_EQ(f.race->slots[0].lapCount, 1);
  EXPECT_EQ(f.race->slots[0].lastLap, 0);
}

TEST(PcRaceTime, ComputedIn64BitsAndTruncated) {
  RunState run = {};
  run.raceStartCounter = 1000;
  run.counterFrequency = 3;
  EXPECT_EQ(PcRaceTime(run, 1000 + 2), 666);
  run.counterFrequency = 10000000;
  run.raceStartCounter = 0;
  // Twelve hours at 10 MHz overflows 32 bits in the counter but not the result.
  EXPECT_EQ(PcRaceTime(run, int64_t(12) * 3600 * 10000000), 43200000);
}

TEST(EarlyPassage, BuzzOnlyMoreThanTwoSecondsAfterTheLapAndOnceASecond) {
  TimingFixture f({{"ANNA", "004711"}});
  f.race->params.minimumLapSeconds = 10;
  f.Pass("004711", 1000);   // own start
  f.Pass("004711", 31000);  // lap 1 at own time 30000
  f.host.cues.clear();
  f.Pass("004711", 32500);  // 1.5 s after the lap: silent
  EXPECT_TRUE(f.host.cues.empty());
  f.Pass("004711", 34000);  // 3 s after: buzz
  EXPECT_EQ(f.host.cues, (std::vector<Cue>{{SoundCue::kEarlyPassage, 1}}));
  f.Pass("004711", 34500);  // 0.5 s after the buzz: silent
  EXPECT_EQ(f.host.cues.size(), 1u);
  f.Pass("004711", 35100);  // 1.1 s after the buzz: buzzes again
  EXPECT_EQ(f.host.cues.size(), 2u);
  EXPECT_EQ(f.race->slots[0].lapCount, 1);
}

TEST(EarlyPassage, SilentWhenThePassageSoundIsOff) {
  TimingFixture f({{"ANNA", "004711"}});
  SetText(f.sounds.passage, kSoundPassageOff);
  f.race->params.minimumLapSeconds = 10;
  f.Pass("004711", 1000);
  f.Pass("004711", 5000);
  EXPECT_TRUE(f.host.cues.empty());
}

TEST(SoundCues, FirstLapIsAPassageThenImprovementsAreBestLaps) {
  TimingFixture f({{"ANNA", "004711"}});
  f.Pass("004711", 1000);   // own start: a passage cue
  f.Pass("004711", 31000);  // first lap sets the best but is never announced as one
  f.Pass("004711", 60000);  // 29000: new best
  f.Pass("004711", 95000);  // 35000: passage
  EXPECT_EQ(f.host.cues, (std::vector<Cue>{{SoundCue::kPassage, 1},
                                            {SoundCue::kPassage, 1},
                                            {SoundCue::kBestLap, 1},
                                            {SoundCue::kPassage, 1}}));
}

TEST(SoundCues, BestLapSoundOffGivesThePassageCue) {
  TimingFixture f({{"ANNA", "004711"}});
  SetText(f.sounds.bestLap, kSoundBestLapOff);
  f.Pass("004711", 1000);
  f.Pass("004711", 31000);
  f.Pass("004711", 60000);
  EXPECT_EQ(f.host.cues.back(), (Cue{SoundCue::kPassage, 1}));
}

TEST(RunBest, TheSingleHolderMovesToTheFasterParticipant) {
  TimingFixture f({{"ANNA", "000001"}, {"BOB", "000002"}});
  f.race->run.runBestLap = kNoRunBest;
  f.Pass("000001", 1000);
  f.Pass("000002", 1500);
  f.Pass("000001", 31000);  // ANNA 30000
  EXPECT_TRUE(f.race->slots[0].runBestHolder);
  EXPECT_EQ(f.race->run.runBestLap, 30000);
  f.Pass("000002", 30500);  // BOB 29000
  EXPECT_FALSE(f.race->slots[0].runBestHolder);
  EXPECT_TRUE(f.race->slots[1].runBestHolder);
  EXPECT_EQ(f.race->run.runBestLap, 29000);
  f.Pass("000001", 60500);  // ANNA 29500: not the run best
  EXPECT_TRUE(f.race->slots[1].runBestHolder);
  EXPECT_FALSE(f.race->slots[0].runBestHolder);
}

TEST(CircuitRecord, ImprovedByABetterBestLapOfTheSessionsCircuit) {
  TimingFixture f({{"ANNA", "000001"}});
  f.race->params.circuitIndex = 3;
  CircuitRecord& circuit = f.circuits->records[3];
  circuit.recordLap = 30100;
  f.Pass("000001", 1000);
  f.Pass("000001", 31500);  // 30500: not a record
  EXPECT_EQ(circuit.recordLap, 30100);
  f.Pass("000001", 61500);  // 30000: record
  EXPECT_EQ(circuit.recordLap, 30000);
  EXPECT_STREQ(circuit.recordHolder, "ANNA");
  EXPECT_STREQ(circuit.recordLapText, "30.000");
}

TEST(CircuitRecord, FirstRecordOfACircuitAndNoCircuitAtAll) {
  TimingFixture f({{"ANNA", "000001"}});
  f.race->params.circuitIndex = 0;
  f.Pass("000001", 1000);
  f.Pass("000001", 62345);
  EXPECT_EQ(f.circuits->records[0].recordLap, 61345);
  EXPECT_STREQ(f.circuits->records[0].recordLapText, "1:01.345");

  TimingFixture g({{"ANNA", "000001"}});
  g.race->params.circuitIndex = kNoCircuit;
  g.Pass("000001", 1000);
  g.Pass("000001", 31000);
  for (const CircuitRecord& c : g.circuits->records) EXPECT_EQ(c.recordLap, 0);
}

TEST(FinishRule, StaggeredTimeRunFinishesOnTheParticipantsOwnClock) {
  TimingFixture f({{"ANNA", "000001"}});
  f.race->params.durationMinutes = 5;
  f.Pass("000001", 20000);  // starts 20 s after the race start
  int32_t t = 20000;
  for (int lap = 0; lap < 9; ++lap) f.Pass("000001", t += 30000);  // own time 4:30
  EXPECT_FALSE(f.race->slots[0].finished);
  f.Pass("000001", 319000);  // race clock past 5:00 but own clock 4:59
  EXPECT_FALSE(f.race->slots[0].finished);
  f.host.cues.clear();
  f.Pass("000001", 350000);  // own clock 5:30
  EXPECT_TRUE(f.race->slots[0].finished);
  // The finishing lap is announced as the finish only, not as a passage.
  EXPECT_EQ(f.host.cues, (std::vector<Cue>{{SoundCue::kDriverFinished, 1}}));
  const size_t before = f.host.cues.size();
  EXPECT_EQ(f.Pass("000001", 380000), 0) << "a finished participant scores no more";
  EXPECT_EQ(f.host.cues.size(), before);
}

TEST(FinishRule, StaggeredLapRunFinishesAtTheLapTarget) {
  TimingFixture f({{"ANNA", "000001"}, {"BOB", "000002"}});
  SetText(f.race->params.durationMode, kDurationLaps);
  f.race->params.lapTarget = 2;
  for (int32_t t : {1000, 31000, 61000}) f.Pass("000002", t);
  EXPECT_TRUE(f.race->slots[1].finished);
  EXPECT_EQ(f.host.cues.back(), (Cue{SoundCue::kDriverFinished, 2}));
  EXPECT_FALSE(f.race->slots[0].finished);
}

TEST(LapCeiling, The999thLapStopsATimeRunWithoutAFinishCue) {
  TimingFixture f({{"ANNA", "000001"}, {"BOB", "000002"}});
  f.race->params.durationMinutes = 720;
  f.Pass("000001", 1000);
  for (int lap = 1; lap <= 998; ++lap) f.Pass("000001", 1000 + lap * 3000);
  EXPECT_EQ(f.host.stops, 0);
  EXPECT_TRUE(f.race->run.raceRunning);
  f.host.cues.clear();
  f.Pass("000001", 1000 + 999 * 3000);
  EXPECT_EQ(f.race->slots[0].lapCount, 999);
  EXPECT_EQ(f.host.stops, 1);
  EXPECT_FALSE(f.race->run.raceRunning);
  EXPECT_TRUE(f.host.cues.empty()) << "stopped: neither passage nor finish cue";
}

TEST(LapCeiling, ALapRunWithACommonStartFinishesTheParticipantAt999Laps) {
  TimingFixture f({{"ANNA", "000001"}});
  SetText(f.race->params.durationMode, kDurationLaps);
  SetText(f.race->params.startMode, "DEPARTCommun");
  f.race->params.lapTarget = 999;
  for (int lap = 1; lap <= 999; ++lap) f.Pass("000001", lap * 3000);
  const ParticipantRecord& p = f.race->slots[0];
  EXPECT_EQ(p.lapCount, 999);
  EXPECT_TRUE(p.finished);
  EXPECT_EQ(f.host.stops, 0) << "the ceiling stops time runs only";
  EXPECT_EQ(f.host.cues.back(), (Cue{SoundCue::kDriverFinished, 1}));
  EXPECT_EQ(f.Pass("000001", 1000 * 3000), 0);
  EXPECT_EQ(p.lapCount, 999);
  EXPECT_EQ(p.passageTimes[999], 999 * 3000);
}

TEST(RadioConflict, SameFrequencyOfTwoParticipantsExceptEmptyAnd24Ghz) {
  TimingFixture f({{"ANNA", "000001"}, {"BOB", "000002"}, {"CLARA", "000003"}});
  ParticipantsList list = {};
  const char* names[] = {"CLARA", "BOB", "ANNA"};
  for (int i = 0; i < 3; ++i) SetText(list.entries[i].driverName, names[i]);
  for (int i = 3; i < kSlotCount; ++i) SetText(list.entries[i].driverName, kNoDriver);

  EXPECT_FALSE(RadioConflict(*f.race, list)) << "all frequencies empty";
  SetText(list.entries[0].frequencies[0], "2.4Ghz");
  SetText(list.entries[2].frequencies[0], "2.4Ghz");
  EXPECT_FALSE(RadioConflict(*f.race, list));
  SetText(list.entries[1].frequencies[0], "27.145");
  SetText(list.entries[2].frequencies[0], "27.145");
  EXPECT_TRUE(RadioConflict(*f.race, list));
  SetText(list.entries[2].frequencies[0], "27.14");
  EXPECT_FALSE(RadioConflict(*f.race, list)) << "compared exactly";
  SetText(list.entries[2].frequencies[0], "27.155");
  SetText(list.entries[2].frequencies[1], "27.145");
  EXPECT_FALSE(RadioConflict(*f.race, list)) << "only the first frequency counts";
  SetText(list.entries[2].driverName, "DAVID");
  SetText(list.entries[2].frequencies[0], "27.145");
  EXPECT_FALSE(RadioConflict(*f.race, list)) << "ANNA has no list entry";
}

}  // namespace
}  // namespace zarvo
