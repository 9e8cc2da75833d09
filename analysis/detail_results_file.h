// "DetailResultats.res": the small file through which one window hands a single run to another
// and gets an answer. Every writer replaces the whole file; the next window reads it once.
//
// Three shapes (Windows-1252, CR LF; every field, the last of a line included, ends with a tab):
//   run hand-off          main window -> run synthesis window
//     line 1  driver name, lap count n, passage times 0..n, the 49 setup-sheet texts
//     line 2  run caption, circuit name, run title
//   setup answer          run synthesis window -> main window
//     one line: flag (1 = "Save", 0 = cancelled or closed), the 49 setup-sheet texts
//   archived-run request  runs database dialog -> run detail window
//     one line: path of the driver's runs file, run title
//
// The readers are bounded: they stop at the end of the file (a missing field reads as empty or
// 0), cut every text to its capacity minus one, hold the lap count to 0..999 (so never more than
// 1000 passage times) and never let one line's shortage pull in fields of the next line.
#pragma once

#include <string>
#include <string_view>

#include "race/race_model.h"

namespace zarvo {

constexpr char kDetailResultsFile[] = "DetailResultats.res";

// Reader capacities, terminator included.
constexpr int kHandOffCaptionCapacity = 90;  // " %s - Run%d "
constexpr int kHandOffCircuitCapacity = 40;
constexpr int kHandOffTitleCapacity = 105;    // the run title as the runs database keys it
constexpr int kHandOffRunsPathCapacity = 65;  // "Base données runs/%s.bdr"

// A run as the hand-off gives it: driver name, lap count, passage times 0..n and setup sheet in
// the participant record (every other field 0), with its caption, circuit and title.
struct RunHandOff {
  ParticipantRecord participant;
  char runCaption[kHandOffCaptionCapacity];
  char circuitName[kHandOffCircuitCapacity];
  char runTitle[kHandOffTitleCapacity];
};

struct ArchivedRunRequest {
  char runsFilePath[kHandOffRunsPathCapacity];
  char runTitle[kHandOffTitleCapacity];
};

// --- The file's content in memory (what the file operations below write and read).

// Shape 1. The lap count written is held to 0..999; tabs and line ends inside a text become
// spaces, as in every tab-separated file of the program.
std::string FormatRunHandOff(const ParticipantRecord& participant, const char* runCaption,
                             const char* circuitName, const char* runTitle);
// Clears out, then fills it from bytes.
void ParseRunHandOff(std::string_view bytes, RunHandOff& out);

// Shape 2: the 49 texts are written whatever the flag.
std::string FormatSetupAnswer(const SetupSheet& sheet, bool saved);
// Returns 1 or 0 for an answer exactly as FormatSetupAnswer writes it: the flag "1" or "0" and the
// 49 texts, each field ended by its tab, on one line. Anything else (another flag, a field more or
// less, a stale hand-off of another shape) is kNotASetupAnswer. Only 1 replaces the sheet: all 49
// texts are cleared, then filled from the file; otherwise the sheet is left alone.
constexpr int kNotASetupAnswer = -1;
int ParseSetupAnswer(std::string_view bytes, SetupSheet& sheet);

// Shape 3: "%s\t" then "%s\t\n".
std::string FormatArchivedRunRequest(const char* runsFilePath, const char* runTitle);
// Clears out, then fills it from bytes.
void ParseArchivedRunRequest(std::string_view bytes, ArchivedRunRequest& out);

// --- File operations on kDetailResultsFile in the current directory. Each returns false when the
// file cannot be created or opened; the caller then shows TXT_DETAIL_RESULTS_FILE_NOT_FOUND and
// goes on with what it has (a reader leaves its output cleared).

bool WriteRunHandOff(const ParticipantRecord& participant, const char* runCaption,
                     const char* circuitName, const char* runTitle);
bool ReadRunHandOff(RunHandOff& out);

bool WriteSetupAnswer(const SetupSheet& sheet, bool saved);
// flag receives what ParseSetupAnswer gives (kNotASetupAnswer when the file cannot be opened).
bool ReadSetupAnswer(SetupSheet& sheet, int& flag);

bool WriteArchivedRunRequest(const char* runsFilePath, const char* runTitle);
bool ReadArchivedRunRequest(ArchivedRunRequest& out);

}  // namespace zarvo
