// The session tree control (tree view 4000 at the left of the main window): its image list, its
// colour and place, its nodes known by their node ids behind the SessionTreeView port, and the
// routing of its notifications to the session controller.
#pragma once

// <windows.h> must come first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdint>

#include "app/session_controller.h"
#include "app/session_ports.h"
#include "settings/display_settings.h"

namespace zarvo {

class SessionTreeControl final : public SessionTreeView {
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

  // SessionTreeView. Labels are Windows-1252 and shown through the wide calls; before Create
  // every operation does nothing.
  void Clear() override;
  void InsertNode(const TreeNode& node) override;
  void DeleteNode(int32_t id) override;
  void Expand(int32_t id) override;
  void SetLabel(int32_t id, const char* label) override;
  int32_t SelectedNodeId() override;
  void BeginLabelEdit(int32_t id) override;
  void LimitLabelEdit(int maxCharacters) override;

 private:
  // The item whose parameter is the node id; nullptr when there is none.
  HTREEITEM Find(int32_t id) const;
  HTREEITEM FindFrom(HTREEITEM item, int32_t id) const;
  int32_t NodeIdOf(HTREEITEM item) const;

  HWND tree_ = nullptr;
  HIMAGELIST images_ = nullptr;
};

// Handles a WM_NOTIFY that comes from the session tree and returns what the window procedure
// must return for it: right click (the selected node's pop-up menu), label editing (only the
// session's name), selection about to change (the loaded run is written back) and selection
// changed (a run is loaded, a driver's details open). Both the ANSI and the wide notifications
// are understood.
LRESULT HandleSessionTreeNotify(SessionController& controller, const NMHDR& header);

}  // namespace zarvo
