// The exported files on disk: their names, whole-file replacement, and failures that leave the
// old file intact and no temporary file behind.
#include "export/export_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "export/csv_writer.h"
#include "platform/files.h"
#include "tests/support/sample_session.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

std::unique_ptr<ExportSession> SmallSession() {
  auto race = testing::RunOfDrivers({{"ANNA", {20000, 21000}},
                                     {"L\xE9"
                                      "a",
                                      {20500}}});
  auto session = std::make_unique<ExportSession>();
  std::snprintf(session->title, sizeof session->title, "%s", "CLUB DAY");
  session->label[0] = '\0';
  session->runs.resize(1);
  BuildRunFromRace(*race, ExportRunInfo{1, " CLUB DAY - Run1 ", "", "Les Ormes"}, session->runs[0]);
  return session;
}

// Every file of the current folder, temporary ones included.
std::vector<std::string> FilesHere() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator("."))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ExportBaseName, KeepsWhatAFileNameMayHold) {
  EXPECT_EQ(ExportBaseName("club"), "club");
  EXPECT_EQ(ExportBaseName("S\xE9"
                           "ance du 1/5: \"A\" <B> | C? *"),
            "S\xE9"
            "ance du 1_5_ _A_ _B_ _ C_ _");
  EXPECT_EQ(ExportBaseName("a\\b\tc\x7F"), "a_b_c_");
  EXPECT_EQ(ExportBaseName("  spaced out.. "), "spaced out");
  EXPECT_EQ(ExportBaseName(""), "export");
  EXPECT_EQ(ExportBaseName(" ... "), "export");
  EXPECT_EQ(ExportBaseName("CON"), "_CON");
  EXPECT_EQ(ExportBaseName("nul"), "_nul");
  EXPECT_EQ(ExportBaseName("COM1"), "_COM1");
  EXPECT_EQ(ExportBaseName("CONTROL"), "CONTROL");
  EXPECT_EQ(ExportBaseName("con.Session"), "_con.Session");
  EXPECT_EQ(ExportBaseName("LPT9 .x"), "_LPT9 .x");
}

TEST(ExportPaths, NameTheThreeFilesInTheFolderInTheEditionsLanguage) {
  const ExportPaths a = MakeExportPaths("C:\\Club\\", "club day");
  const ExportPaths b = MakeExportPaths("out", "club day");
  const ExportPaths c = MakeExportPaths("", "a/b");
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(a.classification, "C:\\Club\\club day - classement.csv");
  EXPECT_EQ(b.laps, "out/club day - tours.csv");
  EXPECT_EQ(c.classification, "a_b - classement.csv");
#else
  EXPECT_EQ(a.classification, "C:\\Club\\club day - classification.csv");
  EXPECT_EQ(b.laps, "out/club day - laps.csv");
  EXPECT_EQ(c.classification, "a_b - classification.csv");
#endif
  EXPECT_EQ(a.report, "C:\\Club\\club day.html");
  EXPECT_EQ(b.report, "out/club day.html");
  EXPECT_EQ(MakeExportPaths("C:\\Site", "x").report, "C:\\Site\\x.html");
  EXPECT_EQ(MakeExportPaths("D:\\a/b", "x").report, "D:\\a/b\\x.html");
}

TEST(WriteExport, WritesTheThreeFilesWholeIntoAnAccentedFolder) {
  TempFolder folder;
  ASSERT_TRUE(MakeDirectory("R\xE9sultats"));
  auto session = SmallSession();
  const ExportPaths paths = MakeExportPaths("R\xE9sultats", "club");
  // An older, longer file is replaced whole.
  WriteBytes(paths.laps.c_str(), std::string(100000, 'x'));
  const ExportWriteResult result = WriteExport(*session, paths);
  ASSERT_TRUE(result.written);
  EXPECT_TRUE(result.failedPath.empty());
  EXPECT_EQ(ReadBytes(paths.classification.c_str()), ClassificationCsv(*session));
  EXPECT_EQ(ReadBytes(paths.laps.c_str()), LapsCsv(*session));
  EXPECT_EQ(ReadBytes(paths.report.c_str()), HtmlReport(*session));
  ASSERT_TRUE(SetCurrentFolder("R\xE9sultats"));
  EXPECT_EQ(FilesHere().size(), 3u);  // no temporary file left
}

TEST(WriteExport, WritesOnlyThePartsAskedFor) {
  TempFolder folder;
  auto session = SmallSession();
  const ExportPaths paths = MakeExportPaths("", "club");
  const std::string logoBytes = "BM\x01\x02";
  const ExportPicture logo{"image/bmp", logoBytes, 20, 5};
  ASSERT_TRUE(WriteExport(*session, paths, kExportReport, &logo).written);
  EXPECT_EQ(FilesHere(), std::vector<std::string>{paths.report});
  EXPECT_EQ(ReadBytes(paths.report.c_str()), HtmlReport(*session, &logo));
  ASSERT_TRUE(WriteExport(*session, paths, kExportClassification | kExportLaps).written);
  EXPECT_EQ(FilesHere().size(), 3u);
}

TEST(WriteExport, AFolderThatIsNotThereFailsAtTheFirstFileAndCreatesNothing) {
  TempFolder folder;
  auto session = SmallSession();
  const ExportPaths paths = MakeExportPaths("missing", "club");
  const ExportWriteResult result = WriteExport(*session, paths);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.failedPath, paths.classification);
  EXPECT_TRUE(FilesHere().empty());
  EXPECT_NE(ExportFailureText(result).find(paths.classification), std::string::npos);
}

TEST(WriteExport, AFailedWriteKeepsTheOldFileWholeAndStops) {
  TempFolder folder;
  auto session = SmallSession();
  const ExportPaths paths = MakeExportPaths("", "club");
  WriteBytes(paths.laps.c_str(), "old laps\r\n");
  // The temporary file beside the laps file cannot be made: its name is taken by a folder.
  ASSERT_TRUE(MakeDirectory((paths.laps + ".tmp~").c_str()));
  const ExportWriteResult result = WriteExport(*session, paths);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.failedPath, paths.laps);
  EXPECT_EQ(ReadBytes(paths.laps.c_str()), "old laps\r\n");
  EXPECT_EQ(ReadBytes(paths.classification.c_str()), ClassificationCsv(*session));
  EXPECT_FALSE(FileExists(paths.report.c_str()));  // stopped at the failure
}

TEST(WriteExport, ATargetThatIsAFolderFailsWithoutATemporaryFileLeft) {
  TempFolder folder;
  auto session = SmallSession();
  const ExportPaths paths = MakeExportPaths("", "club");
  ASSERT_TRUE(MakeDirectory(paths.classification.c_str()));
  const ExportWriteResult result = WriteExport(*session, paths);
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.failedPath, paths.classification);
  EXPECT_EQ(FilesHere(), std::vector<std::string>{paths.classification});
  struct stat st;
  ASSERT_EQ(stat(paths.classification.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_FALSE(WriteExportFile("", "x"));
}

}  // namespace
}  // namespace zarvo
