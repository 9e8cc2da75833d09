// The recovery of an interrupted run through the session commands, with a real working copy in a
// temporary program folder: the run goes back into its own session only (the working copy when
// its stamp is the journal's; otherwise the session's saved file, or a new file beside it that
// overwrites nothing, the other session left as it was), version 1 journals, the runs databases
// that hold the run already, and the circuits file that could not be read.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/session_controller.h"
#include "databases/circuits_guard.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

constexpr const char kTitle[] = "Start 2026/12/07 14:03:10 - Duration 1:00:00";

class SessionRecoveryTest : public ::testing::Test {
 protected:
  SessionRecoveryTest() {
    MakeDirectory("Private");
    MakeDirectory("club");
    race = std::make_unique<Race>();
    std::memset(race.get(), 0, sizeof(Race));
    SetDefaultRaceParameters(race->params);
    circuits = std::make_unique<CircuitTable>();
    ClearCircuits(*circuits);
    SetText(circuits->records[0].name, "Piste des Ours");
    circuits->records[0].recordLap = 18250;
    sounds = testing::AllSoundsOn();
    session = std::make_unique<SessionState>();
    ui = std::make_unique<testing::RecordingRaceUi>(race.get());
    raceControl = std::make_unique<RaceControl>(
        RaceControlWorld{*race, *circuits, sounds, session->participants, clock, player, boxes, *ui,
                         decoder, archive});
    controller = std::make_unique<SessionController>(
        SessionWorld{*session, *race, *circuits, *raceControl, *ui, tree, window, files, dialogs,
                     boxes, folder.path()});
  }

  // The session "Samedi" (ANNA and BRUNO, two runs, run 2 not timed yet) in the working copy;
  // its bytes.
  std::string SamediInTheWorkingCopy() {
    EXPECT_TRUE(CreateWorkingCopy("Samedi", boxes));
    ParticipantsList list;
    ClearParticipantsList(list);
    SetText(list.entries[0].driverName, "ANNA");
    SetText(list.entries[0].transponder, "001001");
    SetText(list.entries[1].driverName, "BRUNO");
    SetText(list.entries[1].transponder, "001002");
    EXPECT_TRUE(WriteParticipantsList(list, boxes));
    SessionTrack track = DefaultSessionTrack();
    SetText(track.circuitName, "Piste des Ours");
    EXPECT_TRUE(WriteSessionTrack(track, boxes));
    SessionHeader header = NewSessionHeader("Samedi");
    header.participantCount = 2;
    header.runCount = 2;
    EXPECT_TRUE(WriteSessionHeader(header, boxes));
    return ReadBytes(kWorkingCopyPath);
  }

  // Another session, "Dimanche" with CLARA, put in the working copy (New session, Load...).
  std::string DimancheInTheWorkingCopy() {
    EXPECT_TRUE(CreateWorkingCopy("Dimanche", boxes));
    ParticipantsList list;
    ClearParticipantsList(list);
    SetText(list.entries[0].driverName, "CLARA");
    EXPECT_TRUE(WriteParticipantsList(list, boxes));
    return ReadBytes(kWorkingCopyPath);
  }

  // The journal of Samedi's run 2, killed after six passages of ANNA and BRUNO, naming that
  // working copy stamp and saved file; expected is the run's section as the run would write it.
  std::string Journal(const std::string& stamp, const std::string& savedFile) {
    testing::TimingFixture run({{"ANNA", "001001"}, {"BRUNO", "001002"}});
    run.race->params.circuitIndex = 0;
    *run.circuits = *circuits;
    SetText(run.race->run.runTitle, kTitle);
    SetText(run.race->slots[0].setup.carName, "Journal car");
    std::string journal = JournalStartLine(
        *run.race,
        JournalSession{2, "Samedi", savedFile.c_str(), stamp.c_str(), "Piste des Ours", true});
    int64_t seq = 0;
    for (int32_t t : {400, 900, 4400, 5000, 8300, 9100}) {
      const char* transponder = seq % 2 == 0 ? "001001" : "001002";
      journal += JournalPassageLine(++seq, transponder, t, DecodedPassage::Clock::kDecoder, t);
      run.Pass(transponder, t);
    }
    MarkRunOver(*run.race);
    expected = RunSectionContent(*run.race);
    return journal;
  }

