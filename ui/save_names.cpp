// The final name of a save dialog's answer, and the question it may need.
#include "ui/save_names.h"

#include <cstdio>
#include <vector>

#include "platform/file_names.h"
#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

bool SaveNameWithExtension(const std::string& chosen, const char* extension, MessageBoxes& boxes,
                           std::string& final) {
  final = WithExtension(chosen, extension);
  if (final == chosen || !PathExists(final.c_str())) return true;
  std::vector<char> text(sizeof TXT_REPLACE_FILE_QUESTION + final.size());
  std::snprintf(text.data(), text.size(), TXT_REPLACE_FILE_QUESTION, final.c_str());
  return boxes.Ask(TXT_CAPTION_QUESTION, text.data(), QuestionButtons::kYesNo) == Answer::kYes;
}

}  // namespace zarvo
