// The run journal's reader and replay on any bytes.
// Checked: the usable part never goes past the bytes; the summary and the replay agree; replaying
// only the usable part rebuilds the same run; every passage time stays in the table's bounds.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "app/session_format.h"
#include "race/run_journal.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

std::unique_ptr<Race> Fresh() {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  return race;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  JournalSummary summary;
  const JournalRead read = ReadJournalSummary(bytes, summary);
  auto race = Fresh();
  auto circuits = std::make_unique<CircuitTable>();
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  JournalSummary replayed;
  const bool ok = ReplayJournal(bytes, *race, *circuits, &replayed);
  FUZZ_CHECK(ok == (read == JournalRead::kRead));
  if (!ok) return 0;
  FUZZ_CHECK(summary.usableBytes <= size);
  FUZZ_CHECK(replayed.events == summary.events && replayed.passages == summary.passages);
  FUZZ_CHECK(summary.passages <= summary.events);
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
  return 0;
}
