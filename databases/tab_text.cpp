// Lines and bounded tab-separated fields of the database files.
#include "databases/tab_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "text/fixed_text.h"

namespace zarvo {

bool ReadFileBounded(const char* path, std::string& bytes, size_t maxBytes) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  bytes.clear();
  char chunk[65536];
  while (bytes.size() < maxBytes) {
    const size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
    const size_t n = std::fread(chunk, 1, want, f);
    if (n == 0) break;
    bytes.append(chunk, n);
  }
  bool ok = std::ferror(f) == 0;
  if (ok && bytes.size() == maxBytes && std::fgetc(f) != EOF) ok = false;
  std::fclose(f);
  return ok;
}

std::string_view NextField(std::string_view& rest) {
  const size_t tab = rest.find('\t');
  std::string_view field = rest.substr(0, tab);
  rest = tab == std::string_view::npos ? std::string_view() : rest.substr(tab + 1);
  return field;
}

void SetFieldText(char* dst, size_t capacity, std::string_view field) {
  field = field.substr(0, field.find('\0'));
  SetText(dst, capacity, field.data(), field.size());
}

int32_t ParseInt32(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > int64_t(INT32_MAX) + 1) value = int64_t(INT32_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  return static_cast<int32_t>(value);
}

void AppendText(std::string& out, const char* text, size_t capacity) {
  if (capacity == 0) return;
  const void* terminator = std::memchr(text, 0, capacity - 1);
  const size_t n =
      terminator != nullptr ? static_cast<const char*>(terminator) - text : capacity - 1;
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    out += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
  }
}

void AppendInt(std::string& out, int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
  out += buffer;
}

}  // namespace zarvo
