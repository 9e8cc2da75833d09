// The run journal's reader and replay (through race control) on any bytes, version 1 and 2 start
// lines alike. Checked: the usable part never goes past the bytes; the lines read and those that
// could not be read never outnumber the lines; the summary and the replay agree; replaying only
// the usable part rebuilds the same run; every passage time stays in the table's bounds.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "race/run_journal.h"
#include "session/session_format.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

// The same bytes with every line's CRC made right, so the fields behind the CRC are reached: each
// line ending in "\t" + 8 characters + "\t" gets the CRC of what comes before them.
std::string WithRightCrcs(std::string_view bytes) {
  std::string out;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(pos, end - pos));
    const bool cr = !line.empty() && line.back() == '\r';
    if (cr) line.pop_back();
    if (line.size() >= 10 && line.back() == '\t' && line[line.size() - 10] == '\t') {
      char crc[16];
      std::snprintf(crc, sizeof crc, "%08X\t",
                    unsigned(JournalLineCrc(std::string_view(line).substr(0, line.size() - 9))));
      line.replace(line.size() - 9, 9, crc);
    }
    out += line;
    if (cr) out += '\r';
    if (end < bytes.size()) out += '\n';
    pos = end + 1;
  }
  return out;
}

std::unique_ptr<Race> Fresh() {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  return race;
}

void Check(std::string_view bytes) {
  const size_t size = bytes.size();
  JournalSummary summary;
  const JournalRead read = ReadJournalSummary(bytes, summary);
  auto race = Fresh();
  auto circuits = std::make_unique<CircuitTable>();
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  JournalSummary replayed;
  const bool ok = ReplayJournal(bytes, *race, *circuits, &replayed);
  FUZZ_CHECK(ok == (read == JournalRead::kRead));
  if (!ok) return;
  FUZZ_CHECK(summary.usableBytes <= size);
  FUZZ_CHECK(replayed.events == summary.events && replayed.passages == summary.passages);
  FUZZ_CHECK(replayed.unreadableLines == summary.unreadableLines);
  FUZZ_CHECK(summary.passages <= summary.events);
  FUZZ_CHECK(summary.start.version == 1 || summary.start.version == kJournalVersion);
  size_t lines = 1;
  for (const char c : bytes) lines += c == '\n';
  FUZZ_CHECK(summary.unreadableLines >= 0 &&
             size_t(1 + summary.events + summary.unreadableLines) <= lines);
  for (const ParticipantRecord& p : race->slots) {
    FUZZ_CHECK(p.lapCount >= 0 && p.lapCount <= kMaxLapCount);
    FUZZ_CHECK(p.finished);
  }
  FUZZ_CHECK(std::memchr(race->run.runTitle, '\0', sizeof race->run.runTitle) != nullptr);

  auto again = Fresh();
  auto circuitsAgain = std::make_unique<CircuitTable>();
  std::memset(circuitsAgain.get(), 0, sizeof(CircuitTable));
  FUZZ_CHECK(ReplayJournal(bytes.substr(0, summary.usableBytes), *again, *circuitsAgain));
  FUZZ_CHECK(RunSectionContent(*again) == RunSectionContent(*race));
}

}  // namespace

// The bytes as they are, then with every CRC made right.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Check(bytes);
  Check(WithRightCrcs(bytes));
  return 0;
}
