// Race control at simulated time: countdown, start, race clock, end rules, stop, clear, scan and
// check, and the sounds they play.
#include "race/race_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::Drivers;

// A fresh race, ready to start, with every sound on in English, and the fakes around it.
class RaceControlTest : public ::testing::Test {
 protected:
  void Setup(Drivers drivers) {
    race = testing::MakeRace(drivers);
    std::memset(&race->run, 0, sizeof race->run);
    race->run.ready = true;
    race->params.durationMinutes = 5;
    SplitDuration(race->params);
    circuits = std::make_unique<CircuitTable>();
    std::memset(circuits.get(), 0, sizeof(CircuitTable));
    sounds = testing::AllSoundsOn();
    list = {};
    int k = 0;
    for (const auto& [name, transponder] : drivers) {
      SetText(list.entries[k].driverName, name);
      SetText(list.entries[k].transponder, transponder);
      ++k;
    }
    for (; k < kSlotCount; ++k) SetText(list.entries[k].driverName, kNoDriver);
    ui = std::make_unique<testing::RecordingRaceUi>(race.get());
    control = std::make_unique<RaceControl>(RaceControlWorld{
        *race, *circuits, sounds, list, clock, player, boxes, *ui, decoder, archive});
    control->PrepareClockTexts();
  }

  // Runs the 10 ms timer for ms milliseconds.
  void RunFor(int64_t ms, int64_t step = 10) {
    for (int64_t t = 0; t < ms; t += step) {
      clock.Advance(step);
      control->OnTick();
    }
  }
  // Runs the timer until the race clock (ms since the start) reaches raceTime.
  void RunUntilRaceTime(int64_t raceTime) {
    while (static_cast<int64_t>(clock.TickCount() - race->run.raceStartTick) < raceTime) {
      clock.Advance(10);
      control->OnTick();
    }
  }
  // A passage at the current race time, read on the next tick (Orix: decoder clock zeroed).
  void Pass(const char* transponder) {
    const int32_t raceTime = static_cast<int32_t>(clock.TickCount() - race->run.raceStartTick);
    decoder.QueueDecoderPassage(transponder, raceTime);
    clock.Advance(10);
    control->OnTick();
  }
  // Presses "Start" and runs the countdown until the run runs.
  void StartRun() {
    control->OnStart();
    for (int i = 0; i < 100000 && !race->run.raceRunning; ++i) RunFor(10);
    ASSERT_TRUE(race->run.raceRunning);
  }
  std::vector<std::string> Played() const {
    std::vector<std::string> files;
    for (const auto& p : player.played) files.push_back(p.file);
    return files;
  }
  int CountPlayed(const std::string& file) const {
    const auto files = Played();
    return static_cast<int>(std::count(files.begin(), files.end(), file));
  }

  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  SoundSettings sounds;
  ParticipantsList list;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> control;
};

TEST_F(RaceControlTest, FiveSecondCountdownShowsEverySecondAndAnnouncesEachOnce) {
  Setup({{"ANNA", "000001"}});
  EXPECT_STREQ(race->run.countdownText, "5s");
  control->OnStart();
  ASSERT_FALSE(player.played.empty());
  EXPECT_EQ(player.played[0].file, "sons/nokia-sms.wav");
  EXPECT_TRUE(player.played[0].wait) << "the opening sound plays to its end first";
  RunFor(4990);
  EXPECT_FALSE(race->run.raceRunning);
  RunFor(30);
  EXPECT_TRUE(race->run.raceRunning) << "about 5 s after Start";
  // "5s" stands from before the start; each later second is shown once, then "0s" at the start.
  EXPECT_EQ(ui->countdownTexts, (std::vector<std::string>{"4s", "3s", "2s", "1s", "0s"}));
  EXPECT_EQ(Played(), (std::vector<std::string>{"sons/nokia-sms.wav", "sons/cinqGB.wav",
                                                "sons/quatreGB.wav", "sons/troisGB.wav",
                                                "sons/deuxGB.wav", "sons/unGB.wav",
                                                "sons/foghorn.wav"}));
  EXPECT_EQ(player.played[1].wait, false);
}

