// MessageBoxW with Windows-1252 texts converted to UTF-16.
#include "ui/message_boxes_win32.h"

#include <string>

#include "platform/codepage.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* text) {
  const std::u16string utf16 = Cp1252ToUtf16(text != nullptr ? text : "");
  return std::wstring(utf16.begin(), utf16.end());
}

}  // namespace

// A box shown while a dialog is open (an error of a setup dialog, for instance) is
// modal to that dialog, so the user answers it in front of the dialog that asked.
HWND WindowMessageBoxes::Owner() const {
  HWND active = GetActiveWindow();
  if (active != nullptr && IsWindowEnabled(active)) return active;
  return *owner_;
}

UINT MessageIconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kInformation:
      return MB_ICONINFORMATION;
    case MessageIcon::kWarning:
      return MB_ICONWARNING;
    case MessageIcon::kError:
      return MB_ICONERROR;
    case MessageIcon::kQuestion:
      return MB_ICONQUESTION;
    case MessageIcon::kStop:
      return MB_ICONSTOP;
    case MessageIcon::kNone:
      break;
  }
  return 0;
}

void WindowMessageBoxes::Show(const char* caption, const char* text, MessageIcon icon) {
  MessageBoxW(Owner(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK | MessageIconFlag(icon));
}

Answer WindowMessageBoxes::Ask(const char* caption, const char* text, QuestionButtons buttons) {
  const UINT type =
      (buttons == QuestionButtons::kYesNo ? MB_YESNO : MB_YESNOCANCEL) | MB_ICONQUESTION;
  switch (MessageBoxW(Owner(), Wide(text).c_str(), Wide(caption).c_str(), type)) {
    case IDYES:
      return Answer::kYes;
    case IDNO:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

}  // namespace zarvo
