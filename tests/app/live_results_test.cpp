// The program's live results: the runs of the working copy as the page lists them, a snapshot
// published only after the results changed, the other runs read again only when they can have
// changed, the repaints seen on their way to the window, and the server started, moved, refused
// and stopped as its settings say.
#include "app/live_results.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/files.h"
#include "race/classification.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/sample_session.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::RecordingMessageBoxes;
using testing::RecordingRaceUi;
using testing::RunOfDrivers;
using testing::TempFolder;
using testing::WriteBytes;

// A session of three runs in the working copy: run 1 and run 3 timed, run 2 added but never timed.
struct StoredSession {
  std::unique_ptr<Race> run1 = RunOfDrivers({{"ANNA", {21000, 20500, 20800}}, {"BRUNO", {22000}}});
  std::unique_ptr<Race> run3 = RunOfDrivers({{"ANNA", {20000}}, {"BRUNO", {19500, 19900}}});
  StoredSession() {
    testing::SampleSession s;
    s.runs = {run1.get(), nullptr, run3.get()};
    MakeDirectory(kWorkingCopyFolder);
    WriteBytes(kWorkingCopyPath, SessionFileOf(s));
  }
};

// Counts the reads of another source.
class CountingRuns : public RunSectionSource {
 public:
  int RunCount() override { return inner.RunCount(); }
  bool ReadRun(int runNumber, Race& race) override {
    ++reads;
    return inner.ReadRun(runNumber, race);
  }
  WorkingCopyRuns inner;
  int reads = 0;
};

std::unique_ptr<SessionState> SessionOf(const char* name, int loadedRun, int runCount) {
  auto s = std::make_unique<SessionState>();  // value-initialised: every field zero
  SetText(s->header.sessionName, name);
  s->header.runCount = runCount;
  s->loadedRun = loadedRun;
  ClearParticipantsList(s->participants);
  SetText(s->participants.entries[0].driverName, "ANNA");
  SetText(s->participants.entries[1].driverName, "BRUNO");
  return s;
}

TEST(LiveResultsRuns, TheWorkingCopysTimedRunsAreReadAsLoadingThemDoes) {
  TempFolder folder;
  StoredSession stored;
  WorkingCopyRuns runs;
  EXPECT_EQ(runs.RunCount(), 3);
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  ASSERT_TRUE(runs.ReadRun(1, *race));
  EXPECT_STREQ(race->slots[0].driverName, "ANNA");
  EXPECT_EQ(race->slots[0].lapCount, 3);
  EXPECT_STREQ(race->slots[2].driverName, kNoDriver) << "an empty slot of the list";
  EXPECT_FALSE(runs.ReadRun(2, *race)) << "a run without a section";
  EXPECT_FALSE(runs.ReadRun(7, *race)) << "a run the session does not have";

  const auto list = CollectSessionRuns(runs, 3, kRankLapsAndTime);
  ASSERT_EQ(list->runs.size(), 1u) << "run 1 only: run 2 has no lap, run 3 is the live one";
  EXPECT_EQ(list->runs[0].runNumber, 1);
  ASSERT_EQ(list->runs[0].rows.size(), 2u);
  EXPECT_EQ(list->runs[0].rows[0].driverName, "ANNA");
  EXPECT_EQ(list->runs[0].rows[0].lapTimes, (std::vector<int32_t>{21000, 20500, 20800}));
}

TEST(LiveResultsRuns, WithoutAWorkingCopyThereIsNoRunAndNothingIsShown) {
  TempFolder folder;
  WorkingCopyRuns runs;
  EXPECT_EQ(runs.RunCount(), 0);
  auto race = std::make_unique<Race>();
  EXPECT_FALSE(runs.ReadRun(1, *race));
}

