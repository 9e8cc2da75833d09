// The working copy on disk: whole-file creation and copies, in-place rewrites of line 1 and of
// the sections, and the readers, with their failure messages.
#include "session/session_file.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
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

// The stamp known for a folder.
struct KnownStamp {
  std::string folder;
  std::string stamp;
  bool known = false;
};

KnownStamp& Known() {
  static KnownStamp known;
  return known;
}

void Remember(const std::string& stamp) {
  KnownStamp& k = Known();
  k.folder = CurrentFolder();
  k.stamp = stamp;
  k.known = true;
}

}  // namespace

std::string NewSessionStamp() {
  // Seconds and a fine clock from the standard library, a counter and the system's randomness,
  // mixed so that two stamps made one after the other share nothing.
  static uint64_t counter = 0;
  std::random_device random;
  uint64_t x = uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
  x ^= uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) << 1;
  x ^= (uint64_t(random()) << 32) ^ uint64_t(random()) ^ (++counter * 0x9E3779B97F4A7C15ull);
  x ^= x >> 30;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 27;
  x *= 0x94D049BB133111EBull;
  x ^= x >> 31;
  char text[24];
  std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(x));
  return text;
}

bool WriteWorkingCopyStamp(const std::string& stamp) {
  const bool written = WriteFileReplacing(kWorkingCopyStampPath, stamp + "\r\n");
  Remember(written ? stamp : std::string());
  return written;
}

std::string ReadWorkingCopyStamp() {
  std::string bytes;
  std::string stamp;
  if (ReadWholeFile(kWorkingCopyStampPath, bytes, 64) && bytes.size() >= kSessionStampLength) {
    stamp = bytes.substr(0, kSessionStampLength);
    for (const char c : stamp) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) stamp.clear();
    }
  }
  Remember(stamp);
  return stamp;
}

std::string WorkingCopyStamp() {
  const KnownStamp& k = Known();
  if (k.known && k.folder == CurrentFolder()) return k.stamp;
  return ReadWorkingCopyStamp();
}

bool ReplaceWorkingCopy(std::string_view bytes) {
  MakeDirectory(kWorkingCopyFolder);
  RemoveFile(kWorkingCopyStampPath);
  Remember(std::string());
  if (!WriteFileReplacing(kWorkingCopyPath, bytes)) return false;
  WriteWorkingCopyStamp(NewSessionStamp());
  return true;
}

bool CreateWorkingCopy(const char* sessionName, MessageBoxes& boxes) {
  if (!ReplaceWorkingCopy(NewWorkingCopyBytes(sessionName))) {
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
  if (std::strcmp(destination, kWorkingCopyPath) != 0) return CopyWholeFile(source, destination);
  // Another session in the working copy: the old stamp goes first, the new one comes after; a
  // copy that failed left the working copy as it was, and its stamp comes back.
  const std::string old = ReadWorkingCopyStamp();
  RemoveFile(kWorkingCopyStampPath);
  Remember(std::string());
  if (!CopyWholeFile(source, destination)) {
    if (!old.empty()) WriteWorkingCopyStamp(old);
    return false;
  }
  WriteWorkingCopyStamp(NewSessionStamp());
  return true;
}

bool KeepCrashCopy() {
  if (!FileExists(kWorkingCopyPath)) return false;
  return CopyWholeFile(kWorkingCopyPath, kCrashCopyPath);
}

}  // namespace zarvo
