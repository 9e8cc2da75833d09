// Plays WAV files with PlaySound: asynchronously (a new sound cuts the one playing) or waiting.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "platform/codepage.h"
#include "platform/sound_player.h"

namespace zarvo {

namespace {

static_assert(kPlayFileName == SND_FILENAME && kPlayNoDefault == SND_NODEFAULT &&
                  kPlayAsync == SND_ASYNC,
              "the flags of platform/sound_player.h are winmm's");

class Win32SoundPlayer final : public SoundPlayer {
 public:
  void Play(const char* fileName, bool wait) override {
    const std::u16string utf16 = Cp1252ToUtf16(fileName);
    const std::wstring wide(utf16.begin(), utf16.end());
    // A missing file stays silent: without SND_NODEFAULT Windows plays its default sound.
    PlaySoundW(wide.c_str(), nullptr, PlaySoundFlags(wait));
  }
};

}  // namespace

SoundPlayer& SystemSoundPlayer() {
  static Win32SoundPlayer player;
  return player;
}

}  // namespace zarvo
