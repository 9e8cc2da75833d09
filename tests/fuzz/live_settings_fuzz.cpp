// Live results settings files of any content: a file that reads gives a port from 1 to 65535 and
// is written back to bytes that read the same; a damaged one leaves the defaults (off, 8080).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_support.h"
#include "web/live_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zarvo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  LiveSettings s{true, 1};
  const LiveFileRead result = ParseLiveSettings(input, s);
  FUZZ_CHECK(result != LiveFileRead::kMissing);
  if (result == LiveFileRead::kDamaged) {
    FUZZ_CHECK(!s.on && s.port == kDefaultLivePort);
    return 0;
  }
  FUZZ_CHECK(size <= kMaxLiveFileBytes);
  FUZZ_CHECK(s.port >= kMinLivePort && s.port <= kMaxLivePort);
  LiveSettings again{!s.on, s.port == 1 ? 2 : 1};
  FUZZ_CHECK(ParseLiveSettings(FormatLiveSettings(s), again) == LiveFileRead::kRead);
  FUZZ_CHECK(again.on == s.on && again.port == s.port);
  // The port on its own reads as the file's port.
  const std::string_view word = input.substr(0, input.find_first_of(" \t\r\n"));
  const int port = ParseLivePort(word);
  FUZZ_CHECK(port == 0 || (port >= kMinLivePort && port <= kMaxLivePort));
  return 0;
}
