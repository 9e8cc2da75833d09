// The WAV reader on small files made in memory, and the composition of snippets into one sound:
// order, pauses, skipped snippets (missing, damaged, of another format), the size bound, and
// the snippets read from the program folder.
#include "speech/wav_snippets.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "tests/support/speech_fakes.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::Chunk;
using testing::FmtChunk;
using testing::Riff;
using testing::Wav16;

std::vector<int16_t> Samples16(const PcmSound& sound) {
  std::vector<int16_t> out;
  for (size_t i = 0; i + 1 < sound.samples.size(); i += 2) {
    out.push_back(int16_t(uint8_t(sound.samples[i]) | uint8_t(sound.samples[i + 1]) << 8));
  }
  return out;
}

SnippetSequence Sequence(std::initializer_list<SnippetId> ids) {
  SnippetSequence seq{};
  for (SnippetId id : ids) seq.items[seq.count++] = id;
  return seq;
}

constexpr SnippetId kA = SnippetId(kSnippetNumber0 + 1);
constexpr SnippetId kB = SnippetId(kSnippetNumber0 + 2);
constexpr SnippetId kC = SnippetId(kSnippetNumber0 + 3);

TEST(WavReader, APlainPcmFileGivesItsFormatAndSamples) {
  const std::string wav = Wav16({1, -2, 3}, 22050);
  WavInfo info;
  ASSERT_EQ(ParseWav(wav, true, info), WavRead::kRead);
  EXPECT_EQ(info.format.samplesPerSecond, 22050u);
  EXPECT_EQ(info.format.channels, 1);
  EXPECT_EQ(info.format.bitsPerSample, 16);
  EXPECT_EQ(info.dataOffset, 44u);
  EXPECT_EQ(info.dataBytes, 6u);
}

TEST(WavReader, OtherChunksArePassedOverWithTheirPadByte) {
  // An odd-sized LIST chunk before the format and a "fact" chunk before the samples.
  const std::string wav = Riff(Chunk("LIST", "INFOabc") + FmtChunk(16000, 2, 8) +
                               Chunk("fact", "1234") + Chunk("data", "\x10\x20\x30\x40"));
  WavInfo info;
  ASSERT_EQ(ParseWav(wav, true, info), WavRead::kRead);
  EXPECT_EQ(info.format.channels, 2);
  EXPECT_EQ(info.format.bitsPerSample, 8);
  EXPECT_EQ(wav.substr(info.dataOffset, info.dataBytes), "\x10\x20\x30\x40");
}

TEST(WavReader, FilesThatAreNotPlainPcmAreRefused) {
  WavInfo info;
  EXPECT_EQ(ParseWav("", true, info), WavRead::kNotWave);
  EXPECT_EQ(ParseWav(std::string("RIFF\x04\0\0\0WAVE", 12), true, info), WavRead::kNotWave);
  EXPECT_EQ(ParseWav("RIFX" + Wav16({1}).substr(4), true, info), WavRead::kNotWave);
  // Samples before any format.
  EXPECT_EQ(ParseWav(Riff(Chunk("data", "ab") + FmtChunk(16000, 1, 16)), true, info),
            WavRead::kNotWave);
  const std::string data = Chunk("data", "abcd");
  EXPECT_EQ(ParseWav(Riff(FmtChunk(16000, 1, 16, 3) + data), true, info), WavRead::kUnsupported);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(16000, 1, 24) + data), true, info), WavRead::kUnsupported);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(16000, 3, 16) + data), true, info), WavRead::kUnsupported);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(96000, 1, 16) + data), true, info), WavRead::kUnsupported);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(4000, 1, 16) + data), true, info), WavRead::kUnsupported);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(0, 1, 16) + data), true, info), WavRead::kUnsupported);
  // A block size that does not match the channels and bits.
  std::string fmt = FmtChunk(16000, 1, 16);
  fmt[8 + 12] = 4;
  EXPECT_EQ(ParseWav(Riff(fmt + data), true, info), WavRead::kUnsupported);
  // A format chunk too short to hold a format.
  EXPECT_EQ(ParseWav(Riff(Chunk("fmt ", std::string("\x01\0\x01\0", 4)) + data), true, info),
            WavRead::kUnsupported);
}

