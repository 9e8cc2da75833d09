// Wipe, reset and rebuild operations of the participants table, standings and results rows.
#include "race/race_model.h"

#include <cstdio>
#include <cstring>

#include "race/classification.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

struct SetupFieldInfo {
  size_t offset;
  int capacity;
};

#define ZARVO_SETUP_FIELD(name, capacity) {offsetof(SetupSheet, name), capacity},
constexpr SetupFieldInfo kSetupFields[kSetupFieldCount] = {
    {offsetof(SetupSheet, trackConditions), sizeof(SetupSheet::trackConditions)},
    ZARVO_CAR_SETUP_FIELDS(ZARVO_SETUP_FIELD)};
#undef ZARVO_SETUP_FIELD

}  // namespace

char* SetupField(SetupSheet& sheet, int index) {
  return reinterpret_cast<char*>(&sheet) + kSetupFields[index].offset;
}

const char* SetupField(const SetupSheet& sheet, int index) {
  return reinterpret_cast<const char*>(&sheet) + kSetupFields[index].offset;
}

int SetupFieldCapacity(int index) { return kSetupFields[index].capacity; }

bool IsEmptySlot(const ParticipantRecord& record) {
  return SameText(record.driverName, kNoDriver);
}

void ClearParticipantsList(ParticipantsList& list) {
  std::memset(&list, 0, sizeof list);
  for (ParticipantEntry& entry : list.entries) SetText(entry.driverName, kNoDriver);
}

void WipeTable(Race& race) { std::memset(race.slots, 0, sizeof race.slots); }

void ResetTable(Race& race) {
  for (int i = 0; i < kSlotCount; ++i) {
    ParticipantRecord& p = race.slots[i];
    p.slotNumber = i + 1;
    p.lapCount = 0;
    p.lastLap = 0;
    p.worstLap = 0;
    p.averageLap = 0;
    p.lapRecorded = false;
    p.newBest = false;
    p.runBestHolder = false;
    p.sinceEarlySignal = 0;
    p.earlySignalMark = 0;
    p.ownStart = 0;
    p.passageCounter = 0;
    p.passageRaceTime = 0;
    p.candidateLap = 0;
    const bool empty = IsEmptySlot(p);
    const int32_t time = empty ? kEmptySlotTime : 0;
    for (int32_t& t : p.passageTimes) t = time;
    p.bestLap = time;
    p.finished = empty;
  }
}

void MarkRunOver(Race& race) {
  for (ParticipantRecord& p : race.slots) p.finished = true;
  for (StandingsEntry& e : race.standings) e.finished = true;
  for (int k = 0; k < race.participantCount && k < kSlotCount; ++k) race.rows[k].finished = true;
}

void WipeStandings(Race& race) { std::memset(race.standings, 0, sizeof race.standings); }

int RebuildStandings(Race& race) {
  int count = 0;
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p)) continue;
    StandingsEntry& e = race.standings[count++];
    SetText(e.driverName, p.driverName);
    SetText(e.transponder, p.transponder);
    e.slotNumber = p.slotNumber;
    e.finished = false;
  }
  for (int k = count; k < kSlotCount; ++k) {
    StandingsEntry& e = race.standings[k];
    ClearText(e.driverName);
    ClearText(e.transponder);
    e.slotNumber = 0;
    e.finished = true;
  }
  for (StandingsEntry& e : race.standings) {
    e.lapCount = 0;
    e.totalTime = 0;
    e.lastLap = 0;
    e.bestLap = 0;
    e.worstLap = 0;
    e.averageLap = 0;
    e.lapRecorded = false;
    e.newBest = false;
    e.runBestHolder = false;
  }
  race.participantCount = count;
  return count;
}

void RebuildRows(Race& race) {
  std::memset(race.rows, 0, sizeof race.rows);
  for (int k = 0; k < race.participantCount; ++k) {
    const StandingsEntry& e = race.standings[k];
    ResultsRow& row = race.rows[k];
    SetText(row.driverName, e.driverName);
    SetText(row.transponder, e.transponder);
    row.marker[0] = kRowMarker;
    FormatCount(" %d ", e.slotNumber, row.slotText, sizeof row.slotText);
    FormatCount("%d", e.lapCount, row.lapsText, sizeof row.lapsText);
  }
}

void StandardRefresh(Race& race) {
  const int n = race.participantCount;
  if (SameText(race.params.classificationKey, kRankLapsAndTime)) {
    RankByLapsAndTime(race.slots, n, race.standings);
  } else if (SameText(race.params.classificationKey, kRankBestLap)) {
    RankByBestLap(race.slots, n, race.standings);
  }
  SplitTimes(race.standings, n);
  FormatRows(race.standings, n, race.rows);
}

void SplitDuration(RaceParameters& params) {
  params.durationHours = params.durationMinutes / 60;
  params.durationMinutesPart = params.durationMinutes % 60;
}

void SetDefaultRaceParameters(RaceParameters& params) {
  std::memset(&params, 0, sizeof params);
  SetText(params.classificationKey, kRankLapsAndTime);
  SetText(params.durationMode, kDurationTime);
  SetText(params.startMode, kStartStaggered);
  SetText(params.endRuleTime, kEndTimeFinishLap);
  SetText(params.endRuleLaps, kEndLapsAllLaps);
  params.durationMinutes = 1;
  SplitDuration(params);
  params.lapTarget = 1;
  params.countdownSeconds = 5;
  params.circuitIndex = kNoCircuit;
  params.minimumLapSeconds = 2;
  params.maximumLapCount = kMaxLapCount;
  params.lapRunLimitHours = 12;
}

bool IsTimeRun(const RaceParameters& params) { return SameText(params.durationMode, kDurationTime); }
bool IsLapRun(const RaceParameters& params) { return SameText(params.durationMode, kDurationLaps); }
bool IsStaggeredStart(const RaceParameters& params) {
  return SameText(params.startMode, kStartStaggered);
}

}  // namespace zarvo
