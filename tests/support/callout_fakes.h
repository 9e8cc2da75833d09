// The lap callouts' voices as the program opens them, made of the fakes of speech_fakes.h: the
// test sees what each voice was given.
#pragma once

#include <cstdint>
#include <memory>

#include "app/lap_callouts_link.h"
#include "tests/support/speech_fakes.h"

namespace zarvo::testing {

class FakeCalloutVoices : public CalloutVoiceMaker {
 public:
  std::unique_ptr<SpeechVoice> OpenSpeech() override {
    ++speechOpened;
    auto voice = std::make_unique<FakeSpeechVoice>();
    voice->status = speechStatus;
    speech = voice.get();
    return voice;
  }
  std::unique_ptr<PcmPlayer> OpenOutput() override {
    ++outputOpened;
    auto made = std::make_unique<FakePcmPlayer>();
    output = made.get();
    return made;
  }
  // Every snippet a short sound of its own.
  int LoadSnippets(SnippetBank& bank) override {
    ++snippetLoads;
    for (int id = 0; id < kSnippetCount; ++id) bank.Set(SnippetId(id), Wav16({int16_t(id + 1)}));
    return kSnippetCount;
  }

  VoiceStatus speechStatus = VoiceStatus::kReady;
  FakeSpeechVoice* speech = nullptr;  // the last opened, owned by the program
  FakePcmPlayer* output = nullptr;
  int speechOpened = 0, outputOpened = 0, snippetLoads = 0;
};

}  // namespace zarvo::testing
