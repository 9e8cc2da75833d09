// The smartphone import dialog "IMPORTSMARTPHONE" on Windows.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Reads "Smartphone/Run1.trng2", rebuilds the working copy from it and lets the user give the
// phone's lanes the names of database drivers. False when the file was refused or the working
// copy could not be written (nothing changed; the dialog did not open); true otherwise, whether
// the user validated or cancelled.
bool RunSmartphoneImportDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
