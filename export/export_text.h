// Text helpers shared by the export writers: Windows-1252 texts to UTF-8 for the files, HTML and
// XML escaping, and times as seconds with three decimals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zarvo {

// The UTF-8 byte-order mark that lets spreadsheets read the accents of a CSV file.
constexpr const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Appends the Windows-1252 text converted to UTF-8.
void AppendUtf8(std::string& out, std::string_view cp1252);

// Appends the Windows-1252 text converted to UTF-8 and escaped for HTML and XML text and
// attribute values (& < > " '). Control characters, which no well-formed page may hold, become
// '?' (line ends and tabs a blank), so that a damaged name never breaks the page.
void AppendEscaped(std::string& out, std::string_view cp1252);

// Appends a time in milliseconds as seconds with three decimals and the given decimal mark:
// 20512 reads "20.512" (or "20,512"), -1500 reads "-1.500".
void AppendSeconds(std::string& out, int32_t milliseconds, char decimalMark);

// Appends standard base64 (RFC 4648, with padding) of the bytes: the data: URIs of pictures.
void AppendBase64(std::string& out, std::string_view bytes);

}  // namespace zarvo
