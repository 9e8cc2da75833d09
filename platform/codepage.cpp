// Windows-1252 <-> UTF-8 / UTF-16 conversions.
#include "platform/codepage.h"

#include <cstdint>

namespace zarvo {

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the rest of Windows-1252 is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

char CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// A path's escaped character: 0x81 (a byte Windows-1252 leaves unassigned) and four hexadecimal
// digits of one UTF-16 code unit.
constexpr unsigned char kPathEscape = 0x81;
constexpr size_t kPathEscapeLength = 5;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit escaped at text[i], or -1 when no escape starts there.
int32_t EscapedUnitAt(std::string_view text, size_t i) {
  if (static_cast<unsigned char>(text[i]) != kPathEscape || i + kPathEscapeLength > text.size()) {
    return -1;
  }
  int32_t unit = 0;
  for (size_t k = 1; k < kPathEscapeLength; ++k) {
    const int digit = HexValue(text[i + k]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

// The UTF-16 code units of a Windows-1252 text whose escaped characters count as themselves.
std::u16string Units(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const int32_t unit = EscapedUnitAt(text, i);
    if (unit >= 0) {
      out += static_cast<char16_t>(unit);
      i += kPathEscapeLength - 1;
    } else {
      out += static_cast<char16_t>(ByteToCodePoint(static_cast<unsigned char>(text[i])));
    }
  }
  return out;
}

void AppendEscaped(std::string& out, char16_t unit) {
  static const char kDigits[] = "0123456789ABCDEF";
  out += static_cast<char>(kPathEscape);
  for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(unit >> shift) & 0xF];
}

// One UTF-16 code unit of a path: its Windows-1252 byte, or escaped. U+0081 itself is escaped,
// so that every escape in a path stands for a character.
void AppendPathUnit(std::string& out, char16_t unit) {
  const char byte = CodePointToByte(unit);
  if ((byte == '?' && unit != u'?') || unit == kPathEscape) {
    AppendEscaped(out, unit);
  } else {
    out += byte;
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  const std::u16string units = Units(text);
  std::string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    const bool pair = cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() &&
                      units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
    if (pair) cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    AppendUtf8(out, cp);
  }
  return out;
}

namespace {

// Calls f(code point) for every character of a UTF-8 text; f(kInvalidUtf8) for a byte that does
// not start a valid sequence.
constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

template <typename F>
void ForEachUtf8CodePoint(std::string_view text, F f) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = lead;
    if (lead >= 0xF0 && lead < 0xF8) {
      extra = 3;
      cp = lead & 0x07;
    } else if (lead >= 0xE0) {
      extra = lead < 0xF0 ? 2 : 0;
      cp = lead & 0x0F;
    } else if (lead >= 0xC0) {
      extra = 1;
      cp = lead & 0x1F;
    }
    if (lead >= 0x80 && extra == 0) {  // a stray continuation or invalid lead byte
      f(kInvalidUtf8);
      ++i;
      continue;
    }
    bool valid = i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (!valid) {
      f(kInvalidUtf8);
      ++i;
      continue;
    }
    f(cp);
    i += 1 + extra;
  }
}

}  // namespace

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachUtf8CodePoint(
      text, [&out](char32_t cp) { out += cp == kInvalidUtf8 ? '?' : CodePointToByte(cp); });
  return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
  return Units(text);
}

std::string Utf16ToCp1252(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out += CodePointToByte(c);
  return out;
}

std::string Utf16ToPath(std::u16string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char16_t unit : path) AppendPathUnit(out, unit);
  return out;
}

std::string Utf8ToPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  ForEachUtf8CodePoint(path, [&out](char32_t cp) {
    if (cp == kInvalidUtf8 || cp > 0x10FFFF) {
      out += '?';
    } else if (cp >= 0x10000) {
      AppendPathUnit(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      AppendPathUnit(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      AppendPathUnit(out, static_cast<char16_t>(cp));
    }
  });
  return out;
}

std::string PathWithoutEscapes(std::string_view path, char standIn) {
  std::string out;
  out.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    if (EscapedUnitAt(path, i) >= 0) {
      out += standIn;
      i += kPathEscapeLength - 1;
    } else {
      out += path[i];
    }
  }
  return out;
}

bool PathIsPlainCp1252(std::string_view path) {
  for (size_t i = 0; i < path.size(); ++i) {
    if (EscapedUnitAt(path, i) >= 0) return false;
  }
  return true;
}

}  // namespace zarvo
