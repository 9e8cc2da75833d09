// Entry point of the Windows program: the main window owns everything and runs the message loop.
#include <windows.h>

#include "app/main_window_win32.h"
#include "app/results_export_win32.h"

namespace {

// Both editions share the program folder and its working copy: one copy of either runs at a time.
constexpr wchar_t kSingleInstanceMutex[] = L"Global\\ZarvoTraining.Program";

// A second start brings the running copy's window to the front and ends, before it could touch
// the working copy of the first one.
bool AnotherCopyRuns() {
  // Held (never released nor closed) until the process ends.
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, kSingleInstanceMutex);
  if (mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  if (mutex == nullptr && GetLastError() != ERROR_ACCESS_DENIED) return false;
  const HWND running = FindWindowW(zarvo::kMainWindowClass, nullptr);
  if (running != nullptr) {
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The program works in its data folder, which every user of the PC may change: a library is
  // never looked for there (the programs' own folder is the administrators').
  SetDllDirectoryW(L"");
  // The export's command line opens no window and takes no part in the single-copy rule: it
  // reads only the session file it is given and writes only its three files.
  int exitCode = 0;
  if (zarvo::RunExportCommandLine(exitCode)) return exitCode;
  if (AnotherCopyRuns()) return 0;
  // The main window and the program live until the process ends.
  auto* window = new zarvo::MainWindow(instance);
  return window->Run();
}
