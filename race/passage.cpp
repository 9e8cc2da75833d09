// Passage processing: acceptance by the minimum lap time, lap bookkeeping, best laps, circuit lap
// record, finish rule, lap ceiling and sound cues.
#include "race/passage.h"

#include <cstring>

#include "race/classification.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

int32_t PassageTimeAtLapCount(const ParticipantRecord& p) {
  int index = p.lapCount;
  if (index < 0) index = 0;
  if (index >= kPassageCapacity) index = kPassageCapacity - 1;
  return p.passageTimes[index];
}

// Steps 1 to 3 of a passage: its race time, the lap it would close, the time since the buzz.
void NotePassage(ParticipantRecord& p, int64_t raceTime) {
  p.passageRaceTime = raceTime;
  const int32_t ownTime = static_cast<int32_t>(raceTime) - p.ownStart;
  p.candidateLap = ownTime - PassageTimeAtLapCount(p);
  p.sinceEarlySignal = ownTime - p.earlySignalMark;
}

void UpdateRunBest(Race& race, ParticipantRecord& p) {
  if (p.bestLap == 0 || p.bestLap >= race.run.runBestLap) return;
  for (ParticipantRecord& other : race.slots) other.runBestHolder = false;
  race.run.runBestLap = p.bestLap;
  p.runBestHolder = true;
}

void UpdateCircuitRecord(TimingContext& ctx, const ParticipantRecord& p) {
  const int index = ctx.race.params.circuitIndex;
  if (index < 0 || index >= kCircuitCapacity || p.bestLap == 0) return;
  CircuitRecord& circuit = ctx.circuits.records[index];
  if (circuit.recordLap != 0 && p.bestLap >= circuit.recordLap) return;
  circuit.recordLap = p.bestLap;
  SetText(circuit.recordHolder, p.driverName);
  FormatThreeForm(SplitTime(p.bestLap), circuit.recordLapText, sizeof circuit.recordLapText);
}

void ApplyFinishRule(const RaceParameters& params, ParticipantRecord& p) {
  if (IsStaggeredStart(params)) {
    if (IsTimeRun(params) && PassageTimeAtLapCount(p) >= params.durationMinutes * 60000) {
      p.finished = true;
    } else if (IsLapRun(params) && p.lapCount == params.lapTarget) {
      p.finished = true;
    }
  }
  // The passage table ends at 999 laps, whatever the start mode: nothing more can be recorded.
  if (p.lapCount >= kMaxLapCount) p.finished = true;
}

// Steps 5 to 12 for an accepted passage or a manual lap, then the lap-recorded flag is cleared.
void AfterAcceptedPassage(TimingContext& ctx, ParticipantRecord& p) {
  Race& race = ctx.race;
  const RaceParameters& params = race.params;
  const int32_t lapsBefore = p.lapCount;
  RecordLap(p, params);
  UpdateRunBest(race, p);
  UpdateCircuitRecord(ctx, p);
  ApplyFinishRule(params, p);
  StandardRefresh(race);
  // A staggered start's first crossing only starts the participant's clock: no lap.
  if (p.lapCount > lapsBefore) ctx.host.LapRecorded(p);

  bool stoppedByCeiling = false;
  if (IsTimeRun(params) && p.lapCount == params.maximumLapCount) {
    ctx.host.StopRun();
    stoppedByCeiling = true;
  }

  const SoundSettings& sounds = ctx.sounds;
  if (SameText(sounds.bestLap, kSoundBestLapOn) && p.newBest && !p.finished) {
    ctx.host.Cue(SoundCue::kBestLap, p.slotNumber);
  } else if (SameText(sounds.passage, kSoundPassageOn) && !p.finished) {
    ctx.host.Cue(SoundCue::kPassage, p.slotNumber);
  }
  if (SameText(sounds.driverFinished, kSoundDriverFinishedOn) && p.finished && !stoppedByCeiling) {
    ctx.host.Cue(SoundCue::kDriverFinished, p.slotNumber);
  }
  ctx.host.RepaintResults();
  p.lapRecorded = false;
}

}  // namespace

