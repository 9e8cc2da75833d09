// Reading and writing the lap callout settings file.
#include "speech/callout_settings.h"

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "text/settings_words.h"

namespace zarvo {

namespace {

struct Keyword {
  const char* on;
  const char* off;
  bool CalloutSettings::*field;
};

const Keyword kKeywords[] = {
    {kCalloutLapsOn, kCalloutLapsOff, &CalloutSettings::announceLaps},
    {kCalloutBestOnlyOn, kCalloutBestOnlyOff, &CalloutSettings::onlyBestLaps},
    {kCalloutPositionOn, kCalloutPositionOff, &CalloutSettings::sayPosition},
};
constexpr int kKeywordCount = sizeof kKeywords / sizeof kKeywords[0];

}  // namespace

std::string FormatCalloutSettings(const CalloutSettings& settings) {
  std::string out;
  for (const Keyword& k : kKeywords) {
    out += settings.*k.field ? k.on : k.off;
    out += "\r\n";
  }
  return out;
}

CalloutFileRead ParseCalloutSettings(std::string_view bytes, CalloutSettings& settings) {
  settings = CalloutSettings{};
  if (bytes.size() > kMaxCalloutFileBytes) return CalloutFileRead::kDamaged;
  CalloutSettings read;
  bool seen[kKeywordCount] = {};
  size_t at = 0;
  for (std::string_view word = NextSettingsWord(bytes, at); !word.empty();
       word = NextSettingsWord(bytes, at)) {
    int found = -1;
    for (int k = 0; k < kKeywordCount && found < 0; ++k) {
      if (word == kKeywords[k].on || word == kKeywords[k].off) found = k;
    }
    if (found < 0 || seen[found]) return CalloutFileRead::kDamaged;
    seen[found] = true;
    read.*kKeywords[found].field = word == kKeywords[found].on;
  }
  for (bool s : seen) {
    if (!s) return CalloutFileRead::kDamaged;
  }
  settings = read;
  return CalloutFileRead::kRead;
}

CalloutFileRead ReadCalloutSettings(const char* path, CalloutSettings& settings) {
  settings = CalloutSettings{};
  if (!PathExists(path)) return CalloutFileRead::kMissing;
  // A file that cannot be read, or holds more than such a file may, is damaged.
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxCalloutFileBytes)) return CalloutFileRead::kDamaged;
  return ParseCalloutSettings(bytes, settings);
}

bool WriteCalloutSettings(const char* path, const CalloutSettings& settings) {
  return WriteFileReplacing(path, FormatCalloutSettings(settings));
}

}  // namespace zarvo
