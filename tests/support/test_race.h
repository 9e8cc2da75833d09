// Helpers that build a fresh race for the timing tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "databases/database_records.h"
#include "race/passage.h"
#include "race/race_model.h"
#include "records/sound_settings.h"

namespace zarvo::testing {

// (driver name, transponder) of the slots from slot 1 on.
using Drivers = std::initializer_list<std::pair<const char*, const char*>>;

// A race whose slots hold the given (name, transponder) pairs from slot 1 on; the other slots
// are empty. The table is reset and the standings and rows rebuilt, as when a run is selected.
std::unique_ptr<Race> MakeRace(Drivers drivers);

// Every sound setting on, language English.
SoundSettings AllSoundsOn();

// Records what passage processing asks of its host.
class RecordingHost : public PassageHost {
 public:
  struct CueEvent {
    SoundCue cue;
    int slot;
    bool operator==(const CueEvent& o) const { return cue == o.cue && slot == o.slot; }
  };
  explicit RecordingHost(Race* race = nullptr) : race_(race) {}
  // Stops as the "Stop" button does for the parts a passage sees: nothing runs, all finished.
  void StopRun() override;
  void Cue(SoundCue cue, int slot) override { cues.push_back({cue, slot}); }
  void RepaintResults() override { ++repaints; }

  std::vector<CueEvent> cues;
  int repaints = 0;
  int stops = 0;

 private:
  Race* race_;
};

// A running 60-minute time run (staggered start, minimum lap 2 s, no circuit) with its circuits
// table, every sound on and a recording host.
struct TimingFixture {
  explicit TimingFixture(Drivers drivers);
  // Lets a passage of the transponder cross at raceTime.
  int Pass(const char* transponder, int32_t raceTime) {
    return ProcessPassage(ctx, transponder, raceTime);
  }

  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  SoundSettings sounds;
  RecordingHost host;
  TimingContext ctx;
};

}  // namespace zarvo::testing
