// The run synthesis window's rules: the car chooser and what each choice does to the working
// copy of the setup sheet, the edit limits, and the answer written when the window is left.
#include "analysis/run_synthesis.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/run_window.h"
#include "databases/database_files.h"
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

// A cars file line: the name, setup fields 1..48 as "<prefix><i>", the image path.
std::string CarLine(const std::string& name, const std::string& prefix) {
  std::string line = name + "\t";
  for (int i = 1; i < kSetupFieldCount; ++i) line += prefix + std::to_string(i) + "\t";
  return line + "images/car.bmp\t\r\n";
}

// A sheet whose every field holds "old<i>".
std::unique_ptr<SetupSheet> FilledSheet() {
  auto sheet = std::make_unique<SetupSheet>();
  std::memset(sheet.get(), 0, sizeof *sheet);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetText(SetupField(*sheet, i), size_t(SetupFieldCapacity(i)),
            ("old" + std::to_string(i)).c_str());
  }
  return sheet;
}

bool SameSheet(const SetupSheet& a, const SetupSheet& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

class RunSynthesisTest : public ::testing::Test {
 protected:
  TempFolder folder;
  RecordingMessageBoxes boxes;
};

TEST_F(RunSynthesisTest, ChooserListsTheFixedEntriesThenTheCarsInFileOrder) {
  WriteBytes(kCarsFile, CarLine("Zebra", "z") + CarLine("Alpha", "a") + CarLine("Alpha", "b"));
  WriteBytes(kDetailResultsFile, "");
  auto synthesis = std::make_unique<RunSynthesis>();
  OpenRunSynthesis(*synthesis, boxes);
  const std::vector<std::string> expected = {"", TXT_CAR_DATA_RESET, "Zebra", "Alpha", "Alpha"};
  EXPECT_EQ(synthesis->cars, expected) << "unsorted, every line";
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunSynthesisTest, ChooserHoldsAtMostTheCarsOfACarsTable) {
  std::string file;
  for (int i = 0; i < kCarChooserCars + 5; ++i) file += "Car" + std::to_string(i) + "\t\r\n";
  WriteBytes(kCarsFile, file);
  WriteBytes(kDetailResultsFile, "");
  auto synthesis = std::make_unique<RunSynthesis>();
  OpenRunSynthesis(*synthesis, boxes);
  ASSERT_EQ(synthesis->cars.size(), size_t(2 + kCarChooserCars));
  EXPECT_EQ(synthesis->cars.back(), "Car" + std::to_string(kCarChooserCars - 1));
}

TEST_F(RunSynthesisTest, MissingFilesAtOpeningAreReportedAndLeaveAnEmptyRunAndTwoEntries) {
  auto synthesis = std::make_unique<RunSynthesis>();
  std::memset(&synthesis->run, 0x55, sizeof synthesis->run);  // what a previous run left
  OpenRunSynthesis(*synthesis, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
  EXPECT_EQ(boxes.shown[1].text, TXT_CARS_FILE_NOT_FOUND);
  EXPECT_EQ(boxes.shown[1].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(synthesis->run.participant.lapCount, 0);
  EXPECT_STREQ(synthesis->run.participant.setup.carName, "");
  EXPECT_EQ(synthesis->cars, (std::vector<std::string>{"", TXT_CAR_DATA_RESET}));
}

TEST_F(RunSynthesisTest, OpeningReadsTheRunHandedOff) {
  auto p = std::make_unique<ParticipantRecord>();
  std::memset(p.get(), 0, sizeof *p);
  SetText(p->driverName, "Lucas MARTIN");
  p->lapCount = 2;
  p->passageTimes[1] = 20400;
  p->passageTimes[2] = 40900;
  SetText(p->setup.wing, "Haut");
  ASSERT_TRUE(WriteRunHandOff(*p, " Training - Run1 ", "Mornay", "Start 2026/12/07"));
  WriteBytes(kCarsFile, CarLine("Buggy", "x"));
  auto synthesis = std::make_unique<RunSynthesis>();
  OpenRunSynthesis(*synthesis, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_STREQ(synthesis->run.participant.driverName, "Lucas MARTIN");
  EXPECT_EQ(synthesis->run.participant.passageTimes[2], 40900);
  EXPECT_STREQ(synthesis->run.participant.setup.wing, "Haut");
  EXPECT_STREQ(synthesis->run.circuitName, "Mornay");
  EXPECT_EQ(synthesis->cars.size(), 3u);
}

TEST_F(RunSynthesisTest, TheEmptyEntryChangesNothingAndAsksNothing) {
  WriteBytes(kCarsFile, CarLine("Buggy", "x"));
  auto sheet = FilledSheet();
  auto before = FilledSheet();
  EXPECT_FALSE(CarChosen("", *sheet, boxes));
  EXPECT_FALSE(CarChosen(nullptr, *sheet, boxes));
  EXPECT_TRUE(SameSheet(*sheet, *before));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RunSynthesisTest, DataResetConfirmedKeepsTheTrackConditionsAndEmptiesTheRest) {
  auto sheet = FilledSheet();
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(CarChosen(TXT_CAR_DATA_RESET, *sheet, boxes));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].question);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_QUESTION);
  EXPECT_EQ(boxes.shown[0].text, TXT_SYNTHESIS_CONFIRM_DATA_RESET);
  EXPECT_STREQ(sheet->trackConditions, "old0");
  for (int i = 1; i < kSetupFieldCount; ++i) {
    const char* field = SetupField(*sheet, i);
    for (int b = 0; b < SetupFieldCapacity(i); ++b) ASSERT_EQ(field[b], 0) << "field " << i;
  }
}

TEST_F(RunSynthesisTest, NoToAConfirmationLeavesTheSheet) {
  WriteBytes(kCarsFile, CarLine("Buggy", "x"));
  auto sheet = FilledSheet();
  auto before = FilledSheet();
  boxes.answers = {Answer::kNo, Answer::kNo};
  EXPECT_FALSE(CarChosen(TXT_CAR_DATA_RESET, *sheet, boxes));
  EXPECT_FALSE(CarChosen("Buggy", *sheet, boxes));
  EXPECT_TRUE(SameSheet(*sheet, *before));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, TXT_SYNTHESIS_CONFIRM_CAR);
}

