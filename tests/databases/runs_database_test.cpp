// The per-driver runs database: slot format, the archive lifecycle (archiving on, update in place,
// 50-run limit and its warning, removal and reuse), damaged files and unsafe driver names.
#include "databases/runs_database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "databases/driver_names.h"
#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kCaption[] = " Training - Run1 ";
constexpr char kTrack[] = "Mornay";

std::string Title(int n) {
  char title[kRunTitleCapacity];
  std::snprintf(title, sizeof title, "Start 2026/12/07 %02d:%02d:00 - Duration 0:05:00", n / 60,
                n % 60);
  return title;
}

// A participant who drove laps laps of lapTime ms.
ParticipantRecord Driver(const char* name, int laps, int32_t lapTime = 20000) {
  ParticipantRecord p;
  std::memset(&p, 0, sizeof p);
  SetText(p.driverName, name);
  p.lapCount = laps;
  for (int k = 0; k <= laps; ++k) p.passageTimes[k] = k * lapTime;
  p.bestLap = laps > 0 ? lapTime : 0;
  SetText(p.setup.trackConditions, "Sec");
  SetText(p.setup.carName, "Buggy");
  return p;
}

// Lengths of the lines after the header, line ends included.
std::vector<size_t> SlotLengths(const std::string& bytes) {
  std::vector<size_t> lengths;
  size_t start = bytes.find('\n') + 1;
  while (start < bytes.size()) {
    const size_t end = bytes.find('\n', start);
    const size_t next = end == std::string::npos ? bytes.size() : end + 1;
    lengths.push_back(next - start);
    start = next;
  }
  return lengths;
}

class RunsDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateRunsDatabase("Ana"));
    path = RunsDatabasePath("Ana");
  }

  ArchiveOutcome Archive(const ParticipantRecord& p, const std::string& title) {
    return ArchiveParticipantRun(p, title.c_str(), kCaption, kTrack, boxes);
  }
  ArchiveOutcome Archive(int laps, const std::string& title) {
    return Archive(Driver("Ana", laps), title);
  }
  std::string Bytes() const { return ReadBytes(path.c_str()); }
  RunsListing List() {
    RunsListing listing;
    EXPECT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
    return listing;
  }
  void FillWithRuns(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(Archive(1, Title(i)), ArchiveOutcome::kAppended);
  }

  TempFolder folder;
  std::string path;
  RecordingMessageBoxes boxes;
};

// --- File format.

TEST_F(RunsDatabase, ANewDriversFileHoldsOnlyTheHeaderWithBothFlagsOff) {
  EXPECT_EQ(path,
            "Base donn\xE9"
            "es runs/Ana.bdr");
  EXPECT_EQ(Bytes(), "0\t0\t\r\n");
}

TEST_F(RunsDatabase, AUsedSlotIsItsContentOverTheFillerUpToTheLineEnd) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(2, Title(1)), ArchiveOutcome::kAppended);
  const std::string content = Title(1) + "\tAna\t2\t0\t20000\t40000\tSec\tBuggy\t" +
                              std::string(47, '\t') + " Training - Run1 \tMornay\t";
  std::string filler;  // "1\t" repeated from the start of the slot
  for (size_t k = content.size(); k < 10210; ++k) filler += (k % 2 == 0) ? '1' : '\t';
  EXPECT_EQ(Bytes(), "1\t0\t\r\n" + content + filler + "\r\n");
  EXPECT_EQ(Bytes().size(), 6u + 10212u);
}

TEST_F(RunsDatabase, ARemovedRunLeavesAFreeSlotRunVideOverTheFiller) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(2, Title(1)), ArchiveOutcome::kAppended);
  ASSERT_EQ(RemoveRun(path.c_str(), Title(1).c_str(), boxes), RunsFileResult::kDone);
  std::string expected = "1\t0\t\r\nRun vide\t";
  for (size_t k = 9; k < 10210; ++k) expected += (k % 2 == 0) ? '1' : '\t';
  EXPECT_EQ(Bytes(), expected + "\r\n");
  ArchivedRun run;
  EXPECT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kRunNotFound);
  EXPECT_EQ(ReadRun(path.c_str(), kFreeSlotKey, run, boxes), RunsFileResult::kRunNotFound);
}

