// The serial line to the lap-counting box: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow
// control, DTR and RTS asserted. While the port is open a reader thread of its own waits on the
// line and keeps every chunk of bytes it receives, stamped with the performance counter read the
// moment the read returned; the program takes the chunks on its own thread, in order. Writes give
// up after about 100 ms and then report 0 bytes written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zarvo {

constexpr int kSerialChunkCapacity = 255;

// Bytes of one read of the line.
struct SerialChunk {
  int64_t counter;  // performance counter read when the read that brought them returned
  int count;        // 1..kSerialChunkCapacity
  uint8_t bytes[kSerialChunkCapacity];
};

enum class ChunkTake {
  kChunk,    // the oldest chunk not yet taken
  kNothing,  // nothing is waiting
  kFailed,   // nothing is waiting and the line has failed (the device is gone) or is not open
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Opens and configures the named port ("COM3", or a device path on POSIX); closes any port
  // already open first. False when the port does not exist, is busy or refuses the settings.
  // Input that arrived before the opening is thrown away.
  virtual bool Open(const char* name) = 0;
  // Stops the reader and closes the port; what was received and not taken is thrown away.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Takes up to max received bytes, waiting about 1 ms when none is waiting: for the
  // conversations that wait for an answer. False on a failure of the line (count is then 0).
  virtual bool Read(uint8_t* buffer, int max, int* count) = 0;
  // The oldest chunk received and not yet taken (what remains of it after a Read took part of
  // it), without waiting: for the timer tick, which times passages by their chunk's counter.
  virtual ChunkTake TakeChunk(SerialChunk& chunk) = 0;
  // Writes count bytes; false on a failure. written is 0 when the device is gone.
  virtual bool Write(const uint8_t* bytes, int count, int* written) = 0;
};

// Throws away every chunk received and not yet taken.
void DiscardReceived(SerialPort& port);

// The operating system's serial port (Win32 comm API, or termios on POSIX) with its reader.
std::unique_ptr<SerialPort> MakeSystemSerialPort();

#if !defined(_WIN32)
// POSIX: "COMn" opens comFolder/comn, the way Wine maps a COM port onto a device; with an empty
// comFolder it opens /dev/ttyS(n-1). A name holding a '/' is opened as a path.
std::unique_ptr<SerialPort> MakePosixSerialPort(const std::string& comFolder);
#endif

}  // namespace zarvo
