// A new session at start-up, its tree, and the save question of closing.
#include "app/new_session.h"

#include <cstdio>

#include "app/session_file.h"
#include "app/session_format.h"
#include "databases/runs_database.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

void InsertNewSessionNodes(SessionTreeNodes& tree, const char* sessionName) {
  char drivers[32];
  std::snprintf(drivers, sizeof drivers, TXT_TREE_DRIVERS, 0);
  tree.Clear();
  tree.InsertNode(kSessionNodeId, 0, 0, sessionName, kTreeImageNone, true);
  tree.InsertNode(kTrackNodeId, kSessionNodeId, 0, TXT_TREE_TRACK, kTreeImageTrack, false);
  tree.InsertNode(kDriversNodeId, kSessionNodeId, 0, drivers, kTreeImageDrivers, false);
  tree.InsertNode(kParametersNodeId, kSessionNodeId, 0, TXT_TREE_PARAMETERS, kTreeImageParameters,
                  false);
  tree.InsertNode(kRunsNodeId, kSessionNodeId, 0, TXT_TREE_SESSIONS, kTreeImageSessions, false);
  tree.Expand(kSessionNodeId);
}

void NewSessionOnly::StartUp() {
  OpenSession& session = state_.session;
  Race& race = state_.race;
  for (ParticipantEntry& entry : session.participants.entries) {
    entry = ParticipantEntry{};
    SetText(entry.driverName, kNoDriver);
  }
  WipeTable(race);
  for (ParticipantRecord& slot : race.slots) SetText(slot.driverName, kNoDriver);
  ResetTable(race);
  WipeStandings(race);
  RebuildStandings(race);
  RebuildRows(race);
  ClearText(session.runCaption);
  ClearText(session.circuitName);
  session.radioConflict = false;
  CreateWorkingCopy(kDefaultSessionName, boxes_);
}

void NewSessionOnly::BuildTree() {
  InsertNewSessionNodes(tree_, kDefaultSessionName);
}

bool NewSessionOnly::OnCommand(int commandId) {
  // The File menu and the tree's pop-up menus: nothing to do yet, but the commands are theirs.
  return (commandId >= IDM_NEW_SESSION && commandId <= IDM_IMPORT_SMARTPHONE) ||
         (commandId >= IDM_RENAME_SESSION && commandId <= IDM_ADD_RUN);
}

bool NewSessionOnly::ConfirmClose() {
  const Race& race = state_.race;
  ArchiveRun(race, race.run.runTitle, state_.session.runCaption, state_.session.circuitName,
             boxes_);
  const Answer answer =
      boxes_.Ask(TXT_CAPTION_QUESTION, TXT_QUIT_SAVE_QUESTION, QuestionButtons::kYesNoCancel);
  return answer != Answer::kCancel;
}

}  // namespace zarvo
