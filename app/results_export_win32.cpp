// The export's command line on Windows. The program is a GUI program: its standard error is the
// handle it inherited (a redirection or a pipe of the caller), or else the console of the
// command prompt that started it, attached for the message. A console gets the text as UTF-16;
// a file or a pipe gets UTF-8.
#include "app/results_export_win32.h"

#include <windows.h>
// After <windows.h>:
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "export/export_command_line.h"
#include "platform/codepage.h"

namespace zarvo {

namespace {

std::string PathOf(const wchar_t* wide) {
  const std::wstring text(wide);
  return Utf16ToPath(std::u16string(text.begin(), text.end()));
}

// The standard error the process inherited, or the parent's console; nullptr for none.
HANDLE ErrorOutput() {
  HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) return handle;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return nullptr;
  handle = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

void WriteError(const std::string& cp1252) {
  HANDLE output = ErrorOutput();
  if (output == nullptr) return;
  const std::string line = cp1252 + "\r\n";
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(output, &mode)) {
    const std::u16string wide = Cp1252ToUtf16(line);
    WriteConsoleW(output, wide.data(), DWORD(wide.size()), &written, nullptr);
    return;
  }
  const std::string utf8 = Cp1252ToUtf8(line);
  WriteFile(output, utf8.data(), DWORD(utf8.size()), &written, nullptr);
}

// "images/logo.bmp" of the program folder, where the program itself finds it.
std::string LogoPath() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, folder)))
    return std::string();
  return PathOf(folder) + kProgramFolderName + "\\images\\logo.bmp";
}

}  // namespace

bool RunExportCommandLine(int& exitCode) {
  std::vector<std::string> words = SplitCommandLine(PathOf(GetCommandLineW()));
  if (!words.empty()) words.erase(words.begin());
  const CommandLineRequest request = ReadCommandLine(words);
  if (request.action == CommandLineAction::kStartProgram) return false;
  const CommandLineOutcome outcome = RunCommandLine(request, LogoPath());
  if (!outcome.message.empty()) WriteError(outcome.message);
  exitCode = outcome.exitCode;
  return true;
}

}  // namespace zarvo
