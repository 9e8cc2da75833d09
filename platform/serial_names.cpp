// Port names to device paths for both systems (pure text work, tested natively).
#include "platform/serial_names.h"

#include <cstring>

namespace zarvo {

namespace {

constexpr char kWin32DevicePrefix[] = "\\\\.\\";

// The number n of "COMn" (case-insensitive, 1..255), or 0 for any other name.
int ComNumber(const char* name) {
  if (std::strlen(name) < 4) return 0;
  if ((name[0] | 0x20) != 'c' || (name[1] | 0x20) != 'o' || (name[2] | 0x20) != 'm') return 0;
  int n = 0;
  for (const char* p = name + 3; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return 0;
    n = n * 10 + (*p - '0');
    if (n > 255) return 0;
  }
  return n;
}

}  // namespace

std::string Win32SerialDevicePath(const char* name) {
  if (std::strncmp(name, kWin32DevicePrefix, 4) == 0) return name;
  return std::string(kWin32DevicePrefix) + name;
}

std::string PosixSerialDevicePath(const char* name, const std::string& comFolder) {
  if (std::strchr(name, '/') != nullptr) return name;
  const int n = ComNumber(name);
  if (n == 0) return std::string();
  if (comFolder.empty()) return "/dev/ttyS" + std::to_string(n - 1);
  return comFolder + "/com" + std::to_string(n);
}

}  // namespace zarvo