TEST_F(RaceControlTest, CountdownOfOneSecondHasNoOpeningAndSpeaksFrench) {
  Setup({{"ANNA", "000001"}});
  SetText(sounds.language, kSoundFrench);
  race->params.countdownSeconds = 1;
  StartRun();
  EXPECT_EQ(Played(), (std::vector<std::string>{"sons/un.wav", "sons/foghorn.wav"}));
}

TEST_F(RaceControlTest, CountdownZeroStartsOnTheFirstTick) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  control->OnStart();
  RunFor(10);
  EXPECT_TRUE(race->run.raceRunning);
  EXPECT_FALSE(race->run.ready);
  EXPECT_STREQ(race->rows[0].totalText, "00:00.000");
  EXPECT_STREQ(race->run.runTitle, TXT_RUN_TITLE[0] == 'S'
                                       ? "Start 2026/12/07 14:03:10 - Duration 0:05:00"
                                       : "D\xE9part 2026/12/07 14:03:10 - Dur\xE9" "e 0:05:00");
}

TEST_F(RaceControlTest, StopDuringTheCountdownDisarmsAndSavesNothing) {
  Setup({{"ANNA", "000001"}});
  control->OnStart();
  RunFor(2000);
  EXPECT_TRUE(control->Busy());
  control->OnStop();
  RunFor(5000);
  EXPECT_FALSE(race->run.raceRunning);
  EXPECT_FALSE(race->run.startArmed);
  EXPECT_FALSE(control->Busy());
  EXPECT_TRUE(archive.runs.empty());
  EXPECT_EQ(archive.circuitWrites, 0);
  EXPECT_EQ(CountPlayed("sons/truckhorn.wav"), 0);
  EXPECT_TRUE(race->run.ready) << "nothing was timed: Start is still allowed";
}

TEST_F(RaceControlTest, StartAndTheLockedItemsDuringARun) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  control->SetHasSavedFile(false);
  StartRun();
  for (int id : {IDM_NEW_SESSION, IDM_SAVE, IDM_QUIT, IDM_CIRCUITS, IDM_SOUND, IDM_DISPLAY}) {
    EXPECT_FALSE(ui->menuEnabled[id]) << id;
  }
  EXPECT_EQ(ui->menuEnabled.count(IDM_INTERFACE), 0u) << "the interface item stays available";
  EXPECT_EQ(ui->menuEnabled.count(IDM_HELP), 0u);
  EXPECT_FALSE(ui->controlEnabled[IDC_START]);
  EXPECT_FALSE(ui->controlEnabled[IDC_SESSION_TREE]);
  EXPECT_EQ(ui->controlEnabled.count(IDC_STOP), 0u) << "Stop stays enabled";
  control->OnStop();
  EXPECT_TRUE(ui->menuEnabled[IDM_NEW_SESSION]);
  EXPECT_FALSE(ui->menuEnabled[IDM_SAVE]) << "the session has no file yet";
  EXPECT_TRUE(ui->controlEnabled[IDC_START]);
}

TEST_F(RaceControlTest, SaveIsEnabledAgainAfterARunWhenTheSessionHasAFile) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  control->SetHasSavedFile(true);
  StartRun();
  EXPECT_FALSE(ui->menuEnabled[IDM_SAVE]);
  control->OnStop();
  EXPECT_TRUE(ui->menuEnabled[IDM_SAVE]);
}

TEST_F(RaceControlTest, FiveMinuteTimeRunClockCountsDownAndRunGoesOnUntilAllFinish) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(150);
  EXPECT_STREQ(race->run.remainingText, "0:05:00");
  EXPECT_EQ(race->run.remainingMinutes, 5);
  EXPECT_STREQ(race->run.durationText, "0:05:00");
  EXPECT_STREQ(race->run.elapsedText, "0:00:00");
  RunUntilRaceTime(299990);
  EXPECT_EQ(race->run.remainingSeconds, 1);
  RunUntilRaceTime(300001);
  EXPECT_EQ(race->run.remainingMinutes, 0);
  EXPECT_EQ(race->run.remainingSeconds, 0) << "0:00:00 from 5:00.001 on";
  RunUntilRaceTime(300150);
  EXPECT_STREQ(race->run.remainingText, "0:00:00");
  EXPECT_STREQ(race->run.elapsedText, "0:05:00");
  RunFor(60000);
  EXPECT_TRUE(race->run.raceRunning) << "a time run ends when every participant has finished";
}

