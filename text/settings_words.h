// The words of a small settings file: keywords with their values, separated by blanks and line
// ends, as the program's own settings files are written.
#pragma once

#include <cstddef>
#include <string_view>

namespace zarvo {

// The next word of bytes from at (moved past it); empty when only blanks are left.
inline std::string_view NextSettingsWord(std::string_view bytes, size_t& at) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (at < bytes.size() && blank(bytes[at])) ++at;
  const size_t start = at;
  while (at < bytes.size() && !blank(bytes[at])) ++at;
  return bytes.substr(start, at - start);
}

}  // namespace zarvo
