// Reading and writing the display settings file: 11 lines, every value followed by a tab.
#include "settings/display_settings.h"

#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// A display file is well under 2 KB; anything past this is never needed.
constexpr size_t kMaxDisplayFileBytes = 64 * 1024;

void AppendNumber(std::string& out, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d\t", static_cast<int>(value));
  out += text;
}

void EndLine(std::string& out) {
  out += "\r\n";
}

// Reads the file line by line. Inside a line, values are separated by blanks (spaces, tabs, a
// carriage return); a line holds exactly its count of values.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

  // The next number of the current line (decimal, optional sign, 32-bit signed).
  bool Number(int32_t& value) {
    SkipBlanks();
    size_t at = pos_;
    bool negative = false;
    if (at < bytes_.size() && (bytes_[at] == '-' || bytes_[at] == '+')) {
      negative = bytes_[at] == '-';
      ++at;
    }
    int64_t magnitude = 0;
    const size_t firstDigit = at;
    while (at < bytes_.size() && bytes_[at] >= '0' && bytes_[at] <= '9') {
      magnitude = magnitude * 10 + (bytes_[at] - '0');
      if (magnitude > int64_t(1) << 31) return false;  // no 32-bit number has more digits
      ++at;
    }
    if (at == firstDigit) return false;
    // Every value is followed by a tab: a number cut by the end of the file, or run into other
    // characters, is not a value.
    if (at == bytes_.size() || !IsSeparator(bytes_[at])) return false;
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return false;
    value = static_cast<int32_t>(result);
    pos_ = at;
    return true;
  }

  // The bytes up to the next tab of the current line, cut to the capacity of a face name; the
  // rest of a longer name is skipped so that the following names stay in place.
  bool FaceName(char (&name)[kFaceNameCapacity]) {
    const size_t start = pos_;
    size_t at = start;
    while (at < bytes_.size() && bytes_[at] != '\t') {
      if (bytes_[at] == '\n' || bytes_[at] == '\r') return false;
      ++at;
    }
    if (at == bytes_.size()) return false;
    // A zero byte ends the text; what follows it up to the tab is dropped with it.
    const size_t length = strnlen(bytes_.data() + start, at - start);
    SetText(name, kFaceNameCapacity, bytes_.data() + start, length);
    pos_ = at + 1;
    return true;
  }

  // Ends the current line: only blanks may remain before its line feed. The last line may end
  // with the file instead.
  bool EndOfLine(bool lastLine) {
    SkipBlanks();
    if (pos_ == bytes_.size()) return lastLine;
    if (bytes_[pos_] != '\n') return false;
    ++pos_;
    return true;
  }

  // Skips whatever remains of the current line.
  bool SkipLine() {
    while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
    if (pos_ == bytes_.size()) return false;
    ++pos_;
    return true;
  }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
  static bool IsSeparator(char c) { return IsBlank(c) || c == '\n'; }

  void SkipBlanks() {
    while (pos_ < bytes_.size() && IsBlank(bytes_[pos_])) ++pos_;
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

template <typename T, size_t N>
bool NumberLine(LineReader& reader, T (&values)[N], bool lastLine = false) {
  for (T& value : values) {
    int32_t number = 0;
    if (!reader.Number(number)) return false;
    value = static_cast<T>(number);
  }
  return reader.EndOfLine(lastLine);
}

// One int32_t field of each of the twelve font slots.
bool FontFieldLine(LineReader& reader, FontSpec (&fonts)[kFontSlotCount],
                   int32_t FontSpec::*field) {
  for (FontSpec& font : fonts) {
    if (!reader.Number(font.*field)) return false;
  }
  return reader.EndOfLine(false);
}

bool ParseAll(std::string_view bytes, DisplaySettings& s, CustomColours& custom) {
  LineReader reader(bytes);
  if (!reader.Number(s.tableStyle) || !reader.SkipLine()) return false;
  for (FontSpec& font : s.fonts) {
    if (!reader.FaceName(font.faceName)) return false;
  }
  if (!reader.EndOfLine(false)) return false;
  if (!FontFieldLine(reader, s.fonts, &FontSpec::size)) return false;
  if (!FontFieldLine(reader, s.fonts, &FontSpec::weight)) return false;
  if (!FontFieldLine(reader, s.fonts, &FontSpec::italic)) return false;
  if (!FontFieldLine(reader, s.fonts, &FontSpec::underline)) return false;
  if (!FontFieldLine(reader, s.fonts, &FontSpec::strikeOut)) return false;
  if (!NumberLine(reader, s.textColours)) return false;
  if (!NumberLine(reader, s.colours)) return false;
  if (!NumberLine(reader, s.columnWidths)) return false;
  if (!NumberLine(reader, custom.colours, true)) return false;
  for (int32_t& width : s.columnWidths) {
    if (width < 0) width = 0;
    if (width > kMaxColumnWidth) width = kMaxColumnWidth;
  }
  return true;
}

}  // namespace

