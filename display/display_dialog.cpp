// The display options dialog's rules and its preview geometry (see display_dialog.h).
#include "display/display_dialog.h"

#include <algorithm>
#include <cstring>

#include "platform/file_names.h"
#include "platform/files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"
#include "ui/save_names.h"

namespace zarvo {

namespace {

constexpr LayoutRect kSwatches[kSwatchCount] = {
    {200, 85, 240, 105},  {200, 115, 240, 135}, {200, 145, 240, 165}, {200, 215, 240, 235},
    {200, 245, 240, 265}, {200, 275, 240, 295}, {200, 305, 240, 325}, {200, 335, 240, 355},
    {200, 405, 240, 425}, {250, 405, 290, 425}, {200, 435, 240, 455}, {250, 435, 290, 455},
    {300, 435, 390, 455},
};

constexpr LayoutRect kSamples[kSampleCount] = {
    {250, 215, 340, 235},
    {250, 245, 340, 265},
    {300, 405, 390, 425},
    {300, 500, 390, 520},
};

constexpr FontSizeRange kSizeRanges[kSampleCount] = {{0, 25}, {0, 40}, {8, 16}, {0, 50}};

bool StrictlyInside(const LayoutRect& r, int x, int y) {
  return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

int ValidColumn(int column) {
  return column >= 0 && column < kColumnCount ? column : 0;
}

PreviewStep Fill(const LayoutRect& r, Colour colour) {
  return PreviewStep{PreviewStep::kFill, r, colour, 0, 0};
}

// A vertical gradient by the results table's rule: flat when both ends are equal.
void AddGradient(std::vector<PreviewStep>& steps, const LayoutRect& r, Colour top, Colour bottom) {
  if (top == bottom) {
    steps.push_back(Fill(r, top));
    return;
  }
  const int lines = r.bottom - r.top;
  for (int n = 0; n < lines; ++n) {
    steps.push_back(Fill(LayoutRect{r.left, r.top + n, r.right, r.top + n + 1},
                         GradientLineColour(top, bottom, n, lines)));
  }
}

// The current directory of the dialog's opening; the file dialogs may have moved it.
void RestoreFolder(const DisplayDialogModel& model) {
  if (!model.folder.empty()) SetCurrentFolder(model.folder.c_str());
}

}  // namespace

LayoutRect SwatchRect(int swatch) {
  return kSwatches[swatch];
}

LayoutRect SampleRect(int sample) {
  return kSamples[sample];
}

int SampleFontSlot(int sample, int chosenColumn) {
  if (sample == kSampleColumn) return kFontFirstColumn + ValidColumn(chosenColumn);
  return sample;  // run caption 0, event line 1, headings 2
}

PreviewHit PreviewHitAt(int x, int y) {
  for (int i = 0; i < kSwatchCount; ++i) {
    if (StrictlyInside(kSwatches[i], x, y)) return PreviewHit{PreviewHit::kSwatch, i};
  }
  for (int i = 0; i < kSampleCount; ++i) {
    if (StrictlyInside(kSamples[i], x, y)) return PreviewHit{PreviewHit::kSample, i};
  }
  return PreviewHit{PreviewHit::kNothing, -1};
}

FontSizeRange SampleSizeRange(int sample) {
  return kSizeRanges[sample];
}

std::vector<PreviewStep> PreviewSteps(const DisplaySettings& s, int chosenColumn) {
  std::vector<PreviewStep> steps;
  auto frame = [&steps](const LayoutRect& r) {
    steps.push_back(PreviewStep{PreviewStep::kFrame,
                                LayoutRect{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1}, 0, 1,
                                0});
  };
  for (const LayoutRect& r : kSwatches) frame(r);
  for (const LayoutRect& r : kSamples) frame(r);
  for (int i = 0; i < kColourGrid; ++i) steps.push_back(Fill(kSwatches[i], s.colours[i]));

  steps.push_back(Fill(kSamples[kSampleRunCaption], s.colours[kColourRunCaption]));
  steps.push_back(Fill(kSamples[kSampleEventLine], s.colours[kColourEventLine]));
  AddGradient(steps, kSamples[kSampleHeadings], s.colours[kColourHeadingTop],
              s.colours[kColourHeadingBottom]);
  AddGradient(steps, kSamples[kSampleColumn], s.colours[kColourRowsTop],
              s.colours[kColourRowsBottom]);
  const LayoutRect& grid = kSwatches[kColourGrid];
  AddGradient(steps, grid, s.colours[kColourRowsTop], s.colours[kColourRowsBottom]);
  steps.push_back(PreviewStep{
      PreviewStep::kLine, LayoutRect{grid.left + 5, grid.top + 10, grid.right - 5, grid.top + 10},
      s.colours[kColourGrid], 3, 0});

  for (int i = 0; i < kSampleCount; ++i) {
    const int slot = SampleFontSlot(i, chosenColumn);
    const LayoutRect& r = kSamples[i];
    steps.push_back(PreviewStep{PreviewStep::kText,
                                LayoutRect{r.left + 5, r.top, r.right, r.bottom},
                                s.textColours[slot], 0, slot});
  }
  return steps;
}

void OpenDisplayDialogModel(DisplayDialogModel& model, const DisplayDialogMemory& memory,
                            MessageBoxes& boxes) {
  model = DisplayDialogModel{};
  model.folder = CurrentFolder();
  const DisplayFileRead result =
      ReadDisplaySettings(kDisplaySettingsFile, model.settings, model.custom);
  if (result != DisplayFileRead::kRead) {
    boxes.Show(TXT_CAPTION_ERROR,
               result == DisplayFileRead::kDamaged ? TXT_DISPLAY_SETTINGS_DAMAGED
                                                   : TXT_DISPLAY_SETTINGS_NOT_FOUND,
               MessageIcon::kError);
    // Not a blank dialog: the shipped settings, which "Ok" writes.
    DefaultDisplaySettings(model.settings, model.custom);
  }
  model.column = ValidColumn(memory.column);
}

void DisplayColumnChosen(DisplayDialogModel& model, DisplayDialogMemory& memory, int column) {
  if (column < 0 || column >= kColumnCount) return;
  model.column = column;
  memory.column = column;
}

int32_t ChosenColumnWidth(const DisplayDialogModel& model) {
  return model.settings.columnWidths[ValidColumn(model.column)];
}

bool DisplayWidthTyped(DisplayDialogModel& model, const char* text) {
  int32_t value = 0;
  int digits = 0;
  bool rewrite = false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9' || digits == kColumnWidthMaxDigits) {
      rewrite = true;
      break;
    }
    value = value * 10 + (*c - '0');
    ++digits;
  }
  model.settings.columnWidths[ValidColumn(model.column)] = value;
  return rewrite;
}

