// The run journal: runs timed by race control with the journal on disk, then rebuilt from it; the
// rebuilt run section must be byte for byte the one the uninterrupted run writes. Also torn,
// damaged and foreign journals, when the journal is pushed to the disk and when it is retired.
#include "race/run_journal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "race/race_control.h"
#include "resources/resource_ids.h"
#include "session/run_journal_file.h"
#include "session/session_format.h"
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
    journal = std::make_unique<RunJournalFile>(
        JournalSessionSource{sessionName, savedFile, runNumber, circuitName}, sounds, boxes,
        kJournalPath, kWorkingCopyPath, nullptr, writerClock);
    control->SetJournal(*journal);
    control->PrepareClockTexts();
    circuitsAtStart = *circuits;
  }

  void Tick() {
    clock.Advance(10);
    writerClock.now = uint64_t(clock.NowMs());
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
  // The journal as the disk holds it once the writer has caught up.
  std::string Journal() const {
    journal->Flush();
    return ReadBytes(kJournalPath);
  }
  // The pushes to the disk once the writer has caught up.
  int64_t Syncs() const {
    journal->Flush();
    return journal->syncCount();
  }

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
  char circuitName[40] = "Piste des Ours";
  // The writer thread's clock follows the fake clock at every tick.
  struct : WriterClock {
    uint64_t NowMs() override { return now.load(); }
    std::atomic<uint64_t> now{0};
  } writerClock;
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
  const std::string kept = JournalStartLine(*race, JournalSession{1, "S", greek.c_str(), "", "", false});
  ASSERT_EQ(ReadJournalSummary(kept, summary), JournalRead::kRead);
  EXPECT_EQ(std::string(summary.start.savedFilePath), greek);

  const std::string tooLong = greek + std::string(400, 'x');
  const std::string dropped =
      JournalStartLine(*race, JournalSession{1, "S", tooLong.c_str(), "", "", false});
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
  EXPECT_FALSE(summary.Damaged());
  EXPECT_EQ(summary.start.version, 2);
  EXPECT_EQ(summary.start.runNumber, 3);
  EXPECT_STREQ(summary.start.circuitName, "Piste des Ours");
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

// Two slots that share one transponder reach the lap ceiling on the same passage: the first stops
// the run, so the second is finished before its turn and takes no lap. The replay stops there
// too, because it goes through the same stop.
TEST_F(JournalRunTest, SlotsSharingATransponderAtTheLapCeilingAreRebuiltAsTheyWereTimed) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001001"}}, kDurationTime, "DEPARTCommun");
  race->params.maximumLapCount = 3;
  StartRun();
  for (int lap = 1; lap <= 5 && race->run.raceRunning; ++lap) PassAt(lap * 4000, {"001001"});
  ASSERT_FALSE(race->run.raceRunning) << "the ceiling stopped the run";
  EXPECT_EQ(race->slots[0].lapCount, 3);
  EXPECT_EQ(race->slots[1].lapCount, 2) << "stopped before BRUNO's turn";
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

TEST_F(JournalRunTest, ATornLastLineIsLeftOutAndCounted) {
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

  // A power cut in the middle of the last line, or zeros where the disk had not yet written it.
  for (const std::string& bytes :
       {three.substr(0, twoPassages.size() + 1), three.substr(0, three.size() - 1),
        three.substr(0, three.size() - 2),
        twoPassages + std::string(three.size() - twoPassages.size(), '\0')}) {
    JournalSummary summary;
    EXPECT_EQ(Rebuilt(bytes, &summary), RunSectionContent(*expected)) << bytes.size();
    EXPECT_EQ(summary.passages, 2);
    EXPECT_EQ(summary.unreadableLines, 1);
    EXPECT_EQ(summary.usableBytes, twoPassages.size());
  }
}

// A damaged line in the middle of the journal costs that line only: every later line that checks
// out is replayed, and the lines that could not be read are counted for the question.
TEST_F(JournalRunTest, LinesAfterADamagedOneAreStillReplayed) {
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}});
  StartRun();
  const std::string start = Journal();
  std::vector<std::string> lines;  // each passage line as the journal holds it
  for (int lap = 0; lap < 8; ++lap) {
    const std::string before = Journal();
    PassAt(500 + lap * 4000, {"001001"});
    PassAt(700 + lap * 4000, {"001002"});
    const std::string after = Journal();
    const std::string added = after.substr(before.size());
    const size_t split = added.find('\n') + 1;
    lines.push_back(added.substr(0, split));
    lines.push_back(added.substr(split));
  }
  control->OnStop();
  const std::string whole = Journal();
  const std::string endLine = whole.substr(whole.rfind('\n', whole.size() - 2) + 1);

  // What the run would be had BRUNO's third passage (line 5) never come.
  auto expected = std::make_unique<Race>();
  CircuitTable expectedCircuits = circuitsAtStart;
  std::string withoutIt = start;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i != 5) withoutIt += lines[i];
  }
  ASSERT_TRUE(ReplayJournal(withoutIt + endLine, *expected, expectedCircuits));

  std::string damaged = whole;
  const size_t at = start.size() + lines[0].size() + lines[1].size() + lines[2].size() +
                    lines[3].size() + lines[4].size();
  damaged[at + 10] ^= 0x04;  // a bit of line 5 flipped on the disk
  JournalSummary summary;
  EXPECT_EQ(Rebuilt(damaged, &summary), RunSectionContent(*expected));
  EXPECT_EQ(summary.unreadableLines, 1);
  EXPECT_EQ(summary.passages, 15) << "the 16 passages but the damaged one";
  EXPECT_TRUE(summary.ended);
  EXPECT_EQ(RecoveryQuestion(summary),
            TXT_RUN_TITLE[0] == 'S'
                ? "The run Run3 of session Samedi \xE0 Grenoble was interrupted at " +
                      JournalTimeText(summary.lastRaceTime) +
                      " with 15 passages (lines of its journal that cannot be read: 1). "
                      "Recover it?"
                : "Le run Run3 de la s\xE9"
                  "ance Samedi \xE0 Grenoble a \xE9t\xE9 interrompu \xE0 " +
                      JournalTimeText(summary.lastRaceTime) +
                      " avec 15 passages (lignes illisibles de son journal : 1). Le r\xE9"
                      "cup\xE9rer ?");

  // Two lines run together (the line end between them lost), and a line repeated: both are
  // unreadable (the repeated one is out of sequence), the rest is read.
  std::string merged = whole;
  merged.erase(at + lines[5].size() - 2, 2);
  EXPECT_EQ(ReadJournalSummary(merged, summary), JournalRead::kRead);
  EXPECT_EQ(summary.unreadableLines, 1);
  EXPECT_EQ(summary.passages, 14);
  std::string repeated = start + lines[0] + lines[1] + lines[1] + lines[2];
  EXPECT_EQ(ReadJournalSummary(repeated, summary), JournalRead::kRead);
  EXPECT_EQ(summary.unreadableLines, 1);
  EXPECT_EQ(summary.passages, 3);
  // After the end, only setup sheets belong to the run.
  EXPECT_EQ(ReadJournalSummary(
                whole + JournalPassageLine(99, "001001", 90000, DecodedPassage::Clock::kDecoder, 1),
                summary),
            JournalRead::kRead);
  EXPECT_EQ(summary.unreadableLines, 1);
  EXPECT_EQ(summary.passages, 16);
}

