// The serial line to the lap-counting box: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS asserted. Reads return what is pending after at most about 1 ms; writes
// give up after about 100 ms and then report 0 bytes written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zarvo {

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens and configures the named port ("COM3", or a device path on POSIX); closes any port
  // already open first. False when the port does not exist, is busy or refuses the settings.
  virtual bool Open(const char* name) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Reads up to max bytes that are pending; false on a failure (count is then 0).
  virtual bool Read(uint8_t* buffer, int max, int* count) = 0;
  // Writes count bytes; false on a failure. written is 0 when the device is gone.
  virtual bool Write(const uint8_t* bytes, int count, int* written) = 0;
};

// The operating system's serial port (Win32 comm API, or termios on POSIX).
std::unique_ptr<SerialPort> MakeSystemSerialPort();

#if !defined(_WIN32)
// POSIX: "COMn" opens comFolder/comn, the way Wine maps a COM port onto a device; with an empty
// comFolder it opens /dev/ttyS(n-1). A name holding a '/' is opened as a path.
std::unique_ptr<SerialPort> MakePosixSerialPort(const std::string& comFolder);
#endif

}  // namespace zarvo
