// The hand-off file between windows: the bytes of its three shapes, what the readers make of
// them, and damaged files (truncated, lap counts out of range, over-long texts).
#include "analysis/detail_results_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <iterator>
#include <string>
#include <vector>

#include "tests/analysis/test_runs.h"
#include "tests/support/temp_folder.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::RecordOfLaps;
using testing::TempFolder;
using testing::WriteBytes;

constexpr char kCaption[] = " Training - Run1 ";
constexpr char kCircuit[] = "Mornay";
constexpr char kTitle[] = "Start 2026/12/07 14:03:10 - Duration 0:05:00";

std::string Tabs(int n) {
  return std::string(size_t(n), '\t');
}

std::unique_ptr<RunHandOff> Parse(const std::string& bytes) {
  auto run = std::make_unique<RunHandOff>();
  ParseRunHandOff(bytes, *run);
  return run;
}

TEST(RunHandOff, IsTwoTabEndedLinesOfRunAndCaptions) {
  auto p = RecordOfLaps({20400, 20500});
  SetText(p->setup.trackConditions, "Sec");
  SetText(p->setup.carName, "Buggy");
  SetText(p->setup.throttleServo, "S9");
  const std::string expected = "Lucas MARTIN\t2\t0\t20400\t40900\tSec\tBuggy\t" + Tabs(46) +
                               "S9\t\r\n Training - Run1 \tMornay\t" + kTitle + "\t\r\n";
  EXPECT_EQ(FormatRunHandOff(*p, kCaption, kCircuit, kTitle), expected);

  auto back = Parse(expected);
  EXPECT_STREQ(back->participant.driverName, "Lucas MARTIN");
  EXPECT_EQ(back->participant.lapCount, 2);
  EXPECT_EQ(back->participant.passageTimes[1], 20400);
  EXPECT_EQ(back->participant.passageTimes[2], 40900);
  EXPECT_EQ(std::memcmp(&back->participant.setup, &p->setup, sizeof p->setup), 0);
  EXPECT_STREQ(back->runCaption, kCaption);
  EXPECT_STREQ(back->circuitName, kCircuit);
  EXPECT_STREQ(back->runTitle, kTitle);
}

TEST(RunHandOff, RunWithoutLapHoldsTheStartAloneAndEmptyTexts) {
  auto p = RecordOfLaps({});
  const std::string bytes = FormatRunHandOff(*p, "", "", "");
  EXPECT_EQ(bytes, "Lucas MARTIN\t0\t0\t" + Tabs(49) + "\r\n\t\t\t\r\n");
  auto back = Parse(bytes);
  EXPECT_EQ(back->participant.lapCount, 0);
  EXPECT_EQ(back->participant.passageTimes[0], 0);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    EXPECT_STREQ(SetupField(back->participant.setup, i), "") << i;
  }
}

TEST(RunHandOff, LineEndsInsideTextsAreWrittenAsSpaces) {
  auto p = RecordOfLaps({20000});
  SetText(p->setup.trackConditions, "wet\tthen\r\ndry");
  auto back = Parse(FormatRunHandOff(*p, "a\tb", kCircuit, kTitle));
  EXPECT_STREQ(back->participant.setup.trackConditions, "wet then  dry");
  EXPECT_STREQ(back->runCaption, "a b");
  EXPECT_STREQ(back->circuitName, kCircuit);
}

TEST(RunHandOff, ReaderSkipsBlankLinesBeforeTheCaptionsAndReadsLfAlone) {
  auto back = Parse("Ann\t1\t0\t20000\t" + Tabs(49) + "\n\n\r\n Cap \tTrack\tTitle\t\n");
  EXPECT_EQ(back->participant.lapCount, 1);
  EXPECT_EQ(back->participant.passageTimes[1], 20000);
  EXPECT_STREQ(back->runCaption, " Cap ");
  EXPECT_STREQ(back->circuitName, "Track");
  EXPECT_STREQ(back->runTitle, "Title");
}

TEST(RunHandOffDamaged, TruncatedFileLeavesMissingFieldsEmpty) {
  auto back = Parse("Ann\t3\t0\t20000\t41");
  EXPECT_STREQ(back->participant.driverName, "Ann");
  EXPECT_EQ(back->participant.lapCount, 3);
  EXPECT_EQ(back->participant.passageTimes[1], 20000);
  EXPECT_EQ(back->participant.passageTimes[2], 41);
  EXPECT_EQ(back->participant.passageTimes[3], 0);
  EXPECT_STREQ(back->participant.setup.trackConditions, "");
  EXPECT_STREQ(back->runCaption, "");

  // A first line cut short does not take its setup sheet from the captions' line.
  back = Parse("Ann\t1\t0\t20000\tSec\r\nCap\tTrack\tTitle\t\r\n");
  EXPECT_STREQ(back->participant.setup.trackConditions, "Sec");
  EXPECT_STREQ(back->participant.setup.carName, "");
  EXPECT_STREQ(back->runCaption, "Cap");

  back = Parse("");
  EXPECT_STREQ(back->participant.driverName, "");
  EXPECT_EQ(back->participant.lapCount, 0);
}

