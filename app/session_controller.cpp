// The session tree and the commands of its pop-up menus, the start-up of the session, the
// dispatch of the File menu's commands (see session_controller.h). The runs are in
// run_life_cycle.cpp, the file commands in session_file_commands.cpp, the smartphone import in
// smartphone_import_command.cpp and the recovery in session_recovery.cpp.
#include "app/session_controller.h"

#include <cstdio>
#include <cstring>

#include "platform/file_names.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"
#include "ui/save_names.h"

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

}  // namespace zarvo
