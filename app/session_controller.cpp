// The session commands and the session tree (see session_controller.h).
#include "app/session_controller.h"

#include <cstdio>
#include <cstring>

#include "app/save_names.h"
#include "app/session_file.h"
#include "app/smartphone_import.h"
#include "databases/database_files.h"
#include "databases/runs_database.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "race/passage.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr int kDriverNodeLabelCapacity = 40;
constexpr int kNodeLabelCapacity = 32;

bool IsDriverNode(int32_t id) {
  return id > kDriversNodeId && id <= kDriversNodeId + kSlotCount;
}
bool IsRunNode(int32_t id) {
  return id > kRunsNodeId && id <= kRunsNodeId + kMaxRunCount;
}

// The command of the selected node's pop-up menu; 0 for none. Without participants there is
// nothing to set up for the runs, so neither the parameters nor the runs offer a menu.
int PopupMenuOf(int32_t nodeId, int participantCount) {
  if (nodeId == kSessionNodeId) return IDM_RENAME_SESSION;
  if (nodeId == kTrackNodeId) return IDM_TRACK;
  if (nodeId == kDriversNodeId) return IDM_PARTICIPANTS;
  if (participantCount < 1) return 0;
  if (nodeId == kParametersNodeId) return IDM_RUN_PARAMETERS;
  if (nodeId == kRunsNodeId) return IDM_ADD_RUN;
  if (IsRunNode(nodeId)) return IDM_EXPORT_RUN;  // "Add a run" and "Export run…"
  return 0;
}

}  // namespace

void ClearParticipantsList(ParticipantsList& list) {
  std::memset(&list, 0, sizeof list);
  for (ParticipantEntry& entry : list.entries) SetText(entry.driverName, kNoDriver);
}

int32_t FindCircuitIndex(const CircuitTable& circuits, const char* circuitName) {
  if (circuitName == nullptr || circuitName[0] == '\0') return kNoCircuit;
  for (int i = 0; i < kCircuitCapacity; ++i) {
    if (SameText(circuits.records[i].name, circuitName)) return i;
  }
  return kNoCircuit;
}

std::string WithSessionExtension(const std::string& path) {
  return WithExtension(path, kSessionExtension);
}

void ArchiveSessionRun(const Race& race, const SessionState& session, MessageBoxes& boxes) {
  ArchiveRun(race, race.run.runTitle, session.runCaption, session.track.circuitName, boxes);
}

void SessionRunArchive::ArchiveRun(const Race& race) {
  ArchiveSessionRun(race, session_, boxes_);
}

bool SessionRunArchive::WriteCircuits(const CircuitTable& circuits) {
  return circuitsFile_.Write(circuits);
}

SessionController::SessionController(const SessionWorld& world) : world_(world) {}

void SessionController::ShowError(const char* text) {
  world_.boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kNone);
}

void SessionController::MakeProgramFolderCurrent() {
  if (!world_.programFolder.empty()) SetCurrentFolder(world_.programFolder.c_str());
}

void SessionController::DisableLapButtons() {
  for (int id = IDC_MANUAL_LAP_FIRST; id <= IDC_MANUAL_LAP_LAST; ++id) {
    world_.ui.EnableControl(id, false);
  }
}

void SessionController::SetHasSavedFile(bool hasSavedFile) {
  world_.session.hasSavedFile = hasSavedFile;
  world_.ui.EnableMenuItem(IDM_SAVE, hasSavedFile);
  world_.raceControl.SetHasSavedFile(hasSavedFile);
}

void SessionController::ApplyTrackToRace() {
  world_.race.params.circuitIndex = world_.session.circuitIndex;
  world_.race.params.minimumLapSeconds = world_.session.track.minimumLapSeconds;
}

void SessionController::ReadTrackAndCircuit() {
  SessionState& s = world_.session;
  ClearText(s.track.label);
  ClearText(s.track.circuitName);
  ReadSessionTrack(s.track, world_.boxes);
  s.circuitIndex = FindCircuitIndex(world_.circuits, s.track.circuitName);
  ApplyTrackToRace();
}

// ---- The tree.

