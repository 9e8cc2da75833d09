// Reading and writing the live results settings file.
#include "web/live_settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/files.h"
#include "text/settings_words.h"

namespace zarvo {

int ParseLivePort(std::string_view digits) {
  if (digits.empty() || digits.size() > size_t(kLivePortMaxDigits)) return 0;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + (c - '0');
  }
  return port >= kMinLivePort && port <= kMaxLivePort ? port : 0;
}

std::string FormatLiveSettings(const LiveSettings& settings) {
  std::string out = settings.on ? kLiveOn : kLiveOff;
  out += "\r\n";
  out += kLivePortKeyword;
  out += std::to_string(settings.port);
  out += "\r\n";
  return out;
}

LiveFileRead ParseLiveSettings(std::string_view bytes, LiveSettings& settings) {
  settings = LiveSettings{};
  if (bytes.size() > kMaxLiveFileBytes) return LiveFileRead::kDamaged;
  LiveSettings read;
  bool switchSeen = false;
  bool portSeen = false;
  const std::string_view portKeyword(kLivePortKeyword);
  size_t at = 0;
  for (std::string_view word = NextSettingsWord(bytes, at); !word.empty();
       word = NextSettingsWord(bytes, at)) {
    if (word == kLiveOn || word == kLiveOff) {
      if (switchSeen) return LiveFileRead::kDamaged;
      switchSeen = true;
      read.on = word == kLiveOn;
    } else if (word.substr(0, portKeyword.size()) == portKeyword) {
      const int port = ParseLivePort(word.substr(portKeyword.size()));
      if (portSeen || port == 0) return LiveFileRead::kDamaged;
      portSeen = true;
      read.port = port;
    } else {
      return LiveFileRead::kDamaged;
    }
  }
  if (!switchSeen || !portSeen) return LiveFileRead::kDamaged;
  settings = read;
  return LiveFileRead::kRead;
}

LiveFileRead ReadLiveSettings(const char* path, LiveSettings& settings) {
  settings = LiveSettings{};
  if (!PathExists(path)) return LiveFileRead::kMissing;
  // A file that cannot be read, or holds more than such a file may, is damaged.
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxLiveFileBytes)) return LiveFileRead::kDamaged;
  return ParseLiveSettings(bytes, settings);
}

bool WriteLiveSettings(const char* path, const LiveSettings& settings) {
  return WriteFileReplacing(path, FormatLiveSettings(settings));
}

}  // namespace zarvo
