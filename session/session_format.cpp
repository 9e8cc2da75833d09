// Building, finding, parsing and rewriting the sections of a session file held in memory.
#include "session/session_format.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr int kSlotLinesPerRun = kSlotCount;
constexpr size_t kTitlePrefixLength = sizeof kSectionTitlePrefix - 1;

// ---- Building helpers.

void AppendInt(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
  out += '\t';
}

// The text of a fixed-capacity field, at most capacity - 1 characters, followed by a tab.
void AppendText(std::string& out, const char* field, size_t capacity) {
  size_t n = 0;
  while (n + 1 < capacity && field[n] != '\0') ++n;
  const size_t start = out.size();
  out.append(field, n);
  for (size_t i = start; i < out.size(); ++i) {
    if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n') out[i] = ' ';
  }
  out += '\t';
}

template <size_t N>
void AppendText(std::string& out, const char (&field)[N]) {
  AppendText(out, field, N);
}

void AppendLineEnd(std::string& out) {
  out += "\r\n";
}

// Reserve characters filling exactly length bytes: "1\t" pairs and a line end, with a lone tab
// first when the length is odd.
std::string ReservePattern(size_t length) {
  std::string out;
  out.reserve(length);
  if (length == 0) return out;
  if (length == 1) return "\n";
  if (length % 2 == 1) out += '\t';
  while (out.size() + 2 < length) out += "1\t";
  out += "\r\n";
  return out;
}

// The data area of a section: the content written over a reserve of the given length.
std::string Area(std::string_view content, size_t length) {
  std::string out = ReservePattern(std::max(length, content.size()));
  out.replace(0, content.size(), content);
  return out;
}

size_t ReserveLength(int reservePairs, size_t contentLength) {
  size_t pairs = reservePairs > 0 ? size_t(reservePairs) : 0;
  // The content must be shorter than the reserve, its line end excepted.
  pairs = std::max(pairs, (contentLength + 1) / 2);
  return 2 * pairs + 2;
}

// ---- Line and field cursors.

bool IsTitleLine(std::string_view file, size_t lineStart) {
  return file.substr(lineStart, kTitlePrefixLength) == kSectionTitlePrefix;
}

// One line without its line end (trailing CRs dropped); `next` is where the next line begins.
struct Line {
  std::string_view text;
  size_t start;
  size_t next;
  bool ended;  // a '\n' ends it
};

Line LineAt(std::string_view file, size_t start) {
  const size_t nl = file.find('\n', start);
  Line line;
  line.start = start;
  line.ended = nl != std::string_view::npos;
  const size_t end = line.ended ? nl : file.size();
  line.next = line.ended ? nl + 1 : file.size();
  line.text = file.substr(start, end - start);
  while (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
  return line;
}

// The data lines of a section: empty lines are skipped, the next title line ends the section.
class SectionLines {
 public:
  SectionLines(std::string_view file, size_t dataStart) : file_(file), pos_(dataStart) {}
  bool Next(std::string_view& text) {
    while (pos_ < file_.size()) {
      if (IsTitleLine(file_, pos_)) return false;
      const Line line = LineAt(file_, pos_);
      pos_ = line.next;
      if (!line.text.empty()) {
        text = line.text;
        return true;
      }
    }
    return false;
  }

 private:
  std::string_view file_;
  size_t pos_;
};

// The tab-separated fields of a line; every field, the last included, is followed by a tab, but
// a missing last tab is accepted.
class Fields {
 public:
  explicit Fields(std::string_view line) : line_(line) {}
  bool Next(std::string_view& field) {
    if (pos_ >= line_.size()) return false;
    const size_t tab = line_.find('\t', pos_);
    const size_t end = tab == std::string_view::npos ? line_.size() : tab;
    field = line_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return true;
  }
  // The next field as text, cut to the capacity; an absent field is empty.
  void Text(char* dst, size_t capacity) {
    std::string_view field;
    if (!Next(field)) field = std::string_view();
    SetText(dst, capacity, field.data(), field.size());
  }
  template <size_t N>
  void Text(char (&dst)[N]) {
    Text(dst, N);
  }
  // The next field as a number; false (value untouched) when absent or not a number.
  bool Number(int32_t& value);

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

// A decimal number as "%d" reads it: blanks, a sign, digits; it saturates at the 32-bit limits.
bool ParseNumber(std::string_view field, int32_t& value) {
  size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
    negative = field[i] == '-';
    ++i;
  }
  if (i >= field.size() || field[i] < '0' || field[i] > '9') return false;
  int64_t v = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    v = v * 10 + (field[i] - '0');
    if (v > int64_t(INT32_MAX) + 1) v = int64_t(INT32_MAX) + 1;
  }
  if (negative) v = -v;
  value = int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  return true;
}

