// Encoding, escaping and number texts of the export writers.
#include "export/export_text.h"

#include "platform/codepage.h"

namespace zarvo {

namespace {

// The five Windows-1252 bytes without a character map to C1 control characters; they are
// treated as the control characters they become.
bool IsControl(unsigned char c) {
  return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

void AppendUtf8(std::string& out, std::string_view cp1252) {
  out += Cp1252ToUtf8(cp1252);
}

void AppendEscaped(std::string& out, std::string_view cp1252) {
  std::string plain;
  plain.reserve(cp1252.size());
  for (const char ch : cp1252) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\t' || c == '\r' || c == '\n') {
      plain += ' ';
    } else if (IsControl(c)) {
      plain += '?';
    } else {
      plain += ch;
    }
  }
  for (const char ch : Cp1252ToUtf8(plain)) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += ch;
    }
  }
}

void AppendSeconds(std::string& out, int32_t milliseconds, char decimalMark) {
  int64_t t = milliseconds;
  if (t < 0) {
    out += '-';
    t = -t;
  }
  out += std::to_string(t / 1000);
  out += decimalMark;
  const int64_t fraction = t % 1000;
  out += static_cast<char>('0' + fraction / 100);
  out += static_cast<char>('0' + fraction / 10 % 10);
  out += static_cast<char>('0' + fraction % 10);
}

void AppendBase64(std::string& out, std::string_view bytes) {
  static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t v = uint32_t(static_cast<unsigned char>(bytes[i])) << 16 |
                       uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                       uint32_t(static_cast<unsigned char>(bytes[i + 2]));
    out += kDigits[v >> 18];
    out += kDigits[v >> 12 & 63];
    out += kDigits[v >> 6 & 63];
    out += kDigits[v & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest == 0) return;
  uint32_t v = uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
  if (rest == 2) v |= uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
  out += kDigits[v >> 18];
  out += kDigits[v >> 12 & 63];
  out += rest == 2 ? kDigits[v >> 6 & 63] : '=';
  out += '=';
}

}  // namespace zarvo
