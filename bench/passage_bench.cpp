// Passage processing with its standard refresh: 20 participants close to the 999-lap ceiling,
// the heaviest table the 10 ms tick can meet.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "race/passage.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

class NullHost : public PassageHost {
 public:
  void StopRun() override {}
  void Cue(SoundCue, int) override {}
  void RepaintResults() override {}
};

constexpr int32_t kLap = 30000;
constexpr int32_t kOwnStart = 1000;

void BM_ProcessPassageNear998Laps(benchmark::State& state) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    ParticipantRecord& p = race->slots[s];
    char name[16];
    std::snprintf(name, sizeof name, "DRIVER%02d", s + 1);
    SetText(p.driverName, name);
    std::snprintf(p.transponder, sizeof p.transponder, "%06d", 100 + s);
  }
  SetDefaultRaceParameters(race->params);
  race->params.durationMinutes = 720;
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  for (ParticipantRecord& p : race->slots) {
    p.ownStart = kOwnStart;
    for (int k = 0; k < kPassageCapacity; ++k) p.passageTimes[k] = k * kLap + (k > 0 ? p.slotNumber : 0);
    p.lapCount = 997;
    p.bestLap = p.worstLap = kLap;
  }
  race->run.raceRunning = true;
  race->run.runBestLap = kNoRunBest;
  auto circuits = std::make_unique<CircuitTable>();
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  race->params.circuitIndex = 0;
  SoundSettings sounds = {};
  SetText(sounds.passage, kSoundPassageOn);
  NullHost host;
  TimingContext ctx{*race, *circuits, sounds, host};

  int slot = 0;
  for (auto _ : state) {
    ParticipantRecord& p = race->slots[slot];
    p.lapCount = 997;  // stays below the ceiling: every passage records lap 998
    const int32_t raceTime = kOwnStart + 998 * kLap + p.slotNumber;
    benchmark::DoNotOptimize(ProcessPassage(ctx, p.transponder, raceTime));
    slot = (slot + 1) % kSlotCount;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ProcessPassageNear998Laps);

}  // namespace
}  // namespace zarvo