bool Fields::Number(int32_t& value) {
  std::string_view field;
  if (!Next(field)) return false;
  return ParseNumber(field, value);
}

int32_t NumberOrZero(Fields& fields) {
  int32_t value = 0;
  if (!fields.Number(value)) return 0;
  return value;
}

std::string_view FirstLine(std::string_view file) {
  return LineAt(file, 0).text;
}

}  // namespace

// ---- Session values.

SessionHeader NewSessionHeader(const char* sessionName) {
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  header.selectedNodeId = kSessionNodeId;
  SetText(header.sessionName, sessionName);
  return header;
}

SessionTrack DefaultSessionTrack() {
  SessionTrack track;
  std::memset(&track, 0, sizeof track);
  track.minimumLapSeconds = kDefaultMinimumLapSeconds;
  return track;
}

void FormatRunSectionTitle(int runNumber, char* out, size_t capacity) {
  std::snprintf(out, capacity, "SessionRun%d", runNumber);
}

int OccupiedSlotCount(const Race& race) {
  int count = 0;
  for (const ParticipantRecord& p : race.slots) {
    if (!IsEmptySlot(p)) ++count;
  }
  return count;
}

int RunReservePairs(int occupiedSlots) {
  return kRunReservePairsPerSlot * occupiedSlots + kRunReservePairsBase;
}

bool RunHoldsData(const Race& race) {
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p)) continue;
    if (p.lapCount != 0 || p.passageTimes[0] != 0 || p.bestLap != 0) return true;
  }
  return false;
}

// ---- Building.

std::string SessionHeaderLine(const SessionHeader& header) {
  std::string fields;
  // Bounded so that the fields always fit the 50 characters of the line.
  AppendInt(fields, std::clamp<int32_t>(header.selectedNodeId, -99999, 99999));
  AppendText(fields, header.sessionName);
  AppendInt(fields, std::clamp<int32_t>(header.participantCount, 0, kSlotCount));
  AppendInt(fields, header.runsRecorded ? 1 : 0);
  AppendInt(fields, std::clamp<int32_t>(header.runCount, 0, kMaxRunCount));
  std::string line = ReservePattern(2 * kHeaderReservePairs + 2).substr(0, kHeaderLength);
  line.replace(0, fields.size(), fields);
  return line;
}

std::string NewWorkingCopyBytes(const char* sessionName) {
  std::string bytes = SessionHeaderLine(NewSessionHeader(sessionName));
  AppendLineEnd(bytes);
  return bytes;
}

std::string ParticipantsListContent(const ParticipantsList& list) {
  std::string out;
  out.reserve(2000);
  for (const ParticipantEntry& e : list.entries) {
    AppendText(out, e.driverName);
    AppendText(out, e.transponder);
    for (const auto& frequency : e.frequencies) AppendText(out, frequency);
    AppendLineEnd(out);
  }
  return out;
}

std::string SessionTrackContent(const SessionTrack& track) {
  std::string out;
  AppendText(out, track.label);
  AppendText(out, track.circuitName);
  AppendInt(out, track.minimumLapSeconds);
  AppendLineEnd(out);
  return out;
}

std::string RaceParametersContent(const RaceParameters& params) {
  std::string out;
  AppendText(out, params.classificationKey);
  AppendText(out, params.durationMode);
  AppendInt(out, params.durationMinutes);
  AppendInt(out, params.lapTarget);
  AppendInt(out, params.countdownSeconds);
  AppendText(out, params.startMode);
  AppendText(out, params.endRuleTime);
  AppendText(out, params.endRuleLaps);
  AppendLineEnd(out);
  return out;
}

std::string RunSectionContent(const Race& race) {
  std::string out;
  out.reserve(size_t(2) * RunReservePairs(OccupiedSlotCount(race)));
  for (const ParticipantRecord& p : race.slots) {
    AppendText(out, p.driverName);
    const int32_t laps = std::clamp<int32_t>(p.lapCount, 0, kMaxLapCount);
    AppendInt(out, laps);
    AppendInt(out, p.lastLap);
    AppendInt(out, p.bestLap);
    AppendInt(out, p.worstLap);
    AppendInt(out, p.averageLap);
    for (int k = 0; k <= laps; ++k) AppendInt(out, p.passageTimes[k]);
    for (int i = 0; i < kSetupFieldCount; ++i) {
      AppendText(out, SetupField(p.setup, i), size_t(SetupFieldCapacity(i)));
    }
    AppendLineEnd(out);
  }
  AppendText(out, race.run.runTitle, kStoredRunTitleCapacity);
  AppendLineEnd(out);
  return out;
}

// ---- Finding.

