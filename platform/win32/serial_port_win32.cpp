// The serial port on Windows: the comm API with the decoder's fixed line settings and timeouts.
// The device path carries the "\\.\" prefix so that COM10 and above open.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/serial_names.h"
#include "platform/serial_port.h"

namespace zarvo {

namespace {

constexpr DWORD kDriverBufferBytes = 4096;

// 9600 baud, 8N1, binary, DTR and RTS on, no flow control of any kind.
void FillLineSettings(DCB& dcb) {
  ZeroMemory(&dcb, sizeof dcb);
  dcb.DCBlength = sizeof dcb;
  dcb.BaudRate = CBR_9600;
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fOutxCtsFlow = FALSE;
  dcb.fOutxDsrFlow = FALSE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = FALSE;
  dcb.fOutX = FALSE;
  dcb.fInX = FALSE;
  dcb.fErrorChar = FALSE;
  dcb.fNull = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = FALSE;
  dcb.XonLim = 256;
  dcb.XoffLim = 256;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  dcb.ErrorChar = 0x3F;
  dcb.EofChar = 0x1A;
  dcb.EvtChar = 0x10;
}

class Win32SerialPort final : public SerialPort {
 public:
  ~Win32SerialPort() override { Close(); }

  bool Open(const char* name) override {
    Close();
    const std::string path = Win32SerialDevicePath(name);
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_SYSTEM, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    SetupComm(handle_, kDriverBufferBytes, kDriverBufferBytes);
    COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = 1;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 1;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 100;
    DCB dcb;
    FillLineSettings(dcb);
    if (!SetCommTimeouts(handle_, &timeouts) || !SetCommState(handle_, &dcb)) {
      Close();
      return false;
    }
    PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    EscapeCommFunction(handle_, SETDTR);
    return true;
  }

  void Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

  bool Read(uint8_t* buffer, int max, int* count) override {
    *count = 0;
    if (handle_ == INVALID_HANDLE_VALUE || max <= 0) return false;
    DWORD n = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(max), &n, nullptr)) return false;
    *count = static_cast<int>(n);
    return true;
  }

  bool Write(const uint8_t* bytes, int count, int* written) override {
    *written = 0;
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(count), &n, nullptr)) return false;
    *written = static_cast<int>(n);
    return true;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
  return std::make_unique<Win32SerialPort>();
}

}  // namespace zarvo
