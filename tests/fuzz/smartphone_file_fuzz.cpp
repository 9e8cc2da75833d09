// The phone run reader on any bytes, and the working copy rebuilt from what it accepts.
// Checked: a readable run stays within its bounds (20 lanes, 999 laps, texts within their
// capacities, names "(NA)" or names a driver may have); the rebuilt working copy reads back, with
// the session file's readers, as the header, list and run that were read.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "app/smartphone_import.h"
#include "databases/driver_names.h"
#include "session/session_format.h"
#include "text/fixed_text.h"

namespace {

using namespace zarvo;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool NameIsSafe(const char* name, size_t capacity) {
  if (strnlen(name, capacity) >= capacity) return false;
  return SameText(name, kNoDriver) || CheckDriverName(name) == DriverNameProblem::kNone;
}

// A text as the session file stores it and reads it back: up to its terminator, a tab or line end
// inside it written as a blank.
std::string Stored(const char* text, size_t capacity) {
  std::string out(text, strnlen(text, capacity));
  for (char& c : out) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

bool SameEntry(const ParticipantEntry& read, const ParticipantEntry& written) {
  if (Stored(read.driverName, kDriverNameCapacity) !=
          Stored(written.driverName, kDriverNameCapacity) ||
      Stored(read.transponder, kTransponderCapacity) !=
          Stored(written.transponder, kTransponderCapacity)) {
    return false;
  }
  for (int f = 0; f < kFrequenciesPerEntry; ++f) {
    if (Stored(read.frequencies[f], kFrequencyCapacity) !=
        Stored(written.frequencies[f], kFrequencyCapacity)) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto copy = std::make_unique<Race>();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PhoneRun run;
  if (ReadPhoneRun(bytes, run) != PhoneFileCheck::kReadable) return 0;

  const Race& table = *run.table;
  Check(run.header.participantCount >= 0 && run.header.participantCount <= kSlotCount);
  Check(strnlen(table.run.runTitle, kRunTitleCapacity) < size_t(kStoredRunTitleCapacity));
  for (int k = 0; k < kSlotCount; ++k) {
    const ParticipantRecord& p = table.slots[k];
    Check(p.lapCount >= 0 && p.lapCount <= kMaxLapCount);
    Check(NameIsSafe(p.driverName, sizeof p.driverName));
    Check(NameIsSafe(run.list.entries[k].driverName, sizeof run.list.entries[k].driverName));
    Check(strnlen(run.list.entries[k].transponder, kTransponderCapacity) < kTransponderCapacity);
    for (int i = 0; i < kSetupFieldCount; ++i) Check(SetupField(p.setup, i)[0] == '\0');
  }

  const std::string file = ImportedWorkingCopy(run);
  SessionHeader header;
  ParseSessionHeader(file, header);
  Check(header.participantCount == run.header.participantCount);
  Check(header.runCount >= 1);
  Check(header.runsRecorded);  // the imported run is written: its drivers stay
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  Check(ParseParticipantsList(file, list));
  for (int k = 0; k < kSlotCount; ++k) Check(SameEntry(list.entries[k], run.list.entries[k]));
  std::memset(copy.get(), 0, sizeof(Race));
  Check(ParseRunSection(file, 1, *copy));
  for (int k = 0; k < kSlotCount; ++k) {
    const ParticipantRecord& a = table.slots[k];
    const ParticipantRecord& b = copy->slots[k];
    Check(SameText(a.driverName, b.driverName) && a.lapCount == b.lapCount &&
          a.lastLap == b.lastLap && a.bestLap == b.bestLap && a.worstLap == b.worstLap &&
          a.averageLap == b.averageLap);
    Check(std::memcmp(a.passageTimes, b.passageTimes, sizeof(int32_t) * (a.lapCount + 1)) == 0);
  }
  Check(Stored(copy->run.runTitle, kRunTitleCapacity) ==
        Stored(table.run.runTitle, kRunTitleCapacity));
  return 0;
}
