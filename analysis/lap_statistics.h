// The numbers of a lap range of one run: the summary (view "Data"), the histogram (view "Histo")
// and the curve window (view "Curve"), the scales the views derive from them, and their texts.
// Pure computations on fixed arrays; all times are milliseconds unless a name says tenths.
//
// A range is first lap s to last lap e, both inclusive, laps numbered 1..n. The run windows keep
// it inside 1..n; a range that reaches outside is cut to 1..n here, so that nothing is ever read
// outside the passage table. Each computation leaves its (cleared) output alone when e < s after
// that cut or when the run has no lap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "race/race_model.h"

namespace zarvo {

constexpr int32_t kNoLapSentinel = 1500000000;  // starting value of every minimum
constexpr int kBandCount = 10;
constexpr int kBinCount = 40;
constexpr int kCurveWindowSpan = 100;  // the curve shows laps s..min(e, s + 100)
// A lap of 3.5 hours or more is a gap in the run (a car parked in the pits): it breaks the curve
// and is never hovered.
constexpr int32_t kCurveBreakLap = 12600000;

// The lap times of a run, derived once from its passage times.
struct RunLaps {
  int32_t lapCount;                        // 0..999
  int32_t passageTimes[kPassageCapacity];  // entry k ends lap k; entry 0 is the own start
  int32_t lapTimes[kPassageCapacity];      // entry k (1..lapCount) = passage k - passage k-1
};

// Copies the lap count (held to 0..999) and passage times and derives the lap times. A damaged
// record whose passage times go backwards or jump by more than 32 bits gets its laps held to the
// 32-bit range.
void LoadRunLaps(const ParticipantRecord& record, RunLaps& laps);

struct LapSummary {
  int32_t lapTotal;  // e - s + 1
  int32_t bestLap;   // first occurrence wins
  int32_t worstLap;
  int32_t averageLap;         // (passage e - passage s-1) / lapTotal, truncated
  int32_t standardDeviation;  // population deviation about averageLap, truncated to ms
  int32_t bestLapNumber;
  int32_t worstLapNumber;
  int32_t bandLimits[kBandCount];  // base + 0, 100, 200, 500, 1000, 1500, 2000, 3000, 4000, 5000
  int32_t bandCounts[kBandCount];  // band i: limit i <= t < limit i+1; the last: t >= base + 5000
  int32_t bandShares[kBandCount];  // per mille of lapTotal, truncated
  // The same average and deviation in tenths of a millisecond, which the French edition's
  // "Data" view shows as seconds with four decimals.
  int32_t averageTenths;
  int32_t deviationTenths;
};

struct LapHistogram {
  int32_t lapTotal;
  int32_t bestLap;
  int32_t averageLap;
  int32_t binLimits[kBinCount];  // base + 200 j, base = best truncated to a whole second
  int32_t binCounts[kBinCount];  // bin 39 also holds every lap at or above base + 7800
};

struct CurveWindow {
  int32_t lapTotal;  // laps s..min(e, s + 100)
  int32_t bestLap;
  int32_t worstLap;
  int32_t averageLap;
};

// The caller clears the output first (the functions only add to the counts).
void Summarise(const RunLaps& laps, int first, int last, LapSummary& out);
void MakeHistogram(const RunLaps& laps, int first, int last, LapHistogram& out);
void MakeCurveWindow(const RunLaps& laps, int first, int last, CurveWindow& out);

// The histogram's height scale H from its largest bin count c: c itself up to 10 and at 100,
// the next ten above for 11..99, the next hundred above over 100.
int32_t HistogramHeightScale(const LapHistogram& histogram);

// The curve's vertical bounds: low is the best lap cut to a whole second, high the worst lap's
// whole second plus one; steps are half seconds; at most 21 grid lines are drawn.
struct CurveScale {
  int32_t low;
  int32_t high;
  int32_t steps;      // q = (high - low) / 500 + 1
  int32_t gridLines;  // g = q while (high - low) / 500 < 21, else 21
};
CurveScale MakeCurveScale(const CurveWindow& window);

// --- Texts. Each writes a zero-terminated text cut to capacity and returns out.

// The race time text ("%d:%02d:%02d.%03d", "%d:%02d.%03d" or "%d.%03d" by magnitude).
char* LapTimeText(int32_t t, char* out, size_t capacity);
// "(L %d)" / "(T %d)".
char* LapNumberText(int32_t lap, char* out, size_t capacity);
// "+/- %s" around the given time text.
char* DeviationText(const char* timeText, char* out, size_t capacity);
// Band row i (0..9): "lower < t < upper", the last band "lower < t ".
char* BandRowText(const LapSummary& summary, int band, char* out, size_t capacity);
// A share in per mille as "%d.%01d %c": 125 reads "12.5 %".
char* ShareText(int32_t perMille, char* out, size_t capacity);
// Tenths of a millisecond as seconds with four decimals, "%d.%04d": 206000 reads "20.6000".
char* TenthsText(int32_t tenths, char* out, size_t capacity);

}  // namespace zarvo
