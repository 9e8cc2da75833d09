// The decisions of the track, participants list and race parameters dialogs.
#include "app/session_dialogs.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "platform/file_names.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The value of the first maxDigits characters of text (the box's limit) when they are all digits;
// -1 for anything else, the empty text included.
int32_t DigitsValue(const char* text, int maxDigits) {
  size_t length = std::strlen(text);
  if (length > size_t(maxDigits)) length = size_t(maxDigits);
  if (length == 0) return -1;
  int32_t value = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The first maxCharacters characters of text.
void CopyCut(char* out, size_t capacity, const char* text, size_t maxCharacters) {
  const size_t length = std::strlen(text);
  SetText(out, capacity, text, length < maxCharacters ? length : maxCharacters);
}

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kNone);
}

void SetMinimumLap(TrackDialogModel& model, int32_t seconds) {
  if (seconds < kLeastMinimumLapSeconds) seconds = kDefaultMinimumLapSeconds;
  if (seconds > kMaxMinimumLapSeconds) seconds = kMaxMinimumLapSeconds;  // the box has 3 digits
  model.track.minimumLapSeconds = seconds;
  char text[12];
  std::snprintf(text, sizeof text, "%d", int(seconds));
  SetText(model.minimumLapText, text);
}

}  // namespace

// ---- Track dialog.

void OpenTrackModel(TrackDialogModel& model, MessageBoxes& boxes) {
  std::memset(&model, 0, sizeof model);
  model.track = DefaultSessionTrack();
  model.selectedCircuit = -1;
  ClearCircuits(model.circuits);
  if (!ReadCircuits(model.circuits)) ShowError(boxes, TXT_CIRCUITS_FILE_NOT_FOUND);
  ReadSessionTrack(model.track, boxes);
  SetMinimumLap(model, model.track.minimumLapSeconds);
  // The label box refuses "Session"; a label read from a damaged file obeys the same rule.
  TrackLabelTyped(model, model.track.label);

  while (model.circuitCount < kCircuitCapacity &&
         model.circuits.records[model.circuitCount].name[0] != '\0') {
    ++model.circuitCount;
  }
  for (int i = 0; i < model.circuitCount; ++i) {
    if (SameText(model.circuits.records[i].name, model.track.circuitName)) {
      model.selectedCircuit = i;
      break;
    }
  }
  if (model.selectedCircuit < 0) ClearText(model.track.circuitName);
}

bool TrackLabelTyped(TrackDialogModel& model, const char* text) {
  char label[kSessionLabelCapacity];
  CopyCut(label, sizeof label, text, kSessionLabelMaxTyped);
  if (std::strstr(label, kSectionTitlePrefix) != nullptr) {
    ClearText(model.track.label);
    return true;
  }
  SetText(model.track.label, label);
  return false;
}

void TrackCircuitChosen(TrackDialogModel& model, int entry) {
  if (entry < 0 || entry >= model.circuitCount) return;
  const CircuitRecord& circuit = model.circuits.records[entry];
  model.selectedCircuit = entry;
  SetText(model.track.circuitName, circuit.name);
  TrackMinimumLapTyped(model, circuit.minimumLapTime);
}

void TrackMinimumLapTyped(TrackDialogModel& model, const char* text) {
  SetMinimumLap(model, DigitsValue(text, kMinimumLapMaxDigits));
}

bool ConfirmTrack(const TrackDialogModel& model, MessageBoxes& boxes) {
  return WriteSessionTrack(model.track, boxes);
}

// ---- Participants list dialog.

void OpenParticipantsModel(ParticipantsDialogModel& model, MessageBoxes& boxes) {
  std::memset(&model, 0, sizeof model);
  for (ParticipantEntry& entry : model.list.entries) SetText(entry.driverName, kNoDriver);
  if (!ReadSessionHeader(model.header, boxes)) std::memset(&model.header, 0, sizeof model.header);

  auto table = std::make_unique<DriverTable>();
  ClearDrivers(*table);
  if (ReadDrivers(*table)) {
    while (model.driverCount < kDriverCapacity &&
           table->records[model.driverCount].name[0] != '\0') {
      const DriverRecord& record = table->records[model.driverCount];
      DatabaseDriver& driver = model.drivers[model.driverCount];
      SetText(driver.name, record.name);
      SetText(driver.transponder, record.transponder);
      ++model.driverCount;
    }
  } else {
    ShowError(boxes, TXT_DRIVERS_FILE_NOT_FOUND);
  }

  ReadParticipantsList(model.list, boxes);
  while (model.participantCount < kSlotCount) {
    const char* name = model.list.entries[model.participantCount].driverName;
    if (name[0] == '\0' || SameText(name, kNoDriver)) break;
    ++model.participantCount;
  }
  model.removeAllowed = !model.header.runsRecorded;
}

