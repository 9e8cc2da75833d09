// Lap callout settings files of any content: a file that reads is written back to bytes that
// read the same; a damaged one leaves the defaults; the reader never reports a missing file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "speech/callout_settings.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CalloutSettings s{true, true, true};
  const CalloutFileRead result = ParseCalloutSettings(input, s);
  FUZZ_CHECK(result != CalloutFileRead::kMissing);
  if (result == CalloutFileRead::kDamaged) {
    FUZZ_CHECK(!s.announceLaps && !s.onlyBestLaps && !s.sayPosition);
    return 0;
  }
  FUZZ_CHECK(size <= kMaxCalloutFileBytes);
  CalloutSettings again{!s.announceLaps, !s.onlyBestLaps, !s.sayPosition};
  FUZZ_CHECK(ParseCalloutSettings(FormatCalloutSettings(s), again) == CalloutFileRead::kRead);
  FUZZ_CHECK(again.announceLaps == s.announceLaps && again.onlyBestLaps == s.onlyBestLaps &&
             again.sayPosition == s.sayPosition);
  return 0;
}
