// The common file dialogs, through the wide API; paths go back to the core as path texts
// (platform/codepage.h), the long name kept whatever its letters.
#include "ui/file_dialogs_win32.h"

#include <commdlg.h>

#include <vector>

#include "platform/codepage.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

constexpr size_t kPathBuffer = 1024;

bool Ask(HWND owner, const FileRequest& request, bool save, std::string& chosen) {
  // "name\0pattern\0\0"
  std::wstring filter = dialog::Wide(request.filterName);
  filter.push_back(L'\0');
  filter += dialog::Wide(request.pattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(kPathBuffer, L'\0');
  const std::wstring initialName = dialog::Wide(request.initialName);
  if (initialName.size() < kPathBuffer) initialName.copy(file.data(), initialName.size());
  const std::wstring folder = dialog::Wide(request.initialFolder);
  // The dialog adds the default extension itself to a name typed without one, so the overwrite
  // question is asked about the file that will really be written: the request's, or else the
  // extension of a "*.ext" pattern.
  std::wstring extension =
      request.defaultExtension != nullptr ? dialog::Wide(request.defaultExtension) : L"";
  const std::wstring pattern = dialog::Wide(request.pattern);
  if (extension.empty() && pattern.rfind(L"*.", 0) == 0 &&
      pattern.find_first_of(L";*?", 2) == std::wstring::npos) {
    extension = pattern.substr(2);
  }

  OPENFILENAMEW dialogData = {};
  dialogData.lStructSize = sizeof dialogData;
  dialogData.hwndOwner = owner;
  dialogData.lpstrFilter = filter.c_str();
  dialogData.nFilterIndex = 1;
  dialogData.lpstrFile = file.data();
  dialogData.nMaxFile = DWORD(kPathBuffer);
  dialogData.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialogData.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialogData.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (save && request.confirmOverwrite) dialogData.Flags |= OFN_OVERWRITEPROMPT;
  if (!save) dialogData.Flags |= OFN_FILEMUSTEXIST;
  const BOOL ok = save ? GetSaveFileNameW(&dialogData) : GetOpenFileNameW(&dialogData);
  if (!ok) return false;
  // The long name as chosen, whatever its letters: the file services open it through the wide API.
  const std::wstring name(file.data());
  chosen = Utf16ToPath(std::u16string(name.begin(), name.end()));
  return !chosen.empty();
}

// The main window, unless a window of the program is active (a run window exporting its run):
// the dialog is then modal to that one, which it enables again when it closes.
HWND Owner(HWND mainWindow) {
  HWND active = GetActiveWindow();
  if (active != nullptr && IsWindowEnabled(active)) return active;
  return mainWindow;
}

}  // namespace

bool Win32FileDialogs::AskSaveFile(const FileRequest& request, std::string& chosen) {
  return Ask(Owner(*owner_), request, true, chosen);
}

bool Win32FileDialogs::AskOpenFile(const FileRequest& request, std::string& chosen) {
  return Ask(Owner(*owner_), request, false, chosen);
}

}  // namespace zarvo
