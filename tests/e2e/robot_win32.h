// What the robot's commands share (robot_win32.cpp, robot_tree_win32.cpp): printing, failing,
// finding windows and waiting for them. Texts are UTF-16 inside, UTF-8 on the console.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace robot {

constexpr wchar_t kMainClass[] = L"classeF";
constexpr int kTreeId = 4000;

// Prints the commands; exit code 2.
int Usage();
std::string Utf8(const std::wstring& text);
// Prints a line as UTF-8 bytes, whatever the console's code page.
void PrintLine(const std::wstring& text);
void PrintAscii(const char* text);
// Says what failed on stderr; exit code 1.
int Fail(const std::wstring& what);
HWND VisibleWindow(const wchar_t* className, const wchar_t* title);
HWND MainWindow();
// A visible top-level window of that class, whatever its title (pop-up menus are "#32768").
HWND VisibleOfClass(const wchar_t* className);
// Sets a control's text as the program would see typing: the control notifies its parent.
bool SetText(HWND control, const std::wstring& text);
DWORD Number(const wchar_t* text);

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

// ---- The session tree (robot_tree_win32.cpp).

// Prints the tree, one node a line, indented by two blanks a level, "*" after a bold node.
int PrintTree();
// The session tree of the main window; nullptr when there is none.
HWND Tree();
// tree-select, selected, tree-rclick.
int TreeCommand(const std::wstring& command, int argc, wchar_t** argv);
// Chooses the first item of the pop-up menu that shows, with the keyboard.
int ChoosePopupItem(DWORD timeoutMs);
// Waits for the tree's label edit box, prints its limit, types the text and ends the edit.
int EditLabel(const std::wstring& text, DWORD timeoutMs);

}  // namespace robot
