// The waiting line of the lap callouts.
#include "speech/callout_queue.h"

namespace zarvo {

void CalloutQueue::RemoveAt(int i) {
  for (int k = i + 1; k < count_; ++k) items_[k - 1] = items_[k];
  --count_;
}

CalloutQueue::Push CalloutQueue::Add(uint32_t now, const LapEvent& lap) {
  if (lap.slot < 1 || lap.slot > kCalloutLaneCount) return Push::kRefused;
  Push result = Push::kQueued;
  for (int i = 0; i < count_; ++i) {
    if (items_[i].lap.slot != lap.slot) continue;
    RemoveAt(i);
    result = Push::kReplaced;
    break;
  }
  // One callout a lane at most, so the line never holds more than the lanes.
  items_[count_++] = PendingCallout{lap, now};
  return result;
}

int CalloutQueue::DropStale(uint32_t now) {
  int dropped = 0;
  for (int i = 0; i < count_;) {
    if (uint32_t(now - items_[i].queuedAt) > kCalloutMaxAgeMs) {
      RemoveAt(i);
      ++dropped;
    } else {
      ++i;
    }
  }
  return dropped;
}

bool CalloutQueue::Take(PendingCallout& out) {
  if (count_ == 0) return false;
  out = items_[0];
  RemoveAt(0);
  return true;
}

}  // namespace zarvo