TEST(LiveFeed, ASnapshotIsPublishedOnlyAfterTheResultsChanged) {
  TempFolder folder;
  StoredSession stored;
  CountingRuns runs;
  LiveFeed feed(runs);
  RecordingRaceUi window;
  LiveResultsUi ui(window, feed);
  auto session = SessionOf("CLUB DAY", 3, 3);

  EXPECT_TRUE(feed.Publish(*stored.run3, *session)) << "the first tick publishes";
  const auto first = feed.publisher().Current();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->sessionName, "CLUB DAY");
  EXPECT_EQ(first->live.runNumber, 3);
  EXPECT_EQ(first->live.rows.size(), 2u);
  ASSERT_EQ(first->otherRuns->runs.size(), 1u);
  EXPECT_FALSE(feed.Publish(*stored.run3, *session)) << "nothing changed";
  EXPECT_EQ(feed.publisher().Current(), first);

  ui.Repaint(RaceArea::kEventLine);
  EXPECT_FALSE(feed.Publish(*stored.run3, *session)) << "the event line is no result";
  for (RaceArea area : {RaceArea::kTable, RaceArea::kClock, RaceArea::kCountdown,
                        RaceArea::kTitle}) {
    ui.Repaint(area);
    EXPECT_TRUE(feed.Publish(*stored.run3, *session));
  }
  EXPECT_EQ(feed.publisher().Current()->version, first->version + 4);
  EXPECT_EQ(window.repaints[RaceArea::kTable], 1) << "every repaint still reaches the window";
  EXPECT_EQ(window.repaints[RaceArea::kEventLine], 1);
  ui.SetControlText(2001, "x");
  EXPECT_EQ(window.controlText[2001], "x");
}

TEST(LiveFeed, TheOtherRunsAreReadAgainOnlyWhenTheyCanHaveChanged) {
  TempFolder folder;
  StoredSession stored;
  CountingRuns runs;
  LiveFeed feed(runs);
  auto session = SessionOf("CLUB DAY", 3, 3);
  feed.Publish(*stored.run3, *session);
  const int once = runs.reads;
  EXPECT_EQ(once, 2) << "runs 1 and 2";
  const auto list = feed.publisher().Current()->otherRuns;
  for (int passage = 0; passage < 5; ++passage) {
    feed.MarkChanged();
    feed.Publish(*stored.run3, *session);
  }
  EXPECT_EQ(runs.reads, once) << "passages of the live run change no other run";
  EXPECT_EQ(feed.publisher().Current()->otherRuns, list) << "shared by every snapshot";

  // Run 1 loaded: run 3, left, is among the others now.
  session->loadedRun = 1;
  feed.MarkChanged();
  feed.Publish(*stored.run1, *session);
  EXPECT_EQ(runs.reads, once + 2);
  ASSERT_EQ(feed.publisher().Current()->otherRuns->runs.size(), 1u);
  EXPECT_EQ(feed.publisher().Current()->otherRuns->runs[0].runNumber, 3);

  // A name changed in the participants list, then another classification.
  SetText(session->participants.entries[1].driverName, "BRUNA");
  feed.MarkChanged();
  feed.Publish(*stored.run1, *session);
  EXPECT_EQ(runs.reads, once + 4);
  SetText(stored.run1->params.classificationKey, kRankBestLap);
  feed.MarkChanged();
  feed.Publish(*stored.run1, *session);
  EXPECT_EQ(runs.reads, once + 6);
  // Another session in the working copy (a new stamp).
  WriteWorkingCopyStamp(NewSessionStamp());
  feed.MarkChanged();
  feed.Publish(*stored.run1, *session);
  EXPECT_EQ(runs.reads, once + 8);
}

// A port nothing listens on now, on 127.0.0.1.
int FreePort() {
  SnapshotPublisher publisher;
  LiveSite site(publisher);
  LiveServer server(site);
  const LiveServerStart start = server.Start(0, "127.0.0.1");
  EXPECT_EQ(start.result, LiveServerResult::kStarted);
  server.Stop();
  return start.port;
}