TEST(WavReader, ChunksRunningPastTheEndAreTruncatedUnlessOnlyTheHeaderIsAsked) {
  std::string wav = Wav16({1, 2, 3, 4});
  wav.resize(wav.size() - 3);  // the samples cut short
  WavInfo info;
  EXPECT_EQ(ParseWav(wav, true, info), WavRead::kTruncated);
  // The beginning of a file is enough to know its length.
  ASSERT_EQ(ParseWav(wav, false, info), WavRead::kRead);
  EXPECT_EQ(info.dataBytes, 8u);
  // A size that would wrap around when added to the offset.
  std::string huge = Riff(FmtChunk(16000, 1, 16) + "LIST" + std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(ParseWav(huge, true, info), WavRead::kTruncated);
  EXPECT_EQ(ParseWav(huge, false, info), WavRead::kTruncated);
  // A format chunk cut short, and a file ending right after its format.
  EXPECT_EQ(ParseWav(Riff(FmtChunk(16000, 1, 16)).substr(0, 30), true, info), WavRead::kTruncated);
  EXPECT_EQ(ParseWav(Riff(FmtChunk(16000, 1, 16)), true, info), WavRead::kTruncated);
}

TEST(WavReader, SamplesAreCutToWholeFramesAndTheLengthRoundsUp) {
  WavInfo info;
  ASSERT_EQ(ParseWav(Riff(FmtChunk(16000, 1, 16) + Chunk("data", "abc")), true, info),
            WavRead::kRead);
  EXPECT_EQ(info.dataBytes, 2u);
  info.dataBytes = 32000;
  EXPECT_EQ(WavDurationMs(info), 1000u);
  info.dataBytes = 32002;
  EXPECT_EQ(WavDurationMs(info), 1001u);
  info.dataBytes = 0xFFFFFFFE;
  EXPECT_EQ(WavDurationMs(info), 134217728u);
}

TEST(SnippetComposition, SnippetsFollowOneAnotherWithSilenceAtThePauses) {
  SnippetBank bank;
  bank.Set(kA, Wav16({1, 2, 3}));
  bank.Set(kB, Wav16({4, 5}));
  PcmSound sound;
  ComposeResult r = ComposeSnippets(bank, Sequence({kA, kB, kA}), sound);
  EXPECT_EQ(r.taken, 3);
  EXPECT_EQ(r.skipped, 0);
  EXPECT_EQ(Samples16(sound), (std::vector<int16_t>{1, 2, 3, 4, 5, 1, 2, 3}));
  EXPECT_EQ(sound.format.samplesPerSecond, 16000u);

  // A pause is 120 ms of silence between two snippets; at either end it is left out.
  r = ComposeSnippets(bank, Sequence({kSnippetPause, kA, kSnippetPause, kB, kSnippetPause}), sound);
  EXPECT_EQ(r.taken, 2);
  std::vector<int16_t> expected = {1, 2, 3};
  expected.insert(expected.end(), 16000 * kSnippetPauseMs / 1000, 0);
  expected.insert(expected.end(), {4, 5});
  EXPECT_EQ(Samples16(sound), expected);
}

TEST(SnippetComposition, MissingDamagedAndOtherFormatSnippetsAreSkipped) {
  SnippetBank bank;
  bank.Set(kA, Wav16({1, 2}, 22050));
  bank.Set(kB, Wav16({3}, 16000));  // another rate than the first one taken
  std::string cut = Wav16({7, 8, 9});
  cut.resize(cut.size() - 1);
  bank.Set(kC, cut);  // damaged
  PcmSound sound;
  // The first snippet is missing: the first one readable sets the format.
  const ComposeResult r =
      ComposeSnippets(bank, Sequence({kSnippetBestLap, kA, kB, kC, kSnippetPause, kA}), sound);
  EXPECT_EQ(r.taken, 2);
  EXPECT_EQ(r.skipped, 3);
  EXPECT_EQ(sound.format.samplesPerSecond, 22050u);
  std::vector<int16_t> expected = {1, 2};
  expected.insert(expected.end(), 22050 * kSnippetPauseMs / 1000, 0);
  expected.insert(expected.end(), {1, 2});
  EXPECT_EQ(Samples16(sound), expected);

  // Nothing readable: an empty sound.
  EXPECT_EQ(ComposeSnippets(SnippetBank(), Sequence({kA, kSnippetPause, kB}), sound).taken, 0);
  EXPECT_TRUE(sound.samples.empty());
}

TEST(SnippetComposition, TheSilenceOfEightBitSoundsIsTheirMiddleValue) {
  SnippetBank bank;
  bank.Set(kA, Riff(FmtChunk(8000, 1, 8) + Chunk("data", "\x01")));
  PcmSound sound;
  ComposeSnippets(bank, Sequence({kA, kSnippetPause, kA}), sound);
  EXPECT_EQ(sound.samples, "\x01" + std::string(8000 * kSnippetPauseMs / 1000, '\x80') + "\x01");
}

TEST(SnippetComposition, TheSoundStopsBeforeItOutgrowsItsBound) {
  SnippetBank bank;
  // 200 KB of samples each: five fit in 1 MB, the sixth would not.
  bank.Set(kA, Wav16(std::vector<int16_t>(100 * 1024, 9)));
  ASSERT_FALSE(bank.File(kA).empty());
  PcmSound sound;
  const ComposeResult r = ComposeSnippets(bank, Sequence({kA, kA, kA, kA, kA, kA, kA}), sound);
  EXPECT_EQ(r.taken, 5);
  EXPECT_EQ(r.skipped, 1);
  EXPECT_EQ(sound.samples.size(), 5u * 200 * 1024);
  EXPECT_LE(sound.samples.size(), kMaxComposedBytes);
  // A file over the snippet bound is not kept at all.
  bank.Set(kB, std::string(kMaxSnippetFileBytes + 1, 'x'));
  EXPECT_TRUE(bank.File(kB).empty());
}

TEST(SnippetBank, LoadsTheEditionsFilesFromTheProgramFolderAndLeavesTheRestEmpty) {
  testing::TempFolder folder;
  SnippetBank bank;
  EXPECT_FALSE(bank.Loaded());
  EXPECT_EQ(bank.Load(), 0);
  EXPECT_FALSE(bank.Loaded());

  ASSERT_TRUE(MakeDirectory("sons") && MakeDirectory("sons/voix"));
  char path[64];
  ASSERT_TRUE(SnippetFile(kA, path, sizeof path));
  testing::WriteBytes(path, Wav16({11}));
  ASSERT_TRUE(SnippetFile(kSnippetLane, path, sizeof path));
  testing::WriteBytes(path, Wav16({12}));
  ASSERT_TRUE(SnippetFile(kB, path, sizeof path));
  testing::WriteBytes(path, std::string(kMaxSnippetFileBytes + 1, 'x'));  // too large
  EXPECT_EQ(bank.Load(), 2);
  EXPECT_TRUE(bank.Loaded());
  EXPECT_EQ(bank.File(kA), Wav16({11}));
  EXPECT_EQ(bank.File(kSnippetLane), Wav16({12}));
  EXPECT_TRUE(bank.File(kB).empty());
  EXPECT_TRUE(bank.File(kSnippetPause).empty());
}

}  // namespace
}  // namespace zarvo
