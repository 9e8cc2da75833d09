// The runs database reader on any bytes: every line found lies inside the file, every slot reads
// into a record within its capacities, and a run read back is written and read again unchanged.
#include <cstdint>
#include <cstring>
#include <string>

#include "databases/runs_database.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const RunsFileIndex index = IndexRunsFile(input);
  FUZZ_CHECK(CountStoredRuns(index) <= static_cast<int>(index.slots.size()));
  static ArchivedRun run;
  static ArchivedRun again;
  for (const RunsFileLine& line : index.slots) {
    FUZZ_CHECK(line.offset + line.length <= size);
    FUZZ_CHECK(line.key.size() <= size_t(kRunKeyLength));
    FUZZ_CHECK(FindSlot(index, line.key) >= 0 || line.key.empty() || line.key == kFreeSlotKey);
    ParseRunSlot(input.substr(line.offset, line.length), run);
    const ParticipantRecord& p = run.participant;
    FUZZ_CHECK(p.lapCount >= 0 && p.lapCount <= kMaxLapCount);
    FUZZ_CHECK(run.runTitle[kArchivedTitleCapacity - 1] == '\0');
    std::string content;
    if (run.runTitle[0] == '\0' ||
        !FormatRunSlot(p, run.runTitle, run.runCaption, run.trackName, content)) {
      continue;
    }
    ParseRunSlot(content, again);
    FUZZ_CHECK(again.participant.lapCount == p.lapCount);
    FUZZ_CHECK(std::memcmp(again.participant.passageTimes, p.passageTimes, sizeof p.passageTimes) ==
               0);
    std::string rewritten;
    FUZZ_CHECK(FormatRunSlot(again.participant, again.runTitle, again.runCaption, again.trackName,
                             rewritten));
    FUZZ_CHECK(rewritten == content);
  }
  return 0;
}
