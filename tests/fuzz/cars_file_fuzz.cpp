// The cars file reader on any bytes: bounded fields, what is read is written and read back
// unchanged, the car chooser's names are those of the table, and the sort keeps every car.
#include <cstdint>
#include <cstring>
#include <string>

#include "databases/database_files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  static CarTable first;
  static CarTable second;
  ParseCars(input, first);
  const std::string written = FormatCars(first);
  ParseCars(written, second);
  FUZZ_CHECK(FormatCars(second) == written);
  if (input.find('\r') == std::string_view::npos) {
    FUZZ_CHECK(std::memcmp(&first, &second, sizeof(CarTable)) == 0);
  }
  SetupSheet sheet;
  std::memset(&sheet, 0, sizeof sheet);
  CopyCarSetupToSheet(first.records[0], sheet);
  FUZZ_CHECK(std::strcmp(sheet.throttleServo, first.records[0].throttleServo) == 0);
  const int count = CountCars(first);
  SortCars(first);
  FUZZ_CHECK(CountCars(first) == count);
  return 0;
}
