// What the display options dialog "AFFICHAGE" decides, without its controls: the 13 colour
// swatches and 4 font samples with their places and the slots they edit, the column list and its
// width box, the table style, "Load" and "Save" of display files, and "Ok". The dialog works on a
// copy of the display settings read from "Private/RéglagesAffichage.rgsc" when it opens; only
// "Ok" writes that file. The Win32 procedure (display/display_dialog_win32.cpp) moves data
// between the controls, the colour and font choosers and this model, and replays the preview.
#pragma once

#include <string>
#include <vector>

#include "display/results_layout.h"
#include "platform/message_boxes.h"
#include "settings/display_settings.h"
#include "ui/file_dialogs.h"

namespace zarvo {

// ---- The previews, in pixels of the dialog's client area.

constexpr int kSwatchCount = 13;  // swatch i shows and edits colour slot i
constexpr int kSampleCount = 4;

enum PreviewSample {
  kSampleRunCaption = 0,  // font slot 0 on colour slot 3
  kSampleEventLine = 1,   // font slot 1 on colour slot 4
  kSampleHeadings = 2,    // font slot 2 on the gradient of slots 8 to 9
  kSampleColumn = 3,      // font slot 3 + the chosen column on the gradient of slots 10 to 11
};

LayoutRect SwatchRect(int swatch);
LayoutRect SampleRect(int sample);
// The font slot (and text-colour slot) a sample shows and edits.
int SampleFontSlot(int sample, int chosenColumn);

// What a left click at (x, y) falls on: only points strictly inside a rectangle count.
struct PreviewHit {
  enum Kind { kNothing, kSwatch, kSample } kind;
  int index;  // swatch 0..12 or sample 0..3
};
PreviewHit PreviewHitAt(int x, int y);

// The sizes the font chooser permits for a sample, in points; minimum 0 when there is none.
struct FontSizeRange {
  int minimum;
  int maximum;
};
FontSizeRange SampleSizeRange(int sample);

// The sample text is drawn at this height, whatever the slot's size.
constexpr int kSampleTextHeight = 18;

// One drawing step of the preview, replayed in order on a device context.
struct PreviewStep {
  enum Kind {
    kFrame,  // a 1-pixel black frame drawn just inside rect
    kFill,   // rect filled with colour
    kLine,   // a line of width pixels in colour from (rect.left, rect.top) to (rect.right,
             // rect.bottom)
    kText,   // the sample text at (rect.left, rect.top), transparent, with font slot fontSlot
             // at kSampleTextHeight, in colour
  } kind;
  LayoutRect rect;
  Colour colour;
  int width;     // kLine
  int fontSlot;  // kText
};

// The whole preview: frames one pixel outside every swatch and sample, the swatches, the samples'
// backgrounds (gradients line by line by the results table's rule, flat when both colours are
// equal), the grid line across swatch 12, then the four sample texts.
std::vector<PreviewStep> PreviewSteps(const DisplaySettings& settings, int chosenColumn);

// ---- The dialog.

// What lasts between two openings of the dialog while the program runs.
struct DisplayDialogMemory {
  int column = 0;  // the column chosen last; Lane at first
};

struct DisplayDialogModel {
  DisplaySettings settings;  // the dialog's copy
  CustomColours custom;      // the colour chooser's custom colours, kept with the settings
  int column;                // the chosen column, 0..8
  std::string folder;        // the current directory at opening: the program folder
};

constexpr int kColumnWidthMaxDigits = 3;

// Opening: notes the current directory, reads "Private/RéglagesAffichage.rgsc" into the copy
// (face names emptied first; a missing or damaged file is reported, once, and the copy holds the
// shipped settings), and takes the column chosen last time.
void OpenDisplayDialogModel(DisplayDialogModel& model, const DisplayDialogMemory& memory,
                            MessageBoxes& boxes);

// The column list's entry chosen (ignored outside 0..8); remembered for the next opening.
void DisplayColumnChosen(DisplayDialogModel& model, DisplayDialogMemory& memory, int column);
int32_t ChosenColumnWidth(const DisplayDialogModel& model);
// The width box now holds text: its leading digits (none: 0), at most 999, become the chosen
// column's width at once. True when the box must be rewritten with that width (it held more than
// three digits or something else).
bool DisplayWidthTyped(DisplayDialogModel& model, const char* text);
// "+" and "-": one more or one less, within 0..999. False when the width did not change.
bool DisplayWidthStepped(DisplayDialogModel& model, int step);
void DisplayStyleChosen(DisplayDialogModel& model, int32_t style);

// The colour chooser confirmed on a swatch: its colour slot takes the colour.
void SwatchColourChosen(DisplayDialogModel& model, int swatch, Colour colour);

// What the font chooser gives back.
struct ChosenFont {
  std::string faceName;  // Windows-1252; cut to 31 bytes when stored
  int32_t height;        // the chooser's font height, stored as the size
  int32_t weight;
  bool italic;
  bool underline;
  bool strikeOut;
  Colour colour;  // the text colour
};
void SampleFontChosen(DisplayDialogModel& model, int sample, const ChosenFont& font);

// The request of the file dialogs of "Load" and "Save": the display file filter, the program
// folder, and for "Save" the proposed name <program folder>\*.scrn.
FileRequest DisplayFileRequest(const DisplayDialogModel& model, const std::string& initialName);
std::string ProposedDisplayFileName(const DisplayDialogModel& model);
// A name without ".scrn" gets it appended; a name that holds it anywhere, in any case, is kept.
std::string DisplayFileName(const std::string& chosen);

// "Load": the chosen display file is read into a copy with its face names emptied and taken only
// when complete; then the directory is restored and the column is Lane. A file that cannot be
// read or is not a display file is reported and changes nothing. True when it was taken.
bool LoadDisplayFile(DisplayDialogModel& model, DisplayDialogMemory& memory, FileDialogs& files,
                     MessageBoxes& boxes);
// "Save": the copy and the custom colours written to the chosen display file (".scrn" appended
// when missing; a file of that name the dialog did not ask about is replaced only after "Yes");
// nothing when the user cancels or confirms the proposed name unchanged.
void SaveDisplayFile(const DisplayDialogModel& model, FileDialogs& files, MessageBoxes& boxes);
// "Ok": restores the directory and writes the copy to "Private/RéglagesAffichage.rgsc"; a failure
// is reported and the dialog closes all the same.
void ConfirmDisplayDialog(const DisplayDialogModel& model, MessageBoxes& boxes);
// "Cancel" or the close box: restores the directory; nothing is written.
void CloseDisplayDialog(const DisplayDialogModel& model);

}  // namespace zarvo
