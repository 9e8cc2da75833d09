// The snippets of the built-in voice shipped in data/sons/voix: every one the edition's phrases
// can name is there, short, of one format, and a whole phrase composes from them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/files.h"
#include "speech/callout_queue.h"
#include "speech/lap_phrase.h"
#include "speech/wav_snippets.h"
#include "tests/support/temp_folder.h"
#include "text/edition.h"

namespace zarvo {
namespace {

std::string ShippedPath(SnippetId id) {
  char path[64];
  if (!SnippetFile(id, path, sizeof path)) return "";
  return std::string(ZARVO_SOURCE_DIR) + "/data/" + path;
}

TEST(ShippedSnippets, EverySnippetOfTheEditionIsAShortMonoWaveAt16kHz) {
  int count = 0;
  size_t total = 0;
  for (int id = 0; id < kSnippetCount; ++id) {
    if (!EditionHasSnippet(SnippetId(id))) continue;
    const std::string path = ShippedPath(SnippetId(id));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path.c_str(), bytes, kMaxSnippetFileBytes)) << path;
    WavInfo info;
    ASSERT_EQ(ParseWav(bytes, true, info), WavRead::kRead) << path;
    EXPECT_EQ(info.format.samplesPerSecond, 16000u) << path;
    EXPECT_EQ(info.format.channels, 1) << path;
    EXPECT_EQ(info.format.bitsPerSample, 16) << path;
    // A word, quickly said: a tenth of a second to a second.
    EXPECT_GE(WavDurationMs(info), 100u) << path;
    EXPECT_LE(WavDurationMs(info), 1000u) << path;
    total += bytes.size();
    ++count;
  }
  // English: 0-59, 20 positions, 7 words; French: 0-99, 20 positions, 7 words, 5 feminine forms.
  EXPECT_EQ(count, 60 + 20 + 7 + ZT(0, 40 + 5));
  EXPECT_LT(total, size_t(ZT(2, 3)) << 20);
}

TEST(ShippedSnippets, APhraseOfTheEditionComposesWithNothingSkipped) {
  testing::TempFolder folder;
  // The program reads its snippets relative to the program folder, here the shipped data.
  ASSERT_TRUE(SetCurrentFolder((std::string(ZARVO_SOURCE_DIR) + "/data").c_str()));
  SnippetBank bank;
  EXPECT_EQ(bank.Load(), 60 + 20 + 7 + ZT(0, 40 + 5));
  SnippetSequence seq;
  ASSERT_TRUE(LapPhraseSnippets(MakeLapEvent(20, "", 3723995, 4, true, 20), true, seq));
  PcmSound sound;
  const ComposeResult r = ComposeSnippets(bank, seq, sound);
  EXPECT_EQ(r.skipped, 0);
  EXPECT_GE(r.taken, 12);

  // A lap of a practice run, with the longest words of the seconds and hundredths, is said in
  // less than the 3 s a callout may wait, so that a car crossing just after is still called out.
  ASSERT_TRUE(LapPhraseSnippets(MakeLapEvent(17, "", 57775, 4, false, 0), false, seq));
  EXPECT_EQ(ComposeSnippets(bank, seq, sound).skipped, 0);
  const uint32_t ms = uint32_t(sound.samples.size() / 32);
  EXPECT_LT(ms, kCalloutMaxAgeMs);
  std::printf("lane 17, 57.78: %u ms\n", unsigned(ms));
}

}  // namespace
}  // namespace zarvo
