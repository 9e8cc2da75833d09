// The working copy on disk: whole-file creation and copies, in-place rewrites of line 1 and of
// the sections, and the readers, with their failure messages.
#include "app/session_file.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

// Line 1 is well inside this; the header is read and written without reading the whole file.
constexpr size_t kHeaderReadBytes = 4096;

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kNone);
}

// Appends up to limit - bytes.size() more bytes of the open file; true once the end is reached.
// The string is sized from the file's length first, so a 4 MB session is read in one piece.
bool ReadUpTo(std::FILE* f, std::string& bytes, size_t limit) {
  const long here = std::ftell(f);
  if (here >= 0 && std::fseek(f, 0, SEEK_END) == 0) {
    const long end = std::ftell(f);
    std::fseek(f, here, SEEK_SET);
    if (end > here) bytes.reserve(bytes.size() + std::min(size_t(end - here), limit) + 1);
  }
  char chunk[65536];
  while (bytes.size() < limit) {
    const size_t want = std::min(sizeof chunk, limit - bytes.size());
    const size_t n = std::fread(chunk, 1, want, f);
    bytes.append(chunk, n);
    if (n < want) return std::feof(f) != 0;
  }
  // Exactly at the limit: at the end only if nothing more can be read.
  const int c = std::fgetc(f);
  if (c == EOF) return std::feof(f) != 0;
  std::ungetc(c, f);
  return false;
}

bool ReadSessionBytes(const char* path, std::string& bytes, size_t limit) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  bytes.clear();
  const bool whole = ReadUpTo(f, bytes, limit);
  const bool ok = !std::ferror(f) && (whole || limit < kMaxSessionFileBytes);
  std::fclose(f);
  return ok;
}

// Opens the file for reading and writing, reads its first prefixBytes (all of it when
// prefixBytes is kMaxSessionFileBytes), and asks plan for the change to make. When the change
// replaces the whole file and only a part was read, the rest is read and plan is asked again.
// plan returns false to write nothing (kMissing).
template <typename Plan>
SectionWrite EditFile(const char* path, size_t prefixBytes, Plan plan) {
  std::FILE* f = OpenFile(path, "r+b");
  if (f == nullptr) return SectionWrite::kNoFile;
  auto fail = [f](SectionWrite result) {
    std::fclose(f);
    return result;
  };
  std::string bytes;
  bool whole = ReadUpTo(f, bytes, prefixBytes);
  if (std::ferror(f) || (!whole && prefixBytes >= kMaxSessionFileBytes)) {
    return fail(SectionWrite::kFailed);
  }
  FileEdit edit;
  if (!plan(std::string_view(bytes), edit)) return fail(SectionWrite::kMissing);
  if (edit.replaceWhole && !whole) {
    whole = ReadUpTo(f, bytes, kMaxSessionFileBytes);
    if (std::ferror(f) || !whole) return fail(SectionWrite::kFailed);
    if (!plan(std::string_view(bytes), edit)) return fail(SectionWrite::kMissing);
  }
  if (edit.replaceWhole) {
    std::fclose(f);
    return WriteFileReplacing(path, edit.bytes) ? SectionWrite::kWritten : SectionWrite::kFailed;
  }
  bool ok = std::fseek(f, long(edit.offset), SEEK_SET) == 0;
  ok = ok && std::fwrite(edit.bytes.data(), 1, edit.bytes.size(), f) == edit.bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  return ok ? SectionWrite::kWritten : SectionWrite::kFailed;
}

SectionWrite RewriteSectionIn(const char* path, std::string_view title, int reservePairs,
                              std::string_view content, bool appendWhenMissing) {
  std::string ended;
  if (content.empty() || content.back() != '\n') {
    ended = std::string(content) + "\r\n";
    content = ended;
  }
  return EditFile(path, kMaxSessionFileBytes, [&](std::string_view file, FileEdit& edit) {
    if (!appendWhenMissing && !FindSection(file, title).found) return false;
    edit = PlanSectionRewrite(file, title, reservePairs, content);
    return true;
  });
}

bool Report(SectionWrite result, const char* failureText, MessageBoxes& boxes) {
  switch (result) {
    case SectionWrite::kWritten:
      return true;
    case SectionWrite::kNoFile:
      ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
      return false;
    case SectionWrite::kMissing:
    case SectionWrite::kFailed:
      ShowError(boxes, failureText);
      return false;
  }
  return false;
}

