// The working copy on disk: byte-exact layout, in-place rewrites that keep every other byte,
// sections that outgrow their room, header rewrites, whole-file copies and failure messages.
#include "session/session_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::MakeRace;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

std::string Repeat(const char* unit, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += unit;
  return out;
}
std::string Pairs(int n) {
  return Repeat("1\t", n);
}
std::string Tabs(int n) {
  return std::string(size_t(n), '\t');
}

std::string ReadBytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteBytes(const char* path, const std::string& bytes) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string WorkingCopy() {
  return ReadBytes(kWorkingCopyPath);
}

ParticipantsList MakeList(testing::Drivers drivers) {
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
  int k = 0;
  for (const auto& [name, transponder] : drivers) {
    SetText(list.entries[k].driverName, name);
    SetText(list.entries[k].transponder, transponder);
    ++k;
  }
  return list;
}

// Occupied slots 1..count with `laps` laps of lapTime each (times may run to nine digits).
std::unique_ptr<Race> RunWithLaps(int count, int laps, int32_t lapTime) {
  auto race = MakeRace({});
  for (int s = 0; s < count; ++s) {
    ParticipantRecord& p = race->slots[s];
    char name[16];
    std::snprintf(name, sizeof name, "DRIVER%02d", s + 1);
    SetText(p.driverName, name);
  }
  ResetTable(*race);
  for (int s = 0; s < count; ++s) {
    ParticipantRecord& p = race->slots[s];
    p.lapCount = laps;
    for (int k = 1; k <= laps; ++k) p.passageTimes[k] = k * lapTime + s;
    p.bestLap = p.worstLap = p.lastLap = p.averageLap = lapTime;
    SetText(p.setup.carName, "Buggy");
  }
  SetText(race->run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:05:00");
  return race;
}

// A race prepared as a run is loaded: names from the list, table reset.
std::unique_ptr<Race> PreparedFrom(const ParticipantsList& list) {
  auto race = MakeRace({});
  for (int s = 0; s < kSlotCount; ++s)
    SetText(race->slots[s].driverName, list.entries[s].driverName);
  ResetTable(*race);
  return race;
}

void ExpectSameRun(const Race& expected, const Race& actual) {
  for (int s = 0; s < kSlotCount; ++s) {
    const ParticipantRecord& e = expected.slots[s];
    const ParticipantRecord& a = actual.slots[s];
    SCOPED_TRACE(s + 1);
    EXPECT_STREQ(a.driverName, e.driverName);
    ASSERT_EQ(a.lapCount, e.lapCount);
    EXPECT_EQ(a.lastLap, e.lastLap);
    EXPECT_EQ(a.bestLap, e.bestLap);
    EXPECT_EQ(a.worstLap, e.worstLap);
    EXPECT_EQ(a.averageLap, e.averageLap);
    for (int k = 0; k <= e.lapCount; ++k) ASSERT_EQ(a.passageTimes[k], e.passageTimes[k]) << k;
    EXPECT_EQ(std::memcmp(&a.setup, &e.setup, sizeof a.setup), 0);
  }
  EXPECT_STREQ(actual.run.runTitle, expected.run.runTitle);
}

class SessionFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateWorkingCopy(kDefaultSessionName, boxes)); }
  TempFolder folder;
  RecordingMessageBoxes boxes;
};

// ---- New working copy.

TEST_F(SessionFile, NewWorkingCopyIsOneLineOfFiftyCharacters) {
  EXPECT_EQ(WorkingCopy(), "10000\tSEANCE TRAINING\t0\t0\t0\t" + Pairs(11) + "\r\n");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionFile, NewWorkingCopyReplacesTheOldFileWhole) {
  WriteBytes(kWorkingCopyPath, std::string(300000, 'x'));
  ASSERT_TRUE(CreateWorkingCopy("CLUB", boxes));
  // 17 characters of fields: the rest of line 1 begins with a lone tab.
  EXPECT_EQ(WorkingCopy(), "10000\tCLUB\t0\t0\t0\t\t" + Pairs(16) + "\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Private"), {}), 2)
      << "the working copy and its stamp, no temporary file";
}