  // The start-up's part: the working copy kept, then the run recovered.
  bool Recover(const std::string& journal) {
    controller->StartUpKeepingWorkingCopy();
    controller->BuildTree();
    boxes.shown.clear();
    return controller->RecoverRun(journal, circuitsFile);
  }

  std::string Section(const std::string& file, int runNumber) {
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(runNumber, title, sizeof title);
    const SectionSpot spot = FindSection(file, title);
    if (!spot.found) return "<no section>";
    return file.substr(spot.dataStart, expected.size());
  }
  std::string Text(const char* format, const char* path) {
    char text[1024];
    std::snprintf(text, sizeof text, format, 2, "Samedi", path);
    return text;
  }
  // A runs database for the driver, archiving on.
  static std::string RunsDatabase(const char* driver) {
    MakeDirectory(kRunsFolder);
    const std::string path = RunsDatabasePath(driver);
    WriteBytes(path.c_str(), "1\t0\t\r\n");
    return path;
  }

  testing::TempFolder folder;  // first: the program folder is current before anything is made
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  CircuitsFileGuard circuitsFile;
  SoundSettings sounds;
  std::unique_ptr<SessionState> session;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> raceControl;
  testing::FakeSessionTree tree;
  testing::RecordingSessionWindow window;
  testing::ScriptedFileDialogs files;
  testing::ScriptedSessionDialogs dialogs;
  std::unique_ptr<SessionController> controller;
  std::string expected;
};

// The working copy holds another session when the journal's run is recovered (the journal was
// kept from an earlier crash, another session was loaded since): that session is left as it was
// and shown, the run goes into the journal's own saved file, and the user is told where.
TEST_F(SessionRecoveryTest, AnotherSessionInTheWorkingCopyIsLeftAsItWasAndTheRunGoesToItsFile) {
  const std::string samedi = SamediInTheWorkingCopy();
  const std::string samediStamp = ReadWorkingCopyStamp();
  ASSERT_TRUE(CopySessionFile(kWorkingCopyPath, "club/samedi.trng"));  // saved before the run
  const std::string journal = Journal(samediStamp, "club/samedi.trng");
  const std::string other = DimancheInTheWorkingCopy();
  const std::string otherStamp = ReadWorkingCopyStamp();
  const std::string anna = RunsDatabase("ANNA");

  ASSERT_TRUE(Recover(journal));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), other) << "the other session, byte for byte";
  EXPECT_EQ(ReadWorkingCopyStamp(), otherStamp);
  EXPECT_STREQ(session->header.sessionName, "Dimanche") << "and it is shown";
  EXPECT_STREQ(session->participants.entries[0].driverName, "CLARA");
  EXPECT_FALSE(session->hasSavedFile) << "never the journal's file for the other session";
  EXPECT_EQ(session->loadedRun, 0);
  ASSERT_FALSE(window.titles.empty());
  EXPECT_EQ(window.titles.back(), "Zarvo");

  const std::string saved = ReadBytes("club/samedi.trng");
  EXPECT_EQ(Section(saved, 2), expected);
  EXPECT_EQ(saved.substr(0, 19), "14002\tSamedi\t2\t1\t2\t");
  const SectionSpot list = FindSection(samedi, kParticipantsListTitle);
  EXPECT_EQ(saved.substr(50, list.areaEnd - 50), samedi.substr(50, list.areaEnd - 50))
      << "the file's own sections kept";
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Text(TXT_JOURNAL_RECOVERED_INTO_FILE, "club/samedi.trng"));

  auto stored = std::make_unique<ArchivedRun>();
  ASSERT_EQ(ReadRun(anna.c_str(), kTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->runCaption, " Samedi - Run2 ") << "archived under its own session";
  EXPECT_STREQ(stored->trackName, "Piste des Ours");
}

