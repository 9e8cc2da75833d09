// The end-to-end robot: a console program that runs in the same Wine prefix as the program under
// test, finds its windows by class and title, and sends it commands, as a user would.
//   zarvo-robot wait-window <class> <timeout-ms>   exit 0 when a visible window of the class exists
//   zarvo-robot title <class>                       prints the window title
//   zarvo-robot close <class>                       posts WM_CLOSE to it
//   zarvo-robot wait-gone <class> <timeout-ms>      exit 0 once no window of the class is left
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindByClass(const char* className) { return FindWindowA(className, nullptr); }

bool WaitFor(const char* className, bool present, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    const HWND window = FindByClass(className);
    const bool found = window != nullptr && IsWindowVisible(window);
    if (found == present) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(50);
  }
}

int Usage() {
  std::fprintf(stderr,
               "usage: zarvo-robot wait-window|wait-gone <class> <timeout-ms>\n"
               "       zarvo-robot title|close <class>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const char* command = argv[1];
  const char* className = argv[2];
  if (std::strcmp(command, "wait-window") == 0 || std::strcmp(command, "wait-gone") == 0) {
    if (argc < 4) return Usage();
    const bool present = std::strcmp(command, "wait-window") == 0;
    const bool ok = WaitFor(className, present, static_cast<DWORD>(std::atoi(argv[3])));
    if (!ok) std::fprintf(stderr, "robot: %s %s timed out\n", command, className);
    return ok ? 0 : 1;
  }
  const HWND window = FindByClass(className);
  if (window == nullptr) {
    std::fprintf(stderr, "robot: no window of class %s\n", className);
    return 1;
  }
  if (std::strcmp(command, "title") == 0) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    std::printf("%s\n", title);
    return 0;
  }
  if (std::strcmp(command, "close") == 0) {
    return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  return Usage();
}
