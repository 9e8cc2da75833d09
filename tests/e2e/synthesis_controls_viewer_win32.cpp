// The run synthesis additions on plain controls, for the end-to-end test, until the run window
// "DETAILRESULTATS" exists: a dialog holding only the setup-sheet edits (5001, 5003-5050), the car
// chooser 5002, "Save" (1) and "Cancel" (2), driven by the same calls the run window makes in
// synthesis mode. Run in a program folder: it reads the run hand-off and the cars file there, and
// writes the setup answer when it is left.
//   zarvo-synthesis-controls-<edition>
// The dialog's title is "Synthesis controls"; the process ends with 1 after "Save", 0 otherwise.
#include <windows.h>

#include <cstring>
#include <vector>

#include "analysis/run_synthesis.h"
#include "analysis/run_synthesis_win32.h"
#include "app/dialog_controls_win32.h"
#include "app/message_boxes_win32.h"

namespace {

HWND gDialog = nullptr;
zarvo::WindowMessageBoxes gBoxes(&gDialog);
zarvo::RunSynthesis* gSynthesis = nullptr;

void CreateChild(HWND dialog, const wchar_t* className, DWORD style, int id, int x, int y, int w,
                 int h, const wchar_t* text = L"") {
  CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                  nullptr);
}

void CreateControls(HWND dialog) {
  const zarvo::SetupSheet& sheet = gSynthesis->run.participant.setup;
  for (int i = 0; i < zarvo::kSetupFieldCount; ++i) {
    const int column = i % 4;
    const int row = i / 4;
    const int id = zarvo::SetupSheetEditControl(i);
    // Read-only as the run detail window leaves them: the synthesis makes them editable.
    CreateChild(dialog, L"EDIT", WS_BORDER | ES_AUTOHSCROLL | ES_READONLY, id, 10 + column * 190,
                40 + row * 26, 180, 22);
    zarvo::dialog::SetItemText(dialog, id, zarvo::SetupField(sheet, i));
  }
  // Hidden as in the run detail window.
  CreateChild(dialog, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, zarvo::kCarChooserControl, 10, 8,
              250, 200);
  ShowWindow(GetDlgItem(dialog, zarvo::kCarChooserControl), SW_HIDE);
  CreateChild(dialog, L"BUTTON", BS_PUSHBUTTON, IDOK, 560, 8, 90, 24, L"Save");
  ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
  CreateChild(dialog, L"BUTTON", BS_PUSHBUTTON, IDCANCEL, 660, 8, 90, 24, L"Cancel");
}

INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      gDialog = dialog;
      zarvo::OpenRunSynthesis(*gSynthesis, gBoxes);
      CreateControls(dialog);
      zarvo::ShowSynthesisControls(dialog, *gSynthesis);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        const bool saved = LOWORD(wParam) == IDOK;
        zarvo::LeaveRunSynthesis(gSynthesis->run.participant.setup, saved, gBoxes);
        EndDialog(dialog, saved ? 1 : 0);
        return TRUE;
      }
      return zarvo::OnSynthesisCommand(dialog, wParam, *gSynthesis, gBoxes) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

// An empty dialog template with a caption, in memory (its controls are made at WM_INITDIALOG).
std::vector<WORD> DialogTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE header = {};
  header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER;
  header.cx = 520;
  header.cy = 240;
  std::memcpy(words.data(), &header, sizeof header);
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  for (const wchar_t* c = L"Synthesis controls"; *c != 0; ++c) words.push_back(WORD(*c));
  words.push_back(0);
  return words;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static zarvo::RunSynthesis synthesis;
  gSynthesis = &synthesis;
  const std::vector<WORD> dialogTemplate = DialogTemplate();
  const INT_PTR result = DialogBoxIndirectParamW(
      instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), nullptr, Proc, 0);
  return result == 1 ? 1 : 0;
}
