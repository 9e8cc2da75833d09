// The session tree control (tree view 4000 at the left of the main window): its image list, its
// colour and place, and generic operations on nodes known by their node ids.
#pragma once

// <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <string>

#include "app/session_tree.h"
#include "settings/display_settings.h"

namespace zarvo {

class SessionTreeControl final : public SessionTreeNodes {
 public:
  SessionTreeControl() = default;
  SessionTreeControl(const SessionTreeControl&) = delete;
  SessionTreeControl& operator=(const SessionTreeControl&) = delete;
  ~SessionTreeControl() override;

  // Initialises the common controls, creates the image list (icons 17 to 20) and the tree view
  // with in-place label editing; false when the tree cannot be created.
  bool Create(HWND parent, HINSTANCE instance, Colour background);
  HWND handle() const { return tree_; }
  void SetBackground(Colour colour);
  // At x 10, y 54, 190 wide, the client height less 80.
  void Place(int clientHeight);

  void Clear() override;
  void InsertNode(int32_t id, int32_t parentId, int32_t afterId, const char* label, int image,
                  bool bold) override;
  void Expand(int32_t id) override;
  // Deletes the node with its children; nothing when there is no such node.
  void DeleteNode(int32_t id);
  void SetLabel(int32_t id, const char* label);
  // The id of the selected node; 0 when none is selected.
  int32_t SelectedNodeId();
  void BeginLabelEdit(int32_t id);
  // Limits the edit box of the label being edited.
  void LimitLabelEdit(int maxCharacters);

  // The node id carried by a notification's item (0 when none).
  static int32_t NodeIdOf(LPARAM itemParam) { return static_cast<int32_t>(itemParam); }

 private:
  HTREEITEM Find(int32_t id) const;
  HTREEITEM FindFrom(HTREEITEM item, int32_t id) const;

  HWND tree_ = nullptr;
  HIMAGELIST images_ = nullptr;
};

// The text of a label-edit notification (TVN_ENDLABELEDITA or W) as Windows-1252; false when the
// editing was cancelled.
bool EndLabelEditText(const NMHDR* header, std::string& text);

}  // namespace zarvo
