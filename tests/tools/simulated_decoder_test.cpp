// The simulated lap-counting box at made-up times: its answers, its clock, the cars' passages and
// the parsing of its options and scripts.
#include "tools/decoder-simulator/simulated_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "decoder/frames.h"

namespace zarvo::simulator {
namespace {

// (transponder, decoder time) of every Orix passage in bytes.
std::vector<std::pair<int, int32_t>> OrixPassages(const Bytes& bytes) {
  FrameCollector collector({kOrixPassage, kOrixPassageLength});
  std::vector<std::pair<int, int32_t>> out;
  for (uint8_t b : bytes) {
    if (collector.Push(b)) {
      out.emplace_back(PassageTransponder(collector.Frame()),
                       PassageDecoderTime(collector.Frame()));
    }
  }
  return out;
}

Bytes Answer(SimulatedDecoder& d, const uint8_t (&request)[kOrixRequestLength], int64_t now) {
  Bytes out;
  d.Receive(request, kOrixRequestLength, now, out);
  return out;
}

TEST(SimulatedDecoder, AnswersIdentifyWithItsKindAndId) {
  Settings s;
  s.decoderId = 0x1092;
  SimulatedDecoder wired(s, 0, 0);
  EXPECT_EQ(Answer(wired, kIdentifyRequest, 0), (Bytes{0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x10, 0x92}));
  s.device = Device::kOrixBluetooth;
  SimulatedDecoder bluetooth(s, 0, 0);
  EXPECT_EQ(Answer(bluetooth, kIdentifyRequest, 0)[4], kOrixKindBluetooth);
}

TEST(SimulatedDecoder, TheVexaInterfaceAnswersNothing) {
  Settings s;
  s.device = Device::kVexa;
  SimulatedDecoder vexa(s, 0, 0);
  EXPECT_TRUE(Answer(vexa, kIdentifyRequest, 0).empty());
  EXPECT_TRUE(Answer(vexa, kStartRequest, 0).empty());
}

TEST(SimulatedDecoder, RefusesTheChosenNumberOfStartsThenZeroesItsClock) {
  Settings s;
  s.startRefusals = 2;
  SimulatedDecoder d(s, 1000, 45000000);  // 12:30 on its clock
  EXPECT_EQ(d.DecoderClock(1000), 45000000);
  EXPECT_EQ(Answer(d, kStartRequest, 2000), (Bytes{0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x01}));
  EXPECT_EQ(Answer(d, kStartRequest, 2010), (Bytes{0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x01}));
  EXPECT_EQ(d.StartsAccepted(), 0);
  EXPECT_EQ(Answer(d, kStartRequest, 2020), (Bytes{0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00}));
  EXPECT_EQ(d.DecoderClock(2020), 0);
  EXPECT_EQ(d.DecoderClock(3520), 1500);
}

TEST(SimulatedDecoder, KeepAlivesAreNotAnswered) {
  SimulatedDecoder d(Settings{}, 0, 0);
  EXPECT_TRUE(Answer(d, kKeepAliveRequest, 0).empty());
}

TEST(SimulatedDecoder, CarsSetOffAtTheStartAndEachPassageIsStampedAtItsCrossing) {
  Settings s;
  s.transponders = {7, 8};
  s.lapMinMs = s.lapMaxMs = 1000;
  s.staggerMs = 150;
  s.lapsPerCar = 2;
  SimulatedDecoder d(s, 0, 36000000);
  Bytes out;
  d.Advance(50000, out);
  EXPECT_TRUE(out.empty());  // waiting on the grid
  Answer(d, kStartRequest, 60000);
  // Sent late (the line was busy): still stamped with the crossing times.
  d.Advance(63000, out);
  EXPECT_EQ(OrixPassages(out),
            (std::vector<std::pair<int, int32_t>>{{7, 1000}, {8, 1150}, {7, 2000}, {8, 2150}}));
  EXPECT_TRUE(d.Done());
}

TEST(SimulatedDecoder, RandomLapsStayInTheirRangeAndFollowTheSeed) {
  Settings s;
  s.transponders = {1};
  s.lapMinMs = 18000;
  s.lapMaxMs = 23000;
  s.seed = 5;
  s.waitForStart = false;
  SimulatedDecoder a(s, 0, 0);
  SimulatedDecoder b(s, 0, 0);
  Bytes outA;
  Bytes outB;
  a.Advance(2000000, outA);
  b.Advance(2000000, outB);
  EXPECT_EQ(outA, outB);
  const auto passages = OrixPassages(outA);
  ASSERT_GT(passages.size(), 80u);
  for (size_t i = 1; i < passages.size(); ++i) {
    const int32_t lap = passages[i].second - passages[i - 1].second;
    EXPECT_GE(lap, 18000);
    EXPECT_LE(lap, 23000);
  }
  EXPECT_FALSE(a.Done());  // no lap limit
}

TEST(SimulatedDecoder, ScriptedPassagesGoInTimeOrderAtTheirTimes) {
  Settings s;
  s.script = {{2500, 12}, {700, 11}, {700, 13}};
  SimulatedDecoder d(s, 0, 0);
  Answer(d, kStartRequest, 100);
  Bytes out;
  d.Advance(100 + 2499, out);
  EXPECT_EQ(OrixPassages(out), (std::vector<std::pair<int, int32_t>>{{11, 700}, {13, 700}}));
  EXPECT_FALSE(d.Done());
  d.Advance(100 + 2500, out);
  EXPECT_EQ(OrixPassages(out).back(), (std::pair<int, int32_t>{12, 2500}));
  EXPECT_TRUE(d.Done());
}

TEST(SimulatedDecoder, TheVexaSendsTwoBytesPerPassageFromTheOpeningOfTheLine) {
  Settings s;
  s.device = Device::kVexa;
  s.transponders = {0x1234};
  s.lapMinMs = s.lapMaxMs = 500;
  SimulatedDecoder d(s, 100, 0);
  Bytes out;
  d.Advance(1100, out);
  EXPECT_EQ(out, (Bytes{0x12, 0x34, 0x12, 0x34}));
  // The passages of the output are told, for the log of their instants, once each.
  EXPECT_EQ(d.TakeSentTransponders(), (std::vector<int>{0x1234, 0x1234}));
  EXPECT_TRUE(d.TakeSentTransponders().empty());
}

TEST(SimulatorOptions, TransponderListsTakeNumbersAndRanges) {
  std::vector<int> list;
  ASSERT_TRUE(ParseTransponders("5,1001-1003,65535", list));
  EXPECT_EQ(list, (std::vector<int>{5, 1001, 1002, 1003, 65535}));
  for (const char* bad : {"", "x", "65536", "3-1", "1,,2", "-4"}) {
    EXPECT_FALSE(ParseTransponders(bad, list)) << bad;
  }
}

TEST(SimulatorOptions, LapTimesAreFixedOrARange) {
  int low = 0;
  int high = 0;
  ASSERT_TRUE(ParseLapTimes("20000", low, high));
  EXPECT_EQ(std::make_pair(low, high), std::make_pair(20000, 20000));
  ASSERT_TRUE(ParseLapTimes("18000-23000", low, high));
  EXPECT_EQ(std::make_pair(low, high), std::make_pair(18000, 23000));
  EXPECT_FALSE(ParseLapTimes("0", low, high));
  EXPECT_FALSE(ParseLapTimes("9-3", low, high));
}

TEST(SimulatorOptions, ScriptLinesAreTimeAndTransponderWithComments) {
  std::vector<ScriptedPassage> script;
  int errorLine = 0;
  ASSERT_TRUE(
      ParseScript("# warm-up\n\n20500 1001\n  19800\t1002  # second car\n", script, errorLine));
  ASSERT_EQ(script.size(), 2u);
  EXPECT_EQ(script[0].timeMs, 19800);
  EXPECT_EQ(script[0].transponder, 1002);
  EXPECT_FALSE(ParseScript("100 1\n200\n", script, errorLine));
  EXPECT_EQ(errorLine, 2);
  EXPECT_FALSE(ParseScript("100 1 extra\n", script, errorLine));
  EXPECT_FALSE(ParseScript("100 70000\n", script, errorLine));
}

}  // namespace
}  // namespace zarvo::simulator
