// The run journal: runs timed by race control with the journal on disk, then rebuilt from it; the
// rebuilt run section must be byte for byte the one the uninterrupted run writes. Also torn,
// damaged and foreign journals, when the journal is pushed to the disk and when it is retired.
#include "race/run_journal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/run_journal_file.h"
#include "app/session_format.h"
#include "platform/files.h"
#include "race/race_control.h"
#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::Drivers;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Race control over fakes, with the journal written to Private/JournalPassages.jrn.
class JournalRunTest : public ::testing::Test {
 protected:
  JournalRunTest() { MakeDirectory("Private"); }

  void Setup(Drivers drivers, const char* durationMode = kDurationTime,
             const char* startMode = kStartStaggered) {
    race = testing::MakeRace(drivers);
    std::memset(&race->run, 0, sizeof race->run);
    race->run.ready = true;
    SetText(race->params.durationMode, durationMode);
    SetText(race->params.startMode, startMode);
    race->params.durationMinutes = 1;
    race->params.lapTarget = 4;
    race->params.countdownSeconds = 0;
    race->params.circuitIndex = 0;
    race->params.maximumLapCount = kMaxLapCount;
    race->params.lapRunLimitHours = 12;
    SplitDuration(race->params);
    // Every slot gets a setup sheet of its own, so the sheets are seen in the section.
    for (int k = 0; k < kSlotCount; ++k) {
      SetText(race->slots[k].setup.trackConditions, ("dry " + std::to_string(k)).c_str());
      SetText(race->slots[k].setup.tiresRear, "Pro\xE9");  // é, Windows-1252
    }
    circuits = std::make_unique<CircuitTable>();
    std::memset(circuits.get(), 0, sizeof(CircuitTable));
    SetText(circuits->records[0].name, "Piste des Ours");
    circuits->records[0].recordLap = 4100;
    sounds = testing::AllSoundsOn();
    list = {};
    for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
    ui = std::make_unique<testing::RecordingRaceUi>(race.get());
    control = std::make_unique<RaceControl>(RaceControlWorld{*race, *circuits, sounds, list, clock,
                                                             player, boxes, *ui, decoder, archive});
    journal =
        std::make_unique<RunJournalFile>(sessionName, savedFile, runNumber, sounds, clock, boxes);
    control->SetJournal(*journal);
    control->PrepareClockTexts();
    circuitsAtStart = *circuits;
  }

  void Tick() {
    clock.Advance(10);
    control->OnTick();
    journal->OnTick();
  }
  void StartRun() {
    control->OnStart();
    for (int i = 0; i < 1000 && !race->run.raceRunning; ++i) Tick();
    ASSERT_TRUE(race->run.raceRunning);
  }
  int32_t RaceTime() { return static_cast<int32_t>(clock.TickCount() - race->run.raceStartTick); }
  // Runs the timer until the race time, then the transponders cross, read on the next tick.
  void PassAt(int32_t raceTime, std::vector<const char*> transponders) {
    while (RaceTime() < raceTime && race->run.raceRunning) Tick();
    for (const char* t : transponders) decoder.QueueDecoderPassage(t, RaceTime());
    Tick();
  }
  void ManualAt(int32_t raceTime, int slot) {
    while (RaceTime() < raceTime && race->run.raceRunning) Tick();
    control->OnManualLap(IDC_MANUAL_LAP_FIRST + slot - 1);
  }
  std::string Journal() const { return ReadBytes(kJournalPath); }

  // The run rebuilt from these journal bytes, as its run section.
  std::string Rebuilt(const std::string& bytes, JournalSummary* summary = nullptr,
                      CircuitTable* rebuiltCircuits = nullptr) {
    auto rebuilt = std::make_unique<Race>();
    std::memset(rebuilt.get(), 0xA5, sizeof(Race));  // nothing may be taken from before
    CircuitTable local = circuitsAtStart;
    CircuitTable& c = rebuiltCircuits != nullptr ? *rebuiltCircuits : local;
    if (rebuiltCircuits != nullptr) c = circuitsAtStart;
    EXPECT_TRUE(ReplayJournal(bytes, *rebuilt, c, summary));
    return RunSectionContent(*rebuilt);
  }

