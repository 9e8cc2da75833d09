// The smartphone import: the run a phone's timing application exported as a ".trng2" file, read
// from its copy "Smartphone/Run1.trng2", becomes the working copy of a new session; the import
// dialog ("IMPORTSMARTPHONE") gives the phone's lanes 1 to 11 the names of database drivers.
// The Win32 procedure (app/smartphone_import_dialog_win32.cpp) only moves data between its
// controls and SmartphoneImportModel.
//
// A phone file has the grammar of a session file (session/session_format.h): line 1 the session
// header; the section "SessionListeParticipants" of 20 entries; the section "SessionRun1" of 20
// lane lines (driver name, lap count L, last, best, worst and average lap, passage times 0 to L,
// nothing else: no setup sheet) and the run title line. Reserve characters between sections are
// skipped; lines end with CR LF or LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "databases/database_records.h"
#include "platform/message_boxes.h"
#include "race/race_model.h"
#include "session/session_format.h"

namespace zarvo {

// The lanes the dialog lets the user assign; lanes 12 to 20 keep the phone's names.
constexpr int kImportLaneCount = 11;
// A larger file is no phone run (20 lanes of 999 laps of nine digits are under 250 KB).
constexpr size_t kMaxPhoneFileBytes = size_t(4) << 20;

// What a phone file holds, as read.
struct PhoneRun {
  SessionHeader header;   // participant count P: the lanes used on the phone (0 to 20)
  ParticipantsList list;  // 20 entries: names, transponders and frequencies
  // Slots 1 to 20: names, laps, lap statistics and passage times, empty setup sheets; the run
  // title (at most 104 characters) in table->run.runTitle. Every other field is 0.
  std::unique_ptr<Race> table;
};

enum class PhoneFileCheck {
  kReadable,
  kNoHeader,        // line 1 is not a session header (node id, name and three numbers)
  kNoParticipants,  // no "SessionListeParticipants" section of 20 entries
  kNoRun,           // no "SessionRun1" section
  kDamagedRun,      // a lane line or the run title line is missing or not numbers where due
  kTooLarge,
};

// Reads a phone file held in memory into run (which it allocates and fills from scratch). A file
// that does not follow the layout gives its first fault and the run must not be used. What a
// readable file may hold is bounded: at most 20 lanes (a header counting more counts 20; further
// lane lines are skipped), at most 999 laps (the first 1000 passage times are kept), texts cut to
// their capacities. A driver name that breaks the driver-name rules (databases/driver_names.h)
// or is empty on a lane in use is replaced by "Lane k" / "Ligne k" in the list and in the run,
// so no name of the file ever becomes a section title or a path.
PhoneFileCheck ReadPhoneRun(std::string_view bytes, PhoneRun& run);

// The bytes of the working copy the import builds, whole: the phone header (with at least one run,
// so the imported run has its node, and the runs-recorded flag set, since that run is written:
// its drivers can no longer be removed), "SessionListeParticipants" with the list over its
// reserve of 1000 pairs, and "SessionRun1" with the run's slots, empty setup sheets and the run
// title over a reserve of 4981 x P + 883 pairs.
std::string ImportedWorkingCopy(const PhoneRun& run);

enum class PhoneFileCopy { kCopied, kNotOpened, kTooLarge, kNotWritten };

// The file the user chose, copied to "Smartphone/Run1.trng2" (the folder made if needed). Its
// size is looked at before anything is read: a file larger than kMaxPhoneFileBytes is no phone
// run and is not read at all. Nothing is written unless the whole file was read.
PhoneFileCopy CopyChosenPhoneFile(const char* chosen);

struct SmartphoneImportModel {
  PhoneRun phone;
  // The names the lanes' lists offer: the drivers database's, in file order, without the names
  // that break the driver-name rules (a hand-edited file may hold some).
  std::unique_ptr<DriverNameList> database;
  int databaseCount = 0;
  bool laneVisible[kImportLaneCount] = {};
  bool laneAssigned[kImportLaneCount] = {};  // hidden lanes count as assigned
};

// Opening: reads "Smartphone/Run1.trng2"; a file that cannot be opened or does not follow the
// layout is refused with its message and false, and nothing is written. Otherwise rebuilds the
// working copy from it (false and "Error: Session file not found" when it cannot be written),
// reads the drivers database's names (its message when it cannot be opened; the lists stay
// empty) and sets the lanes: lane k is visible and unassigned when k is at most the phone's
// participant count, hidden and assigned otherwise. True when the working copy was rebuilt.
bool OpenSmartphoneImport(SmartphoneImportModel& model, MessageBoxes& boxes);

// The name lane k (1..11) shows: the phone list's entry k.
const char* LaneDriverName(const SmartphoneImportModel& model, int lane);

// Database driver chosen for lane k (1..11): the lane is assigned and the name replaces the
// driver of list entry k and of slot k of the run. Nothing (false) for a hidden lane or a name
// that is not one of the database's.
bool ChooseLaneDriver(SmartphoneImportModel& model, int lane, const char* name);

// "Validate" may close the dialog: every lane is assigned and no name other than "(NA)" occurs
// in two entries of the list (the phone's names of unassigned entries included).
bool ImportCanValidate(const SmartphoneImportModel& model);

// "Validate": when ImportCanValidate holds, writes the working copy again with the chosen names
// (the phone's transponders and frequencies kept) and returns true; otherwise writes nothing and
// returns false, so the dialog stays open without a message.
bool ConfirmSmartphoneImport(SmartphoneImportModel& model, MessageBoxes& boxes);

}  // namespace zarvo