TEST_F(RunSynthesisTest, ACarWithTwoLinesFillsFromTheLaterOneAndKeepsTheTrackConditions) {
  WriteBytes(kCarsFile,
             CarLine("Buggy", "first") + CarLine("Truck", "t") + CarLine("Buggy", "second"));
  auto sheet = FilledSheet();
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(CarChosen("Buggy", *sheet, boxes));
  EXPECT_STREQ(sheet->trackConditions, "old0");
  EXPECT_STREQ(sheet->carName, "second1");
  EXPECT_STREQ(SetupField(*sheet, 48), "second48");
}

TEST_F(RunSynthesisTest, ACarGoneFromTheFileSinceTheListWasFilledLeavesTheSheet) {
  WriteBytes(kCarsFile, CarLine("Buggy", "x") + CarLine("Truck", "t"));
  WriteBytes(kDetailResultsFile, "");
  auto synthesis = std::make_unique<RunSynthesis>();
  OpenRunSynthesis(*synthesis, boxes);
  ASSERT_EQ(synthesis->cars.size(), 4u);
  WriteBytes(kCarsFile, CarLine("Truck", "t"));  // another program removed it meanwhile
  auto sheet = FilledSheet();
  auto before = FilledSheet();
  boxes.answers = {Answer::kYes};
  EXPECT_FALSE(CarChosen(synthesis->cars[2].c_str(), *sheet, boxes));
  EXPECT_TRUE(SameSheet(*sheet, *before));

  // The cars file gone altogether: reported, the sheet still unchanged.
  ASSERT_TRUE(RemoveFile(kCarsFile));
  boxes.shown.clear();
  boxes.answers = {Answer::kYes};
  EXPECT_FALSE(CarChosen("Truck", *sheet, boxes));
  EXPECT_TRUE(SameSheet(*sheet, *before));
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, TXT_CARS_FILE_NOT_FOUND);
}

