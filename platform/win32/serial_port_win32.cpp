// The serial port on Windows: the comm API with the decoder's fixed line settings, opened for
// overlapped I/O. The reader waits for EV_RXCHAR with WaitCommEvent (or for its wake event), then
// reads what has arrived with a read that returns at once. Where the event wait does not work (a
// line without modem status, as a pseudo-terminal under Wine: the wait ends at once, cancelled)
// the reader looks at the input queue every millisecond instead. Tried under Wine and not used
// (README, "Decoder link"): reads with the timeouts "return as soon as a byte is there" (they wait
// for a full buffer), reads with a 1 ms interval timeout, and reads left waiting for the first
// byte (Wine's overlapped reads with the timeouts of a read that returns at once do wait): their
// completion goes through Wine's server and came 20 to 400 ms late while the window was busy or
// its thread suspended.
// The device path carries the "\\.\" prefix so that COM10 and above open.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <memory>
#include <string>

#include "platform/serial_names.h"
#include "platform/serial_port.h"
#include "platform/serial_reader.h"

namespace zarvo {

namespace {

constexpr DWORD kDriverBufferBytes = 4096;
// How long Close waits for a cancelled event wait to end. A driver that never ends it (Wine with a
// COM port whose device node answers nothing) must not hold the window's thread: the wait is then
// left to the system with its handle closed.
constexpr DWORD kCancelledWaitEndMs = 500;

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

// An OVERLAPPED with its own manual-reset event.
struct Overlapped {
  Overlapped() { io.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr); }
  ~Overlapped() {
    if (io.hEvent != nullptr) CloseHandle(io.hEvent);
  }
  OVERLAPPED* Fresh() {
    HANDLE event = io.hEvent;
    ZeroMemory(&io, sizeof io);
    io.hEvent = event;
    ResetEvent(event);
    return &io;
  }
  OVERLAPPED io = {};
};

// The armed WaitCommEvent: its OVERLAPPED and the event mask the system fills in when it ends.
struct EventWait {
  Overlapped overlapped;
  DWORD events = 0;
};

class Win32SerialDevice final : public SerialDevice {
 public:
  Win32SerialDevice() : wake_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Win32SerialDevice() override {
    Close();
    if (wake_ != nullptr) CloseHandle(wake_);
  }

  bool Open(const char* name) override {
    Close();
    const std::string path = Win32SerialDevicePath(name);
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_SYSTEM | FILE_FLAG_OVERLAPPED, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    SetupComm(handle_, kDriverBufferBytes, kDriverBufferBytes);
    // A read returns at once with what has arrived (the reader waits for EV_RXCHAR first); a write
    // gives up after 100 ms.
    COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 100;
    DCB dcb;
    FillLineSettings(dcb);
    if (!SetCommTimeouts(handle_, &timeouts) || !SetCommState(handle_, &dcb) ||
        !SetCommMask(handle_, EV_RXCHAR)) {
      Close();
      return false;
    }
    PurgeComm(handle_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
    EscapeCommFunction(handle_, SETDTR);
    ResetEvent(wake_);
    woken_.store(false);
    polling_ = false;
    return true;
  }

  // Called once the reader has stopped: a wait it left armed is cancelled and completed before
  // its OVERLAPPED can be reused.
  void Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    bool waitLeftPending = false;
    if (waitArmed_) {
      CancelIoEx(handle_, &wait_->overlapped.io);
      if (WaitForSingleObject(wait_->overlapped.io.hEvent, kCancelledWaitEndMs) == WAIT_OBJECT_0) {
        DWORD ignored = 0;
        GetOverlappedResult(handle_, &wait_->overlapped.io, &ignored, FALSE);
      } else {
        waitLeftPending = true;
      }
      waitArmed_ = false;
    }
    CloseHandle(handle_);
    if (waitLeftPending) {
      // The system may still complete the wait into its OVERLAPPED and event mask: they are left
      // to it (a few bytes, once per opening of such a port) and the next opening gets new ones.
      (void)wait_.release();
      wait_ = std::make_unique<EventWait>();
    }
    handle_ = INVALID_HANDLE_VALUE;
    if (polling_) timeEndPeriod(1);
    polling_ = false;
  }

  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

