// The eight sound settings, kept as the keyword texts of the sound settings file. A setting is
// on only when it equals its "oui" keyword exactly; only "SONLANGUEAnglais" selects English.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

// The sound settings file of the program folder: eight lines, one keyword each, in the order of
// the fields of SoundSettings.
constexpr const char kSoundSettingsFile[] = "RéglagesSons.rg";

constexpr const char kSoundEnglish[] = "SONLANGUEAnglais";
constexpr const char kSoundFrench[] = "SONLANGUEFrancais";
constexpr const char kSoundCountdownOn[] = "SONDECOMPTEoui";
constexpr const char kSoundCountdownOff[] = "SONDECOMPTEnon";
constexpr const char kSoundStartOn[] = "SONDEPARToui";
constexpr const char kSoundStartOff[] = "SONDEPARTnon";
constexpr const char kSoundPassageOn[] = "SONPASSAGEoui";
constexpr const char kSoundPassageOff[] = "SONPASSAGEnon";
constexpr const char kSoundBestLapOn[] = "SONMEILLEURTOURoui";
constexpr const char kSoundBestLapOff[] = "SONMEILLEURTOURnon";
constexpr const char kSoundClockOn[] = "SONHORLOGEoui";
constexpr const char kSoundClockOff[] = "SONHORLOGEnon";
constexpr const char kSoundEndOfRaceOn[] = "SONFINCOURSEoui";
constexpr const char kSoundEndOfRaceOff[] = "SONFINCOURSEnon";
constexpr const char kSoundDriverFinishedOn[] = "SONFINVOITUREoui";
constexpr const char kSoundDriverFinishedOff[] = "SONFINVOITUREnon";

struct SoundSettings {
  char language[19];
  char countdown[16];
  char start[14];
  char passage[15];
  char bestLap[20];
  char clock[15];
  char endOfRace[17];
  char driverFinished[18];
};

constexpr int kSoundSettingCount = 8;

// Setting i (0..7, in file order) and its capacity, terminator included.
char* SoundSetting(SoundSettings& settings, int index);
const char* SoundSetting(const SoundSettings& settings, int index);
int SoundSettingCapacity(int index);

// Every setting empty: every sound off, language not English.
void ClearSoundSettings(SoundSettings& settings);

// The bytes of the file: the eight settings in order, each on its own CR LF line.
std::string FormatSoundSettings(const SoundSettings& settings);

// Takes the blank-separated words of the file, in order, into the eight settings. A word longer
// than its setting's capacity is cut (the rest of it is skipped, so the next setting keeps its
// word); settings without a word keep what they held, so callers empty them first. Unknown words
// are kept as they are: they count as off and are written back unchanged.
void ParseSoundSettings(std::string_view bytes, SoundSettings& settings);

// Reads the file at path (relative to the program folder); false when it cannot be opened.
bool ReadSoundSettings(const char* path, SoundSettings& settings);
// Replaces the file; false when it cannot be written.
bool WriteSoundSettings(const char* path, const SoundSettings& settings);

}  // namespace zarvo
