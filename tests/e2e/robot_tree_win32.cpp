// The robot's commands on the session tree: reading its nodes through a buffer in the program's
// process, selecting and right-clicking them, the pop-up menu and the label edit.
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

namespace {

// Reads tree items of the program's tree view through a buffer allocated in its process.
class RemoteTree {
 public:
  explicit RemoteTree(HWND tree) : tree_(tree) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      remote_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteTree() {
    if (remote_ != nullptr) VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  bool ok() const { return remote_ != nullptr; }

  HTREEITEM Next(HTREEITEM item, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
  }
  // The item's node id and label.
  LPARAM NodeId(HTREEITEM item, std::wstring* label = nullptr) const {
    TVITEMW query = {};
    query.mask = TVIF_PARAM | TVIF_TEXT;
    query.hItem = item;
    query.pszText = reinterpret_cast<wchar_t*>(remote_ + sizeof(TVITEMW));
    query.cchTextMax = kTextChars;
    WriteProcessMemory(process_, remote_, &query, sizeof query, nullptr);
    SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote_));
    TVITEMW answer = {};
    ReadProcessMemory(process_, remote_, &answer, sizeof answer, nullptr);
    if (label != nullptr) {
      wchar_t text[kTextChars] = {};
      ReadProcessMemory(process_, remote_ + sizeof(TVITEMW), text, sizeof text, nullptr);
      text[kTextChars - 1] = L'\0';
      *label = text;
    }
    return answer.lParam;
  }
  HTREEITEM Find(HTREEITEM item, LPARAM id) const {
    for (; item != nullptr; item = Next(item, TVGN_NEXT)) {
      if (NodeId(item) == id) return item;
      if (HTREEITEM found = Find(Next(item, TVGN_CHILD), id)) return found;
    }
    return nullptr;
  }
  HTREEITEM Find(LPARAM id) const { return Find(Next(nullptr, TVGN_ROOT), id); }
  // The rectangle of the item's label in the tree's client area.
  bool LabelRect(HTREEITEM item, RECT& rect) const {
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    RECT query = {};
    std::memcpy(&query, &item, sizeof item);
    WriteProcessMemory(process_, remote_, &query, sizeof query, nullptr);
    if (!SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote_))) {
      return false;
    }
    return ReadProcessMemory(process_, remote_, &rect, sizeof rect, nullptr) != FALSE;
  }

 private:
  static constexpr int kTextChars = 260;
  static constexpr SIZE_T kSize = sizeof(TVITEMW) + kTextChars * sizeof(wchar_t);
  HWND tree_;
  HANDLE process_ = nullptr;
  char* remote_ = nullptr;
};

}  // namespace

HWND Tree() {
  const HWND main = MainWindow();
  return main != nullptr ? GetDlgItem(main, kTreeId) : nullptr;
}

int TreeCommand(const std::wstring& command, int argc, wchar_t** argv) {
  const HWND tree = Tree();
  if (tree == nullptr) return Fail(L"no session tree");
  RemoteTree remote(tree);
  if (!remote.ok()) return Fail(L"cannot reach the program's process");
  if (command == L"selected") {
    const HTREEITEM item = remote.Next(nullptr, TVGN_CARET);
    if (item == nullptr) return Fail(L"no node is selected");
    std::wstring label;
    remote.NodeId(item, &label);
    PrintLine(label);
    return 0;
  }
  if (argc < 3) return Usage();
  const HTREEITEM item = remote.Find(static_cast<LPARAM>(Number(argv[2])));
  if (item == nullptr) return Fail(std::wstring(L"no node ") + argv[2]);
  if (command == L"tree-select") {
    return PostMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) ? 0 : 1;
  }
  // tree-rclick: a right click in the middle of the node's label.
  RECT rect;
  if (!remote.LabelRect(item, rect)) return Fail(L"the node is not visible");
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  POINT screen = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(tree, &screen);
  SetCursorPos(screen.x, screen.y);  // the menu opens at the pointer
  PostMessageW(tree, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageW(tree, WM_RBUTTONUP, 0, at);
  return 0;
}

// Chooses the first item of the pop-up menu that shows, with the keyboard.
int ChoosePopupItem(DWORD timeoutMs) {
  const HWND menu = WaitFor(timeoutMs, [] { return VisibleOfClass(L"#32768"); });
  if (menu == nullptr) return Fail(L"no pop-up menu");
  Sleep(100);
  PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  const DWORD start = GetTickCount();
  while (VisibleOfClass(L"#32768") != nullptr && GetTickCount() - start < 5000) Sleep(20);
  return VisibleOfClass(L"#32768") == nullptr ? 0 : Fail(L"the pop-up menu stayed");
}

int EditLabel(const std::wstring& text, DWORD timeoutMs) {
  const HWND tree = Tree();
  if (tree == nullptr) return Fail(L"no session tree");
  const HWND edit = WaitFor(timeoutMs, [tree] {
    return reinterpret_cast<HWND>(SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0));
  });
  if (edit == nullptr) return Fail(L"no label is being edited");
  char limit[32];
  std::snprintf(limit, sizeof limit, "%u",
                static_cast<unsigned>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0)));
  PrintAscii(limit);
  SetText(edit, text);
  DWORD_PTR result = 0;
  SendMessageTimeoutW(tree, TVM_ENDEDITLABELNOW, FALSE, 0, SMTO_ABORTIFHUNG, 5000, &result);
  return 0;
}

}  // namespace robot
