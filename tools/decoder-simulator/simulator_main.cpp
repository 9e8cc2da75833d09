// zarvo-decoder-simulator: plays the lap-counting box on a serial line (one end of a pty pair, a
// pseudo-terminal of its own, or a COM port) so that the program, its tests and a club's PC can
// be exercised without the real device. See --help.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "tools/decoder-simulator/simulated_decoder.h"

#include <time.h>

#if !defined(_WIN32)
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace zarvo::simulator {
namespace {

constexpr char kUsage[] =
    "usage: zarvo-decoder-simulator (--device PATH | --pty LINK) [options]\n"
    "\n"
    "Plays the lap-counting box on a serial line: the Vexa interface (2-byte passages, answers\n"
    "nothing) or the Orix decoder, wired or Bluetooth (answers identify and start, keeps its\n"
    "clock, sends 11-byte passages stamped with it).\n"
    "\n"
    "The line:\n"
    "  --device PATH        a serial device: one end of a socat pty pair, /dev/ttyUSB0, or\n"
    "                       COM3 on Windows. If the device goes away the simulator opens it\n"
    "                       again as soon as it is back.\n"
    "  --pty LINK           (Linux) make a pseudo-terminal and publish the program's end as the\n"
    "                       symbolic link LINK (map COM1 to it in Wine). A loss then really\n"
    "                       cuts the program's line, as a pulled USB adapter does.\n"
    "The device:\n"
    "  --mode MODE          vexa, orix (wired, the default) or orix-bluetooth\n"
    "  --id N               decoder id answered to identify, 0..65535 (default 1234)\n"
    "  --refuse-start N     answer the first N start requests with \"not started\" (default 0)\n"
    "The cars (passages start when a start is accepted; for the Vexa when the line opens):\n"
    "  --transponders LIST  transponder numbers, e.g. 1001,1002,2000-2005\n"
    "  --lap MS | MIN-MAX   lap time in ms, fixed or random within the range (default 20000)\n"
    "  --seed N             seed of the random lap times (default 1)\n"
    "  --stagger MS         car i first crosses the line at one lap + i * MS (default 0)\n"
    "  --laps N             each car stops after N laps (default: no limit)\n"
    "  --script FILE        passages read from FILE: lines \"<ms after the start> <transponder>\"\n"
    "  --no-wait-start      (Orix) the cars set off when the line opens, not at the start\n"
    "Time line (seconds from the opening of the line, decimals allowed):\n"
    "  --loss-at S          stop reading and close the line at S\n"
    "  --recover-after S    open the line again S seconds after the loss\n"
    "  --duration S         exit after S (default: run until interrupted)\n"
    "  --exit-when-done     exit once every scripted passage and every car's laps are sent\n"
    "Measurement:\n"
    "  --instants FILE      write a line \"<instant> <transponder>\" for every passage, the\n"
    "                       instant taken when its bytes have been written to the line, in\n"
    "                       100 ns units of the clock Wine's performance counter reads (Linux:\n"
    "                       CLOCK_MONOTONIC_RAW; Windows: the performance counter)\n"
    "Output:\n"
    "  --verbose            print every frame received and sent\n"
    "  --help               this text\n";

volatile std::sig_atomic_t stopRequested = 0;

void OnSignal(int) {
  stopRequested = 1;
}

// The simulator's end of the serial line.
class Line {
 public:
  virtual ~Line() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Waits at most about 1 ms; false when the line has gone.
  virtual bool Read(uint8_t* buffer, int max, int* count) = 0;
  virtual bool Write(const uint8_t* bytes, int count) = 0;
};

class DeviceLine : public Line {
 public:
  explicit DeviceLine(std::string device)
      : device_(std::move(device)), port_(MakeSystemSerialPort()) {}
  bool Open() override { return port_->Open(device_.c_str()); }
  void Close() override { port_->Close(); }
  bool Read(uint8_t* buffer, int max, int* count) override {
    return port_->Read(buffer, max, count);
  }
  bool Write(const uint8_t* bytes, int count) override {
    int written = 0;
    return port_->Write(bytes, count, &written) && written == count;
  }

 private:
  std::string device_;
  std::unique_ptr<SerialPort> port_;
};

#if !defined(_WIN32)
// A pseudo-terminal of our own: we hold the master, the program opens the slave through LINK.
// Closing the master hangs the program's end up, so its writes fail as with a pulled adapter.
class PtyLine : public Line {
 public:
  explicit PtyLine(std::string link) : link_(std::move(link)) {}
  ~PtyLine() override { Close(); }

  bool Open() override {
    Close();
    fd_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return false;
    if (grantpt(fd_) != 0 || unlockpt(fd_) != 0) return Fail();
    const char* slave = ptsname(fd_);
    if (slave == nullptr) return Fail();
    struct termios tio;
    if (tcgetattr(fd_, &tio) == 0) {
      cfmakeraw(&tio);
      tcsetattr(fd_, TCSANOW, &tio);
    }
    const std::string tmp = link_ + ".new";
    unlink(tmp.c_str());
    if (symlink(slave, tmp.c_str()) != 0 || rename(tmp.c_str(), link_.c_str()) != 0) return Fail();
    linked_ = true;
    return true;
  }

  void Close() override {
    if (linked_) unlink(link_.c_str());
    linked_ = false;
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

  bool Read(uint8_t* buffer, int max, int* count) override {
    *count = 0;
    if (fd_ < 0) return false;
    struct pollfd p = {fd_, POLLIN, 0};
    if (poll(&p, 1, 1) <= 0) return true;
    const ssize_t n = read(fd_, buffer, static_cast<size_t>(max));
    if (n > 0) {
      *count = static_cast<int>(n);
    } else if (n < 0 && errno == EIO) {
      usleep(1000);  // the program has not opened its end (or closed it): nothing to read
    }
    return true;
  }

  bool Write(const uint8_t* bytes, int count) override {
    if (fd_ < 0) return false;
    // Nobody may be listening on the program's end yet; what cannot go is dropped, as on a wire.
    return write(fd_, bytes, static_cast<size_t>(count)) == count;
  }

 private:
  bool Fail() {
    Close();
    return false;
  }

  std::string link_;
  int fd_ = -1;
  bool linked_ = false;
};
#endif

struct Options {
  Settings settings;
  std::string device;
  std::string ptyLink;
  double lossAt = -1;
  double recoverAfter = -1;
  double duration = -1;
  bool exitWhenDone = false;
  bool verbose = false;
  std::string instantsPath;
};

// The instant a passage went onto the line, in 100 ns units.
int64_t LineInstant() {
#if defined(__linux__)
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 10000000 + ts.tv_nsec / 100;
#else
  Clock& clock = SystemClock();
  return clock.PerformanceCounter() * 10000000 / clock.PerformanceFrequency();
#endif
}

bool ParseSeconds(const char* text, double& out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || value < 0 || value > 1e7) return false;
  out = value;
  return true;
}

bool ParseInt(const char* text, long min, long max, long& out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < min || value > max) return false;
  out = value;
  return true;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "zarvo-decoder-simulator: %s\n(--help for the options)\n", message.c_str());
  return 2;
}

