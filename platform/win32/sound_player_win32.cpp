// Plays WAV files with PlaySound: asynchronously (a new sound cuts the one playing) or waiting.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "platform/codepage.h"
#include "platform/sound_player.h"

namespace zarvo {

namespace {

class Win32SoundPlayer final : public SoundPlayer {
 public:
  void Play(const char* fileName, bool wait) override {
    const std::u16string utf16 = Cp1252ToUtf16(fileName);
    const std::wstring wide(utf16.begin(), utf16.end());
    // A missing file stays silent: without SND_NODEFAULT Windows plays its default sound.
    const DWORD flags = SND_FILENAME | SND_NODEFAULT | (wait ? 0 : SND_ASYNC);
    PlaySoundW(wide.c_str(), nullptr, flags);
  }
};

}  // namespace

SoundPlayer& SystemSoundPlayer() {
  static Win32SoundPlayer player;
  return player;
}

}  // namespace zarvo
