// WAV files of plain PCM: their header, their samples, and the built-in voice's snippets joined
// in memory into one sound. Every size is bounded; a damaged file is refused, never trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/pcm_player.h"
#include "speech/lap_phrase.h"

namespace zarvo {

enum class WavRead {
  kRead,
  kNotWave,      // no "RIFF" ... "WAVE" header, or no "fmt " chunk before the samples
  kUnsupported,  // not plain PCM of 8 or 16 bits, 1 or 2 channels, 8000..48000 Hz
  kTruncated,    // a chunk runs past the end of the bytes
};

struct WavInfo {
  PcmFormat format;
  size_t dataOffset;   // where the samples begin
  uint32_t dataBytes;  // as the "data" chunk declares them, cut down to whole frames
};

// Reads the chunks of a RIFF WAVE file up to its "data" chunk (chunks of other kinds, "LIST" and
// the like, are passed over, with their pad byte). With wholeData, the samples must all lie
// within bytes; without it, bytes may be only the file's beginning (enough for its length).
WavRead ParseWav(std::string_view bytes, bool wholeData, WavInfo& info);

// The length of the samples in milliseconds, rounded up.
uint32_t WavDurationMs(const WavInfo& info);

// The largest snippet file read and the largest sound composed: a phrase is a few seconds.
constexpr size_t kMaxSnippetFileBytes = 256 * 1024;
constexpr size_t kMaxComposedBytes = 1024 * 1024;
// The silence of a pause of the phrase.
constexpr uint32_t kSnippetPauseMs = 120;

// The snippet files of the edition's built-in voice, kept in memory as they were read.
class SnippetBank {
 public:
  // Reads every snippet file of the edition (SnippetFile names them, under the program folder);
  // a missing file or one larger than kMaxSnippetFileBytes is left empty. Returns how many
  // were read.
  int Load();
  void Set(SnippetId id, std::string bytes);
  // The bytes of the snippet's file; empty when it was not read (or for a pause).
  std::string_view File(SnippetId id) const;
  // Whether any snippet was read.
  bool Loaded() const;

 private:
  std::string files_[kSnippetCount];
};

struct ComposeResult {
  int taken;    // snippets whose samples are in the sound
  int skipped;  // snippets missing, damaged or of another format than the first one taken
};

// Joins the samples of the sequence's snippets into one sound. The first readable snippet sets
// the format; a snippet missing, damaged or of another format is skipped; a pause is silence
// (a pause before the first snippet or after the last one is left out); the sound stops before
// it would grow past kMaxComposedBytes. With nothing taken, out.samples is empty.
ComposeResult ComposeSnippets(const SnippetBank& bank, const SnippetSequence& sequence,
                              PcmSound& out);

}  // namespace zarvo
