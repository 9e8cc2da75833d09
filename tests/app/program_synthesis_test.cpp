// The run synthesis opened by Ctrl+click on a row of the results: the hand-off, the sheet saved
// back into the run and the runs database, a stale or missing answer, the run timed meanwhile.
#include "app/program.h"

#include <gtest/gtest.h>

#include "tests/app/program_fixture.h"

namespace zarvo {
namespace {

using namespace program_testing;

// ---- The run synthesis opened by Ctrl+click on a row.

// A saved sheet: every field "new<i>".
std::string SavedAnswer(SetupSheet& sheet) {
  std::memset(&sheet, 0, sizeof sheet);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetText(SetupField(sheet, i), size_t(SetupFieldCapacity(i)),
            ("new" + std::to_string(i)).c_str());
  }
  return FormatSetupAnswer(sheet, true);
}

TEST_F(ProgramTest, SynthesisGetsTheSlotsRunAndASavedSheetReplacesItsSheet) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  SetText(s.race.run.runTitle, "Start 2026/12/07 14:03:10 - Duration 0:05:00");
  SetText(s.session.runCaption, " Training - Run1 ");
  SetText(s.session.track.circuitName, "Mornay");
  s.session.changed = false;
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  std::string handedOff;
  programDialogs.synthesis = [&] {
    handedOff = ReadBytes(kDetailResultsFile);
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  program->OpenRunSynthesis(2);
  EXPECT_EQ(programDialogs.synthesisOpened, 1);
  const std::string line2 =
      "\r\n Training - Run1 \tMornay\tStart 2026/12/07 14:03:10 - Duration 0:05:00\t\r\n";
  EXPECT_EQ(handedOff, "BRUNO\t0\t0\tDry\tOld car\t" + std::string(47, '\t') + line2);
  EXPECT_EQ(std::memcmp(&s.race.slots[1].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car") << "the other slot is not touched";
  EXPECT_TRUE(s.session.changed);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProgramTest, SynthesisCancelledOrWithoutWindowLeavesTheSheetAndTheRunUnchanged) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.changed = false;
  auto sheet = std::make_unique<SetupSheet>();
  SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, FormatSetupAnswer(*sheet, false));
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_FALSE(s.session.changed);

  // No window shown: the hand-off left in the file is never read as an answer, even for a
  // driver whose name begins with "1".
  SetText(s.race.slots[0].driverName, "1 FAST");
  programDialogs.synthesis = [] { return false; };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_FALSE(s.session.changed);

  // The window wrote no answer (its write failed): reported, nothing changes.
  programDialogs.synthesis = [] {
    RemoveFile(kDetailResultsFile);
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                              TXT_DETAIL_RESULTS_FILE_NOT_FOUND});
  EXPECT_EQ(programDialogs.synthesisOpened, 3);

  // Slots out of range and a press over no row open nothing.
  program->OpenRunSynthesis(0);
  program->OpenRunSynthesis(21);
  EXPECT_EQ(program->OnResultsCtrlClick(-5, -5), 0);
  EXPECT_EQ(programDialogs.synthesisOpened, 3);
}

TEST_F(ProgramTest, AHandOffThatCannotBeWrittenIsReportedAndTheWindowStillOpens) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ASSERT_TRUE(MakeDirectory(kDetailResultsFile));  // a folder where the file should be
  log.clear();
  programDialogs.synthesis = [] { return true; };
  program->OpenRunSynthesis(1);
  EXPECT_EQ(programDialogs.synthesisOpened, 1);
  const std::string error =
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_DETAIL_RESULTS_FILE_NOT_FOUND;
  EXPECT_EQ(Boxes(), (std::vector<std::string>{error, error})) << "writing, then reading";
  EXPECT_STREQ(program->state().race.slots[0].setup.carName, "Old car");
}

