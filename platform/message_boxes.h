// Message boxes and questions, as the core asks for them. The Win32 shell shows real boxes;
// tests record them and answer from a script. Texts are Windows-1252.
#pragma once

namespace zarvo {

enum class MessageIcon { kNone, kInformation, kWarning, kError, kQuestion, kStop };

enum class Answer { kYes, kNo, kCancel };

enum class QuestionButtons { kYesNo, kYesNoCancel };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A box with one OK button; returns when the user has closed it.
  virtual void Show(const char* caption, const char* text, MessageIcon icon) = 0;
  // A question with a question icon; kCancel only with kYesNoCancel (or the close box).
  virtual Answer Ask(const char* caption, const char* text, QuestionButtons buttons) = 0;
};

}  // namespace zarvo
