// An output of its own for sounds composed in memory: it plays PCM samples on a thread of its
// own, beside the WAV files of the sound player, which it never cuts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace zarvo {

struct PcmFormat {
  uint32_t samplesPerSecond;
  uint16_t channels;
  uint16_t bitsPerSample;  // 8 (unsigned samples) or 16 (signed, little-endian)
};

inline bool SamePcmFormat(const PcmFormat& a, const PcmFormat& b) {
  return a.samplesPerSecond == b.samplesPerSecond && a.channels == b.channels &&
         a.bitsPerSample == b.bitsPerSample;
}

// Bytes per sample frame (every channel of one instant).
inline uint32_t PcmFrameBytes(const PcmFormat& f) {
  return uint32_t(f.channels) * (f.bitsPerSample / 8);
}

struct PcmSound {
  PcmFormat format;
  std::string samples;  // whole frames
};

class PcmPlayer {
 public:
  virtual ~PcmPlayer() = default;
  // Hands the sound to the player's thread and returns at once; sounds handed over play one
  // after another. False when the player holds as many as it takes, or has no output.
  virtual bool Play(PcmSound&& sound) = 0;
  // True from an accepted Play until every sound handed over has been played or stopped.
  virtual bool Playing() const = 0;
  // Silences the sound playing and drops those waiting; returns at once.
  virtual void Stop() = 0;
};

// The operating system's output (silent where the platform has none), with its own thread.
std::unique_ptr<PcmPlayer> OpenSystemPcmPlayer();

}  // namespace zarvo
