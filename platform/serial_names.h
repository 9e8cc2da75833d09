// The device a serial port name opens: "\\.\COM12" on Windows (the prefix lets COM10 and above
// open), a device file on POSIX.
#pragma once

#include <string>

namespace zarvo {

// "COM12" -> "\\.\COM12". A name that already carries the prefix is kept as it is.
std::string Win32SerialDevicePath(const char* name);

// "COMn" (n = 1..255) -> comFolder + "/comn", or "/dev/ttyS(n-1)" when comFolder is empty;
// a name holding a '/' is a path and is kept. Anything else yields an empty path (no device).
std::string PosixSerialDevicePath(const char* name, const std::string& comFolder);

}  // namespace zarvo
