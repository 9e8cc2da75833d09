// The export from the windows: the report's name asked once, the CSV files beside it, one
// question listing the files that are there, the writing or its error box; and what each command
// exports under which name.
#include "app/results_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "export/csv_writer.h"
#include "export/html_report.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/sample_session.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::string Formatted(const char* format, const std::string& value) {
  char text[1024];
  std::snprintf(text, sizeof text, format, value.c_str());
  return text;
}

TEST(ExportPathsBeside, TheCsvFilesAreNamedAfterTheReport) {
  ExportPaths p = ExportPathsBeside("out/Club Day.HTML");
  EXPECT_EQ(p.report, "out/Club Day.HTML");
  EXPECT_EQ(p.classification, MakeExportPaths("out", "Club Day").classification);
  EXPECT_EQ(p.laps, MakeExportPaths("out", "Club Day").laps);
  p = ExportPathsBeside("C:\\site\\r.htm");
  EXPECT_EQ(p.report, "C:\\site\\r.htm");
  EXPECT_EQ(p.laps, MakeExportPaths("C:\\site\\", "r").laps);
  // A name without the page's extension keeps it whole.
  p = ExportPathsBeside("results.v2");
  EXPECT_EQ(p.report, "results.v2");
  EXPECT_EQ(p.classification, MakeExportPaths("", "results.v2").classification);
}

struct Fixture {
  TempFolder temp;
  testing::ScriptedFileDialogs files;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<Race> race = testing::RunOfDrivers({{"ANNA", {21000, 20500}}, {"BOB", {20000}}});
  ExportSession session;
  Fixture() {
    std::snprintf(session.title, sizeof session.title, "%s", "CLUB DAY");
    session.label[0] = '\0';
    session.runs.resize(1);
    BuildRunFromRace(*race, ExportRunInfo{1, " CLUB DAY - Run1 ", "", "Les Ormes"},
                     session.runs[0]);
  }
  ExportOutcome Run(const char* suggested = "CLUB DAY") {
    return ExportWithSaveDialog(session, suggested, "programs", files, boxes, nullptr);
  }
};

TEST(ExportWithSaveDialog, AsksForTheReportsNameWithItsExtensionAndNoOverwritePromptOfItsOwn) {
  Fixture f;
  f.files.saveAnswers = {std::nullopt};
  EXPECT_EQ(f.Run("Run 4: L\xE9"
                  "a"),
            ExportOutcome::kCancelled);
  ASSERT_EQ(f.files.asked.size(), 1u);
  const auto& asked = f.files.asked[0];
  EXPECT_TRUE(asked.save);
  EXPECT_EQ(asked.filterName, TXT_EXPORT_FILTER);
  EXPECT_EQ(asked.pattern, "*.html");
  EXPECT_EQ(asked.defaultExtension, "html");
  EXPECT_FALSE(asked.confirmOverwrite);
  EXPECT_EQ(asked.initialName, Formatted(TXT_EXPORT_REPORT_FILE,
                                         "Run 4_ L\xE9"
                                         "a"));
  EXPECT_EQ(asked.initialFolder, "programs");
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_TRUE(std::filesystem::is_empty(".")) << "nothing written after Cancel";
}

TEST(ExportWithSaveDialog, WritesTheThreeFilesWithoutAQuestionWhenNoneIsThere) {
  Fixture f;
  f.files.saveAnswers = {std::string("day.html")};
  EXPECT_EQ(f.Run(), ExportOutcome::kWritten);
  EXPECT_TRUE(f.boxes.shown.empty());
  const ExportPaths p = ExportPathsBeside("day.html");
  EXPECT_EQ(ReadBytes(p.classification.c_str()), ClassificationCsv(f.session));
  EXPECT_EQ(ReadBytes(p.laps.c_str()), LapsCsv(f.session));
  EXPECT_EQ(ReadBytes("day.html"), HtmlReport(f.session, nullptr));
}

