// The runs database dialog's rules: what it shows for a driver, the gauge, the archiving switch,
// choosing a run (exact titles only) and removing one, with files that vanish or were damaged.
#include "databases/runs_database_dialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/detail_results_file.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Title(int n) {
  char title[kRunTitleCapacity];
  std::snprintf(title, sizeof title, "Start 2026/12/07 %02d:%02d:00 - Duration 0:05:00", n / 60,
                n % 60);
  return title;
}

ParticipantRecord Driver(const char* name) {
  ParticipantRecord p;
  std::memset(&p, 0, sizeof p);
  SetText(p.driverName, name);
  p.lapCount = 2;
  p.passageTimes[1] = 20000;
  p.passageTimes[2] = 41000;
  p.bestLap = 20000;
  return p;
}

class RunsDatabaseDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(kDriversFile, "Ana\t\r\nBruno\t\r\n");
    ASSERT_TRUE(CreateRunsDatabase("Ana"));
    ASSERT_TRUE(CreateRunsDatabase("Bruno"));
    ana = RunsDatabasePath("Ana");
  }
  void Store(int count, int from = 0) {
    ASSERT_EQ(SetArchivingFlag(ana.c_str(), true), RunsFileResult::kDone);
    for (int i = from; i < from + count; ++i) {
      ArchiveParticipantRun(Driver("Ana"), Title(i).c_str(), " S - Run1 ", "Mornay", boxes);
    }
    boxes.shown.clear();
  }
  void Open() { OpenRunsDatabaseDialog(model, boxes); }

  TempFolder folder;
  std::string ana;
  RecordingMessageBoxes boxes;
  RunsDatabaseDialogModel model;
};

TEST(FillingGauge, GreenBelow80OrangeTo98RedWithSaturationFrom99) {
  const FillingGauge zero = MakeFillingGauge(0);
  EXPECT_EQ(zero.colour, MakeColour(0, 200, 0));
  EXPECT_STREQ(zero.text, "0 %");
  EXPECT_EQ(MakeFillingGauge(78).colour, MakeColour(0, 200, 0));
  EXPECT_EQ(MakeFillingGauge(80).colour, MakeColour(250, 150, 0));
  EXPECT_STREQ(MakeFillingGauge(98).text, "98 %");
  EXPECT_EQ(MakeFillingGauge(98).colour, MakeColour(250, 150, 0));
  EXPECT_EQ(MakeFillingGauge(99).colour, MakeColour(200, 0, 0));
  EXPECT_STREQ(MakeFillingGauge(99).text, "99 % saturation");
  EXPECT_STREQ(MakeFillingGauge(100).text, "100 % saturation");
}

TEST_F(RunsDatabaseDialog, ANewDriverIsUntickedWithNoRunAtZeroPerCent) {
  Open();
  EXPECT_TRUE(boxes.shown.empty());
  ASSERT_EQ(model.driverCount, 2);
  EXPECT_EQ(model.selectedDriver, 0);
  EXPECT_EQ(model.runsPath, ana);
  EXPECT_TRUE(model.runsListed);
  EXPECT_FALSE(model.listing.archivingOn);
  EXPECT_EQ(model.listing.entries.size(), 1u);  // the empty first entry only
  EXPECT_EQ(model.level, 0);
}

TEST_F(RunsDatabaseDialog, SelectingADriverListsHisRunsAndTheArchivingSwitchWritesHisFlag) {
  Store(3);
  Open();
  EXPECT_TRUE(model.listing.archivingOn);
  EXPECT_EQ(model.level, 6);
  ASSERT_EQ(model.listing.entries.size(), 4u);
  EXPECT_EQ(model.listing.entries[1], Title(0));

  SelectRunsDriver(model, 1, boxes);
  EXPECT_EQ(model.runsPath, RunsDatabasePath("Bruno"));
  EXPECT_EQ(model.level, 0);
  EXPECT_TRUE(SetRunsArchiving(model, true, boxes));
  EXPECT_EQ(ReadBytes(RunsDatabasePath("Bruno").c_str()), "1\t0\t\r\n");
  EXPECT_FALSE(SetRunsArchiving(model, false, boxes));
  EXPECT_EQ(ReadBytes(RunsDatabasePath("Bruno").c_str()), "0\t0\t\r\n");
  EXPECT_EQ(ReadBytes(ana.c_str()).substr(0, 6), "1\t0\t\r\n");  // the other driver's untouched
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunsDatabaseDialog, MissingFilesGetTheirMessagesAndShowNothing) {
  RemoveFile(kDriversFile);
  Open();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DRIVERS_FILE_NOT_FOUND);
  EXPECT_EQ(model.driverCount, 0);
  EXPECT_EQ(model.selectedDriver, -1);

  WriteBytes(kDriversFile, "Ana\t\r\nBruno\t\r\n");
  RemoveRunsDatabase("Bruno");
  boxes.shown.clear();
  Open();
  SelectRunsDriver(model, 1, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
  EXPECT_FALSE(model.runsListed);
  EXPECT_EQ(model.level, 0);
  EXPECT_FALSE(SetRunsArchiving(model, true, boxes));
  EXPECT_FALSE(FileExists(RunsDatabasePath("Bruno").c_str()));  // never created by the switch
}

