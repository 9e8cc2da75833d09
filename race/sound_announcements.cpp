// Cue table, spoken countdown and race-clock announcements.
#include "race/sound_announcements.h"

#include <cstdio>

#include "text/fixed_text.h"

namespace zarvo {

namespace {

struct CountdownAnnouncement {
  int32_t seconds;
  const char* french;
  const char* english;
};

constexpr CountdownAnnouncement kCountdown[kCountdownAnnouncementCount] = {
    {3600, "60minutes", "60minutesGB"}, {1800, "30minutes", "30minutesGB"},
    {900, "15minutes", "15minutesGB"},  {300, "5minutes", "5minutesGB"},
    {120, "2minutes", "2minutesGB"},    {60, "1minute", "1minuteGB"},
    {30, "30secondes", "30secondesGB"}, {10, "10secondes", "10secondesGB"},
    {5, "cinq", "cinqGB"},              {4, "quatre", "quatreGB"},
    {3, "trois", "troisGB"},            {2, "deux", "deuxGB"},
    {1, "un", "unGB"},
};

enum ClockAnnouncement { kHalfRace = 0, kFiveMinutesLeft = 1, kOneMinuteLeft = 2 };

// The setting that lets a cue play; nullptr for the cues that always play.
const char* SettingOf(const SoundSettings& s, SoundCue cue, const char** on) {
  switch (cue) {
    case SoundCue::kCountdownOpening:
      *on = kSoundCountdownOn;
      return s.countdown;
    case SoundCue::kStart:
      *on = kSoundStartOn;
      return s.start;
    case SoundCue::kPassage:
    case SoundCue::kEarlyPassage:
      *on = kSoundPassageOn;
      return s.passage;
    case SoundCue::kBestLap:
      *on = kSoundBestLapOn;
      return s.bestLap;
    case SoundCue::kDriverFinished:
      *on = kSoundDriverFinishedOn;
      return s.driverFinished;
    case SoundCue::kEndOfRace:
      *on = kSoundEndOfRaceOn;
      return s.endOfRace;
    case SoundCue::kScanSignal:
    case SoundCue::kCheckGood:
    case SoundCue::kCheckBad:
    case SoundCue::kScanBeep:
      break;
  }
  *on = nullptr;
  return nullptr;
}

}  // namespace

const char* CueFile(SoundCue cue, int slot, bool english, char* out, size_t capacity) {
  const char* file = "";
  switch (cue) {
    case SoundCue::kCountdownOpening:
    case SoundCue::kScanSignal:
    case SoundCue::kCheckGood:
      file = "sons/nokia-sms.wav";
      break;
    case SoundCue::kStart:
      file = "sons/foghorn.wav";
      break;
    case SoundCue::kPassage:
    case SoundCue::kScanBeep:
      file = "sons/beep1.wav";
      break;
    case SoundCue::kBestLap:
      file = "sons/youpi.wav";
      break;
    case SoundCue::kEarlyPassage:
    case SoundCue::kCheckBad:
      file = "sons/buzz.wav";
      break;
    case SoundCue::kEndOfRace:
      file = "sons/truckhorn.wav";
      break;
    case SoundCue::kDriverFinished:
      std::snprintf(out, capacity, english ? "sons/FinCourseVoiture%dGB.wav"
                                           : "sons/FinCourseVoiture%d.wav", slot);
      return out;
  }
  SetText(out, capacity, file);
  return out;
}

bool CueWaits(SoundCue cue) {
  return cue == SoundCue::kCountdownOpening || cue == SoundCue::kScanSignal;
}

SoundAnnouncer::Language SoundAnnouncer::SpokenLanguage() const {
  if (SameText(settings_.language, kSoundEnglish)) return Language::kEnglish;
  if (SameText(settings_.language, kSoundFrench)) return Language::kFrench;
  return Language::kOther;
}

bool SoundAnnouncer::Enabled(SoundCue cue) const {
  const char* on = nullptr;
  const char* setting = SettingOf(settings_, cue, &on);
  return setting == nullptr || SameText(setting, on);
}

void SoundAnnouncer::Cue(SoundCue cue, int slot) {
  if (!Enabled(cue)) return;
  char file[64];
  // Only the exact English keyword selects the English files.
  CueFile(cue, slot, SpokenLanguage() == Language::kEnglish, file, sizeof file);
  player_.Play(file, CueWaits(cue));
}

void SoundAnnouncer::Speak(const char* frenchStem, const char* englishStem) {
  const Language language = SpokenLanguage();
  if (language == Language::kOther) return;
  char file[64];
  std::snprintf(file, sizeof file, "sons/%s.wav",
                language == Language::kEnglish ? englishStem : frenchStem);
  player_.Play(file, false);
}

void SoundAnnouncer::CountdownAnnouncements(RunState& run, int32_t remainingSeconds) {
  if (!SameText(settings_.countdown, kSoundCountdownOn)) return;
  for (int i = 0; i < kCountdownAnnouncementCount; ++i) {
    if (remainingSeconds != kCountdown[i].seconds || run.countdownAnnounced[i]) continue;
    run.countdownAnnounced[i] = true;
    Speak(kCountdown[i].french, kCountdown[i].english);
  }
}

void SoundAnnouncer::ClockAnnouncements(RunState& run, const RaceParameters& params) {
  if (!SameText(settings_.clock, kSoundClockOn)) return;
  if (!run.clockAnnounced[kHalfRace] && run.elapsedHours == run.remainingHours &&
      run.elapsedMinutes == run.remainingMinutes && run.elapsedSeconds == run.remainingSeconds) {
    run.clockAnnounced[kHalfRace] = true;
    Speak("miCourse", "miCourseGB");
  }
  const bool atLeast13Minutes = params.durationHours >= 1 || params.durationMinutesPart > 12;
  if (!run.clockAnnounced[kFiveMinutesLeft] && atLeast13Minutes && run.remainingHours == 0 &&
      run.remainingMinutes == 4) {
    run.clockAnnounced[kFiveMinutesLeft] = true;
    Speak("5minutes", "5minutesRaceGB");
  }
  const bool atLeast3Minutes = params.durationHours >= 1 || params.durationMinutesPart >= 3;
  if (!run.clockAnnounced[kOneMinuteLeft] && atLeast3Minutes && run.remainingHours == 0 &&
      run.remainingMinutes == 0) {
    run.clockAnnounced[kOneMinuteLeft] = true;
    Speak("1minute", "1minuteGB");
  }
}

}  // namespace zarvo