// The saved file is gone, or holds another session, or its run 2 is another run: a new file named
// after the session, beside it, takes the run, and a file of that name is never overwritten.
TEST_F(SessionRecoveryTest, WithoutItsSavedFileTheRunGoesIntoANewFileThatOverwritesNothing) {
  SamediInTheWorkingCopy();
  const std::string journal = Journal(ReadWorkingCopyStamp(), "club/samedi.trng");
  const std::string other = DimancheInTheWorkingCopy();
  // club/samedi.trng holds Dimanche now, and club/Samedi.trng is taken by an older copy whose
  // run 2 is another run.
  ASSERT_TRUE(CopySessionFile(kWorkingCopyPath, "club/samedi.trng"));
  auto older = std::make_unique<Race>(*testing::MakeRace({{"ANNA", "001001"}}));
  older->slots[0].lapCount = 1;
  older->slots[0].passageTimes[1] = 30000;
  SetText(older->run.runTitle, "Start 2026/11/30 10:00:00 - Duration 1:00:00");
  std::string taken = NewWorkingCopyBytes("Samedi");
  ApplyEdit(taken,
            PlanSectionRewrite(taken, "SessionRun2", RunReservePairs(OccupiedSlotCount(*older)),
                               RunSectionContent(*older)));
  WriteBytes("club/Samedi.trng", taken);

  ASSERT_TRUE(Recover(journal));
  EXPECT_EQ(ReadBytes("club/samedi.trng"), other) << "another session's file is not touched";
  EXPECT_EQ(ReadBytes("club/Samedi.trng"), taken) << "nor a file that holds another run 2";
  const std::string made = ReadBytes("club/Samedi (2).trng");
  EXPECT_EQ(Section(made, 2), expected);
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  ParseSessionHeader(made, header);
  EXPECT_STREQ(header.sessionName, "Samedi");
  EXPECT_EQ(header.participantCount, 2);
  EXPECT_EQ(header.runCount, 2);
  ParticipantsList list;
  ClearParticipantsList(list);
  ASSERT_TRUE(ParseParticipantsList(made, list)) << "the session is made from the journal";
  EXPECT_STREQ(list.entries[1].driverName, "BRUNO");
  SessionTrack track = DefaultSessionTrack();
  ASSERT_TRUE(ParseSessionTrack(made, track));
  EXPECT_STREQ(track.circuitName, "Piste des Ours");
  RaceParameters params;
  std::memset(&params, 0, sizeof params);
  EXPECT_TRUE(ParseRaceParameters(made, params));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), other);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, Text(TXT_JOURNAL_RECOVERED_INTO_FILE, "club\\Samedi (2).trng"));
}

// A journal of the first version names no stamp: its session is the working copy only when that
// has no stamp either (the program that wrote the journal made none) and bears the session's name.
TEST_F(SessionRecoveryTest, AVersion1JournalGoesIntoTheWorkingCopyOnlyWhenItIsItsSession) {
  const std::string samedi = SamediInTheWorkingCopy();
  std::string start = Journal("", "");
  const size_t end = start.find('\n') + 1;
  std::string line = start.substr(0, end);
  // The start line as the first version wrote it: without the stamp and the circuit name.
  std::vector<std::string> fields;
  for (size_t from = 0, tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1) {
    fields.push_back(line.substr(from, tab - from));
  }
  fields.pop_back();  // the CRC
  fields[1] = "1";
  fields.erase(fields.begin() + 6, fields.begin() + 8);
  std::string content;
  for (const std::string& f : fields) content += f + "\t";
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X\t\r\n", unsigned(JournalLineCrc(content)));
  const std::string version1 = content + crc + start.substr(end);
  JournalSummary summary;
  ASSERT_EQ(ReadJournalSummary(version1, summary), JournalRead::kRead);
  ASSERT_EQ(summary.start.version, 1);

  // The working copy has a stamp: made by this program, after the journal. Not its session.
  ASSERT_TRUE(Recover(version1));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), samedi);
  EXPECT_TRUE(FileExists("Samedi.trng")) << "a new file in the program folder";
  // Without a stamp and with the journal's name: its session.
  RemoveFile("Samedi.trng");
  RemoveFile(kWorkingCopyStampPath);
  ASSERT_TRUE(Recover(version1));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected);
  EXPECT_FALSE(FileExists("Samedi.trng"));
}

