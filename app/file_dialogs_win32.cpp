// The common file dialogs, through the wide API; paths go back to the core as Windows-1252.
#include "app/file_dialogs_win32.h"

#include <commdlg.h>

#include <vector>

#include "app/dialog_controls_win32.h"

namespace zarvo {

namespace {

constexpr size_t kPathBuffer = 1024;

// The short form of a path that exists (its "8.3" names are plain ASCII), or "" without one.
std::wstring ShortPath(const std::wstring& path) {
  const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return std::wstring();
  std::wstring out(n, L'\0');
  const DWORD m = GetShortPathNameW(path.c_str(), &out[0], n);
  if (m == 0 || m >= n) return std::wstring();
  out.resize(m);
  return out;
}

bool FitsCp1252(const std::wstring& path) {
  return dialog::Wide(dialog::Narrow(path.c_str()).c_str()) == path;
}

// The path as the core keeps it (Windows-1252). A folder or file name with letters outside
// Windows-1252 (Polish, Greek, Cyrillic) is given by its short form, which names the same file
// through the wide API; a new file of such a name is created empty first so that it has one.
// Only the folder is shortened when the file name itself fits, so the title keeps the name.
std::string CoreName(const std::wstring& path, bool save) {
  if (FitsCp1252(path)) return dialog::Narrow(path.c_str());
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::wstring shortFolder = ShortPath(folder);
  std::wstring shortPath;
  if (!shortFolder.empty() && FitsCp1252(name)) {
    shortPath = shortFolder + L"\\" + name;
  } else {
    shortPath = ShortPath(path);
    if (shortPath.empty() && save) {
      const HANDLE created = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
      if (created != INVALID_HANDLE_VALUE) {
        CloseHandle(created);
        shortPath = ShortPath(path);
      }
    }
  }
  // Without a short form the name comes back with '?', which no file name holds: the operation
  // then fails and says so.
  if (shortPath.empty() || !FitsCp1252(shortPath)) return dialog::Narrow(path.c_str());
  return dialog::Narrow(shortPath.c_str());
}

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
  dialogData.Flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  const BOOL ok = save ? GetSaveFileNameW(&dialogData) : GetOpenFileNameW(&dialogData);
  if (!ok) return false;
  chosen = CoreName(file.data(), save);
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