TEST(RunHandOffDamaged, LapCountIsHeldTo999AndNeverBelowZero) {
  std::string line = "Ann\t1200\t";
  for (int k = 0; k <= 1200; ++k) line += std::to_string(k * 1000) + "\t";
  line += "Sec\tBuggy\t" + Tabs(47) + "\r\nCap\tT\tTitle\t\r\n";
  auto back = Parse(line);
  EXPECT_EQ(back->participant.lapCount, kMaxLapCount);
  EXPECT_EQ(back->participant.passageTimes[999], 999000);
  // The setup sheet after the 1201 passage times is still found.
  EXPECT_STREQ(back->participant.setup.trackConditions, "Sec");
  EXPECT_STREQ(back->participant.setup.carName, "Buggy");
  EXPECT_STREQ(back->runCaption, "Cap");

  back = Parse("Ann\t-5\t0\tSec\t\r\n");
  EXPECT_EQ(back->participant.lapCount, 0);
  EXPECT_STREQ(back->participant.setup.trackConditions, "Sec");

  back = Parse("Ann\t99999999999\t0\t1\r\n");
  EXPECT_EQ(back->participant.lapCount, kMaxLapCount);
}

TEST(RunHandOffDamaged, OverlongTextsAreCutToCapacityMinusOne) {
  const std::string longText(500, 'x');
  std::string bytes = longText + "\t1\t0\t20000\t";
  for (int i = 0; i < kSetupFieldCount; ++i) bytes += longText + "\t";
  bytes += "\r\n" + longText + "\t" + longText + "\t" + longText + "\t\r\n";
  auto back = Parse(bytes);
  EXPECT_EQ(std::strlen(back->participant.driverName), size_t(kDriverNameCapacity - 1));
  for (int i = 0; i < kSetupFieldCount; ++i) {
    EXPECT_EQ(std::strlen(SetupField(back->participant.setup, i)),
              size_t(SetupFieldCapacity(i) - 1))
        << i;
  }
  EXPECT_EQ(std::strlen(back->runCaption), size_t(kHandOffCaptionCapacity - 1));
  EXPECT_EQ(std::strlen(back->circuitName), size_t(kHandOffCircuitCapacity - 1));
  EXPECT_EQ(std::strlen(back->runTitle), size_t(kHandOffTitleCapacity - 1));
}

TEST(SetupAnswer, IsTheFlagAndThe49Texts) {
  SetupSheet sheet = {};
  SetText(sheet.trackConditions, "Humide");
  SetText(sheet.carName, "Buggy");
  EXPECT_EQ(FormatSetupAnswer(sheet, true), "1\tHumide\tBuggy\t" + Tabs(47) + "\r\n");
  EXPECT_EQ(FormatSetupAnswer(sheet, false), "0\tHumide\tBuggy\t" + Tabs(47) + "\r\n");
}

TEST(SetupAnswer, OnlyFlagOneReplacesTheWholeSheet) {
  SetupSheet answer = {};
  SetText(answer.trackConditions, "Humide");
  SetText(answer.radio, "M12");

  SetupSheet sheet = {};
  SetText(sheet.trackConditions, "Sec");
  SetText(sheet.engine, "Picco");
  const SetupSheet before = sheet;
  EXPECT_EQ(ParseSetupAnswer(FormatSetupAnswer(answer, false), sheet), 0);
  EXPECT_EQ(std::memcmp(&sheet, &before, sizeof sheet), 0);

  EXPECT_EQ(ParseSetupAnswer(FormatSetupAnswer(answer, true), sheet), 1);
  EXPECT_STREQ(sheet.trackConditions, "Humide");
  EXPECT_STREQ(sheet.engine, "");  // not in the answer: cleared
  EXPECT_STREQ(sheet.radio, "M12");

}

// Only the answer exactly as the run synthesis writes it is taken: anything else, a stale file of
// another shape included, is no answer and leaves the sheet alone.
TEST(SetupAnswer, OnlyTheExactFlagWithItsFortyNineFieldsIsAnAnswer) {
  SetupSheet answer = {};
  SetText(answer.trackConditions, "Humide");
  const std::string saved = FormatSetupAnswer(answer, true);
  const std::string texts = saved.substr(2);  // the 49 fields and the line end
  SetupSheet sheet = {};
  SetText(sheet.engine, "Picco");
  const SetupSheet before = sheet;
  auto run = RecordOfLaps({20400});
  SetText(run->driverName, "1 ANNA");  // a run hand-off whose first field reads as 1 with %d
  const char* const notAnswers[] = {
      "2\tHumide\t\r\n",
      "1\tMouill",                                   // cut short
      "",                                            // empty
      "",                                            // (the stale hand-off, below)
  };
  std::vector<std::string> cases(std::begin(notAnswers), std::end(notAnswers));
  cases[3] = FormatRunHandOff(*run, kCaption, kCircuit, kTitle);
  cases.push_back("01\t" + texts);                  // not the flag written
  cases.push_back(" 1\t" + texts);
  cases.push_back("1x\t" + texts);
  cases.push_back("1\t" + texts.substr(0, texts.size() - 3) + "\r\n");  // a field less
  cases.push_back("1\textra\t" + texts);            // a field more
  cases.push_back("1\t" + texts.substr(0, texts.size() - 2) + "tail\r\n");  // no last tab
  cases.push_back(saved + "second line\t\r\n");
  cases.push_back(FormatArchivedRunRequest("Base données runs/1.bdr", kTitle));
  for (const std::string& bytes : cases) {
    EXPECT_EQ(ParseSetupAnswer(bytes, sheet), kNotASetupAnswer) << bytes.substr(0, 40);
    EXPECT_EQ(std::memcmp(&sheet, &before, sizeof sheet), 0) << bytes.substr(0, 40);
  }
  // The answer with LF alone or without its line end, and followed by blank lines, is one.
  EXPECT_EQ(ParseSetupAnswer(saved.substr(0, saved.size() - 2) + "\n", sheet), 1);
  EXPECT_STREQ(sheet.trackConditions, "Humide");
  EXPECT_EQ(ParseSetupAnswer(saved.substr(0, saved.size() - 2), sheet), 1);
  EXPECT_EQ(ParseSetupAnswer(saved + "\r\n", sheet), 1);
}

