// The File menu commands of the session, driven through their ports with a real working copy in
// a temporary program folder: their questions, file dialogs, titles and "Save" item, closing,
// and the smartphone import.
#include "app/session_controller.h"

#include <gtest/gtest.h>

#include "tests/app/session_controller_fixture.h"

namespace zarvo {
namespace {

using namespace session_testing;

// ---- File menu.

TEST_F(SessionControllerTest, CancellingTheNewSessionQuestionChangesNothing) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  boxes.answers.push_back(Answer::kCancel);
  controller->NewSession();
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_TRUE(window.titles.empty());
}

TEST_F(SessionControllerTest, NewSessionWithoutSavingStartsAFreshSession) {
  Load(SessionBytes("OLD").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  boxes.answers.push_back(Answer::kNo);
  controller->NewSession();
  EXPECT_EQ(boxes.shown.back().caption, TXT_CAPTION_QUESTION);
  EXPECT_EQ(boxes.shown.back().text, TXT_NEW_SESSION_QUESTION);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes("SEANCE TRAINING"));
  EXPECT_EQ(window.titles.back(), "Zarvo");
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_EQ(session->savedFilePath, "");
  EXPECT_EQ(session->loadedRun, 0);
  EXPECT_EQ(race->participantCount, 0);
  EXPECT_FALSE(race->run.ready);
  EXPECT_FALSE(race->run.resultsPresent);
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "SEANCE TRAINING");
  EXPECT_FALSE(tree.Has(kRunsNodeId + 1));
  EXPECT_EQ(window.resets.back(), 0);
}

TEST_F(SessionControllerTest, ANewOrLoadedSessionTakesTheRunCaptionOffTheScreen) {
  const std::string bytes = SessionBytes("OLD").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes();
  Load(bytes);
  Select(kRunsNodeId + 1);
  ASSERT_STREQ(session->runCaption, " OLD - Run1 ");
  int titleRepaints = ui->repaints[RaceArea::kTitle];
  Load(bytes, "again.trng");
  EXPECT_STREQ(session->runCaption, "");
  EXPECT_GT(ui->repaints[RaceArea::kTitle], titleRepaints);
  Select(kRunsNodeId + 1);
  titleRepaints = ui->repaints[RaceArea::kTitle];
  boxes.answers.push_back(Answer::kNo);
  controller->NewSession();
  EXPECT_STREQ(session->runCaption, "");
  EXPECT_GT(ui->repaints[RaceArea::kTitle], titleRepaints);
}

TEST_F(SessionControllerTest, SavingBeforeANewSessionAsksForAFileWhenThereIsNone) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  boxes.answers.push_back(Answer::kYes);
  files.saveAnswers.push_back(std::string("kept"));
  controller->NewSession();
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_TRUE(files.asked[0].save);
  EXPECT_EQ(files.asked[0].filterName, TXT_FILTER_TRAINING_NEW);
  EXPECT_EQ(files.asked[0].pattern, "*.trng");
  EXPECT_EQ(files.asked[0].initialName, InitialSaveName());
  EXPECT_EQ(files.asked[0].initialFolder, folder.path());
  EXPECT_EQ(ReadBytes("kept.trng"), before);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes("SEANCE TRAINING"));
}

// The save question was answered Yes: cancelling the file dialog cancels the command, so the
// session that was not saved is still there.
TEST_F(SessionControllerTest, CancellingTheSaveDialogAfterYesKeepsTheSessionOpen) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  const std::vector<std::string> treeBefore = tree.Lines();
  WriteBytes("other.trng", SessionBytes("OTHER").Bytes());
  WriteBytes("phone.trng2", "phone");

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::nullopt};
  controller->NewSession();

  boxes.answers = {Answer::kYes};
  files.openAnswers = {std::string("other.trng")};
  files.saveAnswers = {std::nullopt};
  controller->LoadSession();

  boxes.answers = {Answer::kYes};
  files.openAnswers = {std::string("phone.trng2")};
  files.saveAnswers = {std::string(InitialSaveName())};  // the initial name is no choice
  dialogs.import = [] { return true; };
  controller->ImportSmartphone();

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::nullopt};
  EXPECT_FALSE(controller->ConfirmClose());

  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_EQ(tree.Lines(), treeBefore);
  EXPECT_TRUE(window.titles.empty());
  EXPECT_EQ(dialogs.importOpened, 0);
  EXPECT_FALSE(FileExists(kSmartphoneCopyPath));
}

TEST_F(SessionControllerTest, LoadingAsksToSaveTheCurrentSessionIntoItsOwnFile) {
  Load(SessionBytes("FIRST").Runs(1).Bytes(), "first.trng");
  controller->AddRun();
  const std::string first = ReadBytes(kWorkingCopyPath);
  WriteBytes("second.trng", SessionBytes("SECOND").Bytes());
  files.openAnswers = {std::string("second.trng")};
  boxes.answers = {Answer::kYes};
  controller->LoadSession();
  EXPECT_EQ(boxes.shown.back().text, TXT_SAVE_SESSION_QUESTION);
  EXPECT_TRUE(files.asked.back().save == false);  // no save dialog: the session had a file
  EXPECT_EQ(ReadBytes("first.trng"), first);
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "SECOND");
  EXPECT_EQ(window.titles.back(), "Zarvo:   second.trng");
}