void SessionController::InsertNode(int32_t id, int32_t parentId, int32_t afterId, const char* label,
                                   int image, bool bold) {
  world_.tree.InsertNode(TreeNode{id, parentId, afterId, label, image, bold});
}

void SessionController::InsertDriverNodes() {
  const ParticipantsList& list = world_.session.participants;
  for (int k = 0; k < kSlotCount; ++k) {
    const char* name = list.entries[k].driverName;
    if (name[0] == '\0' || SameText(name, kNoDriver)) break;
    InsertNode(kDriversNodeId + k + 1, kDriversNodeId, 0, name, kDriversImage);
  }
}

void SessionController::BuildNodes(bool expandRuns) {
  const SessionHeader& header = world_.session.header;
  SessionTreeView& tree = world_.tree;
  rebuildingTree_ = true;
  tree.Clear();
  InsertNode(kSessionNodeId, 0, 0, header.sessionName, kNoTreeImage, true);
  InsertNode(kTrackNodeId, kSessionNodeId, 0, TXT_TREE_TRACK, kTrackImage);
  char label[kDriverNodeLabelCapacity];
  std::snprintf(label, sizeof label, TXT_TREE_DRIVERS, int(header.participantCount));
  InsertNode(kDriversNodeId, kSessionNodeId, 0, label, kDriversImage);
  InsertDriverNodes();
  InsertNode(kParametersNodeId, kSessionNodeId, 0, TXT_TREE_PARAMETERS, kParametersImage);
  InsertNode(kRunsNodeId, kSessionNodeId, 0, TXT_TREE_SESSIONS, kSessionsImage);
  for (int n = 1; n <= header.runCount && n <= kMaxRunCount; ++n) {
    std::snprintf(label, sizeof label, TXT_TREE_RUN, n);
    InsertNode(kRunsNodeId + n, kRunsNodeId, 0, label, kSessionsImage);
  }
  if (expandRuns) tree.Expand(kRunsNodeId);
  tree.Expand(kSessionNodeId);
  rebuildingTree_ = false;
}

bool SessionController::ReadHeaderAndStoreSelection() {
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  if (!ReadSessionHeader(header, world_.boxes)) return false;
  const int32_t selected = world_.tree.SelectedNodeId();
  if (selected != 0) header.selectedNodeId = selected;
  if (!WriteSessionHeader(header, world_.boxes)) return false;
  world_.session.header = header;
  return true;
}

void SessionController::StartUpKeepingWorkingCopy() {
  SessionState& s = world_.session;
  s.header = NewSessionHeader(kDefaultSessionName);
  ClearParticipantsList(s.participants);
  s.track = DefaultSessionTrack();
  s.circuitIndex = kNoCircuit;
  s.savedFilePath.clear();
  ClearLoadedRun();
  ApplyTrackToRace();
  SetHasSavedFile(false);
}

void SessionController::StartUp() {
  SessionState& s = world_.session;
  s.header = NewSessionHeader(kDefaultSessionName);
  ClearParticipantsList(s.participants);
  s.track = DefaultSessionTrack();
  s.circuitIndex = kNoCircuit;
  s.savedFilePath.clear();
  ClearLoadedRun();
  ApplyTrackToRace();
  CreateWorkingCopy(s.header.sessionName, world_.boxes);
  SetHasSavedFile(false);
}

void SessionController::OnTreeRightClick() {
  if (rebuildingTree_ || !ReadHeaderAndStoreSelection()) return;
  const SessionHeader& header = world_.session.header;
  const int menu = PopupMenuOf(header.selectedNodeId, header.participantCount);
  if (menu != 0) world_.window.ShowPopupMenu(menu);
}

bool SessionController::OnTreeBeginLabelEdit() {
  if (rebuildingTree_ || !ReadHeaderAndStoreSelection()) return false;
  if (world_.session.header.selectedNodeId != kSessionNodeId) return false;
  world_.tree.LimitLabelEdit(kSessionNameMaxTyped);
  return true;
}

