// What the tick pays for the live results once the server is on: after a refresh, the key of the
// session's other runs, the snapshot of the live run and its publication (the other runs read
// once, then shared); and, when the runs change, reading the other runs from a working copy of
// 20 runs of 20 drivers.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "app/live_results.h"
#include "platform/files.h"
#include "race/classification.h"
#include "session/session_file.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

class SilentBoxes : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

std::unique_ptr<Race> TimedRun(int laps) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    std::snprintf(race->slots[s].driverName, kDriverNameCapacity, "DRIVER%02d", s + 1);
  }
  SetDefaultRaceParameters(race->params);
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  for (ParticipantRecord& p : race->slots) {
    p.lapCount = laps;
    for (int k = 1; k <= laps; ++k) p.passageTimes[k] = k * 31000 + p.slotNumber * 7;
    p.bestLap = p.worstLap = p.lastLap = p.averageLap = 31000;
  }
  SetText(race->run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:20:00");
  StandardRefresh(*race);
  return race;
}

// A program folder of its own holding a working copy of 20 timed runs; removed afterwards.
class SessionFolder {
 public:
  SessionFolder() {
    previous_ = CurrentFolder();
    path_ = std::filesystem::temp_directory_path() / "zarvo-live-feed-bench";
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
    SetCurrentFolder(path_.string().c_str());
    SilentBoxes boxes;
    CreateWorkingCopy("SEANCE TRAINING", boxes);
    ParticipantsList list;
    std::memset(&list, 0, sizeof list);
    for (int s = 0; s < kSlotCount; ++s) {
      std::snprintf(list.entries[s].driverName, kDriverNameCapacity, "DRIVER%02d", s + 1);
    }
    WriteParticipantsList(list, boxes);
    RaceParameters params;
    SetDefaultRaceParameters(params);
    WriteRaceParameters(params, boxes);
    const std::unique_ptr<Race> run = TimedRun(60);
    for (int n = 1; n <= 20; ++n) WriteRunSection(n, *run, boxes);
    SessionHeader header;
    ReadSessionHeader(header, boxes);
    header.runCount = 20;
    header.participantCount = 20;
    WriteSessionHeader(header, boxes);
  }
  ~SessionFolder() {
    SetCurrentFolder(previous_.c_str());
    std::filesystem::remove_all(path_);
  }

 private:
  std::string previous_;
  std::filesystem::path path_;
};

std::unique_ptr<SessionState> LiveSession() {
  auto s = std::make_unique<SessionState>();
  SetText(s->header.sessionName, "SEANCE TRAINING");
  s->header.runCount = 20;
  s->loadedRun = 20;
  for (int k = 0; k < kSlotCount; ++k) {
    std::snprintf(s->participants.entries[k].driverName, kDriverNameCapacity, "DRIVER%02d", k + 1);
  }
  return s;
}

// After a passage: the tick's whole work for the live results.
void BM_LiveFeedAfterRefresh(benchmark::State& state) {
  SessionFolder folder;
  const std::unique_ptr<Race> race = TimedRun(static_cast<int>(state.range(0)));
  const std::unique_ptr<SessionState> session = LiveSession();
  WorkingCopyRuns runs;
  LiveFeed feed(runs);
  feed.Publish(*race, *session);  // the other runs, read once
  for (auto _ : state) {
    feed.MarkChanged();
    benchmark::DoNotOptimize(feed.Publish(*race, *session));
  }
}
BENCHMARK(BM_LiveFeedAfterRefresh)->Arg(60)->Arg(999)->Unit(benchmark::kMicrosecond);

// Another run loaded or another session: the 19 other runs of 60 laps read from the working copy.
void BM_LiveFeedOtherRunsRead(benchmark::State& state) {
  SessionFolder folder;
  WorkingCopyRuns runs;
  for (auto _ : state) {
    benchmark::DoNotOptimize(CollectSessionRuns(runs, 20, kRankLapsAndTime));
  }
}
BENCHMARK(BM_LiveFeedOtherRunsRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvo
