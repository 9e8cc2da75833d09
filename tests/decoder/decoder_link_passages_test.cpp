// The conversation with the lap-counting box at simulated time: the start handshake, passages and
// their times, and the idle discard.
#include "decoder/decoder_link.h"

#include <gtest/gtest.h>

#include "tests/decoder/decoder_link_fixture.h"

namespace zarvo {
namespace {

using namespace link_testing;

// ----------------------------------------------------------------------------------------------
// Start handshake

TEST_F(DecoderLinkTest, TheVexaInterfaceStartsWithoutAHandshake) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  link.IdentifyAtStartUp();
  port.writes.clear();
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(DecoderLinkTest, TheStartRequestGoesAfterADiscardAndThreeZeroBytesStart) {
  ConnectWiredDecoder();
  // An accepted answer still waiting from an earlier conversation is thrown away before the
  // request: it must not start this run.
  port.Queue(Join({B({0x11}), StartAnswer(0, 0, 0)}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(port.writes, std::vector<Bytes>{kStart});
  EXPECT_EQ(port.Pending(), 0u);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 1);
}

TEST_F(DecoderLinkTest, AStartAnswerWithANonZeroByteRepeatsTheRequestOnTheNextTick) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(StartAnswer(0, 0, 1));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 1);
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 2);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
}

TEST_F(DecoderLinkTest, AStartAnswerCutAcrossTicksIsCollected) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x01, 0xFF, 0xFF, 0xFF, 0x02}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x00, 0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 1);
}

// The decoder zeroes its clock at every start request it receives: the request goes again only
// after a second without an answer (a decoder switched on after the countdown, a line down),
// never once an answer has been accepted.
TEST_F(DecoderLinkTest, AStartAnswerWithinASecondStartsTheRunOnTheOnlyRequestSent) {
  ConnectWiredDecoder();
  const int64_t sentAt = clock.NowMs();
  port.QueueAt(sentAt + 900, StartAnswer(0, 0, 0));
  StartStep step = link.StartHandshake();
  while (step == StartStep::kWaiting && clock.NowMs() - sentAt < 3000) {
    clock.Advance(10);
    step = link.StartHandshake();
  }
  EXPECT_EQ(step, StartStep::kStarted);
  EXPECT_GE(clock.NowMs() - sentAt, 900);
  EXPECT_LT(clock.NowMs() - sentAt, 920);
  EXPECT_EQ(CountWrites(kStart), 1);
  // A late second answer arriving during the run is no passage and sends nothing.
  port.Queue(Join({StartAnswer(0, 0, 0), PassageFrame(7, 5000)}));
  EXPECT_EQ(link.ReadPassages(sink), 1);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"000007", 5000}}));
  EXPECT_EQ(CountWrites(kStart), 1);
}

TEST_F(DecoderLinkTest, AStartRequestMetBySilenceGoesAgainEverySecondUntilOneIsAnswered) {
  ConnectWiredDecoder();
  std::vector<int64_t> sentAt;
  int answerAfter = 3;  // the decoder is switched on in time to hear the third request
  port.onWrite = [&](const Bytes& w) {
    if (w != kStart) return;
    sentAt.push_back(clock.NowMs());
    if (static_cast<int>(sentAt.size()) == answerAfter) {
      port.QueueAt(clock.NowMs() + 30, StartAnswer(0, 0, 0));
    }
  };
  StartStep step = link.StartHandshake();
  for (int i = 0; i < 1000 && step == StartStep::kWaiting; ++i) {
    clock.Advance(10);
    step = link.StartHandshake();
  }
  ASSERT_EQ(step, StartStep::kStarted);
  ASSERT_EQ(sentAt.size(), 3u);
  EXPECT_EQ(sentAt[1] - sentAt[0], 1000);
  EXPECT_EQ(sentAt[2] - sentAt[1], 1000);
  EXPECT_EQ(CountWrites(kStart), 3);
}

// A half answer followed by a second of silence: the request goes again and the rest of the
// lost answer, arriving late, does not make a frame with the bytes of the new one.
TEST_F(DecoderLinkTest, APieceOfALostAnswerIsForgottenWhenTheRequestGoesAgain) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0xFF, 0xFF, 0xFF, 0x02, 0x00}));
  for (int i = 0; i < 101; ++i) {
    clock.Advance(10);
    link.StartHandshake();
  }
  ASSERT_EQ(CountWrites(kStart), 2);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 2);
}

TEST_F(DecoderLinkTest, PressingStartForgetsAHalfReceivedAnswerAndSendsTheRequestAgain) {
  ConnectWiredDecoder();
  link.StartHandshake();
  port.Queue(B({0xFF, 0xFF, 0xFF, 0x02, 0x00}));
  link.StartHandshake();
  link.ClearCollectors();  // "Stop", then "Start" again
  port.Queue(B({0x00, 0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 2);
}

// ----------------------------------------------------------------------------------------------
// Passages and the idle discard

TEST_F(DecoderLinkTest, AnOrixPassageGivesItsTransponderTextAndDecoderTime) {
  ConnectWiredDecoder();
  port.Queue(Join({B({0x00}), PassageFrame(1234, 7384499)}));
  EXPECT_EQ(link.ReadPassages(sink), 1);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"001234", 7384499}}));
}

// ----------------------------------------------------------------------------------------------
// The time of a Vexa passage: the counter of the chunk that brought its last byte, however late
// the tick comes to it.

class VexaStamps : public DecoderLinkTest {
 protected:
  void SetUp() override {
    StoreSettings("COM3\t1\tZarvo\r\n");
    link.IdentifyAtStartUp();
    start = clock.NowMs();
  }
  static Bytes Vexa(int transponder) {
    uint8_t frame[kVexaPassageLength];
    EncodeVexaPassage(transponder, frame);
    return Bytes(frame, frame + sizeof frame);
  }
  int64_t start = 0;
};

TEST_F(VexaStamps, AFrameSplitOverTwoChunksHasTheArrivalOfItsSecondByteWhateverTheTickDelay) {
  for (int delay : {0, 9, 40, 500, 2000}) {
    sink.passages.clear();
    const int64_t at = clock.NowMs();
    port.QueueAt(at + 3, B({0x04}));
    port.QueueAt(at + 7, B({0xD2}));
    clock.Advance(7 + delay);  // the tick comes that much after the second byte
    EXPECT_EQ(link.ReadPassages(sink), 1) << delay;
    ASSERT_EQ(sink.passages.size(), 1u) << delay;
    EXPECT_STREQ(sink.passages[0].transponder, "001234");
    EXPECT_EQ(sink.passages[0].source, PassageSource::kVexa);
    EXPECT_EQ(sink.passages[0].counter, FakeSerialPort::CounterAt(at + 7)) << delay;
  }
}

TEST_F(VexaStamps, EightCarsWithin60MsReadBeforeOneLateTickKeepTheirOwnArrivals) {
  std::vector<int64_t> arrivals;
  for (int car = 0; car < 8; ++car) {
    arrivals.push_back(start + 2 + car * 8);
    port.QueueAt(arrivals.back(), Vexa(101 + car));
  }
  clock.Advance(600);  // a UI stall: the tick comes long after the last car
  EXPECT_EQ(link.ReadPassages(sink), 8);
  ASSERT_EQ(sink.passages.size(), 8u);
  for (int car = 0; car < 8; ++car) {
    char text[kTransponderTextCapacity];
    FormatTransponder(101 + car, text);
    EXPECT_STREQ(sink.passages[car].transponder, text);
    EXPECT_EQ(sink.passages[car].counter, FakeSerialPort::CounterAt(arrivals[car])) << car;
  }
}

// Eight frames in chunks cut anywhere (a frame's two bytes may be in two chunks, a chunk may hold
// several frames): each frame has the stamp of the chunk that completed it.
TEST_F(VexaStamps, APackOfEightFramesGetsTheStampsOfTheChunksThatCompletedThem) {
  Bytes pack;
  for (int car = 1; car <= 8; ++car) {
    const Bytes frame = Vexa(car);
    pack.insert(pack.end(), frame.begin(), frame.end());
  }
  // Chunks of 3, 1, 5, 2 and 5 bytes arriving 10 ms apart.
  const int cuts[] = {3, 1, 5, 2, 5};
  std::vector<int64_t> chunkEnd;  // the arrival of the chunk holding each byte
  size_t at = 0;
  for (int k = 0; k < 5; ++k) {
    const int64_t arrival = start + 10 * (k + 1);
    port.QueueAt(arrival, Bytes(pack.begin() + at, pack.begin() + at + cuts[k]));
    for (int b = 0; b < cuts[k]; ++b) chunkEnd.push_back(arrival);
    at += cuts[k];
  }
  clock.Advance(200);
  EXPECT_EQ(link.ReadPassages(sink), 8);
  ASSERT_EQ(sink.passages.size(), 8u);
  for (int car = 0; car < 8; ++car) {
    EXPECT_EQ(sink.passages[car].counter, FakeSerialPort::CounterAt(chunkEnd[2 * car + 1]))
        << "car " << car + 1;
  }
  // Bytes 0..15: frames 1..8 end in chunks 1, 2, 3, 3, 4, 5, 5, 5 (arrivals 10 to 50 ms).
  EXPECT_EQ(sink.passages[1].counter, FakeSerialPort::CounterAt(start + 20));
  EXPECT_EQ(sink.passages[7].counter, FakeSerialPort::CounterAt(start + 50));
}

// Handling a passage may take time (a sound that cuts another, a repaint): the cars that came in
// the same chunk keep its time.
TEST_F(VexaStamps, EightFramesOfOneChunkAllCarryItsCounterHoweverLongEachTakes) {
  class SlowSink : public PassageSink {
   public:
    explicit SlowSink(FakeClock& clock) : clock_(clock) {}
    void OnPassage(const DecoderPassage& passage) override {
      counters.push_back(passage.counter);
      clock_.Advance(20);
    }
    std::vector<int64_t> counters;

   private:
    FakeClock& clock_;
  } slow(clock);
  Bytes pack;
  for (int car = 1; car <= 8; ++car) {
    const Bytes frame = Vexa(car);
    pack.insert(pack.end(), frame.begin(), frame.end());
  }
  port.QueueAt(start + 4, pack);
  clock.Advance(30);
  EXPECT_EQ(link.ReadPassages(slow), 8);
  EXPECT_EQ(slow.counters, std::vector<int64_t>(8, FakeSerialPort::CounterAt(start + 4)));
}

