// The callouts waiting to be said, oldest first: at most one a lane (a newer lap replaces the
// older one, which goes to the back of the line with the new time), and none older than 3 s.
// Times are the system tick count in ms; differences are taken modulo 2^32.
#pragma once

#include <cstdint>

#include "speech/lap_phrase.h"

namespace zarvo {

// A callout queued longer than this is no longer worth saying.
constexpr uint32_t kCalloutMaxAgeMs = 3000;

struct PendingCallout {
  LapEvent lap;
  uint32_t queuedAt;
};

class CalloutQueue {
 public:
  enum class Push { kQueued, kReplaced, kRefused };
  // Queues the lap at now, behind every callout already waiting; a callout of the same lane that
  // was waiting is taken out (kReplaced). A lane outside 1..20 is refused.
  Push Add(uint32_t now, const LapEvent& lap);
  // Takes out every callout queued more than kCalloutMaxAgeMs before now; returns how many.
  int DropStale(uint32_t now);
  // Takes out the oldest callout; false when none waits.
  bool Take(PendingCallout& out);
  void Clear() { count_ = 0; }
  int Size() const { return count_; }
  // The callout at place i (0 = the oldest), for the tests and the diagnostics.
  const PendingCallout& At(int i) const { return items_[i]; }

 private:
  void RemoveAt(int i);

  PendingCallout items_[kCalloutLaneCount];
  int count_ = 0;
};

}  // namespace zarvo
