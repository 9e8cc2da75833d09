// The live results' texts from any snapshot: the JSON snapshot and the event-stream message are
// valid JSON holding every name as it was (Windows-1252 to UTF-8), with no raw markup character,
// and the message is one data line.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/codepage.h"
#include "tests/fuzz/fuzz_support.h"
#include "web/live_json.h"

namespace {

// Takes the snapshot's pieces from the input, a byte or a length-prefixed text at a time.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  int32_t Number() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }
  std::string Text() {
    const size_t n = Byte() % 48;
    std::string s;
    for (size_t i = 0; i < n && at_ < size_; ++i) s += static_cast<char>(Byte());
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

zarvo::LiveRow Row(Input& in, int position) {
  zarvo::LiveRow r;
  r.position = position;
  r.slotNumber = in.Byte();
  r.driverName = in.Text();
  r.lapsText = in.Text();
  r.totalText = in.Text();
  r.lastLapText = in.Text();
  r.bestLapText = in.Text();
  const uint8_t flags = in.Byte();
  r.finished = flags & 1;
  r.lapRecorded = flags & 2;
  r.newBest = flags & 4;
  r.runBestHolder = flags & 8;
  const int laps = in.Byte() % 40;
  for (int k = 0; k < laps; ++k) r.lapTimes.push_back(in.Number());
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using nlohmann::json;
  Input in(data, size);
  zarvo::Snapshot s;
  s.version = in.Byte();
  s.sessionName = in.Text();
  s.state = static_cast<zarvo::LiveRunState>(in.Byte() % 4);
  s.clock.lapRun = in.Byte() & 1;
  s.clock.duration = in.Text();
  s.clock.elapsed = in.Text();
  s.clock.remaining = in.Text();
  s.clock.countdown = in.Text();
  s.live.runNumber = in.Byte();
  s.live.runTitle = in.Text();
  const int rows = in.Byte() % 21;
  for (int k = 0; k < rows; ++k) s.live.rows.push_back(Row(in, k + 1));
  auto runs = std::make_shared<zarvo::SessionRuns>();
  runs->id = in.Byte();
  const int others = in.Byte() % 4;
  for (int n = 0; n < others; ++n) {
    zarvo::RunResults run;
    run.runNumber = in.Byte();
    run.runTitle = in.Text();
    const int count = in.Byte() % 5;
    for (int k = 0; k < count; ++k) run.rows.push_back(Row(in, k + 1));
    runs->runs.push_back(std::move(run));
  }
  s.otherRuns = runs;

  const std::string full = zarvo::SnapshotJson(s);
  for (char c : full) FUZZ_CHECK(c != '<' && c != '>' && c != '&' && static_cast<unsigned char>(c) >= 0x20);
  const json j = json::parse(full, nullptr, false);
  FUZZ_CHECK(!j.is_discarded());
  FUZZ_CHECK(j["session"] == zarvo::Cp1252ToUtf8(s.sessionName));
  FUZZ_CHECK(j["rows"].size() == s.live.rows.size());
  for (size_t k = 0; k < s.live.rows.size(); ++k) {
    FUZZ_CHECK(j["rows"][k]["name"] == zarvo::Cp1252ToUtf8(s.live.rows[k].driverName));
    FUZZ_CHECK(j["rows"][k]["lapTimes"].size() == s.live.rows[k].lapTimes.size());
  }
  FUZZ_CHECK(j["runs"].size() == runs->runs.size());

  const std::string message = zarvo::EventMessage(s);
  const std::string head = "id: " + std::to_string(s.version) + "\ndata: ";
  FUZZ_CHECK(message.compare(0, head.size(), head) == 0);
  FUZZ_CHECK(message.size() >= head.size() + 2 && message.compare(message.size() - 2, 2, "\n\n") == 0);
  const std::string line = message.substr(head.size(), message.size() - head.size() - 2);
  FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
  FUZZ_CHECK(!json::parse(line, nullptr, false).is_discarded());
  return 0;
}
