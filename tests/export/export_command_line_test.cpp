// The export's command line: its words split as Windows programs split them, what the arguments
// ask for, and the export it runs: the three files of the session's timed runs in the folder,
// or a message and a non-zero exit code, the session file left as it was.
#include "export/export_command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export/csv_writer.h"
#include "export/export_files.h"
#include "export/html_report.h"
#include "export/session_export.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "tests/support/sample_session.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;
using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotesGroupBlanksAndTheProgramNameKeepsItsBackslashes) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\Zarvo\\zarvo-training-en.exe\" /export "
                             "\"D:\\club day\\practice.trng\"   out\\site"),
            (Words{"C:\\Program Files\\Zarvo\\zarvo-training-en.exe", "/export",
                   "D:\\club day\\practice.trng", "out\\site"}));
  EXPECT_EQ(SplitCommandLine("C:\\a\\b.exe\t/export\tx\t "),
            (Words{"C:\\a\\b.exe", "/export", "x"}));
  EXPECT_EQ(SplitCommandLine("p.exe"), (Words{"p.exe"}));
  EXPECT_EQ(SplitCommandLine(""), Words{});
  // Quotes may open and close in the middle of a word.
  EXPECT_EQ(SplitCommandLine("p.exe D:\"club day\"\\a.trng"),
            (Words{"p.exe", "D:club day\\a.trng"}));
}

TEST(SplitCommandLine, BackslashesCountOnlyBeforeAQuote) {
  // A folder quoted with its closing backslash: "out\\" is out\ and the quote closes.
  EXPECT_EQ(SplitCommandLine("p \"C:\\out\\\\\" next"), (Words{"p", "C:\\out\\", "next"}));
  // An odd number before a quote: the quote is a letter.
  EXPECT_EQ(SplitCommandLine("p a\\\"b c\\\\\\\"d"), (Words{"p", "a\"b", "c\\\"d"}));
  EXPECT_EQ(SplitCommandLine("p C:\\a\\\\b"), (Words{"p", "C:\\a\\\\b"}));
  // An empty quoted word is a word; "" inside quotes is one quote.
  EXPECT_EQ(SplitCommandLine("p \"\" x"), (Words{"p", "", "x"}));
  EXPECT_EQ(SplitCommandLine("p \"say \"\"hi\"\"\""), (Words{"p", "say \"hi\""}));
  // A quote left open runs to the end.
  EXPECT_EQ(SplitCommandLine("p \"open end  "), (Words{"p", "open end  "}));
}

TEST(SplitCommandLine, EscapedLettersOfAPathPassThrough) {
  const std::string utf8 = u8"D:\\Zawody Łódź";
  const std::string folder = Utf8ToPath(utf8);
  ASSERT_NE(folder, utf8);
  EXPECT_EQ(SplitCommandLine("p /export a.trng \"" + folder + "\""),
            (Words{"p", "/export", "a.trng", folder}));
}

TEST(ReadCommandLine, OnlyASwitchChangesHowTheProgramStarts) {
  for (const Words& words :
       {Words{}, Words{"session.trng"}, Words{"export", "a", "b"}, Words{""}}) {
    EXPECT_EQ(ReadCommandLine(words).action, CommandLineAction::kStartProgram) << words.size();
  }
  for (const char* sw : {"/export", "-export", "/EXPORT", "/Export"}) {
    const CommandLineRequest r = ReadCommandLine({sw, "club day.trng", "out folder"});
    ASSERT_EQ(r.action, CommandLineAction::kExport) << sw;
    EXPECT_EQ(r.sessionPath, "club day.trng");
    EXPECT_EQ(r.folder, "out folder");
  }
  const Words usage[] = {{"/export"},
                         {"/export", "a.trng"},
                         {"/export", "a.trng", "out", "more"},
                         {"/export", "", "out"},
                         {"/export", "a.trng", ""},
                         {"/exports", "a", "b"},
                         {"/help"},
                         {"-?"},
                         {"/"}};
  for (const Words& words : usage) {
    EXPECT_EQ(ReadCommandLine(words).action, CommandLineAction::kUsage) << words[0] << words.size();
  }
}

TEST(RunCommandLine, UsageIsExitCodeTwoWithTheUsageText) {
  const CommandLineOutcome outcome = RunCommandLine(ReadCommandLine({"/x"}), "");
  EXPECT_EQ(outcome.exitCode, kExportExitUsage);
  EXPECT_EQ(outcome.message, TXT_EXPORT_USAGE);
}

struct TwoRuns {
  std::unique_ptr<Race> first = testing::RunOfDrivers({{"ANNA", {21000, 20500}},
                                                       {"L\xE9"
                                                        "a",
                                                        {20000}}});
  std::unique_ptr<Race> untimed = testing::RunOfDrivers({{"ANNA", {}},
                                                         {"L\xE9"
                                                          "a",
                                                          {}}},
                                                        "");
  std::string File() const {
    testing::SampleSession s;
    s.runs = {first.get(), untimed.get()};
    return testing::SessionFileOf(s);
  }
};