TEST_F(RaceControlTest, StaggeredTimeRunEndsWhenEveryoneHasPassedAfterHisOwnDuration) {
  Setup({{"ANNA", "000001"}, {"BOB", "000002"}});
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(1000);
  Pass("000001");  // ANNA starts at 1 s
  RunUntilRaceTime(20000);
  Pass("000002");  // BOB starts at 20 s
  for (int64_t t = 60000; t <= 300000; t += 60000) {
    RunUntilRaceTime(t);
    Pass("000001");
    RunUntilRaceTime(t + 5000);
    Pass("000002");
  }
  RunUntilRaceTime(310000);  // ANNA's 5th lap ended at own time 5:00 - 1 s: not finished yet
  EXPECT_FALSE(race->slots[0].finished);
  Pass("000001");  // ANNA at own 5:09: finished
  EXPECT_TRUE(race->slots[0].finished);
  EXPECT_EQ(CountPlayed("sons/FinCourseVoiture1GB.wav"), 1);
  RunUntilRaceTime(318000);  // BOB is at own time 4:58
  Pass("000002");
  EXPECT_FALSE(race->slots[1].finished);
  EXPECT_TRUE(race->run.raceRunning);
  RunUntilRaceTime(330000);
  Pass("000002");  // BOB at own 5:10
  EXPECT_FALSE(race->run.raceRunning) << "all finished stops the run";
  ASSERT_EQ(archive.runs.size(), 1u);
  EXPECT_EQ(archive.runs[0].lapCounts[0], 6);
  EXPECT_EQ(archive.runs[0].lapCounts[1], 7);
  EXPECT_EQ(CountPlayed("sons/truckhorn.wav"), 1);
}

TEST_F(RaceControlTest, LapRunEndsAtItsTarget) {
  Setup({{"ANNA", "000001"}, {"BOB", "000002"}});
  SetText(race->params.durationMode, kDurationLaps);
  race->params.lapTarget = 3;
  race->params.countdownSeconds = 0;
  control->PrepareClockTexts();
  EXPECT_STREQ(race->run.durationText, TXT_DURATION_LAPS[3] == 'l' ? "3 laps" : "3 tours");
  StartRun();
  for (int lap = 0; lap <= 3; ++lap) {
    RunUntilRaceTime(1000 + lap * 30000);
    Pass("000001");
    Pass("000002");
  }
  EXPECT_FALSE(race->run.raceRunning);
  EXPECT_EQ(race->slots[0].lapCount, 3);
  EXPECT_EQ(race->slots[1].lapCount, 3);
  EXPECT_STREQ(race->run.remainingText, "");
}

TEST_F(RaceControlTest, LapRunStopsAfterTwelveHours) {
  Setup({{"ANNA", "000001"}});
  SetText(race->params.durationMode, kDurationLaps);
  race->params.lapTarget = 999;
  race->params.countdownSeconds = 0;
  StartRun();
  RunFor(int64_t(12) * 3600000 - 1000, 50);
  EXPECT_TRUE(race->run.raceRunning);
  EXPECT_EQ(race->run.remainingHours, 0);
  RunFor(2000, 50);
  EXPECT_FALSE(race->run.raceRunning);
  EXPECT_EQ(archive.runs.size(), 1u);
}

TEST_F(RaceControlTest, LapCeilingStopsATimeRunAndArchivesIt) {
  Setup({{"ANNA", "000001"}});
  race->params.durationMinutes = 720;
  SplitDuration(race->params);
  race->params.countdownSeconds = 0;
  StartRun();
  for (int lap = 0; lap < 999; ++lap) decoder.QueueDecoderPassage("000001", 1000 + lap * 2500);
  decoder.QueueDecoderPassage("000001", 1000 + 999 * 2500);
  decoder.QueueDecoderPassage("000001", 1000 + 1000 * 2500);
  RunFor(10);
  EXPECT_FALSE(race->run.raceRunning);
  EXPECT_EQ(race->slots[0].lapCount, 999);
  ASSERT_EQ(archive.runs.size(), 1u);
  EXPECT_EQ(archive.runs[0].lapCounts[0], 999);
  EXPECT_EQ(CountPlayed("sons/FinCourseVoiture1GB.wav"), 0);
}

