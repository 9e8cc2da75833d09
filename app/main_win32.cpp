// Entry point of the Windows program: the main window owns everything and runs the message loop.
#include <windows.h>

#include "app/main_window_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The main window and the program live until the process ends.
  auto* window = new zarvo::MainWindow(instance);
  return window->Run();
}
