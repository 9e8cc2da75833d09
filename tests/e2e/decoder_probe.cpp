// zarvo-decoder-probe: the program's decoder link on a real serial port, without the window.
// Identifies the device exactly as the program does at start-up (settings file in the current
// folder), then ticks every 10 ms as the main window does: supervision, start handshake, passages.
//   zarvo-decoder-probe [--com-folder DIR] [--passages N] [--run-ms MS] [--running]
// Prints one line per message box ("box <caption>|<text>"), the identification
// ("identified <key> connected=<flag> id=<id> ms=<time>"), each passage
// ("passage <transponder> <orix|vexa> <ms>", a Vexa passage followed by its raw counter), and a
// summary with the rate.
// --com-folder (POSIX only) maps COMn to DIR/comn. --running makes the loss and recovery texts
// appear as during a run even before any passage is awaited.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "decoder/decoder_link.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace {

using namespace zarvo;

std::string Escaped(const char* text) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\r') {
      out += "\\r";
    } else if (*p == '\n') {
      out += "\\n";
    } else {
      out += *p;
    }
  }
  return out;
}

class ConsoleBoxes : public MessageBoxes {
 public:
  void Show(const char* caption, const char* text, MessageIcon) override {
    std::printf("box %s|%s\n", caption, Escaped(text).c_str());
    std::fflush(stdout);
  }
  Answer Ask(const char* caption, const char* text, QuestionButtons) override {
    Show(caption, text, MessageIcon::kQuestion);
    return Answer::kNo;
  }
};

class PrintingSink : public PassageSink {
 public:
  explicit PrintingSink(Clock& clock) : clock_(clock) {}
  void OnPassage(const DecoderPassage& p) override {
    int64_t ms = p.decoderTime;
    if (p.source == PassageSource::kVexa) {
      ms = (p.counter - startCounter) * 1000 / clock_.PerformanceFrequency();
    }
    std::printf("passage %s %s %lld", p.transponder,
                p.source == PassageSource::kOrix ? "orix" : "vexa", static_cast<long long>(ms));
    if (p.source == PassageSource::kVexa) std::printf(" %lld", static_cast<long long>(p.counter));
    std::printf("\n");
    if (count == 0) firstTick = clock_.TickCount();
    lastTick = clock_.TickCount();
    ++count;
  }
  int64_t startCounter = 0;
  int count = 0;
  uint32_t firstTick = 0;
  uint32_t lastTick = 0;

 private:
  Clock& clock_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string comFolder;
  int wanted = 0;
  int runMs = 0;
  bool running = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--com-folder" && i + 1 < argc) {
      comFolder = argv[++i];
    } else if (a == "--passages" && i + 1 < argc) {
      wanted = std::atoi(argv[++i]);
    } else if (a == "--run-ms" && i + 1 < argc) {
      runMs = std::atoi(argv[++i]);
    } else if (a == "--running") {
      running = true;
    } else {
      std::fprintf(stderr,
                   "usage: zarvo-decoder-probe [--com-folder DIR] [--passages N] "
                   "[--run-ms MS] [--running]\n");
      return 2;
    }
  }
#if defined(_WIN32)
  std::unique_ptr<SerialPort> port = MakeSystemSerialPort();
#else
  std::unique_ptr<SerialPort> port = MakePosixSerialPort(comFolder);
#endif
  Clock& clock = SystemClock();
  ConsoleBoxes boxes;
  DecoderLink link(clock, *port, boxes);

  const int64_t before = clock.PerformanceCounter();
  const IdentifyResult id = link.IdentifyAtStartUp();
  const int64_t identifyMs =
      (clock.PerformanceCounter() - before) * 1000 / clock.PerformanceFrequency();
  std::printf("identified %s connected=%d id=%06d ms=%lld\n", id.deviceKey, id.connected,
              id.decoderId, static_cast<long long>(identifyMs));
  std::fflush(stdout);
  if (wanted <= 0 && runMs <= 0) return 0;

  PrintingSink sink(clock);
  const uint32_t begin = clock.TickCount();
  const uint32_t limit = runMs > 0 ? static_cast<uint32_t>(runMs) : 30000;
  RunClock run = {running, begin};
  bool started = false;
  uint32_t next = begin;
  while (clock.TickCount() - begin < limit && (wanted <= 0 || sink.count < wanted)) {
    link.Supervise(run, sink);
    if (!started) {
      if (link.StartHandshake() == StartStep::kStarted) {
        started = true;
        run = {true, clock.TickCount()};
        sink.startCounter = clock.PerformanceCounter();
        std::printf("started after %u ms\n", clock.TickCount() - begin);
        std::fflush(stdout);
      }
    } else {
      link.ReadPassages(sink);
    }
    next += 10;
    const int32_t wait = static_cast<int32_t>(next - clock.TickCount());
    if (wait > 0) clock.Sleep(static_cast<uint32_t>(wait));
  }
  const uint32_t span = sink.lastTick - sink.firstTick;
  std::printf("received %d passages; first to last %u ms; %.0f per second\n", sink.count, span,
              span > 0 ? (sink.count - 1) * 1000.0 / span : 0.0);
  std::printf("link %s connected=%d keepalive=%d reconnecting=%d\n", link.DeviceKey(),
              link.Connected() ? 1 : 0, link.KeepAliveActive() ? 1 : 0,
              link.Reconnecting() ? 1 : 0);
  return (wanted > 0 && sink.count < wanted) ? 1 : 0;
}
