// Conversions between the program's Windows-1252 texts and the encodings of the operating system.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

// Every Windows-1252 byte to UTF-8 (the five unassigned bytes map to U+0081 and the like).
std::string Cp1252ToUtf8(std::string_view text);
// UTF-8 to Windows-1252; characters that have no Windows-1252 byte become '?'.
std::string Utf8ToCp1252(std::string_view text);
// Windows-1252 to UTF-16 code units (wide Win32 calls).
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace zarvo
