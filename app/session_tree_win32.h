// The session tree control (a "SysTreeView32") behind the SessionTreeView port, and the routing
// of its notifications to the session controller.
#pragma once

#include <windows.h>
// <commctrl.h> needs the types of <windows.h>.
#include <commctrl.h>

#include "app/session_controller.h"
#include "app/session_ports.h"

namespace zarvo {

class Win32SessionTree : public SessionTreeView {
 public:
  explicit Win32SessionTree(HWND tree) : tree_(tree) {}

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

  HWND tree_;
};

// Handles a WM_NOTIFY that comes from the session tree and returns what the window procedure
// must return for it: right click (the selected node's pop-up menu), label editing (only the
// session's name), selection about to change (the loaded run is written back) and selection
// changed (a run is loaded, a driver's details open). Both the ANSI and the wide notifications
// are understood.
LRESULT HandleSessionTreeNotify(SessionController& controller, const NMHDR& header);

}  // namespace zarvo
