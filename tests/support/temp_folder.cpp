// A temporary current folder for tests that read and write files of the program folder.
#include "tests/support/temp_folder.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/files.h"

namespace zarvo::testing {

TempFolder::TempFolder() {
  char buffer[PATH_MAX];
  if (getcwd(buffer, sizeof buffer) == nullptr) throw std::runtime_error("getcwd");
  previous_ = buffer;
  std::string pattern = (std::filesystem::temp_directory_path() / "zarvo-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
  if (chdir(path_.c_str()) != 0) throw std::runtime_error("chdir");
}

TempFolder::~TempFolder() {
  if (chdir(previous_.c_str()) != 0) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const char* path, std::string_view bytes) {
  std::FILE* f = OpenFile(path, "wb");
  if (f == nullptr) throw std::runtime_error(std::string("cannot create ") + path);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string ReadBytes(const char* path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, size_t(64) << 20)) return "<missing>";
  return bytes;
}

}  // namespace zarvo::testing
