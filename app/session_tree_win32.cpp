// The session tree control and its notifications (see session_tree_win32.h). Nodes carry their
// node id as item data.
#include "app/session_tree_win32.h"

#include <string>
#include <vector>

#include "app/race_panel_layout.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

// The text of an ANSI notification is in the system code page.
std::string FromAnsi(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 0) return std::string();
  std::vector<wchar_t> wide(size_t(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return dialog::Narrow(wide.data());
}

}  // namespace

SessionTreeControl::~SessionTreeControl() {
  if (images_ != nullptr) ImageList_Destroy(images_);
}

bool SessionTreeControl::Create(HWND parent, HINSTANCE instance, Colour background) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const int iconWidth = GetSystemMetrics(SM_CXSMICON);
  const int iconHeight = GetSystemMetrics(SM_CYSMICON);
  images_ = ImageList_Create(iconWidth, iconHeight, ILC_COLOR32, 4, 0);
  for (int id : {IDI_TREE_TRACK, IDI_TREE_DRIVERS, IDI_TREE_PARAMETERS, IDI_TREE_SESSIONS}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, iconWidth, iconHeight, 0));
    ImageList_AddIcon(images_, icon);
    if (icon != nullptr) DestroyIcon(icon);
  }
  RECT client;
  GetClientRect(parent, &client);
  const ControlPlace place = SessionTreePlace(client.bottom);
  tree_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
      WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS,
      place.x, place.y, place.width, place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SESSION_TREE)), instance, nullptr);
  if (tree_ == nullptr) return false;
  TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
  SetBackground(background);
  return true;
}

void SessionTreeControl::SetBackground(Colour colour) {
  if (tree_ != nullptr) TreeView_SetBkColor(tree_, static_cast<COLORREF>(colour));
}

void SessionTreeControl::Place(int clientHeight) {
  if (tree_ == nullptr) return;
  const ControlPlace place = SessionTreePlace(clientHeight);
  MoveWindow(tree_, place.x, place.y, place.width, place.height, TRUE);
}

void SessionTreeControl::Clear() {
  if (tree_ != nullptr) TreeView_DeleteAllItems(tree_);
}

void SessionTreeControl::InsertNode(const TreeNode& node) {
  if (tree_ == nullptr) return;
  const std::wstring label = dialog::Wide(node.label);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = node.parentId == 0 ? TVI_ROOT : Find(node.parentId);
  if (insert.hParent == nullptr) return;
  HTREEITEM after = node.afterId == 0 ? nullptr : Find(node.afterId);
  insert.hInsertAfter = after != nullptr ? after : TVI_LAST;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  item.pszText = const_cast<wchar_t*>(label.c_str());
  item.lParam = static_cast<LPARAM>(node.id);
  item.iImage = node.image;
  item.iSelectedImage = node.image;
  item.stateMask = TVIS_BOLD;
  item.state = node.bold ? TVIS_BOLD : 0;
  SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

void SessionTreeControl::DeleteNode(int32_t id) {
  if (HTREEITEM item = Find(id)) TreeView_DeleteItem(tree_, item);
}

void SessionTreeControl::Expand(int32_t id) {
  if (HTREEITEM item = Find(id)) TreeView_Expand(tree_, item, TVE_EXPAND);
}

void SessionTreeControl::SetLabel(int32_t id, const char* label) {
  HTREEITEM handle = Find(id);
  if (handle == nullptr) return;
  const std::wstring text = dialog::Wide(label);
  TVITEMW item = {};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = handle;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int32_t SessionTreeControl::SelectedNodeId() {
  if (tree_ == nullptr) return 0;
  HTREEITEM item = TreeView_GetSelection(tree_);
  return item == nullptr ? 0 : NodeIdOf(item);
}

void SessionTreeControl::BeginLabelEdit(int32_t id) {
  HTREEITEM item = Find(id);
  if (item == nullptr) return;
  SetFocus(tree_);
  SendMessageW(tree_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
}

void SessionTreeControl::LimitLabelEdit(int maxCharacters) {
  if (tree_ == nullptr) return;
  HWND edit = TreeView_GetEditControl(tree_);
  if (edit != nullptr) SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(maxCharacters), 0);
}

int32_t SessionTreeControl::NodeIdOf(HTREEITEM item) const {
  TVITEMW read = {};
  read.mask = TVIF_PARAM | TVIF_HANDLE;
  read.hItem = item;
  if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read))) return 0;
  return static_cast<int32_t>(read.lParam);
}

HTREEITEM SessionTreeControl::Find(int32_t id) const {
  if (tree_ == nullptr) return nullptr;
  return FindFrom(TreeView_GetRoot(tree_), id);
}

// Depth first through the siblings from item and their children.
HTREEITEM SessionTreeControl::FindFrom(HTREEITEM item, int32_t id) const {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree_, item)) {
    if (NodeIdOf(item) == id) return item;
    if (HTREEITEM found = FindFrom(TreeView_GetChild(tree_, item), id)) return found;
  }
  return nullptr;
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