TEST(ArchivedRunRequest, EndsWithTabBeforeTheLineEnd) {
  EXPECT_EQ(FormatArchivedRunRequest("Base données runs/Ann.bdr", kTitle),
            std::string("Base données runs/Ann.bdr\t") + kTitle + "\t\r\n");
  ArchivedRunRequest request;
  ParseArchivedRunRequest(FormatArchivedRunRequest("Base données runs/Ann.bdr", kTitle), request);
  EXPECT_STREQ(request.runsFilePath, "Base données runs/Ann.bdr");
  EXPECT_STREQ(request.runTitle, kTitle);

  const std::string longPath(200, 'p');
  ParseArchivedRunRequest(longPath + "\t" + std::string(300, 't'), request);
  EXPECT_EQ(std::strlen(request.runsFilePath), size_t(kHandOffRunsPathCapacity - 1));
  EXPECT_EQ(std::strlen(request.runTitle), size_t(kHandOffTitleCapacity - 1));
  ParseArchivedRunRequest("only a path", request);
  EXPECT_STREQ(request.runsFilePath, "only a path");
  EXPECT_STREQ(request.runTitle, "");
}

TEST(DetailResultsFile, EachWriterReplacesTheFileAndItsReaderReadsIt) {
  TempFolder folder;
  auto p = RecordOfLaps({20400, 20400, 21000});
  SetText(p->setup.carName, "Buggy");
  ASSERT_TRUE(WriteRunHandOff(*p, kCaption, kCircuit, kTitle));
  auto run = std::make_unique<RunHandOff>();
  ASSERT_TRUE(ReadRunHandOff(*run));
  EXPECT_EQ(run->participant.lapCount, 3);
  EXPECT_EQ(run->participant.passageTimes[3], 61800);
  EXPECT_STREQ(run->participant.setup.carName, "Buggy");
  EXPECT_STREQ(run->runTitle, kTitle);

  ASSERT_TRUE(WriteSetupAnswer(p->setup, true));
  EXPECT_EQ(ReadBytes(kDetailResultsFile), "1\t\tBuggy\t" + Tabs(47) + "\r\n");
  SetupSheet sheet = {};
  int flag = -1;
  ASSERT_TRUE(ReadSetupAnswer(sheet, flag));
  EXPECT_EQ(flag, 1);
  EXPECT_STREQ(sheet.carName, "Buggy");

  ASSERT_TRUE(WriteArchivedRunRequest("Base données runs/Ann.bdr", kTitle));
  ArchivedRunRequest request;
  ASSERT_TRUE(ReadArchivedRunRequest(request));
  EXPECT_STREQ(request.runTitle, kTitle);
}

TEST(DetailResultsFile, MissingFileIsReportedAndLeavesOutputsEmpty) {
  TempFolder folder;
  auto run = std::make_unique<RunHandOff>();
  std::memset(run.get(), 'x', sizeof *run);
  EXPECT_FALSE(ReadRunHandOff(*run));
  EXPECT_STREQ(run->participant.driverName, "");
  EXPECT_EQ(run->participant.lapCount, 0);

  SetupSheet sheet = {};
  SetText(sheet.carName, "Buggy");
  int flag = 7;
  EXPECT_FALSE(ReadSetupAnswer(sheet, flag));
  EXPECT_EQ(flag, kNotASetupAnswer);
  EXPECT_STREQ(sheet.carName, "Buggy");

  ArchivedRunRequest request;
  std::memset(&request, 'x', sizeof request);
  EXPECT_FALSE(ReadArchivedRunRequest(request));
  EXPECT_STREQ(request.runsFilePath, "");

  WriteBytes(kDetailResultsFile, "\x01\xff\t\t\t\n\n");
  EXPECT_TRUE(ReadRunHandOff(*run));
  EXPECT_EQ(run->participant.lapCount, 0);
}

}  // namespace
}  // namespace zarvo
