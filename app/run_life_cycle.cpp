// The run in the participants table and the session: loading run n from the working copy,
// writing it back and archiving it when it is left, the radio-conflict flag, and race control's
// archive at the end of a run (see session_controller.h).
#include "app/session_controller.h"

#include <cstdio>
#include <cstring>

#include "databases/runs_database.h"
#include "race/passage.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

void ArchiveSessionRun(const Race& race, const SessionState& session, MessageBoxes& boxes) {
  ArchiveRun(race, race.run.runTitle, session.runCaption, session.track.circuitName, boxes);
}

void SessionRunArchive::ArchiveRun(const Race& race) {
  ArchiveSessionRun(race, session_, boxes_);
}

bool SessionRunArchive::WriteCircuits(const CircuitTable& circuits) {
  return circuitsFile_.Write(circuits);
}

// ---- Runs.

void SessionController::WriteRun() {
  SessionState& s = world_.session;
  if (!WriteRunSection(s.loadedRun, world_.race, world_.boxes)) {
    if (journal_ != nullptr) journal_->KeepForRecovery();
    return;
  }
  if (journal_ != nullptr) journal_->SectionWritten(s.loadedRun);
  s.header.runsRecorded = true;
  WriteSessionHeader(s.header, world_.boxes);
}

void SessionController::SaveCurrentRunIfNeeded() {
  SessionState& s = world_.session;
  if (s.loadedRun == 0 || s.runSectionTitle[0] == '\0') return;
  if (RunHoldsData(world_.race)) s.changed = true;
  if (s.changed) WriteRun();
}

void SessionController::LeaveRun() {
  SessionState& s = world_.session;
  if (s.loadedRun == 0 || s.runSectionTitle[0] == '\0') return;
  if (RunHoldsData(world_.race)) s.changed = true;
  if (!s.changed) return;
  WriteRun();
  ArchiveCurrentRun();
}

void SessionController::ArchiveCurrentRun() {
  if (world_.session.loadedRun == 0) return;
  ArchiveSessionRun(world_.race, world_.session, world_.boxes);
}

// The event line shows the radio-conflict text: it is repainted whenever the flag may change
// (selecting a run, New, Load, the driver details), or a stale text would stay.
void SessionController::SetRadioConflict(bool conflict) {
  world_.session.radioConflict = conflict;
  world_.ui.Repaint(RaceArea::kEventLine);
}

void SessionController::ClearLoadedRun() {
  SessionState& s = world_.session;
  Race& race = world_.race;
  if (journal_ != nullptr) journal_->RunLeft();
  race.run.ready = false;
  race.run.resultsPresent = false;
  s.changed = false;
  SetRadioConflict(false);
  s.loadedRun = 0;
  ClearText(s.runCaption);
  ClearText(s.runSectionTitle);
  WipeTable(race);
  WipeStandings(race);
  race.participantCount = 0;
  RebuildRows(race);
  DisableLapButtons();
  world_.ui.Repaint(RaceArea::kTitle);  // the run caption is gone
}

void SessionController::LoadRun(int runNumber) {
  SessionState& s = world_.session;
  Race& race = world_.race;
  RunState& run = race.run;
  RaceParameters& params = race.params;
  if (runNumber < 1 || runNumber > kMaxRunCount) return;
  if (journal_ != nullptr) journal_->RunLeft();

  // 1. A selected run has results to show until it proves empty (step 10).
  run.resultsPresent = true;
  run.ready = false;
  ClearParticipantsList(s.participants);
  WipeTable(race);
  WipeStandings(race);
  s.loadedRun = 0;
  ClearText(s.runSectionTitle);
  ClearText(s.runCaption);
  ClearText(run.runTitle);
  ClearText(params.classificationKey);
  ClearText(params.durationMode);
  ClearText(params.startMode);
  ClearText(params.endRuleTime);
  ClearText(params.endRuleLaps);

  // 2. The session's parameters over the defaults; the track's circuit and minimum lap time are
  // the session's, not the run's.
  SetDefaultRaceParameters(params);
  params.maximumLapCount = kMaxLapCount;
  params.lapRunLimitHours = 12;
  ApplyTrackToRace();
  if (ReadRaceParameters(params, world_.boxes) == SectionRead::kNoFile) {
    RebuildRows(race);
    return;
  }

  // 3, 4.
  if (ReadParticipantsList(s.participants, world_.boxes) == SectionRead::kMissing) {
    ShowError(TXT_SESSION_NO_PARTICIPANTS_TITLE);
  }
  std::snprintf(s.runCaption, sizeof s.runCaption, " %s - Run%d ", s.header.sessionName, runNumber);

  // 5. The list's drivers in slots 1 to 20.
  for (int k = 0; k < kSlotCount; ++k) {
    SetText(race.slots[k].driverName, s.participants.entries[k].driverName);
    if (race.slots[k].driverName[0] == '\0') SetText(race.slots[k].driverName, kNoDriver);
  }
  ResetTable(race);
  RebuildStandings(race);
  RebuildRows(race);

  // 6. The run's own names and laps, when it was written.
  s.loadedRun = runNumber;
  FormatRunSectionTitle(runNumber, s.runSectionTitle, sizeof s.runSectionTitle);
  ReadRunSection(runNumber, race, world_.boxes);

  // 7. Transponders of the personal-chips mode and the radio conflict.
  if (!world_.raceControl.MixedMode()) world_.raceControl.ApplyTransponderMode();
  SetRadioConflict(RadioConflict(race, s.participants));

  // 8. Empty slots take no lap; the occupied ones are the participants.
  for (ParticipantRecord& p : race.slots) {
    if (!IsEmptySlot(p)) continue;
    for (int32_t& t : p.passageTimes) t = kEmptySlotTime;
    p.bestLap = kEmptySlotTime;
    p.finished = true;
  }
  // A run with laps is over: its participants show their finish flags, as when it ended.
  const bool holdsData = RunHoldsData(race);
  if (holdsData) {
    for (ParticipantRecord& p : race.slots) p.finished = true;
  }
  RebuildStandings(race);
  RebuildRows(race);

  // 9.
  StandardRefresh(race);

  // 10. A run with laps shows them and needs "Clear" before a start; an empty one is ready.
  s.changed = holdsData;
  if (!s.changed) {
    ResetTable(race);
    RebuildStandings(race);
    RebuildRows(race);
    run.ready = true;
  }

  // 11. The clock before a start.
  SplitDuration(params);
  run.elapsedHours = run.elapsedMinutes = run.elapsedSeconds = run.elapsedMilliseconds = 0;
  run.remainingHours = run.remainingMinutes = run.remainingSeconds = 0;
  world_.raceControl.PrepareClockTexts();

  // 12. A lap button for every participant's slot.
  DisableLapButtons();
  for (int k = 0; k < race.participantCount; ++k) {
    const int slot = race.standings[k].slotNumber;
    if (slot >= 1 && slot <= kSlotCount)
      world_.ui.EnableControl(IDC_MANUAL_LAP_FIRST + slot - 1, true);
  }

  // 13.
  world_.window.ResetResultsView(race.participantCount);
  world_.ui.Repaint(RaceArea::kTitle);
  world_.ui.Repaint(RaceArea::kClock);
  world_.ui.Repaint(RaceArea::kCountdown);
}

}  // namespace zarvo
