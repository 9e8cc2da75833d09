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

// Paths. The program keeps a path as a Windows-1252 text like any other, but a file or folder the
// user chose may be named with letters Windows-1252 lacks ("Zawody Łódź", "Ωμέγα.trng"). Such a
// letter is kept in the path as the byte 0x81 (unassigned in Windows-1252) followed by four
// upper-case hexadecimal digits of its UTF-16 code unit, so the long name reaches the wide API
// whole: Cp1252ToUtf16 and Cp1252ToUtf8 above give every escaped letter back as itself, and a
// window showing the path shows the letter. Only the operating-system edge makes such paths (the
// file dialogs, the current folder); a path that is stored in a data file must be plain
// Windows-1252 (PathIsPlainCp1252), since no other program would read the escapes.
std::string Utf16ToPath(std::u16string_view path);
std::string Utf8ToPath(std::string_view path);
bool PathIsPlainCp1252(std::string_view path);
// The path with every escaped letter replaced by standIn: a plain Windows-1252 name for a copy.
std::string PathWithoutEscapes(std::string_view path, char standIn);

}  // namespace zarvo
