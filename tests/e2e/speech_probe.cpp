// zarvo-speech-probe: the lap callouts on the system's own voices, without the window. Looks for
// the edition's speech voice, reads the built-in voice's snippets from the current folder (the
// program folder), plays one composed phrase on the sound output, then calls out a burst of laps
// on a 10 ms tick, as the main window ticks.
//   zarvo-speech-probe [--builtin] [--laps N] [--wait-ms MS]
// --builtin leaves the speech voice out. Prints "speech <status> after <ms> ms", "snippets <n>",
// "phrase <taken> taken <skipped> skipped <ms> ms of sound, played in <ms> ms" and
// "summary queued=<n> replaced=<n> stale=<n> said=<n> unsaid=<n> voice=<speech|builtin|none>".
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/clock.h"
#include "platform/pcm_player.h"
#include "platform/speech_voice.h"
#include "speech/lap_callouts.h"

namespace {

using namespace zarvo;

class NoVoice final : public SpeechVoice {
 public:
  VoiceStatus Status() const override { return VoiceStatus::kUnavailable; }
  bool Say(const char*) override { return false; }
  bool Speaking() const override { return false; }
  void Stop() override {}
};

const char* StatusName(VoiceStatus s) {
  switch (s) {
    case VoiceStatus::kStarting:
      return "starting";
    case VoiceStatus::kReady:
      return "ready";
    case VoiceStatus::kUnavailable:
      break;
  }
  return "unavailable";
}

const char* VoiceName(CalloutVoice v) {
  switch (v) {
    case CalloutVoice::kSpeech:
      return "speech";
    case CalloutVoice::kBuiltIn:
      return "builtin";
    case CalloutVoice::kNone:
      break;
  }
  return "none";
}

// Waits until the condition holds or ms have passed; returns the time waited.
template <typename Done>
uint32_t WaitFor(Clock& clock, uint32_t ms, Done done) {
  const uint32_t start = clock.TickCount();
  while (!done() && clock.TickCount() - start < ms) clock.Sleep(10);
  return clock.TickCount() - start;
}

}  // namespace

int main(int argc, char** argv) {
  bool builtInOnly = false;
  int laps = 4;
  uint32_t waitMs = 8000;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--builtin") == 0) {
      builtInOnly = true;
    } else if (std::strcmp(argv[i], "--laps") == 0 && i + 1 < argc) {
      laps = std::atoi(argv[++i]);
      if (laps < 1 || laps > kCalloutLaneCount) laps = 4;
    } else if (std::strcmp(argv[i], "--wait-ms") == 0 && i + 1 < argc) {
      waitMs = uint32_t(std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: zarvo-speech-probe [--builtin] [--laps N] [--wait-ms MS]\n");
      return 2;
    }
  }
  Clock& clock = SystemClock();
  std::unique_ptr<SpeechVoice> speech =
      builtInOnly ? std::make_unique<NoVoice>() : OpenSystemSpeechVoice(kCalloutLanguageId);
  const uint32_t searched =
      WaitFor(clock, 5000, [&] { return speech->Status() != VoiceStatus::kStarting; });
  std::printf("speech %s after %u ms\n", StatusName(speech->Status()), unsigned(searched));

  SnippetBank bank;
  std::printf("snippets %d\n", bank.Load());

  std::unique_ptr<PcmPlayer> output = OpenSystemPcmPlayer();
  SnippetSequence sequence;
  LapPhraseSnippets(MakeLapEvent(3, "", 21350, 4, true, 2), true, sequence);
  PcmSound sound;
  const ComposeResult composed = ComposeSnippets(bank, sequence, sound);
  const unsigned soundMs =
      sound.samples.empty()
          ? 0
          : unsigned(sound.samples.size() * 1000 /
                     (sound.format.samplesPerSecond * PcmFrameBytes(sound.format)));
  const bool accepted = output->Play(std::move(sound));
  const uint32_t played = WaitFor(clock, waitMs, [&] { return !output->Playing(); });
  std::printf("phrase %d taken %d skipped %u ms of sound, %s, played in %u ms\n", composed.taken,
              composed.skipped, soundMs, accepted ? "accepted" : "refused", unsigned(played));

  CalloutSettings settings;
  settings.announceLaps = true;
  settings.sayPosition = true;
  LapCallouts callouts(settings, *speech, *output, bank);
  callouts.SetRunTimed(true);
  // The cars cross together: the callouts follow one another, the last ones may go stale.
  const uint32_t start = clock.TickCount();
  for (int lane = 1; lane <= laps; ++lane) {
    callouts.Lap(start, MakeLapEvent(lane, "Éric", 20000 + lane * 1370, 3, lane == 1, lane));
  }
  while (clock.TickCount() - start < waitMs &&
         (callouts.Waiting() > 0 || speech->Speaking() || output->Playing())) {
    callouts.Tick(clock.TickCount());
    clock.Sleep(10);
  }
  callouts.SetRunTimed(false);
  const LapCallouts::Counts& c = callouts.counts();
  std::printf("summary queued=%d replaced=%d stale=%d said=%d unsaid=%d voice=%s\n", c.queued,
              c.replaced, c.stale, c.said, c.unsaid, VoiceName(callouts.NextVoice()));
  return 0;
}
