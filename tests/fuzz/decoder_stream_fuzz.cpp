// Arbitrary bytes on the serial line, cut into arbitrary reads, through the decoder link: passage
// reading for both devices, the identification, the start handshake and a reconnection attempt.
// Input: byte 0 chooses the conversation, byte 1 the size of the reads, the rest is the line.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "decoder/decoder_link.h"
#include "platform/files.h"
#include "tests/support/fakes.h"

namespace {

using namespace zarvo;

class LinePort : public SerialPort {
 public:
  LinePort(const uint8_t* data, size_t size, size_t chunk)
      : data_(data), size_(size), chunk_(chunk) {}
  bool Open(const char*) override { return open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool Read(uint8_t* buffer, int max, int* count) override {
    size_t n = std::min({chunk_, size_ - at_, static_cast<size_t>(max)});
    std::memcpy(buffer, data_ + at_, n);
    at_ += n;
    *count = static_cast<int>(n);
    return true;
  }
  // One chunk of the line per step of the conversation (a tick), stamped with the step number;
  // Step() lets the next one arrive.
  ChunkTake TakeChunk(SerialChunk& out) override {
    if (!ready_ || at_ >= size_) return ChunkTake::kNothing;
    ready_ = false;
    const size_t n = std::min({chunk_, size_ - at_, static_cast<size_t>(kSerialChunkCapacity)});
    std::memcpy(out.bytes, data_ + at_, n);
    at_ += n;
    out.count = static_cast<int>(n);
    out.counter = steps_;
    return ChunkTake::kChunk;
  }
  void Step() {
    ready_ = true;
    ++steps_;
  }
  bool Write(const uint8_t*, int, int* written) override {
    *written = writesSucceed ? 5 : 0;
    return writesSucceed;
  }
  bool writesSucceed = true;

 private:
  const uint8_t* data_;
  size_t size_;
  size_t chunk_;
  size_t at_ = 0;
  bool open_ = false;
  bool ready_ = false;
  int64_t steps_ = 0;
};

class CheckingSink : public PassageSink {
 public:
  void OnPassage(const DecoderPassage& p) override {
    if (std::strlen(p.transponder) != 6) __builtin_trap();
    // A Vexa passage carries the stamp of a chunk that was delivered (steps count from 1).
    if (p.source == PassageSource::kVexa && p.counter < 1) __builtin_trap();
    for (int i = 0; i < 6; ++i) {
      if (p.transponder[i] < '0' || p.transponder[i] > '9') __builtin_trap();
    }
  }
};

// The interface settings file of every run, in a folder of its own removed at exit.
std::string settingsFolder;

const std::string& SettingsPath() {
  static const std::string path = [] {
    char folder[] = "/tmp/zarvo-fuzz-XXXXXX";
    settingsFolder = mkdtemp(folder);
    std::atexit([] {
      RemoveFile((settingsFolder + "/settings.rg").c_str());
      rmdir(settingsFolder.c_str());
    });
    return settingsFolder + "/settings.rg";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int conversation = data[0] % 5;
  const size_t chunk = 1 + data[1] % 255;
  testing::FakeClock clock;
  clock.autoAdvanceNs = 1000000;  // the waiting loops end after their time, as on a real port
  testing::RecordingMessageBoxes boxes;
  LinePort port(data + 2, size - 2, chunk);
  CheckingSink sink;
  const std::string& path = SettingsPath();
  const char* key = conversation == 0 ? "Zarvo" : "ZarvoOrix";
  WriteFileReplacing(path.c_str(), std::string("COM1\t1\t") + key + "\r\n");
  DecoderLink link(clock, port, boxes, path.c_str());
  const RunClock run = {true, 0};
  port.Open("COM1");
  link.Supervise(run, sink);
  switch (conversation) {
    case 0:
    case 1:
      for (size_t i = 0; i < size / chunk + 1; ++i) {
        port.Step();
        link.ReadPassages(sink);
      }
      break;
    case 2: {
      int32_t id = 0;
      link.Identify("COM1", &id);
      if (id < 0 || id > 65535) __builtin_trap();
      break;
    }
    case 3:
      for (size_t i = 0; i < size / chunk + 1; ++i) {
        clock.Advance(10);
        port.Step();
        if (link.StartHandshake() == StartStep::kStarted) break;
      }
      break;
    case 4:
      port.writesSucceed = false;
      for (int i = 0; i < 100 && !link.Reconnecting(); ++i) {
        clock.Advance(10);
        link.Supervise(run, sink);
      }
      for (int attempt = 0; attempt < 3; ++attempt) {
        clock.Advance(4600);
        link.Supervise(run, sink);
        if (std::strlen(link.LossText()) >= 120) __builtin_trap();
      }
      break;
  }
  return 0;
}
