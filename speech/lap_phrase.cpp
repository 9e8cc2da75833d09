// The phrase of a lap: rounding, the parts of the time, the text and the snippets.
#include "speech/lap_phrase.h"

#include <cstdio>
#include <cstring>

#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// French reads the hundredths as one number ("vingt et un virgule trente-cinq") and counts
// minutes and hours in the feminine; English reads the hundredths digit by digit.
constexpr bool kFrench = ZT(false, true);
constexpr int kEditionLastNumber = ZT(59, 99);

constexpr int64_t kMaxCentiseconds = int64_t(60) * 360000;  // 60 hours

struct LapParts {
  int hours;
  int minutes;
  int seconds;
  int hundredths;
};

// Rounded to the nearest hundredth, halves up: 21995 ms is 22.00.
LapParts SplitRounded(int32_t lapTime) {
  const int64_t cs = (int64_t(lapTime) + 5) / 10;
  return {int(cs / 360000), int(cs / 6000 % 60), int(cs / 100 % 60), int(cs % 100)};
}

// A text that grows by pieces and never outgrows its capacity.
class TextBuilder {
 public:
  TextBuilder(char* out, size_t capacity) : out_(out), capacity_(capacity) {
    if (capacity_ > 0) out_[0] = '\0';
  }
  void Append(const char* piece) {
    if (capacity_ == 0) return;
    while (*piece != '\0' && length_ + 1 < capacity_) out_[length_++] = *piece++;
    out_[length_] = '\0';
  }
  void AppendNumber(const char* format, int n) {
    char piece[32];
    std::snprintf(piece, sizeof piece, format, n);
    Append(piece);
  }

 private:
  char* out_;
  size_t capacity_;
  size_t length_ = 0;
};

// The position's word, taken from the '|'-separated list of the catalogue.
void AppendPosition(TextBuilder& text, int position) {
  const char* word = TXT_CALLOUT_POSITIONS;
  for (int k = 1; k < position; ++k) word = std::strchr(word, '|') + 1;
  char piece[32];
  size_t n = std::strcspn(word, "|");
  if (n >= sizeof piece) n = sizeof piece - 1;
  std::memcpy(piece, word, n);
  piece[n] = '\0';
  text.Append(piece);
}

bool WantsPosition(const LapEvent& lap, bool sayPosition) {
  return sayPosition && lap.position >= 1 && lap.position <= kCalloutLaneCount;
}

class SequenceBuilder {
 public:
  explicit SequenceBuilder(SnippetSequence& out) : out_(out) { out_.count = 0; }
  void Add(SnippetId id) {
    if (out_.count < kMaxPhraseSnippets) out_.items[out_.count++] = id;
  }
  void AddNumber(int n) { Add(SnippetId(kSnippetNumber0 + n)); }
  // Minutes and hours: French says "une", "vingt et une" ... for 1, 21, 31, 41 and 51.
  void AddCount(int n) {
    if (kFrench && n % 10 == 1 && n != 11) {
      Add(n == 1 ? kSnippetFeminine1 : SnippetId(kSnippetFeminine21 + (n / 10 - 2)));
    } else {
      AddNumber(n);
    }
  }

 private:
  SnippetSequence& out_;
};

}  // namespace

LapEvent MakeLapEvent(int slot, const char* driverName, int32_t lapTime, int32_t lapNumber,
                      bool newBest, int position) {
  LapEvent lap;
  lap.slot = slot;
  SetText(lap.driverName, driverName);
  lap.lapTime = lapTime;
  lap.lapNumber = lapNumber;
  lap.newBest = newBest;
  lap.position = position;
  return lap;
}

bool CanCallOut(const LapEvent& lap) {
  return lap.lapNumber >= 1 && lap.slot >= 1 && lap.slot <= kCalloutLaneCount && lap.lapTime >= 0 &&
         (int64_t(lap.lapTime) + 5) / 10 < kMaxCentiseconds;
}

bool SaysBestLap(const LapEvent& lap) {
  return lap.newBest && lap.lapNumber >= 2;
}

