// Turning a participants table or an archived run into the export's plain data.
#include "export/export_model.h"

#include <cstring>
#include <memory>

#include "analysis/lap_graphs.h"
#include "race/classification.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

void MarkBestOfRun(ExportRun& run) {
  bool any = false;
  int32_t best = 0;
  for (int k = 0; k < run.driverCount; ++k) {
    const ExportDriver& d = run.drivers[k];
    if (d.lapCount <= 0) continue;
    if (!any || d.bestLap < best) best = d.bestLap;
    any = true;
  }
  for (int k = 0; k < run.driverCount; ++k) {
    ExportDriver& d = run.drivers[k];
    d.bestOfRun = any && d.lapCount > 0 && d.bestLap == best;
  }
}

}  // namespace

void BuildRunFromRace(const Race& race, const ExportRunInfo& info, ExportRun& out) {
  std::memset(&out, 0, sizeof out);
  out.runNumber = info.runNumber;
  SetText(out.runCaption, info.runCaption);
  SetText(out.runTitle, info.runTitle);
  SetText(out.circuitName, info.circuitName);
  out.rankedByBestLap = SameText(race.params.classificationKey, kRankBestLap);

  // The results table's own road: standings from the slots, rank, split, format.
  auto ranked = std::make_unique<Race>(race);
  const int n = RebuildStandings(*ranked);
  StandardRefresh(*ranked);

  out.driverCount = n;
  for (int k = 0; k < n; ++k) {
    const StandingsEntry& entry = ranked->standings[k];
    const ResultsRow& row = ranked->rows[k];
    ExportDriver& d = out.drivers[k];
    d.position = k + 1;
    d.slotNumber = entry.slotNumber;
    SetText(d.driverName, entry.driverName);
    d.lapCount = entry.lapCount;
    d.totalTime = entry.totalTime;
    d.bestLap = entry.bestLap;
    d.averageLap = entry.averageLap;
    d.worstLap = entry.worstLap;
    d.lastLap = entry.lastLap;
    SetText(d.totalText, row.totalText);
    SetText(d.bestText, row.bestLapText);
    SetText(d.averageText, row.averageLapText);
    SetText(d.worstText, row.worstLapText);
    SetText(d.lastText, row.lastLapText);
    if (entry.slotNumber >= 1 && entry.slotNumber <= kSlotCount) {
      LoadRunLaps(ranked->slots[entry.slotNumber - 1], d.laps);
    }
  }
  MarkBestOfRun(out);
}

void BuildDriverRunExport(const ParticipantRecord& record, const char* runCaption,
                          const char* runTitle, const char* circuitName, ExportSession& out) {
  std::memset(out.title, 0, sizeof out.title);
  std::memset(out.label, 0, sizeof out.label);
  out.runs.clear();

  // One occupied slot holding the run, with the statistics the run windows show over its whole
  // range.
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof *race);
  for (ParticipantRecord& p : race->slots) SetText(p.driverName, kNoDriver);
  ParticipantRecord& p = race->slots[0];
  SetText(p.driverName, record.driverName);
  if (IsEmptySlot(p)) SetText(p.driverName, "");  // a damaged slot never makes the run vanish
  ResetTable(*race);
  SetDefaultRaceParameters(race->params);
  auto laps = std::make_unique<RunLaps>();
  LoadRunLaps(record, *laps);
  p.lapCount = laps->lapCount;
  std::memcpy(p.passageTimes, laps->passageTimes, sizeof p.passageTimes);
  const int n = laps->lapCount;
  if (n > 0) {
    LapSummary summary;
    std::memset(&summary, 0, sizeof summary);
    Summarise(*laps, 1, n, summary);
    p.bestLap = summary.bestLap;
    p.worstLap = summary.worstLap;
    p.averageLap = summary.averageLap;
    p.lastLap = laps->lapTimes[n];
  }

  if (runCaption == nullptr) runCaption = "";
  out.runs.resize(1);
  const ExportRunInfo info{RunNumberOfCaption(runCaption), runCaption, runTitle, circuitName};
  BuildRunFromRace(*race, info, out.runs[0]);
  FormatHeadingLine(runCaption, record.driverName, out.title, sizeof out.title);
}

void BuildArchivedRunExport(const ArchivedRun& archived, ExportSession& out) {
  BuildDriverRunExport(archived.participant, archived.runCaption, archived.runTitle,
                       archived.trackName, out);
}

int32_t RunNumberOfCaption(const char* caption) {
  if (caption == nullptr) return 0;
  const char* run = nullptr;
  for (const char* s = std::strstr(caption, "Run"); s != nullptr; s = std::strstr(s + 1, "Run")) {
    run = s;  // the last one: the session name may hold the word too
  }
  if (run == nullptr) return 0;
  int32_t n = 0;
  const char* c = run + 3;
  if (*c < '0' || *c > '9') return 0;
  for (; *c >= '0' && *c <= '9'; ++c) {
    n = n * 10 + (*c - '0');
    if (n > kMaxExportRuns) return 0;
  }
  while (*c == ' ') ++c;
  return *c == '\0' ? n : 0;
}

}  // namespace zarvo
