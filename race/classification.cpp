// The ranking rules and time texts of the results table.
#include "race/classification.h"

#include <cstdio>
#include <cstring>

#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The working copy of one slot that a ranking round looks at.
struct RankCopy {
  int32_t lapCount;
  int32_t totalTime;
  int32_t lastLap;
  int32_t bestLap;
};

void MakeCopies(const ParticipantRecord (&slots)[kSlotCount], RankCopy (&copies)[kSlotCount]) {
  for (int s = 0; s < kSlotCount; ++s) {
    const ParticipantRecord& p = slots[s];
    int lapIndex = p.lapCount;
    if (lapIndex < 0) lapIndex = 0;
    if (lapIndex >= kPassageCapacity) lapIndex = kPassageCapacity - 1;
    copies[s] = {p.lapCount, p.passageTimes[lapIndex], p.lastLap, p.bestLap};
  }
}

// Writes the chosen slot out as a standings entry, with the ranking's view of its times.
void WriteEntry(const ParticipantRecord& p, const RankCopy& copy, StandingsEntry& e) {
  SetText(e.driverName, p.driverName);
  SetText(e.transponder, p.transponder);
  e.slotNumber = p.slotNumber;
  e.lapCount = copy.lapCount;
  e.totalTime = copy.totalTime;
  e.lastLap = copy.lastLap;
  e.bestLap = copy.bestLap;
  e.worstLap = p.worstLap;
  e.averageLap = p.averageLap;
  e.finished = p.finished;
  e.lapRecorded = p.lapRecorded;
  e.newBest = p.newBest;
  e.runBestHolder = p.runBestHolder;
}

int32_t ZeroIfMissing(int32_t t) { return t == kMissingTime ? 0 : t; }

}  // namespace

void RankByLapsAndTime(const ParticipantRecord (&slots)[kSlotCount], int n,
                       StandingsEntry (&standings)[kSlotCount]) {
  RankCopy copies[kSlotCount];
  MakeCopies(slots, copies);
  if (n > kSlotCount) n = kSlotCount;
  for (int round = 0; round < n; ++round) {
    int32_t bestLaps = 0;
    int32_t bestTotal = kEmptySlotTime;
    int32_t bestLast = kEmptySlotTime;
    int chosen = -1;
    for (int s = 0; s < kSlotCount; ++s) {
      RankCopy& c = copies[s];
      if (c.lapCount == 0) {
        if (c.totalTime == 0) c.totalTime = kMissingTime;
        if (c.lastLap == 0) c.lastLap = kMissingTime;
      }
      const bool better = c.lapCount > bestLaps ||
                          (c.lapCount == bestLaps && c.totalTime < bestTotal) ||
                          (c.lapCount == bestLaps && c.totalTime == bestTotal && c.lastLap <= bestLast);
      if (better) {
        bestLaps = c.lapCount;
        bestTotal = c.totalTime;
        bestLast = c.lastLap;
        chosen = s;
      }
    }
    if (chosen < 0) return;  // only placed entries are left
    RankCopy out = copies[chosen];
    if (out.lapCount == 0) {
      out.totalTime = ZeroIfMissing(out.totalTime);
      out.lastLap = ZeroIfMissing(out.lastLap);
    }
    WriteEntry(slots[chosen], out, standings[round]);
    copies[chosen].lapCount = 0;
    copies[chosen].totalTime = kPlacedTime;
    copies[chosen].lastLap = kPlacedTime;
  }
}

void RankByBestLap(const ParticipantRecord (&slots)[kSlotCount], int n,
                   StandingsEntry (&standings)[kSlotCount]) {
  RankCopy copies[kSlotCount];
  MakeCopies(slots, copies);
  if (n > kSlotCount) n = kSlotCount;
  for (int round = 0; round < n; ++round) {
    int32_t bestBest = kEmptySlotTime;
    int32_t bestLast = kEmptySlotTime;
    int chosen = -1;
    for (int s = 0; s < kSlotCount; ++s) {
      RankCopy& c = copies[s];
      if (c.lapCount == 0) {
        if (c.bestLap == 0) c.bestLap = kMissingTime;
        if (c.lastLap == 0) c.lastLap = kMissingTime;
      }
      if (c.bestLap < bestBest || (c.bestLap == bestBest && c.lastLap <= bestLast)) {
        bestBest = c.bestLap;
        bestLast = c.lastLap;
        chosen = s;
      }
    }
    if (chosen < 0) return;
    RankCopy out = copies[chosen];
    if (out.lapCount == 0) {
      out.bestLap = ZeroIfMissing(out.bestLap);
      out.lastLap = ZeroIfMissing(out.lastLap);
    }
    WriteEntry(slots[chosen], out, standings[round]);
    copies[chosen].bestLap = kPlacedTime;
    copies[chosen].lastLap = kPlacedTime;
  }
}

TimeParts SplitTime(int32_t t) {
  TimeParts parts;
  parts.hours = t / 3600000;
  parts.minutes = (t - parts.hours * 3600000) / 60000;
  parts.seconds = (t - parts.hours * 3600000 - parts.minutes * 60000) / 1000;
  parts.milliseconds = t - parts.hours * 3600000 - parts.minutes * 60000 - parts.seconds * 1000;
  return parts;
}