TEST_F(RunsDatabase, AnArchivedRunReadsBackWhole) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ParticipantRecord p = Driver("Ana", 3, 21345);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetText(SetupField(p.setup, i), SetupFieldCapacity(i), ("v" + std::to_string(i)).c_str());
  }
  p.worstLap = 99;  // not part of an archived run
  ASSERT_EQ(Archive(p, Title(1)), ArchiveOutcome::kAppended);

  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.runTitle, Title(1));
  EXPECT_STREQ(run.runCaption, kCaption);
  EXPECT_STREQ(run.trackName, kTrack);
  EXPECT_STREQ(run.participant.driverName, "Ana");
  EXPECT_EQ(run.participant.lapCount, 3);
  for (int k = 0; k <= 3; ++k) EXPECT_EQ(run.participant.passageTimes[k], k * 21345);
  EXPECT_EQ(run.participant.passageTimes[4], 0);
  EXPECT_EQ(std::memcmp(&run.participant.setup, &p.setup, sizeof p.setup), 0);
  EXPECT_EQ(run.participant.worstLap, 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunsDatabase, ArchivingFlagRewritesOnlyTheHeader) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(2, Title(1)), ArchiveOutcome::kAppended);
  const std::string slot = Bytes().substr(6);
  ASSERT_EQ(SetArchivingFlag(path.c_str(), false), RunsFileResult::kDone);
  EXPECT_EQ(Bytes(), "0\t0\t\r\n" + slot);
  EXPECT_FALSE(List().archivingOn);
}

TEST_F(RunsDatabase, ListingShowsAnEmptyEntryThenTheStoredRunsInFileOrder) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(1, Title(5)), ArchiveOutcome::kAppended);
  ASSERT_EQ(Archive(1, Title(2)), ArchiveOutcome::kAppended);
  ASSERT_EQ(Archive(1, Title(9)), ArchiveOutcome::kAppended);
  ASSERT_EQ(RemoveRun(path.c_str(), Title(2).c_str(), boxes), RunsFileResult::kDone);
  const RunsListing listing = List();
  const std::vector<std::string> expected = {"", Title(5), Title(9)};
  EXPECT_EQ(listing.entries, expected);
  EXPECT_TRUE(listing.archivingOn);
  EXPECT_FALSE(listing.archiveFull);
  EXPECT_EQ(FillingLevel(listing), 4);
}

// --- Archive lifecycle.

TEST_F(RunsDatabase, NothingIsArchivedUntilArchivingIsSwitchedOn) {
  EXPECT_EQ(Archive(3, Title(1)), ArchiveOutcome::kArchivingOff);
  EXPECT_EQ(Bytes(), "0\t0\t\r\n");
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  EXPECT_EQ(Archive(3, Title(1)), ArchiveOutcome::kAppended);
}

TEST_F(RunsDatabase, TheSameRunTitleUpdatesTheOneSlotInPlace) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(1, Title(7)), ArchiveOutcome::kAppended);
  ASSERT_EQ(Archive(2, Title(8)), ArchiveOutcome::kAppended);
  const std::string second = Bytes().substr(6 + 10212);
  ASSERT_EQ(Archive(5, Title(7)), ArchiveOutcome::kUpdated);
  EXPECT_EQ(Bytes().size(), 6u + 2 * 10212u);
  EXPECT_EQ(Bytes().substr(6 + 10212), second);  // the neighbour is untouched
  EXPECT_EQ(List().entries.size(), 3u);
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(7).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.participant.lapCount, 5);
}

