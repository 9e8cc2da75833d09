// Live results snapshots for the web tests.
#include "tests/support/live_samples.h"

#include <cstdio>

#include "text/fixed_text.h"

namespace zarvo::testing {

namespace {

// Names and transponders outlive the fixture's initializer list.
struct Roster {
  std::vector<std::string> names, transponders;
  explicit Roster(int count) {
    for (int s = 1; s <= count; ++s) {
      names.push_back("Driver " + std::to_string(s));
      char t[8];
      std::snprintf(t, sizeof t, "%06d", 1000 + s);
      transponders.push_back(t);
    }
  }
};

}  // namespace

std::unique_ptr<TimingFixture> TimedRace(int count, int laps) {
  Roster roster(count);
  auto f = std::make_unique<TimingFixture>(Drivers{});
  Race& race = *f->race;
  for (int s = 0; s < count; ++s) {
    SetText(race.slots[s].driverName, roster.names[s].c_str());
    SetText(race.slots[s].transponder, roster.transponders[s].c_str());
  }
  // A time run stops when a driver reaches the lap ceiling; here every driver may reach it.
  race.params.maximumLapCount = kMaxLapCount + 1;
  // 999 laps of up to 39 s take under 11 hours: the run's 12 hours are not over.
  race.params.durationMinutes = 720;
  SplitDuration(race.params);
  ResetTable(race);
  WipeStandings(race);
  RebuildStandings(race);
  RebuildRows(race);
  std::vector<int32_t> at(count, 0);
  for (int s = 0; s < count; ++s) {
    at[s] = 1000 + 50 * s;
    f->Pass(roster.transponders[s].c_str(), at[s]);  // starts the driver's own clock
  }
  for (int lap = 1; lap <= laps; ++lap) {
    for (int s = 0; s < count; ++s) {
      at[s] += 30000 + 100 * (s + 1) + 7 * lap;
      f->Pass(roster.transponders[s].c_str(), at[s]);
    }
  }
  SetText(race.run.runTitle, "Start 2024/05/01 14:03:10 - Duration 1:00:00");
  return f;
}

RunResults TimedRunResults(int runNumber, int count, int laps) {
  std::unique_ptr<TimingFixture> f = TimedRace(count, laps);
  MarkRunOver(*f->race);
  return SummariseRun(runNumber, *f->race, kRankLapsAndTime);
}

std::shared_ptr<Snapshot> SampleSnapshot(int count, int laps, std::vector<RunResults> otherRuns) {
  std::unique_ptr<TimingFixture> f = TimedRace(count, laps);
  Race& race = *f->race;
  SetText(race.run.durationText, "1:00:00");
  SetText(race.run.elapsedText, "0:12:34");
  SetText(race.run.remainingText, "0:47:26");
  SetText(race.run.countdownText, "5s");
  auto runs = std::make_shared<SessionRuns>();
  runs->id = 77;
  runs->runs = std::move(otherRuns);
  return BuildLiveSnapshot(race, "SEANCE TRAINING", 3, runs);
}

}  // namespace zarvo::testing
