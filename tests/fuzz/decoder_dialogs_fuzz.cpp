// Arbitrary bytes on the serial line, cut into arbitrary reads, through the two decoder dialogs:
// the transponder scan of the driver details dialog (Vexa and Orix collectors, lamp animation)
// and the identification of the interface dialog's "Connect".
// Input: byte 0 chooses the dialog and device, byte 1 the size of the reads, the rest is the line.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "decoder/driver_details_dialog.h"
#include "decoder/interface_dialog.h"
#include "platform/files.h"
#include "tests/support/fakes.h"
#include "text/fixed_text.h"

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
    const size_t n = std::min({chunk_, size_ - at_, static_cast<size_t>(max)});
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
  bool Write(const uint8_t*, int count, int* written) override {
    *written = count;
    return true;
  }
  bool Drained() const { return at_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t chunk_;
  size_t at_ = 0;
  bool open_ = false;
  bool ready_ = false;
  int64_t steps_ = 0;
};

class QuietBoxes : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

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

void CheckTransponder(const char* text) {
  if (std::strlen(text) != 6) __builtin_trap();
  for (int i = 0; i < 6; ++i) {
    if (text[i] < '0' || text[i] > '9') __builtin_trap();
  }
}

void Scan(const uint8_t* line, size_t size, size_t chunk, const char* key) {
  testing::FakeClock clock;
  LinePort port(line, size, chunk);
  port.Open("COM1");
  auto model = std::make_unique<DriverDetailsModel>();
  std::memset(&model->list, 0, sizeof model->list);
  model->listRead = true;
  model->entry = 0;
  SetText(model->list.entries[0].transponder, "000017");
  SetText(model->deviceKey, key);
  DetailsScanDown(*model, port, clock);
  for (int ticks = 0; !port.Drained() && ticks < 100000; ++ticks) {
    clock.Advance(10);
    port.Step();
    DetailsTimerTick(*model, port, clock);
    CheckTransponder(model->list.entries[0].transponder);
    if (model->lampState < 0 || model->lampState > 4) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int mode = data[0] % 3;
  const size_t chunk = 1 + data[1] % 255;
  const uint8_t* line = data + 2;
  const size_t length = size - 2;
  if (mode == 0) {
    Scan(line, length, chunk, kDeviceVexa);
  } else if (mode == 1) {
    Scan(line, length, chunk, kDeviceOrix);
  } else {
    testing::FakeClock clock;
    clock.autoAdvanceNs = 1000000;  // the wait ends after 1500 counter reads
    LinePort port(line, length, chunk);
    QuietBoxes boxes;
    InterfaceDialogModel model = {};
    BeginInterfaceConnect(model, 0, port);
    FinishInterfaceConnect(model, 0, port, clock, boxes, SettingsPath().c_str());
    if (model.connected != 1) __builtin_trap();  // the port opened: some device was found
    if (std::strlen(model.status) >= sizeof model.status) __builtin_trap();
  }
  return 0;
}