TEST_F(DecoderLinkTest, ATickTakesEveryChunkThatHasArrivedAndNothingDueLater) {
  ConnectWiredDecoder();
  for (int i = 0; i < 30; ++i) port.QueueAt(clock.NowMs(), PassageFrame(i, i * 100));
  port.QueueAt(clock.NowMs() + 50, PassageFrame(99, 9900));
  EXPECT_EQ(link.ReadPassages(sink), 30);
  EXPECT_EQ(link.ReadPassages(sink), 0);
  clock.Advance(50);
  EXPECT_EQ(link.ReadPassages(sink), 1);
}

TEST_F(DecoderLinkTest, TheIdleDiscardThrowsAwayWhatHasArrivedAndNothingDueLater) {
  ConnectWiredDecoder();
  port.Queue(Bytes(300, 0x55));
  port.Queue(B({0x01, 0x02}));
  port.QueueAt(clock.NowMs() + 20, PassageFrame(5, 500));
  link.DiscardInput();
  EXPECT_EQ(port.Pending(), 1u);
  clock.Advance(20);
  EXPECT_EQ(link.ReadPassages(sink), 1);
}

TEST_F(DecoderLinkTest, PressingStartEmptiesThePassageCollector) {
  ConnectWiredDecoder();
  const Bytes frame = PassageFrame(9, 9000);
  port.Queue(Bytes(frame.begin(), frame.begin() + 6));
  link.ReadPassages(sink);
  link.ClearCollectors();
  port.Queue(PassageFrame(10, 10000));
  link.ReadPassages(sink);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"000010", 10000}}));
}

// Random passages among random garbage, cut into random reads: the link delivers exactly the
// passages sent, in order, whatever the cuts.
TEST_F(DecoderLinkTest, PassagesAmongGarbageSurviveAnyCutIntoReads) {
  ConnectWiredDecoder();
  std::mt19937 random(20261207);
  for (int round = 0; round < 40; ++round) {
    Bytes stream;
    std::vector<std::pair<std::string, int32_t>> sent;
    auto push = [&](uint8_t b) { stream.push_back(b); };
    for (int k = 0; k < 25; ++k) {
      const int garbage = std::uniform_int_distribution<int>(0, 6)(random);
      for (int g = 0; g < garbage; ++g) {
        uint8_t b = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
        if (random() % 3 == 0) b = 0xFF;
        // Garbage never completes a passage header of its own.
        const size_t n = stream.size();
        if (b == kOrixPassage && n >= 3 && stream[n - 1] == 0xFF && stream[n - 2] == 0xFF &&
            stream[n - 3] == 0xFF) {
          b = 0x00;
        }
        push(b);
      }
      const int transponder = std::uniform_int_distribution<int>(0, 65535)(random);
      const int32_t time = std::uniform_int_distribution<int32_t>(0, 43200000)(random);
      for (uint8_t b : PassageFrame(transponder, time)) push(b);
      char text[kTransponderTextCapacity];
      FormatTransponder(transponder, text);
      sent.emplace_back(text, time);
    }
    size_t at = 0;
    while (at < stream.size()) {
      const size_t piece = std::uniform_int_distribution<size_t>(1, 40)(random);
      const size_t end = std::min(stream.size(), at + piece);
      port.Queue(Bytes(stream.begin() + at, stream.begin() + end));
      at = end;
    }
    sink.passages.clear();
    while (port.Pending() > 0) link.ReadPassages(sink);
    ASSERT_EQ(sink.Orix(), sent) << "round " << round;
  }
}

TEST_F(DecoderLinkTest, VexaPassagesSurviveAnyCutIntoReads) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  link.IdentifyAtStartUp();
  std::mt19937 random(7);
  Bytes stream;
  std::vector<std::string> sent;
  for (int k = 0; k < 500; ++k) {
    const int transponder = std::uniform_int_distribution<int>(0, 65535)(random);
    uint8_t frame[kVexaPassageLength];
    EncodeVexaPassage(transponder, frame);
    stream.insert(stream.end(), frame, frame + 2);
    char text[kTransponderTextCapacity];
    FormatTransponder(transponder, text);
    sent.push_back(text);
  }
  for (size_t at = 0; at < stream.size();) {
    const size_t end = std::min(stream.size(), at + 1 + random() % 9);
    port.Queue(Bytes(stream.begin() + at, stream.begin() + end));
    at = end;
  }
  while (port.Pending() > 0) link.ReadPassages(sink);
  std::vector<std::string> got;
  for (const DecoderPassage& p : sink.passages) got.push_back(p.transponder);
  EXPECT_EQ(got, sent);
}

}  // namespace
}  // namespace zarvo