TEST_F(ProgramTest, PassagesGoOnBeingTimedWhileTheSynthesisIsOpenDuringARun) {
  Install();
  StartUp();
  program->AfterWindowShown();  // no answer to the identification: the Vexa interface
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;  // run 1 selected in the tree
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  int lapsWhenOpened = -1;
  programDialogs.synthesis = [&] {
    lapsWhenOpened = s.race.slots[0].lapCount;
    // The window's message loop dispatches timer 1 to the main window: three passages of ANNA
    // (transponder 1001), 4 s apart, arrive while it is open.
    for (int lap = 0; lap < 3; ++lap) {
      clock.Advance(4000);
      port.Queue(B({0x03, 0xE9}));
      for (int tick = 0; tick < 3; ++tick) program->OnTick();
    }
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_EQ(lapsWhenOpened, 0);
  EXPECT_GE(s.race.slots[0].lapCount, 2) << "the passages were timed behind the window";
  EXPECT_GT(s.race.slots[0].passageTimes[s.race.slots[0].lapCount], 0);
  EXPECT_EQ(s.race.standings[0].slotNumber, 1) << "ANNA leads the table";
  EXPECT_EQ(std::string(s.race.rows[0].lapsText), std::to_string(s.race.slots[0].lapCount))
      << "and the rows were formatted for the repaint";
  EXPECT_EQ(std::memcmp(&s.race.slots[0].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_TRUE(s.race.run.raceRunning);
  EXPECT_TRUE(s.session.changed);
  // A crash now would not lose the sheet: the run rebuilt from its journal carries it.
  auto rebuilt = std::make_unique<Race>();
  auto circuits = std::make_unique<CircuitTable>(s.circuits);
  program->journal().Flush();  // the journal's writer thread has caught up
  ASSERT_TRUE(ReplayJournal(ReadBytes(kJournalPath), *rebuilt, *circuits));
  EXPECT_EQ(std::memcmp(&rebuilt->slots[0].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_EQ(rebuilt->slots[0].lapCount, s.race.slots[0].lapCount);
}

TEST_F(ProgramTest, ASavedSheetReachesTheDriversRunsDatabase) {
  Install();
  StartUp();
  program->AfterWindowShown();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;  // run 1 selected in the tree
  ASSERT_TRUE(MakeDirectory("Base données runs"));
  const std::string path = RunsDatabasePath("ANNA");
  ASSERT_TRUE(CreateRunsDatabase("ANNA"));
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  auto stored = std::make_unique<ArchivedRun>();

  // During a run nothing is archived yet: the run's end stores the run with the new sheet.
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  s.race.slots[0].lapCount = 1;
  s.race.slots[0].passageTimes[1] = 21000;
  program->OpenRunSynthesis(1);
  RunsListing listing;
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "no run stored while it is timed";
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "new1");

  // After the run: the stored run is rewritten at once with the sheet saved now.
  SetText(sheet->carName, "Newer car");
  const std::string newer = FormatSetupAnswer(*sheet, true);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, newer);
    return true;
  };
  program->OpenRunSynthesis(1);
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "Newer car");
  EXPECT_STREQ(stored->participant.setup.throttleServo, "new48");
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 2u) << "its slot rewritten, no second run";
}

// A run the user removed from the runs database after it was timed stays removed: a sheet saved
// in the synthesis brings it back only after "Yes", and leaving the run does not either.
TEST_F(ProgramTest, ARunRemovedFromTheRunsDatabaseComesBackOnlyAfterYes) {
  Install();
  StartUp();
  program->AfterWindowShown();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;
  ASSERT_TRUE(MakeDirectory("Base données runs"));
  const std::string path = RunsDatabasePath("ANNA");
  ASSERT_TRUE(CreateRunsDatabase("ANNA"));
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  s.race.slots[0].lapCount = 1;
  s.race.slots[0].passageTimes[1] = 21000;
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  RunsListing listing;
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u) << "archived at the end of the run";
  ASSERT_EQ(RemoveRun(path.c_str(), s.race.run.runTitle, boxes), RunsFileResult::kDone);
  EXPECT_TRUE(RunWasRemoved("ANNA", s.race.run.runTitle));
  EXPECT_FALSE(RunWasRemoved("BRUNO", s.race.run.runTitle));

  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  char question[512];
  std::snprintf(question, sizeof question, TXT_REMOVED_RUN_BACK_QUESTION, "ANNA");
  const std::string asked = std::string("ask ") + TXT_CAPTION_QUESTION + "|" + question;
  boxes.answers = {Answer::kNo};
  program->OpenRunSynthesis(1);
  ASSERT_EQ(Boxes().back(), asked);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "new1") << "the session gets the sheet";
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "No: left removed";
  ArchiveRun(s.race, s.race.run.runTitle, "", "", boxes);  // leaving the run, closing
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "not brought back behind the user's back";

  boxes.answers = {Answer::kYes};
  program->OpenRunSynthesis(1);
  EXPECT_EQ(Boxes().back(), asked);
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u) << "Yes: stored again";
  auto stored = std::make_unique<ArchivedRun>();
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "new1");
  const size_t boxesNow = Boxes().size();
  program->OpenRunSynthesis(1);
  EXPECT_EQ(Boxes().size(), boxesNow) << "stored again: no more question";
}

// The window closed without writing its answer: the file still holds the hand-off, whose first
// field (a driver name beginning with a digit) must not be read as the flag.
TEST_F(ProgramTest, AStaleHandOffIsNoAnswerAndIsReported) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  SetText(s.race.slots[0].driverName, "1 ANNA");
  SetText(s.race.slots[0].setup.engine, "Picco");
  const SetupSheet before = s.race.slots[0].setup;
  programDialogs.synthesis = [] { return true; };  // shown, but its answer was not written
  program->OpenRunSynthesis(1);
  EXPECT_EQ(std::memcmp(&s.race.slots[0].setup, &before, sizeof before), 0);
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().back(), std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                TXT_SETUP_ANSWER_NOT_VALID);
}

}  // namespace
}  // namespace zarvo
