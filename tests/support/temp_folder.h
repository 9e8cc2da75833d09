// A fresh temporary folder that is the current directory for the life of the object, so tests of
// files named relative to the program folder never see each other's files.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace zarvo::testing {

class ScopedTempFolder {
 public:
  ScopedTempFolder() : previous_(std::filesystem::current_path()) {
    std::random_device random;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = base / ("zarvo-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
    std::filesystem::current_path(path_);
  }
  ~ScopedTempFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTempFolder(const ScopedTempFolder&) = delete;
  ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace zarvo::testing
