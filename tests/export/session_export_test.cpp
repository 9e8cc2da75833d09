// A session file's export: its timed runs as selecting them in the session tree shows them, one
// run alone, and files that are no session.
#include "export/session_export.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/files.h"
#include "tests/support/sample_session.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::RunOfDrivers;
using testing::SampleSession;
using testing::SessionFileOf;

struct ThreeRuns {
  std::unique_ptr<Race> first = RunOfDrivers({{"ANNA", {21000, 20500}}, {"BOB", {20000}}});
  std::unique_ptr<Race> untimed = RunOfDrivers({{"ANNA", {}}, {"BOB", {}}}, "");
  std::unique_ptr<Race> third =
      RunOfDrivers({{"ANNA", {20000, 20000, 20000}}, {"Zoé", {19000, 30000, 19500}}});
  std::string File(const char* key = kRankLapsAndTime) const {
    SampleSession s;
    s.classificationKey = key;
    // Run 2 has its section but no lap, run 4 was added and never written.
    s.runs = {first.get(), untimed.get(), third.get(), nullptr};
    return SessionFileOf(s);
  }
};

TEST(SessionExport, HoldsEveryTimedRunInRunOrderWithTheSessionTrack) {
  ThreeRuns runs;
  ExportSession session;
  ASSERT_EQ(BuildSessionExport(runs.File(), session), SessionExportRead::kRead);
  EXPECT_STREQ(session.title, "CLUB DAY");
  EXPECT_STREQ(session.label, "Spring practice");
  ASSERT_EQ(session.runs.size(), 2u);
  EXPECT_EQ(session.runs[0].runNumber, 1);
  EXPECT_EQ(session.runs[1].runNumber, 3);
  EXPECT_STREQ(session.runs[1].runCaption, " CLUB DAY - Run3 ");
  EXPECT_STREQ(session.runs[1].circuitName, "Les Ormes");
  EXPECT_STREQ(session.runs[1].runTitle, "Start 2026/05/01 14:03:10 - Duration 0:10:00");
}

TEST(SessionExport, RunsReadBackAsTheyWereTimedAndRankedByTheSessionRule) {
  ThreeRuns runs;
  for (const char* key : {kRankLapsAndTime, kRankBestLap}) {
    SCOPED_TRACE(key);
    ExportSession session;
    ASSERT_EQ(BuildSessionExport(runs.File(key), session), SessionExportRead::kRead);
    ASSERT_EQ(session.runs.size(), 2u);
    const ExportRun& run = session.runs[1];
    ASSERT_EQ(run.driverCount, 2);
    // Equal laps: ANNA's total 60.000 beats Zoé's 68.500; Zoé's 19.000 is the better lap.
    const bool best = std::strcmp(key, kRankBestLap) == 0;
    EXPECT_EQ(run.rankedByBestLap, best);
    EXPECT_STREQ(run.drivers[0].driverName, best ? "Zoé" : "ANNA");
    const ExportDriver& zoe = run.drivers[best ? 0 : 1];
    EXPECT_EQ(zoe.lapCount, 3);
    EXPECT_EQ(zoe.totalTime, 68500);
    EXPECT_EQ(zoe.bestLap, 19000);
    EXPECT_EQ(zoe.worstLap, 30000);
    EXPECT_EQ(zoe.averageLap, 22833);
    EXPECT_EQ(zoe.lastLap, 19500);
    EXPECT_STREQ(zoe.totalText, "1:08.500");
    EXPECT_STREQ(zoe.averageText, "22.833");
    EXPECT_EQ(zoe.laps.lapTimes[2], 30000);
    EXPECT_EQ(zoe.laps.passageTimes[3], 68500);
  }
}

TEST(SessionExport, OneRunAloneEvenUntimedOrNeverWritten) {
  ThreeRuns runs;
  const std::string file = runs.File();
  ExportSession session;
  ASSERT_EQ(BuildSessionRunExport(file, 3, session), SessionExportRead::kRead);
  ASSERT_EQ(session.runs.size(), 1u);
  EXPECT_EQ(session.runs[0].runNumber, 3);
  EXPECT_STREQ(session.title, "CLUB DAY - Run3");

  ASSERT_EQ(BuildSessionRunExport(file, 2, session), SessionExportRead::kRead);
  ASSERT_EQ(session.runs.size(), 1u);
  ASSERT_EQ(session.runs[0].driverCount, 2);
  EXPECT_EQ(session.runs[0].drivers[0].lapCount, 0);

  // Never written: the participants list's drivers, no laps, in the order the results table
  // gives a complete tie (the later slot first).
  ASSERT_EQ(BuildSessionRunExport(file, 4, session), SessionExportRead::kRead);
  ASSERT_EQ(session.runs[0].driverCount, 2);
  EXPECT_STREQ(session.runs[0].drivers[0].driverName, "BOB");
  EXPECT_STREQ(session.runs[0].drivers[1].driverName, "ANNA");
  EXPECT_EQ(session.runs[0].drivers[1].lapCount, 0);

  ASSERT_EQ(BuildSessionRunExport(file, 21, session), SessionExportRead::kRead);
  EXPECT_TRUE(session.runs.empty());
}

TEST(SessionExport, ASessionWithoutRunsHasNoRun) {
  SampleSession s;
  ExportSession session;
  ASSERT_EQ(BuildSessionExport(SessionFileOf(s), session), SessionExportRead::kRead);
  EXPECT_TRUE(session.runs.empty());
  EXPECT_STREQ(session.title, "CLUB DAY");
}

TEST(SessionExport, AFileThatIsNoSessionIsRefused) {
  ExportSession session;
  for (const char* bytes : {"", "\t", "SEANCE\t0\t", "12345", "PK\x03\x04", "-1\tX\t"}) {
    EXPECT_EQ(BuildSessionExport(bytes, session), SessionExportRead::kNotASession) << bytes;
    EXPECT_EQ(BuildSessionRunExport(bytes, 1, session), SessionExportRead::kNotASession);
  }
  EXPECT_TRUE(LooksLikeSessionFile("10000\tSEANCE TRAINING\t0\t0\t0\t"));
}

TEST(SessionExport, ReadsASessionFileFromTheDiskAndSaysWhenItCannot) {
  testing::TempFolder folder;
  ThreeRuns runs;
  const std::string path = folder.File("club.trng");
  ASSERT_TRUE(WriteFileReplacing(path.c_str(), runs.File()));
  ExportSession session;
  EXPECT_EQ(ReadSessionExport(path.c_str(), session), SessionExportRead::kRead);
  EXPECT_EQ(session.runs.size(), 2u);
  EXPECT_EQ(ReadSessionExport(folder.File("missing.trng").c_str(), session),
            SessionExportRead::kNotOpened);
  const std::string other = folder.File("notes.txt");
  ASSERT_TRUE(WriteFileReplacing(other.c_str(), "Lap times\r\n"));
  EXPECT_EQ(ReadSessionExport(other.c_str(), session), SessionExportRead::kNotASession);
}

}  // namespace
}  // namespace zarvo
