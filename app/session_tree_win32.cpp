// The session tree view: nodes carry their node id as item data, labels are Windows-1252 texts
// shown through the wide calls.
#include "app/session_tree_win32.h"

#include <string>

#include "app/race_panel_layout.h"
#include "platform/codepage.h"
#include "resources/resource_ids.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* text) {
  const std::u16string utf16 = Cp1252ToUtf16(text != nullptr ? text : "");
  return std::wstring(utf16.begin(), utf16.end());
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

void SessionTreeControl::InsertNode(int32_t id, int32_t parentId, int32_t afterId,
                                    const char* label, int image, bool bold) {
  if (tree_ == nullptr) return;
  std::wstring text = Wide(label);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parentId == 0 ? TVI_ROOT : Find(parentId);
  if (insert.hParent == nullptr) return;
  HTREEITEM after = afterId == 0 ? nullptr : Find(afterId);
  insert.hInsertAfter = after != nullptr ? after : TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
  insert.item.pszText = text.data();
  insert.item.iImage = image;
  insert.item.iSelectedImage = image;
  insert.item.lParam = static_cast<LPARAM>(id);
  insert.item.stateMask = TVIS_BOLD;
  insert.item.state = bold ? TVIS_BOLD : 0;
  SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
}

void SessionTreeControl::Expand(int32_t id) {
  HTREEITEM item = Find(id);
  if (item != nullptr) TreeView_Expand(tree_, item, TVE_EXPAND);
}

void SessionTreeControl::DeleteNode(int32_t id) {
  HTREEITEM item = Find(id);
  if (item != nullptr) TreeView_DeleteItem(tree_, item);
}

void SessionTreeControl::SetLabel(int32_t id, const char* label) {
  HTREEITEM item = Find(id);
  if (item == nullptr) return;
  std::wstring text = Wide(label);
  TVITEMW change = {};
  change.mask = TVIF_TEXT;
  change.hItem = item;
  change.pszText = text.data();
  SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&change));
}

int32_t SessionTreeControl::SelectedNodeId() {
  if (tree_ == nullptr) return 0;
  HTREEITEM item = TreeView_GetSelection(tree_);
  if (item == nullptr) return 0;
  TVITEMW read = {};
  read.mask = TVIF_PARAM;
  read.hItem = item;
  if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read))) return 0;
  return NodeIdOf(read.lParam);
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

HTREEITEM SessionTreeControl::Find(int32_t id) const {
  if (tree_ == nullptr) return nullptr;
  return FindFrom(TreeView_GetRoot(tree_), id);
}

// Depth first through the siblings from item and their children.
HTREEITEM SessionTreeControl::FindFrom(HTREEITEM item, int32_t id) const {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree_, item)) {
    TVITEMW read = {};
    read.mask = TVIF_PARAM;
    read.hItem = item;
    if (SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read)) &&
        NodeIdOf(read.lParam) == id) {
      return item;
    }
    HTREEITEM found = FindFrom(TreeView_GetChild(tree_, item), id);
    if (found != nullptr) return found;
  }
  return nullptr;
}

bool EndLabelEditText(const NMHDR* header, std::string& text) {
  if (header->code == TVN_ENDLABELEDITW) {
    const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(header);
    if (info->item.pszText == nullptr) return false;
    const std::wstring wide(info->item.pszText);
    text = Utf16ToCp1252(std::u16string(wide.begin(), wide.end()));
    return true;
  }
  const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(header);
  if (info->item.pszText == nullptr) return false;
  text = info->item.pszText;
  return true;
}

}  // namespace zarvo
