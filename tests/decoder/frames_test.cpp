// The frames of the lap-counting box: decoder times, the encoders the simulator uses, and the
// sliding collectors that find frames among garbage and across reads.
#include "decoder/frames.h"

#include <gtest/gtest.h>

#include <vector>

namespace zarvo {
namespace {

using Bytes = std::vector<uint8_t>;

// Every frame the collector completes, as byte strings.
std::vector<Bytes> Collect(FrameCollector& collector, const Bytes& stream) {
  std::vector<Bytes> frames;
  for (uint8_t b : stream) {
    if (collector.Push(b)) {
      frames.emplace_back(collector.Frame(), collector.Frame() + collector.FrameLength());
    }
  }
  return frames;
}

Bytes Passage(int transponder, int32_t decoderTime) {
  uint8_t frame[kOrixPassageLength];
  EncodePassage(transponder, decoderTime, frame);
  return Bytes(frame, frame + sizeof frame);
}

TEST(DecoderTime, FirstSubSecondCountIsZeroMilliseconds) {
  EXPECT_EQ(DecoderTime(0, 0, 0, 18661), 0);
}

TEST(DecoderTime, LastSubSecondCountIs999Milliseconds) {
  EXPECT_EQ(DecoderTime(0, 0, 0, 65535), 999);
}

TEST(DecoderTime, HoursMinutesSecondsAndSubSecondAddUp) {
  // 42098 - 18661 = 23437 counts; 23437 * 256 / 12000 = 499 ms.
  EXPECT_EQ(DecoderTime(2, 3, 4, 42098), 7384499);
}

TEST(DecoderTime, IsReadFromThePassageFrame) {
  const Bytes frame = {0xFF, 0xFF, 0xFF, 0xF0, 0x04, 0xD2, 2, 3, 4, 42098 >> 8, 42098 & 0xFF};
  EXPECT_EQ(PassageTransponder(frame.data()), 1234);
  EXPECT_EQ(PassageDecoderTime(frame.data()), 7384499);
}

TEST(DecoderTime, ACountBelowTheFirstGivesNegativeMillisecondsTruncatedTowardsZero) {
  // (0 - 18661) * 256 / 12000 = -398.1 -> -398: a damaged stamp, not a crash.
  EXPECT_EQ(DecoderTime(0, 0, 1, 0), 1000 - 398);
}

TEST(PassageEncoding, EveryMillisecondOfASecondDecodesBackExactly) {
  for (int ms = 0; ms < 1000; ++ms) {
    const int count = SubSecondCount(ms);
    ASSERT_GE(count, kSubSecondFirst);
    ASSERT_LE(count, kSubSecondLast);
    ASSERT_EQ(DecoderTime(0, 0, 0, count), ms) << "count " << count;
  }
}

TEST(PassageEncoding, DecoderTimesUpToTwelveHoursDecodeBackExactly) {
  for (int32_t t : {0, 1, 999, 1000, 59999, 3599999, 7384499, 43200000, 43199999}) {
    const Bytes frame = Passage(65535, t);
    EXPECT_EQ(PassageDecoderTime(frame.data()), t);
    EXPECT_EQ(PassageTransponder(frame.data()), 65535);
  }
}

TEST(Transponder, IsWrittenWithSixDigits) {
  char text[kTransponderTextCapacity];
  FormatTransponder(1234, text);
  EXPECT_STREQ(text, "001234");
  FormatTransponder(65535, text);
  EXPECT_STREQ(text, "065535");
}

TEST(FrameCollector, ALeadingByteBeforeTheHeaderIsDroppedAndTheFrameDecoded) {
  FrameCollector collector({kOrixPassage, kOrixPassageLength});
  Bytes stream = {0x00};
  const Bytes frame = Passage(1234, 7384499);
  stream.insert(stream.end(), frame.begin(), frame.end());
  const auto frames = Collect(collector, stream);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], frame);
}

TEST(FrameCollector, AHeaderOfAnotherTypeIsSkipped) {
  FrameCollector collector({kOrixPassage, kOrixPassageLength});
  // An identify answer is not a passage; four FF before F0 slide by one.
  Bytes stream = {0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x00, 0x7B, 0xFF};
  const Bytes frame = Passage(7, 1000);
  stream.insert(stream.end(), frame.begin(), frame.end());
  const auto frames = Collect(collector, stream);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0], frame);
}

TEST(FrameCollector, AFrameSplitAtEveryByteBoundaryIsReassembled) {
  const Bytes frame = Passage(4321, 123456);
  for (size_t split = 1; split < frame.size(); ++split) {
    FrameCollector collector({kOrixPassage, kOrixPassageLength});
    const auto first = Collect(collector, Bytes(frame.begin(), frame.begin() + split));
    EXPECT_TRUE(first.empty());
    const auto second = Collect(collector, Bytes(frame.begin() + split, frame.end()));
    ASSERT_EQ(second.size(), 1u) << "split at " << split;
    EXPECT_EQ(second[0], frame);
  }
}

TEST(FrameCollector, ATruncatedFrameTakesTheNextBytesAndTheCollectorFindsTheFrameAfter) {
  FrameCollector collector({kOrixPassage, kOrixPassageLength});
  Bytes stream = {0xFF, 0xFF, 0xFF, 0xF0, 0x00, 0x01};  // cut after 6 of 11 bytes
  const Bytes swallowed = Passage(1, 5000);
  const Bytes next = Passage(2, 6000);
  stream.insert(stream.end(), swallowed.begin(), swallowed.end());
  stream.insert(stream.end(), next.begin(), next.end());
  const auto frames = Collect(collector, stream);
  // The cut frame is completed by five bytes of the next one (whatever they hold); the rest of
  // that frame is garbage and the third frame is found intact.
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1], next);
}

TEST(FrameCollector, AcceptsSeveralTypesWithTheirOwnLengths) {
  const FrameKind requests[] = {{kOrixIdentify, 5}, {kOrixStart, 5}, {kOrixKeepAlive, 5}};
  FrameCollector collector(requests, 3);
  Bytes stream(kKeepAliveRequest, kKeepAliveRequest + 5);
  stream.push_back(0x42);
  stream.insert(stream.end(), kStartRequest, kStartRequest + 5);
  stream.insert(stream.end(), kIdentifyRequest, kIdentifyRequest + 5);
  const auto frames = Collect(collector, stream);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0][3], kOrixKeepAlive);
  EXPECT_EQ(frames[1][3], kOrixStart);
  EXPECT_EQ(frames[2][3], kOrixIdentify);
}

TEST(FrameCollector, ClearForgetsAHalfCollectedFrame) {
  FrameCollector collector({kOrixStart, kOrixAnswerLength});
  Collect(collector, {0xFF, 0xFF, 0xFF, 0x02, 0x00});
  collector.Clear();
  EXPECT_EQ(collector.Held(), 0);
  // Without Clear these two bytes would complete an answer.
  EXPECT_TRUE(Collect(collector, {0x00, 0x00}).empty());
}

TEST(VexaCollector, EveryTwoBytesAreOneTransponderHighByteFirst) {
  VexaCollector collector;
  std::vector<int> seen;
  for (uint8_t b : Bytes{0x04, 0xD2, 0x00, 0x07, 0xFF}) {
    if (collector.Push(b)) seen.push_back(collector.Transponder());
  }
  EXPECT_EQ(seen, (std::vector<int>{1234, 7}));
  EXPECT_EQ(collector.Held(), 1);  // the odd byte waits for its partner
}

}  // namespace
}  // namespace zarvo