SectionSpot FindSection(std::string_view file, std::string_view title) {
  SectionSpot spot{};
  if (title.empty() || title.size() >= size_t(kSectionTitleCapacity)) return spot;
  // Line 1 is the session header, never a section.
  size_t pos = LineAt(file, 0).next;
  while (pos < file.size()) {
    const Line line = LineAt(file, pos);
    // The first field: up to the first tab or line end. A first field longer than 104 characters
    // is never a title.
    const std::string_view field = line.text.substr(0, line.text.find('\t'));
    if (field.size() < size_t(kSectionTitleCapacity) && field == title) {
      spot.found = true;
      spot.titleStart = line.start;
      spot.dataStart = line.next;
      spot.titleLineEnded = line.ended;
      break;
    }
    pos = line.next;
  }
  if (!spot.found) return spot;

  // The room of the section ends at the next title line, less the empty line before it.
  size_t lastLineStart = spot.dataStart;
  bool lastLineEmpty = false;
  pos = spot.dataStart;
  spot.last = true;
  spot.areaEnd = file.size();
  while (pos < file.size()) {
    if (IsTitleLine(file, pos)) {
      spot.last = false;
      spot.areaEnd = lastLineEmpty ? lastLineStart : pos;
      break;
    }
    const Line line = LineAt(file, pos);
    lastLineStart = line.start;
    lastLineEmpty = line.text.empty() && line.ended;
    pos = line.next;
  }
  return spot;
}

// ---- Parsing.

void ParseSessionHeader(std::string_view file, SessionHeader& header) {
  std::memset(&header, 0, sizeof header);
  Fields fields(FirstLine(file));
  header.selectedNodeId = NumberOrZero(fields);
  fields.Text(header.sessionName);
  header.participantCount = std::clamp<int32_t>(NumberOrZero(fields), 0, kSlotCount);
  header.runsRecorded = NumberOrZero(fields) != 0;
  header.runCount = std::clamp<int32_t>(NumberOrZero(fields), 0, kMaxRunCount);
}

bool ParseParticipantsList(std::string_view file, ParticipantsList& list) {
  const SectionSpot spot = FindSection(file, kParticipantsListTitle);
  if (!spot.found) return false;
  SectionLines lines(file, spot.dataStart);
  std::string_view line;
  for (ParticipantEntry& e : list.entries) {
    if (!lines.Next(line)) break;
    std::memset(&e, 0, sizeof e);
    Fields fields(line);
    fields.Text(e.driverName);
    fields.Text(e.transponder);
    for (auto& frequency : e.frequencies) fields.Text(frequency);
  }
  return true;
}

bool ParseSessionTrack(std::string_view file, SessionTrack& track) {
  const SectionSpot spot = FindSection(file, kTrackTitle);
  if (!spot.found) return false;
  SectionLines lines(file, spot.dataStart);
  std::string_view line;
  if (lines.Next(line)) {
    Fields fields(line);
    fields.Text(track.label);
    fields.Text(track.circuitName);
    // Bounded as the track dialog bounds it: a damaged number must not make the filter accept
    // every second crossing (below 2 s, negative) nor overflow once in milliseconds.
    int32_t seconds = 0;
    if (fields.Number(seconds)) {
      track.minimumLapSeconds =
          std::clamp<int32_t>(seconds, kLeastMinimumLapSeconds, kMaxMinimumLapSeconds);
    }
  }
  return true;
}

bool ParseRaceParameters(std::string_view file, RaceParameters& params) {
  const SectionSpot spot = FindSection(file, kRaceParametersTitle);
  if (!spot.found) return false;
  SectionLines lines(file, spot.dataStart);
  std::string_view line;
  if (lines.Next(line)) {
    Fields fields(line);
    fields.Text(params.classificationKey);
    fields.Text(params.durationMode);
    int32_t value = 0;
    if (fields.Number(value)) params.durationMinutes = std::clamp<int32_t>(value, 1, 720);
    if (fields.Number(value)) params.lapTarget = std::clamp<int32_t>(value, 1, kMaxLapCount);
    if (fields.Number(value)) params.countdownSeconds = std::clamp<int32_t>(value, 0, 3600);
    fields.Text(params.startMode);
    fields.Text(params.endRuleTime);
    fields.Text(params.endRuleLaps);
  }
  SplitDuration(params);
  return true;
}

