// Opens one session setup dialog over an empty window, in the current folder (a program folder
// with its working copy), so the end-to-end test can look at it and drive it:
//   zarvo-dialogs-<edition> track|participants|parameters <report> [step...] keep|confirm
// Steps, run in order once the dialog is up:
//   set:<id>:<text>      sets a box's text (UTF-8), as typing would
//   select:<id>:<index>  selects a line of a list or combo box and notifies the dialog
//   click:<id>           clicks a button
// Then the report file receives one line "<id>=<text>" (UTF-8) per control of the dialog, and
// "keep" leaves the dialog open (the test closes it) while "confirm" clicks its OK button. The
// last line of the report is "result=1" when the dialog was confirmed, "result=0" otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/participants_dialog_win32.h"
#include "app/race_parameters_dialog_win32.h"
#include "app/track_dialog_win32.h"
#include "platform/codepage.h"
#include "platform/message_boxes.h"

namespace {

std::vector<std::string> gSteps;
bool gConfirm = false;
std::string gReport;

std::wstring FromUtf8(const std::string& text) {
  const std::u16string utf16 = zarvo::Cp1252ToUtf16(zarvo::Utf8ToCp1252(text));
  return std::wstring(utf16.begin(), utf16.end());
}

std::string ToUtf8(const wchar_t* text) {
  const std::u16string utf16(text, text + lstrlenW(text));
  return zarvo::Cp1252ToUtf8(zarvo::Utf16ToCp1252(utf16));
}

void Append(const std::string& line) {
  if (std::FILE* f = std::fopen(gReport.c_str(), "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

class BoxesOverActiveWindow : public zarvo::MessageBoxes {
 public:
  void Show(const char* caption, const char* text, zarvo::MessageIcon) override {
    Append("message=" + zarvo::Cp1252ToUtf8(text));
    MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), MB_OK);
  }
  zarvo::Answer Ask(const char* caption, const char* text, zarvo::QuestionButtons) override {
    return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(),
                       MB_YESNO | MB_ICONQUESTION) == IDYES
               ? zarvo::Answer::kYes
               : zarvo::Answer::kNo;
  }

 private:
  static std::wstring Wide(const char* text) {
    const std::u16string utf16 = zarvo::Cp1252ToUtf16(text);
    return std::wstring(utf16.begin(), utf16.end());
  }
};

void RunStep(HWND dialog, const std::string& step) {
  const size_t first = step.find(':');
  const size_t second = step.find(':', first + 1);
  const std::string kind = step.substr(0, first);
  const int id = std::atoi(step.substr(first + 1, second - first - 1).c_str());
  const std::string argument = second == std::string::npos ? "" : step.substr(second + 1);
  HWND control = GetDlgItem(dialog, id);
  if (kind == "set") {
    SetWindowTextW(control, FromUtf8(argument).c_str());
  } else if (kind == "select") {
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const bool combo = lstrcmpiW(className, L"ComboBox") == 0;
    SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, std::atoi(argument.c_str()), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 LPARAM(control));
  } else if (kind == "click") {
    SendMessageW(control, BM_CLICK, 0, 0);
  }
}

void ReportControls(HWND dialog) {
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(control);
    if (id <= 0 || id == 0xFFFF) continue;
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    std::string value;
    if (lstrcmpiW(className, L"ListBox") == 0) {
      const int count = int(SendMessageW(control, LB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        wchar_t line[256] = {};
        SendMessageW(control, LB_GETTEXT, i, LPARAM(line));
        value += (i ? "|" : "") + ToUtf8(line);
      }
    } else {
      wchar_t text[512] = {};
      GetWindowTextW(control, text, 512);
      value = ToUtf8(text);
      const LONG style = GetWindowLongW(control, GWL_STYLE);
      if ((style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && lstrcmpiW(className, L"Button") == 0) {
        value += SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? " [checked]" : "";
      }
      if (!IsWindowVisible(control)) value += " [hidden]";
      if (!IsWindowEnabled(control)) value += " [disabled]";
    }
    Append(std::to_string(id) + "=" + value);
  }
}

// Once the dialog is up: its steps, its report, and OK when asked.
void CALLBACK DriveDialog(HWND host, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = GetLastActivePopup(host);
  if (dialog == host) return;  // not open yet
  KillTimer(host, timer);
  for (const std::string& step : gSteps) RunStep(dialog, step);
  ReportControls(dialog);
  if (gConfirm) PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 4) return 2;
  const std::string which = ToUtf8(argv[1]);
  gReport = ToUtf8(argv[2]);
  for (int i = 3; i < argc - 1; ++i) gSteps.push_back(ToUtf8(argv[i]));
  gConfirm = ToUtf8(argv[argc - 1]) == "confirm";
  std::remove(gReport.c_str());

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = CreateSolidBrush(RGB(200, 200, 200));
  windowClass.lpszClassName = L"ZarvoDialogHost";
  RegisterClassW(&windowClass);
  HWND host = CreateWindowW(L"ZarvoDialogHost", L"Zarvo", WS_OVERLAPPEDWINDOW, 0, 0, 1600, 900,
                            nullptr, nullptr, instance, nullptr);
  ShowWindow(host, SW_SHOW);
  UpdateWindow(host);
  SetTimer(host, 1, 300, DriveDialog);

  BoxesOverActiveWindow boxes;
  bool confirmed = false;
  if (which == "track") confirmed = zarvo::RunTrackDialog(host, boxes);
  if (which == "participants") confirmed = zarvo::RunParticipantsDialog(host, boxes);
  if (which == "parameters") confirmed = zarvo::RunRaceParametersDialog(host, boxes);
  Append(confirmed ? "result=1" : "result=0");
  DestroyWindow(host);
  return 0;
}
