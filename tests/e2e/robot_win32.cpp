// The end-to-end robot: a console program that runs in the same Wine prefix as the program under
// test, finds its windows and controls by class, id and title, and acts as a user would. Texts it
// is given and prints are UTF-8; line ends inside a text are printed as the two characters \r, \n.
//   wait-window <class> <timeout-ms>    exit 0 once a visible window of the class exists
//   wait-gone <class> <timeout-ms>      exit 0 once no window of the class is left
//   title <class>                       prints the window's title
//   close <class>                       posts WM_CLOSE to it (the close box)
// The commands below act on the main window, class "classeF":
//   command <id>                        posts WM_COMMAND <id> as a menu item does
//   click <id>                          clicks the control <id> (BM_CLICK)
//   text <id>                           prints the control's text
//   state <id>                          prints "enabled=0|1 visible=0|1 checked=0|1"
//   wait-state <id> <word> <timeout-ms> waits until the control is enabled, disabled, visible,
//                                       hidden, checked or unchecked
//   place <id>                          prints "x y width height" in the window's client area
//   origin                              prints the screen position of the client area's corner
//   tree                                prints the session tree, one node a line, indented by two
//                                       blanks a level, "*" after a bold node
//   drag <x1> <y1> <x2> <y2>            drags with the left button in the client area
//   enabled <first-id> <last-id>        prints the ids of that range whose control is enabled
// The session tree (nodes known by their node ids, e.g. 10000 the session, 14001 run 1):
//   tree-select <node-id>               selects the node, as a click on it does
//   selected                            prints the label of the selected node
//   tree-rclick <node-id>               right-clicks the node
//   popup <timeout-ms>                  waits for a pop-up menu and chooses its first item
//   no-popup <ms>                       exit 0 when no pop-up menu shows within ms
//   edit-label <text> <timeout-ms>      waits for the label edit box of the tree, prints its
//                                       limit in characters, types the text and ends the edit
// With "in <title>" first, the control commands click, text, state, wait-state, set, select and
// list act on the dialog with that title (waited for up to 10 s) instead of the main window:
//   set <id> <text>                     sets the control's text, as typing does
//   select <id> <index>                 selects a line of a list or combo box and notifies
//   list <id>                           prints the lines of a list or combo box, joined by "|"
//   choose-text <id> <text>             selects the line with exactly that text and notifies
// With or without "in <title>" (the main window or the dialog):
//   lclick <x> <y>                      a left click at that point of the client area
//   ctrl-lclick <x> <y>                 the same with the Ctrl key held
//   origin                              (above) the screen position of the client area's corner
//   dblclick <left|right> <x> <y>       double-clicks at that point of the client area
//   press <id>                          clicks the control and returns once the dialog has
//                                       handled the click (for buttons that open no box)
//   choose <id> <index>                 selects a line as select does and returns once the
//                                       dialog has handled the notification
//   click-until <id> <text-id> <part> <timeout-ms>
//                                       clicks the button, waits until the text of control
//                                       <text-id> holds <part> (or one of the parts a|b|c);
//                                       prints the ms, then the text
// The common file dialogs (Explorer style: the file name box is control 1148):
//   file <name|cancel> <timeout-ms>     waits for a file dialog, prints "title=", "filter=" (the
//                                       file type shown) and "name=" (the name it offers), then
//                                       types the name and confirms, or cancels; waits until the
//                                       dialog is gone
// Message boxes (dialogs of class #32770, text in the static 0xFFFF):
//   box <title> <timeout-ms>            waits for a box with that title and prints its text
//   answer <title> <ok|yes|no|cancel> <timeout-ms>
//                                       waits for it, prints its text, presses the button and
//                                       waits until the box is gone
//   no-box <title> <ms>                 exit 0 when no box with that title shows within ms
// Measurement aids (tools/measure-vexa-timing.sh), acting on the main window from outside:
//   storm <ms>                          invalidates the whole window every 2 ms for ms
//   stall <ms> <count> <gap-ms>         suspends the window's thread for ms, count times, gap ms
//                                       apart; prints "stall <from> <to>" in counter units
// As a program that the shell starts (a test registers it as the handler of a file type):
//   record <file> <words...>            appends the words to the file, one a line, in UTF-8
//   windows                             prints "<class> <title>" of every visible top-level window
//   enter <id>                          clicks into the control, presses Enter there as the
//                                       keyboard does, and prints the id of the control that has
//                                       the focus afterwards (0 for none)
// Run windows (with or without "in <title>"):
//   mousemove <x> <y>                   a mouse move to that point of the client area
//   hscroll <id> <code> <pos>           the scroll bar <id> reports WM_HSCROLL code (SB_...) at pos
//   scroll-state <id>                   prints "visible=0|1 min=.. max=.. pos=.."
// <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "robot_win32.h"

