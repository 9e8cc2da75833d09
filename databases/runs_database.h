// The runs database of a driver, "Base données runs/<driver>.bdr": the runs he drove, keyed by
// their run title, at most 50, each in a fixed-length slot that is rewritten in place.
//
// File layout (Windows-1252, CR LF):
//   header   "%d\t%d\t" + CR LF: archiving on (0/1), archive full (0/1)
//   slots    one line each of exactly 10,212 bytes: 10,210 characters and CR LF. A slot is the
//            filler ("1\t" repeated) with its content written over the beginning:
//              used slot  run title, driver name, lap count n, passage times 0..n, the 49 texts
//                         of the setup sheet, run caption, track name, each followed by a tab
//              free slot  "Run vide" and a tab
// The first field of a slot is its key. Two runs are the same run when their titles are equal
// over their first 104 characters.
//
// Damaged files are handled without spilling over a neighbour: a slot is only ever rewritten
// within its own line, so a line that is not 10,210 characters long keeps its length; a new slot
// is appended after a line end of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/message_boxes.h"
#include "race/race_model.h"

namespace zarvo {

constexpr int kRunSlotContentLength = 10210;               // characters before the line end
constexpr int kRunSlotLength = kRunSlotContentLength + 2;  // on disk, CR LF included
constexpr int kMaxArchivedRuns = 50;
constexpr int kRunKeyLength = 104;  // characters of a title that count
constexpr int kArchivedTitleCapacity = kRunKeyLength + 1;
constexpr int kArchivedCaptionCapacity = 45;  // " %s - Run%d "
constexpr int kArchivedTrackCapacity = 40;
constexpr const char kFreeSlotKey[] = "Run vide";
constexpr const char kNewRunsFileHeader[] = "0\t0\t\r\n";

// --- In-memory view of a runs file (what the operations below read and write).

struct RunsFileLine {
  size_t offset;         // of the line's first byte
  size_t length;         // characters before the line end
  std::string_view key;  // the first field, cut to 104 characters
};

struct RunsFileIndex {
  bool hasHeader;       // the file is not empty
  size_t headerLength;  // characters of the header line before its line end
  bool archivingOn;
  bool archiveFull;
  std::vector<RunsFileLine> slots;  // every line after the header, in file order
};

RunsFileIndex IndexRunsFile(std::string_view bytes);
// The first slot whose key is the key of title; -1 when there is none.
int FindSlot(const RunsFileIndex& index, std::string_view title);
// Slots whose key is neither "Run vide" nor empty.
int CountStoredRuns(const RunsFileIndex& index);

// The content of a used slot (without filler and line end). False when it is longer than
// 10,210 characters: such a run cannot be stored.
bool FormatRunSlot(const ParticipantRecord& participant, const char* runTitle,
                   const char* runCaption, const char* trackName, std::string& content);

// A run as the runs database gives it back: driver name, lap count, passage times 0..n and setup
// sheet in the participant record (every other field 0), with the run's title, caption and track.
struct ArchivedRun {
  ParticipantRecord participant;
  char runTitle[kArchivedTitleCapacity];
  char runCaption[kArchivedCaptionCapacity];
  char trackName[kArchivedTrackCapacity];
};

// Fills run from one slot line. Fields are cut to their capacities; the lap count is held to
// 0..999; missing fields stay empty or 0.
void ParseRunSlot(std::string_view line, ArchivedRun& run);

// --- File operations. The path is RunsDatabasePath(driver name) (databases/driver_names.h).

enum class RunsFileResult {
  kDone,
  kRunNotFound,    // the message has been shown
  kFileNotOpened,  // the caller reports it
  kWriteFailed,    // the file could not be written (disk full, damaged line)
};

// What the runs database dialog shows for a driver.
struct RunsListing {
  bool archivingOn = false;
  bool archiveFull = false;
  // An empty first entry, then the key of every stored run, in file order.
  std::vector<std::string> entries;
};

RunsFileResult ListRuns(const char* path, RunsListing& listing);
// The file holds a run of that title (false when it cannot be opened).
bool RunIsStored(const char* path, const char* runTitle);
// 2 per cent per stored run: 50 runs are 100.
int FillingLevel(const RunsListing& listing);

// Finds the run and fills run; TXT_RUN_TO_READ_NOT_FOUND when it is not in the file.
RunsFileResult ReadRun(const char* path, const char* runTitle, ArchivedRun& run,
                       MessageBoxes& boxes);

// Turns the run's slot into a free slot; TXT_RUN_TO_REMOVE_NOT_FOUND when it is not in the file.
// The program remembers the removal while it runs (the last 256): archiving never stores that
// run in that file again of its own accord (see ArchiveParticipantRun).
RunsFileResult RemoveRun(const char* path, const char* runTitle, MessageBoxes& boxes);

// Rewrites the header with the archiving flag; the rest of the file is untouched.
RunsFileResult SetArchivingFlag(const char* path, bool on);
// Rewrites the header with the archive full flag 0 (after a removal brought the level under 100).
RunsFileResult ClearFullFlag(const char* path);

// What happened to one participant's run.
enum class ArchiveOutcome {
  kSkipped,        // empty slot, or no timing data at all
  kNameNotUsable,  // the driver name breaks the driver-name rules: never a path
  kFileNotOpened,  // no runs database for this driver: not archived, no message
  kArchivingOff,
  kUpdated,           // the run was stored already: its slot was rewritten
  kStoredInFreeSlot,  // in the first "Run vide" slot
  kAppended,          // in a new slot at the end of the file
  kArchiveFull,       // a new run while 50 runs are stored: not stored
  kRemovedByUser,     // the user removed this run from the file: not stored again
  kTooLong,           // more than 10,210 characters: not stored, message shown
  kWriteFailed,       // message shown
};

// Stores one participant's run in his runs database, keyed by the run title. When the archive
// reaches 50 runs its full flag is set and TXT_RUNS_DATABASE_FULL is shown, once. A run the user
// removed from that file while the program runs is not stored again (leaving the run, closing
// and a new setup sheet all archive it): the removal stands until AllowRemovedRunBack.
// (The memory lasts while the program runs: a removed run of a session loaded later comes back
// when that run is left, as any run that holds data.)
ArchiveOutcome ArchiveParticipantRun(const ParticipantRecord& participant, const char* runTitle,
                                     const char* runCaption, const char* trackName,
                                     MessageBoxes& boxes);

// The end of a run, closing, changing run or session: stores the run of each of the 20
// participants in slot order, with the run title, the run caption (" %s - Run%d ") and the
// session's circuit name.
void ArchiveRun(const Race& race, const char* runTitle, const char* runCaption,
                const char* trackName, MessageBoxes& boxes);

// Whether the user removed that run from the driver's runs database while the program runs, and
// the user's leave to store it there again.
bool RunWasRemoved(const char* driverName, const char* runTitle);
void AllowRemovedRunBack(const char* driverName, const char* runTitle);

// The drivers editor keeps one runs database per driver. Create writes a new file holding only
// the header (both flags 0) and keeps a file that exists already; both refuse a driver name that
// breaks the rules. Remove is true when the file is gone afterwards.
bool CreateRunsDatabase(const char* driverName);
bool RemoveRunsDatabase(const char* driverName);

}  // namespace zarvo
