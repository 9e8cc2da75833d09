// The lap callouts: what is queued, when a callout is handed over, and to which voice.
#include "speech/lap_callouts.h"

#include <utility>

namespace zarvo {

namespace {

constexpr size_t kCalloutTextCapacity = 160;

}  // namespace

CalloutVoice ChooseCalloutVoice(VoiceStatus speech, bool speechFailed, bool snippetsLoaded) {
  if (speech == VoiceStatus::kReady && !speechFailed) return CalloutVoice::kSpeech;
  return snippetsLoaded ? CalloutVoice::kBuiltIn : CalloutVoice::kNone;
}

CalloutVoice LapCallouts::NextVoice() const {
  return ChooseCalloutVoice(speech_.Status(), speechFailed_, snippets_.Loaded());
}

void LapCallouts::SetRunTimed(bool timed) {
  if (timed_ && !timed) {
    queue_.Clear();
    speech_.Stop();
    builtIn_.Stop();
  }
  timed_ = timed;
}

void LapCallouts::Lap(uint32_t now, const LapEvent& lap) {
  if (!timed_ || !settings_.announceLaps || !CanCallOut(lap)) return;
  if (settings_.onlyBestLaps && !SaysBestLap(lap)) return;
  const CalloutQueue::Push push = queue_.Add(now, lap);
  if (push == CalloutQueue::Push::kRefused) return;
  ++counts_.queued;
  if (push == CalloutQueue::Push::kReplaced) ++counts_.replaced;
}

void LapCallouts::CueStarted(uint32_t now, uint32_t durationMs) {
  if (durationMs > kMaxCueHoldMs - kCueMarginMs) durationMs = kMaxCueHoldMs - kCueMarginMs;
  const uint32_t end = now + durationMs + kCueMarginMs;
  // The later end of the cue playing and the new one (the player may let both sound).
  if (!cueHold_ || int32_t(end - cueEnd_) > 0) cueEnd_ = end;
  cueHold_ = true;
}

bool LapCallouts::CueHolds(uint32_t now) {
  if (cueHold_ && int32_t(now - cueEnd_) >= 0) cueHold_ = false;
  return cueHold_;
}

void LapCallouts::Tick(uint32_t now) {
  const bool holds = CueHolds(now);
  if (!timed_) return;
  if (!settings_.announceLaps) queue_.Clear();
  counts_.stale += queue_.DropStale(now);
  if (queue_.Size() == 0 || holds || speech_.Speaking() || builtIn_.Playing()) return;
  PendingCallout next;
  if (queue_.Take(next)) Say(now, next.lap);
}

void LapCallouts::Say(uint32_t now, const LapEvent& lap) {
  if (NextVoice() == CalloutVoice::kSpeech) {
    if (SayWithSpeech(now, lap)) {
      ++counts_.said;
      return;
    }
    // A voice that refuses a text while it is free has failed: the built-in voice takes over.
    speechFailed_ = true;
  }
  if (NextVoice() == CalloutVoice::kBuiltIn && SayWithSnippets(now, lap)) {
    ++counts_.said;
    return;
  }
  ++counts_.unsaid;
}

bool LapCallouts::SayWithSpeech(uint32_t now, const LapEvent& lap) {
  char text[kCalloutTextCapacity];
  if (!LapPhraseText(lap, settings_.sayPosition, text, sizeof text) || !speech_.Say(text)) {
    return false;
  }
  if (recorder_ != nullptr) {
    SnippetSequence none;
    none.count = 0;
    recorder_->Said(now, lap, CalloutVoice::kSpeech, none, text);
  }
  return true;
}

bool LapCallouts::SayWithSnippets(uint32_t now, const LapEvent& lap) {
  SnippetSequence sequence;
  if (!LapPhraseSnippets(lap, settings_.sayPosition, sequence)) return false;
  PcmSound sound;
  ComposeSnippets(snippets_, sequence, sound);
  if (sound.samples.empty() || !builtIn_.Play(std::move(sound))) return false;
  if (recorder_ != nullptr) recorder_->Said(now, lap, CalloutVoice::kBuiltIn, sequence, "");
  return true;
}

}  // namespace zarvo