bool LapPhraseText(const LapEvent& lap, bool sayPosition, char* out, size_t capacity) {
  TextBuilder text(out, capacity);
  if (!CanCallOut(lap)) return false;
  if (strnlen(lap.driverName, sizeof lap.driverName) == 0) {
    text.AppendNumber(TXT_CALLOUT_LANE, lap.slot);
  } else {
    char name[kCalloutNameCapacity];
    SetText(name, sizeof name, lap.driverName, strnlen(lap.driverName, sizeof lap.driverName));
    text.Append(name);
  }
  text.Append(", ");
  const LapParts t = SplitRounded(lap.lapTime);
  if (t.hours == 1) text.Append(TXT_CALLOUT_ONE_HOUR);
  if (t.hours > 1) text.AppendNumber(TXT_CALLOUT_HOURS, t.hours);
  if (t.hours > 0) text.Append(" ");
  if (t.minutes == 1) text.Append(TXT_CALLOUT_ONE_MINUTE);
  if (t.minutes > 1) text.AppendNumber(TXT_CALLOUT_MINUTES, t.minutes);
  if (t.minutes > 0) text.Append(" ");
  text.AppendNumber("%d", t.seconds);
  text.Append(TXT_CALLOUT_DECIMAL);
  text.AppendNumber("%02d", t.hundredths);
  if (SaysBestLap(lap)) {
    text.Append(", ");
    text.Append(TXT_CALLOUT_BEST_LAP);
  }
  if (WantsPosition(lap, sayPosition)) {
    text.Append(", ");
    AppendPosition(text, lap.position);
  }
  return true;
}

bool LapPhraseSnippets(const LapEvent& lap, bool sayPosition, SnippetSequence& out) {
  SequenceBuilder seq(out);
  if (!CanCallOut(lap)) return false;
  seq.Add(kSnippetLane);
  seq.AddNumber(lap.slot);
  seq.Add(kSnippetPause);
  const LapParts t = SplitRounded(lap.lapTime);
  if (t.hours > 0) {
    seq.AddCount(t.hours);
    seq.Add(t.hours == 1 ? kSnippetHour : kSnippetHours);
  }
  if (t.minutes > 0) {
    seq.AddCount(t.minutes);
    seq.Add(t.minutes == 1 ? kSnippetMinute : kSnippetMinutes);
  }
  seq.AddNumber(t.seconds);
  seq.Add(kSnippetDecimal);
  if (kFrench && t.hundredths >= 10) {
    seq.AddNumber(t.hundredths);  // "trente-cinq"
  } else {
    seq.AddNumber(t.hundredths / 10);  // "three five", "zéro cinq"
    seq.AddNumber(t.hundredths % 10);
  }
  if (SaysBestLap(lap)) {
    seq.Add(kSnippetPause);
    seq.Add(kSnippetBestLap);
  }
  if (WantsPosition(lap, sayPosition)) {
    seq.Add(kSnippetPause);
    seq.Add(SnippetId(kSnippetRank1 + lap.position - 1));
  }
  return true;
}

bool EditionHasSnippet(SnippetId id) {
  if (id < 0 || id >= kSnippetCount) return false;
  if (id <= kSnippetNumber0 + 99) return id - kSnippetNumber0 <= kEditionLastNumber;
  if (id >= kSnippetFeminine1) return kFrench;
  return true;
}

bool SnippetFile(SnippetId id, char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  if (!EditionHasSnippet(id)) return false;
  static const char* const kWords[] = {"virgule", "minute", "minutes",      "heure",
                                       "heures",  "ligne",  "meilleurTour", "1f",
                                       "21f",     "31f",    "41f",          "51f"};
  static_assert(sizeof kWords / sizeof kWords[0] == kSnippetCount - kSnippetDecimal);
  char stem[24];
  if (id < kSnippetRank1) {
    std::snprintf(stem, sizeof stem, "%d", id - kSnippetNumber0);
  } else if (id < kSnippetDecimal) {
    std::snprintf(stem, sizeof stem, "rang%d", id - kSnippetRank1 + 1);
  } else {
    SetText(stem, sizeof stem, kWords[id - kSnippetDecimal]);
  }
  const int n = std::snprintf(out, capacity, "%s%s%s.wav", kSnippetFolder, stem, ZT("GB", ""));
  return n > 0 && size_t(n) < capacity;
}

}  // namespace zarvo
