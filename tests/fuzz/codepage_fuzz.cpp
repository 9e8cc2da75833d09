// UTF-8 from the operating system (file names, current folder) into Windows-1252 and back, and
// into path texts (letters outside Windows-1252 escaped) and back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string cp1252 = zarvo::Utf8ToCp1252(input);
  if (cp1252.size() > size) __builtin_trap();
  // Every Windows-1252 text without an escaped letter survives the way out and back.
  if (zarvo::PathIsPlainCp1252(cp1252) &&
      zarvo::Utf8ToCp1252(zarvo::Cp1252ToUtf8(cp1252)) != cp1252) {
    __builtin_trap();
  }
  // A path names the same file on the way out, whatever its letters: the name the system gives
  // comes back as the same path text, and that path as the same name.
  const std::string path = zarvo::Utf8ToPath(input);
  const std::string name = zarvo::Cp1252ToUtf8(path);
  if (zarvo::Utf8ToPath(name) != path) __builtin_trap();
  if (zarvo::Cp1252ToUtf8(zarvo::Utf8ToPath(name)) != name) __builtin_trap();
  const std::u16string wide = zarvo::Cp1252ToUtf16(path);
  if (zarvo::Utf16ToPath(wide) != path) __builtin_trap();
  if (zarvo::PathWithoutEscapes(path, '_').size() > path.size()) __builtin_trap();
  if (!zarvo::PathIsPlainCp1252(zarvo::PathWithoutEscapes(path, '_'))) __builtin_trap();
  return 0;
}
