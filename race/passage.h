// Passage processing: a transponder crossing the loop (or a manual lap button) becomes a lap of
// every participant that holds the transponder, with the best laps, the circuit lap record, the
// finish rule, the lap ceiling and the sound cues.
#pragma once

#include <cstdint>

#include "race/race_model.h"
#include "race/sound_cues.h"
#include "records/circuit_records.h"
#include "records/sound_settings.h"

namespace zarvo {

// What passage processing reaches outside the participants table.
class PassageHost {
 public:
  virtual ~PassageHost() = default;
  // The lap ceiling stops the run exactly as the "Stop" button does, before returning.
  virtual void StopRun() = 0;
  // A cue for the sound announcements; slot is the slot number (1..20) for kDriverFinished.
  virtual void Cue(SoundCue cue, int slot) = 0;
  // The results table changed.
  virtual void RepaintResults() = 0;
  // A lap was just added to the participant's laps, the standings already refreshed.
  virtual void LapRecorded(const ParticipantRecord& /*participant*/) {}
};

// Everything a passage reads and writes.
struct TimingContext {
  Race& race;
  CircuitTable& circuits;
  const SoundSettings& sounds;
  PassageHost& host;
};

constexpr int kManualLapFirstId = 2201;  // buttons "1" to "20" are 2201 to 2220
constexpr int kManualLapLastId = 2220;

// A transponder crossing at raceTime ms from the race start. Every unfinished slot holding the
// transponder is served. Returns the number of slots that recorded a lap.
int ProcessPassage(TimingContext& ctx, const char* transponder, int32_t raceTime);

// Race time by the PC clock: (counter - race start counter) * 1000 / frequency, in 64 bits.
int64_t PcRaceTime(const RunState& run, int64_t counterNow);

// The manual lap of slot 1..20, timed by the performance counter value read when the button's
// command arrived. Acts only while the run is running and the slot is not finished; returns
// whether a lap was recorded.
bool ManualLap(TimingContext& ctx, int slot, int64_t counterNow);

// The race time a manual lap of slot would be given at counterNow (the PC clock, or the slot's
// last passage race time when the counter frequency is 0); false when no lap would be recorded
// (the run is not running, the slot is out of range or finished).
bool ManualLapTime(const Race& race, int slot, int64_t counterNow, int64_t& raceTime);
// The manual lap of slot 1..20 at that race time, with the same conditions as ManualLap; a
// replayed journal gives its manual laps here.
bool ManualLapAt(TimingContext& ctx, int slot, int64_t raceTime);

// Slot number (1..20) of a manual lap button id, or 0 for any other id.
int ManualLapSlot(int controlId);

// The lap bookkeeping of one participant once its passage race time and candidate lap are set.
void RecordLap(ParticipantRecord& p, const RaceParameters& params);

// True when two or more occupied slots have the same first radio frequency (taken from the list
// entry with the same driver name) and that frequency is neither empty nor "2.4Ghz".
bool RadioConflict(const Race& race, const ParticipantsList& list);

}  // namespace zarvo
