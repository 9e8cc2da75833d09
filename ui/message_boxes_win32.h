// Message boxes of the program, shown with the wide calls: captions and texts are Windows-1252
// and are converted to UTF-16 here, so accented texts show the same on every system.
#pragma once

#include <windows.h>

#include "platform/message_boxes.h"

namespace zarvo {

class WindowMessageBoxes final : public MessageBoxes {
 public:
  // owner: the window the boxes are modal to (the main window once it exists), unless a window of
  // the program is active, a dialog for instance: then the box is modal to that one.
  explicit WindowMessageBoxes(HWND* owner) : owner_(owner) {}
  void Show(const char* caption, const char* text, MessageIcon icon) override;
  Answer Ask(const char* caption, const char* text, QuestionButtons buttons) override;

 private:
  HWND Owner() const;
  HWND* owner_;
};

// The MB_ICON... flag of an icon.
UINT MessageIconFlag(MessageIcon icon);

}  // namespace zarvo
