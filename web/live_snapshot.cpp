// Building the snapshot of the live results from the race state and the session's runs.
#include "web/live_snapshot.h"

#include <atomic>
#include <cstring>

#include "text/fixed_text.h"

namespace zarvo {

namespace {

// A text field of the data model, never read past its capacity.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return std::string(field, strnlen(field, N));
}

// A count of a table that may come from a damaged file, held to 0..most.
int Bounded(int32_t count, int most) { return count < 0 ? 0 : count > most ? most : count; }

// Lap k lasted passage time k minus passage time k-1.
std::vector<int32_t> LapTimesOf(const ParticipantRecord& p) {
  const int laps = Bounded(p.lapCount, kMaxLapCount);
  std::vector<int32_t> times;
  times.reserve(static_cast<size_t>(laps));
  for (int k = 1; k <= laps; ++k) {
    // In 64 bits: a damaged run section may hold any two numbers.
    const int64_t lap = int64_t(p.passageTimes[k]) - p.passageTimes[k - 1];
    times.push_back(lap < INT32_MIN || lap > INT32_MAX ? 0 : static_cast<int32_t>(lap));
  }
  return times;
}

bool HoldsALap(const Race& race) {
  for (const ParticipantRecord& p : race.slots) {
    if (!IsEmptySlot(p) && p.lapCount > 0) return true;
  }
  return false;
}

uint64_t NextRunsId() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

}  // namespace

std::vector<LiveRow> ClassificationRows(const Race& race) {
  const int n = Bounded(race.participantCount, kSlotCount);
  std::vector<LiveRow> rows;
  rows.reserve(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) {
    const ResultsRow& r = race.rows[k];
    const int slot = race.standings[k].slotNumber;
    LiveRow row;
    row.position = k + 1;
    row.slotNumber = slot;
    row.driverName = FieldText(r.driverName);
    row.lapsText = FieldText(r.lapsText);
    row.totalText = FieldText(r.totalText);
    row.lastLapText = FieldText(r.lastLapText);
    row.bestLapText = FieldText(r.bestLapText);
    row.finished = r.finished;
    row.lapRecorded = r.lapRecorded;
    row.newBest = r.newBest;
    row.runBestHolder = r.runBestHolder;
    if (slot >= 1 && slot <= kSlotCount) row.lapTimes = LapTimesOf(race.slots[slot - 1]);
    rows.push_back(std::move(row));
  }
  return rows;
}

LiveRunState RunStateOf(const Race& race) {
  if (race.run.startArmed) return LiveRunState::kCountdown;
  if (race.run.raceRunning) return LiveRunState::kRunning;
  // A run that was started keeps its title until "Clear" writes "."; a run never started has none.
  const std::string title = FieldText(race.run.runTitle);
  if (!title.empty() && title != ".") return LiveRunState::kFinished;
  return LiveRunState::kWaiting;
}

std::shared_ptr<Snapshot> BuildLiveSnapshot(const Race& race, const char* sessionName,
                                            int runNumber,
                                            std::shared_ptr<const SessionRuns> otherRuns) {
  auto s = std::make_shared<Snapshot>();
  s->sessionName = sessionName != nullptr ? std::string(sessionName) : std::string();
  s->state = RunStateOf(race);
  s->clock.lapRun = IsLapRun(race.params);
  s->clock.duration = FieldText(race.run.durationText);
  s->clock.elapsed = FieldText(race.run.elapsedText);
  s->clock.remaining = FieldText(race.run.remainingText);
  s->clock.countdown = FieldText(race.run.countdownText);
  s->live.runNumber = runNumber;
  s->live.runTitle = FieldText(race.run.runTitle);
  s->live.rows = ClassificationRows(race);
  s->otherRuns = otherRuns != nullptr ? std::move(otherRuns) : NoSessionRuns();
  return s;
}

RunResults SummariseRun(int runNumber, const Race& race, const char* classificationKey) {
  // Ranked on a copy, as a refresh ranks the loaded run, so the caller's table stays as it is.
  auto copy = std::make_unique<Race>(race);
  SetText(copy->params.classificationKey, classificationKey);
  WipeStandings(*copy);
  RebuildStandings(*copy);
  RebuildRows(*copy);
  StandardRefresh(*copy);
  MarkRunOver(*copy);
  RunResults results;
  results.runNumber = runNumber;
  results.runTitle = FieldText(copy->run.runTitle);
  results.rows = ClassificationRows(*copy);
  return results;
}

std::shared_ptr<const SessionRuns> CollectSessionRuns(RunSectionSource& source, int liveRunNumber,
                                                      const char* classificationKey) {
  auto list = std::make_shared<SessionRuns>();
  list->id = NextRunsId();
  int count = source.RunCount();
  if (count > kSlotCount) count = kSlotCount;  // a session holds at most 20 runs
  auto race = std::make_unique<Race>();
  for (int n = 1; n <= count; ++n) {
    if (n == liveRunNumber) continue;
    std::memset(race.get(), 0, sizeof(Race));
    if (!source.ReadRun(n, *race) || !HoldsALap(*race)) continue;
    list->runs.push_back(SummariseRun(n, *race, classificationKey));
  }
  return list;
}

std::shared_ptr<const SessionRuns> NoSessionRuns() {
  auto list = std::make_shared<SessionRuns>();
  list->id = 0;
  return list;
}

}  // namespace zarvo
