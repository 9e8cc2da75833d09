// The lap callouts at simulated time, with fake voices: what is queued, the order of several
// cars, one callout a lane, the 3 s limit, the cues of the announcements never overlapped, the
// phases without callouts, and the choice of voice with its fallback.
#include "speech/lap_callouts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/speech_fakes.h"
#include "text/edition.h"

namespace zarvo {
namespace {

using testing::FakePcmPlayer;
using testing::FakeSpeechVoice;
using testing::Wav16;

// Each snippet is one sample worth 1000 + its id, so a composed sound tells its snippets.
SnippetBank MarkedBank() {
  SnippetBank bank;
  for (int id = 0; id < kSnippetCount; ++id) bank.Set(SnippetId(id), Wav16({int16_t(1000 + id)}));
  return bank;
}

// The snippet ids of a composed sound, "|" for a silence.
std::string Decode(const PcmSound& sound) {
  std::string out;
  bool inSilence = false;
  for (size_t i = 0; i + 1 < sound.samples.size(); i += 2) {
    const int16_t s = int16_t(uint8_t(sound.samples[i]) | uint8_t(sound.samples[i + 1]) << 8);
    if (s == 0) {
      if (!inSilence) out += " |";
      inSilence = true;
      continue;
    }
    inSilence = false;
    out += " " + std::to_string(s - 1000);
  }
  return out.empty() ? out : out.substr(1);
}

struct Callouts : ::testing::Test {
  Callouts() : callouts(settings, speech, builtIn, bank) {
    settings.announceLaps = true;
    callouts.SetRunTimed(true);
  }
  void LapOf(int lane, int32_t ms, int lapNumber = 3, bool best = false, int position = 0) {
    const char* names[] = {"", "Éric", "Zoë", "Lucas", "Anna", "Jo"};
    callouts.Lap(now, MakeLapEvent(lane, names[lane % 6], ms, lapNumber, best, position));
  }
  void At(uint32_t t) {
    now = t;
    callouts.Tick(now);
  }