void RecordLap(ParticipantRecord& p, const RaceParameters& params) {
  const bool staggered = IsStaggeredStart(params);
  const int32_t previous = p.lapCount;
  if (previous >= kMaxLapCount) return;  // the passage table is full
  p.lapCount = previous + 1;
  if (staggered && p.ownStart == 0) {
    p.lapCount = previous;  // this crossing starts the participant's own clock
    p.ownStart = static_cast<int32_t>(p.passageRaceTime);
  }
  p.passageTimes[p.lapCount] = static_cast<int32_t>(p.passageRaceTime) - p.ownStart;
  p.lastLap = p.candidateLap;
  p.lapRecorded = true;
  p.newBest = false;
  if (!staggered) return;
  if (p.lapCount == 1) {
    p.bestLap = p.worstLap = p.averageLap = p.lastLap;  // a first lap is never a new best
  } else if (p.lapCount >= 2) {
    if (p.lastLap < p.bestLap) {
      p.bestLap = p.lastLap;
      p.newBest = true;
    }
    if (p.lastLap > p.worstLap) p.worstLap = p.lastLap;
    p.averageLap = p.passageTimes[p.lapCount] / p.lapCount;
  }
}

int ProcessPassage(TimingContext& ctx, const char* transponder, int32_t raceTime) {
  int served = 0;
  // In 64 bits: whatever the seconds, never a product that wraps into a filter accepting all.
  const int64_t minimumLap = int64_t(ctx.race.params.minimumLapSeconds) * 1000;
  for (ParticipantRecord& p : ctx.race.slots) {
    if (p.finished || !SameText(p.transponder, transponder)) continue;
    NotePassage(p, raceTime);
    const bool accepted = p.candidateLap > minimumLap || (p.lapCount == 0 && p.ownStart == 0);
    if (accepted) {
      AfterAcceptedPassage(ctx, p);
      ++served;
    } else if (SameText(ctx.sounds.passage, kSoundPassageOn) && p.sinceEarlySignal > 1000 &&
               p.candidateLap > 2000) {
      ctx.host.Cue(SoundCue::kEarlyPassage, p.slotNumber);
      p.earlySignalMark = raceTime - p.ownStart;
    }
  }
  return served;
}

int64_t PcRaceTime(const RunState& run, int64_t counterNow) {
  return (counterNow - run.raceStartCounter) * 1000 / run.counterFrequency;
}

bool ManualLapTime(const Race& race, int slot, int64_t counterNow, int64_t& raceTime) {
  if (slot < 1 || slot > kSlotCount || !race.run.raceRunning) return false;
  const ParticipantRecord& p = race.slots[slot - 1];
  if (p.finished) return false;
  raceTime = p.passageRaceTime;
  if (race.run.counterFrequency != 0) raceTime = PcRaceTime(race.run, counterNow);
  return true;
}

bool ManualLapAt(TimingContext& ctx, int slot, int64_t raceTime) {
  if (slot < 1 || slot > kSlotCount || !ctx.race.run.raceRunning) return false;
  ParticipantRecord& p = ctx.race.slots[slot - 1];
  if (p.finished) return false;
  NotePassage(p, raceTime);
  AfterAcceptedPassage(ctx, p);
  return true;
}

bool ManualLap(TimingContext& ctx, int slot, int64_t counterNow) {
  int64_t raceTime = 0;
  if (!ManualLapTime(ctx.race, slot, counterNow, raceTime)) return false;
  ctx.race.slots[slot - 1].passageCounter = counterNow;
  return ManualLapAt(ctx, slot, raceTime);
}

int ManualLapSlot(int controlId) {
  if (controlId < kManualLapFirstId || controlId > kManualLapLastId) return 0;
  return controlId - kManualLapFirstId + 1;
}

bool RadioConflict(const Race& race, const ParticipantsList& list) {
  const char* frequencies[kSlotCount];
  int count = 0;
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p)) continue;
    const char* frequency = "";
    for (const ParticipantEntry& entry : list.entries) {
      if (SameText(entry.driverName, p.driverName)) {
        frequency = entry.frequencies[0];
        break;
      }
    }
    frequencies[count++] = frequency;
  }
  for (int i = 0; i < count; ++i) {
    if (frequencies[i][0] == '\0' || SameText(frequencies[i], "2.4Ghz")) continue;
    for (int j = i + 1; j < count; ++j) {
      if (SameText(frequencies[i], frequencies[j])) return true;
    }
  }
  return false;
}

}  // namespace zarvo
