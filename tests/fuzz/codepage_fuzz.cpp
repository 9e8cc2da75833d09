// UTF-8 from the operating system (file names, current folder) into Windows-1252 and back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string cp1252 = zarvo::Utf8ToCp1252(input);
  if (cp1252.size() > size) __builtin_trap();
  // Every Windows-1252 text survives the way out and back.
  if (zarvo::Utf8ToCp1252(zarvo::Cp1252ToUtf8(cp1252)) != cp1252) __builtin_trap();
  return 0;
}