// Returns -1 when the options are good, else the exit code.
int ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (name == "--verbose") {
      o.verbose = true;
      continue;
    }
    if (name == "--no-wait-start") {
      o.settings.waitForStart = false;
      continue;
    }
    if (name == "--exit-when-done") {
      o.exitWhenDone = true;
      continue;
    }
    if (i + 1 >= argc) return Fail("missing value after " + name);
    const char* value = argv[++i];
    long n = 0;
    if (name == "--device") {
      o.device = value;
    } else if (name == "--pty") {
      o.ptyLink = value;
    } else if (name == "--mode") {
      const std::string mode = value;
      if (mode == "vexa") {
        o.settings.device = Device::kVexa;
      } else if (mode == "orix") {
        o.settings.device = Device::kOrixWired;
      } else if (mode == "orix-bluetooth") {
        o.settings.device = Device::kOrixBluetooth;
      } else {
        return Fail("--mode is vexa, orix or orix-bluetooth");
      }
    } else if (name == "--id") {
      if (!ParseInt(value, 0, 65535, n)) return Fail("--id is 0..65535");
      o.settings.decoderId = static_cast<int>(n);
    } else if (name == "--refuse-start") {
      if (!ParseInt(value, 0, 1000000, n)) return Fail("--refuse-start is a count");
      o.settings.startRefusals = static_cast<int>(n);
    } else if (name == "--transponders") {
      if (!ParseTransponders(value, o.settings.transponders)) {
        return Fail("--transponders takes numbers 0..65535 and ranges, e.g. 1001,2000-2005");
      }
    } else if (name == "--lap") {
      if (!ParseLapTimes(value, o.settings.lapMinMs, o.settings.lapMaxMs)) {
        return Fail("--lap takes MS or MIN-MAX in milliseconds");
      }
    } else if (name == "--seed") {
      if (!ParseInt(value, 0, 4294967295L, n)) return Fail("--seed is a number");
      o.settings.seed = static_cast<uint32_t>(n);
    } else if (name == "--stagger") {
      if (!ParseInt(value, 0, 3600000, n)) return Fail("--stagger is in ms");
      o.settings.staggerMs = static_cast<int>(n);
    } else if (name == "--laps") {
      if (!ParseInt(value, 1, 100000, n)) return Fail("--laps is a count");
      o.settings.lapsPerCar = static_cast<int>(n);
    } else if (name == "--script") {
      std::ifstream in(value, std::ios::binary);
      if (!in) return Fail(std::string("cannot read the script ") + value);
      std::stringstream text;
      text << in.rdbuf();
      int line = 0;
      if (!ParseScript(text.str(), o.settings.script, line)) {
        return Fail(std::string(value) + ":" + std::to_string(line) +
                    ": expected \"<ms> <transponder>\"");
      }
    } else if (name == "--loss-at") {
      if (!ParseSeconds(value, o.lossAt)) return Fail("--loss-at is in seconds");
    } else if (name == "--recover-after") {
      if (!ParseSeconds(value, o.recoverAfter)) return Fail("--recover-after is in seconds");
    } else if (name == "--instants") {
      o.instantsPath = value;
    } else if (name == "--duration") {
      if (!ParseSeconds(value, o.duration)) return Fail("--duration is in seconds");
    } else {
      return Fail("unknown option " + name);
    }
  }
  if (o.device.empty() == o.ptyLink.empty()) return Fail("give either --device or --pty");
