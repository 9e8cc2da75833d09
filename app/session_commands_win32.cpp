// The session commands of the program: for now the new session of start-up and the closing
// question; the File menu and the tree's commands plug in here.
#include <memory>

#include "app/main_window_win32.h"
#include "app/new_session.h"

namespace zarvo {

std::unique_ptr<SessionCommands> MakeSessionCommands(Program& program, MainWindow& window) {
  return std::make_unique<NewSessionOnly>(program.state(), window.tree(), program.boxes());
}

}  // namespace zarvo
