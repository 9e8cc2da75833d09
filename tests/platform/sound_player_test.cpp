// The flags the Windows player hands PlaySound (platform/sound_player.h): a WAV file that is
// missing must stay silent, whether the cue waits or not.
#include "platform/sound_player.h"

#include <gtest/gtest.h>

namespace zarvo {
namespace {

TEST(SoundPlayerFlags, AMissingFileIsSilentWaitingOrNot) {
  // Without SND_NODEFAULT, Windows plays its own default sound for a file that is not there.
  EXPECT_EQ(PlaySoundFlags(false), 0x00020000u | 0x0002u | 0x0001u);  // by name, silent, async
  EXPECT_EQ(PlaySoundFlags(true), 0x00020000u | 0x0002u);             // by name, silent, waits
  for (bool wait : {false, true}) {
    EXPECT_NE(PlaySoundFlags(wait) & kPlayNoDefault, 0u) << wait;
    EXPECT_NE(PlaySoundFlags(wait) & kPlayFileName, 0u) << wait;
  }
}

}  // namespace
}  // namespace zarvo