TEST_F(RunSynthesisTest, AShortCarLineLeavesItsMissingFieldsEmptyNeverTakingTheNextLine) {
  WriteBytes(kCarsFile, "Short\tS car\tS engine\t\r\n" + CarLine("Next", "n"));
  auto sheet = FilledSheet();
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(CarChosen("Short", *sheet, boxes));
  EXPECT_STREQ(sheet->trackConditions, "old0");
  EXPECT_STREQ(SetupField(*sheet, 1), "S car");
  EXPECT_STREQ(SetupField(*sheet, 2), "S engine");
  for (int i = 3; i < kSetupFieldCount; ++i) EXPECT_STREQ(SetupField(*sheet, i), "") << i;
}

TEST_F(RunSynthesisTest, TheChoiceIsTakenUpTo29Characters) {
  const std::string name29(29, 'C');
  WriteBytes(kCarsFile, CarLine(name29, "c"));
  auto sheet = FilledSheet();
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(CarChosen((name29 + "EXTRA").c_str(), *sheet, boxes));
  EXPECT_STREQ(sheet->carName, "c1");
}

TEST_F(RunSynthesisTest, EachEditKeepsItsFieldsCapacityMinusTwo) {
  // Capacities 40, 30, 20 and 15 give 38, 28, 18 and 13.
  for (int i = 0; i < kSetupFieldCount; ++i) {
    EXPECT_EQ(SetupEditLimit(i), SetupFieldCapacity(i) - 2) << i;
  }
  EXPECT_EQ(SetupEditLimit(0), 38);   // track conditions
  EXPECT_EQ(SetupEditLimit(1), 28);   // car name
  EXPECT_EQ(SetupEditLimit(2), 18);   // engine
  EXPECT_EQ(SetupEditLimit(7), 38);   // clutch gear
  EXPECT_EQ(SetupEditLimit(11), 13);  // ratio
  EXPECT_EQ(SetupEditLimit(48), 18);  // throttle servo
  EXPECT_EQ(SetupEditLimit(-1), 0);
  EXPECT_EQ(SetupEditLimit(kSetupFieldCount), 0);

  // A text as long as the field holds (a car's or the run's) is kept whole when its edit reports
  // it back; anything longer is cut to the field.
  auto sheet = FilledSheet();
  const std::string full(size_t(SetupFieldCapacity(0) - 1), 'F');
  SetupFieldTyped(*sheet, 0, full.c_str());
  EXPECT_EQ(std::string(sheet->trackConditions), full);
  const std::string longText(200, 'L');
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetupFieldTyped(*sheet, i, longText.c_str());
    EXPECT_EQ(std::strlen(SetupField(*sheet, i)), size_t(SetupFieldCapacity(i) - 1))
        << "the field keeps its terminator: " << i;
  }
  SetupFieldTyped(*sheet, 3, "Novarossi");
  EXPECT_STREQ(SetupField(*sheet, 3), "Novarossi");
  SetupFieldTyped(*sheet, 3, "");
  EXPECT_STREQ(SetupField(*sheet, 3), "");
  auto before = std::make_unique<SetupSheet>(*sheet);
  SetupFieldTyped(*sheet, kSetupFieldCount, "x");
  SetupFieldTyped(*sheet, -1, "x");
  EXPECT_TRUE(SameSheet(*sheet, *before));
}