bool ParseRunSection(std::string_view file, int runNumber, Race& race) {
  char title[kSectionTitleCapacity];
  FormatRunSectionTitle(runNumber, title, sizeof title);
  const SectionSpot spot = FindSection(file, title);
  if (!spot.found) return false;
  SectionLines lines(file, spot.dataStart);
  std::string_view line;
  for (int s = 0; s < kSlotLinesPerRun; ++s) {
    if (!lines.Next(line)) return true;
    ParticipantRecord& p = race.slots[s];
    Fields fields(line);
    fields.Text(p.driverName);
    const int32_t laps = std::max<int32_t>(NumberOrZero(fields), 0);
    p.lapCount = std::min<int32_t>(laps, kMaxLapCount);
    p.lastLap = NumberOrZero(fields);
    p.bestLap = NumberOrZero(fields);
    p.worstLap = NumberOrZero(fields);
    p.averageLap = NumberOrZero(fields);
    // All laps + 1 passage times stand before the setup sheet, even when more than the table
    // holds (a damaged count): only the first 1000 are kept.
    std::string_view field;
    for (int64_t k = 0; k <= laps && fields.Next(field); ++k) {
      if (k >= kPassageCapacity) continue;
      int32_t time = 0;
      ParseNumber(field, time);
      p.passageTimes[k] = time;
    }
    std::memset(&p.setup, 0, sizeof p.setup);
    for (int i = 0; i < kSetupFieldCount; ++i) {
      fields.Text(SetupField(p.setup, i), size_t(SetupFieldCapacity(i)));
    }
  }
  if (lines.Next(line)) {
    Fields fields(line);
    char runTitle[kStoredRunTitleCapacity];
    fields.Text(runTitle);
    SetText(race.run.runTitle, runTitle);
  }
  return true;
}

// ---- Rewriting.

FileEdit PlanSectionRewrite(std::string_view file, std::string_view title, int reservePairs,
                            std::string_view content) {
  const size_t reserve = ReserveLength(reservePairs, content.size());
  const SectionSpot spot = FindSection(file, title);
  FileEdit edit{false, file.size(), std::string()};
  const bool fileEndsLine = file.empty() || file.back() == '\n';

  if (!spot.found) {
    // At the end: an empty line, the title line, the reserve, the content over it. A last line
    // without its line end is ended first.
    if (!fileEndsLine) edit.bytes += "\r\n";
    edit.bytes += "\r\n";
    edit.bytes.append(title);
    edit.bytes += "\t\r\n";
    edit.bytes += Area(content, reserve);
    return edit;
  }
  if (!spot.titleLineEnded) {
    // The file stops on the title line: end it, then the data area.
    edit.bytes = "\r\n" + Area(content, reserve);
    return edit;
  }
  const size_t room = spot.areaEnd - spot.dataStart;
  if (spot.last) {
    // Nothing follows: the section may grow at will; all of its old room is cleared.
    edit.offset = spot.dataStart;
    edit.bytes = Area(content, std::max(reserve, room));
    return edit;
  }
  if (content.size() <= room) {
    // In place, over the whole room, so an older and longer content leaves nothing behind.
    edit.offset = spot.dataStart;
    edit.bytes = Area(content, room);
    return edit;
  }
  // Too little room before the next section: rewrite the file with the room enlarged.
  edit.replaceWhole = true;
  edit.offset = 0;
  edit.bytes.reserve(file.size() - room + reserve);
  edit.bytes.append(file.substr(0, spot.dataStart));
  edit.bytes += Area(content, reserve);
  edit.bytes.append(file.substr(spot.areaEnd));
  return edit;
}

FileEdit PlanHeaderRewrite(std::string_view file, const SessionHeader& header) {
  const std::string line = SessionHeaderLine(header);
  const Line first = LineAt(file, 0);
  if (first.ended && first.text.size() == size_t(kHeaderLength)) return {false, 0, line};
  FileEdit edit{true, 0, line};
  AppendLineEnd(edit.bytes);
  edit.bytes.append(file.substr(first.next));
  return edit;
}

FileEdit PlanSelectedNodeIdRewrite(std::string_view file, int32_t nodeId) {
  const std::string_view first = FirstLine(file);
  bool fiveDigits = first.size() > 5 && first[5] == '\t' && nodeId >= 10000 && nodeId <= 99999;
  for (size_t i = 0; fiveDigits && i < 5; ++i) fiveDigits = first[i] >= '0' && first[i] <= '9';
  if (fiveDigits) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%d", int(nodeId));
    return {false, 0, digits};
  }
  SessionHeader header;
  ParseSessionHeader(file, header);
  header.selectedNodeId = nodeId;
  return PlanHeaderRewrite(file, header);
}

void ApplyEdit(std::string& file, const FileEdit& edit) {
  if (edit.replaceWhole) {
    file = edit.bytes;
    return;
  }
  if (file.size() < edit.offset + edit.bytes.size()) file.resize(edit.offset + edit.bytes.size());
  file.replace(edit.offset, edit.bytes.size(), edit.bytes);
}

}  // namespace zarvo