void SessionController::OnTreeEndLabelEdit(const char* text) {
  if (rebuildingTree_ || !ReadHeaderAndStoreSelection()) return;
  SessionHeader& header = world_.session.header;
  if (header.selectedNodeId != kSessionNodeId || text == nullptr || text[0] == '\0') return;
  char name[kSessionNameCapacity];
  SetText(name, sizeof name, text,
          std::strlen(text) > size_t(kSessionNameMaxTyped) ? size_t(kSessionNameMaxTyped)
                                                           : std::strlen(text));
  SetText(header.sessionName, name);
  world_.tree.SetLabel(kSessionNodeId, header.sessionName);
  WriteSessionHeader(header, world_.boxes);
}

void SessionController::OnTreeSelectionChanging() {
  if (rebuildingTree_ || !ReadHeaderAndStoreSelection()) return;
  LeaveRun();
}

void SessionController::OnTreeSelectionChanged() {
  if (rebuildingTree_ || !ReadHeaderAndStoreSelection()) return;
  const int32_t id = world_.session.header.selectedNodeId;
  if (IsRunNode(id)) {
    LoadRun(id - kRunsNodeId);
    return;
  }
  if (!IsDriverNode(id)) return;
  SessionState& s = world_.session;
  // The dialog's scan reads the serial port itself: the main tick must not throw its bytes away.
  world_.raceControl.SetDialogOwnsSerialInput(true);
  world_.dialogs.OpenDriverDetailsDialog();
  world_.raceControl.SetDialogOwnsSerialInput(false);
  ParticipantsList list = s.participants;
  const SectionRead read = ReadParticipantsList(list, world_.boxes);
  if (read == SectionRead::kMissing) ShowError(TXT_SESSION_NO_PARTICIPANTS_TITLE);
  if (read != SectionRead::kRead) return;
  s.participants = list;
  if (!world_.raceControl.MixedMode()) world_.raceControl.ApplyTransponderMode();
  SetRadioConflict(RadioConflict(world_.race, s.participants));
  world_.ui.Repaint(RaceArea::kTitle);
  world_.ui.Repaint(RaceArea::kTable);
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

// ---- Commands.

bool SessionController::OnCommand(int commandId) {
  switch (commandId) {
    case IDM_NEW_SESSION:
      NewSession();
      return true;
    case IDM_LOAD_SESSION:
      LoadSession();
      return true;
    case IDM_SAVE:
      Save();
      return true;
    case IDM_SAVE_AS:
      SaveAs();
      return true;
    case IDM_IMPORT_SMARTPHONE:
      ImportSmartphone();
      return true;
    case IDM_RENAME_SESSION:
      RenameSession();
      return true;
    case IDM_TRACK:
      TrackForSession();
      return true;
    case IDM_PARTICIPANTS:
      ListOfParticipants();
      return true;
    case IDM_RUN_PARAMETERS:
      RunParameters();
      return true;
    case IDM_ADD_RUN:
      AddRun();
      return true;
    default:
      return false;
  }
}

bool SessionController::AskFileToSave(SaveFilter filter, std::string& path) {
  const std::string initial = world_.programFolder + "\\*" + kSessionExtension;
  const FileRequest request{
      filter == SaveFilter::kNewOrImport ? TXT_FILTER_TRAINING_NEW : TXT_FILTER_TRAINING_SAVE_AS,
      "*.trng", initial.c_str(), world_.programFolder.c_str()};
  std::string chosen;
  if (!world_.files.AskSaveFile(request, chosen)) return false;
  if (chosen.empty() || chosen == initial) return false;
  return SaveNameWithExtension(chosen, kSessionExtension, world_.boxes, path);
}

bool SessionController::CopyWorkingCopyTo(const std::string& path) {
  MakeProgramFolderCurrent();
  if (CopySessionFile(kWorkingCopyPath, path.c_str())) return true;
  ShowError(TXT_SESSION_NOT_SAVED);
  return false;
}

bool SessionController::SaveBeforeLeaving(SaveFilter filter) {
  SessionState& s = world_.session;
  MakeProgramFolderCurrent();
  SaveCurrentRunIfNeeded();
  std::string path = s.savedFilePath;
  if (!s.hasSavedFile && !AskFileToSave(filter, path)) return false;
  if (!CopyWorkingCopyTo(path)) return false;
  // Saved under a name just chosen, the session is that file's whatever comes next: the command
  // that asked may still stop (a refused phone file) and leave the user with this session.
  if (!s.hasSavedFile) KeepSavedFile(path);
  return true;
}

void SessionController::KeepSavedFile(const std::string& path) {
  world_.window.SetTitle((kFileWindowTitlePrefix + path).c_str());
  world_.session.savedFilePath = path;
  SetHasSavedFile(true);
}

void SessionController::ResetSessionState() {
  SessionState& s = world_.session;
  ClearLoadedRun();
  std::memset(&s.header, 0, sizeof s.header);
  ClearParticipantsList(s.participants);
  s.track = DefaultSessionTrack();
  s.circuitIndex = kNoCircuit;
  ApplyTrackToRace();
}

void SessionController::NewSession() {
  const Answer answer = world_.boxes.Ask(TXT_CAPTION_QUESTION, TXT_NEW_SESSION_QUESTION,
                                         QuestionButtons::kYesNoCancel);
  if (answer == Answer::kCancel) return;
  ArchiveCurrentRun();
  if (answer == Answer::kYes && !SaveBeforeLeaving(SaveFilter::kNewOrImport)) return;

  SessionState& s = world_.session;
  world_.window.SetTitle(kPlainWindowTitle);
  SetHasSavedFile(false);
  s.savedFilePath.clear();
  ResetSessionState();
  s.header = NewSessionHeader(kDefaultSessionName);
  MakeProgramFolderCurrent();
  CreateWorkingCopy(s.header.sessionName, world_.boxes);
  BuildNodes(false);
  world_.window.ResetResultsView(0);
}

void SessionController::LoadSession() {
  const FileRequest request{TXT_FILTER_TRAINING_OPEN, "*.trng", "", world_.programFolder.c_str()};
  std::string chosen;
  if (!world_.files.AskOpenFile(request, chosen) || chosen.empty()) return;
  ArchiveCurrentRun();
  const std::string title = kFileWindowTitlePrefix + chosen;
  const Answer answer =
      world_.boxes.Ask(TXT_CAPTION_QUESTION, TXT_SAVE_SESSION_QUESTION, QuestionButtons::kYesNo);
  if (answer == Answer::kCancel) return;
  if (answer == Answer::kYes && !SaveBeforeLeaving(SaveFilter::kLoadOrSaveAs)) return;

  MakeProgramFolderCurrent();
  if (!CopySessionFile(chosen.c_str(), kWorkingCopyPath)) {
    ShowError(TXT_SESSION_NOT_OPENED);
    return;
  }
  SessionState& s = world_.session;
  world_.window.SetTitle(title.c_str());
  s.savedFilePath = chosen;
  SetHasSavedFile(true);
  ResetSessionState();
  ReadSessionHeader(s.header, world_.boxes);
  ReadParticipantsList(s.participants, world_.boxes);
  ReadTrackAndCircuit();
  BuildNodes(true);
  world_.window.ResetResultsView(0);
}

bool SessionController::Save() {
  SessionState& s = world_.session;
  if (!s.hasSavedFile) return false;
  MakeProgramFolderCurrent();
  SaveCurrentRunIfNeeded();
  return CopyWorkingCopyTo(s.savedFilePath);
}

bool SessionController::SaveAs() {
  std::string path;
  if (!AskFileToSave(SaveFilter::kLoadOrSaveAs, path)) return false;
  MakeProgramFolderCurrent();
  SaveCurrentRunIfNeeded();
  if (!CopyWorkingCopyTo(path)) return false;
  KeepSavedFile(path);
  return true;
}

void SessionController::ImportSmartphone() {
  const FileRequest request{TXT_FILTER_SMARTPHONE, "*.trng2", "", world_.programFolder.c_str()};
  std::string chosen;
  if (!world_.files.AskOpenFile(request, chosen) || chosen.empty()) return;
  ArchiveCurrentRun();
  const std::string title = kFileWindowTitlePrefix + chosen;
  const Answer answer =
      world_.boxes.Ask(TXT_CAPTION_QUESTION, TXT_SAVE_SESSION_QUESTION, QuestionButtons::kYesNo);
  if (answer == Answer::kCancel) return;
  if (answer == Answer::kYes && !SaveBeforeLeaving(SaveFilter::kNewOrImport)) return;

  MakeProgramFolderCurrent();
  switch (CopyChosenPhoneFile(chosen.c_str())) {
    case PhoneFileCopy::kCopied:
      break;
    case PhoneFileCopy::kTooLarge:
      ShowError(TXT_IMPORT_NOT_A_PHONE_FILE);
      return;
    case PhoneFileCopy::kNotOpened:
    case PhoneFileCopy::kNotWritten:
      ShowError(TXT_SESSION_NOT_OPENED);
      return;
  }
  if (!world_.dialogs.OpenSmartphoneImportDialog()) return;

  SessionState& s = world_.session;
  world_.window.SetTitle(title.c_str());
  s.savedFilePath.clear();
  SetHasSavedFile(false);
  ResetSessionState();
  ReadSessionHeader(s.header, world_.boxes);
  ReadParticipantsList(s.participants, world_.boxes);
  BuildNodes(true);
  world_.window.ResetResultsView(0);
}

void SessionController::RenameSession() {
  const int32_t selected = world_.tree.SelectedNodeId();
  if (selected == kSessionNodeId) world_.tree.BeginLabelEdit(selected);
}

void SessionController::TrackForSession() {
  world_.dialogs.OpenTrackDialog();
  ReadTrackAndCircuit();
}

void SessionController::ListOfParticipants() {
  SessionState& s = world_.session;
  if (!WriteSelectedNodeId(s.header.selectedNodeId, world_.boxes)) return;
  world_.dialogs.OpenParticipantsDialog();

  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  if (ReadSessionHeader(header, world_.boxes)) s.header = header;
  ClearParticipantsList(s.participants);
  ReadParticipantsList(s.participants, world_.boxes);

  rebuildingTree_ = true;
  world_.tree.DeleteNode(kDriversNodeId);
  char label[kDriverNodeLabelCapacity];
  std::snprintf(label, sizeof label, TXT_TREE_DRIVERS, int(s.header.participantCount));
  InsertNode(kDriversNodeId, kSessionNodeId, kTrackNodeId, label, kDriversImage);
  InsertDriverNodes();
  world_.tree.Expand(kDriversNodeId);
  rebuildingTree_ = false;

  // Until a run is recorded, the participants table follows the list: the loaded run goes.
  if (!s.header.runsRecorded) {
    ClearLoadedRun();
    world_.window.ResetResultsView(0);
  }
}

void SessionController::RunParameters() {
  world_.dialogs.OpenRaceParametersDialog();
  Race& race = world_.race;
  if (ReadRaceParameters(race.params, world_.boxes) == SectionRead::kNoFile) return;
  SplitDuration(race.params);
  RunState& run = race.run;
  run.elapsedHours = run.elapsedMinutes = run.elapsedSeconds = run.elapsedMilliseconds = 0;
  run.remainingHours = run.remainingMinutes = run.remainingSeconds = 0;
  world_.raceControl.PrepareClockTexts();
  world_.ui.Repaint(RaceArea::kClock);
  world_.ui.Repaint(RaceArea::kCountdown);
}

void SessionController::AddRun() {
  SessionState& s = world_.session;
  if (s.header.runCount >= kMaxRunCount) return;
  SessionHeader header = s.header;
  ++header.runCount;
  if (!WriteSessionHeader(header, world_.boxes)) return;
  s.header = header;
  char label[kNodeLabelCapacity];
  std::snprintf(label, sizeof label, TXT_TREE_RUN, int(header.runCount));
  InsertNode(kRunsNodeId + header.runCount, kRunsNodeId, 0, label, kSessionsImage);
  world_.tree.Expand(kRunsNodeId);
}

void SessionController::SaveForSessionEnd() {
  MakeProgramFolderCurrent();
  SaveCurrentRunIfNeeded();
  ArchiveCurrentRun();
}

bool SessionController::ConfirmClose() {
  ArchiveCurrentRun();
  const Answer answer =
      world_.boxes.Ask(TXT_CAPTION_QUESTION, TXT_QUIT_SAVE_QUESTION, QuestionButtons::kYesNoCancel);
  if (answer == Answer::kCancel) return false;
  if (answer == Answer::kNo) return true;
  return world_.session.hasSavedFile ? Save() : SaveAs();
}

}  // namespace zarvo