TEST_F(RunSynthesisTest, SaveAnswersFlagOneWithAll49TextsAndCancelFlagZero) {
  auto sheet = FilledSheet();
  SetupFieldTyped(*sheet, 4, "P5");
  LeaveRunSynthesis(*sheet, true, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(ReadBytes(kDetailResultsFile), FormatSetupAnswer(*sheet, true));
  EXPECT_EQ(ReadBytes(kDetailResultsFile).substr(0, 7), "1\told0\t");

  // What the main window does with it: every text replaced, also the ones not touched.
  auto participant = std::make_unique<SetupSheet>();
  std::memset(participant.get(), 0, sizeof *participant);
  SetText(participant->body, "other");
  int flag = -1;
  ASSERT_TRUE(ReadSetupAnswer(*participant, flag));
  EXPECT_EQ(flag, 1);
  EXPECT_TRUE(SameSheet(*participant, *sheet));

  // Cancel: the texts are written too, and the reader leaves the participant's sheet alone.
  auto edited = FilledSheet();
  SetupFieldTyped(*edited, 5, "edited");
  LeaveRunSynthesis(*edited, false, boxes);
  EXPECT_EQ(ReadBytes(kDetailResultsFile), FormatSetupAnswer(*edited, false));
  auto kept = std::make_unique<SetupSheet>(*participant);
  ASSERT_TRUE(ReadSetupAnswer(*participant, flag));
  EXPECT_EQ(flag, 0);
  EXPECT_TRUE(SameSheet(*participant, *kept));
}

TEST_F(RunSynthesisTest, AnAnswerThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(MakeDirectory(kDetailResultsFile));  // a folder where the file should be
  auto sheet = FilledSheet();
  LeaveRunSynthesis(*sheet, true, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
}

// The text drawn at (x, y) of a list, or "<none>".
// The texts printed on the line at y, joined by "|" (a value's place beside its label depends on
// the edition's label widths).
std::string TextsOnLine(const DrawList& list, int y) {
  std::string out;
  for (int i = 0; i < list.count; ++i) {
    const DrawOp& op = list.ops[i];
    if (op.kind != DrawKind::kText || op.y1 != y) continue;
    if (!out.empty()) out += "|";
    out += list.TextOf(op);
  }
  return out;
}

TEST_F(RunSynthesisTest, ThePageShowsTheSheetAsItStandsAndTheViewIsKeptApart) {
  WriteBytes(kCarsFile, CarLine("Buggy", "b"));
  auto p = std::make_unique<ParticipantRecord>();
  std::memset(p.get(), 0, sizeof *p);
  SetText(p->driverName, "ANNA");
  p->lapCount = 1;
  p->passageTimes[1] = 21000;
  SetText(p->setup.carName, "Old car");
  auto model = std::make_unique<RunWindowModel>();
  ClearRunWindow(*model, RunWindowKind::kSynthesis);
  LoadRunWindow(*model, *p, " Training - Run1 ", "Mornay", "Start 2026/12/07");
  boxes.answers = {Answer::kYes};
  ASSERT_TRUE(CarChosen("Buggy", model->record.setup, boxes));
  SetupFieldTyped(model->record.setup, 2, "Novarossi P5");
  auto list = std::make_unique<DrawList>();
  list->Clear();
  DrawRunPage(*model, *list);
  EXPECT_THAT(TextsOnLine(*list, 592), ::testing::HasSubstr("b1")) << "the car name";
  EXPECT_THAT(TextsOnLine(*list, 592), ::testing::Not(::testing::HasSubstr("Old car")));
  EXPECT_THAT(TextsOnLine(*list, 670), ::testing::HasSubstr("Novarossi P5"))
      << "the engine as typed";

  // A view chosen in the synthesis is its own: the run detail window keeps the one it had.
  const GraphView detailView = KeptView(RunWindowKind::kDetail);
  const GraphView other = detailView == GraphView::kCurve ? GraphView::kData : GraphView::kCurve;
  ChooseRunView(*model, other);
  EXPECT_EQ(KeptView(RunWindowKind::kSynthesis), other);
  EXPECT_EQ(KeptView(RunWindowKind::kDetail), detailView);
  auto reopened = std::make_unique<RunWindowModel>();
  ClearRunWindow(*reopened, RunWindowKind::kSynthesis);
  EXPECT_EQ(reopened->view, other);
  KeptView(RunWindowKind::kSynthesis) = GraphView::kData;  // as the program starts
}

}  // namespace
}  // namespace zarvo