// A sheet saved in the run synthesis while the run is timed is journaled where it came, pushed
// at once, and the rebuilt run carries it; so is one saved after the end, until the journal is
// retired (a kill then must not bring back the older sheet); before the start nothing is written.
TEST_F(JournalRunTest, ASheetSavedDuringOrAfterTheRunIsInTheRebuiltRun) {
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
  const int64_t syncs = Syncs();
  race->slots[1].setup = *sheet;  // what the program does with the answer, then:
  journal->SetupSaved(2, *sheet);
  EXPECT_EQ(Syncs(), syncs + 1) << "pushed at once";
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
  EXPECT_FALSE(summary.Damaged());

  // A sheet line for a slot that does not exist is unreadable; the lines after it are read.
  std::string bad = start + JournalSetupLine(1, 21, *sheet) + atTheKill.substr(start.size());
  EXPECT_EQ(ReadJournalSummary(bad, summary), JournalRead::kRead);
  EXPECT_EQ(summary.events, 6);
  EXPECT_EQ(summary.unreadableLines, 1);

  // After the end: ANNA's sheet saved again, then the program is killed before the run is left.
  control->OnStop();
  SetText(sheet->carName, "Newer car");
  race->slots[0].setup = *sheet;
  journal->SetupSaved(1, *sheet);
  auto endedRun = std::make_unique<Race>(*race);
  ASSERT_TRUE(ReplayJournal(Journal(), *rebuilt, *circuits, &summary));
  EXPECT_STREQ(rebuilt->slots[0].setup.carName, "Newer car") << "the sheet saved after the end";
  EXPECT_EQ(RunSectionContent(*rebuilt), RunSectionContent(*endedRun));
  EXPECT_TRUE(summary.ended);
  EXPECT_FALSE(summary.Damaged());
  journal->RunLeft();
  journal->SetupSaved(1, *sheet);
  EXPECT_FALSE(FileExists(kJournalPath)) << "once the run is left, nothing more is journaled";
}

