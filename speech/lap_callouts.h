// Lap callouts: each lap of a timed run, as the settings ask, queued by passage processing and
// said one after another by a voice of its own, never in the way of the timing or of the sound
// announcements.
//
// - Lap() only queues (a few copies in a fixed array); the tick returns at once. The voices
//   speak on threads of their own: Tick() hands one callout over when the voice is free.
// - The announcements' cues play on the sound player as they always have: a callout never cuts
//   one (it has an output of its own) and never begins while one plays (CueStarted).
// - Several cars crossing together are said one after another, each lane at most once waiting
//   (his newer lap replaces his older one); a callout that waited more than 3 s is dropped.
// - Nothing is said outside a timed run: not during the scan and its check, not after the end.
#pragma once

#include <cstdint>

#include "platform/pcm_player.h"
#include "platform/speech_voice.h"
#include "speech/callout_queue.h"
#include "speech/callout_settings.h"
#include "speech/lap_phrase.h"
#include "speech/wav_snippets.h"
#include "text/edition.h"

namespace zarvo {

// The Windows language id of the edition's speech voice.
constexpr unsigned kCalloutLanguageId = ZT(0x409u, 0x40Cu);

// Time left after a cue's own length before a callout may begin: the player takes a moment to
// start a sound.
constexpr uint32_t kCueMarginMs = 100;
// The longest a cue holds the callouts back, whatever its file claims: the cues last seconds.
constexpr uint32_t kMaxCueHoldMs = 10000;

enum class CalloutVoice {
  kNone,     // neither voice can speak: the callouts are taken and dropped
  kSpeech,   // the system's speech voice of the edition's language, saying the driver's name
  kBuiltIn,  // the snippets of the program folder, saying the driver's lane
};

// The voice a callout is given: the speech voice once it is ready (and has not failed), the
// built-in voice otherwise, while it starts too, as long as it has snippets.
CalloutVoice ChooseCalloutVoice(VoiceStatus speech, bool speechFailed, bool snippetsLoaded);

// Told of every callout handed to a voice: a test run's record of what was said.
class CalloutRecorder {
 public:
  virtual ~CalloutRecorder() = default;
  // At now, the lap was handed to the voice: the built-in voice with those snippets, or the
  // speech voice with that text (the other one is empty).
  virtual void Said(uint32_t now, const LapEvent& lap, CalloutVoice voice,
                    const SnippetSequence& snippets, const char* text) = 0;
};

class LapCallouts {
 public:
  // Everything is the caller's and outlives the callouts; the settings are read as they are
  // used, so a change applies from the next lap (or, for the position, the next callout).
  LapCallouts(const CalloutSettings& settings, SpeechVoice& speech, PcmPlayer& builtIn,
              const SnippetBank& snippets)
      : settings_(settings), speech_(speech), builtIn_(builtIn), snippets_(snippets) {}

  // Whether laps are being timed: on from the start of a run to its end, off before, during the
  // scan and its check, and after. Turning it off empties the line and silences the callout
  // being said; while it is off, laps are passed over.
  void SetRunTimed(bool timed);
  // A lap just recorded, at now (the system tick count, ms). Queued when the settings want it
  // (callouts on; with "only best laps", a best lap); returns at once.
  void Lap(uint32_t now, const LapEvent& lap);
  // A cue of the sound announcements began at now and plays for durationMs: no callout begins
  // before it has ended (and kCueMarginMs more), nor later than kMaxCueHoldMs after now.
  void CueStarted(uint32_t now, uint32_t durationMs);
  // On every tick: drops the callouts that waited too long, then, when no callout is being said
  // and no cue plays, hands the oldest one to a voice.
  void Tick(uint32_t now);

  // The voice the next callout will be given.
  CalloutVoice NextVoice() const;
  // Whether the settings have callouts on (the cues' lengths are worth knowing only then).
  bool On() const { return settings_.announceLaps; }
  // Told of every callout said; none when null.
  void SetRecorder(CalloutRecorder* recorder) { recorder_ = recorder; }

  struct Counts {
    int queued = 0;    // laps queued (a replacement counts too)
    int replaced = 0;  // waiting callouts replaced by a newer lap of the lane
    int stale = 0;     // dropped after waiting too long
    int said = 0;      // handed to a voice
    int unsaid = 0;    // taken, but no voice could say them
  };
  const Counts& counts() const { return counts_; }
  int Waiting() const { return queue_.Size(); }

 private:
  bool CueHolds(uint32_t now);
  void Say(uint32_t now, const LapEvent& lap);
  bool SayWithSpeech(uint32_t now, const LapEvent& lap);
  bool SayWithSnippets(uint32_t now, const LapEvent& lap);

  const CalloutSettings& settings_;
  SpeechVoice& speech_;
  PcmPlayer& builtIn_;
  const SnippetBank& snippets_;
  CalloutQueue queue_;
  bool timed_ = false;
  bool speechFailed_ = false;
  bool cueHold_ = false;
  uint32_t cueEnd_ = 0;
  Counts counts_;
  CalloutRecorder* recorder_ = nullptr;
};

}  // namespace zarvo