TEST_F(SessionControllerTest, AnUnreadableChosenFileLeavesTheSessionAsItWas) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  files.openAnswers = {std::string("missing.trng")};
  boxes.answers = {Answer::kNo};
  controller->LoadSession();
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{TXT_SESSION_NOT_OPENED}));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());
}

TEST_F(SessionControllerTest, SaveAsAppendsTheExtensionUnlessTheNameContainsIt) {
  files.saveAnswers = {std::string("practice")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(files.asked.back().filterName, TXT_FILTER_TRAINING_SAVE_AS);
  EXPECT_EQ(session->savedFilePath, "practice.trng");
  EXPECT_EQ(ReadBytes("practice.trng"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(window.titles.back(), "Zarvo:   practice.trng");
  EXPECT_TRUE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_TRUE(session->hasSavedFile);

  files.saveAnswers = {std::string("copy.trng.old")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(session->savedFilePath, "copy.trng.old");
  EXPECT_TRUE(FileExists("copy.trng.old"));
}

// The dialog asked about replacing the name typed ("club"), not the file written ("club.trng").
TEST_F(SessionControllerTest, SaveAsOverAnExistingFileTypedWithoutItsExtensionAsksFirst) {
  WriteBytes("club.trng", "an older session");
  files.saveAnswers = {std::string("club")};
  boxes.answers = {Answer::kNo};
  EXPECT_FALSE(controller->SaveAs());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].question);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_QUESTION);
  char question[256];
  std::snprintf(question, sizeof question, TXT_REPLACE_FILE_QUESTION, "club.trng");
  EXPECT_EQ(boxes.shown[0].text, question);
  EXPECT_EQ(ReadBytes("club.trng"), "an older session");
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());

  files.saveAnswers = {std::string("club")};
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(ReadBytes("club.trng"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(session->savedFilePath, "club.trng");

  // A name the dialog asked about as it is (the extension in any case): no second question.
  WriteBytes("CLUB2.TRNG", "older");
  files.saveAnswers = {std::string("CLUB2.TRNG")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(session->savedFilePath, "CLUB2.TRNG");
  EXPECT_EQ(ReadBytes("CLUB2.TRNG"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(ReadBytes("CLUB2.TRNG.trng"), "<missing>");
}

TEST_F(SessionControllerTest, SaveWithoutAFileDoesNothingAndWithOneWritesTheRunFirst) {
  EXPECT_FALSE(controller->Save());
  EXPECT_TRUE(files.asked.empty());

  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes(), "mine.trng");
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  EXPECT_TRUE(controller->OnCommand(IDM_SAVE) && FileExists("mine.trng"));
  const std::string saved = ReadBytes("mine.trng");
  EXPECT_EQ(saved, ReadBytes(kWorkingCopyPath));
  EXPECT_NE(saved.find("SessionRun1\t"), std::string::npos);
}

TEST_F(SessionControllerTest, AFailedCopyIsReportedAndTheSessionKeepsNoFile) {
  files.saveAnswers = {std::string("no such folder/practice")};
  EXPECT_FALSE(controller->SaveAs());
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{TXT_SESSION_NOT_SAVED}));
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::string("no such folder/practice")};
  EXPECT_FALSE(controller->ConfirmClose());
}

TEST_F(SessionControllerTest, ClosingArchivesTheRunAsksToSaveAndCancelKeepsTheWindowOpen) {
  const std::string database = MakeRunsDatabase("ANNA");
  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  boxes.answers = {Answer::kCancel};
  EXPECT_FALSE(controller->ConfirmClose());
  EXPECT_EQ(boxes.shown.back().text, TXT_QUIT_SAVE_QUESTION);
  boxes.answers = {Answer::kNo};
  EXPECT_TRUE(controller->ConfirmClose());
  RunsListing listing;
  ASSERT_EQ(ListRuns(database.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 2u);  // archived once, however often it was asked
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(controller->ConfirmClose());  // saved into the session's own file
  EXPECT_NE(ReadBytes("prepared.trng").find("SessionRun1\t"), std::string::npos);
}

TEST_F(SessionControllerTest, ImportingCopiesThePhoneFileAndReadsTheSessionTheDialogBuilt) {
  WriteBytes("phone.trng2", "phone bytes");
  files.openAnswers = {std::string("phone.trng2")};
  boxes.answers = {Answer::kNo};
  dialogs.import = [&] {
    EXPECT_EQ(ReadBytes(kSmartphoneCopyPath), "phone bytes");
    WriteBytes(kWorkingCopyPath, SessionBytes("PHONE").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
    return true;
  };
  controller->ImportSmartphone();
  EXPECT_EQ(files.asked.back().filterName, TXT_FILTER_SMARTPHONE);
  EXPECT_EQ(files.asked.back().pattern, "*.trng2");
  EXPECT_EQ(window.titles.back(), "Zarvo:   phone.trng2");
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "PHONE");
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_EQ(race->params.circuitIndex, kNoCircuit);
}

TEST_F(SessionControllerTest, WithoutAnImportDialogImportChangesNothing) {
  controller->AddRun();
  WriteBytes("phone.trng2", "phone bytes");
  files.openAnswers = {std::string("phone.trng2")};
  boxes.answers = {Answer::kNo};
  controller->ImportSmartphone();
  EXPECT_EQ(dialogs.importOpened, 1);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_TRUE(window.titles.empty());
}

}  // namespace
}  // namespace zarvo