#if defined(_WIN32)
  if (!o.ptyLink.empty()) return Fail("--pty needs Linux");
#endif
  return -1;
}

class Simulator {
 public:
  Simulator(const Options& options, std::unique_ptr<Line> line)
      : o_(options), line_(std::move(line)), clock_(SystemClock()) {
    startCounter_ = clock_.PerformanceCounter();
  }
  ~Simulator() {
    if (instants_ != nullptr) std::fclose(instants_);
  }

  int Run() {
    if (!WaitForLine()) {
      std::fprintf(stderr, "zarvo-decoder-simulator: cannot open %s\n", LineName().c_str());
      return 1;
    }
    const LocalDateTime t = clock_.LocalTime();
    SimulatedDecoder device(o_.settings, NowMs(),
                            ((t.hour * 60 + t.minute) * 60 + t.second) * 1000);
    Say("line open on " + LineName() + ", simulating " + DeviceName());
    enum class State { kOpen, kLost, kReopening } state = State::kOpen;
    int64_t lostAtMs = 0;
    int64_t lastOpenTryMs = 0;
    bool lossDone = false;
    uint8_t buffer[256];
    while (!stopRequested) {
      const int64_t now = NowMs();
      if (o_.duration >= 0 && now >= Ms(o_.duration)) break;
      Bytes out;
      if (state == State::kOpen) {
        if (!lossDone && o_.lossAt >= 0 && now >= Ms(o_.lossAt)) {
          lossDone = true;
          line_->Close();
          lostAtMs = now;
          state = State::kLost;
          Say("loss: stopped reading and closed the line");
          continue;
        }
        int count = 0;
        if (!line_->Read(buffer, sizeof buffer, &count)) {
          line_->Close();
          state = State::kReopening;
          Say("the line has gone; opening it again as soon as it is back");
          continue;
        }
        device.Receive(buffer, count, NowMs(), out);
        device.Advance(NowMs(), out);
        PrintLog(device);
        if (!out.empty() && !line_->Write(out.data(), static_cast<int>(out.size()))) {
          if (o_.verbose) Say("write failed: " + std::to_string(out.size()) + " bytes lost");
        }
        LogInstants(device.TakeSentTransponders());
      } else {
        device.Advance(now, out);  // the cars go on; their passages are lost
        device.TakeSentTransponders();
        PrintLog(device, "lost: ");
        if (state == State::kLost && o_.recoverAfter >= 0 &&
            now >= lostAtMs + Ms(o_.recoverAfter)) {
          state = State::kReopening;
          Say("recovery: opening the line again");
        }
        if (state == State::kReopening && now - lastOpenTryMs >= 100) {
          lastOpenTryMs = now;
          if (line_->Open()) {
            state = State::kOpen;
            Say("line open again on " + LineName());
          }
        }
        clock_.Sleep(1);
      }
      if (o_.exitWhenDone && device.Done()) {
        Say("every passage sent");
        break;
      }
    }
    line_->Close();
    Say("sent " + std::to_string(device.PassagesSent()) + " passages, accepted " +
        std::to_string(device.StartsAccepted()) + " starts");
    return 0;
  }

