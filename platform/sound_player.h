// Plays the WAV files of the folder "sons". A missing file is silent and not reported.
#pragma once

namespace zarvo {

class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  // wait = true blocks until the sound has ended; otherwise a new sound cuts the one playing.
  virtual void Play(const char* fileName, bool wait) = 0;
};

// The operating system's player (silent where the platform has none).
SoundPlayer& SystemSoundPlayer();

}  // namespace zarvo
