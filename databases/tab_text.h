// Reading and writing the lines and tab-separated fields of the database files, bounded by the
// capacity of every field. Shared by the database files and the runs database.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zarvo {

// The largest database file read; anything beyond it is ignored (no file the program writes
// comes near: the cars file, the largest, stays under 400 KB).
constexpr size_t kDatabaseReadLimit = size_t(16) << 20;

// Reads a file of at most maxBytes. False when it cannot be opened or read, or is larger: a file
// read only in part must not be taken for the whole table, which would later be written back.
bool ReadFileBounded(const char* path, std::string& bytes, size_t maxBytes);

// Splits bytes into lines: a line ends at LF, and one CR just before the LF is dropped, so CR LF
// and LF files read alike. A last line without its LF counts when it is not empty.
// Calls f(line) for every line in file order; f returns false to stop.
template <typename F>
void ForEachLine(std::string_view bytes, F f) {
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!f(line)) return;
    start = end + 1;
  }
}

// The text up to the next tab (or the whole rest); rest moves past that tab.
std::string_view NextField(std::string_view& rest);

// Stores a field read from a file into a text of the given capacity: the text ends at a zero
// byte of the field or is cut to capacity - 1 bytes; the rest of the capacity is zero.
void SetFieldText(char* dst, size_t capacity, std::string_view field);

// A decimal number as "%d" reads it: leading spaces, an optional sign, digits; anything after
// the digits is ignored. 0 when there are no digits; held to the 32-bit range.
int32_t ParseInt32(std::string_view text);

// Appends a text field of the given capacity (it ends at its terminator or at capacity - 1
// bytes). A tab, CR or LF inside it would break the line format: each becomes a space.
void AppendText(std::string& out, const char* text, size_t capacity);
void AppendInt(std::string& out, int32_t value);

constexpr const char kLineEnd[] = "\r\n";

}  // namespace zarvo