  CalloutSettings settings;
  FakeSpeechVoice speech;
  FakePcmPlayer builtIn;
  SnippetBank bank = MarkedBank();
  LapCallouts callouts;
  uint32_t now = 50000;
};

TEST_F(Callouts, ALapIsOnlyQueuedAndIsSaidOnTheNextTick) {
  LapOf(1, 21350);
  EXPECT_EQ(speech.sayCalls, 0);  // the passage's own work ends at the queue
  EXPECT_EQ(callouts.Waiting(), 1);
  At(now + 10);
  ASSERT_EQ(speech.said.size(), 1u);
  EXPECT_EQ(speech.said[0], ZT("Éric, 21.35", "Éric, 21,35"));
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_TRUE(builtIn.played.empty());
}

TEST_F(Callouts, CarsCrossingTogetherAreSaidOneAfterAnotherInTheirOrder) {
  LapOf(2, 20000);
  LapOf(1, 21000);
  LapOf(3, 22000);
  At(now);
  At(now + 600);  // still saying the first
  ASSERT_EQ(speech.said.size(), 1u);
  speech.Finish();
  At(now + 10);
  speech.Finish();
  At(now + 10);
  ASSERT_EQ(speech.said.size(), 3u);
  EXPECT_EQ(speech.said[0].substr(0, 5), "Zoë, ");
  EXPECT_EQ(speech.said[1].substr(0, 6), "Éric, ");
  EXPECT_EQ(speech.said[2].substr(0, 7), "Lucas, ");
}

TEST_F(Callouts, ANewerLapReplacesTheWaitingOneAndGoesToTheBack) {
  LapOf(1, 30000);
  At(now);  // lane 1 is being said
  LapOf(2, 21000);
  LapOf(3, 22000);
  now += 2100;
  LapOf(2, 20500);  // lane 2 again before his first callout was said
  EXPECT_EQ(callouts.Waiting(), 2);
  EXPECT_EQ(callouts.counts().replaced, 1);
  speech.Finish();
  At(now);
  speech.Finish();
  At(now);
  ASSERT_EQ(speech.said.size(), 3u);
  EXPECT_EQ(speech.said[1].substr(0, 7), "Lucas, ");
  EXPECT_EQ(speech.said[2], ZT("Zoë, 20.50", "Zoë, 20,50"));
  // The lap being said is no longer waiting: a new lap of its lane is queued beside it.
  LapOf(2, 20400);
  EXPECT_EQ(callouts.Waiting(), 1);
  EXPECT_EQ(callouts.counts().replaced, 1);
}

TEST_F(Callouts, ACalloutThatWaitedMoreThanThreeSecondsIsDropped) {
  const uint32_t t0 = now;
  for (int lane = 1; lane <= 4; ++lane) LapOf(lane, 20000 + lane);
  At(t0);  // lane 1, each callout taking 1.4 s
  speech.Finish();
  At(t0 + 1400);  // lane 2
  speech.Finish();
  At(t0 + 2800);  // lane 3
  speech.Finish();
  At(t0 + 3000);  // lane 4 has waited exactly 3 s: still worth saying
  ASSERT_EQ(speech.said.size(), 4u);
  speech.Finish();

  for (int lane = 1; lane <= 3; ++lane) LapOf(lane, 20000 + lane);
  At(now);
  speech.Finish();
  At(now + 3001);  // lanes 2 and 3 waited 3.001 s
  EXPECT_EQ(speech.said.size(), 5u);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(callouts.counts().stale, 2);
}

TEST_F(Callouts, NoCalloutBeginsWhileACueOfTheAnnouncementsPlays) {
  LapOf(1, 21350);
  callouts.CueStarted(now, 540);  // youpi.wav, the lap's own best-lap cue
  At(now + 639);
  EXPECT_EQ(speech.sayCalls, 0);
  At(now + 1);  // its length and the margin have passed
  EXPECT_EQ(speech.said.size(), 1u);

  // A cue that begins while a callout is said leaves the callout alone (and is never cut: the
  // callouts have no hold on the cue player).
  callouts.CueStarted(now, 120);
  EXPECT_EQ(speech.stops, 0);
  // Two cues: the later end holds.
  speech.Finish();
  LapOf(2, 22000);
  callouts.CueStarted(now, 1100);
  callouts.CueStarted(now + 200, 120);
  At(now + 1199);
  EXPECT_EQ(speech.said.size(), 1u);
  At(now + 1);
  EXPECT_EQ(speech.said.size(), 2u);
}

TEST_F(Callouts, TheStartSignalHoldsTheFirstCalloutsEvenThoughItPlaysBeforeTheRunIsTimed) {
  callouts.SetRunTimed(false);
  callouts.CueStarted(now, 1400);  // foghorn.wav, played as the run starts
  callouts.SetRunTimed(true);
  LapOf(1, 900, 1);
  At(now + 1000);
  EXPECT_EQ(speech.sayCalls, 0);
  At(now + 500);
  EXPECT_EQ(speech.said.size(), 1u);
}

TEST_F(Callouts, ACueHoldsAtMostTenSecondsAndTheTickCountMayWrap) {
  now = 0xFFFFFF00u;  // 49.7 days of uptime: the count wraps during the hold
  const uint32_t start = now;
  callouts.CueStarted(now, 0xFFFFFFFFu);  // a file claiming an endless sound
  LapOf(1, 21350);
  At(start + 2900);
  EXPECT_EQ(speech.sayCalls, 0);
  now = start + 7500;
  LapOf(2, 21350);  // the first goes stale meanwhile; this one is said at the hold's end
  At(start + 9999);
  EXPECT_EQ(speech.sayCalls, 0);
  At(start + 10000);
  ASSERT_EQ(speech.said.size(), 1u);
  EXPECT_EQ(speech.said[0].substr(0, 5), "Zoë, ");
  EXPECT_EQ(callouts.counts().stale, 1);
}

TEST_F(Callouts, WithoutAnyCueNothingHoldsWhateverTheTickCount) {
  now = 0x90000000u;
  LapOf(1, 21350);
  At(now);
  EXPECT_EQ(speech.said.size(), 1u);
}

TEST_F(Callouts, NothingIsSaidBeforeTheRunIsTimedNorDuringTheScanAndCheck) {
  callouts.SetRunTimed(false);  // the scan, its check: passages come, laps are recorded
  LapOf(1, 21350);
  At(now + 10);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(speech.sayCalls, 0);
  EXPECT_EQ(callouts.counts().queued, 0);
}

TEST_F(Callouts, TheEndOfTheRunEmptiesTheLineAndSilencesTheVoices) {
  LapOf(1, 21350);
  At(now);
  LapOf(2, 22000);
  LapOf(3, 23000);
  callouts.SetRunTimed(false);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(speech.stops, 1);
  EXPECT_EQ(builtIn.stops, 1);
  // After the end, laps are passed over; ending again silences nothing more.
  LapOf(4, 24000);
  At(now + 10);
  callouts.SetRunTimed(false);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(speech.said.size(), 1u);
  EXPECT_EQ(speech.stops, 1);
}

TEST_F(Callouts, TheSettingsChooseWhichLapsAreSaidAndWhatIsSaid) {
  settings.announceLaps = false;
  LapOf(1, 21350);
  EXPECT_EQ(callouts.Waiting(), 0);

  settings.announceLaps = true;
  settings.onlyBestLaps = true;
  LapOf(1, 21350, 3, false);
  LapOf(2, 21350, 1, true);  // a first lap is never a best lap
  EXPECT_EQ(callouts.Waiting(), 0);
  LapOf(3, 21350, 4, true, 2);
  settings.sayPosition = true;
  At(now);
  ASSERT_EQ(speech.said.size(), 1u);
  EXPECT_EQ(speech.said[0],
            ZT("Lucas, 21.35, best lap, second", "Lucas, 21,35, meilleur tour, deuxième"));

  // Turned off while callouts wait: they are dropped at the next tick.
  speech.Finish();
  LapOf(4, 22000, 5, true);
  settings.announceLaps = false;
  At(now + 10);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(speech.said.size(), 1u);
}

TEST_F(Callouts, WithoutASpeechVoiceTheBuiltInVoiceSaysTheLane) {
  speech.status = VoiceStatus::kUnavailable;
  EXPECT_EQ(callouts.NextVoice(), CalloutVoice::kBuiltIn);
  LapOf(3, 21350, 4, true);
  At(now);
  ASSERT_EQ(builtIn.played.size(), 1u);
  EXPECT_EQ(speech.sayCalls, 0);
  // Lane 3, 21.35, best lap: the snippets' ids, the pauses as silences.
  const std::string expected = std::to_string(kSnippetLane) + " 3 | 21 " +
                               std::to_string(kSnippetDecimal) + ZT(" 3 5 | ", " 35 | ") +
                               std::to_string(kSnippetBestLap);
  EXPECT_EQ(Decode(builtIn.played[0]), expected);
  // The built-in voice playing holds the next callout as the speech voice does.
  LapOf(1, 22000);
  At(now + 10);
  EXPECT_EQ(builtIn.played.size(), 1u);
  builtIn.Finish();
  At(now + 10);
  EXPECT_EQ(builtIn.played.size(), 2u);
}

TEST_F(Callouts, WhileTheSpeechVoiceStartsTheBuiltInVoiceSpeaksThenTheSpeechVoiceTakesOver) {
  speech.status = VoiceStatus::kStarting;
  LapOf(1, 21350);
  At(now);
  EXPECT_EQ(builtIn.played.size(), 1u);
  builtIn.Finish();
  speech.status = VoiceStatus::kReady;
  LapOf(2, 22000);
  At(now + 10);
  EXPECT_EQ(speech.said.size(), 1u);
  EXPECT_EQ(builtIn.played.size(), 1u);
}

TEST_F(Callouts, ASpeechVoiceThatFailsIsReplacedByTheBuiltInVoiceForGood) {
  speech.refuse = true;
  LapOf(1, 21350);
  At(now);
  EXPECT_EQ(speech.sayCalls, 1);
  ASSERT_EQ(builtIn.played.size(), 1u);  // the same callout, said by the built-in voice
  EXPECT_EQ(callouts.NextVoice(), CalloutVoice::kBuiltIn);
  builtIn.Finish();
  speech.refuse = false;
  LapOf(2, 22000);
  At(now + 10);
  EXPECT_EQ(speech.sayCalls, 1);
  EXPECT_EQ(builtIn.played.size(), 2u);
  EXPECT_EQ(callouts.counts().said, 2);
}

TEST_F(Callouts, WithNeitherVoiceTheCalloutsAreTakenAndDropped) {
  speech.status = VoiceStatus::kUnavailable;
  bank = SnippetBank();
  EXPECT_EQ(callouts.NextVoice(), CalloutVoice::kNone);
  LapOf(1, 21350);
  LapOf(2, 22000);
  At(now);
  At(now + 10);
  EXPECT_EQ(callouts.Waiting(), 0);
  EXPECT_EQ(callouts.counts().unsaid, 2);
  EXPECT_EQ(callouts.counts().said, 0);
  EXPECT_TRUE(builtIn.played.empty());
}

TEST(CalloutVoiceChoice, TheSpeechVoiceOnlyWhenReadyAndSoundOtherwiseTheBuiltInVoice) {
  struct Row {
    VoiceStatus speech;
    bool failed;
    bool snippets;
    CalloutVoice voice;
  };
  const Row rows[] = {
      {VoiceStatus::kReady, false, true, CalloutVoice::kSpeech},
      {VoiceStatus::kReady, false, false, CalloutVoice::kSpeech},
      {VoiceStatus::kReady, true, true, CalloutVoice::kBuiltIn},
      {VoiceStatus::kReady, true, false, CalloutVoice::kNone},
      {VoiceStatus::kStarting, false, true, CalloutVoice::kBuiltIn},
      {VoiceStatus::kStarting, false, false, CalloutVoice::kNone},
      {VoiceStatus::kUnavailable, false, true, CalloutVoice::kBuiltIn},
      {VoiceStatus::kUnavailable, false, false, CalloutVoice::kNone},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChooseCalloutVoice(r.speech, r.failed, r.snippets), r.voice)
        << int(r.speech) << r.failed << r.snippets;
  }
}

}  // namespace
}  // namespace zarvo
