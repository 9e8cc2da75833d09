// Sessions and runs for the export tests and the export sample.
#include "tests/support/sample_session.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "session/session_format.h"
#include "text/fixed_text.h"

namespace zarvo::testing {

void SetLaps(ParticipantRecord& record, const std::vector<int32_t>& laps) {
  const int n = static_cast<int>(std::min<size_t>(laps.size(), kMaxLapCount));
  record.lapCount = n;
  record.passageTimes[0] = 0;
  int64_t total = 0;
  record.bestLap = 0;
  record.worstLap = 0;
  for (int k = 1; k <= n; ++k) {
    const int32_t lap = laps[k - 1];
    total += lap;
    record.passageTimes[k] = static_cast<int32_t>(total);
    if (record.bestLap == 0 || lap < record.bestLap) record.bestLap = lap;
    if (lap > record.worstLap) record.worstLap = lap;
  }
  record.lastLap = n > 0 ? laps[n - 1] : 0;
  record.averageLap = n > 0 ? static_cast<int32_t>(total / n) : 0;
}

std::unique_ptr<Race> RunOfDrivers(const std::vector<SampleDriver>& drivers, const char* runTitle) {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof *race);
  for (ParticipantRecord& p : race->slots) SetText(p.driverName, kNoDriver);
  for (size_t s = 0; s < drivers.size() && s < size_t(kSlotCount); ++s) {
    SetText(race->slots[s].driverName, drivers[s].name.c_str());
  }
  SetDefaultRaceParameters(race->params);
  ResetTable(*race);
  for (size_t s = 0; s < drivers.size() && s < size_t(kSlotCount); ++s) {
    SetLaps(race->slots[s], drivers[s].laps);
    race->slots[s].finished = true;
  }
  SetText(race->run.runTitle, runTitle);
  RebuildStandings(*race);
  StandardRefresh(*race);
  return race;
}

std::string SessionFileOf(const SampleSession& session) {
  const Race* first = nullptr;
  for (const Race* r : session.runs) {
    if (r != nullptr && first == nullptr) first = r;
  }
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  int participants = 0;
  for (int k = 0; k < kSlotCount; ++k) {
    const bool used = first != nullptr && !IsEmptySlot(first->slots[k]);
    SetText(list.entries[k].driverName, used ? first->slots[k].driverName : kNoDriver);
    if (used) ++participants;
  }
  SessionHeader header = NewSessionHeader(session.name);
  header.participantCount = participants;
  header.runsRecorded = first != nullptr;
  header.runCount = static_cast<int32_t>(session.runs.size());

  std::string file = NewWorkingCopyBytes(session.name);
  ApplyEdit(file, PlanHeaderRewrite(file, header));
  ApplyEdit(file, PlanSectionRewrite(file, kParticipantsListTitle, kParticipantsReservePairs,
                                     ParticipantsListContent(list)));
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, session.label);
  SetText(track.circuitName, session.circuit);
  ApplyEdit(file,
            PlanSectionRewrite(file, kTrackTitle, kTrackReservePairs, SessionTrackContent(track)));
  RaceParameters params;
  SetDefaultRaceParameters(params);
  SetText(params.classificationKey, session.classificationKey);
  ApplyEdit(file, PlanSectionRewrite(file, kRaceParametersTitle, kRaceParametersReservePairs,
                                     RaceParametersContent(params)));
  for (size_t n = 1; n <= session.runs.size(); ++n) {
    const Race* run = session.runs[n - 1];
    if (run == nullptr) continue;
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(static_cast<int>(n), title, sizeof title);
    ApplyEdit(file, PlanSectionRewrite(file, title, RunReservePairs(OccupiedSlotCount(*run)),
                                       RunSectionContent(*run)));
  }
  return file;
}

std::vector<int32_t> PracticeLapsOf(int n, unsigned seed) {
  std::vector<int32_t> laps;
  for (int k = 0; k < n; ++k) {
    seed = seed * 1103515245u + 12345u;
    laps.push_back(19600 + static_cast<int32_t>((seed >> 16) % 2400));
  }
  return laps;
}

std::vector<SampleDriver> FullField(const char* nameFormat, unsigned seed) {
  std::vector<SampleDriver> drivers;
  for (int k = 0; k < kSlotCount; ++k) {
    char name[kDriverNameCapacity];
    std::snprintf(name, sizeof name, nameFormat, k + 1);
    drivers.push_back({name, PracticeLapsOf(kMaxLapCount, seed + unsigned(k))});
  }
  return drivers;
}

std::unique_ptr<ArchivedRun> ArchivedRunOf(const char* driverName, const std::vector<int32_t>& laps,
                                           const char* caption, const char* title,
                                           const char* track) {
  auto run = std::make_unique<ArchivedRun>();
  std::memset(run.get(), 0, sizeof *run);
  SetText(run->participant.driverName, driverName);
  const int n = static_cast<int>(std::min<size_t>(laps.size(), kMaxLapCount));
  run->participant.lapCount = n;
  int64_t t = 0;
  for (int k = 1; k <= n; ++k) {
    t += laps[k - 1];
    run->participant.passageTimes[k] = static_cast<int32_t>(t);
  }
  SetText(run->runCaption, caption);
  SetText(run->runTitle, title);
  SetText(run->trackName, track);
  return run;
}

}  // namespace zarvo::testing
