// Files of the program folder. Paths are Windows-1252 texts relative to the current directory,
// with '/' or '\' as separators, whose letters outside Windows-1252 are escaped
// (platform/codepage.h); each platform converts them at its edge. The core writes its
// line ends itself ("\r\n"), so every file is opened in binary mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zarvo {

// fopen with a Windows-1252 path; mode is one of the binary modes ("rb", "wb", "r+b", "ab").
std::FILE* OpenFile(const char* path, const char* mode);

// Reads the whole file into bytes. False when it cannot be opened or is larger than maxBytes.
bool ReadWholeFile(const char* path, std::string& bytes, size_t maxBytes);

// Replaces the file with bytes: writes a temporary file in the same folder and renames it over
// the old one only when it is complete, so a crash or a full disk never leaves half a file.
bool WriteFileReplacing(const char* path, std::string_view bytes);

// Copies source onto destination by the same temporary-file route.
bool CopyWholeFile(const char* source, const char* destination);

// The file can be opened for reading.
bool FileExists(const char* path);
// Something of that name is there, whether it can be opened or not (a file locked or denied, a
// folder).
bool PathExists(const char* path);
bool RemoveFile(const char* path);
// Creates one folder; true when it exists afterwards.
bool MakeDirectory(const char* path);

// Pushes what the system holds of the file to the disk (fsync, FlushFileBuffers), for a file
// rewritten in place; false when it cannot be opened for writing or the push fails.
bool SyncFileToDisk(const char* path);

// Renames a file; false when the destination exists already (it is never replaced) or the rename
// fails.
bool RenameFileKeeping(const char* from, const char* to);

// A file that grows by appending, for the run journal. Append is one write call whose bytes are
// with the operating system when it returns, so a killed program loses nothing it appended; Sync
// pushes them to the disk (FlushFileBuffers, fdatasync) against a power cut. Other programs may
// read the file while it is open. Not copyable; closes itself.
class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile() { Close(); }
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  enum class Mode {
    kNewOnly,  // fails when the file exists: what is there is never emptied
    kReplace,  // empties a file that exists
  };
  bool Create(const char* path, Mode mode);
  bool Append(std::string_view bytes);
  bool Sync();
  void Close();
  bool IsOpen() const { return handle_ != kClosed; }

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;  // a file descriptor or a HANDLE
};

bool SetCurrentFolder(const char* path);
// The current folder as a path (letters outside Windows-1252 escaped, platform/codepage.h).
std::string CurrentFolder();

// The short ("8.3") form of an existing file's path, which names the same file in plain
// Windows-1252; empty when the volume keeps no short names or the file does not exist.
std::string ShortPathOf(const char* path);

}  // namespace zarvo
