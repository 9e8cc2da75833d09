// A speech voice of the operating system that says texts on a thread of its own. The caller hands
// a text over and returns at once; the voice's thread does the speaking.
#pragma once

#include <memory>

namespace zarvo {

enum class VoiceStatus {
  kStarting,     // the voice's thread is still looking for a voice
  kReady,        // a voice of the language was found and opened
  kUnavailable,  // no speech service, no voice of the language, or the voice failed
};

class SpeechVoice {
 public:
  virtual ~SpeechVoice() = default;
  // May change from kStarting to kReady or kUnavailable, and from kReady to kUnavailable.
  virtual VoiceStatus Status() const = 0;
  // Hands a Windows-1252 text to the voice's thread and returns at once. False when the voice
  // is not ready or is still saying an earlier text.
  virtual bool Say(const char* text) = 0;
  // True from an accepted Say until the text has been said or stopped.
  virtual bool Speaking() const = 0;
  // Silences the text being said, if any; returns at once.
  virtual void Stop() = 0;
};

// The system's voice of a language, by its Windows language id (0x409 English, 0x40C French),
// opened on a thread of its own: Status() says kStarting until the search has ended. Never null;
// where the platform has no speech the voice is kUnavailable from the start.
std::unique_ptr<SpeechVoice> OpenSystemSpeechVoice(unsigned languageId);

}  // namespace zarvo
