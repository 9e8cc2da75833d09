// The circuits file reader on any bytes: bounded fields, and what it reads is written and read
// back unchanged; the sort keeps every record.
#include <cstdint>
#include <cstring>
#include <string>

#include "databases/database_files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static CircuitTable first;
  static CircuitTable second;
  ParseCircuits(input, first);
  for (const CircuitRecord& c : first.records) {
    FUZZ_CHECK(c.name[sizeof c.name - 1] == '\0' && c.imagePath[sizeof c.imagePath - 1] == '\0');
  }
  FUZZ_CHECK(first.records[kCircuitCapacity].name[0] == '\0');
  const std::string written = FormatCircuits(first);
  ParseCircuits(written, second);
  FUZZ_CHECK(FormatCircuits(second) == written);
  FUZZ_CHECK(CountCircuits(second) == CountCircuits(first));
  if (input.find('\r') == std::string_view::npos) {
    FUZZ_CHECK(std::memcmp(&first, &second, sizeof(CircuitTable)) == 0);
  }
  const int count = CountCircuits(first);
  SortCircuits(first);
  FUZZ_CHECK(CountCircuits(first) == count);
  return 0;
}