TEST_F(RunsDatabase, TheFiftiethRunSetsTheFullFlagAndWarnsOnce) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  FillWithRuns(49);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(List().archiveFull);
  ASSERT_EQ(Archive(1, Title(49)), ArchiveOutcome::kAppended);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_RUNS_DATABASE_FULL);
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(boxes.shown[0].text,
            "Attention! La base de donn\xE9"
            "es 'Run' de Ana est pleine");
#else
  EXPECT_EQ(boxes.shown[0].text, "Be careful! The Ana's runs database is full");
#endif
  EXPECT_EQ(Bytes().substr(0, 6), "1\t1\t\r\n");
  EXPECT_EQ(FillingLevel(List()), 100);

  // The 51st new run is not stored; a stored run is still updated; no second warning.
  const size_t size = Bytes().size();
  EXPECT_EQ(Archive(1, Title(50)), ArchiveOutcome::kArchiveFull);
  EXPECT_EQ(Bytes().size(), size);
  EXPECT_EQ(Archive(4, Title(20)), ArchiveOutcome::kUpdated);
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(20).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.participant.lapCount, 4);
  EXPECT_EQ(boxes.shown.size(), 1u);

  const std::vector<size_t> lengths = SlotLengths(Bytes());
  EXPECT_EQ(lengths.size(), 50u);
  for (size_t length : lengths) EXPECT_EQ(length, 10212u);
}

TEST_F(RunsDatabase, ARemovalFreesASlotThatTheNextNewRunReuses) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  FillWithRuns(50);
  ASSERT_EQ(RemoveRun(path.c_str(), Title(10).c_str(), boxes), RunsFileResult::kDone);
  RunsListing listing = List();
  EXPECT_EQ(FillingLevel(listing), 98);
  EXPECT_TRUE(listing.archiveFull);
  ASSERT_EQ(ClearFullFlag(path.c_str()), RunsFileResult::kDone);
  EXPECT_EQ(Bytes().substr(0, 6), "1\t0\t\r\n");

  const size_t size = Bytes().size();
  const size_t freedAt = 6 + 10 * 10212;
  EXPECT_EQ(Bytes().substr(freedAt, 9), "Run vide\t");
  EXPECT_EQ(Archive(2, Title(77)), ArchiveOutcome::kStoredInFreeSlot);
  EXPECT_EQ(Bytes().size(), size);
  EXPECT_EQ(Bytes().substr(freedAt, Title(77).size()), Title(77));
  EXPECT_EQ(List().entries[11], Title(77));  // in the place of the removed run
  EXPECT_TRUE(List().archiveFull);           // 50 runs again
  EXPECT_EQ(boxes.shown.size(), 2u);         // one warning each time the limit is reached
}

TEST_F(RunsDatabase, MissingRunsAreReportedByTheirOwnMessages) {
  ArchivedRun run;
  EXPECT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kRunNotFound);
  EXPECT_EQ(RemoveRun(path.c_str(), Title(1).c_str(), boxes), RunsFileResult::kRunNotFound);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(boxes.shown[0].text, TXT_RUN_TO_READ_NOT_FOUND);
  EXPECT_EQ(boxes.shown[1].text, TXT_RUN_TO_REMOVE_NOT_FOUND);
  EXPECT_EQ(Bytes(), "0\t0\t\r\n");
}

TEST_F(RunsDatabase, AMissingFileIsReportedToTheCallerWithoutMessage) {
  const std::string other = RunsDatabasePath("Bruno");
  RunsListing listing;
  ArchivedRun run;
  EXPECT_EQ(ListRuns(other.c_str(), listing), RunsFileResult::kFileNotOpened);
  EXPECT_EQ(ReadRun(other.c_str(), "x", run, boxes), RunsFileResult::kFileNotOpened);
  EXPECT_EQ(RemoveRun(other.c_str(), "x", boxes), RunsFileResult::kFileNotOpened);
  EXPECT_EQ(SetArchivingFlag(other.c_str(), true), RunsFileResult::kFileNotOpened);
  EXPECT_EQ(ClearFullFlag(other.c_str()), RunsFileResult::kFileNotOpened);
  EXPECT_EQ(Archive(Driver("Bruno", 3), Title(1)), ArchiveOutcome::kFileNotOpened);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(FileExists(other.c_str()));
}