TEST(LiveResults, TheServerRunsMovesAndStopsAsTheSettingsSay) {
  TempFolder folder;
  StoredSession stored;
  auto session = SessionOf("CLUB DAY", 3, 3);
  LiveResults live("127.0.0.1");
  EXPECT_EQ(live.State().status, LiveStatus::kStopped);
  live.AfterTick(*stored.run3, *session);
  EXPECT_EQ(live.feed().publisher().Current(), nullptr) << "nothing is built while it is off";

  const int port = FreePort();
  LiveServerState state = live.Apply(LiveSettings{true, port});
  ASSERT_EQ(state.status, LiveStatus::kRunning);
  EXPECT_EQ(state.port, port);
  EXPECT_EQ(ProbeListenPort("127.0.0.1", port).result, LiveServerResult::kPortTaken);
  live.AfterTick(*stored.run3, *session);
  ASSERT_NE(live.feed().publisher().Current(), nullptr);
  EXPECT_EQ(live.feed().publisher().Current()->live.runNumber, 3);

  // The same settings again leave it as it is; another port moves it there.
  const uint64_t version = live.feed().publisher().Current()->version;
  EXPECT_EQ(live.Apply(LiveSettings{true, port}).status, LiveStatus::kRunning);
  live.AfterTick(*stored.run3, *session);
  EXPECT_EQ(live.feed().publisher().Current()->version, version) << "not restarted";
  const int other = FreePort();
  EXPECT_EQ(live.Apply(LiveSettings{true, other}).port, other);
  EXPECT_EQ(ProbeListenPort("127.0.0.1", port).result, LiveServerResult::kStarted)
      << "the first port is free again";
  live.AfterTick(*stored.run3, *session);
  EXPECT_GT(live.feed().publisher().Current()->version, version) << "published again at once";

  EXPECT_EQ(live.Apply(LiveSettings{false, other}).status, LiveStatus::kStopped);
  EXPECT_EQ(ProbeListenPort("127.0.0.1", other).result, LiveServerResult::kStarted);
}

TEST(LiveResults, APortTakenByAnotherProgramIsReportedAsSuch) {
  TempFolder folder;
  SnapshotPublisher publisher;
  LiveSite site(publisher);
  LiveServer other(site);
  const LiveServerStart taken = other.Start(0, "127.0.0.1");
  ASSERT_EQ(taken.result, LiveServerResult::kStarted);
  LiveResults live("127.0.0.1");
  const LiveServerState state = live.Apply(LiveSettings{true, taken.port});
  EXPECT_EQ(state.status, LiveStatus::kPortTaken);
  EXPECT_EQ(state.port, taken.port);
  EXPECT_EQ(live.State().status, LiveStatus::kPortTaken);
  other.Stop();
}

TEST(LiveResults, StartUpFollowsTheSettingsFileAndReportsADamagedOneOnce) {
  TempFolder folder;
  RecordingMessageBoxes boxes;
  {
    LiveResults live("127.0.0.1");
    live.StartUp(boxes);
    EXPECT_EQ(live.State().status, LiveStatus::kStopped) << "no file: off";
  }
  const int port = FreePort();
  WriteBytes(kLiveSettingsFile, "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT" +
                                    std::to_string(port) + "\r\n");
  {
    LiveResults live("127.0.0.1");
    live.StartUp(boxes);
    EXPECT_EQ(live.State().status, LiveStatus::kRunning);
    EXPECT_EQ(live.State().port, port);
    live.Stop();
    EXPECT_EQ(live.State().status, LiveStatus::kStopped);
    EXPECT_EQ(ProbeListenPort("127.0.0.1", port).result, LiveServerResult::kStarted);
  }
  EXPECT_TRUE(boxes.shown.empty());
  WriteBytes(kLiveSettingsFile, "RESULTATSDIRECToui\r\n");
  LiveResults live("127.0.0.1");
  live.StartUp(boxes);
  EXPECT_EQ(live.State().status, LiveStatus::kStopped);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_LIVE_SETTINGS_DAMAGED);
  EXPECT_EQ(testing::ReadBytes(kLiveSettingsFile), "RESULTATSDIRECToui\r\n") << "not rewritten";
}

}  // namespace
}  // namespace zarvo
