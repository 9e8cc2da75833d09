// The working copy of a full session (20 runs of 20 participants, about 4 MB): rewriting one run
// section in place and reading it back, as the program does whenever the user leaves a run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "session/session_file.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

class SilentBoxes : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override { ++shown; }
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
  int shown = 0;
};

std::unique_ptr<Race> FullRun(int laps) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    std::snprintf(race->slots[s].driverName, kDriverNameCapacity, "DRIVER%02d", s + 1);
  }
  ResetTable(*race);
  for (ParticipantRecord& p : race->slots) {
    p.lapCount = laps;
    for (int k = 1; k <= laps; ++k) p.passageTimes[k] = k * 31000 + p.slotNumber * 7;
    p.bestLap = p.worstLap = p.lastLap = p.averageLap = 31000;
    for (int i = 0; i < kSetupFieldCount; ++i) SetText(SetupField(p.setup, i), 8, "setup");
  }
  SetText(race->run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:20:00");
  return race;
}

// A program folder in a temporary folder, holding a full session; removed afterwards.
class FullSession {
 public:
  FullSession() : previous_(std::filesystem::current_path()) {
    folder_ = std::filesystem::temp_directory_path() /
              ("zarvo-bench-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
    std::filesystem::current_path(folder_);
    CreateWorkingCopy(kDefaultSessionName, boxes);
    ParticipantsList list;
    std::memset(&list, 0, sizeof list);
    for (int k = 0; k < kSlotCount; ++k) {
      std::snprintf(list.entries[k].driverName, kDriverNameCapacity, "DRIVER%02d", k + 1);
    }
    WriteParticipantsList(list, boxes);
    for (int n = 1; n <= kMaxRunCount; ++n) WriteRunSection(n, *FullRun(40), boxes);
    size = std::filesystem::file_size(kWorkingCopyPath);
  }
  ~FullSession() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(folder_);
  }
  SilentBoxes boxes;
  size_t size = 0;

 private:
  std::filesystem::path previous_;
  std::filesystem::path folder_;
};

void BM_RewriteRunSection(benchmark::State& state) {
  FullSession session;
  auto run = FullRun(60);
  for (auto _ : state) WriteRunSection(10, *run, session.boxes);
  state.counters["file_bytes"] = double(session.size);
  if (session.boxes.shown != 0) state.SkipWithError("a session operation failed");
}
BENCHMARK(BM_RewriteRunSection)->Unit(benchmark::kMillisecond);

void BM_ReadRunSection(benchmark::State& state) {
  FullSession session;
  auto run = FullRun(0);
  for (auto _ : state) ReadRunSection(10, *run, session.boxes);
  if (run->slots[0].lapCount != 40) state.SkipWithError("the run did not read back");
}
BENCHMARK(BM_ReadRunSection)->Unit(benchmark::kMillisecond);

void BM_RewriteAndReadRunSection(benchmark::State& state) {
  FullSession session;
  auto run = FullRun(60);
  auto read = FullRun(0);
  for (auto _ : state) {
    WriteRunSection(10, *run, session.boxes);
    ReadRunSection(10, *read, session.boxes);
  }
  if (read->slots[19].passageTimes[60] != run->slots[19].passageTimes[60]) {
    state.SkipWithError("the run did not read back");
  }
}
BENCHMARK(BM_RewriteAndReadRunSection)->Unit(benchmark::kMillisecond);

// The header is rewritten on every selection in the session tree.
void BM_WriteSessionHeader(benchmark::State& state) {
  FullSession session;
  SessionHeader header = NewSessionHeader(kDefaultSessionName);
  header.participantCount = 20;
  header.runCount = 20;
  for (auto _ : state) {
    header.selectedNodeId = kRunsNodeId + 1 + int(state.iterations() % 20);
    WriteSessionHeader(header, session.boxes);
  }
}
BENCHMARK(BM_WriteSessionHeader)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zarvo
