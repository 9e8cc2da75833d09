// The program's start-up over a run that never reached the working copy: the recovery question,
// the run rebuilt into its own session, the journal set aside or kept.
#include "app/program.h"

#include <gtest/gtest.h>

#include "tests/app/program_fixture.h"

namespace zarvo {
namespace {

using namespace program_testing;

// ---- A run that never reached the working copy, found at start-up.

class RecoveryTest : public ProgramTest {
 protected:
  // A session with two participants and two runs in the working copy, and the journal of its run
  // 2 killed after six passages; expected is that run's section as the run would write it.
  // circuitIndex: the circuit of the run (0: "Piste des Ours", its record 18.250 by MARC).
  // torn: the kill left half a line at the end.
  void PrepareInterruptedRun(int32_t circuitIndex = kNoCircuit, bool torn = false) {
    Install();
    WriteBytes(
        "Zarvo Training/BaseDonn\xE9"
        "esCircuits.bd",
        "Piste des Ours\t120\t18.250\t18250\tMARC\t3\tGrenoble\t\t\r\n");
    SetCurrentFolder("Zarvo Training");
    MessageBoxes& quiet = boxes;
    ASSERT_TRUE(CreateWorkingCopy("Samedi", quiet));
    ParticipantsList list;
    std::memset(&list, 0, sizeof list);
    for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
    SetText(list.entries[0].driverName, "ANNA");
    SetText(list.entries[0].transponder, "001001");
    SetText(list.entries[1].driverName, "BRUNO");
    SetText(list.entries[1].transponder, "001002");
    ASSERT_TRUE(WriteParticipantsList(list, quiet));
    testing::TimingFixture run({{"ANNA", "001001"}, {"BRUNO", "001002"}});
    run.race->params.circuitIndex = circuitIndex;
    SetText(run.circuits->records[0].name, "Piste des Ours");
    run.circuits->records[0].recordLap = 18250;
    ASSERT_TRUE(WriteRaceParameters(run.race->params, quiet));
    SessionHeader header = NewSessionHeader("Samedi");
    header.participantCount = 2;
    header.runCount = 2;
    ASSERT_TRUE(WriteSessionHeader(header, quiet));
    beforeCrash = ReadBytes(kWorkingCopyPath);

    SetText(run.race->run.runTitle, "Start 2026/12/07 14:03:10 - Duration 1:00:00");
    stamp = ReadWorkingCopyStamp();
    std::string journal = JournalStartLine(
        *run.race, JournalSession{2, "Samedi", savedFile, stamp.c_str(), "", true});
    lines = {journal};
    int64_t seq = 0;
    for (int32_t t : {400, 900, 4400, 5000, 8300, 9100}) {
      const char* transponder = seq % 2 == 0 ? "001001" : "001002";
      lines.push_back(
          JournalPassageLine(++seq, transponder, t, DecodedPassage::Clock::kDecoder, t));
      journal += lines.back();
      run.Pass(transponder, t);
    }
    MarkRunOver(*run.race);
    expected = RunSectionContent(*run.race);
    WriteBytes(kJournalPath, journal + (torn ? "Passage\t7\t0010" : ""));
    log.clear();
  }
  std::string Box(const char* caption, const std::string& text) {
    return std::string("box ") + caption + "|" + text;
  }

  std::string Section(const std::string& file, int runNumber) {
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(runNumber, title, sizeof title);
    const SectionSpot spot = FindSection(file, title);
    if (!spot.found) return "<no section>";
    return file.substr(spot.dataStart, expected.size());
  }

  const char* savedFile = "C:\\Clubs\\samedi.trng";
  std::vector<std::string> lines;  // of the journal: the start, then the six passages
  std::string stamp;  // the working copy's, as the journal names it
  std::string beforeCrash;
  std::string expected;
};

TEST_F(RecoveryTest, YesBringsBackTheSessionWithTheRebuiltRunAndKeepsTheCrashCopy) {
  PrepareInterruptedRun();
  boxes.answers = {Answer::kYes};
  StartUp();
  const std::string question =
      std::string("ask ") + TXT_CAPTION_QUESTION + "|" +
      (TXT_RUN_TITLE[0] == 'S'
           ? "The run Run2 of session Samedi was interrupted at 0:00:09 with 6 passages. "
             "Recover it?"
           : "Le run Run2 de la s\xE9"
             "ance Samedi a \xE9t\xE9 interrompu \xE0 0:00:09 avec 6 "
             "passages. Le r\xE9"
             "cup\xE9rer ?");
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  EXPECT_LT(IndexOf(question), IndexOf("shell cursors")) << "asked before the crash copy";
  EXPECT_EQ(ReadBytes("VaZivivIvar.trng"), beforeCrash) << "the crash copy as the crash left it";
  const std::string workingCopy = ReadBytes(kWorkingCopyPath);
  EXPECT_EQ(Section(workingCopy, 2), expected);
  EXPECT_EQ(workingCopy.substr(0, 19), "14002\tSamedi\t2\t1\t2\t");
  EXPECT_FALSE(FileExists(kJournalPath)) << "retired once its run is in the working copy";

  const ProgramState& s = program->state();
  EXPECT_EQ(s.session.loadedRun, 2) << "the run is shown";
  EXPECT_EQ(s.race.slots[0].lapCount, 2);
  EXPECT_EQ(s.race.slots[1].lapCount, 2);
  EXPECT_TRUE(s.race.slots[0].finished);
  EXPECT_FALSE(s.race.run.raceRunning);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 2));
  EXPECT_TRUE(ui.controlEnabled[IDC_MANUAL_LAP_FIRST]);
  EXPECT_STREQ(s.race.params.startMode, kStartStaggered);
  EXPECT_TRUE(s.session.hasSavedFile) << "saved to its own file again";
  EXPECT_EQ(s.session.savedFilePath, savedFile);
  EXPECT_TRUE(ui.menuEnabled.at(IDM_SAVE));
  ASSERT_FALSE(window.titles.empty());
  EXPECT_EQ(window.titles.back(), std::string("Zarvo:   ") + savedFile);
}

// The replay of the journal at start-up times the run again without saying a word of it.
TEST_F(RecoveryTest, TheRecoveredRunIsReplayedInSilenceWithCalloutsOn) {
  PrepareInterruptedRun();
  WriteBytes(kCalloutSettingsFile, kCalloutsOnFile);
  boxes.answers = {Answer::kYes};
  Create();
  testing::FakeCalloutVoices voices;
  program->callouts().SetVoiceMaker(voices);
  program->WindowStartUp();
  for (int tick = 0; tick < 100; ++tick) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  const ProgramState& s = program->state();
  ASSERT_EQ(s.race.slots[0].lapCount, 2) << "the run was rebuilt";
  ASSERT_NE(voices.speech, nullptr) << "the callouts are on";
  EXPECT_EQ(program->callouts().callouts().counts().queued, 0);
  EXPECT_TRUE(voices.speech->said.empty());
  EXPECT_TRUE(voices.output->played.empty());
}


TEST_F(RecoveryTest, NoKeepsTheJournalAsideAndStartsANewSession) {
  PrepareInterruptedRun();
  const std::string journal = ReadBytes(kJournalPath);
  boxes.answers = {Answer::kNo};
  StartUp();
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_FALSE(FileExists(kJournalPath));
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), journal) << "renamed, not deleted";
  EXPECT_EQ(ReadBytes("VaZivivIvar.trng"), beforeCrash);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
  EXPECT_EQ(program->state().session.loadedRun, 0);
}

TEST_F(RecoveryTest, AnUnreadableJournalIsReportedAndSetAside) {
  PrepareInterruptedRun();
  WriteBytes(kJournalPath, "Depart\t1\tgarbage\r\n");
  StartUp();
  char text[256];
  std::snprintf(text, sizeof text, TXT_JOURNAL_UNREADABLE, "Private/JournalPassages-1.jrn");
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" + text});
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), "Depart\t1\tgarbage\r\n");
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
}

// A damaged line in the middle: the question says how many lines cannot be read, the rest of the
// run is rebuilt, and the journal is kept aside, never deleted, with a message saying where.
TEST_F(RecoveryTest, ADamagedJournalIsRecoveredWithoutItsUnreadableLineAndKeptAside) {
  PrepareInterruptedRun();
  std::string damaged;
  std::string withoutIt;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (i == 3) line[12] ^= 0x02;  // ANNA's passage at 4.4 s, flipped on the disk
    damaged += line;
    if (i != 3) withoutIt += lines[i];
  }
  WriteBytes(kJournalPath, damaged);
  auto rebuilt = std::make_unique<Race>();
  auto noCircuits = std::make_unique<CircuitTable>();
  std::memset(noCircuits.get(), 0, sizeof(CircuitTable));
  ASSERT_TRUE(ReplayJournal(withoutIt, *rebuilt, *noCircuits));
  expected = RunSectionContent(*rebuilt);
  boxes.answers = {Answer::kYes};
  StartUp();
  char question[512];
  std::snprintf(question, sizeof question, TXT_JOURNAL_RECOVER_DAMAGED_QUESTION, 2, "Samedi",
                "0:00:09", 5, 1);
  char after[512];
  std::snprintf(after, sizeof after, TXT_JOURNAL_RECOVERED_DAMAGED, 2, 1,
                "Private/JournalPassages-1.jrn");
  EXPECT_EQ(Boxes(),
            (std::vector<std::string>{std::string("ask ") + TXT_CAPTION_QUESTION + "|" + question,
                                      Box(TXT_CAPTION_ERROR, after)}));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected) << "the other passages are in";
  EXPECT_EQ(program->state().race.slots[0].lapCount, 1);
  EXPECT_FALSE(FileExists(kJournalPath));
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), damaged) << "kept aside as it was";
}

