// WAV files of any content through the reader in both modes, several of them joined as the
// built-in voice joins its snippets, and the phrase of a lap made of the same bytes: the reader
// never points outside the bytes, a sound never outgrows its bound nor holds a partial frame,
// and a phrase names only snippets the edition has.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "speech/lap_phrase.h"
#include "speech/wav_snippets.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

void CheckReader(std::string_view bytes) {
  WavInfo whole;
  const WavRead read = ParseWav(bytes, true, whole);
  WavInfo header;
  const WavRead headerRead = ParseWav(bytes, false, header);
  if (read != WavRead::kRead) return;
  // Whatever reads whole reads as a header alone, the same way.
  FUZZ_CHECK(headerRead == WavRead::kRead);
  FUZZ_CHECK(header.dataOffset == whole.dataOffset && header.dataBytes == whole.dataBytes);
  FUZZ_CHECK(whole.dataOffset <= bytes.size());
  FUZZ_CHECK(whole.dataBytes <= bytes.size() - whole.dataOffset);
  FUZZ_CHECK(whole.dataBytes % PcmFrameBytes(whole.format) == 0);
  (void)WavDurationMs(whole);
}

void CheckPhrase(const uint8_t* data, size_t size) {
  if (size < 16) return;
  int32_t lapTime;
  std::memcpy(&lapTime, data, 4);
  char name[8] = {};
  std::memcpy(name, data + 9, 7);
  const LapEvent lap = MakeLapEvent(int8_t(data[4]), name, lapTime, int8_t(data[5]),
                                    (data[6] & 1) != 0, int8_t(data[7]));
  const bool sayPosition = (data[8] & 1) != 0;
  char text[48];
  const bool said = LapPhraseText(lap, sayPosition, text, sizeof text);
  FUZZ_CHECK(std::memchr(text, '\0', sizeof text) != nullptr);
  SnippetSequence seq;
  FUZZ_CHECK(LapPhraseSnippets(lap, sayPosition, seq) == said);
  FUZZ_CHECK(seq.count >= 0 && seq.count < kMaxPhraseSnippets);
  for (int i = 0; i < seq.count; ++i) {
    FUZZ_CHECK(seq.items[i] == kSnippetPause || EditionHasSnippet(seq.items[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckReader(input);
  CheckPhrase(data, size);

  // The input cut into up to four snippets at places its first bytes choose, and a sequence
  // naming them (with pauses) from the following bytes.
  if (size < 8) return 0;
  SnippetBank bank;
  size_t at = 8;
  for (int k = 0; k < 4 && at <= size; ++k) {
    const size_t length = std::min<size_t>(size - at, size_t(data[k]) * 16);
    bank.Set(SnippetId(kSnippetNumber0 + k), std::string(input.substr(at, length)));
    CheckReader(input.substr(at, length));
    at += length;
  }
  SnippetSequence seq{};
  int snippets = 0;
  for (int k = 4; k < 8; ++k) {
    for (int bit = 0; bit < 6; bit += 2) {
      const int pick = (data[k] >> bit) & 7;
      const SnippetId id = pick >= 4 ? kSnippetPause : SnippetId(kSnippetNumber0 + pick);
      if (id != kSnippetPause) ++snippets;
      seq.items[seq.count++] = id;
    }
  }
  PcmSound sound;
  const ComposeResult r = ComposeSnippets(bank, seq, sound);
  FUZZ_CHECK(r.taken >= 0 && r.skipped >= 0 && r.taken + r.skipped <= snippets);
  FUZZ_CHECK(sound.samples.size() <= kMaxComposedBytes);
  if (r.taken == 0) {
    FUZZ_CHECK(sound.samples.empty());
  } else {
    FUZZ_CHECK(sound.samples.size() % PcmFrameBytes(sound.format) == 0);
  }
  return 0;
}