// Reads the working copy and runs parse over it, or reports that it cannot be opened.
template <typename Parse>
SectionRead ReadSection(MessageBoxes& boxes, Parse parse) {
  std::string bytes;
  if (!ReadSessionBytes(kWorkingCopyPath, bytes, kMaxSessionFileBytes)) {
    ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
    return SectionRead::kNoFile;
  }
  return parse(std::string_view(bytes)) ? SectionRead::kRead : SectionRead::kMissing;
}

}  // namespace

bool CreateWorkingCopy(const char* sessionName, MessageBoxes& boxes) {
  MakeDirectory(kWorkingCopyFolder);
  if (!WriteFileReplacing(kWorkingCopyPath, NewWorkingCopyBytes(sessionName))) {
    ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
    return false;
  }
  return true;
}

bool ReadSessionHeader(SessionHeader& header, MessageBoxes& boxes) {
  std::string bytes;
  if (!ReadSessionBytes(kWorkingCopyPath, bytes, kHeaderReadBytes)) {
    ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
    return false;
  }
  ParseSessionHeader(bytes, header);
  return true;
}

bool WriteSessionHeader(const SessionHeader& header, MessageBoxes& boxes) {
  const SectionWrite result =
      EditFile(kWorkingCopyPath, kHeaderReadBytes, [&](std::string_view file, FileEdit& edit) {
        edit = PlanHeaderRewrite(file, header);
        return true;
      });
  return Report(result, TXT_SESSION_FILE_NOT_FOUND, boxes);
}

bool WriteSelectedNodeId(int32_t nodeId, MessageBoxes& boxes) {
  const SectionWrite result =
      EditFile(kWorkingCopyPath, kHeaderReadBytes, [&](std::string_view file, FileEdit& edit) {
        edit = PlanSelectedNodeIdRewrite(file, nodeId);
        return true;
      });
  return Report(result, TXT_SESSION_FILE_NOT_FOUND, boxes);
}

bool RewriteSection(const char* title, int reservePairs, std::string_view content,
                    const char* missingTitleText, MessageBoxes& boxes) {
  return Report(RewriteSectionIn(kWorkingCopyPath, title, reservePairs, content, true),
                missingTitleText, boxes);
}

SectionRead ReadParticipantsList(ParticipantsList& list, MessageBoxes& boxes) {
  return ReadSection(boxes,
                     [&](std::string_view file) { return ParseParticipantsList(file, list); });
}

bool WriteParticipantsList(const ParticipantsList& list, MessageBoxes& boxes) {
  return RewriteSection(kParticipantsListTitle, kParticipantsReservePairs,
                        ParticipantsListContent(list), TXT_SESSION_NO_PARTICIPANTS_TITLE, boxes);
}

SectionWrite UpdateParticipantsList(const ParticipantsList& list) {
  return RewriteSectionIn(kWorkingCopyPath, kParticipantsListTitle, kParticipantsReservePairs,
                          ParticipantsListContent(list), false);
}

SectionRead ReadSessionTrack(SessionTrack& track, MessageBoxes& boxes) {
  return ReadSection(boxes, [&](std::string_view file) { return ParseSessionTrack(file, track); });
}

bool WriteSessionTrack(const SessionTrack& track, MessageBoxes& boxes) {
  return RewriteSection(kTrackTitle, kTrackReservePairs, SessionTrackContent(track),
                        TXT_SESSION_NO_TRACK_TITLE, boxes);
}

SectionRead ReadRaceParameters(RaceParameters& params, MessageBoxes& boxes) {
  return ReadSection(boxes,
                     [&](std::string_view file) { return ParseRaceParameters(file, params); });
}

bool WriteRaceParameters(const RaceParameters& params, MessageBoxes& boxes) {
  return RewriteSection(kRaceParametersTitle, kRaceParametersReservePairs,
                        RaceParametersContent(params), TXT_SESSION_NO_PARAMETERS_TITLE, boxes);
}

SectionRead ReadRunSection(int runNumber, Race& race, MessageBoxes& boxes) {
  return ReadSection(boxes,
                     [&](std::string_view file) { return ParseRunSection(file, runNumber, race); });
}

bool WriteRunSection(int runNumber, const Race& race, MessageBoxes& boxes) {
  char title[kSectionTitleCapacity];
  FormatRunSectionTitle(runNumber, title, sizeof title);
  return RewriteSection(title, RunReservePairs(OccupiedSlotCount(race)), RunSectionContent(race),
                        TXT_SESSION_NO_RUN_TITLE, boxes);
}

bool CopySessionFile(const char* source, const char* destination) {
  return CopyWholeFile(source, destination);
}

bool KeepCrashCopy() {
  if (!FileExists(kWorkingCopyPath)) return false;
  return CopyWholeFile(kWorkingCopyPath, kCrashCopyPath);
}

}  // namespace zarvo
