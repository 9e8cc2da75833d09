// On POSIX systems the native build has no sound output: every cue is silent.
#include "platform/sound_player.h"

namespace zarvo {

namespace {

class SilentPlayer final : public SoundPlayer {
 public:
  void Play(const char*, bool) override {}
};

}  // namespace

SoundPlayer& SystemSoundPlayer() {
  static SilentPlayer player;
  return player;
}

}  // namespace zarvo
