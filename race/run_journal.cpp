// The run journal's lines and their reader (the replay is in run_replay.cpp).
#include "race/run_journal.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr const char kStartTag[] = "Depart";
constexpr const char kPassageTag[] = "Passage";
constexpr const char kManualLapTag[] = "TourManuel";
constexpr const char kSetupTag[] = "Reglages";
constexpr const char kEndTag[] = "Fin";
constexpr int kCrcDigits = 8;
constexpr int kOldestVersion = 1;

uint32_t Crc32(std::string_view bytes) {
  static const auto table = [] {
    struct Table {
      uint32_t t[256];
    } table{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table.t[i] = c;
    }
    return table;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    const uint32_t b = static_cast<unsigned char>(c);
    crc = table.t[(crc ^ b) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}

// ---- Writing: fields into a buffer of fixed size (each line's capacity is well above the most
// its fields can take).
class LineWriter {
 public:
  LineWriter(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

  void Char(char c) {
    if (size_ < capacity_) buffer_[size_++] = c;
  }
  void Text(const char* text, size_t capacity) {
    for (size_t i = 0; i < capacity && text[i] != '\0'; ++i) {
      const char c = text[i];
      Char(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
    }
    Char('\t');
  }
  template <size_t N>
  void Text(const char (&text)[N]) {
    Text(text, N);
  }
  void Number(int64_t value) {
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%lld\t", static_cast<long long>(value));
    for (int i = 0; i < n; ++i) Char(text[i]);
  }
  void Setup(const SetupSheet& setup) {
    for (int i = 0; i < kSetupFieldCount; ++i) {
      Text(SetupField(setup, i), size_t(SetupFieldCapacity(i)));
    }
  }
  // The CRC of the content, its tab and the line end; the line's length.
  size_t Finish() {
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X\t\r\n",
                  static_cast<unsigned>(Crc32(std::string_view(buffer_, size_))));
    for (int i = 0; crc[i] != '\0'; ++i) Char(crc[i]);
    return size_;
  }

 private:
  char* buffer_;
  size_t capacity_;
  size_t size_ = 0;
};

template <typename Format>
std::string AsString(Format&& format) {
  auto line = std::make_unique<JournalLine>();
  format(*line);
  return std::string(line->View());
}

// ---- Reading.

// The fields of one line, each followed by a tab; the line end is not part of the view.
class Fields {
 public:
  explicit Fields(std::string_view line) : rest_(line) {}
  bool Next(std::string_view& field) {
    const size_t tab = rest_.find('\t');
    if (tab == std::string_view::npos) return false;
    field = rest_.substr(0, tab);
    rest_.remove_prefix(tab + 1);
    return true;
  }
  bool Text(char* out, size_t capacity) {
    std::string_view f;
    if (!Next(f)) return false;
    SetText(out, capacity, f.data(), f.size());
    return true;
  }
  template <size_t N>
  bool Text(char (&out)[N]) {
    return Text(out, N);
  }
  bool Number(int64_t& out, int64_t low, int64_t high) {
    std::string_view f;
    if (!Next(f) || f.empty() || f.size() > 20) return false;
    size_t i = 0;
    const bool negative = f[0] == '-';
    if (negative) ++i;
    if (i == f.size()) return false;
    uint64_t value = 0;
    for (; i < f.size(); ++i) {
      if (f[i] < '0' || f[i] > '9') return false;
      value = value * 10 + uint64_t(f[i] - '0');
      if (value > (uint64_t(1) << 62)) return false;
    }
    const int64_t v = negative ? -int64_t(value) : int64_t(value);
    if (v < low || v > high) return false;
    out = v;
    return true;
  }
  bool Int32(int32_t& out, int64_t low = INT32_MIN, int64_t high = INT32_MAX) {
    int64_t v = 0;
    if (!Number(v, low, high)) return false;
    out = static_cast<int32_t>(v);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

enum class LineState { kLine, kBad, kEnd };

// The next line from pos, without its line end: kLine when it checks out by its CRC (the CRC
// field removed), kBad when it is torn, over-long or its CRC does not match (pos moved past it),
// kEnd at the end of the bytes.
LineState NextLine(std::string_view bytes, size_t& pos, std::string_view& line) {
  if (pos >= bytes.size()) return LineState::kEnd;
  const size_t end = bytes.find('\n', pos);
  if (end == std::string_view::npos) {
    pos = bytes.size();  // torn: nothing of it can be trusted
    return LineState::kBad;
  }
  std::string_view whole = bytes.substr(pos, end - pos);
  pos = end + 1;
  if (whole.size() > kMaxJournalLineBytes) return LineState::kBad;
  if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
  // "...\t" + 8 hex digits + "\t"
  if (whole.size() < kCrcDigits + 2 || whole.back() != '\t') return LineState::kBad;
  const std::string_view digits = whole.substr(whole.size() - 1 - kCrcDigits, kCrcDigits);
  const std::string_view content = whole.substr(0, whole.size() - 1 - kCrcDigits);
  if (content.empty() || content.back() != '\t') return LineState::kBad;
  uint32_t crc = 0;
  for (char c : digits) {
    int v;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      v = c - 'A' + 10;
    } else {
      return LineState::kBad;
    }
    crc = crc << 4 | uint32_t(v);
  }
  if (crc != Crc32(content)) return LineState::kBad;
  line = content;
  return LineState::kLine;
}

bool ParseStart(std::string_view line, JournalStart& start, Race* table) {
  Fields f(line);
  std::string_view tag;
  int64_t version = 0;
  if (!f.Next(tag) || tag != kStartTag || !f.Number(version, kOldestVersion, kJournalVersion)) {
    return false;
  }
  std::memset(&start, 0, sizeof start);
  start.version = static_cast<int32_t>(version);
  int32_t soundOn = 0;
  RaceParameters& p = start.params;
  int64_t tick = 0;
  bool ok = f.Int32(start.runNumber, 1, 20) && f.Int32(soundOn, 0, 1) &&
            f.Text(start.sessionName) && f.Text(start.savedFilePath);
  if (ok && version >= 2) ok = f.Text(start.sessionStamp) && f.Text(start.circuitName);
  ok = ok && f.Text(start.runTitle) && f.Text(p.classificationKey) && f.Text(p.durationMode) &&
       f.Text(p.startMode) && f.Text(p.endRuleTime) && f.Text(p.endRuleLaps) &&
       f.Int32(p.durationMinutes, 1, 720) && f.Int32(p.lapTarget, 1, kMaxLapCount) &&
       f.Int32(p.countdownSeconds, 0, 3600) && f.Int32(p.circuitIndex, 0, kNoCircuit) &&
       f.Int32(p.minimumLapSeconds, 0, 999) && f.Int32(p.maximumLapCount, 1, kMaxLapCount) &&
       f.Int32(p.lapRunLimitHours, 0, 999) && f.Number(tick, 0, UINT32_MAX) &&
       f.Number(start.counterFrequency, 0, INT64_MAX) &&
       f.Number(start.raceStartCounter, INT64_MIN + 1, INT64_MAX) &&
       f.Int32(start.decoderTimeAtStart);
  if (!ok) return false;
  start.passageSoundOn = soundOn == 1;
  start.raceStartTick = static_cast<uint32_t>(tick);
  SplitDuration(p);
  for (int k = 0; k < kSlotCount; ++k) {
    ParticipantRecord scratch;
    ParticipantRecord& slot = table != nullptr ? table->slots[k] : scratch;
    if (!f.Text(slot.driverName) || !f.Text(slot.transponder)) return false;
    for (int i = 0; i < kSetupFieldCount; ++i) {
      if (!f.Text(SetupField(slot.setup, i), SetupFieldCapacity(i))) return false;
    }
  }
  return f.AtEnd();
}

bool ParseEvent(std::string_view line, int64_t lastSeq, JournalEvent& event) {
  Fields f(line);
  std::string_view tag;
  int64_t seq = 0;
  if (!f.Next(tag) || !f.Number(seq, lastSeq + 1, INT64_MAX / 2)) return false;
  std::memset(&event, 0, sizeof event);
  event.seq = seq;
  if (tag == kPassageTag) {
    std::string_view device;
    event.kind = JournalEvent::Kind::kPassage;
    if (!f.Text(event.transponder) || !f.Int32(event.raceTime) || !f.Next(device)) return false;
    if (device == "D") {
      event.clock = DecodedPassage::Clock::kDecoder;
    } else if (device == "P") {
      event.clock = DecodedPassage::Clock::kPcCounter;
    } else {
      return false;
    }
    if (!f.Number(event.raw, INT64_MIN + 1, INT64_MAX)) return false;
  } else if (tag == kManualLapTag) {
    event.kind = JournalEvent::Kind::kManualLap;
    if (!f.Int32(event.slot, 1, kSlotCount) || !f.Int32(event.raceTime)) return false;
  } else if (tag == kSetupTag) {
    event.kind = JournalEvent::Kind::kSetup;
    if (!f.Int32(event.slot, 1, kSlotCount)) return false;
    for (int i = 0; i < kSetupFieldCount; ++i) {
      if (!f.Text(SetupField(event.setup, i), size_t(SetupFieldCapacity(i)))) return false;
    }
  } else if (tag == kEndTag) {
    event.kind = JournalEvent::Kind::kEnd;
    if (!f.Int32(event.raceTime)) return false;
  } else {
    return false;
  }
  return f.AtEnd();
}

}  // namespace

void FormatPassageLine(JournalLine& out, int64_t seq, const char* transponder, int32_t raceTime,
                       DecodedPassage::Clock clock, int64_t raw) {
  LineWriter w(out.bytes, sizeof out.bytes);
  w.Text(kPassageTag);
  w.Number(seq);
  w.Text(transponder, kTransponderCapacity);
  w.Number(raceTime);
  w.Text(clock == DecodedPassage::Clock::kDecoder ? "D" : "P", 2);
  w.Number(raw);
  out.size = w.Finish();
}

void FormatManualLapLine(JournalLine& out, int64_t seq, int slot, int32_t raceTime) {
  LineWriter w(out.bytes, sizeof out.bytes);
  w.Text(kManualLapTag);
  w.Number(seq);
  w.Number(slot);
  w.Number(raceTime);
  out.size = w.Finish();
}

void FormatSetupLine(JournalLine& out, int64_t seq, int slot, const SetupSheet& setup) {
  LineWriter w(out.bytes, sizeof out.bytes);
  w.Text(kSetupTag);
  w.Number(seq);
  w.Number(slot);
  w.Setup(setup);
  out.size = w.Finish();
}

void FormatEndLine(JournalLine& out, int64_t seq, int32_t raceTime) {
  LineWriter w(out.bytes, sizeof out.bytes);
  w.Text(kEndTag);
  w.Number(seq);
  w.Number(raceTime);
  out.size = w.Finish();
}

std::string JournalStartLine(const Race& race, const JournalSession& session) {
  const RaceParameters& p = race.params;
  const RunState& run = race.run;
  std::string line(kMaxJournalLineBytes, '\0');
  LineWriter w(&line[0], line.size());
  w.Text(kStartTag);
  w.Number(kJournalVersion);
  w.Number(session.runNumber);
  w.Number(session.passageSoundOn ? 1 : 0);
  w.Text(session.sessionName, kJournalSessionNameCapacity);
  // A path cut short would name another file: one too long is not kept (the recovered session
  // then has no file of its own, and "Save as" asks for one).
  const bool pathFits = std::strlen(session.savedFilePath) < size_t(kJournalPathCapacity);
  w.Text(pathFits ? session.savedFilePath : "", kJournalPathCapacity);
  w.Text(session.sessionStamp, kJournalStampCapacity);
  w.Text(session.circuitName, kJournalCircuitNameCapacity);
  w.Text(run.runTitle);
  w.Text(p.classificationKey);
  w.Text(p.durationMode);
  w.Text(p.startMode);
  w.Text(p.endRuleTime);
  w.Text(p.endRuleLaps);
  w.Number(p.durationMinutes);
  w.Number(p.lapTarget);
  w.Number(p.countdownSeconds);
  w.Number(p.circuitIndex);
  w.Number(p.minimumLapSeconds);
  w.Number(p.maximumLapCount);
  w.Number(p.lapRunLimitHours);
  w.Number(run.raceStartTick);
  w.Number(run.counterFrequency);
  w.Number(run.raceStartCounter);
  w.Number(run.decoderTimeAtStart);
  for (const ParticipantRecord& slot : race.slots) {
    w.Text(slot.driverName);
    w.Text(slot.transponder);
    w.Setup(slot.setup);
  }
  line.resize(w.Finish());
  return line;
}

std::string JournalPassageLine(int64_t seq, const char* transponder, int32_t raceTime,
                               DecodedPassage::Clock clock, int64_t raw) {
  return AsString(
      [&](JournalLine& l) { FormatPassageLine(l, seq, transponder, raceTime, clock, raw); });
}

std::string JournalManualLapLine(int64_t seq, int slot, int32_t raceTime) {
  return AsString([&](JournalLine& l) { FormatManualLapLine(l, seq, slot, raceTime); });
}

std::string JournalSetupLine(int64_t seq, int slot, const SetupSheet& setup) {
  return AsString([&](JournalLine& l) { FormatSetupLine(l, seq, slot, setup); });
}

std::string JournalEndLine(int64_t seq, int32_t raceTime) {
  return AsString([&](JournalLine& l) { FormatEndLine(l, seq, raceTime); });
}

JournalRead ReadJournal(std::string_view bytes, JournalSummary& summary, Race* table,
                        const std::function<void(const JournalEvent&)>& onEvent) {
  std::memset(&summary, 0, sizeof summary);
  size_t pos = 0;
  std::string_view line;
  if (NextLine(bytes, pos, line) != LineState::kLine || !ParseStart(line, summary.start, table)) {
    return JournalRead::kNotJournal;
  }
  summary.usableBytes = pos;
  int64_t lastSeq = 0;
  auto event = std::make_unique<JournalEvent>();
  for (;;) {
    const LineState state = NextLine(bytes, pos, line);
    if (state == LineState::kEnd) break;
    // Unreadable: torn or damaged, out of sequence, or after the end anything but a sheet (which
    // the run did not write).
    if (state == LineState::kBad || !ParseEvent(line, lastSeq, *event) ||
        (summary.ended && event->kind != JournalEvent::Kind::kSetup)) {
      ++summary.unreadableLines;
      continue;
    }
    lastSeq = event->seq;
    ++summary.events;
    summary.usableBytes = pos;
    switch (event->kind) {
      case JournalEvent::Kind::kEnd:
        summary.ended = true;
        summary.lastRaceTime = event->raceTime;
        break;
      case JournalEvent::Kind::kPassage:
      case JournalEvent::Kind::kManualLap:
        ++summary.passages;
        summary.lastRaceTime = event->raceTime;
        break;
      case JournalEvent::Kind::kSetup:
        break;
    }
    if (onEvent) onEvent(*event);
  }
  return JournalRead::kRead;
}

JournalRead ReadJournalSummary(std::string_view bytes, JournalSummary& summary) {
  return ReadJournal(bytes, summary, nullptr, nullptr);
}

uint32_t JournalLineCrc(std::string_view content) {
  return Crc32(content);
}

std::string JournalTimeText(int32_t raceTime) {
  if (raceTime < 0) raceTime = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", raceTime / 3600000, raceTime / 60000 % 60,
                raceTime / 1000 % 60);
  return text;
}

}  // namespace zarvo