TEST_F(RunsDatabase, RunsWithoutTimingDataAndEmptySlotsAreSkipped) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  EXPECT_EQ(Archive(Driver("Ana", 0), Title(1)), ArchiveOutcome::kSkipped);
  ParticipantRecord empty = Driver(kNoDriver, 3);
  EXPECT_EQ(Archive(empty, Title(1)), ArchiveOutcome::kSkipped);
  EXPECT_EQ(Archive(2, ""), ArchiveOutcome::kSkipped);  // no run title: no run started
  EXPECT_EQ(Bytes(), "1\t0\t\r\n");

  // No lap, but a best lap: stored with lap count 0 and the single passage time 0.
  ParticipantRecord noLap = Driver("Ana", 0);
  noLap.bestLap = 5000;
  ASSERT_EQ(Archive(noLap, Title(2)), ArchiveOutcome::kAppended);
  const std::string stored = Title(2) + "\tAna\t0\t0\tSec\t";
  EXPECT_EQ(Bytes().substr(6, stored.size()), stored);
}

TEST_F(RunsDatabase, ArchivingTheRunStoresEveryParticipantWhoseArchiveIsOn) {
  ASSERT_TRUE(CreateRunsDatabase("Bruno"));
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  auto race = testing::MakeRace({{"Ana", "000001"}, {"Bruno", "000002"}, {"Carla", "000003"}});
  for (ParticipantRecord& p : race->slots) {
    if (IsEmptySlot(p)) continue;
    p.lapCount = 1;
    p.passageTimes[1] = 30000;
    p.bestLap = 30000;
  }
  ArchiveRun(*race, Title(1).c_str(), kCaption, kTrack, boxes);
  EXPECT_EQ(List().entries.size(), 2u);
  EXPECT_EQ(ReadBytes(RunsDatabasePath("Bruno").c_str()), "0\t0\t\r\n");
  EXPECT_FALSE(FileExists(RunsDatabasePath("Carla").c_str()));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunsDatabase, TitlesAreTheSameRunWhenTheirFirst104CharactersAgree) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  const std::string base(104, 'T');
  ASSERT_EQ(Archive(1, base + "-one"), ArchiveOutcome::kAppended);
  EXPECT_EQ(Archive(2, base + "-two"), ArchiveOutcome::kUpdated);
  EXPECT_EQ(Archive(2, base.substr(0, 103)), ArchiveOutcome::kAppended);
  const std::vector<std::string> expected = {"", base, base.substr(0, 103)};
  EXPECT_EQ(List().entries, expected);
}

TEST_F(RunsDatabase, ATabInsideATextIsStoredAsASpaceAndShiftsNoField) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ParticipantRecord p = Driver("Ana", 1);
  SetText(p.setup.engine, "Big\tBlock");
  ASSERT_EQ(Archive(p, Title(1)), ArchiveOutcome::kAppended);
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(run.participant.setup.engine, "Big Block");
  EXPECT_STREQ(run.trackName, kTrack);
}

// --- Runs too long for a slot.

TEST_F(RunsDatabase, A999LapRunWithFullSetupSheetFitsItsSlot) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ParticipantRecord p = Driver("Ana", kMaxLapCount, 43200);  // 12 hours: 8-digit times
  for (int i = 0; i < kSetupFieldCount; ++i) {
    const std::string full(SetupFieldCapacity(i) - 1, 'x');
    SetText(SetupField(p.setup, i), SetupFieldCapacity(i), full.c_str());
  }
  ASSERT_EQ(Archive(p, Title(1)), ArchiveOutcome::kAppended);
  EXPECT_EQ(SlotLengths(Bytes()), std::vector<size_t>{10212});
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.participant.passageTimes[kMaxLapCount], kMaxLapCount * 43200);
  EXPECT_EQ(std::memcmp(&run.participant.setup, &p.setup, sizeof p.setup), 0);
}