// The stamp beside the working copy names the session it holds: new for every other session put
// there (created, loaded, imported), the same through every change within the session and its
// saves; a load that fails keeps the working copy and its stamp.
TEST_F(SessionFile, TheStampIsNewForEveryNewSessionAndKeptByEveryChangeWithinIt) {
  ASSERT_TRUE(CreateWorkingCopy("CLUB", boxes));
  const std::string created = ReadWorkingCopyStamp();
  ASSERT_EQ(created.size(), kSessionStampLength);
  EXPECT_EQ(created.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(ReadBytes(kWorkingCopyStampPath), created + "\r\n");

  SessionHeader header = NewSessionHeader("CLUB");
  header.runCount = 2;
  ASSERT_TRUE(WriteSessionHeader(header, boxes));
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
  ASSERT_TRUE(WriteParticipantsList(list, boxes));
  ASSERT_TRUE(CopySessionFile(kWorkingCopyPath, "saved.trng"));  // Save
  EXPECT_EQ(ReadWorkingCopyStamp(), created);
  EXPECT_EQ(WorkingCopyStamp(), created);

  ASSERT_TRUE(CopySessionFile("saved.trng", kWorkingCopyPath));  // Load session
  const std::string loaded = ReadWorkingCopyStamp();
  EXPECT_EQ(loaded.size(), kSessionStampLength);
  EXPECT_NE(loaded, created);
  EXPECT_EQ(WorkingCopyStamp(), loaded);

  EXPECT_FALSE(CopySessionFile("missing.trng", kWorkingCopyPath));
  EXPECT_EQ(ReadWorkingCopyStamp(), loaded) << "a failed load changes nothing";

  ASSERT_TRUE(ReplaceWorkingCopy(NewWorkingCopyBytes("PHONE")));  // an imported phone run
  const std::string imported = ReadWorkingCopyStamp();
  EXPECT_NE(imported, loaded);
  ASSERT_TRUE(CreateWorkingCopy("NEW", boxes));  // New session
  EXPECT_NE(ReadWorkingCopyStamp(), imported);
  EXPECT_NE(ReadWorkingCopyStamp(), created);

  WriteBytes(kWorkingCopyStampPath, "not a stamp\r\n");
  EXPECT_EQ(ReadWorkingCopyStamp(), "");
  RemoveFile(kWorkingCopyStampPath);
  EXPECT_EQ(ReadWorkingCopyStamp(), "");
}

TEST(SessionFileFailures, WorkingCopyThatCannotBeCreatedIsReported) {
  TempFolder folder;
  WriteBytes("Private", "a file where the folder should be");
  RecordingMessageBoxes boxes;
  EXPECT_FALSE(CreateWorkingCopy(kDefaultSessionName, boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(boxes.shown[0].text, TXT_SESSION_FILE_NOT_FOUND);
}

TEST(SessionFileFailures, EveryOperationWithoutWorkingCopyReportsAndLeavesMemory) {
  TempFolder folder;
  RecordingMessageBoxes boxes;
  SessionHeader header = NewSessionHeader("KEPT");
  EXPECT_FALSE(ReadSessionHeader(header, boxes));
  EXPECT_STREQ(header.sessionName, "KEPT");
  EXPECT_FALSE(WriteSessionHeader(header, boxes));
  EXPECT_FALSE(WriteSelectedNodeId(12001, boxes));
  auto race = RunWithLaps(1, 2, 30000);
  EXPECT_FALSE(WriteRunSection(1, *race, boxes));
  EXPECT_EQ(ReadRunSection(1, *race, boxes), SectionRead::kNoFile);
  EXPECT_EQ(race->slots[0].lapCount, 2);
  ParticipantsList list = MakeList({{"ANNA", "004711"}});
  EXPECT_EQ(UpdateParticipantsList(list), SectionWrite::kNoFile);
  ASSERT_EQ(boxes.shown.size(), 5u);
  for (const auto& shown : boxes.shown) EXPECT_EQ(shown.text, TXT_SESSION_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(kWorkingCopyPath));
}

// ---- The example session: one participant, run 1 with two laps.

std::unique_ptr<Race> ExampleRun() {
  auto race = MakeRace({{"ANNA", "004711"}});
  ParticipantRecord& anna = race->slots[0];
  anna.lapCount = 2;
  anna.lastLap = 31050;
  anna.bestLap = 30200;
  anna.worstLap = 31050;
  anna.averageLap = 30625;
  anna.passageTimes[1] = 30200;
  anna.passageTimes[2] = 61250;
  SetText(race->run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:05:00");
  return race;
}

void WriteExampleSession(MessageBoxes& boxes) {
  ASSERT_TRUE(WriteParticipantsList(MakeList({{"ANNA", "004711"}}), boxes));
  ASSERT_TRUE(WriteRunSection(1, *ExampleRun(), boxes));
  SessionHeader header = NewSessionHeader(kDefaultSessionName);
  header.selectedNodeId = 14001;
  header.participantCount = 1;
  header.runsRecorded = true;
  header.runCount = 1;
  ASSERT_TRUE(WriteSessionHeader(header, boxes));
}

TEST_F(SessionFile, ExampleSessionIsWrittenLineByLine) {
  WriteExampleSession(boxes);
  std::string expected = "14001\tSEANCE TRAINING\t1\t1\t1\t" + Pairs(11) + "\r\n";
  expected += "\r\n";
  expected += "SessionListeParticipants\t\r\n";
  expected += "ANNA\t004711\t\t\t\t\t\t\r\n";
  for (int i = 0; i < 19; ++i) expected += "(NA)" + Tabs(7) + "\r\n";
  // 266 characters of content over a reserve of 2002: 867 pairs and the line end remain.
  expected += Pairs(867) + "\r\n";
  expected += "\r\n";
  expected += "SessionRun1\t\r\n";
  expected += "ANNA\t2\t31050\t30200\t31050\t30625\t0\t30200\t61250\t" + Tabs(49) + "\r\n";
  for (int i = 0; i < 19; ++i) {
    expected += "(NA)\t0\t0\t1500000000\t0\t0\t1500000000\t" + Tabs(49) + "\r\n";
  }
  expected += "Start 2024/05/01 14:03:10 - Duration 0:05:00\t\r\n";
  // 1777 characters of content over 5864 pairs (11730 characters): an odd length, so the rest
  // of the reserve begins with a lone tab.
  expected += "\t" + Pairs(4975) + "\r\n";
  EXPECT_EQ(WorkingCopy(), expected);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionFile, ExampleSessionReadsBack) {
  WriteExampleSession(boxes);
  SessionHeader header;
  ASSERT_TRUE(ReadSessionHeader(header, boxes));
  EXPECT_EQ(header.selectedNodeId, 14001);
  EXPECT_STREQ(header.sessionName, "SEANCE TRAINING");
  EXPECT_EQ(header.participantCount, 1);
  EXPECT_TRUE(header.runsRecorded);
  EXPECT_EQ(header.runCount, 1);

  ParticipantsList list = MakeList({{"OLD", "1"}, {"OLD2", "2"}});
  ASSERT_EQ(ReadParticipantsList(list, boxes), SectionRead::kRead);
  EXPECT_STREQ(list.entries[0].driverName, "ANNA");
  EXPECT_STREQ(list.entries[0].transponder, "004711");
  EXPECT_STREQ(list.entries[0].frequencies[4], "");
  EXPECT_STREQ(list.entries[1].driverName, "(NA)");
  EXPECT_STREQ(list.entries[1].transponder, "");

  auto race = PreparedFrom(list);
  ASSERT_EQ(ReadRunSection(1, *race, boxes), SectionRead::kRead);
  ExpectSameRun(*ExampleRun(), *race);
  EXPECT_TRUE(boxes.shown.empty());
}

// ---- Rewriting sections.

TEST_F(SessionFile, MissingSectionIsAppendedAfterAnEmptyLineWithItsReserve) {
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, "Club");
  track.minimumLapSeconds = 15;
  ASSERT_TRUE(WriteSessionTrack(track, boxes));
  // 11 characters of content over 50 pairs: the rest begins with a lone tab.
  EXPECT_EQ(WorkingCopy(), "10000\tSEANCE TRAINING\t0\t0\t0\t" + Pairs(11) + "\r\n" + "\r\n" +
                               "SessionPiste\t\r\n" + "Club\t\t15\t\r\n" + "\t" + Pairs(44) +
                               "\r\n");
}

TEST_F(SessionFile, ShorterContentLeavesTheReserveTailAndReadsTheSame) {
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, "A long label for the track section");
  SetText(track.circuitName, "Circuit des Pins");
  ASSERT_TRUE(WriteSessionTrack(track, boxes));
  SetText(track.label, "Short");
  SetText(track.circuitName, "");
  track.minimumLapSeconds = 12;
  ASSERT_TRUE(WriteSessionTrack(track, boxes));
  const std::string bytes = WorkingCopy();
  EXPECT_EQ(bytes.substr(bytes.find("SessionPiste")),
            "SessionPiste\t\r\nShort\t\t12\t\r\n" + Pairs(44) + "\r\n");
  for (int i = 0; i < 2; ++i) {
    SessionTrack read = DefaultSessionTrack();
    ASSERT_EQ(ReadSessionTrack(read, boxes), SectionRead::kRead);
    EXPECT_STREQ(read.label, "Short");
    EXPECT_STREQ(read.circuitName, "");
    EXPECT_EQ(read.minimumLapSeconds, 12);
  }
}

TEST_F(SessionFile, RewritingASectionKeepsEveryOtherByte) {
  ASSERT_TRUE(WriteParticipantsList(MakeList({{"ANNA", "004711"}, {"BRUNO", "000042"}}), boxes));
  ASSERT_TRUE(WriteSessionTrack(DefaultSessionTrack(), boxes));
  RaceParameters params;
  SetDefaultRaceParameters(params);
  ASSERT_TRUE(WriteRaceParameters(params, boxes));
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(2, 10, 31000), boxes));
  ASSERT_TRUE(WriteRunSection(2, *RunWithLaps(2, 5, 29000), boxes));
  const std::string before = WorkingCopy();

  // The track, in the middle of the file.
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, "Evening practice");
  ASSERT_TRUE(WriteSessionTrack(track, boxes));
  std::string after = WorkingCopy();
  ASSERT_EQ(after.size(), before.size());
  const size_t data = before.find("SessionPiste\t\r\n") + 15;
  const size_t room = 2 * kTrackReservePairs + 2;
  EXPECT_EQ(after.substr(0, data), before.substr(0, data));
  EXPECT_EQ(after.substr(data + room), before.substr(data + room));
  EXPECT_EQ(after.substr(data, 18), "Evening practice\t\t");

  // Run 1 with more laps, still within its room.
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(2, 40, 31000), boxes));
  const std::string again = WorkingCopy();
  const size_t run1 = after.find("SessionRun1\t\r\n") + 14;
  const size_t run1Room = 2 * size_t(RunReservePairs(2)) + 2;
  EXPECT_EQ(again.substr(0, run1), after.substr(0, run1));
  EXPECT_EQ(again.substr(run1 + run1Room), after.substr(run1 + run1Room));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionFile, RunReserveGrowsWithTheOccupiedSlots) {
  const size_t headerOnly = WorkingCopy().size();
  ASSERT_TRUE(WriteRunSection(3, *RunWithLaps(3, 4, 30000), boxes));
  // An empty line, the title line, 15826 pairs and the line end.
  EXPECT_EQ(WorkingCopy().size(), headerOnly + 2 + 14 + 2 * 15826 + 2);
}

