// The four database editors on Windows: one dialog procedure over DatabaseEditorModel, with the
// controls of each editor's template ("BASECIRCUITS", "BASEFREQUENCIES", "BASEPILOTES",
// "BASEVOITURES") in a table.
#pragma once

#include <windows.h>

#include "databases/database_editors.h"
#include "platform/message_boxes.h"

namespace zarvo {

// Runs the editor modal to owner; true when the user pressed "Ok" (the file was then written or
// its failure reported).
bool RunDatabaseEditor(HWND owner, EditorKind kind, MessageBoxes& boxes);

}  // namespace zarvo
