// The session commands' dialogs on Windows (see session_dialogs_win32.h).
#include "app/session_dialogs_win32.h"

#include "app/participants_dialog_win32.h"
#include "app/race_parameters_dialog_win32.h"
#include "app/smartphone_import_dialog_win32.h"
#include "app/track_dialog_win32.h"
#include "decoder/driver_details_dialog_win32.h"

namespace zarvo {

void Win32SessionDialogs::OpenTrackDialog() {
  RunTrackDialog(*owner_, boxes_);
}

void Win32SessionDialogs::OpenParticipantsDialog() {
  RunParticipantsDialog(*owner_, boxes_);
}

void Win32SessionDialogs::OpenRaceParametersDialog() {
  RunRaceParametersDialog(*owner_, boxes_);
}

bool Win32SessionDialogs::OpenSmartphoneImportDialog() {
  return RunSmartphoneImportDialog(*owner_, boxes_);
}

void Win32SessionDialogs::OpenDriverDetailsDialog() {
  if (port_ == nullptr || clock_ == nullptr) return;
  RunDriverDetailsDialog(*owner_, boxes_, *port_, *clock_, details_);
}

}  // namespace zarvo
