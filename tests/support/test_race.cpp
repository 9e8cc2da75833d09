// Helpers that build a fresh race for the timing tests.
#include "tests/support/test_race.h"

#include <cstring>

#include "text/fixed_text.h"

namespace zarvo::testing {

std::unique_ptr<Race> MakeRace(Drivers drivers) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  WipeTable(*race);
  for (ParticipantRecord& p : race->slots) SetText(p.driverName, kNoDriver);
  int s = 0;
  for (const auto& [name, transponder] : drivers) {
    SetText(race->slots[s].driverName, name);
    SetText(race->slots[s].transponder, transponder);
    ++s;
  }
  SetDefaultRaceParameters(race->params);
  ResetTable(*race);
  WipeStandings(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  race->run.runBestLap = kNoRunBest;
  race->run.raceRunning = true;
  return race;
}

SoundSettings AllSoundsOn() {
  SoundSettings s;
  std::memset(&s, 0, sizeof s);
  SetText(s.language, kSoundEnglish);
  SetText(s.countdown, kSoundCountdownOn);
  SetText(s.start, kSoundStartOn);
  SetText(s.passage, kSoundPassageOn);
  SetText(s.bestLap, kSoundBestLapOn);
  SetText(s.clock, kSoundClockOn);
  SetText(s.endOfRace, kSoundEndOfRaceOn);
  SetText(s.driverFinished, kSoundDriverFinishedOn);
  return s;
}

void RecordingHost::StopRun() {
  ++stops;
  if (race_ == nullptr) return;
  race_->run.raceRunning = false;
  for (ParticipantRecord& p : race_->slots) p.finished = true;
}

TimingFixture::TimingFixture(Drivers drivers)
    : race(MakeRace(drivers)),
      circuits(std::make_unique<CircuitTable>()),
      sounds(AllSoundsOn()),
      host(race.get()),
      ctx{*race, *circuits, sounds, host} {
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  race->params.durationMinutes = 60;
  SplitDuration(race->params);
}

}  // namespace zarvo::testing
