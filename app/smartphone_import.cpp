// Reading a phone run, rebuilding the working copy from it and the lane rules of the import
// dialog (see smartphone_import.h).
#include "app/smartphone_import.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/session_controller.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr char kPhoneRunTitle[] = "SessionRun1";
constexpr size_t kTitlePrefixLength = sizeof kSectionTitlePrefix - 1;
// A header counting more lanes than this is damaged beyond any phone.
constexpr int32_t kMaxLanesInFile = 1000;

// ---- A structural walk over the file, on the session file's grammar: lines end with LF (a CR
// before it is dropped), fields are followed by tabs, a section's data lines are its non-empty
// lines up to the next title line.

std::string_view LineText(std::string_view file, size_t start, size_t& next) {
  const size_t nl = file.find('\n', start);
  const size_t end = nl == std::string_view::npos ? file.size() : nl;
  next = nl == std::string_view::npos ? file.size() : nl + 1;
  std::string_view text = file.substr(start, end - start);
  while (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

class DataLines {
 public:
  DataLines(std::string_view file, size_t start) : file_(file), pos_(start) {}
  bool Next(std::string_view& text) {
    while (pos_ < file_.size()) {
      if (file_.substr(pos_, kTitlePrefixLength) == kSectionTitlePrefix) return false;
      text = LineText(file_, pos_, pos_);
      if (!text.empty()) return true;
    }
    return false;
  }

 private:
  std::string_view file_;
  size_t pos_;
};

class FieldWalk {
 public:
  explicit FieldWalk(std::string_view line) : line_(line) {}
  bool Next(std::string_view& field) {
    if (pos_ >= line_.size()) return false;
    const size_t tab = line_.find('\t', pos_);
    const size_t end = tab == std::string_view::npos ? line_.size() : tab;
    field = line_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return true;
  }
  // The next field is a decimal number as "%d" reads it (blanks, a sign, digits); its value,
  // saturated, in value.
  bool Number(int64_t& value) {
    std::string_view field;
    if (!Next(field)) return false;
    size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    if (i >= field.size() || field[i] < '0' || field[i] > '9') return false;
    value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
      value = std::min<int64_t>(value * 10 + (field[i] - '0'), int64_t(1) << 40);
    }
    if (negative) value = -value;
    return true;
  }
  bool Number() {
    int64_t ignored;
    return Number(ignored);
  }

 private:
  std::string_view line_;
  size_t pos_ = 0;
};

// Line 1: node id, name, participant count, runs-recorded flag, run count. The count as written.
bool CheckHeader(std::string_view file, int64_t& laneCount) {
  size_t next;
  FieldWalk fields(LineText(file, 0, next));
  std::string_view name;
  int64_t flag, runs;
  return fields.Number() && fields.Next(name) && fields.Number(laneCount) && fields.Number(flag) &&
         fields.Number(runs);
}

// A lane line: name, lap count L, four lap statistics, passage times 0 to L (at most the 1000
// the table holds are looked at).
bool CheckLaneLine(std::string_view line) {
  FieldWalk fields(line);
  std::string_view name;
  int64_t laps;
  if (!fields.Next(name) || !fields.Number(laps) || laps < 0) return false;
  for (int i = 0; i < 4; ++i) {
    if (!fields.Number()) return false;
  }
  const int64_t times = std::min<int64_t>(laps, kMaxLapCount) + 1;
  for (int64_t k = 0; k < times; ++k) {
    if (!fields.Number()) return false;
  }
  return true;
}

// The run title: the first field of the line after the lane lines, cut to 104 characters.
void SetRunTitle(std::string_view line, Race& table) {
  const std::string_view field = line.substr(0, line.find('\t'));
  SetText(table.run.runTitle, kStoredRunTitleCapacity, field.data(),
          std::min(field.size(), size_t(kStoredRunTitleCapacity - 1)));
}

// A name of the file as the session keeps it: "(NA)" and names that obey the driver-name rules
// stay; an empty name stays "(NA)" past the lanes in use; anything else becomes "Lane k".
void MakeNameSafe(char (&name)[kDriverNameCapacity], int lane, int lanesUsed) {
  if (SameText(name, kNoDriver)) return;
  if (name[0] == '\0' && lane > lanesUsed) {
    SetText(name, kNoDriver);
    return;
  }
  if (CheckDriverName(name) == DriverNameProblem::kNone) return;
  std::memset(name, 0, sizeof name);
  std::snprintf(name, sizeof name, TXT_IMPORT_UNNAMED_LANE, lane);
}

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kNone);
}

