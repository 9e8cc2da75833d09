// The hand-off file between windows: its three shapes written and read with bounded readers.
#include "analysis/detail_results_file.h"

#include <algorithm>
#include <cstring>

#include "databases/tab_text.h"
#include "platform/files.h"

namespace zarvo {

namespace {

// The largest hand-off: 1000 passage times, 49 texts and three more is under 20 KB; anything
// past this is not read.
constexpr size_t kHandOffReadLimit = size_t(1) << 20;

// The first line of bytes, and the rest after its line end.
std::string_view FirstLine(std::string_view bytes, std::string_view* rest = nullptr) {
  std::string_view line;
  bool found = false;
  ForEachLine(bytes, [&](std::string_view l) {
    line = l;
    found = true;
    return false;
  });
  if (rest != nullptr) {
    const size_t end = bytes.find('\n');
    *rest = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
  }
  return found ? line : std::string_view();
}

// The first line of bytes that is not empty (the reader skips the line ends between lines).
std::string_view FirstNonEmptyLine(std::string_view bytes) {
  std::string_view found;
  ForEachLine(bytes, [&](std::string_view l) {
    if (l.empty()) return true;
    found = l;
    return false;
  });
  return found;
}

void ReadSetupTexts(std::string_view& fields, SetupSheet& sheet) {
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetFieldText(SetupField(sheet, i), SetupFieldCapacity(i), NextField(fields));
  }
}

void AppendSetupTexts(std::string& out, const SetupSheet& sheet) {
  for (int i = 0; i < kSetupFieldCount; ++i) {
    AppendText(out, SetupField(sheet, i), SetupFieldCapacity(i));
    out += '\t';
  }
}

bool ReadHandOffFile(std::string& bytes) {
  return ReadFileBounded(kDetailResultsFile, bytes, kHandOffReadLimit);
}

}  // namespace

std::string FormatRunHandOff(const ParticipantRecord& participant, const char* runCaption,
                             const char* circuitName, const char* runTitle) {
  std::string out;
  out.reserve(16384);
  AppendText(out, participant.driverName, sizeof participant.driverName);
  out += '\t';
  int32_t n = participant.lapCount;
  if (n < 0) n = 0;
  if (n > kMaxLapCount) n = kMaxLapCount;
  AppendInt(out, n);
  out += '\t';
  for (int k = 0; k <= n; ++k) {
    AppendInt(out, participant.passageTimes[k]);
    out += '\t';
  }
  AppendSetupTexts(out, participant.setup);
  out += kLineEnd;
  AppendText(out, runCaption, kHandOffCaptionCapacity);
  out += '\t';
  AppendText(out, circuitName, kHandOffCircuitCapacity);
  out += '\t';
  AppendText(out, runTitle, kRunTitleCapacity);
  out += '\t';
  out += kLineEnd;
  return out;
}

void ParseRunHandOff(std::string_view bytes, RunHandOff& out) {
  std::memset(&out, 0, sizeof out);
  std::string_view rest;
  std::string_view fields = FirstLine(bytes, &rest);
  ParticipantRecord& p = out.participant;
  SetFieldText(p.driverName, sizeof p.driverName, NextField(fields));
  int32_t declared = ParseInt32(NextField(fields));
  if (declared < 0) declared = 0;
  const int32_t kept = declared > kMaxLapCount ? kMaxLapCount : declared;
  p.lapCount = kept;
  for (int32_t k = 0; k <= kept; ++k) p.passageTimes[k] = ParseInt32(NextField(fields));
  // Passage times past the 1000th are passed over, so that the setup sheet that follows them is
  // still read from its own fields.
  for (int32_t k = kept + 1; k <= declared && !fields.empty(); ++k) NextField(fields);
  ReadSetupTexts(fields, p.setup);

  std::string_view second = FirstNonEmptyLine(rest);
  SetFieldText(out.runCaption, sizeof out.runCaption, NextField(second));
  SetFieldText(out.circuitName, sizeof out.circuitName, NextField(second));
  SetFieldText(out.runTitle, sizeof out.runTitle, NextField(second));
}

std::string FormatSetupAnswer(const SetupSheet& sheet, bool saved) {
  std::string out = saved ? "1\t" : "0\t";
  AppendSetupTexts(out, sheet);
  out += kLineEnd;
  return out;
}

int ParseSetupAnswer(std::string_view bytes, SetupSheet& sheet) {
  std::string_view rest;
  const std::string_view line = FirstLine(bytes, &rest);
  // Exactly what FormatSetupAnswer writes: the flag "1" or "0", then the 49 texts, every field
  // ended by its tab, and no other line. A file left from another hand-off (a run hand-off whose
  // driver name begins with a digit, an archived-run request) is no answer.
  std::string_view fields = line;
  const std::string_view flagField = NextField(fields);
  const bool flagWritten = flagField == "1" || flagField == "0";
  const size_t tabs = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
  bool onlyLine = true;
  ForEachLine(rest, [&onlyLine](std::string_view other) {
    onlyLine = onlyLine && other.empty();
    return onlyLine;
  });
  if (!flagWritten || tabs != size_t(1 + kSetupFieldCount) || line.back() != '\t' || !onlyLine) {
    return kNotASetupAnswer;
  }
  if (flagField == "0") return 0;
  std::memset(&sheet, 0, sizeof sheet);
  ReadSetupTexts(fields, sheet);
  return 1;
}

std::string FormatArchivedRunRequest(const char* runsFilePath, const char* runTitle) {
  std::string out;
  AppendText(out, runsFilePath, kHandOffRunsPathCapacity);
  out += '\t';
  AppendText(out, runTitle, kRunTitleCapacity);
  out += '\t';
  out += kLineEnd;
  return out;
}

void ParseArchivedRunRequest(std::string_view bytes, ArchivedRunRequest& out) {
  std::memset(&out, 0, sizeof out);
  std::string_view fields = FirstLine(bytes);
  SetFieldText(out.runsFilePath, sizeof out.runsFilePath, NextField(fields));
  SetFieldText(out.runTitle, sizeof out.runTitle, NextField(fields));
}

bool WriteRunHandOff(const ParticipantRecord& participant, const char* runCaption,
                     const char* circuitName, const char* runTitle) {
  return WriteFileReplacing(kDetailResultsFile,
                            FormatRunHandOff(participant, runCaption, circuitName, runTitle));
}

bool ReadRunHandOff(RunHandOff& out) {
  std::string bytes;
  const bool opened = ReadHandOffFile(bytes);
  ParseRunHandOff(opened ? std::string_view(bytes) : std::string_view(), out);
  return opened;
}

bool WriteSetupAnswer(const SetupSheet& sheet, bool saved) {
  return WriteFileReplacing(kDetailResultsFile, FormatSetupAnswer(sheet, saved));
}

bool ReadSetupAnswer(SetupSheet& sheet, int& flag) {
  flag = kNotASetupAnswer;
  std::string bytes;
  if (!ReadHandOffFile(bytes)) return false;
  flag = ParseSetupAnswer(bytes, sheet);
  return true;
}

bool WriteArchivedRunRequest(const char* runsFilePath, const char* runTitle) {
  return WriteFileReplacing(kDetailResultsFile, FormatArchivedRunRequest(runsFilePath, runTitle));
}

bool ReadArchivedRunRequest(ArchivedRunRequest& out) {
  std::string bytes;
  const bool opened = ReadHandOffFile(bytes);
  ParseArchivedRunRequest(opened ? std::string_view(bytes) : std::string_view(), out);
  return opened;
}

}  // namespace zarvo
