// The sound player given to the sound announcements while lap callouts are on: every cue plays
// on the system's player exactly as before, and the callouts learn how long it lasts, from the
// header of its WAV file, so that none begins over it.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/sound_player.h"
#include "speech/lap_callouts.h"

namespace zarvo {

// The length of a WAV file's sound, from its first bytes; 0 when it is missing or is no PCM WAV.
uint32_t WavFileDurationMs(const char* path);

class CueWatchingPlayer final : public SoundPlayer {
 public:
  CueWatchingPlayer(SoundPlayer& player, Clock& clock, LapCallouts& callouts)
      : player_(player), clock_(clock), callouts_(callouts) {}

  // Plays the file on the player; a cue that does not wait holds the callouts for its length.
  // (A waiting cue has ended when Play returns.)
  void Play(const char* fileName, bool wait) override;

 private:
  // Lengths are read once per file name (a run plays the same dozen files); past the table's
  // capacity the header is read each time.
  uint32_t DurationOf(const char* fileName);

  static constexpr int kKnownCapacity = 48;
  struct Known {
    char fileName[64];
    uint32_t ms;
  };

  SoundPlayer& player_;
  Clock& clock_;
  LapCallouts& callouts_;
  Known known_[kKnownCapacity];
  int knownCount_ = 0;
};

}  // namespace zarvo
