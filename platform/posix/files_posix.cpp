// File services on POSIX systems: Windows-1252 paths become UTF-8 names, '\' becomes '/'.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/files_internal.h"

namespace zarvo {

namespace {

std::string NativePath(const char* path) {
  std::string utf8 = Cp1252ToUtf8(path);
  for (char& c : utf8) {
    if (c == '\\') c = '/';
  }
  return utf8;
}

// The folder that holds a file is synced too after a rename, so that the new name is durable.
void SyncFolder(const std::string& native) {
  const size_t slash = native.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool SyncToDisk(std::FILE* f) {
  return fsync(fileno(f)) == 0;
}

std::FILE* OpenFile(const char* path, const char* mode) {
  return std::fopen(NativePath(path).c_str(), mode);
}

bool WriteFileReplacing(const char* path, std::string_view bytes) {
  const std::string tmp = std::string(path) + ".tmp~";
  if (!WriteTemporary(tmp, bytes)) return false;
  const std::string native = NativePath(path);
  if (std::rename(NativePath(tmp.c_str()).c_str(), native.c_str()) != 0) {
    RemoveFile(tmp.c_str());
    return false;
  }
  SyncFolder(native);  // the new name itself reaches the disk
  return true;
}

bool RemoveFile(const char* path) {
  return std::remove(NativePath(path).c_str()) == 0;
}

bool PathExists(const char* path) {
  struct stat st;
  if (stat(NativePath(path).c_str(), &st) == 0) return true;
  return errno != ENOENT && errno != ENOTDIR;  // what cannot be looked at may be there
}

bool MakeDirectory(const char* path) {
  const std::string native = NativePath(path);
  if (mkdir(native.c_str(), 0777) == 0) return true;
  struct stat st;
  return errno == EEXIST && stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RenameFileKeeping(const char* from, const char* to) {
  // link() fails when the destination exists, so nothing is ever replaced; a file system without
  // hard links gets a rename once the destination was seen to be free.
  const std::string source = NativePath(from);
  const std::string destination = NativePath(to);
  if (link(source.c_str(), destination.c_str()) == 0) return unlink(source.c_str()) == 0;
  if (errno == EEXIST || FileExists(to)) return false;
  return std::rename(source.c_str(), destination.c_str()) == 0;
}

bool AppendFile::Create(const char* path, Mode mode) {
  Close();
  const int how = mode == Mode::kNewOnly ? O_EXCL : O_TRUNC;
  const int fd =
      open(NativePath(path).c_str(), O_WRONLY | O_CREAT | how | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool AppendFile::Append(std::string_view bytes) {
  if (!IsOpen()) return false;
  const int fd = static_cast<int>(handle_);
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool AppendFile::Sync() {
  return IsOpen() && fdatasync(static_cast<int>(handle_)) == 0;
}

void AppendFile::Close() {
  if (!IsOpen()) return;
  close(static_cast<int>(handle_));
  handle_ = kClosed;
}

bool SetCurrentFolder(const char* path) {
  return chdir(NativePath(path).c_str()) == 0;
}

std::string CurrentFolder() {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) return std::string();
  return Utf8ToPath(buffer);
}

// Only Windows file systems keep short names.
std::string ShortPathOf(const char*) {
  return std::string();
}

}  // namespace zarvo