// No working copy at all: the run goes into its session's file (here its saved file is not on
// this PC, so a new one named after the session, in the program folder), which is then loaded.
TEST_F(RecoveryTest, AWorkingCopyThatIsGoneBringsTheRunIntoItsSessionsFileWhichIsLoaded) {
  PrepareInterruptedRun();
  RemoveFile(kWorkingCopyPath);
  boxes.answers = {Answer::kYes};
  StartUp();
  const std::string sessionFile = ReadBytes("Samedi.trng");
  EXPECT_EQ(Section(sessionFile, 2), expected);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), sessionFile) << "loaded as Load session loads it";
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  EXPECT_TRUE(ParseParticipantsList(sessionFile, list));
  EXPECT_STREQ(list.entries[1].driverName, "BRUNO");
  EXPECT_STREQ(list.entries[1].transponder, "001002");
  const ProgramState& s = program->state();
  EXPECT_EQ(s.session.header.runCount, 2);
  EXPECT_EQ(s.session.header.participantCount, 2);
  EXPECT_EQ(s.session.loadedRun, 2);
  const std::string path = s.programFolder + "\\Samedi.trng";
  EXPECT_EQ(s.session.savedFilePath, path);
  char text[1024];
  std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVERED_AND_LOADED, 2, "Samedi", path.c_str());
  EXPECT_EQ(Boxes().back(), Box(TXT_CAPTION_REFUSAL, text));
  EXPECT_FALSE(FileExists(kJournalPath));
}

// A working copy that cannot be read cannot say whose session it is: it is kept aside as it is,
// and the run goes into its session's file, which takes its place.
TEST_F(RecoveryTest, AWorkingCopyThatCannotBeReadIsKeptAsideAndTheRunGoesIntoItsSessionsFile) {
  PrepareInterruptedRun();
  RemoveFile(kWorkingCopyPath);
  MakeDirectory(kWorkingCopyPath);  // where the file should be
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_TRUE(std::filesystem::is_directory("Private/Session-1.trng")) << "kept as it is";
  char aside[512];
  std::snprintf(aside, sizeof aside, TXT_WORKING_COPY_SET_ASIDE, "Private/Session-1.trng");
  const std::vector<std::string> shown = Boxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1], Box(TXT_CAPTION_ERROR, aside));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), ReadBytes("Samedi.trng"));
  EXPECT_EQ(program->state().session.loadedRun, 2);
  EXPECT_FALSE(FileExists(kJournalPath));
}

// The run cannot be written anywhere (the working copy holds another session, and the folder of
// the session's file is a file): the screen shows the working copy as the disk holds it, nothing
// of it changed, and the journal stays for the next start.
TEST_F(RecoveryTest, AFailedRecoveryShowsWhatTheDiskHoldsAndKeepsTheJournal) {
  savedFile = "blocker\\samedi.trng";
  WriteBytes("Zarvo Training/blocker", "a file where the folder should be");
  PrepareInterruptedRun();
  const std::string journal = ReadBytes(kJournalPath);
  ASSERT_TRUE(CreateWorkingCopy("Dimanche", boxes));  // another session took the working copy
  const std::string other = ReadBytes(kWorkingCopyPath);
  log.clear();
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_EQ(Boxes().back(), Box(TXT_CAPTION_ERROR, TXT_JOURNAL_NOT_RECOVERED));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), other);
  EXPECT_STREQ(program->state().session.header.sessionName, "Dimanche") << "what the disk holds";
  EXPECT_FALSE(program->state().session.hasSavedFile);
  EXPECT_EQ(program->state().session.loadedRun, 0);
  EXPECT_EQ(ReadBytes(kJournalPath), journal);
}

TEST_F(RecoveryTest, TheLapRecordSetInTheInterruptedRunReachesTheCircuitsDatabase) {
  PrepareInterruptedRun(0);
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_EQ(ReadBytes("BaseDonn\xE9"
                      "esCircuits.bd"),
            "Piste des Ours\t120\t3.900\t3900\tANNA\t3\tGrenoble\t\t\r\n")
      << "ANNA's 3.900 (4400 to 8300) beats 18.250";
}

}  // namespace
}  // namespace zarvo
