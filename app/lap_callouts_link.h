// The lap callouts in the program: race control tells each lap recorded in a timed run, the tick
// hands the waiting callouts to a voice, and the sound announcements' cues hold them back while
// they play (race control plays its cues through CuePlayer()). The voices are opened when the
// callouts are first turned on: the Windows speech voice of the edition's language, and the
// built-in voice from the snippets of the program folder's sounds ("sons/voix/"), which takes
// over while the speech voice starts and whenever it is missing or fails.
//
// Timing comes first: a lap is only copied into the waiting line; the voices speak on threads of
// their own; nothing here waits. Nothing is said outside a timed run (before the start, during
// the scan and its check, after the end), and the replay of a journal at start-up times its run
// on a race control of its own, which tells no one.
#pragma once

#include <memory>

#include "app/callout_log.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/pcm_player.h"
#include "platform/sound_player.h"
#include "platform/speech_voice.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "speech/callout_settings.h"
#include "speech/cue_watching_player.h"
#include "speech/lap_callouts.h"
#include "speech/wav_snippets.h"

namespace zarvo {

// Where the callouts' voices come from: the system's, or a test's fakes.
class CalloutVoiceMaker {
 public:
  virtual ~CalloutVoiceMaker() = default;
  virtual std::unique_ptr<SpeechVoice> OpenSpeech() = 0;
  virtual std::unique_ptr<PcmPlayer> OpenOutput() = 0;
  // Reads the built-in voice's snippets; returns how many were read.
  virtual int LoadSnippets(SnippetBank& bank) = 0;
};
// The edition's SAPI voice, the waveOut output and the snippet files of the current folder.
CalloutVoiceMaker& SystemCalloutVoices();

class LapCalloutsLink final : public LapListener {
 public:
  // run: the run whose state says whether laps are timed; player: the sound announcements'.
  LapCalloutsLink(const RunState& run, Clock& clock, SoundPlayer& player);
  LapCalloutsLink(const LapCalloutsLink&) = delete;
  LapCalloutsLink& operator=(const LapCalloutsLink&) = delete;

  // The player race control plays its cues on.
  SoundPlayer& CuePlayer() { return cues_; }
  // Before StartUp (tests): where the voices come from.
  void SetVoiceMaker(CalloutVoiceMaker& maker) { maker_ = &maker; }

  // Start-up: the record of a test run when the environment asks for one (callout_log.h), then
  // the settings file; a damaged file is reported (the callouts stay off).
  void StartUp(MessageBoxes& boxes);
  // Reads the settings file again (after the dialog); the voices open when the callouts are on.
  CalloutFileRead LoadSettings();

  // On every tick, after race control: whether laps are timed, then the callouts' own tick.
  void Tick();
  // LapListener: a lap of the run being timed.
  void LapRecorded(const RecordedLap& lap) override;
  // The end of the program: the voices silenced, the record's lines in its file.
  void End();

  const LapCallouts& callouts() const { return callouts_; }
  const CalloutSettings& settings() const { return settings_; }
  bool VoicesOpen() const { return voicesOpen_; }
  bool Recording() const { return log_ != nullptr; }

 private:
  // The voices as LapCallouts holds them, whatever was opened (nothing until the callouts are on).
  class SpeechSlot final : public SpeechVoice {
   public:
    VoiceStatus Status() const override {
      return voice ? voice->Status() : VoiceStatus::kUnavailable;
    }
    bool Say(const char* text) override { return voice && voice->Say(text); }
    bool Speaking() const override { return voice && voice->Speaking(); }
    void Stop() override {
      if (voice) voice->Stop();
    }
    std::unique_ptr<SpeechVoice> voice;
  };
  class OutputSlot final : public PcmPlayer {
   public:
    bool Play(PcmSound&& sound) override { return output && output->Play(std::move(sound)); }
    bool Playing() const override { return output && output->Playing(); }
    void Stop() override {
      if (output) output->Stop();
    }
    std::unique_ptr<PcmPlayer> output;
  };

  void OpenVoices();
  bool Timed() const { return run_.raceRunning && !run_.scanActive; }

  const RunState& run_;
  Clock& clock_;
  CalloutVoiceMaker* maker_;
  CalloutSettings settings_;
  SpeechSlot speech_;
  OutputSlot output_;
  SnippetBank snippets_;
  LapCallouts callouts_;
  CueWatchingPlayer cues_;
  std::unique_ptr<CalloutLog> log_;
  bool voicesOpen_ = false;
};

}  // namespace zarvo