TEST(ExportWithSaveDialog, OneQuestionListsTheFilesThereAndNoKeepsThem) {
  Fixture f;
  const ExportPaths p = ExportPathsBeside("day.html");
  WriteBytes(p.laps.c_str(), "old laps");
  WriteBytes("day.html", "old page");
  f.files.saveAnswers = {std::string("day.html"), std::string("day.html")};
  f.boxes.answers = {Answer::kNo, Answer::kYes};
  EXPECT_EQ(f.Run(), ExportOutcome::kDeclined);
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_TRUE(f.boxes.shown[0].question);
  EXPECT_EQ(f.boxes.shown[0].caption, TXT_CAPTION_QUESTION);
  EXPECT_EQ(f.boxes.shown[0].text,
            Formatted(TXT_EXPORT_OVERWRITE_QUESTION, p.laps + "\r\n" + "day.html"));
  EXPECT_EQ(ReadBytes(p.laps.c_str()), "old laps");
  EXPECT_EQ(ReadBytes("day.html"), "old page");
  EXPECT_FALSE(FileExists(p.classification.c_str())) << "no file written after No";

  EXPECT_EQ(f.Run(), ExportOutcome::kWritten);
  EXPECT_EQ(f.boxes.shown.size(), 2u);
  EXPECT_EQ(ReadBytes(p.laps.c_str()), LapsCsv(f.session));
  EXPECT_EQ(ReadBytes("day.html"), HtmlReport(f.session, nullptr));
}

TEST(ExportWithSaveDialog, AFailedWriteSaysWhichFileAndLeavesNoHalfFile) {
  Fixture f;
  // The chosen folder vanished after the dialog: nothing can be written there.
  f.files.saveAnswers = {std::string("gone/day.html")};
  EXPECT_EQ(f.Run(), ExportOutcome::kFailed);
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  EXPECT_EQ(f.boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_EQ(f.boxes.shown[0].icon, MessageIcon::kError);
  EXPECT_EQ(f.boxes.shown[0].text,
            ExportFailureText({false, ExportPathsBeside("gone/day.html").classification}));
  EXPECT_TRUE(std::filesystem::is_empty("."));
}

TEST(ExportWithSaveDialog, AFolderWithLettersOutsideWindows1252) {
  Fixture f;
  const std::string omega = u8"Ωμέγα";
  const std::string lodz = u8"Łódź.html";
  ASSERT_TRUE(MakeDirectory(Utf8ToPath(omega).c_str()));
  const std::string chosen = Utf8ToPath(omega + "/" + lodz);
  f.files.saveAnswers = {chosen, chosen};
  f.boxes.answers = {Answer::kYes};
  EXPECT_EQ(f.Run(), ExportOutcome::kWritten);
  const auto onDisk = std::filesystem::u8path(omega) / std::filesystem::u8path(lodz);
  EXPECT_TRUE(std::filesystem::is_regular_file(onDisk));
  EXPECT_EQ(ReadBytes(ExportPathsBeside(chosen).laps.c_str()), LapsCsv(f.session));
  // The question names the files with their letters (a window shows the escaped ones whole).
  EXPECT_EQ(f.Run(), ExportOutcome::kWritten);
  ASSERT_EQ(f.boxes.shown.size(), 1u);
  const std::string question = Cp1252ToUtf8(f.boxes.shown[0].text);
  EXPECT_NE(question.find(lodz), std::string::npos);
}

struct SessionFixture {
  TempFolder temp;
  testing::ScriptedFileDialogs files;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<Race> first = testing::RunOfDrivers({{"ANNA", {21000, 20500}}, {"BOB", {20000}}});
  std::unique_ptr<Race> second = testing::RunOfDrivers({{"ANNA", {19000}}, {"BOB", {}}});
  ResultsExport exporter{files, boxes, ""};
  std::string file;
  SessionFixture() {
    testing::SampleSession s;
    s.runs = {first.get(), second.get()};
    file = testing::SessionFileOf(s);
    MakeDirectory("Private");
    WriteBytes(kWorkingCopyPath, file);
    MakeDirectory("images");
    WriteBytes("images/logo.bmp", "BM logo");
  }
};

TEST(ResultsExport, TheSessionIsEveryTimedRunUnderTheSessionsNameWithTheLogo) {
  SessionFixture f;
  f.files.saveAnswers = {std::string("s.html")};
  f.exporter.ExportSessionFile(kWorkingCopyPath);
  EXPECT_EQ(f.exporter.lastOutcome(), ExportOutcome::kWritten);
  ASSERT_EQ(f.files.asked.size(), 1u);
  EXPECT_EQ(f.files.asked[0].initialName, Formatted(TXT_EXPORT_REPORT_FILE, "CLUB DAY"));
  ExportSession expected;
  ASSERT_EQ(BuildSessionExport(f.file, expected), SessionExportRead::kRead);
  EXPECT_EQ(expected.runs.size(), 2u);
  EXPECT_EQ(ReadBytes(ExportPathsBeside("s.html").classification.c_str()),
            ClassificationCsv(expected));
  const ExportPicture logo{"image/bmp", "BM logo", 200, 50};
  EXPECT_EQ(ReadBytes("s.html"), HtmlReport(expected, &logo));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), f.file);
}