CommandLineRequest Export(const std::string& session, const std::string& folder) {
  return ReadCommandLine({"/export", session, folder});
}

TEST(RunCommandLine, WritesTheThreeFilesOfTheTimedRunsNamedAfterTheSessionFile) {
  TempFolder temp;
  TwoRuns runs;
  const std::string file = runs.File();
  WriteBytes("club day.trng", file);
  WriteBytes("logo.bmp", "BM-not-really-a-picture");
  const CommandLineOutcome outcome = RunCommandLine(Export("club day.trng", "site"), "logo.bmp");
  EXPECT_EQ(outcome.exitCode, kExportExitWritten);
  EXPECT_EQ(outcome.message, "");

  ExportSession expected;
  ASSERT_EQ(BuildSessionExport(file, expected), SessionExportRead::kRead);
  ASSERT_EQ(expected.runs.size(), 1u) << "the untimed run is left out";
  const ExportPaths paths = MakeExportPaths("site", "club day");
  EXPECT_EQ(ReadBytes(paths.classification.c_str()), ClassificationCsv(expected));
  EXPECT_EQ(ReadBytes(paths.laps.c_str()), LapsCsv(expected));
  const ExportPicture logo{"image/bmp", "BM-not-really-a-picture", 200, 50};
  const std::string report = ReadBytes(paths.report.c_str());
  EXPECT_EQ(report, HtmlReport(expected, &logo));
  EXPECT_NE(report.find("data:image/bmp;base64,"), std::string::npos) << "the logo is in the page";
  EXPECT_NE(report.find("L\xC3\xA9"
                        "a"),
            std::string::npos);
  EXPECT_EQ(ReadBytes("club day.trng"), file) << "the session file is only read";

  // Without the picture the page has none, and the files are replaced.
  ASSERT_EQ(RunCommandLine(Export("club day.trng", "site"), "missing.bmp").exitCode, 0);
  EXPECT_EQ(ReadBytes(paths.report.c_str()).find("data:image/bmp"), std::string::npos);
  EXPECT_EQ(ReadBytes(paths.report.c_str()), HtmlReport(expected, nullptr));
}

TEST(RunCommandLine, AFolderWithLettersOutsideWindows1252IsMadeAndWritten) {
  TempFolder temp;
  TwoRuns runs;
  WriteBytes("s.trng", runs.File());
  const std::string utf8 = u8"Zawody Łódź";
  const std::string folder = Utf8ToPath(utf8);
  ASSERT_EQ(RunCommandLine(Export("s.trng", folder), "").exitCode, kExportExitWritten);
  const std::filesystem::path onDisk = std::filesystem::u8path(utf8);
  EXPECT_TRUE(std::filesystem::is_regular_file(onDisk / "s.html"));
  const ExportPaths paths = MakeExportPaths(folder, "s");
  EXPECT_TRUE(FileExists(paths.classification.c_str()));
  EXPECT_TRUE(FileExists(paths.laps.c_str()));
}

TEST(RunCommandLine, ASessionThatCannotBeReadIsSaidAndNothingIsWritten) {
  TempFolder temp;
  CommandLineOutcome outcome = RunCommandLine(Export("absent.trng", "site"), "");
  EXPECT_EQ(outcome.exitCode, kExportExitFailed);
  char text[256];
  std::snprintf(text, sizeof text, TXT_EXPORT_SESSION_NOT_OPENED, "absent.trng");
  EXPECT_EQ(outcome.message, text);
  EXPECT_FALSE(PathExists("site"));

  WriteBytes("notes.trng", "shopping list\r\n");
  outcome = RunCommandLine(Export("notes.trng", "site"), "");
  EXPECT_EQ(outcome.exitCode, kExportExitFailed);
  std::snprintf(text, sizeof text, TXT_EXPORT_NOT_A_SESSION, "notes.trng");
  EXPECT_EQ(outcome.message, text);
  EXPECT_FALSE(PathExists("site"));
}

TEST(RunCommandLine, AFolderThatCannotBeWrittenIsSaidWithTheFirstFile) {
  TempFolder temp;
  TwoRuns runs;
  WriteBytes("s.trng", runs.File());
  WriteBytes("site", "a file where the folder should be");
  const CommandLineOutcome outcome = RunCommandLine(Export("s.trng", "site"), "");
  EXPECT_EQ(outcome.exitCode, kExportExitFailed);
  const ExportPaths paths = MakeExportPaths("site", "s");
  EXPECT_EQ(outcome.message, ExportFailureText({false, paths.classification}));
  EXPECT_EQ(ReadBytes("site"), "a file where the folder should be");
}

}  // namespace
}  // namespace zarvo