bool WriteImportedWorkingCopy(const PhoneRun& run, MessageBoxes& boxes) {
  if (ReplaceWorkingCopy(ImportedWorkingCopy(run))) return true;
  ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
  return false;
}

bool InDatabase(const SmartphoneImportModel& model, const char* name) {
  for (int d = 0; d < model.databaseCount; ++d) {
    if (SameText(model.database->names[d], name)) return true;
  }
  return false;
}

}  // namespace

PhoneFileCheck ReadPhoneRun(std::string_view bytes, PhoneRun& run) {
  // 1. Everything cleared: the list "(NA)" with empty fields, the table wiped.
  std::memset(&run.header, 0, sizeof run.header);
  ClearParticipantsList(run.list);
  run.table = std::make_unique<Race>();
  std::memset(run.table.get(), 0, sizeof(Race));
  if (bytes.size() > kMaxPhoneFileBytes) return PhoneFileCheck::kTooLarge;

  // The layout first, so that a file that is not a phone run changes nothing.
  int64_t lanesWritten = 0;
  if (!CheckHeader(bytes, lanesWritten)) return PhoneFileCheck::kNoHeader;
  const SectionSpot list = FindSection(bytes, kParticipantsListTitle);
  if (!list.found) return PhoneFileCheck::kNoParticipants;
  const SectionSpot runSpot = FindSection(bytes, kPhoneRunTitle);
  if (!runSpot.found) return PhoneFileCheck::kNoRun;

  // 2. Header, list and run with the session file's readers.
  ParseSessionHeader(bytes, run.header);
  const int lanesUsed = run.header.participantCount;  // held to 0..20
  {
    // All 20 entries: a shorter list would have its reserve read as entries.
    DataLines lines(bytes, list.dataStart);
    std::string_view line;
    for (int k = 0; k < kSlotCount; ++k) {
      if (!lines.Next(line)) return PhoneFileCheck::kNoParticipants;
    }
  }
  ParseParticipantsList(bytes, run.list);

  // Lane lines: 20, or as many as the header counts when a phone used more lanes than the
  // table has (those are skipped); then the title line.
  const int64_t laneLines = std::clamp<int64_t>(lanesWritten, kSlotCount, kMaxLanesInFile);
  DataLines lines(bytes, runSpot.dataStart);
  std::string_view line;
  for (int64_t k = 0; k < laneLines; ++k) {
    if (!lines.Next(line) || !CheckLaneLine(line)) return PhoneFileCheck::kDamagedRun;
  }
  if (!lines.Next(line)) return PhoneFileCheck::kDamagedRun;
  Race& table = *run.table;
  ParseRunSection(bytes, 1, table);
  SetRunTitle(line, table);

  // 3. Nothing of the file beyond the layout is kept: no setup sheet; no name that could be taken
  // for a section title, an empty entry or a path.
  for (int k = 0; k < kSlotCount; ++k) {
    ParticipantRecord& slot = table.slots[k];
    std::memset(&slot.setup, 0, sizeof slot.setup);
    MakeNameSafe(slot.driverName, k + 1, lanesUsed);
    MakeNameSafe(run.list.entries[k].driverName, k + 1, lanesUsed);
  }
  return PhoneFileCheck::kReadable;
}

std::string ImportedWorkingCopy(const PhoneRun& run) {
  SessionHeader header = run.header;
  header.runCount = std::max<int32_t>(header.runCount, 1);
  header.runsRecorded = true;
  std::string bytes = SessionHeaderLine(header) + "\r\n";
  ApplyEdit(bytes, PlanSectionRewrite(bytes, kParticipantsListTitle, kParticipantsReservePairs,
                                      ParticipantsListContent(run.list)));
  ApplyEdit(bytes,
            PlanSectionRewrite(bytes, kPhoneRunTitle, RunReservePairs(header.participantCount),
                               RunSectionContent(*run.table)));
  return bytes;
}

