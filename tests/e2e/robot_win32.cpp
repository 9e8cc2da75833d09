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
// Message boxes (dialogs of class #32770, text in the static 0xFFFF):
//   box <title> <timeout-ms>            waits for a box with that title and prints its text
//   answer <title> <ok|yes|no|cancel> <timeout-ms>
//                                       waits for it, prints its text, presses the button and
//                                       waits until the box is gone
//   no-box <title> <ms>                 exit 0 when no box with that title shows within ms
// <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kMainClass[] = L"classeF";
constexpr int kTreeId = 4000;
constexpr int kBoxTextId = 0xFFFF;

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

// Polls every 50 ms until found() gives a window or the time is over.
template <typename Find>
HWND WaitFor(DWORD timeoutMs, Find found) {
  const DWORD start = GetTickCount();
  for (;;) {
    const HWND window = found();
    if (window != nullptr) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(50);
  }
}

HWND VisibleWindow(const wchar_t* className, const wchar_t* title) {
  const HWND window = FindWindowW(className, title);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

HWND MainWindow() {
  return FindWindowW(kMainClass, nullptr);
}

HWND Control(const wchar_t* idText) {
  const HWND main = MainWindow();
  if (main == nullptr) return nullptr;
  return GetDlgItem(main, static_cast<int>(std::wcstol(idText, nullptr, 10)));
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

// The session tree lives in the program's process: its items are read through a buffer
// allocated there.
int PrintTree() {
  const HWND main = MainWindow();
  const HWND tree = main != nullptr ? GetDlgItem(main, kTreeId) : nullptr;
  if (tree == nullptr) return Fail(L"no session tree");
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return Fail(L"cannot open the program's process");
  constexpr int kTextChars = 260;
  const SIZE_T size = sizeof(TVITEMW) + kTextChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote == nullptr) {
    CloseHandle(process);
    return Fail(L"cannot allocate in the program's process");
  }
  auto print = [&](HTREEITEM item, int depth, auto& self) -> void {
    for (; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(
             SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
      TVITEMW query = {};
      query.mask = TVIF_TEXT | TVIF_STATE;
      query.hItem = item;
      query.stateMask = TVIS_BOLD;
      query.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
      query.cchTextMax = kTextChars;
      WriteProcessMemory(process, remote, &query, sizeof query, nullptr);
      SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
      TVITEMW answer = {};
      wchar_t text[kTextChars] = {};
      ReadProcessMemory(process, remote, &answer, sizeof answer, nullptr);
      ReadProcessMemory(process, remote + sizeof(TVITEMW), text, sizeof text, nullptr);
      text[kTextChars - 1] = L'\0';
      std::wstring line(static_cast<size_t>(depth) * 2, L' ');
      line += text;
      if ((answer.state & TVIS_BOLD) != 0) line += L" *";
      PrintLine(line);
      const auto child = reinterpret_cast<HTREEITEM>(
          SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
      self(child, depth + 1, self);
    }
  };
  print(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0, print);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return 0;
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

int Usage() {
  std::fprintf(
      stderr,
      "usage: zarvo-robot wait-window|wait-gone <class> <timeout-ms> | title|close <class>\n"
      "       zarvo-robot command|click|text|state|place <id> | wait-state <id> <word> <ms>\n"
      "       zarvo-robot origin | tree | drag <x1> <y1> <x2> <y2>\n"
      "       zarvo-robot box <title> <ms> | answer <title> <button> <ms> | no-box <title> <ms>\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Usage();
  const std::wstring command = argv[1];

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

  const HWND main = MainWindow();
  if (main == nullptr) return Fail(L"no main window of class classeF");

  if (command == L"command" && argc >= 3) {
    return PostMessageW(main, WM_COMMAND, MAKEWPARAM(Number(argv[2]), 0), 0) ? 0 : 1;
  }
  if (command == L"origin") {
    POINT corner = {0, 0};
    ClientToScreen(main, &corner);
    std::printf("%ld %ld\n", static_cast<long>(corner.x), static_cast<long>(corner.y));
    return 0;
  }
  if (command == L"tree") return PrintTree();
  if (command == L"drag" && argc >= 6) {
    return Drag(main, _wtoi(argv[2]), _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]));
  }

  if (argc < 3) return Usage();
  const HWND control = Control(argv[2]);
  if (control == nullptr) return Fail(std::wstring(L"no control ") + argv[2]);
  if (command == L"click") return PostMessageW(control, BM_CLICK, 0, 0) ? 0 : 1;
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