  TempFolder folder;
  char sessionName[32] = "Samedi \xE0 Grenoble";  // à
  std::string savedFile = "C:\\Program Files\\Zarvo Training\\samedi.trng";
  int32_t runNumber = 3;
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  CircuitTable circuitsAtStart;
  SoundSettings sounds;
  ParticipantsList list;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> control;
  std::unique_ptr<RunJournalFile> journal;
};

// The session's file may be in a folder of Greek or Polish letters: the path the journal keeps for
// the recovery is the whole one, or none when it would not fit.
TEST(JournalStartPath, ALongPathOfLettersOutsideWindows1252IsKeptWholeOrNotAtAll) {
  auto race = testing::MakeRace({{"ANNA", "001001"}});
  std::string greek = "C:\\";
  for (int i = 0; i < 200; ++i) greek += "\x81" "03A9";  // Ω, escaped
  greek += ".trng";
  JournalSummary summary;
  const std::string kept = JournalStartLine(*race, 1, "S", greek.c_str(), false);
  ASSERT_EQ(ReadJournalSummary(kept, summary), JournalRead::kRead);
  EXPECT_EQ(std::string(summary.start.savedFilePath), greek);

  const std::string tooLong = greek + std::string(400, 'x');
  const std::string dropped = JournalStartLine(*race, 1, "S", tooLong.c_str(), false);
  ASSERT_EQ(ReadJournalSummary(dropped, summary), JournalRead::kRead);
  EXPECT_STREQ(summary.start.savedFilePath, "") << "never a path cut short";
}

TEST_F(JournalRunTest, AStaggeredTimeRunThatEndsByItselfIsRebuiltByteForByte) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}, {"H\xE9l\xE8ne", "001003"}});
  StartRun();
  // Own starts at different times, an early crossing (rejected, buzzing), a shared passage read.
  PassAt(400, {"001001"});
  PassAt(900, {"001002", "001003"});
  int32_t t = 900;
  for (int lap = 0; lap < 16 && race->run.raceRunning; ++lap) {
    t += 3900 + (lap % 3) * 150;
    PassAt(t, {"001001"});
    PassAt(t + 200, {"001002"});
    if (lap == 5) PassAt(t + 1200, {"001002"});  // too early: rejected
    PassAt(t + 450, {"001003"});
  }
  while (race->run.raceRunning && RaceTime() < 80000)
    PassAt(RaceTime() + 4000, {"001001", "001002", "001003"});
  ASSERT_FALSE(race->run.raceRunning) << "every driver finishes after his own minute";
  const std::string uninterrupted = RunSectionContent(*race);

  JournalSummary summary;
  CircuitTable rebuiltCircuits;
  EXPECT_EQ(Rebuilt(Journal(), &summary, &rebuiltCircuits), uninterrupted);
  EXPECT_TRUE(summary.ended);
  EXPECT_FALSE(summary.damaged);
  EXPECT_EQ(summary.start.runNumber, 3);
  EXPECT_STREQ(summary.start.sessionName, sessionName);
  EXPECT_EQ(summary.start.savedFilePath, savedFile);
  EXPECT_STREQ(summary.start.runTitle, race->run.runTitle);
  EXPECT_EQ(rebuiltCircuits.records[0].recordLap, circuits->records[0].recordLap)
      << "the lap record candidate comes out as in the run";
  EXPECT_LT(circuits->records[0].recordLap, 4100);
  EXPECT_STREQ(rebuiltCircuits.records[0].recordHolder, circuits->records[0].recordHolder);
}

