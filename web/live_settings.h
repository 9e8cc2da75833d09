// The live results settings and their file of the program folder: whether the server is on and
// the port it listens on. Off on port 8080 until the user turns it on; no other file holds them.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

constexpr const char kLiveSettingsFile[] = "RéglagesRésultatsEnDirect.rg";

// One keyword a line: the switch's "oui" or "non" form, then the port keyword followed by its
// digits ("RESULTATSDIRECTPORT8080").
constexpr const char kLiveOn[] = "RESULTATSDIRECToui";
constexpr const char kLiveOff[] = "RESULTATSDIRECTnon";
constexpr const char kLivePortKeyword[] = "RESULTATSDIRECTPORT";

constexpr int kDefaultLivePort = 8080;
constexpr int kMinLivePort = 1;
constexpr int kMaxLivePort = 65535;
// The port edit takes at most this many digits.
constexpr int kLivePortMaxDigits = 5;

struct LiveSettings {
  bool on = false;
  int port = kDefaultLivePort;  // 1..65535
};

enum class LiveFileRead {
  kRead,     // both settings were read
  kMissing,  // no file: the defaults, nothing to report
  kDamaged,  // the file is there but is not a settings file: the defaults are used
};

// Nothing past this is read: the file holds two short words.
constexpr size_t kMaxLiveFileBytes = 1024;

// The port of a text of digits only (no sign, no blank), 1..65535; 0 when it is none.
int ParseLivePort(std::string_view digits);

// The bytes of the file: the two keywords, each on its own CR LF line.
std::string FormatLiveSettings(const LiveSettings& settings);

// Reads the bytes of a file. Lines may end in CR LF or LF; blank lines and blanks around the
// words are passed over. Each keyword must appear once and the port must be 1..65535; anything
// else (an unknown word, a keyword twice or missing, more than kMaxLiveFileBytes bytes) makes the
// file damaged, and then both settings are the defaults.
LiveFileRead ParseLiveSettings(std::string_view bytes, LiveSettings& settings);

// Reads the file at path (relative to the program folder); defaults when missing or damaged.
LiveFileRead ReadLiveSettings(const char* path, LiveSettings& settings);
// Replaces the file; false when it cannot be written.
bool WriteLiveSettings(const char* path, const LiveSettings& settings);

}  // namespace zarvo