TEST_F(RaceControlTest, OrixHandshakeRefusedOnceThenAccepted) {
  Setup({{"ANNA", "000001"}});
  decoder.orix = true;
  decoder.refusals = 1;
  race->params.countdownSeconds = 0;
  control->OnStart();
  EXPECT_EQ(decoder.collectorClears, 1);
  RunFor(10);
  EXPECT_FALSE(race->run.raceRunning) << "refused: the request is repeated";
  EXPECT_TRUE(race->run.startArmed);
  RunFor(10);
  EXPECT_TRUE(race->run.raceRunning);
  EXPECT_EQ(decoder.handshakeTicks, 2);
  EXPECT_EQ(race->run.decoderTimeAtStart, 0);
}

TEST_F(RaceControlTest, StopDuringAnUnansweredHandshakeDisarms) {
  Setup({{"ANNA", "000001"}});
  decoder.orix = true;
  decoder.refusals = 1000000;
  race->params.countdownSeconds = 0;
  control->OnStart();
  RunFor(500);
  EXPECT_TRUE(race->run.startArmed);
  control->OnStop();
  EXPECT_FALSE(race->run.startArmed);
  EXPECT_EQ(decoder.handshakeCancels, 1);
  const int ticks = decoder.handshakeTicks;
  RunFor(100);
  EXPECT_EQ(decoder.handshakeTicks, ticks);
}

TEST_F(RaceControlTest, VexaPassagesAreTimedByThePcCounter) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(1500);
  decoder.QueueCounterPassage("000001", race->run.raceStartCounter + 15000000);  // 1.5 s
  RunFor(10);
  EXPECT_EQ(race->slots[0].ownStart, 1500);
}

TEST_F(RaceControlTest, StartDoesNothingAfterARunUntilClear) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(1000);
  Pass("000001");
  control->OnStop();
  EXPECT_TRUE(race->run.resultsPresent);
  control->OnStart();
  RunFor(100);
  EXPECT_FALSE(race->run.startArmed);
  EXPECT_FALSE(race->run.raceRunning);

  boxes.answers.push_back(Answer::kNo);
  control->OnClear();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Zarvo");
  EXPECT_EQ(boxes.shown[0].text, TXT_CLEAR_QUESTION);
  EXPECT_TRUE(boxes.shown[0].question);
  EXPECT_EQ(race->slots[0].ownStart, 1000) << "No keeps the results";
  EXPECT_FALSE(race->run.ready);

  boxes.answers.push_back(Answer::kYes);
  control->OnClear();
  EXPECT_TRUE(race->run.ready);
  EXPECT_EQ(race->slots[0].ownStart, 0);
  EXPECT_STREQ(race->run.runTitle, ".");
  EXPECT_STREQ(race->run.remainingText, "0:00:00");
  EXPECT_STREQ(race->run.countdownText, "0s");
  control->OnStart();
  RunFor(10);
  EXPECT_TRUE(race->run.raceRunning);
}

TEST_F(RaceControlTest, ClearDoesNothingWithoutResults) {
  Setup({{"ANNA", "000001"}});
  control->OnClear();
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RaceControlTest, ArchiveAndCircuitRecordAtTheEndOfARun) {
  Setup({{"ANNA", "000001"}});
  race->params.circuitIndex = 0;
  race->params.countdownSeconds = 0;
  SetText(circuits->records[0].name, "Moulin");
  circuits->records[0].recordLap = 31000;
  StartRun();
  for (int64_t t : {1000, 31500, 61000}) {
    RunUntilRaceTime(t);
    Pass("000001");
  }
  control->OnStop();
  ASSERT_EQ(archive.runs.size(), 1u);
  EXPECT_EQ(archive.runs[0].runTitle, race->run.runTitle);
  EXPECT_EQ(archive.runs[0].lapCounts[0], 2);
  EXPECT_EQ(archive.circuitWrites, 1);
  EXPECT_EQ(archive.lastRecordLap, 29500);
  EXPECT_EQ(archive.lastRecordHolder, "ANNA");
  EXPECT_TRUE(boxes.shown.empty());
  for (int k = 0; k < race->participantCount; ++k) EXPECT_TRUE(race->rows[k].finished);
  control->OnStop();
  EXPECT_EQ(archive.runs.size(), 1u) << "Stop with nothing running stores nothing";
}