TEST_F(JournalRunTest, AStaggeredLapRunIsRebuiltByteForByte) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}}, kDurationLaps);
  StartRun();
  PassAt(300, {"001002"});
  PassAt(2000, {"001001"});
  for (int lap = 1; lap <= 4; ++lap) {
    PassAt(300 + lap * 4300, {"001002"});
    PassAt(2000 + lap * 4100, {"001001"});
  }
  ASSERT_FALSE(race->run.raceRunning) << "both drove the 4 laps";
  EXPECT_EQ(race->slots[0].lapCount, 4);
  EXPECT_EQ(Rebuilt(Journal()), RunSectionContent(*race));
}

TEST_F(JournalRunTest, ManualLapsOfACommonStartRunStoppedByTheUserAreRebuiltByteForByte) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}}, kDurationTime, "DEPARTCommun");
  clock.autoAdvanceNs = 1234567;  // every counter read moves the PC clock on
  StartRun();
  PassAt(3000, {"001001"});
  ManualAt(3100, 2);  // BRUNO's transponder is dead: the lap buttons time him
  ManualAt(3150, 2);  // a manual lap is taken even 50 ms after the last
  PassAt(7000, {"001001"});
  ManualAt(7800, 2);
  ManualAt(8000, 1);
  control->OnStop();
  EXPECT_EQ(race->slots[1].lapCount, 3);
  EXPECT_EQ(Rebuilt(Journal()), RunSectionContent(*race));
}

TEST_F(JournalRunTest, TheLapCeilingStopsTheRebuiltRunWhereItStoppedTheRun) {
  Setup({{"ANNA", "001001"}}, kDurationTime, "DEPARTCommun");
  race->params.durationMinutes = 720;
  SplitDuration(race->params);
  StartRun();
  for (int lap = 1; lap <= 1000; ++lap) {
    for (int i = 0; i < 300; ++i) clock.Advance(10);  // 3 s without ticks: a fast line
    decoder.QueueDecoderPassage("001001", RaceTime());
    Tick();
    if (!race->run.raceRunning) break;
  }
  ASSERT_FALSE(race->run.raceRunning);
  EXPECT_EQ(race->slots[0].lapCount, kMaxLapCount);
  EXPECT_EQ(Rebuilt(Journal()), RunSectionContent(*race));
}

TEST_F(JournalRunTest, AKilledRunIsRebuiltWithEveryPassageUpToTheKill) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}});
  StartRun();
  for (int lap = 0; lap < 6; ++lap) PassAt(500 + lap * 4000, {"001001", "001002"});
  // The program dies here: what is on disk is all there is.
  const std::string atTheKill = Journal();
  auto expected = std::make_unique<Race>(*race);
  MarkRunOver(*expected);
  JournalSummary summary;
  EXPECT_EQ(Rebuilt(atTheKill, &summary), RunSectionContent(*expected));
  EXPECT_FALSE(summary.ended);
  EXPECT_EQ(summary.passages, 12);
  EXPECT_EQ(summary.lastRaceTime, 20500);
  EXPECT_EQ(RecoveryQuestion(summary),
            TXT_RUN_TITLE[0] == 'S'
                ? "The run Run3 of session Samedi \xE0 Grenoble was interrupted at 0:00:20 with 12 "
                  "passages. Recover it?"
                : "Le run Run3 de la s\xE9"
                  "ance Samedi \xE0 Grenoble a \xE9t\xE9 interrompu \xE0 "
                  "0:00:20 avec 12 passages. Le r\xE9"
                  "cup\xE9rer ?");
}

