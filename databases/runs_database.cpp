// The per-driver runs database: listing, reading, removing and archiving runs in fixed slots.
#include "databases/runs_database.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "databases/driver_names.h"
#include "databases/tab_text.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The filler of a slot is "1\t" repeated: the byte at position k of a line.
char FillerByte(size_t k) {
  return (k % 2 == 0) ? '1' : '\t';
}

// content followed by the filler up to length characters.
std::string Padded(std::string_view content, size_t length) {
  std::string out(content);
  for (size_t k = out.size(); k < length; ++k) out += FillerByte(k);
  return out;
}

// The key of a title: as it is written (no tab or line end), cut to 104 characters.
std::string KeyOf(const char* title) {
  std::string key;
  if (title != nullptr) AppendText(key, title, kArchivedTitleCapacity);
  return key;
}

std::string FormattedMessage(const char* format, const char* name) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, name);
  return buffer;
}

// An open runs file and a copy of its bytes, kept equal to the disk by every write.
class RunsFile {
 public:
  ~RunsFile() {
    if (file_ != nullptr) std::fclose(file_);
  }

  // mode "rb" or "r+b". False when the file cannot be opened or read whole.
  bool Open(const char* path, const char* mode) {
    file_ = OpenFile(path, mode);
    if (file_ == nullptr) return false;
    char chunk[65536];
    for (;;) {
      const size_t n = std::fread(chunk, 1, sizeof chunk, file_);
      if (n == 0) break;
      if (bytes_.size() + n > kDatabaseReadLimit) return false;
      bytes_.append(chunk, n);
    }
    if (std::ferror(file_)) return false;
    index_ = IndexRunsFile(bytes_);
    return true;
  }

  const RunsFileIndex& index() const { return index_; }
  const std::string& bytes() const { return bytes_; }

  std::string_view Line(int slot) const {
    const RunsFileLine& line = index_.slots[slot];
    return std::string_view(bytes_).substr(line.offset, line.length);
  }

  // Rewrites slot's characters with content and the filler after it; its line end stays.
  bool RewriteSlot(int slot, std::string_view content) {
    const RunsFileLine line = index_.slots[slot];
    if (content.size() > line.length) return false;
    return WriteAt(line.offset, Padded(content, line.length));
  }

  // A new slot after the last line; a last line without its line end gets one first.
  bool AppendSlot(std::string_view content) {
    std::string data;
    if (!bytes_.empty() && bytes_.back() != '\n') data += kLineEnd;
    data += Padded(content, kRunSlotContentLength);
    data += kLineEnd;
    return WriteAt(bytes_.size(), data);
  }

  // "%d\t%d\t" over the first four characters of the header line; a new header in an empty file.
  bool RewriteHeader(bool archivingOn, bool archiveFull) {
    std::string header;
    header += archivingOn ? '1' : '0';
    header += '\t';
    header += archiveFull ? '1' : '0';
    header += '\t';
    if (!index_.hasHeader) return WriteAt(0, header + kLineEnd);
    if (index_.headerLength < header.size()) return false;
    return WriteAt(0, header);
  }

 private:
  bool WriteAt(size_t offset, const std::string& data) {
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), file_) == data.size();
    if (std::fflush(file_) != 0 || !ok) return false;
    bytes_.replace(offset, std::min(data.size(), bytes_.size() - offset), data);
    index_ = IndexRunsFile(bytes_);
    return true;
  }

  std::FILE* file_ = nullptr;
  std::string bytes_;
  RunsFileIndex index_{};
};