TEST_F(RaceControlTest, UnwritableCircuitsFileIsReported) {
  Setup({{"ANNA", "000001"}});
  race->params.countdownSeconds = 0;
  archive.circuitsWritable = false;
  StartRun();
  control->OnStop();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(boxes.shown[0].text, TXT_CIRCUITS_FILE_NOT_FOUND);
  EXPECT_EQ(archive.runs.size(), 1u) << "the runs database is written first";
}

TEST_F(RaceControlTest, TenMinuteRunAnnouncesHalfRaceAndOneMinuteButNotFive) {
  Setup({{"ANNA", "000001"}});
  race->params.durationMinutes = 10;
  SplitDuration(race->params);
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(300000);
  EXPECT_EQ(CountPlayed("sons/miCourseGB.wav"), 0);
  RunUntilRaceTime(301000);
  EXPECT_EQ(CountPlayed("sons/miCourseGB.wav"), 1) << "in the second after 5:00";
  RunUntilRaceTime(540000);
  EXPECT_EQ(CountPlayed("sons/1minuteGB.wav"), 0);
  RunUntilRaceTime(541000);
  EXPECT_EQ(CountPlayed("sons/1minuteGB.wav"), 0) << "one full minute is still left";
  RunUntilRaceTime(542000);
  EXPECT_EQ(CountPlayed("sons/1minuteGB.wav"), 1);
  RunUntilRaceTime(700000);
  EXPECT_EQ(CountPlayed("sons/5minutesRaceGB.wav"), 0);
  EXPECT_EQ(CountPlayed("sons/miCourseGB.wav"), 1);
  EXPECT_EQ(CountPlayed("sons/1minuteGB.wav"), 1);
}

TEST_F(RaceControlTest, ThirteenMinuteRunAnnouncesFiveMinutesLeft) {
  Setup({{"ANNA", "000001"}});
  SetText(sounds.language, kSoundFrench);
  race->params.durationMinutes = 13;
  SplitDuration(race->params);
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(479000);
  EXPECT_EQ(CountPlayed("sons/5minutes.wav"), 0);
  RunUntilRaceTime(482000);
  EXPECT_EQ(CountPlayed("sons/5minutes.wav"), 1);
}

TEST_F(RaceControlTest, FinishOfSlot12InEnglishPlaysItsOwnFile) {
  Setup({{"A", "000001"}, {"B", "000002"}, {"C", "000003"}, {"D", "000004"}, {"E", "000005"},
         {"F", "000006"}, {"G", "000007"}, {"H", "000008"}, {"I", "000009"}, {"J", "000010"},
         {"K", "000011"}, {"L", "000012"}});
  SetText(race->params.durationMode, kDurationLaps);
  race->params.lapTarget = 1;
  race->params.countdownSeconds = 0;
  StartRun();
  RunUntilRaceTime(1000);
  Pass("000012");
  RunUntilRaceTime(31000);
  Pass("000012");
  EXPECT_TRUE(race->slots[11].finished);
  EXPECT_EQ(CountPlayed("sons/FinCourseVoiture12GB.wav"), 1);
}

TEST_F(RaceControlTest, PersonalChipsAndMixedModeCopyOrClearTheTransponders) {
  Setup({{"ANNA", "000001"}, {"BOB", "000002"}});
  control->OnMixedScan();
  EXPECT_TRUE(control->MixedMode());
  EXPECT_TRUE(ui->controlVisible[IDC_SCAN]);
  EXPECT_STREQ(race->slots[0].transponder, "");
  EXPECT_STREQ(race->rows[1].transponder, "");
  control->OnPersonalChips();
  EXPECT_FALSE(ui->controlVisible[IDC_SCAN_STATUS]);
  EXPECT_STREQ(race->slots[1].transponder, "000002");
  EXPECT_STREQ(race->standings[0].transponder, "000001");
  EXPECT_STREQ(race->rows[1].transponder, "000002");
}