// ---- Sections that outgrow their room.

TEST_F(SessionFile, LongRunNeverOverwritesTheSectionsThatFollow) {
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(20, 3, 30000), boxes));
  ASSERT_TRUE(WriteRunSection(2, *RunWithLaps(4, 7, 28000), boxes));
  ASSERT_TRUE(WriteSessionTrack(DefaultSessionTrack(), boxes));
  const std::string before = WorkingCopy();
  const std::string tail = before.substr(before.find("\r\n\r\nSessionRun2\t"));

  // 999 laps of nine-digit passage times: about 10000 characters per slot more than the reserve.
  auto longRun = RunWithLaps(20, kMaxLapCount, 123456);
  ASSERT_GT(longRun->slots[19].passageTimes[999], 100000000);
  ASSERT_TRUE(WriteRunSection(1, *longRun, boxes));

  const std::string after = WorkingCopy();
  EXPECT_EQ(after.substr(after.size() - tail.size()), tail);
  auto run1 = RunWithLaps(20, 0, 0);
  ASSERT_EQ(ReadRunSection(1, *run1, boxes), SectionRead::kRead);
  ExpectSameRun(*longRun, *run1);
  auto run2 = RunWithLaps(4, 0, 0);
  ASSERT_EQ(ReadRunSection(2, *run2, boxes), SectionRead::kRead);
  ExpectSameRun(*RunWithLaps(4, 7, 28000), *run2);

  // Written once more, it now fits in place.
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(20, 500, 123456), boxes));
  EXPECT_EQ(WorkingCopy().size(), after.size());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(std::string(kWorkingCopyPath) + ".tmp~"));
}

