// File services on Windows: Windows-1252 paths are converted to UTF-16 for the wide API, so
// names such as "BaseDonnéesPilotes.bd" work whatever the system code page, and so do the letters
// outside Windows-1252 a path keeps escaped (platform/codepage.h).
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/files_internal.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* path) {
  const std::u16string utf16 = Cp1252ToUtf16(path);
  return std::wstring(utf16.begin(), utf16.end());
}

}  // namespace

bool SyncToDisk(std::FILE* f) {
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
  return h != INVALID_HANDLE_VALUE && FlushFileBuffers(h) != 0;
}

std::FILE* OpenFile(const char* path, const char* mode) {
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(Wide(path).c_str(), wideMode.c_str());
}

bool WriteFileReplacing(const char* path, std::string_view bytes) {
  const std::string tmp = std::string(path) + ".tmp~";
  if (!WriteTemporary(tmp, bytes)) return false;
  if (!MoveFileExW(Wide(tmp.c_str()).c_str(), Wide(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    RemoveFile(tmp.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const char* path) {
  return DeleteFileW(Wide(path).c_str()) != 0;
}

bool PathExists(const char* path) {
  if (GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();  // what cannot be looked at may be there
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

bool MakeDirectory(const char* path) {
  const std::wstring wide = Wide(path);
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RenameFileKeeping(const char* from, const char* to) {
  // Without MOVEFILE_REPLACE_EXISTING an existing destination makes the move fail.
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool AppendFile::Create(const char* path, Mode mode) {
  Close();
  const DWORD how = mode == Mode::kNewOnly ? CREATE_NEW : CREATE_ALWAYS;
  const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, how,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool AppendFile::Append(std::string_view bytes) {
  if (!IsOpen()) return false;
  const HANDLE file = reinterpret_cast<HANDLE>(handle_);
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool AppendFile::Sync() {
  return IsOpen() && FlushFileBuffers(reinterpret_cast<HANDLE>(handle_)) != 0;
}

void AppendFile::Close() {
  if (!IsOpen()) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = kClosed;
}

bool SetCurrentFolder(const char* path) {
  return SetCurrentDirectoryW(Wide(path).c_str()) != 0;
}

std::string CurrentFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return std::string();
  return Utf16ToPath(std::u16string(buffer, buffer + n));
}

std::string ShortPathOf(const char* path) {
  const std::wstring wide = Wide(path);
  const DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (n == 0) return std::string();
  std::wstring out(n, L'\0');
  const DWORD m = GetShortPathNameW(wide.c_str(), &out[0], n);
  if (m == 0 || m >= n) return std::string();
  out.resize(m);
  const std::string shortPath = Utf16ToPath(std::u16string(out.begin(), out.end()));
  return PathIsPlainCp1252(shortPath) ? shortPath : std::string();
}

}  // namespace zarvo
