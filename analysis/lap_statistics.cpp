// Summary, histogram and curve window of a lap range, their scales and texts.
#include "analysis/lap_statistics.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "race/classification.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

int32_t Clamp32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// The range cut to 1..n; false when nothing is left of it.
bool CutRange(const RunLaps& laps, int& first, int& last) {
  const int n = laps.lapCount < kMaxLapCount ? laps.lapCount : kMaxLapCount;
  if (n <= 0 || last < first) return false;
  if (first < 1) first = 1;
  if (last > n) last = n;
  return first <= last;
}

// (passage last - passage first-1) * scale / lap total, truncated toward zero.
int64_t RangeAverage(const RunLaps& laps, int first, int last, int64_t scale) {
  const int64_t span = int64_t(laps.passageTimes[last]) - laps.passageTimes[first - 1];
  return span * scale / (last - first + 1);
}

// The square root of the sum of (scale * lap - average)^2 / m, each term divided before it is
// added, truncated toward zero.
int32_t Deviation(const RunLaps& laps, int first, int last, int64_t scale, int64_t average) {
  const long double m = last - first + 1;
  long double sum = 0;
  for (int k = first; k <= last; ++k) {
    const long double d = static_cast<long double>(scale * laps.lapTimes[k] - average);
    sum += d * d / m;
  }
  const long double root = std::sqrt(sum);
  return root >= static_cast<long double>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(root);
}

}  // namespace

void LoadRunLaps(const ParticipantRecord& record, RunLaps& laps) {
  int32_t n = record.lapCount;
  if (n < 0) n = 0;
  if (n > kMaxLapCount) n = kMaxLapCount;
  laps.lapCount = n;
  std::memcpy(laps.passageTimes, record.passageTimes, sizeof laps.passageTimes);
  laps.lapTimes[0] = 0;
  for (int k = 1; k < kPassageCapacity; ++k) {
    laps.lapTimes[k] =
        k <= n ? Clamp32(int64_t(record.passageTimes[k]) - record.passageTimes[k - 1]) : 0;
  }
}

void Summarise(const RunLaps& laps, int first, int last, LapSummary& out) {
  if (!CutRange(laps, first, last)) return;
  const int32_t m = last - first + 1;
  out.lapTotal = m;
  const int64_t average = RangeAverage(laps, first, last, 1);
  out.averageLap = Clamp32(average);
  out.bestLap = kNoLapSentinel;
  out.worstLap = 0;
  for (int k = first; k <= last; ++k) {
    const int32_t lap = laps.lapTimes[k];
    if (lap < out.bestLap) {
      out.bestLap = lap;
      out.bestLapNumber = k;
    }
    if (lap > out.worstLap) {
      out.worstLap = lap;
      out.worstLapNumber = k;
    }
  }
  out.standardDeviation = Deviation(laps, first, last, 1, out.averageLap);
  const int64_t averageTenths = RangeAverage(laps, first, last, 10);
  out.averageTenths = Clamp32(averageTenths);
  out.deviationTenths = Deviation(laps, first, last, 10, averageTenths);

  static const int32_t kBandSteps[kBandCount] = {0,    100,  200,  500,  1000,
                                                 1500, 2000, 3000, 4000, 5000};
  const int64_t base = out.bestLap / 100 * 100;
  for (int i = 0; i < kBandCount; ++i) out.bandLimits[i] = Clamp32(base + kBandSteps[i]);
  for (int k = first; k <= last; ++k) {
    const int32_t lap = laps.lapTimes[k];
    for (int i = kBandCount - 1; i >= 0; --i) {
      if (lap >= out.bandLimits[i]) {
        ++out.bandCounts[i];
        break;
      }
    }
  }
  for (int i = 0; i < kBandCount; ++i) {
    out.bandShares[i] = static_cast<int32_t>(int64_t(out.bandCounts[i]) * 1000 / m);
  }
}

