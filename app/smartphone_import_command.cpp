// The File menu's smartphone import: the phone's file chosen and copied beside the program, the
// save question, the import dialog and the session it builds (see session_controller.h and
// smartphone_import.h).
#include "app/session_controller.h"

#include <string>

#include "app/smartphone_import.h"
#include "session/session_file.h"
#include "text/catalogue.h"

namespace zarvo {

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

}  // namespace zarvo