TEST_F(RunsDatabase, ARunTooLongForItsSlotIsRefusedAndNothingIsOverwritten) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(3, Title(1)), ArchiveOutcome::kAppended);
  ASSERT_EQ(Archive(3, Title(2)), ArchiveOutcome::kAppended);
  const std::string before = Bytes();
  ParticipantRecord p = Driver("Ana", kMaxLapCount, 2000000);  // 10-digit passage times
  EXPECT_EQ(Archive(p, Title(1)), ArchiveOutcome::kTooLong);   // a stored run
  EXPECT_EQ(Archive(p, Title(3)), ArchiveOutcome::kTooLong);   // a new run
  EXPECT_EQ(Bytes(), before);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_NE(boxes.shown[0].text.find("Ana"), std::string::npos);
  std::string content;
  EXPECT_FALSE(FormatRunSlot(p, Title(1).c_str(), kCaption, kTrack, content));
  EXPECT_GT(content.size(), size_t(kRunSlotContentLength));
}

// --- Unsafe driver names.

TEST_F(RunsDatabase, ADriverNameThatBreaksTheRulesIsNeverTurnedIntoAPath) {
  // Files where an unchecked name would lead: "Base données runs/a/b.bdr" and, for "..\x",
  // "x.bdr" in the program folder. Both say archiving is on.
  ASSERT_TRUE(MakeDirectory((std::string(kRunsFolder) + "/a").c_str()));
  const std::string trap = std::string(kRunsFolder) + "/a/b.bdr";
  WriteBytes(trap.c_str(), "1\t0\t\r\n");
  WriteBytes("x.bdr", "1\t0\t\r\n");
  for (const char* name : {"a/b", "..\\x", "..\\..\\x", " Ana", "Ana(NA)", "Session"}) {
    EXPECT_EQ(Archive(Driver(name, 3), Title(1)), ArchiveOutcome::kNameNotUsable) << name;
    EXPECT_FALSE(CreateRunsDatabase(name)) << name;
    EXPECT_FALSE(RemoveRunsDatabase(name)) << name;
  }
  EXPECT_EQ(ReadBytes(trap.c_str()), "1\t0\t\r\n");
  EXPECT_EQ(ReadBytes("x.bdr"), "1\t0\t\r\n");
  EXPECT_FALSE(FileExists("../x.bdr"));
}

TEST_F(RunsDatabase, CreatingKeepsAnExistingArchiveAndRemovingDeletesIt) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(1, Title(1)), ArchiveOutcome::kAppended);
  const std::string bytes = Bytes();
  EXPECT_TRUE(CreateRunsDatabase("Ana"));
  EXPECT_EQ(Bytes(), bytes);
  EXPECT_TRUE(RemoveRunsDatabase("Ana"));
  EXPECT_FALSE(FileExists(path.c_str()));
  EXPECT_TRUE(RemoveRunsDatabase("Ana"));  // nothing left to remove
}

// --- Damaged runs files.

TEST_F(RunsDatabase, AFileWithLineFeedsAloneIsUpdatedWithoutMovingALine) {
  std::string slot1 = Title(1) + "\tAna\t0\t0\t";
  std::string slot2 = Title(2) + "\tAna\t0\t0\t";
  slot1.resize(10210, '1');
  slot2.resize(10210, '1');
  WriteBytes(path.c_str(), "1\t0\t\n" + slot1 + "\n" + slot2 + "\n");
  EXPECT_EQ(Archive(4, Title(1)), ArchiveOutcome::kUpdated);
  const std::string bytes = Bytes();
  EXPECT_EQ(bytes.size(), 5u + 2 * 10211u);
  EXPECT_EQ(bytes.substr(5 + 10211), slot2 + "\n");
  EXPECT_EQ(bytes[5 + 10210], '\n');
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(1).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.participant.lapCount, 4);
}

