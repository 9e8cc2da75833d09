// The live results snapshot: the rows of the results table in classification order with each
// driver's laps, the run's state, the other runs of the session read through the session file's
// own format, and the hand-over between the UI thread and the server's threads.
#include "web/live_snapshot.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "session/session_format.h"
#include "tests/support/live_samples.h"
#include "text/fixed_text.h"
#include "web/snapshot_publisher.h"

namespace zarvo {
namespace {

using testing::TimedRace;
using testing::TimingFixture;

TEST(LiveSnapshot, RowsFollowTheClassificationWithTheTableTextsAndEachDriversLaps) {
  TimingFixture f({{"ANNA", "004711"}, {"BEN", "004712"}, {"CHLOE", "004713"}});
  f.Pass("004711", 1000);
  f.Pass("004712", 1200);
  f.Pass("004713", 1400);
  f.Pass("004711", 31000);  // ANNA 30.000
  f.Pass("004713", 30400);  // CHLOE 29.000
  f.Pass("004711", 60500);  // ANNA 29.500: two laps
  const std::vector<LiveRow> rows = ClassificationRows(*f.race);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].driverName, "ANNA");
  EXPECT_EQ(rows[0].position, 1);
  EXPECT_EQ(rows[0].slotNumber, 1);
  EXPECT_EQ(rows[0].lapsText, "2");
  EXPECT_EQ(rows[0].lastLapText, "29.500");
  EXPECT_EQ(rows[0].bestLapText, "29.500");
  EXPECT_EQ(rows[0].totalText, "0:59.500");
  EXPECT_EQ(rows[0].lapTimes, (std::vector<int32_t>{30000, 29500}));
  EXPECT_EQ(rows[1].driverName, "CHLOE");
  EXPECT_EQ(rows[1].position, 2);
  EXPECT_EQ(rows[1].slotNumber, 3);
  EXPECT_EQ(rows[1].lapTimes, (std::vector<int32_t>{29000}));
  EXPECT_TRUE(rows[1].runBestHolder);
  EXPECT_FALSE(rows[0].runBestHolder);
  EXPECT_EQ(rows[2].driverName, "BEN");
  EXPECT_TRUE(rows[2].lapTimes.empty());
  // Exactly what the table paints.
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(rows[k].bestLapText, f.race->rows[k].bestLapText);
    EXPECT_EQ(rows[k].lapsText, f.race->rows[k].lapsText);
  }
}

TEST(LiveSnapshot, AnEmptyRunHasNoRowAndAFullOneTwentyWithEveryLap) {
  TimingFixture empty({});
  EXPECT_TRUE(ClassificationRows(*empty.race).empty());

  std::unique_ptr<TimingFixture> full = TimedRace(20, 999);
  const std::vector<LiveRow> rows = ClassificationRows(*full->race);
  ASSERT_EQ(rows.size(), 20u);
  for (const LiveRow& row : rows) {
    ASSERT_EQ(row.lapTimes.size(), 999u) << row.driverName;
    EXPECT_EQ(row.lapsText, "999");
    // Lap k of slot s lasted 30 s + s x 100 ms + k x 7 ms.
    EXPECT_EQ(row.lapTimes[0], 30000 + 100 * row.slotNumber + 7);
    EXPECT_EQ(row.lapTimes[998], 30000 + 100 * row.slotNumber + 7 * 999);
  }
  EXPECT_EQ(rows[0].driverName, "Driver 1") << "the fastest crossed most often first";
}

TEST(LiveSnapshot, ALongNameIsReadWithinItsFieldEvenWithoutTerminator) {
  TimingFixture f({{"ANNA", "004711"}});
  std::memset(f.race->rows[0].driverName, 'Z', kDriverNameCapacity);  // no terminator at all
  const std::vector<LiveRow> rows = ClassificationRows(*f.race);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].driverName, std::string(kDriverNameCapacity, 'Z'));
}