namespace robot {

constexpr int kBoxTextId = 0xFFFF;
constexpr int kFileNameBox = 1148;  // the Explorer-style file dialog's name box (ComboBoxEx32)
constexpr int kFileTypeBox = 1136;  // its file type box

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

// Prints a line as UTF-8 bytes, whatever the console's code page.
void PrintLine(const std::wstring& text) {
  std::string line;
  for (char c : Utf8(text)) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void PrintAscii(const char* text) {
  std::fputs(text, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Fail(const std::wstring& what) {
  std::fprintf(stderr, "robot: %s\n", Utf8(what).c_str());
  return 1;
}

// The text as the window itself gives it: GetWindowText would read, for a window of another
// process, only the caption stored by the system, which edit controls do not keep up to date.
std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &got);
  text.resize(static_cast<size_t>(got));
  return text;
}

HWND VisibleWindow(const wchar_t* className, const wchar_t* title) {
  const HWND window = FindWindowW(className, title);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND MainWindow() {
  return FindWindowW(kMainClass, nullptr);
}

// The window whose controls the control commands act on: the main window, or a dialog.
HWND gContainer = nullptr;

HWND Control(const wchar_t* idText) {
  if (gContainer == nullptr) return nullptr;
  return GetDlgItem(gContainer, static_cast<int>(std::wcstol(idText, nullptr, 10)));
}

// A visible top-level window of that class, whatever its title (pop-up menus are "#32768").
HWND VisibleOfClass(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    HWND found;
  } search = {className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wcscmp(name, s->className) != 0 || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Sets a control's text as the program would see typing: the control notifies its parent.
bool SetText(HWND control, const std::wstring& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

DWORD Number(const wchar_t* text) {
  return static_cast<DWORD>(std::wcstoul(text, nullptr, 10));
}

int ButtonId(const std::wstring& name) {
  if (name == L"ok") return IDOK;
  if (name == L"yes") return IDYES;
  if (name == L"no") return IDNO;
  if (name == L"cancel") return IDCANCEL;
  return 0;
}

bool StateHolds(HWND control, const std::wstring& word) {
  const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (word == L"enabled") return IsWindowEnabled(control) != FALSE;
  if (word == L"disabled") return IsWindowEnabled(control) == FALSE;
  if (word == L"visible") return IsWindowVisible(control) != FALSE;
  if (word == L"hidden") return IsWindowVisible(control) == FALSE;
  if (word == L"checked") return checked;
  if (word == L"unchecked") return !checked;
  return false;
}

HWND FileDialog() {
  struct Search {
    HWND found;
  } search = {nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        if (ClassOf(window) != L"#32770" || !IsWindowVisible(window)) return TRUE;
        if (GetDlgItem(window, kFileNameBox) == nullptr) return TRUE;
        reinterpret_cast<Search*>(data)->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int AnswerFileDialog(const std::wstring& name, DWORD timeoutMs) {
  const HWND dialog = WaitFor(timeoutMs, FileDialog);
  if (dialog == nullptr) return Fail(L"no file dialog");
  Sleep(200);  // the dialog has filled its boxes
  const HWND nameBox = GetDlgItem(dialog, kFileNameBox);
  const HWND combo = FindWindowExW(nameBox, nullptr, L"ComboBox", nullptr);
  const HWND edit = combo != nullptr ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
  if (edit == nullptr) return Fail(L"the file dialog has no name box");
  PrintLine(L"title=" + WindowText(dialog));
  PrintLine(L"filter=" + WindowText(GetDlgItem(dialog, kFileTypeBox)));
  PrintLine(L"name=" + WindowText(edit));
  if (name == L"cancel") {
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
  } else {
    SetText(edit, name);
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  }
  const DWORD start = GetTickCount();
  while (IsWindow(dialog) && GetTickCount() - start < 5000) Sleep(20);
  return IsWindow(dialog) ? Fail(L"the file dialog stayed") : 0;
}

// The lines of a list box or combo box, joined by "|".
int PrintList(HWND control) {
  const bool combo = ClassOf(control) == L"ComboBox";
  const UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  const LRESULT count = SendMessageW(control, countMessage, 0, 0);
  std::wstring joined;
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
    std::wstring line(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(line.data()));
    line.resize(std::wcslen(line.c_str()));
    if (i > 0) joined += L'|';
    joined += line;
  }
  PrintLine(joined);
  return 0;
}

// Selects a line as a click would, and tells the dialog as the control would.
int SelectLine(HWND control, int index) {
  const bool combo = ClassOf(control) == L"ComboBox";
  SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const int id = GetDlgCtrlID(control);
  PostMessageW(GetParent(control), WM_COMMAND,
               MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
  return 0;
}

// A click the dialog has handled on return: later commands cannot overtake it.
int Press(HWND control) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0
             ? 0
             : Fail(L"the click was not handled");
}

// Selects a line and sends the notification, so that it is handled on return.
int ChooseLine(HWND control, int index) {
  const bool combo = ClassOf(control) == L"ComboBox";
  DWORD_PTR result = 0;
  SendMessageTimeoutW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0,
                      SMTO_ABORTIFHUNG, 5000, &result);
  const int id = GetDlgCtrlID(control);
  return SendMessageTimeoutW(
             GetParent(control), WM_COMMAND, MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
             reinterpret_cast<LPARAM>(control), SMTO_ABORTIFHUNG, 10000, &result) != 0
             ? 0
             : Fail(L"the selection was not handled");
}

int Drag(HWND main, int x1, int y1, int x2, int y2) {
  auto at = [](int x, int y) { return static_cast<LPARAM>(MAKELONG(x, y)); };
  PostMessageW(main, WM_MOUSEMOVE, 0, at(x1, y1));
  PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, at(x1, y1));
  for (int step = 1; step <= 4; ++step) {
    PostMessageW(main, WM_MOUSEMOVE, MK_LBUTTON,
                 at(x1 + (x2 - x1) * step / 4, y1 + (y2 - y1) * step / 4));
  }
  PostMessageW(main, WM_LBUTTONUP, 0, at(x2, y2));
  return 0;
}

// Selects the line of a list or combo box whose text is exactly text, as a click would.
int ChooseLineByText(HWND control, const std::wstring& text) {
  const bool combo = ClassOf(control) == L"ComboBox";
  const LRESULT index =
      SendMessageW(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                   static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return Fail(L"no line " + text);
  return SelectLine(control, static_cast<int>(index));
}

// A click into a control (an edit takes the focus), then Enter and its release, posted as the
// keyboard and mouse post them, so that the dialog's own message loop handles the key; then the
// id of the focused control of the dialog's thread.
int PressEnterIn(HWND control) {
  const LPARAM at = static_cast<LPARAM>(MAKELONG(2, 2));
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(control, WM_LBUTTONUP, 0, at);
  PostMessageW(control, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  PostMessageW(control, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
  Sleep(500);
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  int id = 0;
  if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) {
    id = GetDlgCtrlID(info.hwndFocus);
  }
  std::printf("%d\n", id);
  return 0;
}

// A left click in a window's client area; posted, since the click may open a modal dialog.
int LeftClick(HWND window, int x, int y) {
  const LPARAM at = static_cast<LPARAM>(MAKELONG(x, y));
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
  return 0;
}

// A left click with the Ctrl key held, as the mouse reports it in the keys of the press.
int ControlLeftClick(HWND window, int x, int y) {
  const LPARAM at = static_cast<LPARAM>(MAKELONG(x, y));
  PostMessageW(window, WM_MOUSEMOVE, MK_CONTROL, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
  PostMessageW(window, WM_LBUTTONUP, MK_CONTROL, at);
  return 0;
}

// A double-click with the left or right button at a point of the window's client area.
int DoubleClick(HWND window, const std::wstring& button, int x, int y) {
  const LPARAM at = static_cast<LPARAM>(MAKELONG(x, y));
  const bool left = button == L"left";
  const UINT down = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  const UINT up = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  const WPARAM key = left ? MK_LBUTTON : MK_RBUTTON;
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, down, key, at);
  PostMessageW(window, up, 0, at);
  PostMessageW(window, left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK, key, at);
  PostMessageW(window, up, 0, at);
  return 0;
}

// A name whose letters outside ASCII are written \uXXXX (a command line keeps ASCII safely).
std::wstring Unescaped(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 5 < text.size() && text[i + 1] == L'u') {
      out.push_back(static_cast<wchar_t>(std::wcstol(text.substr(i + 2, 4).c_str(), nullptr, 16)));
      i += 5;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// How many visible message boxes (#32770) of that title are open at once.
int CountBoxes(const wchar_t* title) {
  struct Count {
    const wchar_t* title;
    int n;
  } count{title, 0};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        Count& c = *reinterpret_cast<Count*>(data);
        wchar_t cls[32] = {}, text[256] = {};
        GetClassNameW(window, cls, 32);
        GetWindowTextW(window, text, 256);
        if (IsWindowVisible(window) && std::wstring(cls) == L"#32770" &&
            c.title == std::wstring(text))
          ++c.n;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  std::printf("%d\n", count.n);
  return 0;
}

// A mouse move over a window's client area, posted as the mouse would.
int MouseMove(HWND window, int x, int y) {
  return PostMessageW(window, WM_MOUSEMOVE, 0, static_cast<LPARAM>(MAKELONG(x, y))) ? 0 : 1;
}

// What a click on a horizontal scroll bar control sends its parent.
int HorizontalScroll(HWND bar, int code, int position) {
  return PostMessageW(GetParent(bar), WM_HSCROLL, MAKEWPARAM(code, position),
                      reinterpret_cast<LPARAM>(bar))
             ? 0
             : 1;
}

int PrintScrollState(HWND bar) {
  int low = 0, high = 0;
  GetScrollRange(bar, SB_CTL, &low, &high);
  std::printf("visible=%d min=%d max=%d pos=%d\n", IsWindowVisible(bar) ? 1 : 0, low, high,
              GetScrollPos(bar, SB_CTL));
  return 0;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: zarvo-robot wait-window|wait-gone <class> <timeout-ms> | title|close <class>\n"
      "       zarvo-robot command|click|text|state|place <id> | wait-state <id> <word> <ms>\n"
      "       zarvo-robot origin | tree | drag <x1> <y1> <x2> <y2> | enabled <first> <last>\n"
      "       zarvo-robot tree-select|tree-rclick <node-id> | selected | popup|no-popup <ms>\n"
      "       zarvo-robot edit-label <text> <ms> | file <name|cancel> <ms>\n"
      "       zarvo-robot [in <title>] set <id> <text> | select <id> <index> | list <id>\n"
      "       zarvo-robot [in <title>] choose-text <id> <text> | lclick <x> <y> | origin\n"
      "       zarvo-robot [in <title>] dblclick <left|right> <x> <y> | press <id>\n"
      "       zarvo-robot [in <title>] choose <id> <index>\n"
      "       zarvo-robot [in <title>] click-until <id> <text-id> <part> <ms>\n"
      "       zarvo-robot box <title> <ms> | answer <title> <button> <ms> | no-box <title> <ms>\n"
      "       zarvo-robot record <file> <words...> | windows\n"
      "       zarvo-robot storm <ms> | stall <ms> <count> <gap-ms>   (measurement aids)\n");
  return 2;
}

// Clicks a button and measures how long it takes until another control's text holds a part
// (the dialog may be busy meanwhile: the text is read as soon as it answers again).
int ClickUntil(HWND button, const wchar_t* textId, const std::wstring& part, DWORD timeoutMs) {
  const HWND target = Control(textId);
  if (target == nullptr) return Fail(std::wstring(L"no control ") + textId);
  const DWORD start = GetTickCount();
  PostMessageW(button, BM_CLICK, 0, 0);
  for (;;) {
    const std::wstring text = WindowText(target);
    bool holds = false;
    for (size_t from = 0; from <= part.size() && !holds;) {  // alternatives split by '|'
      size_t to = part.find(L'|', from);
      if (to == std::wstring::npos) to = part.size();
      holds = to > from && text.find(part.substr(from, to - from)) != std::wstring::npos;
      from = to + 1;
    }
    if (holds) {
      std::printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
      // Read again: the length asked before the text may have been the old text's.
      PrintLine(WindowText(target));
      return 0;
    }
    if (GetTickCount() - start > timeoutMs) {
      PrintLine(text);
      return Fail(L"the text never held " + part);
    }
    Sleep(5);
  }
}

// Appends the words to a file, so that a test sees with which arguments the shell started us.
int RecordWords(const wchar_t* file, int count, wchar_t** words) {
  FILE* out = _wfopen(file, L"ab");
  if (out == nullptr) return Fail(std::wstring(L"cannot write ") + file);
  for (int i = 0; i < count; ++i) std::fprintf(out, "%s\n", Utf8(words[i]).c_str());
  std::fclose(out);
  return 0;
}

// Measurement aids: what a busy or stalled window does to the program's timing, from outside.
// A repaint storm: the whole main window invalidated every 2 ms for ms (its repaints come before
// its timer in the message queue).
int RepaintStorm(HWND main, DWORD ms) {
  const DWORD start = GetTickCount();
  long invalidations = 0;
  while (GetTickCount() - start < ms) {
    InvalidateRect(main, nullptr, TRUE);
    ++invalidations;
    Sleep(2);
  }
  std::printf("storm %lu ms, %ld invalidations\n", static_cast<unsigned long>(ms), invalidations);
  return 0;
}

// Stalls of the window's thread: suspended for ms, count times, gap ms apart. Each stall is
// printed as "stall <counter at suspend> <counter at resume>" (performance counter units).
int StallWindowThread(HWND main, DWORD ms, int count, DWORD gapMs) {
  const DWORD threadId = GetWindowThreadProcessId(main, nullptr);
  const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId);
  if (thread == nullptr) return Fail(L"cannot open the window's thread");
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::printf("frequency %lld\n", static_cast<long long>(frequency.QuadPart));
  for (int k = 0; k < count; ++k) {
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
      CloseHandle(thread);
      return Fail(L"the window's thread cannot be suspended");
    }
    Sleep(ms);
    ResumeThread(thread);
    QueryPerformanceCounter(&to);
    std::printf("stall %lld %lld\n", static_cast<long long>(from.QuadPart),
                static_cast<long long>(to.QuadPart));
    std::fflush(stdout);
    Sleep(gapMs);
  }
  CloseHandle(thread);
  return 0;
}

int PrintWindows() {
  EnumWindows(
      [](HWND window, LPARAM) -> BOOL {
        if (IsWindowVisible(window)) PrintLine(ClassOf(window) + L" " + WindowText(window));
        return TRUE;
      },
      0);
  return 0;
}

}  // namespace robot

using namespace robot;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  if (std::wstring(argv[1]) == L"in") {
    if (argc < 4) return Usage();
    const wchar_t* title = argv[2];
    gContainer = WaitFor(10000, [title] { return VisibleWindow(L"#32770", title); });
    if (gContainer == nullptr) return Fail(std::wstring(L"no dialog titled ") + title);
    argc -= 2;
    argv += 2;
  }
  const std::wstring command = argv[1];
  if (command == L"record" && argc >= 3) return RecordWords(argv[2], argc - 3, argv + 3);
  if (command == L"windows") return PrintWindows();

  if (command == L"count-boxes" && argc >= 3) return CountBoxes(argv[2]);
  if (command == L"file-u" && argc >= 4)
    return AnswerFileDialog(Unescaped(argv[2]), Number(argv[3]));
  if (command == L"wait-window" || command == L"wait-gone") {
    if (argc < 4) return Usage();
    const bool present = command == L"wait-window";
    const wchar_t* className = argv[2];
    const DWORD start = GetTickCount();
    for (;;) {
      const bool found = VisibleWindow(className, nullptr) != nullptr;
      if (found == present) return 0;
      if (GetTickCount() - start > Number(argv[3])) {
        return Fail(command + L" " + className + L" timed out");
      }
      Sleep(50);
    }
  }
  if (command == L"title" || command == L"close") {
    if (argc < 3) return Usage();
    const HWND window = FindWindowW(argv[2], nullptr);
    if (window == nullptr) return Fail(std::wstring(L"no window of class ") + argv[2]);
    if (command == L"title") {
      PrintLine(WindowText(window));
      return 0;
    }
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }

  if (command == L"box" || command == L"answer" || command == L"no-box") {
    const int timeoutArg = command == L"answer" ? 4 : 3;
    if (argc <= timeoutArg) return Usage();
    const wchar_t* title = argv[2];
    const DWORD timeout = Number(argv[timeoutArg]);
    const HWND box = WaitFor(timeout, [title] { return VisibleWindow(L"#32770", title); });
    if (command == L"no-box") {
      if (box == nullptr) return 0;
      PrintLine(WindowText(GetDlgItem(box, kBoxTextId)));
      return Fail(std::wstring(L"a box titled ") + title + L" is shown");
    }
    if (box == nullptr) return Fail(std::wstring(L"no box titled ") + title);
    Sleep(100);  // the box has finished drawing when the screenshot of a test is taken
    PrintLine(WindowText(GetDlgItem(box, kBoxTextId)));
    if (command == L"box") return 0;
    const int id = ButtonId(argv[3]);
    const HWND button = GetDlgItem(box, id);
    if (button == nullptr) return Fail(std::wstring(L"the box has no button ") + argv[3]);
    PostMessageW(button, BM_CLICK, 0, 0);
    const DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 5000) Sleep(20);
    return IsWindow(box) ? Fail(L"the box stayed") : 0;
  }

  if (command == L"popup" || command == L"no-popup") {
    if (argc < 3) return Usage();
    if (command == L"popup") return ChoosePopupItem(Number(argv[2]));
    const HWND menu = WaitFor(Number(argv[2]), [] { return VisibleOfClass(L"#32768"); });
    return menu == nullptr ? 0 : Fail(L"a pop-up menu is shown");
  }
  if (command == L"file") {
    if (argc < 4) return Usage();
    return AnswerFileDialog(argv[2], Number(argv[3]));
  }

  const HWND main = MainWindow();
  // With "in <title>", the dialog may belong to another program (an installer).
  if (main == nullptr && gContainer == nullptr) return Fail(L"no main window of class classeF");
  if (gContainer == nullptr) gContainer = main;

  if (command == L"tree-select" || command == L"tree-rclick" || command == L"selected") {
    return TreeCommand(command, argc, argv);
  }
  if (command == L"edit-label") {
    if (argc < 4) return Usage();
    return EditLabel(argv[2], Number(argv[3]));
  }
  if (command == L"enabled" && argc >= 4) {
    std::string ids;
    for (DWORD id = Number(argv[2]); id <= Number(argv[3]); ++id) {
      const HWND control = GetDlgItem(main, static_cast<int>(id));
      if (control == nullptr || !IsWindowEnabled(control)) continue;
      if (!ids.empty()) ids += ' ';
      ids += std::to_string(id);
    }
    PrintAscii(ids.c_str());
    return 0;
  }
  if (command == L"command" && argc >= 3) {
    return PostMessageW(main, WM_COMMAND, MAKEWPARAM(Number(argv[2]), 0), 0) ? 0 : 1;
  }
  if (command == L"origin") {
    POINT corner = {0, 0};
    ClientToScreen(gContainer, &corner);
    std::printf("%ld %ld\n", static_cast<long>(corner.x), static_cast<long>(corner.y));
    return 0;
  }
  if (command == L"tree") return PrintTree();
  if (command == L"storm" && argc >= 3) return RepaintStorm(main, Number(argv[2]));
  if (command == L"stall" && argc >= 5) {
    return StallWindowThread(main, Number(argv[2]), _wtoi(argv[3]), Number(argv[4]));
  }
  if (command == L"lclick" && argc >= 4)
    return LeftClick(gContainer, _wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"ctrl-lclick" && argc >= 4)
    return ControlLeftClick(gContainer, _wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"dblclick" && argc >= 5) {
    return DoubleClick(gContainer, argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
  }
  if (command == L"mousemove" && argc >= 4)
    return MouseMove(gContainer, _wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"drag" && argc >= 6) {
    return Drag(main, _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
  }

  if (argc < 3) return Usage();
  const HWND control = Control(argv[2]);
  if (control == nullptr) return Fail(std::wstring(L"no control ") + argv[2]);
  if (command == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
  if (command == L"click-until" && argc >= 6) {
    return ClickUntil(control, argv[3], argv[4], Number(argv[5]));
  }
  if (command == L"list") return PrintList(control);
  if (command == L"hscroll" && argc >= 5)
    return HorizontalScroll(control, _wtoi(argv[3]), _wtoi(argv[4]));
  if (command == L"scroll-state") return PrintScrollState(control);
  if (command == L"set" && argc >= 4) return SetText(control, argv[3]) ? 0 : 1;
  if (command == L"select" && argc >= 4) return SelectLine(control, _wtoi(argv[3]));
  if (command == L"choose-text" && argc >= 4) return ChooseLineByText(control, argv[3]);
  if (command == L"press") return Press(control);
  if (command == L"enter") return PressEnterIn(control);
  if (command == L"choose" && argc >= 4) return ChooseLine(control, _wtoi(argv[3]));
  if (command == L"text") {
    PrintLine(WindowText(control));
    return 0;
  }
  if (command == L"state") {
    char line[64];
    std::snprintf(line, sizeof line, "enabled=%d visible=%d checked=%d",
                  IsWindowEnabled(control) ? 1 : 0, IsWindowVisible(control) ? 1 : 0,
                  SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    PrintAscii(line);
    return 0;
  }
  if (command == L"wait-state" && argc >= 5) {
    const std::wstring word = argv[3];
    const HWND found = WaitFor(Number(argv[4]), [control, &word] {
      return StateHolds(control, word) ? control : nullptr;
    });
    return found != nullptr ? 0 : Fail(std::wstring(L"control ") + argv[2] + L" is not " + word);
  }
  if (command == L"place") {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return 0;
  }
  return Usage();
}
