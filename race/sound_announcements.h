// Sound announcements: which WAV file of the folder "sons" each cue plays, under which setting,
// waiting or not; the spoken countdown and race-clock announcements, each played once per run.
#pragma once

#include "platform/sound_player.h"
#include "race/race_model.h"
#include "race/sound_cues.h"
#include "records/sound_settings.h"

namespace zarvo {

class SoundAnnouncer {
 public:
  SoundAnnouncer(const SoundSettings& settings, SoundPlayer& player)
      : settings_(settings), player_(player) {}

  // Plays the cue's file when its setting allows it. slot (1..20) names the driver-finished file.
  void Cue(SoundCue cue, int slot = 0);
  // Whether the cue's setting lets it play.
  bool Enabled(SoundCue cue) const;

  // Spoken countdown (60 minutes ... "un"), checked on every countdown tick against the seconds
  // left before the start; each announcement plays once, flagged in the run state.
  void CountdownAnnouncements(RunState& run, int32_t remainingSeconds);

  // Half race, 5 minutes left and 1 minute left, checked on race-clock ticks once the clock has
  // been updated.
  void ClockAnnouncements(RunState& run, const RaceParameters& params);

 private:
  enum class Language { kFrench, kEnglish, kOther };
  Language SpokenLanguage() const;
  // Plays "sons/<stem>.wav" in French or "sons/<englishStem>.wav" in English.
  void Speak(const char* frenchStem, const char* englishStem);

  const SoundSettings& settings_;
  SoundPlayer& player_;
};

// The file a cue plays ("sons/..."), written into out; the driver-finished file names the slot
// and ends in "GB" for English.
const char* CueFile(SoundCue cue, int slot, bool english, char* out, size_t capacity);
// Whether a cue blocks until its sound has ended.
bool CueWaits(SoundCue cue);

}  // namespace zarvo
