// The common file dialogs, through the wide API; paths go back to the core as Windows-1252.
#include "app/file_dialogs_win32.h"

#include <commdlg.h>

#include <vector>

#include "app/dialog_controls_win32.h"

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
  // The extension of a "*.ext" pattern is added by the dialog itself to a name typed without
  // one, so the overwrite question is asked about the file that will really be written.
  std::wstring extension;
  const std::wstring pattern = dialog::Wide(request.pattern);
  if (pattern.rfind(L"*.", 0) == 0 && pattern.find_first_of(L";*?", 2) == std::wstring::npos) {
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
  dialogData.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  const BOOL ok = save ? GetSaveFileNameW(&dialogData) : GetOpenFileNameW(&dialogData);
  if (!ok) return false;
  // A name with characters that Windows-1252 lacks comes back with '?', which no file name
  // holds: the copy then fails and says so.
  chosen = dialog::Narrow(file.data());
  return !chosen.empty();
}

}  // namespace

bool Win32FileDialogs::AskSaveFile(const FileRequest& request, std::string& chosen) {
  return Ask(*owner_, request, true, chosen);
}

bool Win32FileDialogs::AskOpenFile(const FileRequest& request, std::string& chosen) {
  return Ask(*owner_, request, false, chosen);
}

}  // namespace zarvo