bool AddParticipant(ParticipantsDialogModel& model, int driver) {
  if (driver < 0 || driver >= model.driverCount) return false;
  if (model.participantCount >= kSlotCount) return false;
  const DatabaseDriver& chosen = model.drivers[driver];
  // The drivers editor refuses such names; a hand-edited database could still hold one, and in
  // the list it would be taken for a section title or an empty entry.
  if (CheckDriverName(chosen.name) != DriverNameProblem::kNone) return false;
  // Names of one runs database file ("Éric", "éric") would archive into each other's runs.
  for (int k = 0; k < model.participantCount; ++k) {
    if (SameFileName(model.list.entries[k].driverName, chosen.name)) return false;
  }
  ParticipantEntry& entry = model.list.entries[model.participantCount];
  std::memset(&entry, 0, sizeof entry);
  SetText(entry.driverName, chosen.name);
  SetText(entry.transponder, chosen.transponder);
  ++model.participantCount;
  model.header.participantCount = model.participantCount;
  return true;
}

bool RemoveParticipant(ParticipantsDialogModel& model, int participant) {
  if (!model.removeAllowed) return false;
  if (participant < 0 || participant >= model.participantCount) return false;
  ParticipantEntry* entries = model.list.entries;
  for (int k = participant; k < kSlotCount - 1; ++k) entries[k] = entries[k + 1];
  std::memset(&entries[kSlotCount - 1], 0, sizeof entries[kSlotCount - 1]);
  SetText(entries[kSlotCount - 1].driverName, kNoDriver);
  --model.participantCount;
  model.header.participantCount = model.participantCount;
  return true;
}

bool ConfirmParticipants(ParticipantsDialogModel& model, MessageBoxes& boxes) {
  model.header.participantCount = model.participantCount;
  if (!WriteSessionHeader(model.header, boxes)) return false;
  return WriteParticipantsList(model.list, boxes);
}

// ---- Race parameters dialog.

void OpenRaceParametersModel(RaceParametersDialogModel& model, MessageBoxes& boxes) {
  SetDefaultRaceParameters(model.params);
  ReadRaceParameters(model.params, boxes);
}

DurationControls DurationControlsOf(const RaceParameters& params) {
  if (IsTimeRun(params)) return DurationControls::kMinutes;
  if (IsLapRun(params)) return DurationControls::kLaps;
  return DurationControls::kAsTemplate;
}

namespace {

TypedNumber ClampTyped(const char* text, int maxDigits, int32_t maximum, int32_t zeroBecomes) {
  int32_t value = DigitsValue(text, maxDigits);
  if (value < 0) value = 0;
  if (value > maximum) return {maximum, true};
  if (value == 0) return {zeroBecomes, false};
  return {value, false};
}

}  // namespace

TypedNumber DurationMinutesTyped(RaceParametersDialogModel& model, const char* text) {
  const TypedNumber typed = ClampTyped(text, kDurationMaxDigits, kMaxDurationMinutes, 1);
  model.params.durationMinutes = typed.value;
  SplitDuration(model.params);
  return typed;
}

TypedNumber LapTargetTyped(RaceParametersDialogModel& model, const char* text) {
  const TypedNumber typed = ClampTyped(text, kLapTargetMaxDigits, kMaxLapTarget, 1);
  model.params.lapTarget = typed.value;
  return typed;
}

TypedNumber CountdownTyped(RaceParametersDialogModel& model, const char* text) {
  const TypedNumber typed = ClampTyped(text, kCountdownMaxDigits, kMaxCountdownSeconds, 0);
  model.params.countdownSeconds = typed.value;
  return typed;
}

bool ConfirmRaceParameters(const RaceParametersDialogModel& model, MessageBoxes& boxes) {
  return WriteRaceParameters(model.params, boxes);
}

}  // namespace zarvo