 private:
  int64_t NowMs() {
    return (clock_.PerformanceCounter() - startCounter_) * 1000 / clock_.PerformanceFrequency();
  }
  static int64_t Ms(double seconds) { return static_cast<int64_t>(seconds * 1000 + 0.5); }

  std::string LineName() const { return o_.device.empty() ? o_.ptyLink : o_.device; }
  std::string DeviceName() const {
    switch (o_.settings.device) {
      case Device::kVexa:
        return "the Vexa interface";
      case Device::kOrixWired:
        return "a wired Orix decoder";
      case Device::kOrixBluetooth:
        return "a Bluetooth Orix decoder";
    }
    return "";
  }

  // A socat pair may still be starting: try for up to 5 s.
  bool WaitForLine() {
    for (int i = 0; i < 50 && !stopRequested; ++i) {
      if (line_->Open()) return true;
      clock_.Sleep(100);
    }
    return false;
  }

  void Say(const std::string& line) {
    std::printf("[%9.3f] %s\n", NowMs() / 1000.0, line.c_str());
    std::fflush(stdout);
  }

  void LogInstants(const std::vector<int>& transponders) {
    if (transponders.empty() || o_.instantsPath.empty()) return;
    const int64_t instant = LineInstant();
    if (instants_ == nullptr) instants_ = std::fopen(o_.instantsPath.c_str(), "w");
    if (instants_ == nullptr) return;
    for (int t : transponders) std::fprintf(instants_, "%lld %d\n", static_cast<long long>(instant), t);
    std::fflush(instants_);
  }

  void PrintLog(SimulatedDecoder& device, const std::string& prefix = "") {
    for (const std::string& line : device.TakeLog()) {
      if (o_.verbose) Say(prefix + line);
    }
  }

  const Options& o_;
  std::unique_ptr<Line> line_;
  Clock& clock_;
  int64_t startCounter_ = 0;
  std::FILE* instants_ = nullptr;
};

}  // namespace
}  // namespace zarvo::simulator

int main(int argc, char** argv) {
  using namespace zarvo::simulator;
  Options options;
  const int code = ParseOptions(argc, argv, options);
  if (code >= 0) return code;
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  std::unique_ptr<Line> line;
#if !defined(_WIN32)
  if (!options.ptyLink.empty()) line = std::make_unique<PtyLine>(options.ptyLink);
#endif
  if (!line) line = std::make_unique<DeviceLine>(options.device);
  Simulator simulator(options, std::move(line));
  return simulator.Run();
}
