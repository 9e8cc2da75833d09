// Where a chosen picture's path comes from (see editor_pictures.h).
#include "databases/editor_pictures.h"

#include <cstring>

#include "databases/database_records.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

// The largest picture copied into the program folder.
constexpr size_t kPictureCopyLimit = size_t(64) << 20;

// Where a picture is copied: "Base données images/<name>", the name made plain (every letter
// Windows-1252 lacks becomes '_') and cut so that the path fits an image path; a file of that
// name with other bytes gets " (2)", " (3)"... before its extension. Empty when none is free.
std::string CopyPlace(const std::string& chosen, const std::string& bytes) {
  const size_t slash = chosen.find_last_of("\\/");
  std::string name =
      PathWithoutEscapes(slash == std::string::npos ? chosen : chosen.substr(slash + 1), '_');
  const size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
  std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  if (extension.size() > 8) extension.clear();
  const size_t room = kImagePathCapacity - 1 - std::strlen(kCopiedPicturesFolder) - 1 -
                      extension.size() - std::strlen(" (99)");
  if (base.size() > room) base.resize(room);
  for (int k = 1; k < 100; ++k) {
    const std::string suffix = k == 1 ? std::string() : " (" + std::to_string(k) + ")";
    const std::string place = std::string(kCopiedPicturesFolder) + "/" + base + suffix + extension;
    std::string there;
    if (!PathExists(place.c_str())) return place;
    if (ReadWholeFile(place.c_str(), there, kPictureCopyLimit) && there == bytes) return place;
  }
  return std::string();
}

}  // namespace

std::string PicturePathToStore(const std::string& chosen, MessageBoxes& boxes) {
  const auto fits = [](const std::string& path) {
    return !path.empty() && path.size() < size_t(kImagePathCapacity) && PathIsPlainCp1252(path);
  };
  if (fits(chosen)) return chosen;
  const std::string shortPath = ShortPathOf(chosen.c_str());
  if (fits(shortPath)) return shortPath;
  std::string bytes;
  std::string place;
  if (ReadWholeFile(chosen.c_str(), bytes, kPictureCopyLimit) &&
      MakeDirectory(kCopiedPicturesFolder)) {
    place = CopyPlace(chosen, bytes);
  }
  if (place.empty() || !(FileExists(place.c_str()) || WriteFileReplacing(place.c_str(), bytes))) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_PICTURE_NOT_COPIED, MessageIcon::kError);
    return std::string();
  }
  return place;
}

}  // namespace zarvo
