// The lap callout settings and their file of the program folder, beside the sound settings
// (whose file they never touch): whether each lap is called out, only best laps, with the
// position. Everything is off until the user turns it on.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

constexpr const char kCalloutSettingsFile[] = "RéglagesAnnoncesTours.rg";

// One keyword a line, each setting's "oui" or "non" form, in this order.
constexpr const char kCalloutLapsOn[] = "ANNONCETOURSoui";
constexpr const char kCalloutLapsOff[] = "ANNONCETOURSnon";
constexpr const char kCalloutBestOnlyOn[] = "ANNONCEMEILLEURSTOURSSEULSoui";
constexpr const char kCalloutBestOnlyOff[] = "ANNONCEMEILLEURSTOURSSEULSnon";
constexpr const char kCalloutPositionOn[] = "ANNONCEPOSITIONoui";
constexpr const char kCalloutPositionOff[] = "ANNONCEPOSITIONnon";

struct CalloutSettings {
  bool announceLaps = false;  // each lap is called out with the driver's name and time
  bool onlyBestLaps = false;  // only the laps that improve the driver's best
  bool sayPosition = false;   // the driver's position after the time
};

enum class CalloutFileRead {
  kRead,     // every setting was read
  kMissing,  // no file: the settings are the defaults (off), nothing to report
  kDamaged,  // the file is there but is not a settings file: the defaults are used
};

// Nothing past this is read: the file holds three short words.
constexpr size_t kMaxCalloutFileBytes = 1024;

// The bytes of the file: three keywords, each on its own CR LF line.
std::string FormatCalloutSettings(const CalloutSettings& settings);

// Reads the bytes of a file. Lines may end in CR LF or LF; blank lines and blanks around the
// words are passed over. Each setting's keyword must appear once; a word that is no keyword,
// a setting given twice or left out, or more than kMaxCalloutFileBytes bytes makes the file
// damaged, and then every setting is its default.
CalloutFileRead ParseCalloutSettings(std::string_view bytes, CalloutSettings& settings);

// Reads the file at path (relative to the program folder) into settings; when it is missing or
// damaged, settings are the defaults.
CalloutFileRead ReadCalloutSettings(const char* path, CalloutSettings& settings);
// Replaces the file; false when it cannot be written.
bool WriteCalloutSettings(const char* path, const CalloutSettings& settings);

}  // namespace zarvo
