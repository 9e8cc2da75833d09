// The eight sound settings, kept as the keyword texts of the sound settings file. A setting is
// on only when it equals its "oui" keyword exactly; only "SONLANGUEAnglais" selects English.
#pragma once

namespace zarvo {

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

}  // namespace zarvo
