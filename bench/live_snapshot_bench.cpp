// The live results' costs: building the snapshot on the user-interface thread after a refresh
// (what the tick pays), and rendering it as JSON on a server thread, for 20 drivers of 60 and of
// 999 laps.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "text/fixed_text.h"
#include "web/live_json.h"
#include "web/live_snapshot.h"

namespace zarvo {
namespace {

std::unique_ptr<Race> TwentyDrivers(int laps) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    char name[16];
    std::snprintf(name, sizeof name, "DRIVER%02d", s + 1);
    SetText(race->slots[s].driverName, name);
  }
  SetDefaultRaceParameters(race->params);
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  for (ParticipantRecord& p : race->slots) {
    p.lapCount = laps;
    for (int k = 1; k <= laps; ++k) p.passageTimes[k] = p.passageTimes[k - 1] + 30000 + k % 700;
    p.lastLap = p.passageTimes[laps] - p.passageTimes[laps - 1];
    p.bestLap = 30001;
  }
  StandardRefresh(*race);
  return race;
}

void BM_BuildLiveSnapshot(benchmark::State& state) {
  const std::unique_ptr<Race> race = TwentyDrivers(static_cast<int>(state.range(0)));
  const std::shared_ptr<const SessionRuns> runs = NoSessionRuns();
  for (auto _ : state) {
    std::shared_ptr<Snapshot> s = BuildLiveSnapshot(*race, "SEANCE TRAINING", 1, runs);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_BuildLiveSnapshot)->Arg(60)->Arg(999)->Unit(benchmark::kMicrosecond);

void BM_SnapshotJson(benchmark::State& state) {
  const std::unique_ptr<Race> race = TwentyDrivers(static_cast<int>(state.range(0)));
  const std::shared_ptr<Snapshot> s = BuildLiveSnapshot(*race, "SEANCE TRAINING", 1, nullptr);
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string json = SnapshotJson(*s);
    bytes = json.size();
    benchmark::DoNotOptimize(json.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SnapshotJson)->Arg(60)->Arg(999)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zarvo