void ClearFaceNames(DisplaySettings& settings) {
  for (FontSpec& font : settings.fonts) ClearText(font.faceName);
}

std::string FormatDisplaySettings(const DisplaySettings& s, const CustomColours& custom) {
  std::string out;
  AppendNumber(out, s.tableStyle);
  EndLine(out);
  for (const FontSpec& font : s.fonts) {
    // A face name always fits its field; strnlen guards a record filled by other means.
    out.append(font.faceName, strnlen(font.faceName, kFaceNameCapacity - 1));
    out += '\t';
  }
  EndLine(out);
  for (int32_t FontSpec::*field : {&FontSpec::size, &FontSpec::weight, &FontSpec::italic,
                                   &FontSpec::underline, &FontSpec::strikeOut}) {
    for (const FontSpec& font : s.fonts) AppendNumber(out, font.*field);
    EndLine(out);
  }
  for (Colour c : s.textColours) AppendNumber(out, static_cast<int32_t>(c));
  EndLine(out);
  for (Colour c : s.colours) AppendNumber(out, static_cast<int32_t>(c));
  EndLine(out);
  for (int32_t width : s.columnWidths) AppendNumber(out, width);
  EndLine(out);
  for (Colour c : custom.colours) AppendNumber(out, static_cast<int32_t>(c));
  EndLine(out);
  return out;
}

DisplayFileRead ParseDisplaySettings(std::string_view bytes, DisplaySettings& settings,
                                     CustomColours& custom) {
  DisplaySettings read = settings;
  CustomColours readCustom = custom;
  if (!ParseAll(bytes, read, readCustom)) return DisplayFileRead::kDamaged;
  settings = read;
  custom = readCustom;
  return DisplayFileRead::kRead;
}

namespace {

// The display settings the program ships ("Private/RéglagesAffichage.rgsc" of data/, made by
// tools/assets/make_settings.py; a unit test checks they are the same).
constexpr char kDefaultDisplayFile[] =
    "1\t\r\n"
    "Arial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\tArial\t\r\n"
    "-22\t-30\t-16\t26\t26\t26\t26\t26\t26\t26\t26\t26\t\r\n"
    "700\t700\t700\t700\t700\t700\t700\t700\t700\t400\t400\t400\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\r\n"
    "16777215\t16777215\t16777215\t7222808\t657930\t7222808\t657930\t1989120\t657930\t5263440\t2631"
    "720\t5921370\t\r\n"
    "15129814\t16513270\t16183532\t7222808\t1973960\t54015\t16747725\t7922040\t10245676\t5383182\t1"
    "6777215\t15654612\t9862510\t\r\n"
    "70\t280\t80\t160\t135\t135\t135\t135\t110\t\r\n"
    "15129814\t16513270\t16183532\t7222808\t1973960\t54015\t16747725\t7922040\t10245676\t5383182\t1"
    "6777215\t15654612\t9862510\t16777215\t16777215\t16777215\t\r\n";

}  // namespace

void DefaultDisplaySettings(DisplaySettings& settings, CustomColours& custom) {
  DisplaySettings defaults = {};
  CustomColours colours = {};
  ParseDisplaySettings(kDefaultDisplayFile, defaults, colours);
  settings = defaults;
  custom = colours;
}

DisplayFileRead ReadDisplaySettings(const char* path, DisplaySettings& settings,
                                    CustomColours& custom) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return DisplayFileRead::kCannotOpen;
  std::string bytes(kMaxDisplayFileBytes, '\0');
  const size_t n = std::fread(&bytes[0], 1, bytes.size(), file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return DisplayFileRead::kDamaged;
  bytes.resize(n);
  return ParseDisplaySettings(bytes, settings, custom);
}

bool WriteDisplaySettings(const char* path, const DisplaySettings& settings,
                          const CustomColours& custom) {
  return WriteFileReplacing(path, FormatDisplaySettings(settings, custom));
}

}  // namespace zarvo
