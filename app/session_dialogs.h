// What the three session setup dialogs decide, without their controls: the track dialog
// ("COURSEPISTE"), the participants list dialog ("LISTEPILOTES") and the race parameters dialog
// ("COURSEPARAMETRES"). Each works on its own copy of what it edits, read from the working copy
// when it opens and written back only when the user confirms. The Win32 dialog procedures
// (app/*_dialog_win32.cpp) only move data between their controls and these models.
#pragma once

#include <cstdint>

#include "databases/database_records.h"
#include "platform/message_boxes.h"
#include "race/race_model.h"
#include "session/session_format.h"

namespace zarvo {

// ---- Track dialog.

constexpr int kSessionLabelMaxTyped = 48;
constexpr int kMinimumLapMaxDigits = 3;

struct TrackDialogModel {
  SessionTrack track;      // label, circuit name, minimum lap time (at least 2 s)
  char minimumLapText[4];  // what the minimum lap time box shows
  CircuitTable circuits;
  int circuitCount;     // entries of the circuit list: the names up to the first empty one
  int selectedCircuit;  // entry of the session's circuit; -1 when none
};

// Opening: the circuits database and the session track. A circuit name that is not in the list
// is cleared (the circuit was removed from the database). Shows the messages of unreadable files.
void OpenTrackModel(TrackDialogModel& model, MessageBoxes& boxes);
// The label box now holds text (cut to 48 characters). A label may not contain "Session"
// (case-sensitive: the session file finds its sections by that word): then the label is cleared
// and the result is true, the box must be emptied.
bool TrackLabelTyped(TrackDialogModel& model, const char* text);
// Circuit entry chosen in the list: it becomes the session's circuit and gives its minimum lap
// time.
void TrackCircuitChosen(TrackDialogModel& model, int entry);
// The minimum lap time box now holds text: up to 3 digits; a value of 1 or less, an empty or a
// non-numeric text stands for 2 seconds.
void TrackMinimumLapTyped(TrackDialogModel& model, const char* text);
// "Enter": rewrites "SessionPiste" with the label, the circuit name and the minimum lap time.
bool ConfirmTrack(const TrackDialogModel& model, MessageBoxes& boxes);

// ---- Participants list dialog.

struct DatabaseDriver {
  char name[kDriverNameCapacity];
  char transponder[kTransponderCapacity];
};

struct ParticipantsDialogModel {
  SessionHeader header;
  ParticipantsList list;  // the first participantCount entries are shown, in list order
  DatabaseDriver drivers[kDriverCapacity];  // the drivers database, in file order
  int driverCount;
  int participantCount;
  // Once a run has been recorded, participants can be added but no longer removed.
  bool removeAllowed;
};

// Opening: the session header, the drivers database (names and transponders) and the
// participants list. Shows the messages of unreadable files.
void OpenParticipantsModel(ParticipantsDialogModel& model, MessageBoxes& boxes);
// "<-" with database driver d selected: appends him with his transponder and no frequencies.
// Nothing (false) when he is in the list already, the list holds 20, nothing is selected, or the
// name could not be a participant's (it would break the session file).
bool AddParticipant(ParticipantsDialogModel& model, int driver);
// "->" with participant p selected: removes him, the following entries move up. Nothing (false)
// when removing is not allowed or nothing is selected.
bool RemoveParticipant(ParticipantsDialogModel& model, int participant);
// "Validate": writes the session header with the participant count, then the list.
bool ConfirmParticipants(ParticipantsDialogModel& model, MessageBoxes& boxes);

// ---- Race parameters dialog.

constexpr int kMaxDurationMinutes = 720;
constexpr int kMaxLapTarget = 999;
constexpr int kMaxCountdownSeconds = 3600;
constexpr int kDurationMaxDigits = 3;
constexpr int kLapTargetMaxDigits = 3;
constexpr int kCountdownMaxDigits = 4;

struct RaceParametersDialogModel {
  RaceParameters params;
};

// Which of the duration controls are shown: the minutes (time run) or the lap target (lap run);
// for an unknown duration mode the template's state stands.
enum class DurationControls { kMinutes, kLaps, kAsTemplate };

// Opening: the defaults, then the race parameters of the working copy.
void OpenRaceParametersModel(RaceParametersDialogModel& model, MessageBoxes& boxes);
DurationControls DurationControlsOf(const RaceParameters& params);

// A number typed in a box, after its rule: the value kept and whether the box must show that value
// instead of what was typed.
struct TypedNumber {
  int32_t value;
  bool rewriteBox;
};
// Minutes: digits only (anything else counts 0), above 720 becomes 720 (box rewritten), 0 becomes
// 1 (box kept). Laps likewise with 999. Countdown: above 3600 becomes 3600, 0 is allowed.
TypedNumber DurationMinutesTyped(RaceParametersDialogModel& model, const char* text);
TypedNumber LapTargetTyped(RaceParametersDialogModel& model, const char* text);
TypedNumber CountdownTyped(RaceParametersDialogModel& model, const char* text);
// "Validate": rewrites "SessionCourseParamètres" with the eight values.
bool ConfirmRaceParameters(const RaceParametersDialogModel& model, MessageBoxes& boxes);

}  // namespace zarvo
