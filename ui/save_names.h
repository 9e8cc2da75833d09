// The name a save dialog's answer stands for, for the session files and the display files.
#pragma once

#include <string>

#include "platform/message_boxes.h"

namespace zarvo {

// The file to write for the name the save dialog gave back: with extension (".trng", dot
// included) appended unless the name holds it, anywhere and in any case (platform/file_names.h).
// The dialog asked about replacing only the name it gave back: when the extension was added and a
// file of the final name exists, the user is asked here (TXT_REPLACE_FILE_QUESTION). False, with
// nothing to write, when he says no.
bool SaveNameWithExtension(const std::string& chosen, const char* extension, MessageBoxes& boxes,
                           std::string& final);

}  // namespace zarvo
