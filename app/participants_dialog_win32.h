// The participants list dialog "LISTEPILOTES": the drivers of the session, chosen from the
// drivers database.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

// Modal over owner. Reads the session header, the drivers database and the participants list;
// "Validate" writes the header (participant count) and the list. True when the user confirmed.
bool RunParticipantsDialog(HWND owner, MessageBoxes& boxes);

}  // namespace zarvo