// The first free slot that can hold content; -1 when there is none.
int FindFreeSlot(const RunsFileIndex& index, size_t contentLength) {
  for (size_t i = 0; i < index.slots.size(); ++i) {
    if (index.slots[i].key == kFreeSlotKey && index.slots[i].length >= contentLength) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool HasTimingData(const ParticipantRecord& p) {
  return p.lapCount != 0 || p.passageTimes[0] != 0 || p.bestLap != 0;
}

}  // namespace

RunsFileIndex IndexRunsFile(std::string_view bytes) {
  RunsFileIndex index{};
  size_t start = 0;
  bool first = true;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      std::string_view rest = line;
      index.hasHeader = true;
      index.headerLength = line.size();
      index.archivingOn = ParseInt32(NextField(rest)) == 1;
      index.archiveFull = ParseInt32(NextField(rest)) == 1;
      first = false;
    } else {
      std::string_view rest = line;
      const std::string_view key = NextField(rest).substr(0, kRunKeyLength);
      index.slots.push_back({start, line.size(), key});
    }
    start = end + 1;
  }
  return index;
}

int FindSlot(const RunsFileIndex& index, std::string_view title) {
  const std::string_view key = title.substr(0, kRunKeyLength);
  if (key.empty() || key == kFreeSlotKey) return -1;
  for (size_t i = 0; i < index.slots.size(); ++i) {
    if (index.slots[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

int CountStoredRuns(const RunsFileIndex& index) {
  int count = 0;
  for (const RunsFileLine& line : index.slots) {
    if (!line.key.empty() && line.key != kFreeSlotKey) ++count;
  }
  return count;
}

bool FormatRunSlot(const ParticipantRecord& p, const char* runTitle, const char* runCaption,
                   const char* trackName, std::string& content) {
  content.clear();
  content.reserve(kRunSlotContentLength);
  content += KeyOf(runTitle);
  content += '\t';
  AppendText(content, p.driverName, sizeof p.driverName);
  content += '\t';
  const int32_t laps = std::max<int32_t>(0, std::min<int32_t>(p.lapCount, kMaxLapCount));
  AppendInt(content, laps);
  content += '\t';
  for (int32_t k = 0; k <= laps; ++k) {
    AppendInt(content, p.passageTimes[k]);
    content += '\t';
  }
  for (int i = 0; i < kSetupFieldCount; ++i) {
    AppendText(content, SetupField(p.setup, i), SetupFieldCapacity(i));
    content += '\t';
  }
  AppendText(content, runCaption != nullptr ? runCaption : "", kArchivedCaptionCapacity);
  content += '\t';
  AppendText(content, trackName != nullptr ? trackName : "", kArchivedTrackCapacity);
  content += '\t';
  return content.size() <= size_t(kRunSlotContentLength);
}

void ParseRunSlot(std::string_view line, ArchivedRun& run) {
  std::memset(&run, 0, sizeof run);
  std::string_view rest = line;
  auto text = [&rest](char* field, size_t capacity) {
    const std::string_view value = NextField(rest);
    SetFieldText(field, capacity, value);
  };
  ParticipantRecord& p = run.participant;
  text(run.runTitle, sizeof run.runTitle);
  text(p.driverName, sizeof p.driverName);
  const int32_t stored = ParseInt32(NextField(rest));
  p.lapCount = std::max<int32_t>(0, std::min<int32_t>(stored, kMaxLapCount));
  // The times of a damaged slot that claims more laps than a run holds are passed over, so the
  // setup sheet is still found after them.
  for (int64_t k = 0; k <= std::max<int64_t>(0, stored) && !rest.empty(); ++k) {
    const int32_t time = ParseInt32(NextField(rest));
    if (k < kPassageCapacity) p.passageTimes[k] = time;
  }
  for (int i = 0; i < kSetupFieldCount; ++i) text(SetupField(p.setup, i), SetupFieldCapacity(i));
  text(run.runCaption, sizeof run.runCaption);
  text(run.trackName, sizeof run.trackName);
}

RunsFileResult ListRuns(const char* path, RunsListing& listing) {
  RunsFile file;
  if (!file.Open(path, "rb")) return RunsFileResult::kFileNotOpened;
  const RunsFileIndex& index = file.index();
  listing.archivingOn = index.archivingOn;
  listing.archiveFull = index.archiveFull;
  listing.entries.assign(1, std::string());
  for (const RunsFileLine& line : index.slots) {
    if (!line.key.empty() && line.key != kFreeSlotKey) listing.entries.emplace_back(line.key);
  }
  return RunsFileResult::kDone;
}

bool RunIsStored(const char* path, const char* runTitle) {
  RunsFile file;
  if (!file.Open(path, "rb")) return false;
  return FindSlot(file.index(), KeyOf(runTitle)) >= 0;
}

int FillingLevel(const RunsListing& listing) {
  const int runs = listing.entries.empty() ? 0 : static_cast<int>(listing.entries.size()) - 1;
  return 2 * runs;
}

RunsFileResult ReadRun(const char* path, const char* runTitle, ArchivedRun& run,
                       MessageBoxes& boxes) {
  RunsFile file;
  if (!file.Open(path, "rb")) return RunsFileResult::kFileNotOpened;
  const int slot = FindSlot(file.index(), KeyOf(runTitle));
  if (slot < 0) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_RUN_TO_READ_NOT_FOUND, MessageIcon::kError);
    return RunsFileResult::kRunNotFound;
  }
  ParseRunSlot(file.Line(slot), run);
  return RunsFileResult::kDone;
}

namespace {

// The runs removed from a runs database while the program runs, oldest first: the runs file, as
// a path from the root (the same file under any current folder) and its run key.
constexpr size_t kRemovedRunsKept = 256;

struct RemovedRun {
  std::string file;
  std::string key;
};

std::vector<RemovedRun>& RemovedRuns() {
  static std::vector<RemovedRun> removed;
  return removed;
}

std::string FileFromRoot(const std::string& path) {
  return CurrentFolder() + "/" + path;
}

std::vector<RemovedRun>::iterator FindRemoved(const std::string& path, const char* runTitle) {
  const std::string file = FileFromRoot(path);
  const std::string key = KeyOf(runTitle);
  std::vector<RemovedRun>& removed = RemovedRuns();
  return std::find_if(removed.begin(), removed.end(), [&](const RemovedRun& r) {
    return r.key == key && SameFileName(r.file, file);
  });
}

}  // namespace

bool RunWasRemoved(const char* driverName, const char* runTitle) {
  const std::string path = RunsDatabasePath(driverName);
  return !path.empty() && FindRemoved(path, runTitle) != RemovedRuns().end();
}

void AllowRemovedRunBack(const char* driverName, const char* runTitle) {
  const std::string path = RunsDatabasePath(driverName);
  if (path.empty()) return;
  const auto found = FindRemoved(path, runTitle);
  if (found != RemovedRuns().end()) RemovedRuns().erase(found);
}

RunsFileResult RemoveRun(const char* path, const char* runTitle, MessageBoxes& boxes) {
  RunsFile file;
  if (!file.Open(path, "r+b")) return RunsFileResult::kFileNotOpened;
  const int slot = FindSlot(file.index(), KeyOf(runTitle));
  if (slot < 0) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_RUN_TO_REMOVE_NOT_FOUND, MessageIcon::kError);
    return RunsFileResult::kRunNotFound;
  }
  const std::string freeSlot = std::string(kFreeSlotKey) + '\t';
  if (!file.RewriteSlot(slot, freeSlot)) return RunsFileResult::kWriteFailed;
  std::vector<RemovedRun>& removed = RemovedRuns();
  if (FindRemoved(path, runTitle) == removed.end()) {
    if (removed.size() >= kRemovedRunsKept) removed.erase(removed.begin());
    removed.push_back({FileFromRoot(path), KeyOf(runTitle)});
  }
  return RunsFileResult::kDone;
}

