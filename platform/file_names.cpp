// Windows file-name case folding over Windows-1252, and extensions.
#include "platform/file_names.h"

#include <cstring>

namespace zarvo {

char FoldFileNameCase(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + ('a' - 'A'));
  if (b >= 0xC0 && b <= 0xDE && b != 0xD7) return static_cast<char>(b + 0x20);  // À-Þ, not ×
  switch (b) {
    case 0x8A:  // Š
    case 0x8C:  // Œ
    case 0x8E:  // Ž
      return static_cast<char>(b + 0x10);
    case 0x9F:  // Ÿ
      return static_cast<char>(0xFF);
    default:
      return c;
  }
}

bool SameFileName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldFileNameCase(a[i]) != FoldFileNameCase(b[i])) return false;
  }
  return true;
}

std::string WithExtension(const std::string& name, const char* extension) {
  const size_t n = std::strlen(extension);
  for (size_t i = 0; n > 0 && i + n <= name.size(); ++i) {
    if (SameFileName(std::string_view(name).substr(i, n), extension)) return name;
  }
  return name + extension;
}

}  // namespace zarvo