TEST_F(JournalRunTest, ATornOrDamagedLineEndsTheJournalAndWhatCameBeforeIsKept) {
  Setup({{"ANNA", "001001"}});
  StartRun();
  PassAt(500, {"001001"});
  PassAt(4500, {"001001"});
  const std::string twoPassages = Journal();
  auto expected = std::make_unique<Race>(*race);
  MarkRunOver(*expected);
  PassAt(8500, {"001001"});
  const std::string three = Journal();
  ASSERT_GT(three.size(), twoPassages.size() + 10);

  // A power cut in the middle of the last line: the torn line is skipped.
  for (size_t cut : {twoPassages.size() + 1, three.size() - 1, three.size() - 2}) {
    JournalSummary summary;
    EXPECT_EQ(Rebuilt(three.substr(0, cut), &summary), RunSectionContent(*expected)) << cut;
    EXPECT_EQ(summary.passages, 2);
    EXPECT_TRUE(summary.damaged);
    EXPECT_EQ(summary.usableBytes, twoPassages.size());
  }
  // A changed byte in the last line, or zeros where the disk had not yet written the line.
  std::string changed = three;
  changed[twoPassages.size() + 12] ^= 0x01;
  JournalSummary summary;
  EXPECT_EQ(Rebuilt(changed, &summary), RunSectionContent(*expected));
  EXPECT_EQ(summary.passages, 2);
  std::string zeros = twoPassages + std::string(three.size() - twoPassages.size(), '\0');
  EXPECT_EQ(Rebuilt(zeros, &summary), RunSectionContent(*expected));
  // A line repeated (out of sequence) ends the journal too.
  const std::string lastLine = three.substr(twoPassages.size());
  const std::string threeRebuilt = Rebuilt(three);
  EXPECT_EQ(Rebuilt(three + lastLine, &summary), threeRebuilt);
  EXPECT_TRUE(summary.damaged);
  EXPECT_EQ(summary.passages, 3);
}

// A sheet saved in the run synthesis while the run is timed is journaled where it came, pushed
// at once, and the rebuilt run carries it; before the start and after the end nothing is written.
TEST_F(JournalRunTest, ASheetSavedDuringTheRunIsInTheRebuiltRun) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}});
  auto sheet = std::make_unique<SetupSheet>();
  std::memset(sheet.get(), 0, sizeof *sheet);
  SetText(sheet->trackConditions, "Wet");
  SetText(sheet->carName, "Buggy \xE9");
  journal->SetupSaved(1, *sheet);  // the run is not started: not recorded
  StartRun();
  const std::string start = Journal();
  PassAt(500, {"001001", "001002"});
  PassAt(4500, {"001001"});
  const int64_t syncs = journal->syncCount();
  race->slots[1].setup = *sheet;  // what the program does with the answer, then:
  journal->SetupSaved(2, *sheet);
  EXPECT_EQ(journal->syncCount(), syncs + 1) << "pushed at once";
  PassAt(8500, {"001001", "001002"});
  // The program dies here.
  const std::string atTheKill = Journal();
  auto expected = std::make_unique<Race>(*race);
  MarkRunOver(*expected);
  JournalSummary summary;
  auto rebuilt = std::make_unique<Race>();
  ASSERT_TRUE(ReplayJournal(atTheKill, *rebuilt, *circuits, &summary));
  EXPECT_EQ(RunSectionContent(*rebuilt), RunSectionContent(*expected));
  EXPECT_STREQ(rebuilt->slots[1].setup.carName, "Buggy \xE9");
  EXPECT_STREQ(rebuilt->slots[0].setup.trackConditions, "dry 0") << "the other sheet kept";
  EXPECT_EQ(summary.events, 6);
  EXPECT_EQ(summary.passages, 5) << "the sheet is no passage";
  EXPECT_EQ(summary.lastRaceTime, 8500) << "nor a time of the run";
  EXPECT_FALSE(summary.damaged);

  // A sheet line for a slot that does not exist ends the journal there, like any damaged line.
  std::string bad = start + JournalSetupLine(1, 21, *sheet) + atTheKill.substr(start.size());
  EXPECT_EQ(ReadJournalSummary(bad, summary), JournalRead::kRead);
  EXPECT_EQ(summary.events, 0);
  EXPECT_TRUE(summary.damaged);

  control->OnStop();
  const std::string ended = Journal();
  journal->SetupSaved(1, *sheet);
  EXPECT_EQ(Journal(), ended) << "after the end the working copy keeps the sheet";
}