TEST_F(JournalRunTest, AForeignOrEmptyFileOrATornStartIsNoJournal) {
  Setup({{"ANNA", "001001"}});
  StartRun();
  const std::string start = Journal();
  auto untouched = std::make_unique<Race>(*race);
  JournalSummary summary;
  for (const std::string& bytes :
       {std::string(), std::string("SessionRun1\t\r\n"), start.substr(0, start.size() - 1),
        std::string("Depart\t3\t") + start.substr(9), std::string(3000, '\xFF')}) {
    EXPECT_EQ(ReadJournalSummary(bytes, summary), JournalRead::kNotJournal);
    EXPECT_FALSE(ReplayJournal(bytes, *race, *circuits));
  }
  EXPECT_EQ(std::memcmp(untouched.get(), race.get(), sizeof(Race)), 0) << "nothing touched";
  // The start alone is a run without passages.
  EXPECT_EQ(ReadJournalSummary(start, summary), JournalRead::kRead);
  EXPECT_EQ(summary.events, 0);
  EXPECT_FALSE(summary.Damaged());
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
  EXPECT_EQ(Syncs(), 1) << "the start";
  // Three passages in one read, 2 s after the last push: pushed at once.
  for (int i = 0; i < 200; ++i) Tick();
  const int64_t before = Syncs();
  decoder.QueueDecoderPassage("001001", RaceTime());
  decoder.QueueDecoderPassage("001002", RaceTime());
  decoder.QueueDecoderPassage("001001", RaceTime() + 1);
  Tick();
  EXPECT_EQ(Syncs(), before + 1);
  decoder.QueueDecoderPassage("001002", RaceTime());
  Tick();
  EXPECT_EQ(Syncs(), before + 1) << "10 ms later: not yet";
  for (int i = 0; i < 8; ++i) Tick();
  EXPECT_EQ(Syncs(), before + 1);
  Tick();
  Tick();
  EXPECT_EQ(Syncs(), before + 2) << "pushed by the tick 100 ms after the last push";
  for (int i = 0; i < 50; ++i) Tick();
  EXPECT_EQ(Syncs(), before + 2) << "nothing new, nothing pushed";
  control->OnStop();
  EXPECT_EQ(Syncs(), before + 3) << "the end";
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JournalRunTest, AStoppedRunsJournalIsRetiredWhenItsSectionIsWrittenOrTheRunIsLeft) {
  Setup({{"ANNA", "001001"}});
  StartRun();
  PassAt(500, {"001001"});
  EXPECT_TRUE(journal->Recording());
  journal->RunLeft();
  journal->Flush();
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
  journal->Flush();
  EXPECT_TRUE(FileExists(kJournalPath));
  // A run started after that sets the kept journal aside instead of overwriting it.
  const std::string kept = Journal();
  again();
  StartRun();
  journal->Flush();
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

TEST_F(JournalRunTest, AJournalThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn) {
  std::filesystem::remove("Private");
  WriteBytes("Private", "a file where the folder should be");
  Setup({{"ANNA", "001001"}});
  StartRun();
  journal->Flush();
  Tick();  // the tick after the writer found it out
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_JOURNAL_NOT_WRITTEN);
  PassAt(500, {"001001"});
  PassAt(4500, {"001001"});
  EXPECT_EQ(race->slots[0].lapCount, 1);
  control->OnStop();
  Tick();
  EXPECT_EQ(boxes.shown.size(), 1u) << "said once";
}

// A journal kept for the next start-up that cannot be set aside (here every numbered name is
// taken) is never emptied: the new run is not journaled, the user is told at once, and retiring
// the run leaves the kept journal alone.
TEST_F(JournalRunTest, AKeptJournalThatCannotBeSetAsideIsNeverOverwritten) {
  Setup({{"ANNA", "001001"}});
  const std::string kept = "Depart\t1\tthe journal of a run never written\r\n";
  WriteBytes(kJournalPath, kept);
  for (int n = 1; n <= kMaxJournalsAside; ++n) {
    WriteBytes(("Private/JournalPassages-" + std::to_string(n) + ".jrn").c_str(), "aside");
  }
  StartRun();
  journal->Flush();
  Tick();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_JOURNAL_KEPT_IN_THE_WAY);
  PassAt(500, {"001001"});
  PassAt(4500, {"001001"});
  EXPECT_EQ(race->slots[0].lapCount, 1) << "the run is timed all the same";
  EXPECT_EQ(ReadBytes(kJournalPath), kept);
  control->OnStop();
  WriteBytes(kWorkingCopyPath, "10000\tSamedi\t1\t1\t1\t\r\n");
  journal->SectionWritten(3);
  journal->RunLeft();
  EXPECT_EQ(ReadBytes(kJournalPath), kept) << "not this run's journal: not retired with it";
}

