// Sessions and runs for the export tests and the export sample: runs made from lap times, the
// session file that holds them, and an archived run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "databases/runs_database.h"
#include "race/race_model.h"

namespace zarvo::testing {

struct SampleDriver {
  std::string name;  // Windows-1252
  std::vector<int32_t> laps;
};

// A run of these drivers from slot 1 on: their passage times add up their laps, and the last,
// best, worst and average laps are what passage processing leaves (average = total / laps).
std::unique_ptr<Race> RunOfDrivers(
    const std::vector<SampleDriver>& drivers,
    const char* runTitle = "Start 2026/05/01 14:03:10 - Duration 0:10:00");

// Sets a record's laps as passage processing would have recorded them.
void SetLaps(ParticipantRecord& record, const std::vector<int32_t>& laps);

struct SampleSession {
  const char* name = "CLUB DAY";
  const char* label = "Spring practice";
  const char* circuit = "Les Ormes";
  const char* classificationKey = kRankLapsAndTime;
  // Run n is runs[n - 1]; a null run is a run added but never timed (no section).
  std::vector<const Race*> runs;
};

// The bytes of the session file: header, participants list (the drivers of the first run that
// has any), track, race parameters and one section per run, written by the session file's own
// builders.
std::string SessionFileOf(const SampleSession& session);

// n laps around 20.5 s with some spread, from a seed.
std::vector<int32_t> PracticeLapsOf(int n, unsigned seed);

// A full run: 20 drivers of 999 laps, named by nameFormat ("%d": 1..20), their laps from seeds
// seed, seed + 1, ...
std::vector<SampleDriver> FullField(const char* nameFormat, unsigned seed);

// An archived run of one driver as the runs database gives it back.
std::unique_ptr<ArchivedRun> ArchivedRunOf(const char* driverName, const std::vector<int32_t>& laps,
                                           const char* caption, const char* title,
                                           const char* track);

}  // namespace zarvo::testing
