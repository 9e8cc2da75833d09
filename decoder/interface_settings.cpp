// Reading and writing the interface settings file.
#include "decoder/interface_settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The file holds one short line; more than this is not a settings file and is not looked at.
constexpr size_t kReadLimit = 256;

bool IsBlank(char c) {
  return c == ' ' || c == '\r' || c == '\v' || c == '\f';
}

// The next tab-separated field of the first line from pos, without surrounding blanks.
std::string NextField(const std::string& line, size_t& pos) {
  size_t end = line.find('\t', pos);
  if (end == std::string::npos) end = line.size();
  size_t first = pos;
  size_t last = end;
  while (first < last && IsBlank(line[first])) ++first;
  while (last > first && IsBlank(line[last - 1])) --last;
  pos = end < line.size() ? end + 1 : end;
  return line.substr(first, last - first);
}

}  // namespace

bool ReadInterfaceSettings(const char* path, InterfaceSettings& out) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  char buffer[kReadLimit];
  const size_t n = std::fread(buffer, 1, sizeof buffer, f);
  std::fclose(f);
  std::string line(buffer, n);
  const size_t lineEnd = line.find('\n');
  if (lineEnd != std::string::npos) line.resize(lineEnd);

  InterfaceSettings read;
  size_t pos = 0;
  const std::string port = NextField(line, pos);
  const std::string flag = NextField(line, pos);
  const std::string key = NextField(line, pos);
  SetText(read.portName, port.c_str());
  char* end = nullptr;
  const long value = std::strtol(flag.c_str(), &end, 10);
  read.connected = (!flag.empty() && *end == '\0' && value >= INT32_MIN && value <= INT32_MAX)
                       ? static_cast<int32_t>(value)
                       : 0;
  SetText(read.deviceKey, key.c_str());
  out = read;
  return true;
}

std::string FormatInterfaceSettings(const char* portName, int32_t connected,
                                    const char* deviceKey) {
  const char* key = connected == 0 ? kDeviceVexa : deviceKey;
  return std::string(portName) + "\t" + std::to_string(connected) + "\t" + key + "\r\n";
}

bool WriteInterfaceSettings(const char* path, const char* portName, int32_t connected,
                            const char* deviceKey) {
  return WriteFileReplacing(path, FormatInterfaceSettings(portName, connected, deviceKey));
}

}  // namespace zarvo