TEST_F(SessionFile, RunRewrittenWithMoreParticipantsKeepsTheNextRun) {
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(1, 2, 30000), boxes));
  ASSERT_TRUE(WriteRunSection(2, *RunWithLaps(2, 3, 30000), boxes));
  auto bigger = RunWithLaps(3, 300, 30000);
  ASSERT_TRUE(WriteRunSection(1, *bigger, boxes));
  auto run1 = RunWithLaps(3, 0, 0);
  ASSERT_EQ(ReadRunSection(1, *run1, boxes), SectionRead::kRead);
  ExpectSameRun(*bigger, *run1);
  auto run2 = RunWithLaps(2, 0, 0);
  ASSERT_EQ(ReadRunSection(2, *run2, boxes), SectionRead::kRead);
  ExpectSameRun(*RunWithLaps(2, 3, 30000), *run2);
}

TEST_F(SessionFile, RunRewrittenWithFewerParticipantsLeavesNothingOfTheOldContent) {
  ASSERT_TRUE(WriteRunSection(1, *RunWithLaps(3, 200, 30000), boxes));
  ASSERT_TRUE(WriteRunSection(2, *RunWithLaps(2, 3, 30000), boxes));
  const std::string before = WorkingCopy();
  auto smaller = RunWithLaps(1, 5, 30000);
  ASSERT_TRUE(WriteRunSection(1, *smaller, boxes));
  const std::string after = WorkingCopy();
  EXPECT_EQ(after.size(), before.size());

  // Between the run title line and the next section: reserve characters only.
  const size_t contentEnd = after.find("Duration 0:05:00\t\r\n") + 19;
  const size_t next = after.find("\r\n\r\nSessionRun2\t");
  EXPECT_EQ(after.substr(contentEnd, next - contentEnd).find_first_not_of("1\t"),
            std::string::npos);
  EXPECT_EQ(after.substr(next), before.substr(next));
  auto run1 = RunWithLaps(3, 0, 0);
  ASSERT_EQ(ReadRunSection(1, *run1, boxes), SectionRead::kRead);
  EXPECT_STREQ(run1->slots[1].driverName, "(NA)");
  EXPECT_EQ(run1->slots[1].bestLap, kEmptySlotTime);
  ExpectSameRun(*smaller, *run1);
}

