// The common file dialogs as the portable core asks for them: what a box is to show and the
// name the user confirmed. ui/file_dialogs_win32.h implements them; tests script them.
// Texts are Windows-1252.
#pragma once

#include <string>

namespace zarvo {

// What a common file dialog is asked to show.
struct FileRequest {
  const char* filterName;     // "Training file (.trng)"
  const char* pattern;        // "*.trng"
  const char* initialName;    // the name the box starts with; "" for none
  const char* initialFolder;  // the program folder
  // Appended by the dialog to a name typed without an extension, before it asks about
  // overwriting; nullptr for none. Without its dot: "scrn".
  const char* defaultExtension = nullptr;
  // The save dialog asks before replacing a file that is there; false when the caller asks
  // itself (an export question lists every file it would replace).
  bool confirmOverwrite = true;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The save dialog: asks before overwriting, hides the read-only box, does not change the
  // current folder, the folder must exist. False when the user cancels; otherwise the name the
  // user confirmed, as a full path.
  virtual bool AskSaveFile(const FileRequest& request, std::string& chosen) = 0;
  // The open dialog: the file and its folder must exist, hides the read-only box, does not
  // change the current folder.
  virtual bool AskOpenFile(const FileRequest& request, std::string& chosen) = 0;
};

}  // namespace zarvo