bool DisplayWidthStepped(DisplayDialogModel& model, int step) {
  int32_t& width = model.settings.columnWidths[ValidColumn(model.column)];
  const int32_t stepped = std::clamp<int32_t>(width + step, 0, kMaxColumnWidth);
  if (stepped == width) return false;
  width = stepped;
  return true;
}

void DisplayStyleChosen(DisplayDialogModel& model, int32_t style) {
  model.settings.tableStyle = style;
}

void SwatchColourChosen(DisplayDialogModel& model, int swatch, Colour colour) {
  if (swatch < 0 || swatch >= kSwatchCount) return;
  model.settings.colours[swatch] = colour;
}

void SampleFontChosen(DisplayDialogModel& model, int sample, const ChosenFont& font) {
  if (sample < 0 || sample >= kSampleCount) return;
  const int slot = SampleFontSlot(sample, model.column);
  FontSpec& stored = model.settings.fonts[slot];
  // Windows-1252 has one byte a character: a cut at 31 bytes never splits one. A zero byte ends
  // the name as it would in the chooser's own buffer.
  const size_t length = strnlen(font.faceName.c_str(), font.faceName.size());
  SetText(stored.faceName, kFaceNameCapacity, font.faceName.c_str(), length);
  stored.size = font.height;
  stored.weight = std::clamp<int32_t>(font.weight, 0, 1000);
  stored.italic = font.italic ? 1 : 0;
  stored.underline = font.underline ? 1 : 0;
  stored.strikeOut = font.strikeOut ? 1 : 0;
  model.settings.textColours[slot] = font.colour;
}

std::string ProposedDisplayFileName(const DisplayDialogModel& model) {
  return model.folder + "\\*" + kDisplayFileExtension;
}

FileRequest DisplayFileRequest(const DisplayDialogModel& model, const std::string& initialName) {
  FileRequest request{TXT_DISPLAY_FILE_FILTER, "*.scrn", initialName.c_str(), model.folder.c_str()};
  request.defaultExtension = kDisplayFileExtension + 1;  // without its dot
  return request;
}

std::string DisplayFileName(const std::string& chosen) {
  return WithExtension(chosen, kDisplayFileExtension);
}

bool LoadDisplayFile(DisplayDialogModel& model, DisplayDialogMemory& memory, FileDialogs& files,
                     MessageBoxes& boxes) {
  std::string chosen;
  const bool asked = files.AskOpenFile(DisplayFileRequest(model, ""), chosen);
  RestoreFolder(model);
  if (!asked) return false;
  DisplaySettings read = model.settings;
  CustomColours custom = model.custom;
  ClearFaceNames(read);
  if (ReadDisplaySettings(chosen.c_str(), read, custom) != DisplayFileRead::kRead) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_FILE_NOT_FOUND, MessageIcon::kError);
    return false;
  }
  model.settings = read;
  model.custom = custom;
  DisplayColumnChosen(model, memory, 0);
  return true;
}

void SaveDisplayFile(const DisplayDialogModel& model, FileDialogs& files, MessageBoxes& boxes) {
  const std::string proposal = ProposedDisplayFileName(model);
  std::string chosen;
  const bool asked = files.AskSaveFile(DisplayFileRequest(model, proposal), chosen);
  RestoreFolder(model);
  if (!asked || chosen == proposal) return;
  std::string path;
  if (!SaveNameWithExtension(chosen, kDisplayFileExtension, boxes, path)) return;
  if (!WriteDisplaySettings(path.c_str(), model.settings, model.custom)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_SETTINGS_NOT_FOUND, MessageIcon::kError);
  }
}

void ConfirmDisplayDialog(const DisplayDialogModel& model, MessageBoxes& boxes) {
  RestoreFolder(model);
  if (!WriteDisplaySettings(kDisplaySettingsFile, model.settings, model.custom)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_SETTINGS_NOT_FOUND, MessageIcon::kError);
  }
}

void CloseDisplayDialog(const DisplayDialogModel& model) {
  RestoreFolder(model);
}

}  // namespace zarvo
