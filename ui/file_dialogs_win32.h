// The common open and save dialogs behind the FileDialogs port.
#pragma once

#include <windows.h>

#include "ui/file_dialogs.h"

namespace zarvo {

class Win32FileDialogs : public FileDialogs {
 public:
  // owner: the window the dialogs are modal to (the main window once it exists).
  explicit Win32FileDialogs(const HWND* owner) : owner_(owner) {}
  bool AskSaveFile(const FileRequest& request, std::string& chosen) override;
  bool AskOpenFile(const FileRequest& request, std::string& chosen) override;

 private:
  const HWND* owner_;
};

}  // namespace zarvo
