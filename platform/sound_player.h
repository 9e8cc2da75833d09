// Plays the WAV files of the folder "sons". A missing file is silent and not reported.
#pragma once

#include <cstdint>

namespace zarvo {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // wait = true blocks until the sound has ended; otherwise a new sound cuts the one playing.
  virtual void Play(const char* fileName, bool wait) = 0;
};

// The operating system's player (silent where the platform has none).
SoundPlayer& SystemSoundPlayer();

// What the Windows player asks PlaySound for a file: the file by its name, never the system's
// default sound in place of a file that is missing (a missing WAV stays silent), and without
// waiting unless told to. The values are winmm's SND_FILENAME, SND_NODEFAULT and SND_ASYNC (the
// player checks them against <mmsystem.h> when it is built) and the player passes exactly these
// bits, so the flags it uses can be checked here.
constexpr uint32_t kPlayFileName = 0x00020000;
constexpr uint32_t kPlayNoDefault = 0x00000002;
constexpr uint32_t kPlayAsync = 0x00000001;
constexpr uint32_t PlaySoundFlags(bool wait) {
  return kPlayFileName | kPlayNoDefault | (wait ? 0 : kPlayAsync);
}

}  // namespace zarvo