// The driver's runs database holds the run already (archived at the run's end, its sheet saved
// again after it): the recovery leaves it as it is; another driver's gets the run.
TEST_F(SessionRecoveryTest, ARunsDatabaseThatHoldsTheRunKeepsItAndItsSheet) {
  SamediInTheWorkingCopy();
  const std::string journal = Journal(ReadWorkingCopyStamp(), "club/samedi.trng");
  const std::string anna = RunsDatabase("ANNA");
  const std::string bruno = RunsDatabase("BRUNO");
  auto stored = testing::MakeRace({{"ANNA", "001001"}});
  stored->slots[0].lapCount = 1;
  stored->slots[0].passageTimes[1] = 7900;
  SetText(stored->slots[0].setup.carName, "Newer car");
  ASSERT_EQ(
      ArchiveParticipantRun(stored->slots[0], kTitle, " Samedi - Run2 ", "Piste des Ours", boxes),
      ArchiveOutcome::kAppended);
  const std::string annaBefore = ReadBytes(anna.c_str());

  ASSERT_TRUE(Recover(journal));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected);
  EXPECT_EQ(ReadBytes(anna.c_str()), annaBefore) << "neither the run nor its sheet replaced";
  auto got = std::make_unique<ArchivedRun>();
  ASSERT_EQ(ReadRun(bruno.c_str(), kTitle, *got, boxes), RunsFileResult::kDone);
  EXPECT_EQ(got->participant.lapCount, 2);
  EXPECT_TRUE(boxes.shown.empty());
}

// The circuits file is there but could not be read at start-up: the lap record of the recovered
// run does not replace it with a table that lacks its circuits. A missing file is created.
TEST_F(SessionRecoveryTest, ACircuitsFileThatCouldNotBeReadIsNotRewrittenByTheRecovery) {
  SamediInTheWorkingCopy();
  const std::string journal = Journal(ReadWorkingCopyStamp(), "club/samedi.trng");
  const std::string tooLarge(size_t(17) << 20, 'x');  // beyond what a database read takes
  WriteBytes(kCircuitsFile, tooLarge);
  ASSERT_EQ(circuitsFile.Load(*circuits), CircuitsFileGuard::Loaded::kUnreadable);
  SetText(circuits->records[0].name, "Piste des Ours");  // what memory holds, not the file
  circuits->records[0].recordLap = 18250;
  ASSERT_TRUE(Recover(journal));
  EXPECT_EQ(circuits->records[0].recordLap, 3900) << "the record is kept in memory";
  EXPECT_EQ(ReadBytes(kCircuitsFile).size(), tooLarge.size());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_CIRCUITS_FILE_NOT_FOUND);

  RemoveFile(kCircuitsFile);
  ASSERT_EQ(circuitsFile.Load(*circuits), CircuitsFileGuard::Loaded::kMissing);
  SetText(circuits->records[0].name, "Piste des Ours");
  circuits->records[0].recordLap = 18250;
  ASSERT_TRUE(Recover(journal));
  EXPECT_EQ(ReadBytes(kCircuitsFile), "Piste des Ours\t\t3.900\t3900\tANNA\t\t\t\t\r\n");
}

}  // namespace
}  // namespace zarvo
