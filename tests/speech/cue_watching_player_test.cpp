// The player the announcements are given while callouts are on: every cue still plays as it
// did, and its length, read from its WAV header, holds the callouts back.
#include "speech/cue_watching_player.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "tests/support/fakes.h"
#include "tests/support/speech_fakes.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::FakeClock;
using testing::FakePcmPlayer;
using testing::FakeSpeechVoice;
using testing::RecordingSoundPlayer;
using testing::Wav16;

struct WatchedCues : ::testing::Test {
  WatchedCues() : callouts(settings, speech, builtIn, bank), watching(player, clock, callouts) {
    settings.announceLaps = true;
    callouts.SetRunTimed(true);
    EXPECT_TRUE(MakeDirectory("sons"));
    // Half a second at 16 kHz.
    testing::WriteBytes("sons/youpi.wav", Wav16(std::vector<int16_t>(8000, 5)));
  }
  uint32_t Now() { return clock.TickCount(); }
  // Queues a lap now and ticks after ms: whether it was said by then.
  bool SaidAfter(uint32_t ms) {
    const size_t before = speech.said.size();
    clock.Advance(ms);
    callouts.Tick(Now());
    return speech.said.size() > before;
  }

  testing::TempFolder folder;
  FakeClock clock;
  CalloutSettings settings;
  FakeSpeechVoice speech;
  FakePcmPlayer builtIn;
  SnippetBank bank;
  RecordingSoundPlayer player;
  LapCallouts callouts;
  CueWatchingPlayer watching;
};

TEST_F(WatchedCues, EveryCuePlaysOnThePlayerExactlyAsAsked) {
  watching.Play("sons/youpi.wav", false);
  watching.Play("sons/nokia-sms.wav", true);
  watching.Play("sons/missing.wav", false);
  ASSERT_EQ(player.played.size(), 3u);
  EXPECT_EQ(player.played[0].file, "sons/youpi.wav");
  EXPECT_FALSE(player.played[0].wait);
  EXPECT_EQ(player.played[1].file, "sons/nokia-sms.wav");
  EXPECT_TRUE(player.played[1].wait);
  EXPECT_EQ(player.played[2].file, "sons/missing.wav");
}

TEST_F(WatchedCues, ACueThatPlaysOnHoldsTheCalloutsForItsLength) {
  callouts.Lap(Now(), MakeLapEvent(1, "Éric", 21350, 2, false, 0));
  watching.Play("sons/youpi.wav", false);
  EXPECT_FALSE(SaidAfter(500 + kCueMarginMs - 1));
  EXPECT_TRUE(SaidAfter(1));
}

TEST_F(WatchedCues, AWaitingCueHasEndedWhenItReturnsAndAMissingFileHoldsOnlyTheMargin) {
  callouts.Lap(Now(), MakeLapEvent(1, "Éric", 21350, 2, false, 0));
  watching.Play("sons/youpi.wav", true);
  EXPECT_TRUE(SaidAfter(0));
  speech.Finish();
  callouts.Lap(Now(), MakeLapEvent(2, "Zoë", 21350, 2, false, 0));
  watching.Play("sons/missing.wav", false);
  EXPECT_FALSE(SaidAfter(kCueMarginMs - 1));
  EXPECT_TRUE(SaidAfter(1));
}

TEST_F(WatchedCues, EachFilesLengthIsReadOnce) {
  watching.Play("sons/youpi.wav", false);
  // The file changes on the disk; the length known from the first play is kept.
  testing::WriteBytes("sons/youpi.wav", Wav16(std::vector<int16_t>(32000, 5)));
  clock.Advance(5000);
  callouts.Lap(Now(), MakeLapEvent(1, "Éric", 21350, 2, false, 0));
  watching.Play("sons/youpi.wav", false);
  EXPECT_TRUE(SaidAfter(500 + kCueMarginMs));
}

TEST_F(WatchedCues, WithCalloutsOffNoLengthIsReadAndTheyAreNotHeldWhenTurnedOn) {
  settings.announceLaps = false;
  watching.Play("sons/youpi.wav", false);  // half a second, not read
  EXPECT_EQ(player.played.size(), 1u);
  // Turned on while the cue plays: the next callout is not held by a cue whose length was not
  // read; the next cue, played with callouts on, reads its file and holds them.
  settings.announceLaps = true;
  callouts.Lap(Now(), MakeLapEvent(1, "Éric", 21350, 2, false, 0));
  EXPECT_TRUE(SaidAfter(0));
  speech.Finish();
  callouts.Lap(Now(), MakeLapEvent(2, "Zoë", 21350, 2, false, 0));
  watching.Play("sons/youpi.wav", false);
  EXPECT_FALSE(SaidAfter(500 + kCueMarginMs - 1));
  EXPECT_TRUE(SaidAfter(1));
}

TEST(WavFileLength, IsReadFromTheHeaderAloneAndIsZeroForWhatIsNoWave) {
  testing::TempFolder folder;
  // A header that announces two seconds of samples the file does not hold in full.
  std::string wav = Wav16(std::vector<int16_t>(32000, 1));
  wav.resize(5000);
  testing::WriteBytes("long.wav", wav);
  EXPECT_EQ(WavFileDurationMs("long.wav"), 2000u);
  testing::WriteBytes("text.wav", "not a wave at all");
  EXPECT_EQ(WavFileDurationMs("text.wav"), 0u);
  EXPECT_EQ(WavFileDurationMs("missing.wav"), 0u);
}

}  // namespace
}  // namespace zarvo
