// Creates the race panel's controls; their places come from app/race_panel_layout.h.
#include "app/race_panel_win32.h"

#include <cstdio>
#include <string>

#include "app/race_panel_layout.h"
#include "platform/codepage.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* text) {
  const std::u16string utf16 = Cp1252ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

HWND Control(HWND parent, HINSTANCE instance, const wchar_t* windowClass, const char* text,
             DWORD style, const ControlPlace& at, int id) {
  return CreateWindowExW(0, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, at.x,
                         at.y, at.width, at.height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

void CreateRacePanelControls(HWND window, HINSTANCE instance, int screenWidth, int screenHeight,
                             HBITMAP (&pictures)[3]) {
  const RacePanelLayout p = ComputeRacePanelLayout(screenWidth, screenHeight);
  const DWORD label = ES_READONLY | ES_CENTER;
  const struct {
    const ControlPlace& button;
    const ControlPlace& labelPlace;
    int id;
    int labelId;
    const char* text;
    const char* labelText;
    int bitmap;
  } commands[] = {
      {p.startButton, p.startLabel, IDC_START, IDC_START_LABEL, TXT_PANEL_START,
       TXT_PANEL_START_LABEL, IDB_START},
      {p.stopButton, p.stopLabel, IDC_STOP, IDC_STOP_LABEL, TXT_PANEL_STOP, TXT_PANEL_STOP_LABEL,
       IDB_STOP},
      {p.clearButton, p.clearLabel, IDC_CLEAR, IDC_CLEAR_LABEL, TXT_PANEL_CLEAR,
       TXT_PANEL_CLEAR_LABEL, IDB_CLEAR},
  };
  int picture = 0;
  for (const auto& c : commands) {
    HWND button =
        Control(window, instance, L"BUTTON", c.text, BS_PUSHBUTTON | BS_BITMAP, c.button, c.id);
    pictures[picture] = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(c.bitmap), IMAGE_BITMAP, 0, 0, 0));
    SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(pictures[picture]));
    ++picture;
    Control(window, instance, L"EDIT", c.labelText, label, c.labelPlace, c.labelId);
  }

  Control(window, instance, L"BUTTON", "", BS_GROUPBOX, p.lapGroup, 0);
  // No run is loaded yet: selecting one enables the buttons of its participants' slots.
  for (int k = 1; k <= kLapButtonCount; ++k) {
    char number[4];
    std::snprintf(number, sizeof number, "%d", k);
    Control(window, instance, L"BUTTON", number, BS_PUSHBUTTON | WS_DISABLED, p.lapButtons[k - 1],
            IDC_MANUAL_LAP_FIRST + k - 1);
  }
  Control(window, instance, L"BUTTON", TXT_PANEL_CLOCK_GROUP, BS_GROUPBOX, p.clockGroup,
          IDC_CLOCK_GROUP);
  Control(window, instance, L"BUTTON", TXT_PANEL_COUNTDOWN_GROUP, BS_GROUPBOX, p.countdownGroup,
          IDC_COUNTDOWN_GROUP);
  Control(window, instance, L"BUTTON", TXT_PANEL_TRANSPONDER_GROUP, BS_GROUPBOX, p.transponderGroup,
          IDC_TRANSPONDER_MODE_GROUP);
  Control(window, instance, L"BUTTON", TXT_PANEL_PERSONAL_CHIPS, BS_AUTORADIOBUTTON | WS_GROUP,
          p.personalChips, IDC_PERSONAL_CHIPS);
  Control(window, instance, L"BUTTON", TXT_PANEL_MIXED_SCAN, BS_AUTORADIOBUTTON, p.mixedScan,
          IDC_MIXED_SCAN);
  Control(window, instance, L"BUTTON", TXT_PANEL_SCAN, BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_GROUP,
          p.scanButton, IDC_SCAN);
  Control(window, instance, L"EDIT", "", ES_READONLY | WS_BORDER, p.scanState, IDC_SCAN_STATUS);
}

HFONT CreateAndSetPanelFont(HWND window) {
  LOGFONTW lf = {};
  lf.lfHeight = 16;
  lf.lfWeight = 700;
  lstrcpyW(lf.lfFaceName, L"Arial");
  HFONT font = CreateFontIndirectW(&lf);
  auto set = [window, font](int id) {
    HWND control = GetDlgItem(window, id);
    if (control != nullptr) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  };
  for (int id : {IDC_START_LABEL, IDC_STOP_LABEL, IDC_CLEAR_LABEL, IDC_CLOCK_GROUP,
                 IDC_COUNTDOWN_GROUP, IDC_TRANSPONDER_MODE_GROUP, IDC_PERSONAL_CHIPS,
                 IDC_MIXED_SCAN, IDC_SCAN, IDC_SCAN_STATUS}) {
    set(id);
  }
  for (int id = IDC_MANUAL_LAP_FIRST; id <= IDC_MANUAL_LAP_LAST; ++id) set(id);
  return font;
}

}  // namespace zarvo