TEST_F(RunsDatabase, ACutOffLastSlotIsClosedBeforeANewSlotIsAppended) {
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  ASSERT_EQ(Archive(1, Title(1)), ArchiveOutcome::kAppended);
  std::string bytes = Bytes();
  bytes.resize(bytes.size() - 3000);  // an append that was cut short
  WriteBytes(path.c_str(), bytes);
  ASSERT_EQ(Archive(2, Title(2)), ArchiveOutcome::kAppended);
  EXPECT_EQ(Bytes().substr(bytes.size(), 2), "\r\n");
  const std::vector<size_t> lengths = SlotLengths(Bytes());
  ASSERT_EQ(lengths.size(), 2u);
  EXPECT_EQ(lengths[1], 10212u);
  ArchivedRun run;
  ASSERT_EQ(ReadRun(path.c_str(), Title(2).c_str(), run, boxes), RunsFileResult::kDone);
  EXPECT_EQ(run.participant.lapCount, 2);
}

TEST_F(RunsDatabase, AHeaderWithoutLineEndGetsOneBeforeTheFirstSlot) {
  WriteBytes(path.c_str(), "1\t0\t");
  ASSERT_EQ(Archive(1, Title(1)), ArchiveOutcome::kAppended);
  EXPECT_EQ(Bytes().substr(0, 6), "1\t0\t\r\n");
  EXPECT_EQ(SlotLengths(Bytes()), std::vector<size_t>{10212});
}

TEST_F(RunsDatabase, AnEmptyFileArchivesNothingUntilItGetsAHeader) {
  WriteBytes(path.c_str(), "");
  EXPECT_EQ(Archive(1, Title(1)), ArchiveOutcome::kArchivingOff);
  EXPECT_EQ(Bytes(), "");
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  EXPECT_EQ(Bytes(), "1\t0\t\r\n");
}

TEST_F(RunsDatabase, AShortDamagedSlotIsNeverWrittenPastItsLineEnd) {
  const std::string shortSlot = Title(1) + "\tAna\t0\t0\t\r\n";
  const std::string next = "Run vide\t\r\n";
  WriteBytes(path.c_str(), "1\t0\t\r\n" + shortSlot + next);
  EXPECT_EQ(Archive(5, Title(1)), ArchiveOutcome::kWriteFailed);
  EXPECT_EQ(Bytes(), "1\t0\t\r\n" + shortSlot + next);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
  // The short free line cannot hold a run either: a new run goes to a new slot.
  EXPECT_EQ(Archive(5, Title(2)), ArchiveOutcome::kAppended);
  EXPECT_EQ(Bytes().substr(0, 6 + shortSlot.size() + next.size()), "1\t0\t\r\n" + shortSlot + next);
}

TEST(RunSlot, ADamagedSlotFillsARecordWithinItsCapacities) {
  ArchivedRun run;
  ParseRunSlot(std::string(300, 'T') + "\t" + std::string(80, 'N') + "\t5000\t1\t2\t3", run);
  EXPECT_EQ(std::string(run.runTitle), std::string(104, 'T'));
  EXPECT_EQ(std::string(run.participant.driverName), std::string(39, 'N'));
  EXPECT_EQ(run.participant.lapCount, kMaxLapCount);
  EXPECT_EQ(run.participant.passageTimes[2], 3);
  EXPECT_STREQ(run.participant.setup.trackConditions, "");

  ParseRunSlot("T\tAna\t-4\t7\tSec\tBuggy\t", run);
  EXPECT_EQ(run.participant.lapCount, 0);
  EXPECT_EQ(run.participant.passageTimes[0], 7);
  EXPECT_STREQ(run.participant.setup.trackConditions, "Sec");
  EXPECT_STREQ(run.participant.setup.carName, "Buggy");
}

}  // namespace
}  // namespace zarvo