void MakeHistogram(const RunLaps& laps, int first, int last, LapHistogram& out) {
  if (!CutRange(laps, first, last)) return;
  out.lapTotal = last - first + 1;
  out.averageLap = Clamp32(RangeAverage(laps, first, last, 1));
  out.bestLap = kNoLapSentinel;
  for (int k = first; k <= last; ++k) {
    if (laps.lapTimes[k] < out.bestLap) out.bestLap = laps.lapTimes[k];
  }
  const int64_t base = out.bestLap / 1000 * 1000;
  for (int j = 0; j < kBinCount; ++j) out.binLimits[j] = Clamp32(base + 200 * j);
  for (int k = first; k <= last; ++k) {
    const int64_t above = int64_t(laps.lapTimes[k]) - base;
    if (above < 0) continue;  // only below a damaged negative best
    const int64_t bin = above / 200;
    ++out.binCounts[bin < kBinCount - 1 ? bin : kBinCount - 1];
  }
}

void MakeCurveWindow(const RunLaps& laps, int first, int last, CurveWindow& out) {
  if (!CutRange(laps, first, last)) return;
  if (last > first + kCurveWindowSpan) last = first + kCurveWindowSpan;
  out.lapTotal = last - first + 1;
  out.averageLap = Clamp32(RangeAverage(laps, first, last, 1));
  out.bestLap = kNoLapSentinel;
  out.worstLap = 0;
  for (int k = first; k <= last; ++k) {
    if (laps.lapTimes[k] < out.bestLap) out.bestLap = laps.lapTimes[k];
    if (laps.lapTimes[k] > out.worstLap) out.worstLap = laps.lapTimes[k];
  }
}

int32_t HistogramHeightScale(const LapHistogram& histogram) {
  int32_t c = 0;
  for (int32_t count : histogram.binCounts) {
    if (count > c) c = count;
  }
  if (c >= 11 && c <= 99) return c / 10 * 10 + 10;
  if (c > 100) return c / 100 * 100 + 100;
  return c;
}

CurveScale MakeCurveScale(const CurveWindow& window) {
  CurveScale scale;
  const int64_t low = window.bestLap / 1000 * 1000;
  const int64_t high = int64_t(window.worstLap) / 1000 * 1000 + 1000;
  scale.low = Clamp32(low);
  scale.high = Clamp32(high);
  const int64_t halfSeconds = (int64_t(scale.high) - scale.low) / 500;
  scale.steps = Clamp32(halfSeconds + 1);
  scale.gridLines = halfSeconds < 21 ? scale.steps : 21;
  return scale;
}

char* LapTimeText(int32_t t, char* out, size_t capacity) {
  return FormatThreeForm(SplitTime(t), out, capacity);
}

char* LapNumberText(int32_t lap, char* out, size_t capacity) {
  std::snprintf(out, capacity, TXT_SUMMARY_LAP_NUMBER, static_cast<int>(lap));
  return out;
}

char* DeviationText(const char* timeText, char* out, size_t capacity) {
  std::snprintf(out, capacity, TXT_SUMMARY_DEVIATION_VALUE, timeText);
  return out;
}

char* BandRowText(const LapSummary& summary, int band, char* out, size_t capacity) {
  char lower[kTimeTextCapacity];
  char upper[kTimeTextCapacity];
  if (band < 0 || band >= kBandCount) band = kBandCount - 1;
  LapTimeText(summary.bandLimits[band], lower, sizeof lower);
  if (band == kBandCount - 1) {
    std::snprintf(out, capacity, "%s < t ", lower);
  } else {
    LapTimeText(summary.bandLimits[band + 1], upper, sizeof upper);
    std::snprintf(out, capacity, "%s < t < %s", lower, upper);
  }
  return out;
}

char* ShareText(int32_t perMille, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%d.%01d %c", static_cast<int>(perMille / 10),
                static_cast<int>(perMille % 10), '%');
  return out;
}

char* TenthsText(int32_t tenths, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%d.%04d", static_cast<int>(tenths / 10000),
                static_cast<int>(tenths % 10000));
  return out;
}

}  // namespace zarvo