TEST_F(RunsDatabaseDialog, ChoosingARunAsksForItByItsFileAndTitle) {
  Store(2);
  Open();
  EXPECT_FALSE(ChooseArchivedRun(model, "", boxes));  // the empty entry does nothing
  ASSERT_TRUE(ChooseArchivedRun(model, Title(1), boxes));
  EXPECT_EQ(model.runsPath, ana);  // what the dialog hands the run detail window
  EXPECT_FALSE(FileExists(kDetailResultsFile));  // the window's side writes the request
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunsDatabaseDialog, ADamagedTitleNeverOpensOrRemovesAnotherRun) {
  // Two slots whose titles agree over their first 104 characters: the key alone cannot tell
  // them apart, so neither is opened nor removed through it.
  ASSERT_EQ(SetArchivingFlag(ana.c_str(), true), RunsFileResult::kDone);
  const std::string head(104, 'T');
  std::string bytes = ReadBytes(ana.c_str());
  for (const char* tail : {"-one", "-two"}) {
    std::string slot = head + tail + "\tAna\t0\t0\t";
    while (slot.size() < size_t(kRunSlotContentLength)) slot += "1\t";
    slot.resize(kRunSlotContentLength);
    bytes += slot + "\r\n";
  }
  WriteBytes(ana.c_str(), bytes);
  Open();
  ASSERT_EQ(model.listing.entries.size(), 3u);
  EXPECT_EQ(model.listing.entries[1], head);
  EXPECT_FALSE(ChooseArchivedRun(model, head, boxes));
  EXPECT_FALSE(FileExists(kDetailResultsFile));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_RUN_TO_READ_NOT_FOUND);

  boxes.answers = {Answer::kYes};
  EXPECT_FALSE(RemoveChosenRun(model, head, boxes));
  EXPECT_EQ(ReadBytes(ana.c_str()), bytes);
  EXPECT_EQ(boxes.shown.back().text, TXT_RUN_TO_REMOVE_NOT_FOUND);
}

TEST_F(RunsDatabaseDialog, RemovingAsksFirstAndNoKeepsTheRun) {
  Store(2);
  Open();
  const std::string before = ReadBytes(ana.c_str());
  boxes.answers = {Answer::kNo};
  EXPECT_FALSE(RemoveChosenRun(model, Title(0), boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].question);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_REMOVE_RUN);
  EXPECT_EQ(boxes.shown[0].text, TXT_REMOVE_RUN_QUESTION);
  EXPECT_EQ(ReadBytes(ana.c_str()), before);

  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(RemoveChosenRun(model, Title(0), boxes));
  ASSERT_EQ(model.listing.entries.size(), 2u);
  EXPECT_EQ(model.listing.entries[1], Title(1));
  EXPECT_EQ(model.level, 2);
  EXPECT_EQ(ReadBytes(ana.c_str()).substr(6, 9), "Run vide\t");
}

TEST_F(RunsDatabaseDialog, RemovingOneOfFiftyShows98AndClearsTheFullFlagSoTheNextRunIsArchived) {
  Store(50);
  ASSERT_EQ(ReadBytes(ana.c_str()).substr(0, 6), "1\t1\t\r\n");
  Open();
  EXPECT_EQ(model.level, 100);
  EXPECT_TRUE(model.listing.archiveFull);
  boxes.answers = {Answer::kYes};
  ASSERT_TRUE(RemoveChosenRun(model, Title(7), boxes));
  EXPECT_EQ(model.level, 98);
  EXPECT_FALSE(model.listing.archiveFull);
  EXPECT_EQ(ReadBytes(ana.c_str()).substr(0, 6), "1\t0\t\r\n");
  EXPECT_EQ(MakeFillingGauge(model.level).colour, MakeColour(250, 150, 0));
  EXPECT_EQ(ArchiveParticipantRun(Driver("Ana"), Title(60).c_str(), " S - Run1 ", "Mornay", boxes),
            ArchiveOutcome::kStoredInFreeSlot);
}

TEST_F(RunsDatabaseDialog, RemovingARunTheFileNoLongerHasOrAVanishedFileRemovesNothingElse) {
  Store(3);
  Open();
  // Removed meanwhile (by another copy of the program, or through the list shown earlier).
  ASSERT_EQ(RemoveRun(ana.c_str(), Title(1).c_str(), boxes), RunsFileResult::kDone);
  const std::string before = ReadBytes(ana.c_str());
  boxes.answers = {Answer::kYes};
  EXPECT_FALSE(RemoveChosenRun(model, Title(1), boxes));
  EXPECT_EQ(boxes.shown.back().text, TXT_RUN_TO_REMOVE_NOT_FOUND);
  EXPECT_EQ(ReadBytes(ana.c_str()), before);
  EXPECT_EQ(model.listing.entries.size(), 3u);  // listed again: the two runs left

  RemoveRunsDatabase("Ana");
  boxes.shown.clear();
  boxes.answers = {Answer::kYes};
  EXPECT_FALSE(RemoveChosenRun(model, Title(0), boxes));
  ASSERT_EQ(boxes.shown.size(), 2u);  // the question, then the message once
  EXPECT_EQ(boxes.shown[1].text, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
  EXPECT_FALSE(FileExists(ana.c_str()));  // not recreated
  EXPECT_EQ(model.level, 0);
  EXPECT_FALSE(ChooseArchivedRun(model, Title(0), boxes));
}

}  // namespace
}  // namespace zarvo