PhoneFileCopy CopyChosenPhoneFile(const char* chosen) {
  std::FILE* f = OpenFile(chosen, "rb");
  if (f == nullptr) return PhoneFileCopy::kNotOpened;
  // ftell fails beyond what a long holds (2 GB on Windows): too large as well.
  const bool atEnd = std::fseek(f, 0, SEEK_END) == 0;
  const long size = atEnd ? std::ftell(f) : -1;
  std::fclose(f);
  if (size < 0 || static_cast<unsigned long>(size) > kMaxPhoneFileBytes) {
    return PhoneFileCopy::kTooLarge;
  }
  std::string bytes;
  if (!ReadWholeFile(chosen, bytes, kMaxPhoneFileBytes)) {
    return FileExists(chosen) ? PhoneFileCopy::kTooLarge : PhoneFileCopy::kNotOpened;
  }
  MakeDirectory(kSmartphoneCopyFolder);
  if (!WriteFileReplacing(kSmartphoneCopyPath, bytes)) return PhoneFileCopy::kNotWritten;
  return PhoneFileCopy::kCopied;
}

bool OpenSmartphoneImport(SmartphoneImportModel& model, MessageBoxes& boxes) {
  std::string bytes;
  if (!ReadWholeFile(kSmartphoneCopyPath, bytes, kMaxPhoneFileBytes)) {
    // Either it cannot be opened, or it is far larger than any phone run.
    std::FILE* f = OpenFile(kSmartphoneCopyPath, "rb");
    if (f != nullptr) std::fclose(f);
    ShowError(boxes, f != nullptr ? TXT_IMPORT_NOT_A_PHONE_FILE : TXT_IMPORT_FILE_NOT_FOUND);
    return false;
  }
  if (ReadPhoneRun(bytes, model.phone) != PhoneFileCheck::kReadable) {
    ShowError(boxes, TXT_IMPORT_NOT_A_PHONE_FILE);
    return false;
  }
  if (!WriteImportedWorkingCopy(model.phone, boxes)) return false;

  model.database = std::make_unique<DriverNameList>();
  model.databaseCount = 0;
  auto names = std::make_unique<DriverNameList>();
  std::memset(names.get(), 0, sizeof(DriverNameList));
  if (ReadDriverNames(*names)) {
    for (int d = 0; d < kDriverCapacity && names->names[d][0] != '\0'; ++d) {
      if (CheckDriverName(names->names[d]) != DriverNameProblem::kNone) continue;
      if (InDatabase(model, names->names[d])) continue;  // a list holds every name once
      SetText(model.database->names[model.databaseCount++], names->names[d]);
    }
  } else {
    ShowError(boxes, TXT_DRIVERS_FILE_NOT_FOUND);
  }

  for (int k = 0; k < kImportLaneCount; ++k) {
    model.laneVisible[k] = k < model.phone.header.participantCount;
    model.laneAssigned[k] = !model.laneVisible[k];
  }
  return true;
}

const char* LaneDriverName(const SmartphoneImportModel& model, int lane) {
  if (lane < 1 || lane > kImportLaneCount) return "";
  return model.phone.list.entries[lane - 1].driverName;
}

bool ChooseLaneDriver(SmartphoneImportModel& model, int lane, const char* name) {
  if (lane < 1 || lane > kImportLaneCount || !model.laneVisible[lane - 1]) return false;
  if (name == nullptr || !InDatabase(model, name)) return false;
  model.laneAssigned[lane - 1] = true;
  SetText(model.phone.list.entries[lane - 1].driverName, name);
  SetText(model.phone.table->slots[lane - 1].driverName, name);
  return true;
}

bool ImportCanValidate(const SmartphoneImportModel& model) {
  for (bool assigned : model.laneAssigned) {
    if (!assigned) return false;
  }
  const ParticipantEntry* entries = model.phone.list.entries;
  for (int a = 0; a < kSlotCount; ++a) {
    if (SameText(entries[a].driverName, kNoDriver)) continue;
    for (int b = a + 1; b < kSlotCount; ++b) {
      // One runs database file for two names ("Éric", "éric") counts as one name.
      if (SameFileName(entries[a].driverName, entries[b].driverName)) return false;
    }
  }
  return true;
}

bool ConfirmSmartphoneImport(SmartphoneImportModel& model, MessageBoxes& boxes) {
  if (!ImportCanValidate(model)) return false;
  return WriteImportedWorkingCopy(model.phone, boxes);
}

}  // namespace zarvo
