// Runs made from lap times, for the analysis tests.
#pragma once

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "analysis/lap_statistics.h"
#include "race/race_model.h"
#include "text/fixed_text.h"

namespace zarvo::testing {

// A participant record whose passage times add up the given laps.
inline std::unique_ptr<ParticipantRecord> RecordOfLaps(const std::vector<int32_t>& laps) {
  auto p = std::make_unique<ParticipantRecord>();
  std::memset(p.get(), 0, sizeof *p);
  SetText(p->driverName, "Lucas MARTIN");
  p->lapCount = static_cast<int32_t>(laps.size());
  int64_t t = 0;
  for (size_t k = 0; k < laps.size() && k + 1 < size_t(kPassageCapacity); ++k) {
    t += laps[k];
    p->passageTimes[k + 1] = static_cast<int32_t>(t);
  }
  return p;
}

inline std::unique_ptr<RunLaps> RunOfLaps(const std::vector<int32_t>& laps) {
  auto run = std::make_unique<RunLaps>();
  LoadRunLaps(*RecordOfLaps(laps), *run);
  return run;
}

// n laps around 20.5 s with a little spread, as a practising driver makes them.
inline std::vector<int32_t> PracticeLaps(int n) {
  std::vector<int32_t> laps;
  unsigned seed = 7;
  for (int k = 0; k < n; ++k) {
    seed = seed * 1103515245u + 12345u;
    laps.push_back(20100 + static_cast<int32_t>((seed >> 16) % 1900));
  }
  return laps;
}

}  // namespace zarvo::testing