TEST(ResultsExport, ARunOfTheSessionIsOfferedUnderItsCaption) {
  SessionFixture f;
  f.files.saveAnswers = {std::string("r.html")};
  f.exporter.ExportSessionRun(kWorkingCopyPath, 2);
  EXPECT_EQ(f.exporter.lastOutcome(), ExportOutcome::kWritten);
  ASSERT_EQ(f.files.asked.size(), 1u);
  EXPECT_EQ(f.files.asked[0].initialName, Formatted(TXT_EXPORT_REPORT_FILE, "CLUB DAY - Run2"));
  ExportSession expected;
  ASSERT_EQ(BuildSessionRunExport(f.file, 2, expected), SessionExportRead::kRead);
  EXPECT_EQ(ReadBytes(ExportPathsBeside("r.html").laps.c_str()), LapsCsv(expected));
}

TEST(ResultsExport, ADriversRunIsOfferedUnderItsCaptionAndName) {
  SessionFixture f;
  f.files.saveAnswers = {std::string("d.html")};
  f.exporter.ExportDriverRun(f.first->slots[0], " CLUB DAY - Run1 ", "Les Ormes", "Start ...");
  EXPECT_EQ(f.exporter.lastOutcome(), ExportOutcome::kWritten);
  ExportSession expected;
  BuildDriverRunExport(f.first->slots[0], " CLUB DAY - Run1 ", "Start ...", "Les Ormes", expected);
  ASSERT_EQ(f.files.asked.size(), 1u);
  EXPECT_EQ(f.files.asked[0].initialName,
            Formatted(TXT_EXPORT_REPORT_FILE, "CLUB DAY - Run1 - ANNA"));
  EXPECT_EQ(ReadBytes(ExportPathsBeside("d.html").laps.c_str()), LapsCsv(expected));
}

TEST(ResultsExport, ASessionFileThatCannotBeReadIsSaidWithoutADialog) {
  SessionFixture f;
  f.exporter.ExportSessionFile("Private/none.trng");
  EXPECT_EQ(f.exporter.lastOutcome(), ExportOutcome::kFailed);
  WriteBytes("Private/bad.trng", "not a session");
  f.exporter.ExportSessionRun("Private/bad.trng", 1);
  EXPECT_TRUE(f.files.asked.empty());
  ASSERT_EQ(f.boxes.shown.size(), 2u);
  EXPECT_EQ(f.boxes.shown[0].text, Formatted(TXT_EXPORT_SESSION_NOT_OPENED, "Private/none.trng"));
  EXPECT_EQ(f.boxes.shown[1].text, Formatted(TXT_EXPORT_NOT_A_SESSION, "Private/bad.trng"));
}

}  // namespace
}  // namespace zarvo
