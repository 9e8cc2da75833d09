// The display options dialog's procedure: moves data between the controls, the colour and font
// choosers and DisplayDialogModel, and paints the preview the model describes.
#include "display/display_dialog_win32.h"

#include <commdlg.h>

#include <algorithm>

#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "ui/dialog_controls_win32.h"
#include "ui/file_dialogs_win32.h"

namespace zarvo {

namespace {

// The dialog's model and what lasts beyond it.
struct DisplayDialogState {
  DisplayDialogModel model;
  DisplayDialogMemory* memory;
};

// The file dialogs of "Load" and "Save" are modal to this dialog.
struct DisplayDialogWindow {
  HWND window = nullptr;
  Win32FileDialogs files{&window};
};

using DisplayDialogData = dialog::ModalData<DisplayDialogState, DisplayDialogWindow>;

const char* const kColumnNames[kColumnCount] = {
    TXT_DISPLAY_COLUMN_LANE,       TXT_DISPLAY_COLUMN_DRIVER,      TXT_DISPLAY_COLUMN_LAPS,
    TXT_DISPLAY_COLUMN_TOTAL_TIME, TXT_DISPLAY_COLUMN_LAP_TIME,    TXT_DISPLAY_COLUMN_BEST_LAP,
    TXT_DISPLAY_COLUMN_WORST_LAP,  TXT_DISPLAY_COLUMN_AVERAGE_LAP, TXT_DISPLAY_COLUMN_TRANSPONDER,
};

class Brush {
 public:
  explicit Brush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
  ~Brush() { DeleteObject(brush_); }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
};

HFONT SampleFont(const FontSpec& stored) {
  LOGFONTW lf = {};
  lf.lfHeight = kSampleTextHeight;
  lf.lfWeight = stored.weight;
  lf.lfItalic = stored.italic != 0;
  lf.lfUnderline = stored.underline != 0;
  lf.lfStrikeOut = stored.strikeOut != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = dialog::Wide(stored.faceName);
  face.copy(lf.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  return CreateFontIndirectW(&lf);
}

RECT ToWin32(const LayoutRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

// Asks for the preview rectangles to be painted again (with their frames).
void InvalidatePreview(HWND window) {
  for (int i = 0; i < kSwatchCount; ++i) {
    const LayoutRect r = SwatchRect(i);
    const RECT framed{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    InvalidateRect(window, &framed, FALSE);
  }
  for (int i = 0; i < kSampleCount; ++i) {
    const LayoutRect r = SampleRect(i);
    const RECT framed{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1};
    InvalidateRect(window, &framed, FALSE);
  }
}

void ShowColumnAndStyle(HWND window, const DisplayDialogModel& model) {
  dialog::ComboSelect(window, IDC_DISPLAY_COLUMN, model.column);
  dialog::SetItemNumber(window, IDC_DISPLAY_WIDTH, ChosenColumnWidth(model));
  dialog::CheckItem(window, IDC_DISPLAY_RELIEF, model.settings.tableStyle == kStyleRelief);
  dialog::CheckItem(window, IDC_DISPLAY_GRADIENT, model.settings.tableStyle != kStyleRelief);
}

BOOL OnInit(HWND window, DisplayDialogData& data) {
  DisplayDialogModel& model = data.model.model;
  data.extra.window = window;
  OpenDisplayDialogModel(model, *data.model.memory, *data.boxes);
  data.fonts.Apply(window, {IDC_DISPLAY_TITLE});
  for (const char* name : kColumnNames) dialog::ComboAdd(window, IDC_DISPLAY_COLUMN, name);
  dialog::LimitItemText(window, IDC_DISPLAY_WIDTH, kColumnWidthMaxDigits);
  ShowColumnAndStyle(window, model);
  return TRUE;
}

void OnCommand(HWND window, DisplayDialogData& data, int id, int code) {
  DisplayDialogModel& model = data.model.model;
  switch (id) {
    case IDC_DISPLAY_COLUMN:
      if (code == CBN_SELCHANGE) {
        DisplayColumnChosen(model, *data.model.memory,
                            dialog::ComboSelection(window, IDC_DISPLAY_COLUMN));
        dialog::SetItemNumber(window, IDC_DISPLAY_WIDTH, ChosenColumnWidth(model));
        InvalidatePreview(window);
      }
      break;
    case IDC_DISPLAY_WIDTH:
      if (code == EN_CHANGE &&
          DisplayWidthTyped(model, dialog::ItemText(window, IDC_DISPLAY_WIDTH).c_str())) {
        dialog::SetItemNumber(window, IDC_DISPLAY_WIDTH, ChosenColumnWidth(model));
      }
      break;
    case IDC_DISPLAY_WIDER:
    case IDC_DISPLAY_NARROWER:
      if (code == BN_CLICKED && DisplayWidthStepped(model, id == IDC_DISPLAY_WIDER ? 1 : -1)) {
        dialog::SetItemNumber(window, IDC_DISPLAY_WIDTH, ChosenColumnWidth(model));
      }
      break;
    case IDC_DISPLAY_RELIEF:
    case IDC_DISPLAY_GRADIENT:
      if (code == BN_CLICKED && IsDlgButtonChecked(window, id) == BST_CHECKED) {
        DisplayStyleChosen(model, id == IDC_DISPLAY_RELIEF ? kStyleRelief : kStyleGradient);
      }
      break;
    case IDC_DISPLAY_LOAD:
      if (code == BN_CLICKED &&
          LoadDisplayFile(model, *data.model.memory, data.extra.files, *data.boxes)) {
        ShowColumnAndStyle(window, model);
        InvalidatePreview(window);
      }
      break;
    case IDC_DISPLAY_SAVE:
      if (code == BN_CLICKED) SaveDisplayFile(model, data.extra.files, *data.boxes);
      break;
    default:
      break;
  }
}

void ChooseSwatchColour(HWND window, DisplayDialogModel& model, int swatch) {
  COLORREF custom[kCustomColourCount];
  std::copy(std::begin(model.custom.colours), std::end(model.custom.colours), custom);
  CHOOSECOLORW chooser = {};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = window;
  chooser.rgbResult = model.settings.colours[swatch];
  chooser.lpCustColors = custom;
  chooser.Flags = CC_RGBINIT | CC_FULLOPEN;
  const bool chosen = ChooseColorW(&chooser) != FALSE;
  // The chooser may have changed the custom colours even when it was cancelled.
  std::transform(std::begin(custom), std::end(custom), model.custom.colours,
                 [](COLORREF c) { return Colour(c & 0x00FFFFFF); });
  if (chosen) SwatchColourChosen(model, swatch, Colour(chooser.rgbResult & 0x00FFFFFF));
}

void ChooseSampleFont(HWND window, DisplayDialogModel& model, int sample) {
  const int slot = SampleFontSlot(sample, model.column);
  const FontSpec& stored = model.settings.fonts[slot];
  LOGFONTW lf = {};
  lf.lfHeight = stored.size;
  lf.lfWeight = stored.weight;
  lf.lfItalic = stored.italic != 0;
  lf.lfUnderline = stored.underline != 0;
  lf.lfStrikeOut = stored.strikeOut != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = dialog::Wide(stored.faceName);
  face.copy(lf.lfFaceName, std::min<size_t>(face.size(), LF_FACESIZE - 1));
  const FontSizeRange range = SampleSizeRange(sample);
  CHOOSEFONTW chooser = {};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = window;
  chooser.lpLogFont = &lf;
  chooser.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE;
  chooser.rgbColors = model.settings.textColours[slot];
  chooser.nSizeMin = range.minimum;
  chooser.nSizeMax = range.maximum;
  if (!ChooseFontW(&chooser)) return;
  lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
  const ChosenFont font{dialog::Narrow(lf.lfFaceName),
                        lf.lfHeight,
                        lf.lfWeight,
                        lf.lfItalic != 0,
                        lf.lfUnderline != 0,
                        lf.lfStrikeOut != 0,
                        Colour(chooser.rgbColors & 0x00FFFFFF)};
  SampleFontChosen(model, sample, font);
}

bool OnMessage(HWND window, DisplayDialogData& data, UINT message, WPARAM, LPARAM lParam,
               INT_PTR& result) {
  DisplayDialogModel& model = data.model.model;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      PaintDisplayPreview(dc, model.settings, PreviewSteps(model.settings, model.column));
      EndPaint(window, &paint);
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDOWN: {
      const PreviewHit hit = PreviewHitAt(int(short(LOWORD(lParam))), int(short(HIWORD(lParam))));
      if (hit.kind == PreviewHit::kSwatch) ChooseSwatchColour(window, model, hit.index);
      if (hit.kind == PreviewHit::kSample) ChooseSampleFont(window, model, hit.index);
      if (hit.kind != PreviewHit::kNothing) InvalidatePreview(window);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

void Confirm(DisplayDialogState& state, MessageBoxes& boxes) {
  ConfirmDisplayDialog(state.model, boxes);
}

}  // namespace

void PaintDisplayPreview(HDC dc, const DisplaySettings& settings,
                         const std::vector<PreviewStep>& steps) {
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  for (const PreviewStep& step : steps) {
    const RECT r = ToWin32(step.rect);
    switch (step.kind) {
      case PreviewStep::kFrame: {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        break;
      }
      case PreviewStep::kFill: {
        Brush brush(step.colour);
        FillRect(dc, &r, brush.get());
        break;
      }
      case PreviewStep::kLine: {
        const HPEN pen = CreatePen(PS_SOLID, step.width, step.colour);
        const HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, r.left, r.top, nullptr);
        LineTo(dc, r.right, r.bottom);
        SelectObject(dc, previous);
        DeleteObject(pen);
        break;
      }
      case PreviewStep::kText: {
        const HFONT font = SampleFont(settings.fonts[step.fontSlot]);
        const HGDIOBJ previous = SelectObject(dc, font);
        SetTextColor(dc, step.colour);
        const std::wstring text = dialog::Wide(TXT_DISPLAY_SAMPLE_TEXT);
        TextOutW(dc, r.left, r.top, text.c_str(), int(text.size()));
        SelectObject(dc, previous);
        DeleteObject(font);
        break;
      }
    }
  }
  RestoreDC(dc, saved);
}

bool RunDisplayDialog(HWND owner, MessageBoxes& boxes, DisplayDialogMemory& memory) {
  auto state = std::make_unique<DisplayDialogState>();
  state->memory = &memory;
  const bool confirmed = dialog::RunModal<DisplayDialogState, OnInit, OnCommand, Confirm, OnMessage,
                                          DisplayDialogWindow>(owner, L"AFFICHAGE", boxes, *state);
  CloseDisplayDialog(state->model);
  return confirmed;
}

}  // namespace zarvo
