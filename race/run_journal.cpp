// The run journal's lines, their reader and the replay through passage processing.
#include "race/run_journal.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "race/passage.h"
#include "settings/sound_settings.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr const char kStartTag[] = "Depart";
constexpr const char kPassageTag[] = "Passage";
constexpr const char kManualLapTag[] = "TourManuel";
constexpr const char kSetupTag[] = "Reglages";
constexpr const char kEndTag[] = "Fin";
constexpr int kCrcDigits = 8;

uint32_t Crc32(std::string_view bytes) {
  static const auto table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (const char c : bytes) {
    const uint32_t b = static_cast<unsigned char>(c);
    crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFu;
}

// ---- Writing.

void AddText(std::string& line, const char* text, size_t capacity) {
  for (size_t i = 0; i < capacity && text[i] != '\0'; ++i) {
    const char c = text[i];
    line.push_back(c == '\t' || c == '\r' || c == '\n' ? ' ' : c);
  }
  line.push_back('\t');
}

template <size_t N>
void AddText(std::string& line, const char (&text)[N]) {
  AddText(line, text, N);
}

void AddNumber(std::string& line, int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%lld\t", static_cast<long long>(value));
  line += text;
}

std::string Finish(std::string line) {
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X\t\r\n", static_cast<unsigned>(Crc32(line)));
  line += crc;
  return line;
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

// The next complete line from pos, without its line end, checked by its CRC; false at the end,
// at a torn or over-long line and at a line whose CRC does not match. The CRC field is removed.
bool NextCheckedLine(std::string_view bytes, size_t& pos, std::string_view& line) {
  if (pos >= bytes.size()) return false;
  const size_t end = bytes.find('\n', pos);
  if (end == std::string_view::npos || end - pos > kMaxJournalLineBytes) return false;
  std::string_view whole = bytes.substr(pos, end - pos);
  if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
  // "...\t" + 8 hex digits + "\t"
  if (whole.size() < kCrcDigits + 2 || whole.back() != '\t') return false;
  const std::string_view digits = whole.substr(whole.size() - 1 - kCrcDigits, kCrcDigits);
  const std::string_view content = whole.substr(0, whole.size() - 1 - kCrcDigits);
  if (content.back() != '\t') return false;
  uint32_t crc = 0;
  for (char c : digits) {
    int v;
    if (c >= '0' && c <= '9') {
      v = c - '0';
    } else if (c >= 'A' && c <= 'F') {
      v = c - 'A' + 10;
    } else {
      return false;
    }
    crc = crc << 4 | uint32_t(v);
  }
  if (crc != Crc32(content)) return false;
  line = content;
  pos = end + 1;
  return true;
}

bool ParseStart(std::string_view line, JournalStart& start, Race* table) {
  Fields f(line);
  std::string_view tag;
  int64_t version = 0;
  if (!f.Next(tag) || tag != kStartTag || !f.Number(version, kJournalVersion, kJournalVersion)) {
    return false;
  }
  std::memset(&start, 0, sizeof start);
  int32_t soundOn = 0;
  RaceParameters& p = start.params;
  int64_t tick = 0;
  bool ok = f.Int32(start.runNumber, 1, 20) && f.Int32(soundOn, 0, 1) &&
            f.Text(start.sessionName) && f.Text(start.savedFilePath) && f.Text(start.runTitle) &&
            f.Text(p.classificationKey) && f.Text(p.durationMode) && f.Text(p.startMode) &&
            f.Text(p.endRuleTime) && f.Text(p.endRuleLaps) && f.Int32(p.durationMinutes, 1, 720) &&
            f.Int32(p.lapTarget, 1, kMaxLapCount) && f.Int32(p.countdownSeconds, 0, 3600) &&
            f.Int32(p.circuitIndex, 0, kNoCircuit) && f.Int32(p.minimumLapSeconds, 0, 999) &&
            f.Int32(p.maximumLapCount, 1, kMaxLapCount) && f.Int32(p.lapRunLimitHours, 0, 999) &&
            f.Number(tick, 0, UINT32_MAX) && f.Number(start.counterFrequency, 0, INT64_MAX) &&
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

bool ParseEvent(std::string_view line, int64_t expectedSeq, JournalEvent& event) {
  Fields f(line);
  std::string_view tag;
  int64_t seq = 0;
  if (!f.Next(tag) || !f.Number(seq, expectedSeq, expectedSeq)) return false;
  std::memset(&event, 0, sizeof event);
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

// Reads the start into start (and the participants into table when given), then calls onEvent for
// each complete event up to the end event included. Fills the summary.
template <typename OnEvent>
JournalRead ParseJournal(std::string_view bytes, JournalSummary& summary, Race* table,
                         OnEvent&& onEvent) {
  std::memset(&summary, 0, sizeof summary);
  size_t pos = 0;
  std::string_view line;
  if (!NextCheckedLine(bytes, pos, line) || !ParseStart(line, summary.start, table)) {
    return JournalRead::kNotJournal;
  }
  summary.usableBytes = pos;
  while (!summary.ended && pos < bytes.size()) {
    JournalEvent event;
    if (!NextCheckedLine(bytes, pos, line) || !ParseEvent(line, summary.events + 1, event)) {
      summary.damaged = true;
      break;
    }
    ++summary.events;
    summary.usableBytes = pos;
    switch (event.kind) {
      case JournalEvent::Kind::kEnd:
        summary.ended = true;
        summary.lastRaceTime = event.raceTime;
        break;
      case JournalEvent::Kind::kPassage:
      case JournalEvent::Kind::kManualLap:
        ++summary.passages;
        summary.lastRaceTime = event.raceTime;
        break;
      case JournalEvent::Kind::kSetup:
        break;
    }
    onEvent(event);
  }
  // Whatever follows the end was not written by the run.
  if (summary.ended && pos < bytes.size()) summary.damaged = true;
  return JournalRead::kRead;
}

// Passage processing's host while a journal is replayed: the lap ceiling stops the run, the
// sounds and repaints are not wanted.
class ReplayHost : public PassageHost {
 public:
  explicit ReplayHost(Race& race) : race_(race) {}
  void StopRun() override { race_.run.raceRunning = false; }
  void Cue(SoundCue, int) override {}
  void RepaintResults() override {}

 private:
  Race& race_;
};

bool AllFinished(const Race& race) {
  for (const ParticipantRecord& p : race.slots) {
    if (!p.finished) return false;
  }
  return true;
}

}  // namespace

std::string JournalStartLine(const Race& race, int32_t runNumber, const char* sessionName,
                             const char* savedFilePath, bool passageSoundOn) {
  const RaceParameters& p = race.params;
  const RunState& run = race.run;
  std::string line;
  line.reserve(4096);
  AddText(line, kStartTag, sizeof kStartTag);
  AddNumber(line, kJournalVersion);
  AddNumber(line, runNumber);
  AddNumber(line, passageSoundOn ? 1 : 0);
  AddText(line, sessionName, kJournalSessionNameCapacity);
  // A path cut short would name another file: one too long is not kept (the recovered session
  // then has no file of its own, and "Save as" asks for one).
  const bool pathFits = std::strlen(savedFilePath) < size_t(kJournalPathCapacity);
  AddText(line, pathFits ? savedFilePath : "", kJournalPathCapacity);
  AddText(line, run.runTitle);
  AddText(line, p.classificationKey);
  AddText(line, p.durationMode);
  AddText(line, p.startMode);
  AddText(line, p.endRuleTime);
  AddText(line, p.endRuleLaps);
  AddNumber(line, p.durationMinutes);
  AddNumber(line, p.lapTarget);
  AddNumber(line, p.countdownSeconds);
  AddNumber(line, p.circuitIndex);
  AddNumber(line, p.minimumLapSeconds);
  AddNumber(line, p.maximumLapCount);
  AddNumber(line, p.lapRunLimitHours);
  AddNumber(line, run.raceStartTick);
  AddNumber(line, run.counterFrequency);
  AddNumber(line, run.raceStartCounter);
  AddNumber(line, run.decoderTimeAtStart);
  for (const ParticipantRecord& slot : race.slots) {
    AddText(line, slot.driverName);
    AddText(line, slot.transponder);
    for (int i = 0; i < kSetupFieldCount; ++i) {
      AddText(line, SetupField(slot.setup, i), size_t(SetupFieldCapacity(i)));
    }
  }
  return Finish(std::move(line));
}

std::string JournalPassageLine(int64_t seq, const char* transponder, int32_t raceTime,
                               DecodedPassage::Clock clock, int64_t raw) {
  std::string line;
  line.reserve(64);
  AddText(line, kPassageTag, sizeof kPassageTag);
  AddNumber(line, seq);
  AddText(line, transponder, kTransponderCapacity);
  AddNumber(line, raceTime);
  line += clock == DecodedPassage::Clock::kDecoder ? "D\t" : "P\t";
  AddNumber(line, raw);
  return Finish(std::move(line));
}

std::string JournalManualLapLine(int64_t seq, int slot, int32_t raceTime) {
  std::string line;
  AddText(line, kManualLapTag, sizeof kManualLapTag);
  AddNumber(line, seq);
  AddNumber(line, slot);
  AddNumber(line, raceTime);
  return Finish(std::move(line));
}

std::string JournalSetupLine(int64_t seq, int slot, const SetupSheet& setup) {
  std::string line;
  line.reserve(1024);
  AddText(line, kSetupTag, sizeof kSetupTag);
  AddNumber(line, seq);
  AddNumber(line, slot);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    AddText(line, SetupField(setup, i), size_t(SetupFieldCapacity(i)));
  }
  return Finish(std::move(line));
}

std::string JournalEndLine(int64_t seq, int32_t raceTime) {
  std::string line;
  AddText(line, kEndTag, sizeof kEndTag);
  AddNumber(line, seq);
  AddNumber(line, raceTime);
  return Finish(std::move(line));
}

JournalRead ReadJournalSummary(std::string_view bytes, JournalSummary& summary) {
  return ParseJournal(bytes, summary, nullptr, [](const JournalEvent&) {});
}

bool ReplayJournal(std::string_view bytes, Race& race, CircuitTable& circuits,
                   JournalSummary* summaryOut) {
  JournalSummary summary;
  if (ReadJournalSummary(bytes, summary) != JournalRead::kRead) return false;

  // The table as the start found it: names, transponders and setup sheets, reset for a new run.
  WipeTable(race);
  WipeStandings(race);
  RunState& run = race.run;
  SoundSettings sounds;
  std::memset(&sounds, 0, sizeof sounds);
  ReplayHost host(race);
  TimingContext ctx{race, circuits, sounds, host};
  bool prepared = false;
  auto prepare = [&] {
    if (prepared) return;
    prepared = true;
    const JournalStart& start = summary.start;
    race.params = start.params;
    ResetTable(race);
    RebuildStandings(race);
    RebuildRows(race);
    std::memset(&run, 0, sizeof run);
    SetText(run.runTitle, start.runTitle);
    run.raceStartTick = start.raceStartTick;
    run.counterFrequency = start.counterFrequency;
    run.raceStartCounter = start.raceStartCounter;
    run.decoderTimeAtStart = start.decoderTimeAtStart;
    run.runBestLap = kNoRunBest;
    run.raceRunning = true;
    run.resultsPresent = true;
    if (start.passageSoundOn) SetText(sounds.passage, kSoundPassageOn);
  };
  ParseJournal(bytes, summary, &race, [&](const JournalEvent& event) {
    prepare();
    // A sheet saved in the synthesis belongs to the run whenever it came.
    if (event.kind == JournalEvent::Kind::kSetup) {
      race.slots[event.slot - 1].setup = event.setup;
      return;
    }
    if (!run.raceRunning) return;
    switch (event.kind) {
      case JournalEvent::Kind::kPassage:
        ProcessPassage(ctx, event.transponder, event.raceTime);
        break;
      case JournalEvent::Kind::kManualLap:
        ManualLapAt(ctx, event.slot, event.raceTime);
        break;
      case JournalEvent::Kind::kEnd:
        run.raceRunning = false;
        break;
      case JournalEvent::Kind::kSetup:
        break;
    }
    // The tick stops the run once every participant has finished.
    if (AllFinished(race)) run.raceRunning = false;
  });
  prepare();
  run.raceRunning = false;
  MarkRunOver(race);
  if (summaryOut != nullptr) *summaryOut = summary;
  return true;
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
