// What the session commands reach outside the portable core: the session tree control, the main
// window, the common file dialogs (ui/file_dialogs.h) and the setup dialogs. The Win32 shell
// implements them (app/session_tree_win32.h, ui/file_dialogs_win32.h, app/session_dialogs_win32.h
// and the main window); tests record and script them. Texts are Windows-1252.
#pragma once

#include <cstdint>

#include "ui/file_dialogs.h"

namespace zarvo {

// A node of the session tree, identified by its fixed node id (session/session_format.h).
struct TreeNode {
  int32_t id;
  int32_t parentId;  // 0 for the root
  // The sibling the node is inserted after; 0 makes it the last child of its parent.
  int32_t afterId;
  const char* label;
  int image;  // index in the tree's image list; kNoTreeImage for none
  bool bold;
};

constexpr int kTrackImage = 0;
constexpr int kDriversImage = 1;
constexpr int kParametersImage = 2;
constexpr int kSessionsImage = 3;
constexpr int kNoTreeImage = 4;

class SessionTreeView {
 public:
  virtual ~SessionTreeView() = default;
  // Deletes every node.
  virtual void Clear() = 0;
  virtual void InsertNode(const TreeNode& node) = 0;
  // Deletes the node and all its children; nothing when there is no such node.
  virtual void DeleteNode(int32_t id) = 0;
  virtual void Expand(int32_t id) = 0;
  virtual void SetLabel(int32_t id, const char* label) = 0;
  // The id of the selected node; 0 when no node is selected.
  virtual int32_t SelectedNodeId() = 0;
  // Starts in-place editing of the node's label.
  virtual void BeginLabelEdit(int32_t id) = 0;
  // Limits the edit box of the label being edited to that many characters.
  virtual void LimitLabelEdit(int maxCharacters) = 0;
};

class SessionWindow {
 public:
  virtual ~SessionWindow() = default;
  virtual void SetTitle(const char* title) = 0;
  // After a session or a run is loaded or the participants change: computes the visible rows of
  // the results table again, sets the first visible row to 0, shows the results scroll bar with
  // the range participantCount - visible rows when fewer rows fit than there are participants
  // (hides it otherwise) and repaints the results.
  virtual void ResetResultsView(int participantCount) = 0;
  // Shows the one-item pop-up menu of that command (1051 to 1055) at the pointer; choosing the
  // item sends the command to the main window as the menu bar does. 1056 is a run's menu:
  // "Add a run" (1055) and "Export run…" (1056).
  virtual void ShowPopupMenu(int commandId) = 0;
};

// The modal dialogs the session commands open. Each reads what it edits from the working copy
// when it opens and writes it back when the user confirms; the caller reads it again afterwards.
class SessionDialogs {
 public:
  virtual ~SessionDialogs() = default;
  virtual void OpenTrackDialog() = 0;           // "COURSEPISTE"
  virtual void OpenParticipantsDialog() = 0;    // "LISTEPILOTES"
  virtual void OpenRaceParametersDialog() = 0;  // "COURSEPARAMETRES"
  // The driver details of the participant entry the selected node id designates (written into
  // the session header just before). May do nothing while that dialog does not exist.
  virtual void OpenDriverDetailsDialog() = 0;
  // The smartphone import ("IMPORTSMARTPHONE") of "Smartphone/Run1.trng2": true when it has
  // built a new working copy, false when it could not open (nothing was changed).
  virtual bool OpenSmartphoneImportDialog() = 0;
};

}  // namespace zarvo
