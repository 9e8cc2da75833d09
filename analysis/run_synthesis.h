// What the run synthesis window adds to the run window: the setup sheet of the session's run as a
// working copy the user edits, the car chooser that fills it from the cars database, and the
// answer to the main window. The window itself (views, range, strip, hover, printout) is the run
// window's; the Win32 procedure moves texts between the edits, the chooser and this model.
//
// The working copy becomes the participant's only through "Save": the main window reads the setup
// answer once the window has closed (see app/run_synthesis_exchange.h).
#pragma once

#include <string>
#include <vector>

#include "analysis/detail_results_file.h"
#include "platform/message_boxes.h"
#include "race/race_model.h"

namespace zarvo {

// The chooser holds at most the cars a cars table holds, after its two fixed entries.
constexpr int kCarChooserCars = 300;
// The chooser's selected text is taken up to this many bytes (a car name's capacity minus one).
constexpr int kCarChoiceLength = 29;

struct RunSynthesis {
  RunHandOff run;  // the run as handed off; run.participant.setup is the working copy
  // The chooser's entries: an empty entry, TXT_CAR_DATA_RESET, then the cars file's names in file
  // order (unsorted).
  std::vector<std::string> cars;
};

// Opening: reads the run hand-off (TXT_DETAIL_RESULTS_FILE_NOT_FOUND when it cannot, and the run
// stays empty) and fills the chooser (TXT_CARS_FILE_NOT_FOUND when the cars file cannot be opened:
// only the two fixed entries). The empty entry (index 0) is the one selected.
void OpenRunSynthesis(RunSynthesis& synthesis, MessageBoxes& boxes);

// How many characters the edit of setup-sheet field i (0 = track conditions .. 48) accepts: the
// field's capacity minus 2.
int SetupEditLimit(int field);

// The text of the edit of field i changed: its whole text becomes the field of the working copy,
// cut only to the field's capacity minus one. The edit's limit holds typing to capacity minus 2,
// but a text that came in longer (from the run or a car, up to capacity minus one) is kept as it
// is when the edit reports it back. An index out of 0..48 changes nothing.
void SetupFieldTyped(SetupSheet& sheet, int field, const char* text);

// A new selection in the chooser, given by its text. The empty text changes nothing;
// TXT_CAR_DATA_RESET asks its confirmation and on "Yes" empties fields 1 to 48 (car name to
// throttle servo; the track conditions stay); any other text asks the car confirmation and on
// "Yes" fills fields 1 to 48 from the last line of the cars file bearing that name (a name no
// longer in the file leaves the sheet unchanged; a file that cannot be opened is reported and
// leaves it too). "No" leaves the sheet unchanged. Either way the window then rewrites the edits
// of fields 1 to 48 from the sheet (the track conditions edit keeps its text). True when the
// sheet was changed.
bool CarChosen(const char* selectedText, SetupSheet& sheet, MessageBoxes& boxes);

// Leaving the window: "Save" writes the setup answer with flag 1, "Cancel" and the close box with
// flag 0, the working copy's 49 texts both times. A failed write is reported
// (TXT_DETAIL_RESULTS_FILE_NOT_FOUND); the window closes all the same.
void LeaveRunSynthesis(const SetupSheet& sheet, bool saved, MessageBoxes& boxes);

}  // namespace zarvo
