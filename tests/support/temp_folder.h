// A fresh temporary folder that is the current directory for the life of a test, as the program
// folder is for the program; it is removed with everything in it afterwards.
#pragma once

#include <string>
#include <string_view>

namespace zarvo::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The path of a file inside the folder; name may hold Windows-1252 bytes.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string previous_;
  std::string path_;
};

// Whole files by their Windows-1252 names, relative to the current directory.
void WriteBytes(const char* path, std::string_view bytes);
// The file's bytes; "<missing>" when it cannot be opened.
std::string ReadBytes(const char* path);

}  // namespace zarvo::testing