// ---- A full session.

TEST_F(SessionFile, TwentyRunsOfTwentyParticipantsReadBack) {
  ParticipantsList list = MakeList({});
  for (int k = 0; k < kSlotCount; ++k) {
    ParticipantEntry& e = list.entries[k];
    std::snprintf(e.driverName, sizeof e.driverName, "DRIVER%02d", k + 1);
    std::snprintf(e.transponder, sizeof e.transponder, "%06d", 1000 + k);
    for (int f = 0; f < kFrequenciesPerEntry; ++f)
      std::snprintf(e.frequencies[f], 7, "%d.%d", 27 + f, k);
  }
  ASSERT_TRUE(WriteParticipantsList(list, boxes));
  std::unique_ptr<Race> runs[kMaxRunCount];
  for (int n = 1; n <= kMaxRunCount; ++n) {
    runs[n - 1] = RunWithLaps(kSlotCount, 20 + n, 30000 + n);
    Race& race = *runs[n - 1];
    // Every setup text at its full capacity, different in every run.
    for (ParticipantRecord& p : race.slots) {
      for (int i = 0; i < kSetupFieldCount; ++i) {
        const int capacity = SetupFieldCapacity(i);
        std::string text(size_t(capacity - 1), char('a' + (i + n) % 26));
        SetText(SetupField(p.setup, i), size_t(capacity), text.c_str());
      }
    }
    std::snprintf(race.run.runTitle, sizeof race.run.runTitle, "Start 2024/05/%02d 10:00:00", n);
    ASSERT_TRUE(WriteRunSection(n, race, boxes));
  }
  SessionHeader header = NewSessionHeader("CLUB DAY");
  header.participantCount = 20;
  header.runCount = 20;
  header.runsRecorded = true;
  ASSERT_TRUE(WriteSessionHeader(header, boxes));
  EXPECT_GT(WorkingCopy().size(), size_t(4000000));

  SessionHeader readHeader;
  ASSERT_TRUE(ReadSessionHeader(readHeader, boxes));
  EXPECT_EQ(std::memcmp(&readHeader, &header, sizeof header), 0);
  ParticipantsList readList = MakeList({});
  ASSERT_EQ(ReadParticipantsList(readList, boxes), SectionRead::kRead);
  EXPECT_EQ(std::memcmp(&readList, &list, sizeof list), 0);
  for (int n = kMaxRunCount; n >= 1; --n) {
    auto race = PreparedFrom(readList);
    ASSERT_EQ(ReadRunSection(n, *race, boxes), SectionRead::kRead);
    ExpectSameRun(*runs[n - 1], *race);
  }
  EXPECT_TRUE(boxes.shown.empty());
}