TEST_F(JournalRunTest, AForeignOrEmptyFileOrATornStartIsNoJournal) {
  Setup({{"ANNA", "001001"}});
  StartRun();
  const std::string start = Journal();
  auto untouched = std::make_unique<Race>(*race);
  JournalSummary summary;
  for (const std::string& bytes :
       {std::string(), std::string("SessionRun1\t\r\n"), start.substr(0, start.size() - 1),
        std::string("Depart\t2\t") + start.substr(9), std::string(3000, '\xFF')}) {
    EXPECT_EQ(ReadJournalSummary(bytes, summary), JournalRead::kNotJournal);
    EXPECT_FALSE(ReplayJournal(bytes, *race, *circuits));
  }
  EXPECT_EQ(std::memcmp(untouched.get(), race.get(), sizeof(Race)), 0) << "nothing touched";
  // The start alone is a run without passages.
  EXPECT_EQ(ReadJournalSummary(start, summary), JournalRead::kRead);
  EXPECT_EQ(summary.events, 0);
  EXPECT_FALSE(summary.damaged);
}

TEST_F(JournalRunTest, TextsWithTabsOrLineEndsDoNotBreakTheirLine) {
  Setup({{"ANNA", "001001"}});
  SetText(race->slots[0].setup.carName, "Mugen\tMBX8\r\n");
  StartRun();
  PassAt(500, {"001001"});
  JournalSummary summary;
  auto rebuilt = std::make_unique<Race>();
  ASSERT_TRUE(ReplayJournal(Journal(), *rebuilt, *circuits, &summary));
  EXPECT_STREQ(rebuilt->slots[0].setup.carName, "Mugen MBX8  ");
  EXPECT_EQ(summary.passages, 1);
}

// ---- Pushing to the disk and retiring.

TEST_F(JournalRunTest, TheStartAndTheEndArePushedAtOnceThePassagesAtMostEvery100Ms) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}});
  StartRun();
  EXPECT_EQ(journal->syncCount(), 1) << "the start";
  // Three passages in one read: the first is pushed only if 100 ms have passed, the others wait.
  for (int i = 0; i < 200; ++i) Tick();
  const int64_t before = journal->syncCount();
  decoder.QueueDecoderPassage("001001", RaceTime());
  decoder.QueueDecoderPassage("001002", RaceTime());
  decoder.QueueDecoderPassage("001001", RaceTime() + 1);
  Tick();
  EXPECT_EQ(journal->syncCount(), before + 1);
  decoder.QueueDecoderPassage("001002", RaceTime());
  Tick();
  EXPECT_EQ(journal->syncCount(), before + 1) << "10 ms later: not yet";
  for (int i = 0; i < 8; ++i) Tick();
  EXPECT_EQ(journal->syncCount(), before + 1);
  Tick();
  Tick();
  EXPECT_EQ(journal->syncCount(), before + 2) << "pushed by the tick 100 ms after the last push";
  for (int i = 0; i < 50; ++i) Tick();
  EXPECT_EQ(journal->syncCount(), before + 2) << "nothing new, nothing pushed";
  control->OnStop();
  EXPECT_EQ(journal->syncCount(), before + 3) << "the end";
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JournalRunTest, AStoppedRunsJournalIsRetiredWhenItsSectionIsWrittenOrTheRunIsLeft) {
  Setup({{"ANNA", "001001"}});
  StartRun();
  PassAt(500, {"001001"});
  EXPECT_TRUE(journal->Recording());
  journal->RunLeft();
  EXPECT_TRUE(FileExists(kJournalPath)) << "never while the run runs";
  control->OnStop();
  ASSERT_TRUE(FileExists(kJournalPath)) << "kept until the section is in the working copy";
  JournalSummary summary;
  EXPECT_EQ(ReadJournalSummary(Journal(), summary), JournalRead::kRead);
  EXPECT_TRUE(summary.ended);
  WriteBytes(kWorkingCopyPath, "10000\tSamedi\t1\t1\t1\t\r\n");
  journal->SectionWritten(2);
  EXPECT_TRUE(FileExists(kJournalPath)) << "another run's section";
  journal->SectionWritten(3);
  EXPECT_FALSE(FileExists(kJournalPath));

  // Left without being written (another run, another session, the end of the program).
  auto again = [this] {
    ResetTable(*race);
    RebuildStandings(*race);
    RebuildRows(*race);
    race->run.ready = true;
  };
  again();
  StartRun();
  control->OnStop();
  journal->RunLeft();
  EXPECT_FALSE(FileExists(kJournalPath));

  // "Clear" throws the results away.
  again();
  StartRun();
  control->OnStop();
  boxes.answers.push_back(Answer::kYes);
  control->OnClear();
  EXPECT_FALSE(FileExists(kJournalPath));

  // The section could not be written: the journal waits for the next start-up.
  again();
  StartRun();
  control->OnStop();
  journal->KeepForRecovery();
  journal->RunLeft();
  journal->SectionWritten(3);
  EXPECT_TRUE(FileExists(kJournalPath));
  // A run started after that sets the kept journal aside instead of overwriting it.
  const std::string kept = Journal();
  again();
  StartRun();
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), kept);
  EXPECT_TRUE(journal->Recording());

  // The section was written, but the working copy cannot be pushed to the disk (here it is
  // gone): the journal is the only copy of the run that is sure to survive a power cut, so it
  // stays.
  control->OnStop();
  ASSERT_TRUE(RemoveFile(kWorkingCopyPath));
  journal->SectionWritten(3);
  EXPECT_TRUE(FileExists(kJournalPath));
  journal->RunLeft();
  EXPECT_TRUE(FileExists(kJournalPath)) << "kept for the next start-up";
}

