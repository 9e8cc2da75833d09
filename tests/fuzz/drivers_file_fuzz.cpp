// The drivers file reader and the driver-names reader on any bytes: bounded fields, both agree on
// the names, what is read is written and read back unchanged, and a name that becomes a path
// holds no path separator.
#include <cstdint>
#include <cstring>
#include <string>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static DriverTable first;
  static DriverTable second;
  static DriverNameList names;
  ParseDrivers(input, first);
  ParseDriverNames(input, names);
  for (int i = 0; i < kDriverCapacity; ++i) {
    FUZZ_CHECK(std::strcmp(first.records[i].name, names.names[i]) == 0);
    const std::string path = RunsDatabasePath(names.names[i]);
    if (!path.empty()) {
      const std::string file = path.substr(path.find('/') + 1);
      FUZZ_CHECK(file.find_first_of("/\\:") == std::string::npos);
    }
  }
  const std::string written = FormatDrivers(first);
  ParseDrivers(written, second);
  FUZZ_CHECK(FormatDrivers(second) == written);
  if (input.find('\r') == std::string_view::npos) {
    FUZZ_CHECK(std::memcmp(&first, &second, sizeof(DriverTable)) == 0);
  }
  const int count = CountDrivers(first);
  SortDrivers(first);
  FUZZ_CHECK(CountDrivers(first) == count);
  return 0;
}