// ---- Line 1.

TEST_F(SessionFile, HeaderRewriteKeepsFiftyCharactersAndTheRest) {
  WriteExampleSession(boxes);
  const std::string before = WorkingCopy();
  SessionHeader header = NewSessionHeader("A NAME OF TWENTY-EIGHT LETTR");
  header.selectedNodeId = 12020;
  header.participantCount = 20;
  header.runCount = 20;
  ASSERT_TRUE(WriteSessionHeader(header, boxes));
  const std::string after = WorkingCopy();
  EXPECT_EQ(after.substr(0, 52),
            "12020\tA NAME OF TWENTY-EIGHT LETTR\t20\t0\t20\t\t" + Pairs(3) + "\r\n");
  EXPECT_EQ(after.substr(52), before.substr(52));
}

TEST_F(SessionFile, SelectedNodeIdReplacesOnlyTheFirstFiveCharacters) {
  WriteExampleSession(boxes);
  const std::string before = WorkingCopy();
  ASSERT_TRUE(WriteSelectedNodeId(12001, boxes));
  const std::string after = WorkingCopy();
  EXPECT_EQ(after.substr(0, 5), "12001");
  EXPECT_EQ(after.substr(5), before.substr(5));
}

TEST_F(SessionFile, DamagedShortHeaderLineIsRebuiltWithoutHarmToTheSections) {
  WriteBytes(kWorkingCopyPath, "10000\tX\t\r\n\r\nSessionPiste\t\r\nClub\tHome\t9\t\r\n");
  ASSERT_TRUE(WriteSelectedNodeId(11000, boxes));
  ASSERT_TRUE(WriteSessionHeader(NewSessionHeader("NEW"), boxes));
  const std::string bytes = WorkingCopy();
  EXPECT_EQ(bytes, "10000\tNEW\t0\t0\t0\t" + Pairs(17) + "\r\n" +
                       "\r\nSessionPiste\t\r\nClub\tHome\t9\t\r\n");
  SessionTrack track = DefaultSessionTrack();
  ASSERT_EQ(ReadSessionTrack(track, boxes), SectionRead::kRead);
  EXPECT_STREQ(track.circuitName, "Home");
}