class ScanTest : public RaceControlTest {
 protected:
  void ScanAndCheck(std::vector<const char*> scanOrder, std::vector<const char*> checkOrder) {
    Setup({{"ANNA", "000001"}, {"BOB", "000002"}, {"CLARA", "000003"}});
    control->OnMixedScan();
    control->OnScan(true);
    EXPECT_TRUE(race->run.scanActive);
    EXPECT_EQ(ui->controlText[IDC_SCAN_STATUS], TXT_SCAN_IN_PROGRESS);
    for (const char* t : scanOrder) {
      RunFor(500);
      decoder.QueueDecoderPassage(t, 0);
      RunFor(10);
    }
    EXPECT_TRUE(race->run.checkPhase);
    EXPECT_EQ(ui->controlText[IDC_SCAN_STATUS], TXT_CHECK_IN_PROGRESS);
    for (const char* t : checkOrder) {
      RunFor(3000);
      decoder.QueueDecoderPassage(t, 0);
      RunFor(10);
    }
  }
};

TEST_F(ScanTest, CarsScannedAndCheckedInSlotOrderGiveTheGoodSignal) {
  ScanAndCheck({"000042", "000017", "000099"}, {"000042", "000017", "000099"});
  EXPECT_FALSE(race->run.scanActive);
  EXPECT_STREQ(race->slots[0].transponder, "000042");
  EXPECT_STREQ(race->slots[1].transponder, "000017");
  EXPECT_STREQ(race->slots[2].transponder, "000099");
  EXPECT_EQ(ui->controlText[IDC_SCAN_STATUS], TXT_CHECK_COMPLETED);
  EXPECT_FALSE(ui->controlChecked[IDC_SCAN]);
  EXPECT_EQ(player.played.back().file, "sons/nokia-sms.wav");
  EXPECT_FALSE(player.played.back().wait);
  EXPECT_EQ(CountPlayed("sons/beep1.wav"), 6) << "three assignments and three check laps";
}

TEST_F(ScanTest, ACheckInAnotherOrderGivesTheBuzz) {
  ScanAndCheck({"000042", "000017", "000099"}, {"000017", "000042", "000099"});
  EXPECT_FALSE(race->run.scanActive);
  EXPECT_EQ(player.played.back().file, "sons/buzz.wav");
}

TEST_F(ScanTest, ATransponderSeenTwiceInTheScanKeepsItsSlot) {
  ScanAndCheck({"000042", "000042", "000017", "000099"}, {"000042", "000017", "000099"});
  EXPECT_STREQ(race->slots[0].transponder, "000042");
  EXPECT_STREQ(race->slots[1].transponder, "000017");
}

TEST_F(ScanTest, StartDoesNothingAfterACheckUntilClear) {
  ScanAndCheck({"000042", "000017", "000099"}, {"000042", "000017", "000099"});
  EXPECT_FALSE(race->run.ready);
  control->OnStart();
  RunFor(6000);
  EXPECT_FALSE(race->run.startArmed);
  race->run.resultsPresent = true;  // the check laps are on the table
  boxes.answers.push_back(Answer::kYes);
  control->OnClear();
  EXPECT_TRUE(race->run.ready);
  EXPECT_STREQ(race->slots[0].transponder, "000042") << "the scanned transponders stay";
}

TEST_F(RaceControlTest, ReleasingScanCancelsIt) {
  Setup({{"ANNA", "000001"}, {"BOB", "000002"}});
  control->OnMixedScan();
  control->OnScan(true);
  RunFor(100);
  control->OnScan(false);
  EXPECT_FALSE(race->run.scanActive);
  EXPECT_EQ(ui->controlText[IDC_SCAN_STATUS], TXT_SCAN_OFF);
  EXPECT_TRUE(ui->controlEnabled[IDC_START]);
  EXPECT_TRUE(race->run.ready);
}

TEST_F(RaceControlTest, IdleTicksDiscardTheInputUnlessTheDialogReadsIt) {
  Setup({{"ANNA", "000001"}});
  RunFor(100);
  EXPECT_EQ(decoder.discards, 10);
  EXPECT_EQ(decoder.supervisions, 10);
  control->SetDialogOwnsSerialInput(true);
  RunFor(100);
  EXPECT_EQ(decoder.discards, 10);
  EXPECT_EQ(decoder.supervisions, 20);
}

}  // namespace
}  // namespace zarvo
