// The parts of the file services that every platform shares.
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/files_internal.h"

namespace zarvo {

bool ReadWholeFile(const char* path, std::string& bytes, size_t maxBytes) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  bytes.clear();
  char chunk[65536];
  bool ok = true;
  for (;;) {
    const size_t n = std::fread(chunk, 1, sizeof chunk, f);
    if (n == 0) break;
    if (bytes.size() + n > maxBytes) {
      ok = false;
      break;
    }
    bytes.append(chunk, n);
  }
  if (std::ferror(f)) ok = false;
  std::fclose(f);
  return ok;
}

bool FileExists(const char* path) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

bool WriteTemporary(const std::string& tmp, std::string_view bytes) {
  std::FILE* f = OpenFile(tmp.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = ok && SyncToDisk(f);
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) RemoveFile(tmp.c_str());
  return ok;
}

bool SyncFileToDisk(const char* path) {
  std::FILE* f = OpenFile(path, "r+b");
  if (f == nullptr) return false;
  const bool ok = SyncToDisk(f);
  return (std::fclose(f) == 0) && ok;
}

bool CopyWholeFile(const char* source, const char* destination) {
  std::string bytes;
  if (!ReadWholeFile(source, bytes, size_t(1) << 30)) return false;
  return WriteFileReplacing(destination, bytes);
}

}  // namespace zarvo