  // At most one WaitCommEvent is armed at a time and it stays armed across timeouts. Bytes that
  // arrived before it was armed raise no event: the input queue is looked at after arming.
  LineWait WaitForBytes(uint8_t* buffer, int max, int* count) override {
    *count = 0;
    if (handle_ == INVALID_HANDLE_VALUE || max <= 0) return LineWait::kFailed;
    if (polling_) return PollForBytes(buffer, max, count);
    int pending = 0;
    if (!InputPending(&pending)) return LineWait::kFailed;
    if (pending > 0) return ReadArrived(buffer, max, count);
    if (!waitArmed_) {
      wait_->events = 0;
      if (WaitCommEvent(handle_, &wait_->events, wait_->overlapped.Fresh())) {
        return Arrived(buffer, max, count);
      }
      if (GetLastError() != ERROR_IO_PENDING) return LineWait::kFailed;
      waitArmed_ = true;
      if (!InputPending(&pending)) return LineWait::kFailed;
      if (pending > 0) return ReadArrived(buffer, max, count);
    }
    const HANDLE handles[2] = {wait_->overlapped.io.hEvent, wake_};
    const DWORD woken = WaitForMultipleObjects(2, handles, FALSE, kSerialWaitLimitMs);
    if (woken == WAIT_OBJECT_0 + 1) {
      ResetEvent(wake_);
      woken_.store(false);
      return LineWait::kNothing;
    }
    if (woken != WAIT_OBJECT_0) return LineWait::kNothing;
    waitArmed_ = false;
    DWORD ignored = 0;
    if (!GetOverlappedResult(handle_, &wait_->overlapped.io, &ignored, FALSE)) {
      // Nobody cancels the wait while the reader runs: an aborted wait is a line that cannot
      // wait for events (Wine ends it so when the line has no modem status).
      if (GetLastError() != ERROR_OPERATION_ABORTED) return LineWait::kFailed;
      StartPolling();
      return LineWait::kNothing;
    }
    return Arrived(buffer, max, count);
  }

  void Wake() override {
    woken_.store(true);
    SetEvent(wake_);
  }

  // The reader does almost nothing but must run the moment bytes come, even while the window's
  // thread is busy painting.
  void ReaderStarted() override { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

  bool Write(const uint8_t* bytes, int count, int* written) override {
    *written = 0;
    if (handle_ == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    OVERLAPPED* io = write_.Fresh();
    if (!WriteFile(handle_, bytes, static_cast<DWORD>(count), &n, io)) {
      if (GetLastError() != ERROR_IO_PENDING) return false;
      if (!GetOverlappedResult(handle_, io, &n, TRUE)) return false;
    }
    *written = static_cast<int>(n);
    return true;
  }

 private:
  bool InputPending(int* pending) {
    DWORD errors = 0;
    COMSTAT status = {};
    if (!ClearCommError(handle_, &errors, &status)) return false;
    *pending = static_cast<int>(status.cbInQue);
    return true;
  }

  // A wait that ended: with EV_RXCHAR the bytes are read; without it, and nothing there, the line
  // cannot wait for events and the reader polls from now on (for this opening).
  LineWait Arrived(uint8_t* buffer, int max, int* count) {
    if ((wait_->events & EV_RXCHAR) == 0) {
      int pending = 0;
      if (!InputPending(&pending)) return LineWait::kFailed;
      if (pending == 0) {
        StartPolling();
        return LineWait::kNothing;
      }
    }
    return ReadArrived(buffer, max, count);
  }

  void StartPolling() {
    polling_ = true;
    timeBeginPeriod(1);  // waits of 1 ms on Windows too
  }

  // Looks at the input queue every millisecond until bytes are there, Wake is called or about
  // kSerialWaitLimitMs have passed. The pause is a plain Sleep and the wake a flag: under Wine a
  // wait on an event goes through its server, which a busy window keeps busy.
  LineWait PollForBytes(uint8_t* buffer, int max, int* count) {
    const DWORD start = GetTickCount();
    for (;;) {
      int pending = 0;
      if (!InputPending(&pending)) return LineWait::kFailed;
      if (pending > 0) return ReadArrived(buffer, max, count);
      if (woken_.exchange(false)) return LineWait::kNothing;
      if (GetTickCount() - start >= static_cast<DWORD>(kSerialWaitLimitMs)) {
        return LineWait::kNothing;
      }
      Sleep(1);
    }
  }

  LineWait ReadArrived(uint8_t* buffer, int max, int* count) {
    DWORD n = 0;
    OVERLAPPED* io = read_.Fresh();
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(max), &n, io)) {
      if (GetLastError() != ERROR_IO_PENDING) return LineWait::kFailed;
      if (!GetOverlappedResult(handle_, io, &n, TRUE)) return LineWait::kFailed;
    }
    *count = static_cast<int>(n);
    return n > 0 ? LineWait::kBytes : LineWait::kNothing;
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  HANDLE wake_;
  std::unique_ptr<EventWait> wait_ = std::make_unique<EventWait>();
  Overlapped read_;
  Overlapped write_;
  bool waitArmed_ = false;
  bool polling_ = false;  // the line raises no events: the reader polls
  std::atomic<bool> woken_{false};
};

}  // namespace

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
  return std::make_unique<ReadingSerialPort>(std::make_unique<Win32SerialDevice>(),
                                             SystemClock());
}

}  // namespace zarvo
