// The run synthesis window's decisions: opening, the edit limits, the car chooser, leaving.
#include "analysis/run_synthesis.h"

#include <cstring>

#include "databases/database_files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
}

bool Confirmed(MessageBoxes& boxes, const char* text) {
  return boxes.Ask(TXT_CAPTION_QUESTION, text, QuestionButtons::kYesNo) == Answer::kYes;
}

}  // namespace

void OpenRunSynthesis(RunSynthesis& synthesis, MessageBoxes& boxes) {
  // ReadRunHandOff clears the run whatever happens, so a missing file leaves an empty run.
  if (!ReadRunHandOff(synthesis.run)) ShowError(boxes, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
  const bool carsRead = ReadCarChooserEntries(synthesis.cars);
  if (!carsRead) ShowError(boxes, TXT_CARS_FILE_NOT_FOUND);
  if (synthesis.cars.size() > size_t(2 + kCarChooserCars))
    synthesis.cars.resize(2 + kCarChooserCars);
}

int SetupEditLimit(int field) {
  if (field < 0 || field >= kSetupFieldCount) return 0;
  return SetupFieldCapacity(field) - 2;
}

void SetupFieldTyped(SetupSheet& sheet, int field, const char* text) {
  if (field < 0 || field >= kSetupFieldCount || text == nullptr) return;
  SetText(SetupField(sheet, field), size_t(SetupFieldCapacity(field)), text);
}

bool CarChosen(const char* selectedText, SetupSheet& sheet, MessageBoxes& boxes) {
  char choice[kCarChoiceLength + 1] = {};
  if (selectedText != nullptr) {
    SetText(choice, sizeof choice, selectedText, strnlen(selectedText, kCarChoiceLength));
  }
  if (choice[0] == '\0') return false;
  if (SameText(choice, TXT_CAR_DATA_RESET)) {
    if (!Confirmed(boxes, TXT_SYNTHESIS_CONFIRM_DATA_RESET)) return false;
    for (int i = 1; i < kSetupFieldCount; ++i) {
      std::memset(SetupField(sheet, i), 0, size_t(SetupFieldCapacity(i)));
    }
    return true;
  }
  if (!Confirmed(boxes, TXT_SYNTHESIS_CONFIRM_CAR)) return false;
  // The file is read again now: a car removed since the chooser was filled is simply not found.
  switch (ApplyCarSetupFromFile(choice, sheet)) {
    case CarLookup::kFound:
      return true;
    case CarLookup::kFileNotOpened:
      ShowError(boxes, TXT_CARS_FILE_NOT_FOUND);
      return false;
    case CarLookup::kNotFound:
      break;
  }
  return false;
}

void LeaveRunSynthesis(const SetupSheet& sheet, bool saved, MessageBoxes& boxes) {
  if (!WriteSetupAnswer(sheet, saved)) ShowError(boxes, TXT_DETAIL_RESULTS_FILE_NOT_FOUND);
}

}  // namespace zarvo
