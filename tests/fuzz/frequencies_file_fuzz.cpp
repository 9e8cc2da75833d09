// The frequencies and countries readers on any bytes: entries within their capacities, no line
// structure inside an entry, and frequencies written and read back unchanged.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "databases/database_files.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  FrequencyTable first;
  FrequencyTable second;
  ParseFrequencies(input, first);
  for (const auto& entry : first.entries) FUZZ_CHECK(entry[kFrequencyCapacity - 1] == '\0');
  const std::string written = FormatFrequencies(first);
  ParseFrequencies(written, second);
  FUZZ_CHECK(FormatFrequencies(second) == written);
  const int count = CountFrequencies(first);
  SortFrequencies(first);
  FUZZ_CHECK(CountFrequencies(first) == count);

  std::vector<std::string> countries;
  ParseCountries(input, countries);
  FUZZ_CHECK(countries.size() <= size_t(kCountryCount));
  for (const std::string& name : countries) {
    FUZZ_CHECK(!name.empty() && name.size() < size_t(kCountryNameCapacity));
    FUZZ_CHECK(name.find_first_of(std::string("\t\n\0", 3)) == std::string::npos);
  }
  return 0;
}
