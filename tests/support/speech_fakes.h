// Fakes of the callout voices (a speech voice and a sound output that record what they are
// given and stay busy until told they are done) and small WAV files made in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pcm_player.h"
#include "platform/speech_voice.h"

namespace zarvo::testing {

class FakeSpeechVoice : public SpeechVoice {
 public:
  VoiceStatus Status() const override { return status; }
  bool Say(const char* text) override {
    ++sayCalls;
    if (status != VoiceStatus::kReady || speaking || refuse) return false;
    said.push_back(text);
    speaking = true;
    return true;
  }
  bool Speaking() const override { return speaking; }
  void Stop() override {
    ++stops;
    speaking = false;
  }
  // The text being said has been said.
  void Finish() { speaking = false; }

  VoiceStatus status = VoiceStatus::kReady;
  bool speaking = false;
  bool refuse = false;  // a voice that has failed: it refuses every text
  int sayCalls = 0;
  int stops = 0;
  std::vector<std::string> said;
};

class FakePcmPlayer : public PcmPlayer {
 public:
  bool Play(PcmSound&& sound) override {
    played.push_back(std::move(sound));
    playing = true;
    return true;
  }
  bool Playing() const override { return playing; }
  void Stop() override {
    ++stops;
    playing = false;
  }
  void Finish() { playing = false; }

  bool playing = false;
  int stops = 0;
  std::vector<PcmSound> played;
};

inline void PutLe16(std::string& b, uint32_t v) {
  b += char(v & 0xFF);
  b += char(v >> 8 & 0xFF);
}
inline void PutLe32(std::string& b, uint32_t v) {
  PutLe16(b, v & 0xFFFF);
  PutLe16(b, v >> 16);
}

// A chunk with its id, size and pad byte.
inline std::string Chunk(const std::string& id, const std::string& body) {
  std::string c = id;
  PutLe32(c, uint32_t(body.size()));
  c += body;
  if (body.size() % 2 == 1) c += '\0';
  return c;
}

inline std::string FmtChunk(uint32_t rate, uint16_t channels, uint16_t bits, uint16_t tag = 1) {
  std::string body;
  PutLe16(body, tag);
  PutLe16(body, channels);
  PutLe32(body, rate);
  PutLe32(body, rate * channels * (bits / 8));
  PutLe16(body, uint16_t(channels * (bits / 8)));
  PutLe16(body, bits);
  return Chunk("fmt ", body);
}

// "RIFF" size "WAVE" and the chunks given.
inline std::string Riff(const std::string& chunks) {
  std::string w = "RIFF";
  PutLe32(w, uint32_t(4 + chunks.size()));
  return w + "WAVE" + chunks;
}

// A mono 16-bit WAV file of the given samples.
inline std::string Wav16(const std::vector<int16_t>& samples, uint32_t rate = 16000) {
  std::string data;
  for (int16_t s : samples) PutLe16(data, uint16_t(s));
  return Riff(FmtChunk(rate, 1, 16) + Chunk("data", data));
}

}  // namespace zarvo::testing