TEST_F(JournalRunTest, AJournalThatCannotBeWrittenIsReportedAndTheRunGoesOn) {
  std::filesystem::remove("Private");
  WriteBytes("Private", "a file where the folder should be");
  Setup({{"ANNA", "001001"}});
  StartRun();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_JOURNAL_NOT_WRITTEN);
  PassAt(500, {"001001"});
  PassAt(4500, {"001001"});
  EXPECT_EQ(race->slots[0].lapCount, 1);
  control->OnStop();
  EXPECT_EQ(boxes.shown.size(), 2u) << "said again once the run is over";
}

// ---- Start-up.

TEST_F(JournalRunTest, StartUpFindsTheJournalAndSetsItAsideUnderAFreeName) {
  Setup({{"ANNA", "001001"}});
  EXPECT_EQ(FindInterruptedRun().kind, FoundJournal::Kind::kNone);
  StartRun();
  PassAt(500, {"001001"});
  const std::string bytes = Journal();
  WriteBytes(kJournalPath, bytes + "Passage\t2\t00");  // torn
  const FoundJournal found = FindInterruptedRun();
  ASSERT_EQ(found.kind, FoundJournal::Kind::kInterrupted);
  EXPECT_EQ(found.bytes, bytes) << "only the usable part is handed on";
  EXPECT_EQ(found.summary.passages, 1);

  WriteBytes("Private/JournalPassages-1.jrn", "an older one");
  EXPECT_EQ(SetJournalAside(), "Private/JournalPassages-2.jrn");
  EXPECT_FALSE(FileExists(kJournalPath));
  EXPECT_EQ(ReadBytes("Private/JournalPassages-2.jrn"), bytes + "Passage\t2\t00");
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), "an older one");

  WriteBytes(kJournalPath, "not a journal\r\n");
  EXPECT_EQ(FindInterruptedRun().kind, FoundJournal::Kind::kUnreadable);
}

}  // namespace
}  // namespace zarvo
