// Live results snapshots for the web tests: races timed through passage processing, so the rows
// hold the texts the results table shows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/support/test_race.h"
#include "web/live_snapshot.h"

namespace zarvo::testing {

// A timing fixture whose `count` drivers ("Driver 1"... with transponders 001001...) have each
// driven `laps` laps of 30 s plus slot x 100 ms plus lap x 7 ms, crossing in slot order, in a
// 12-hour time run.
std::unique_ptr<TimingFixture> TimedRace(int count, int laps);

// A stored run of the same shape, as a session's other run reads back.
RunResults TimedRunResults(int runNumber, int count, int laps);

// A snapshot of a running run of `count` drivers with `laps` laps each, with the other runs given.
std::shared_ptr<Snapshot> SampleSnapshot(int count, int laps,
                                         std::vector<RunResults> otherRuns = {});

}  // namespace zarvo::testing
