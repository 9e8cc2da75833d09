// The native build has no speech service nor sound output: the voice is unavailable and the
// composed sounds are taken and dropped, as the WAV cues are.
#include "platform/pcm_player.h"
#include "platform/speech_voice.h"

namespace zarvo {

namespace {

class NoVoice final : public SpeechVoice {
 public:
  VoiceStatus Status() const override { return VoiceStatus::kUnavailable; }
  bool Say(const char*) override { return false; }
  bool Speaking() const override { return false; }
  void Stop() override {}
};

class SilentPcmPlayer final : public PcmPlayer {
 public:
  bool Play(PcmSound&&) override { return true; }
  bool Playing() const override { return false; }
  void Stop() override {}
};

}  // namespace

std::unique_ptr<SpeechVoice> OpenSystemSpeechVoice(unsigned) {
  return std::make_unique<NoVoice>();
}

std::unique_ptr<PcmPlayer> OpenSystemPcmPlayer() {
  return std::make_unique<SilentPcmPlayer>();
}

}  // namespace zarvo