void SplitTimes(StandingsEntry (&standings)[kSlotCount], int n) {
  if (n > kSlotCount) n = kSlotCount;
  for (int k = 0; k < n; ++k) {
    StandingsEntry& e = standings[k];
    e.timeParts[kPartsTotal] = SplitTime(e.totalTime);
    e.timeParts[kPartsLast] = SplitTime(e.lastLap);
    e.timeParts[kPartsBest] = SplitTime(e.bestLap);
    e.timeParts[kPartsWorst] = SplitTime(e.worstLap);
    e.timeParts[kPartsAverage] = SplitTime(e.averageLap);
  }
}

namespace {

// Writes value with at least minDigits digits (leading zeros), as "%0*d" does for value >= 0.
char* PutNumber(char* p, int32_t value, int minDigits) {
  char digits[12];
  int n = 0;
  uint32_t v = static_cast<uint32_t>(value);
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < minDigits) digits[n++] = '0';
  while (n > 0) *p++ = digits[--n];
  return p;
}

// The time texts are written on every recorded lap for every row, so they avoid snprintf. Each
// piece is at most 10 digits: the longest text is 37 bytes, and it is cut to the capacity.
void FinishText(const char* text, size_t length, char* out, size_t capacity) {
  if (capacity == 0) return;
  if (length > capacity - 1) length = capacity - 1;
  std::memcpy(out, text, length);
  out[length] = '\0';
}

bool AnyNegative(const TimeParts& t) {
  return t.hours < 0 || t.minutes < 0 || t.seconds < 0 || t.milliseconds < 0;
}

// "h:mm:ss.fff", "m:ss.fff" or "s.fff" by the number of leading parts shown.
char* FormatParts(const TimeParts& t, int leadingParts, char* out, size_t capacity) {
  if (AnyNegative(t)) {  // damaged data only; keep printf's exact output
    if (leadingParts == 3) {
      std::snprintf(out, capacity, "%d:%02d:%02d.%03d", t.hours, t.minutes, t.seconds,
                    t.milliseconds);
    } else if (leadingParts == 2) {
      std::snprintf(out, capacity, "%d:%02d.%03d", t.minutes, t.seconds, t.milliseconds);
    } else {
      std::snprintf(out, capacity, "%d.%03d", t.seconds, t.milliseconds);
    }
    return out;
  }
  char text[48];
  char* p = text;
  if (leadingParts == 3) {
    p = PutNumber(p, t.hours, 1);
    *p++ = ':';
    p = PutNumber(p, t.minutes, 2);
    *p++ = ':';
    p = PutNumber(p, t.seconds, 2);
  } else if (leadingParts == 2) {
    p = PutNumber(p, t.minutes, 1);
    *p++ = ':';
    p = PutNumber(p, t.seconds, 2);
  } else {
    p = PutNumber(p, t.seconds, 1);
  }
  *p++ = '.';
  p = PutNumber(p, t.milliseconds, 3);
  FinishText(text, static_cast<size_t>(p - text), out, capacity);
  return out;
}

}  // namespace

void FormatCount(const char* format, int32_t value, char* out, size_t capacity) {
  if (value < 0) {
    std::snprintf(out, capacity, format, value);
    return;
  }
  char text[16];
  char* p = text;
  const bool padded = format[0] == ' ';
  if (padded) *p++ = ' ';
  p = PutNumber(p, value, 1);
  if (padded) *p++ = ' ';
  FinishText(text, static_cast<size_t>(p - text), out, capacity);
}

char* FormatThreeForm(const TimeParts& t, char* out, size_t capacity) {
  const int leading = t.hours != 0 ? 3 : (t.minutes != 0 ? 2 : 1);
  return FormatParts(t, leading, out, capacity);
}

char* FormatTotalTime(const TimeParts& t, char* out, size_t capacity) {
  return FormatParts(t, t.hours != 0 ? 3 : 2, out, capacity);
}

char* FormatClockTenths(int32_t t, char* out, size_t capacity) {
  TimeParts parts = SplitTime(t);
  parts.milliseconds = parts.milliseconds / 100 * 100;
  return FormatThreeForm(parts, out, capacity);
}

void FormatRows(const StandingsEntry (&standings)[kSlotCount], int n,
                ResultsRow (&rows)[kSlotCount]) {
  if (n > kSlotCount) n = kSlotCount;
  for (int k = 0; k < n; ++k) {
    const StandingsEntry& e = standings[k];
    ResultsRow& row = rows[k];
    SetText(row.driverName, e.driverName);
    SetText(row.transponder, e.transponder);
    FormatCount(" %d ", e.slotNumber, row.slotText, sizeof row.slotText);
    FormatCount("%d", e.lapCount, row.lapsText, sizeof row.lapsText);
    row.finished = e.finished;
    row.lapRecorded = e.lapRecorded;
    row.newBest = e.newBest;
    row.runBestHolder = e.runBestHolder;
    FormatTotalTime(e.timeParts[kPartsTotal], row.totalText, sizeof row.totalText);
    FormatThreeForm(e.timeParts[kPartsLast], row.lastLapText, sizeof row.lastLapText);
    FormatThreeForm(e.timeParts[kPartsBest], row.bestLapText, sizeof row.bestLapText);
    FormatThreeForm(e.timeParts[kPartsWorst], row.worstLapText, sizeof row.worstLapText);
    FormatThreeForm(e.timeParts[kPartsAverage], row.averageLapText, sizeof row.averageLapText);
  }
}

}  // namespace zarvo