RunsFileResult SetArchivingFlag(const char* path, bool on) {
  RunsFile file;
  if (!file.Open(path, "r+b")) return RunsFileResult::kFileNotOpened;
  return file.RewriteHeader(on, file.index().archiveFull) ? RunsFileResult::kDone
                                                          : RunsFileResult::kWriteFailed;
}

RunsFileResult ClearFullFlag(const char* path) {
  RunsFile file;
  if (!file.Open(path, "r+b")) return RunsFileResult::kFileNotOpened;
  return file.RewriteHeader(file.index().archivingOn, false) ? RunsFileResult::kDone
                                                             : RunsFileResult::kWriteFailed;
}

ArchiveOutcome ArchiveParticipantRun(const ParticipantRecord& p, const char* runTitle,
                                     const char* runCaption, const char* trackName,
                                     MessageBoxes& boxes) {
  if (IsEmptySlot(p) || !HasTimingData(p)) return ArchiveOutcome::kSkipped;
  const std::string key = KeyOf(runTitle);
  if (key.empty() || key == kFreeSlotKey) return ArchiveOutcome::kSkipped;
  const std::string path = RunsDatabasePath(p.driverName);
  if (path.empty()) return ArchiveOutcome::kNameNotUsable;

  RunsFile file;
  if (!file.Open(path.c_str(), "r+b")) return ArchiveOutcome::kFileNotOpened;
  if (!file.index().archivingOn) return ArchiveOutcome::kArchivingOff;

  const int storedBefore = CountStoredRuns(file.index());
  const int slot = FindSlot(file.index(), key);
  int freeSlot = -1;
  ArchiveOutcome outcome;
  if (slot >= 0) {
    outcome = ArchiveOutcome::kUpdated;
  } else if (FindRemoved(path, runTitle) != RemovedRuns().end()) {
    return ArchiveOutcome::kRemovedByUser;
  } else if (file.index().archiveFull || storedBefore >= kMaxArchivedRuns) {
    outcome = ArchiveOutcome::kArchiveFull;
  } else {
    outcome = ArchiveOutcome::kAppended;
  }

  if (outcome != ArchiveOutcome::kArchiveFull) {
    std::string content;
    if (!FormatRunSlot(p, runTitle, runCaption, trackName, content)) {
      boxes.Show(TXT_CAPTION_ERROR,
                 FormattedMessage(TXT_RUN_TOO_LONG_TO_ARCHIVE, p.driverName).c_str(),
                 MessageIcon::kError);
      return ArchiveOutcome::kTooLong;
    }
    bool written;
    if (slot >= 0) {
      written = file.RewriteSlot(slot, content);
    } else if ((freeSlot = FindFreeSlot(file.index(), content.size())) >= 0) {
      outcome = ArchiveOutcome::kStoredInFreeSlot;
      written = file.RewriteSlot(freeSlot, content);
    } else {
      written = file.AppendSlot(content);
    }
    if (!written) {
      boxes.Show(TXT_CAPTION_ERROR, FormattedMessage(TXT_RUN_NOT_ARCHIVED, p.driverName).c_str(),
                 MessageIcon::kError);
      return ArchiveOutcome::kWriteFailed;
    }
  }

  if (!file.index().archiveFull && CountStoredRuns(file.index()) >= kMaxArchivedRuns) {
    file.RewriteHeader(true, true);
    boxes.Show(TXT_CAPTION_RUNS_DATABASE_FULL,
               FormattedMessage(TXT_RUNS_DATABASE_FULL, p.driverName).c_str(),
               MessageIcon::kWarning);
  }
  return outcome;
}

void ArchiveRun(const Race& race, const char* runTitle, const char* runCaption,
                const char* trackName, MessageBoxes& boxes) {
  for (const ParticipantRecord& p : race.slots) {
    ArchiveParticipantRun(p, runTitle, runCaption, trackName, boxes);
  }
}

bool CreateRunsDatabase(const char* driverName) {
  const std::string path = RunsDatabasePath(driverName);
  if (path.empty()) return false;
  MakeDirectory(kRunsFolder);
  if (FileExists(path.c_str())) return true;
  return WriteFileReplacing(path.c_str(), kNewRunsFileHeader);
}

bool RemoveRunsDatabase(const char* driverName) {
  const std::string path = RunsDatabasePath(driverName);
  if (path.empty()) return false;
  RemoveFile(path.c_str());
  return !FileExists(path.c_str());
}

}  // namespace zarvo
