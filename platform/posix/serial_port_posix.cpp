// The serial port on POSIX systems: termios at 9600 8N1 raw, no flow control. The reader waits in
// poll() on the line and on a wake pipe, so that closing never waits for bytes; writes give up
// after about 100 ms. A device that goes away (a pulled USB adapter, a pseudo-terminal whose other
// side closed) makes reads and writes fail, never block.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/serial_names.h"
#include "platform/serial_port.h"
#include "platform/serial_reader.h"

namespace zarvo {

namespace {

constexpr int kWriteLimitMs = 100;

int64_t MonotonicMs() {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool ConfigureLine(int fd) {
  struct termios tio;
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | ISTRIP | PARMRK | IGNPAR);
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, B9600) != 0 || cfsetospeed(&tio, B9600) != 0) return false;
  return tcsetattr(fd, TCSANOW, &tio) == 0;
}

class PosixSerialDevice final : public SerialDevice {
 public:
  explicit PosixSerialDevice(std::string comFolder) : comFolder_(std::move(comFolder)) {
    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
  }
  ~PosixSerialDevice() override {
    Close();
    for (int fd : wake_) {
      if (fd >= 0) close(fd);
    }
  }

  bool Open(const char* name) override {
    Close();
    const std::string path = PosixSerialDevicePath(name, comFolder_);
    if (path.empty()) return false;
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    // No sharing, as on Windows: a second opener that also locks (another copy of the program,
    // the simulator) is refused. The lock goes with the descriptor, even if the process dies.
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      Close();
      return false;
    }
    if (!ConfigureLine(fd_)) {
      Close();
      return false;
    }
    tcflush(fd_, TCIOFLUSH);
    // DTR and RTS up; a pseudo-terminal has no modem lines and refuses, which is harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd_, TIOCMBIS, &lines);
    DrainWake();
    return true;
  }

  void Close() override {
    if (fd_ < 0) return;
    close(fd_);
    fd_ = -1;
  }

  bool IsOpen() const override { return fd_ >= 0; }

  // A raw tty read with VMIN = VTIME = 0 returns 0 both when nothing is pending and when the
  // line has hung up, so poll tells them apart: POLLHUP or POLLERR means the device is gone.
  LineWait WaitForBytes(uint8_t* buffer, int max, int* count) override {
    *count = 0;
    if (fd_ < 0 || max <= 0) return LineWait::kFailed;
    struct pollfd p[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    const int ready = poll(p, wake_[0] >= 0 ? 2 : 1, kSerialWaitLimitMs);
    if (ready < 0) return errno == EINTR ? LineWait::kNothing : LineWait::kFailed;
    if (ready == 0) return LineWait::kNothing;
    if (wake_[0] >= 0 && (p[1].revents & POLLIN) != 0) {
      DrainWake();
      return LineWait::kNothing;
    }
    if ((p[0].revents & (POLLERR | POLLNVAL)) != 0) return LineWait::kFailed;
    if ((p[0].revents & POLLIN) == 0) return LineWait::kFailed;  // hung up, nothing left to read
    const ssize_t n = read(fd_, buffer, static_cast<size_t>(max));
    if (n < 0) return errno == EAGAIN || errno == EINTR ? LineWait::kNothing : LineWait::kFailed;
    if (n == 0) return (p[0].revents & POLLHUP) == 0 ? LineWait::kNothing : LineWait::kFailed;
    *count = static_cast<int>(n);
    return LineWait::kBytes;
  }

  void Wake() override {
    if (wake_[1] < 0) return;
    const char byte = 1;
    (void)!write(wake_[1], &byte, 1);
  }

  bool Write(const uint8_t* bytes, int count, int* written) override {
    *written = 0;
    if (fd_ < 0) return false;
    const int64_t deadline = MonotonicMs() + kWriteLimitMs;
    int done = 0;
    while (done < count) {
      const ssize_t n = write(fd_, bytes + done, static_cast<size_t>(count - done));
      if (n > 0) {
        done += static_cast<int>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
      const int64_t left = deadline - MonotonicMs();
      if (left <= 0) break;
      struct pollfd p = {fd_, POLLOUT, 0};
      const int ready = poll(&p, 1, static_cast<int>(left));
      if (ready < 0 && errno != EINTR) return false;
      if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
    }
    *written = done;
    return true;
  }

 private:
  void DrainWake() {
    char bytes[64];
    while (wake_[0] >= 0 && read(wake_[0], bytes, sizeof bytes) > 0) {
    }
  }

  std::string comFolder_;
  int fd_ = -1;
  int wake_[2] = {-1, -1};
};

}  // namespace

std::unique_ptr<SerialPort> MakePosixSerialPort(const std::string& comFolder) {
  return std::make_unique<ReadingSerialPort>(std::make_unique<PosixSerialDevice>(comFolder),
                                             SystemClock());
}

std::unique_ptr<SerialPort> MakeSystemSerialPort() {
  return MakePosixSerialPort(std::string());
}

}  // namespace zarvo