// A disk whose pushes can be held up, and that notes which thread wrote.
class SlowDisk : public JournalDiskFile {
 public:
  bool Append(std::string_view bytes) override {
    Note();
    WaitIfHeld(holdAppends);
    return JournalDiskFile::Append(bytes);
  }
  bool Sync() override {
    Note();
    WaitIfHeld(holdSyncs);
    return JournalDiskFile::Sync();
  }
  void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      holdAppends = holdSyncs = false;
    }
    gate_.notify_all();
  }
  bool WroteOn(std::thread::id thread) {
    std::lock_guard<std::mutex> lock(mutex_);
    return threads_.count(thread) > 0;
  }
  bool holdAppends = false;
  bool holdSyncs = false;

 private:
  void Note() {
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.insert(std::this_thread::get_id());
  }
  // At most 20 s, so a tick that waited for the disk fails the test instead of hanging it.
  void WaitIfHeld(bool& held) {
    std::unique_lock<std::mutex> lock(mutex_);
    gate_.wait_for(lock, std::chrono::seconds(20), [&] { return !held; });
  }
  std::mutex mutex_;
  std::condition_variable gate_;
  std::set<std::thread::id> threads_;
};

// The disk holds every push up while the run goes on: the ticks go on timing passages, nothing
// of the journal is written on the thread that runs them, and once the disk is back the journal
// holds every passage.
TEST_F(JournalRunTest, TheTickNeverWaitsForTheDisk) {
  SlowDisk disk;
  disk.holdSyncs = true;
  Setup({{"ANNA", "001001"}, {"BRUNO", "001002"}});
  journal = std::make_unique<RunJournalFile>(
      JournalSessionSource{sessionName, savedFile, runNumber, circuitName}, sounds, boxes,
      kJournalPath, kWorkingCopyPath, &disk, writerClock);
  control->SetJournal(*journal);
  StartRun();  // the start line is pushed at once: the writer now waits for the disk
  for (int lap = 0; lap < 20; ++lap) PassAt(500 + lap * 3000, {"001001", "001002"});
  control->OnStop();
  EXPECT_EQ(race->slots[0].lapCount, 19) << "timed while the disk was held up";
  EXPECT_FALSE(disk.WroteOn(std::this_thread::get_id())) << "the tick never touched the disk";
  auto expected = std::make_unique<Race>(*race);
  disk.Release();
  JournalSummary summary;
  EXPECT_EQ(Rebuilt(Journal(), &summary), RunSectionContent(*expected));
  EXPECT_EQ(summary.passages, 40);
  EXPECT_TRUE(summary.ended);
}

// The disk holds the writer up until the queue is full: the journal stops at that event (what it
// holds is a true beginning of the run, without a hole), and says so once the run is over.
TEST_F(JournalRunTest, AFullQueueStopsTheJournalWhereItIsAndSaysSoAfterTheRun) {
  SlowDisk disk;
  Setup({{"ANNA", "001001"}});
  journal = std::make_unique<RunJournalFile>(
      JournalSessionSource{sessionName, savedFile, runNumber, circuitName}, sounds, boxes,
      kJournalPath, kWorkingCopyPath, &disk, writerClock);
  control->SetJournal(*journal);
  StartRun();
  journal->Flush();
  disk.holdAppends = true;  // from here on the passages are given to the journal by hand
  DecodedPassage passage = {};
  SetText(passage.transponder, "001001");
  passage.clock = DecodedPassage::Clock::kDecoder;
  const int total = int(kJournalQueueBytes / 40);  // more than the queue holds
  for (int i = 1; i <= total; ++i) {
    passage.decoderTime = i * 100;
    journal->Passage(passage, i * 100);
  }
  journal->OnTick();
  EXPECT_TRUE(boxes.shown.empty()) << "nothing during the run";
  journal->RunEnded(total * 100 + 50);
  disk.Release();
  journal->Flush();
  journal->OnTick();
  JournalSummary summary;
  ASSERT_EQ(ReadJournalSummary(ReadBytes(kJournalPath), summary), JournalRead::kRead);
  EXPECT_FALSE(summary.ended);
  EXPECT_FALSE(summary.Damaged());
  EXPECT_GT(summary.passages, 1000);
  EXPECT_LT(summary.passages, total);
  ASSERT_EQ(boxes.shown.size(), 1u);
  char text[256];
  std::snprintf(text, sizeof text, TXT_JOURNAL_FELL_BEHIND,
                JournalTimeText(int32_t(summary.passages + 1) * 100).c_str());
  EXPECT_EQ(boxes.shown[0].text, text) << "from the first event left out";
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
  EXPECT_EQ(found.bytes, bytes + "Passage\t2\t00") << "the journal as it is";
  EXPECT_EQ(found.summary.passages, 1);
  EXPECT_EQ(found.summary.unreadableLines, 1);

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
