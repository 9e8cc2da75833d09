// The session commands as far as the program has them: at start-up a new session
// "SEANCE TRAINING" with its working copy and its tree (the session, "Track", "Drivers (0)",
// "Parameters", "Sessions"), and closing with its save question. The File menu, the tree's pop-up
// commands and the tree's notifications change nothing.
#pragma once

#include "app/program.h"
#include "app/session_tree.h"
#include "platform/message_boxes.h"

namespace zarvo {

// The nodes of a session without participants or runs: the root (its name, bold, no image), then
// track, drivers, parameters and sessions. The root is expanded.
void InsertNewSessionNodes(SessionTreeNodes& tree, const char* sessionName);

class NewSessionOnly : public SessionCommands {
 public:
  NewSessionOnly(ProgramState& state, SessionTreeNodes& tree, MessageBoxes& boxes)
      : state_(state), tree_(tree), boxes_(boxes) {}

  // Empty participants list and table, no run caption nor circuit, a new working copy.
  void StartUp() override;
  void BuildTree() override;
  void OnTreeRightClick() override {}
  bool OnTreeBeginLabelEdit() override { return false; }
  void OnTreeEndLabelEdit(const char*) override {}
  void OnTreeSelectionChanging() override {}
  void OnTreeSelectionChanged() override {}
  bool OnCommand(int commandId) override;
  // Archives the current run, then asks whether to save: Cancel keeps the window open. The
  // session cannot hold anything to save yet, so Yes closes like No.
  bool ConfirmClose() override;

 protected:
  ProgramState& state_;
  SessionTreeNodes& tree_;
  MessageBoxes& boxes_;
};

}  // namespace zarvo