TEST(LiveSnapshot, TheStateFollowsTheRunState) {
  TimingFixture f({{"ANNA", "004711"}});
  Race& race = *f.race;
  race.run.raceRunning = false;
  ClearText(race.run.runTitle);
  EXPECT_EQ(RunStateOf(race), LiveRunState::kWaiting) << "never started";
  race.run.startArmed = true;
  EXPECT_EQ(RunStateOf(race), LiveRunState::kCountdown);
  race.run.startArmed = false;
  race.run.raceRunning = true;
  SetText(race.run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:05:00");
  EXPECT_EQ(RunStateOf(race), LiveRunState::kRunning);
  race.run.raceRunning = false;
  EXPECT_EQ(RunStateOf(race), LiveRunState::kFinished);
  SetText(race.run.runTitle, ".");
  EXPECT_EQ(RunStateOf(race), LiveRunState::kWaiting) << "cleared";
}

TEST(LiveSnapshot, TheSnapshotCarriesTheSessionTheClockAndTheOtherRuns) {
  std::unique_ptr<TimingFixture> f = TimedRace(2, 3);
  Race& race = *f->race;
  SetText(race.params.durationMode, kDurationLaps);
  SetText(race.run.durationText, "10 laps");
  SetText(race.run.elapsedText, "0:01:32");
  ClearText(race.run.remainingText);
  auto runs = std::make_shared<SessionRuns>();
  runs->id = 5;
  runs->runs.push_back(testing::TimedRunResults(1, 2, 2));
  const std::shared_ptr<Snapshot> s = BuildLiveSnapshot(race, "SAMEDI", 2, runs);
  EXPECT_EQ(s->sessionName, "SAMEDI");
  EXPECT_EQ(s->live.runNumber, 2);
  EXPECT_EQ(s->state, LiveRunState::kRunning);
  EXPECT_TRUE(s->clock.lapRun);
  EXPECT_EQ(s->clock.duration, "10 laps");
  EXPECT_EQ(s->clock.elapsed, "0:01:32");
  EXPECT_EQ(s->live.rows.size(), 2u);
  EXPECT_EQ(s->otherRuns, runs) << "shared, not copied";
  EXPECT_NE(BuildLiveSnapshot(race, nullptr, 2, nullptr)->otherRuns, nullptr);
}

// The runs of a session as the working copy holds them, read with the session file's reader.
class StoredRuns : public RunSectionSource {
 public:
  void Store(int runNumber, const Race& race) {
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(runNumber, title, sizeof title);
    file += "\r\n" + std::string(title) + "\t\r\n" + RunSectionContent(race);
    runCount = runNumber > runCount ? runNumber : runCount;
  }
  int RunCount() override { return runCount; }
  bool ReadRun(int runNumber, Race& race) override {
    ++reads;
    std::unique_ptr<Race> fresh = testing::MakeRace({});
    race = *fresh;
    return ParseRunSection(file, runNumber, race);
  }
  std::string file = "10000\tSEANCE TRAINING\t0\t0\t0\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t\r\n";
  int runCount = 0;
  int reads = 0;
};

TEST(LiveSnapshot, OtherRunsAreEveryStoredRunWithALapButTheLiveOneRankedByTheKey) {
  StoredRuns session;
  // Run 1: CHLOE has the best lap, ANNA the most laps.
  TimingFixture run1({{"ANNA", "004711"}, {"CHLOE", "004713"}});
  run1.Pass("004711", 1000);
  run1.Pass("004713", 1000);
  run1.Pass("004711", 32000);
  run1.Pass("004713", 29000);
  run1.Pass("004711", 63000);
  SetText(run1.race->run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:05:00");
  session.Store(1, *run1.race);
  // Run 2 never timed, run 3 the live one, run 4 timed.
  session.Store(2, *TimingFixture({{"ANNA", "004711"}}).race);
  session.Store(3, *TimedRace(3, 2)->race);
  session.Store(4, *TimedRace(2, 1)->race);
  session.runCount = 25;  // a damaged header: only 20 runs can exist

  const auto byLaps = CollectSessionRuns(session, 3, kRankLapsAndTime);
  EXPECT_LE(session.reads, 19) << "runs 1..20 but the live one, no more";
  ASSERT_EQ(byLaps->runs.size(), 2u);
  EXPECT_EQ(byLaps->runs[0].runNumber, 1);
  EXPECT_EQ(byLaps->runs[1].runNumber, 4);
  EXPECT_EQ(byLaps->runs[0].runTitle, "Start 2024/05/01 14:03:10 - Duration 0:05:00");
  ASSERT_EQ(byLaps->runs[0].rows.size(), 2u);
  EXPECT_EQ(byLaps->runs[0].rows[0].driverName, "ANNA");
  EXPECT_EQ(byLaps->runs[0].rows[0].lapTimes, (std::vector<int32_t>{31000, 31000}));
  EXPECT_EQ(byLaps->runs[0].rows[1].bestLapText, "28.000");
  EXPECT_TRUE(byLaps->runs[0].rows[0].finished);

  const auto byBest = CollectSessionRuns(session, 3, kRankBestLap);
  EXPECT_EQ(byBest->runs[0].rows[0].driverName, "CHLOE");
  EXPECT_NE(byBest->id, byLaps->id) << "each list has its own id";
}

TEST(SnapshotPublisher, VersionsIncreaseAndTheCurrentSnapshotIsTheLastPublished) {
  SnapshotPublisher publisher;
  EXPECT_EQ(publisher.Current(), nullptr);
  auto first = testing::SampleSnapshot(1, 1);
  publisher.Publish(first);
  auto second = testing::SampleSnapshot(2, 1);
  publisher.Publish(second);
  EXPECT_EQ(first->version, 1u);
  EXPECT_EQ(second->version, 2u);
  EXPECT_EQ(publisher.Current(), second);
  // Nothing newer: the wait ends by its timeout with the same snapshot.
  EXPECT_EQ(publisher.WaitForNewer(2, std::chrono::milliseconds(20)), second);
  EXPECT_EQ(publisher.WaitForNewer(1, std::chrono::milliseconds(0)), second);
}

TEST(SnapshotPublisher, AWaitingReaderIsWokenByAPublication) {
  SnapshotPublisher publisher;
  publisher.Publish(testing::SampleSnapshot(1, 1));
  std::atomic<uint64_t> seen{0};
  std::thread reader([&] {
    // Far longer than the test takes: only the publication can end it in time.
    seen = publisher.WaitForNewer(1, std::chrono::seconds(30))->version;
  });
  const auto start = std::chrono::steady_clock::now();
  publisher.Publish(testing::SampleSnapshot(2, 1));
  reader.join();
  EXPECT_EQ(seen.load(), 2u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(SnapshotPublisher, ReadersOnOtherThreadsOnlyEverSeeWholeSnapshots) {
  SnapshotPublisher publisher;
  publisher.Publish(testing::SampleSnapshot(3, 3));
  std::atomic<bool> done{false};
  std::atomic<int> torn{0};
  std::vector<std::thread> readers;
  for (int i = 0; i < 3; ++i) {
    readers.emplace_back([&] {
      while (!done) {
        std::shared_ptr<const Snapshot> s = publisher.WaitForNewer(0, std::chrono::milliseconds(1));
        // Each published snapshot has as many rows as its drivers and their laps.
        for (const LiveRow& row : s->live.rows) {
          if (row.lapTimes.size() != s->live.rows.size()) ++torn;
        }
      }
    });
  }
  for (int n = 1; n <= 40; ++n) {
    const int drivers = 1 + n % 5;
    publisher.Publish(testing::SampleSnapshot(drivers, drivers));
  }
  done = true;
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(publisher.Current()->version, 41u);
}

}  // namespace
}  // namespace zarvo