// ---- Participants list from the driver details dialog.

TEST_F(SessionFile, ListIsUpdatedOnlyWhereItAlreadyExists) {
  const std::string before = WorkingCopy();
  ParticipantsList list = MakeList({{"ANNA", "004711"}});
  EXPECT_EQ(UpdateParticipantsList(list), SectionWrite::kMissing);
  EXPECT_EQ(WorkingCopy(), before);
  ASSERT_TRUE(WriteParticipantsList(list, boxes));
  SetText(list.entries[0].frequencies[0], "27.145");
  EXPECT_EQ(UpdateParticipantsList(list), SectionWrite::kWritten);
  ParticipantsList read = MakeList({});
  ASSERT_EQ(ReadParticipantsList(read, boxes), SectionRead::kRead);
  EXPECT_STREQ(read.entries[0].frequencies[0], "27.145");
}

TEST_F(SessionFile, TabsAndLineEndsInsideTextsAreWrittenAsBlanks) {
  ParticipantsList list = MakeList({{"ANNA\tB", "004711"}, {"LINE\r\nEND", ""}});
  ASSERT_TRUE(WriteParticipantsList(list, boxes));
  ParticipantsList read = MakeList({});
  ASSERT_EQ(ReadParticipantsList(read, boxes), SectionRead::kRead);
  EXPECT_STREQ(read.entries[0].driverName, "ANNA B");
  EXPECT_STREQ(read.entries[0].transponder, "004711");
  EXPECT_STREQ(read.entries[1].driverName, "LINE  END");
  EXPECT_STREQ(read.entries[2].driverName, "(NA)");
}

// ---- Copies.

TEST_F(SessionFile, CrashCopyKeepsThePreviousWorkingCopy) {
  WriteExampleSession(boxes);
  const std::string session = WorkingCopy();
  ASSERT_TRUE(KeepCrashCopy());
  ASSERT_TRUE(CreateWorkingCopy(kDefaultSessionName, boxes));
  EXPECT_EQ(ReadBytes(kCrashCopyPath), session);
  ASSERT_TRUE(CopySessionFile(kCrashCopyPath, kWorkingCopyPath));
  EXPECT_EQ(WorkingCopy(), session);
}

TEST(SessionCopies, NoWorkingCopyLeavesTheCrashCopyAsItWas) {
  TempFolder folder;
  WriteBytes(kCrashCopyPath, "older session");
  EXPECT_FALSE(KeepCrashCopy());
  EXPECT_EQ(ReadBytes(kCrashCopyPath), "older session");
}

TEST(SessionCopies, CopyReplacesALongerDestinationWhole) {
  TempFolder folder;
  WriteBytes("short.trng", "short");
  WriteBytes("saved.trng", std::string(100000, 'y'));
  ASSERT_TRUE(CopySessionFile("short.trng", "saved.trng"));
  EXPECT_EQ(ReadBytes("saved.trng"), "short");
  EXPECT_FALSE(CopySessionFile("missing.trng", "saved.trng"));
  EXPECT_EQ(ReadBytes("saved.trng"), "short");
}

}  // namespace
}  // namespace zarvo
