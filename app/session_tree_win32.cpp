// The session tree control and its notifications (see session_tree_win32.h).
#include "app/session_tree_win32.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/dialog_controls_win32.h"
#include "platform/codepage.h"

namespace zarvo {

namespace {

int32_t NodeIdOf(HWND tree, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(tree, &data)) return 0;
  return static_cast<int32_t>(data.lParam);
}

HTREEITEM FindBelow(HWND tree, HTREEITEM first, int32_t id) {
  for (HTREEITEM item = first; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    if (NodeIdOf(tree, item) == id) return item;
    if (HTREEITEM found = FindBelow(tree, TreeView_GetChild(tree, item), id)) return found;
  }
  return nullptr;
}

// The text of an ANSI notification is in the system code page.
std::string FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return std::string();
  std::vector<wchar_t> wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return dialog::Narrow(wide.data());
}

}  // namespace

HTREEITEM Win32SessionTree::Find(int32_t id) const {
  return FindBelow(tree_, TreeView_GetRoot(tree_), id);
}

void Win32SessionTree::Clear() {
  TreeView_DeleteAllItems(tree_);
}

void Win32SessionTree::InsertNode(const TreeNode& node) {
  const std::wstring label = dialog::Wide(node.label);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = node.parentId == 0 ? TVI_ROOT : Find(node.parentId);
  if (insert.hParent == nullptr) return;
  insert.hInsertAfter = TVI_LAST;
  if (node.afterId != 0) {
    if (HTREEITEM after = Find(node.afterId)) insert.hInsertAfter = after;
  }
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  item.pszText = const_cast<wchar_t*>(label.c_str());
  item.lParam = node.id;
  item.iImage = node.image;
  item.iSelectedImage = node.image;
  item.stateMask = TVIS_BOLD;
  item.state = node.bold ? TVIS_BOLD : 0;
  SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

void Win32SessionTree::DeleteNode(int32_t id) {
  if (HTREEITEM item = Find(id)) TreeView_DeleteItem(tree_, item);
}

void Win32SessionTree::Expand(int32_t id) {
  if (HTREEITEM item = Find(id)) TreeView_Expand(tree_, item, TVE_EXPAND);
}

void Win32SessionTree::SetLabel(int32_t id, const char* label) {
  HTREEITEM handle = Find(id);
  if (handle == nullptr) return;
  const std::wstring text = dialog::Wide(label);
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = handle;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int32_t Win32SessionTree::SelectedNodeId() {
  HTREEITEM item = TreeView_GetSelection(tree_);
  return item == nullptr ? 0 : NodeIdOf(tree_, item);
}

void Win32SessionTree::BeginLabelEdit(int32_t id) {
  HTREEITEM item = Find(id);
  if (item == nullptr) return;
  SetFocus(tree_);
  SendMessageW(tree_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
}

void Win32SessionTree::LimitLabelEdit(int maxCharacters) {
  HWND edit = TreeView_GetEditControl(tree_);
  if (edit != nullptr) SendMessageW(edit, EM_LIMITTEXT, WPARAM(maxCharacters), 0);
}

LRESULT HandleSessionTreeNotify(SessionController& controller, const NMHDR& header) {
  switch (header.code) {
    case NM_RCLICK:
      controller.OnTreeRightClick();
      return TRUE;  // no context menu of its own
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
      return controller.OnTreeBeginLabelEdit() ? FALSE : TRUE;
    case TVN_ENDLABELEDITW: {
      const auto& info = reinterpret_cast<const NMTVDISPINFOW&>(header);
      if (info.item.pszText == nullptr) {
        controller.OnTreeEndLabelEdit(nullptr);
      } else {
        controller.OnTreeEndLabelEdit(dialog::Narrow(info.item.pszText).c_str());
      }
      return FALSE;  // the controller has set the label
    }
    case TVN_ENDLABELEDITA: {
      const auto& info = reinterpret_cast<const NMTVDISPINFOA&>(header);
      if (info.item.pszText == nullptr) {
        controller.OnTreeEndLabelEdit(nullptr);
      } else {
        controller.OnTreeEndLabelEdit(FromAnsi(info.item.pszText).c_str());
      }
      return FALSE;
    }
    case TVN_SELCHANGINGA:
    case TVN_SELCHANGINGW:
      controller.OnTreeSelectionChanging();
      return FALSE;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      controller.OnTreeSelectionChanged();
      return 0;
    default:
      return 0;
  }
}

}  // namespace zarvo
