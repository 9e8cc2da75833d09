// The session's file commands: New, Load session, Save, Save as..., the save question before a
// session is left or the program closes, and the end of the user's Windows session (see
// session_controller.h).
#include "app/session_controller.h"

#include <cstring>
#include <string>

#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"
#include "ui/save_names.h"

namespace zarvo {

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
