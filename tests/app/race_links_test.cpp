// The decoder link under race control at simulated time: a pack of Vexa cars crossing together
// keeps the time of its arrival, however long the sounds take to start and however late the tick
// comes; the start handshake of the Orix decoder is repeated on silence and never after the
// decoder has answered.
#include "app/race_links.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "decoder/decoder_link.h"
#include "decoder/frames.h"
#include "platform/files.h"
#include "race/race_control.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::Bytes;
using testing::FakeClock;

// Starting a sound that cuts another can hold the thread for milliseconds: this one takes 20 ms
// of simulated time per call.
class SlowSoundPlayer : public SoundPlayer {
 public:
  explicit SlowSoundPlayer(FakeClock& clock) : clock_(clock) {}
  void Play(const char* fileName, bool) override {
    played.push_back(fileName);
    clock_.Advance(20);
  }
  std::vector<std::string> played;

 private:
  FakeClock& clock_;
};

class VexaPackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.autoAdvanceNs = 100000;  // the identification's 1.5 s wait passes at once
    ASSERT_TRUE(WriteFileReplacing(settings.c_str(), "COM3\t1\tZarvo\r\n"));
    ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kNoAnswer);  // the Vexa
    clock.autoAdvanceNs = 0;
    race = testing::MakeRace({{"A", "000001"},
                              {"B", "000002"},
                              {"C", "000003"},
                              {"D", "000004"},
                              {"E", "000005"},
                              {"F", "000006"},
                              {"G", "000007"},
                              {"H", "000008"}});
    race->run.raceRunning = false;
    race->run.ready = true;
    race->params.countdownSeconds = 0;
    std::memset(circuits.get(), 0, sizeof(CircuitTable));
    sounds = testing::AllSoundsOn();
    control = std::make_unique<RaceControl>(RaceControlWorld{*race, *circuits, sounds, list, clock,
                                                             player, boxes, ui, channel, archive});
    control->PrepareClockTexts();
    control->OnStart();
    for (int i = 0; i < 10 && !race->run.raceRunning; ++i) Tick();
    ASSERT_TRUE(race->run.raceRunning);
  }
  void Tick() {
    clock.Advance(10);
    control->OnTick();
  }
  // The eight cars in one read, each as its 2-byte frame.
  void QueuePack() {
    Bytes pack;
    for (int car = 1; car <= 8; ++car) {
      uint8_t frame[kVexaPassageLength];
      EncodeVexaPassage(car, frame);
      pack.insert(pack.end(), frame, frame + kVexaPassageLength);
    }
    port.Queue(pack);
  }

  FakeClock clock;
  testing::FakeSerialPort port{&clock};
  testing::RecordingMessageBoxes boxes;
  testing::TempFolder folder;
  std::string settings = folder.File(kInterfaceSettingsFile);
  DecoderLink link{clock, port, boxes, settings.c_str()};
  DecoderLinkChannel channel{link};
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits = std::make_unique<CircuitTable>();
  SoundSettings sounds;
  ParticipantsList list = {};
  SlowSoundPlayer player{clock};
  testing::RecordingRaceUi ui;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> control;
};

TEST_F(VexaPackTest, EightCarsOfOneReadGetTheSameTimeAndOneSoundAfterThem) {
  for (int i = 0; i < 300; ++i) Tick();  // 3 s into the run
  player.played.clear();
  const int64_t arrival = clock.nowNs / 100;
  QueuePack();
  Tick();
  const int32_t expected = static_cast<int32_t>(PcRaceTime(race->run, arrival));
  // Under the staggered start the first crossing of each car is his own start.
  for (int s = 0; s < 8; ++s) {
    EXPECT_EQ(race->slots[s].ownStart, expected) << "slot " << s + 1;
  }
  // One sound for the pack, played once every car is in.
  EXPECT_EQ(player.played, std::vector<std::string>{"sons/beep1.wav"});
}

TEST_F(VexaPackTest, TheCueThatMattersWinsOverTheBeepsOfThePack) {
  for (int i = 0; i < 300; ++i) Tick();
  QueuePack();
  Tick();  // own starts
  for (int i = 0; i < 500; ++i) Tick();
  QueuePack();
  Tick();  // first laps, 5 s each: never announced as best laps
  for (int i = 0; i < 400; ++i) Tick();
  // Only car 5 (in the middle of the pack) improves his best with this 4 s lap.
  for (int s = 0; s < 8; ++s) {
    if (s != 4) race->slots[s].bestLap = 1;
  }
  player.played.clear();
  QueuePack();
  Tick();
  ASSERT_EQ(race->slots[4].lapCount, 2);
  EXPECT_EQ(player.played, std::vector<std::string>{"sons/youpi.wav"});
}

// The window is held for 500 ms (a repaint, a disk that hangs) while the cars cross: every lap
// is still the time between the arrivals of its two passages.
TEST_F(VexaPackTest, AStallOfTheTickChangesNoLapTime) {
  for (int i = 0; i < 300; ++i) Tick();
  // Each car crosses at 3000 + 7 * car ms, then 4100 + 11 * car ms later, then 3900 ms later.
  const int64_t origin = clock.NowMs();
  std::vector<std::vector<int64_t>> crossings(8);
  for (int car = 0; car < 8; ++car) {
    const int64_t first = origin + 3000 + 7 * car;
    crossings[car] = {first, first + 4100 + 11 * car, first + 4100 + 11 * car + 3900};
  }
  for (int lap = 0; lap < 3; ++lap) {
    for (int car = 0; car < 8; ++car) {
      uint8_t frame[kVexaPassageLength];
      EncodeVexaPassage(car + 1, frame);
      port.QueueAt(crossings[car][lap], Bytes(frame, frame + kVexaPassageLength));
    }
  }
  // Ticks every 10 ms, except that the tick is held 500 ms from just before each pack.
  const int64_t end = origin + 12000;
  while (clock.NowMs() < end) {
    const int64_t now = clock.NowMs();
    bool stall = false;
    for (int lap = 0; lap < 3; ++lap) stall = stall || now + 10 == crossings[0][lap];
    clock.Advance(stall ? 500 : 10);
    control->OnTick();
  }
  for (int car = 0; car < 8; ++car) {
    const ParticipantRecord& p = race->slots[car];
    ASSERT_EQ(p.lapCount, 2) << "car " << car + 1;
    EXPECT_EQ(p.passageTimes[1], crossings[car][1] - crossings[car][0]) << "car " << car + 1;
    EXPECT_EQ(p.passageTimes[2] - p.passageTimes[1], 3900) << "car " << car + 1;
  }
}

// A wired Orix decoder under race control: the start request after the countdown.
class OrixStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock.autoAdvanceNs = 100000;
    ASSERT_TRUE(WriteFileReplacing(settings.c_str(), "COM3\t1\tZarvo\r\n"));
    port.onWrite = [this](const Bytes& w) { OnWrite(w); };
    ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
    clock.autoAdvanceNs = 0;
    race = testing::MakeRace({{"A", "000001"}, {"B", "000002"}});
    race->run.raceRunning = false;
    race->run.ready = true;
    race->params.countdownSeconds = 0;
    std::memset(circuits.get(), 0, sizeof(CircuitTable));
    control = std::make_unique<RaceControl>(RaceControlWorld{*race, *circuits, sounds, list, clock,
                                                             player, boxes, ui, channel, archive});
    control->PrepareClockTexts();
    control->OnTick();  // the first tick reads the settings: the keep-alive starts
  }
  void OnWrite(const Bytes& w) {
    if (w == Bytes(kIdentifyRequest, kIdentifyRequest + kOrixRequestLength)) {
      uint8_t answer[kOrixAnswerLength];
      EncodeIdentifyAnswer(kOrixKindWired, 7, answer);
      port.QueueAt(clock.NowMs() + 2, Bytes(answer, answer + kOrixAnswerLength));
    }
    if (w != Bytes(kStartRequest, kStartRequest + kOrixRequestLength)) return;
    startsSent.push_back(clock.NowMs());
    if (static_cast<int>(startsSent.size()) < answerRequest) return;
    uint8_t answer[kOrixAnswerLength];
    EncodeStartAnswer(0, 0, 0, answer);
    port.QueueAt(clock.NowMs() + answerDelayMs, Bytes(answer, answer + kOrixAnswerLength));
  }
  void Tick() {
    clock.Advance(10);
    control->OnTick();
  }

  int answerRequest = 1;   // the request the decoder hears and answers
  int answerDelayMs = 15;  // how long its answer takes
  std::vector<int64_t> startsSent;
  FakeClock clock;
  testing::FakeSerialPort port{&clock};
  testing::RecordingMessageBoxes boxes;
  testing::TempFolder folder;
  std::string settings = folder.File(kInterfaceSettingsFile);
  DecoderLink link{clock, port, boxes, settings.c_str()};
  DecoderLinkChannel channel{link};
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits = std::make_unique<CircuitTable>();
  SoundSettings sounds = {};
  ParticipantsList list = {};
  testing::RecordingSoundPlayer player;
  testing::RecordingRaceUi ui;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> control;
};

TEST_F(OrixStartTest, ADecoderSwitchedOnAfterTheCountdownIsAskedAgainEverySecondAndStarts) {
  answerRequest = 4;  // the first three requests are not heard
  control->OnStart();
  for (int i = 0; i < 1000 && !race->run.raceRunning; ++i) Tick();
  ASSERT_TRUE(race->run.raceRunning);
  ASSERT_EQ(startsSent.size(), 4u);
  for (size_t k = 1; k < startsSent.size(); ++k) {
    EXPECT_GE(startsSent[k] - startsSent[k - 1], 1000);
    EXPECT_LE(startsSent[k] - startsSent[k - 1], 1010);
  }
  EXPECT_EQ(race->run.decoderTimeAtStart, 0);
}

TEST_F(OrixStartTest, AnAnsweredStartIsNeverSentAgainHoweverLongTheRunIsSilent) {
  answerDelayMs = 400;  // a slow answer, within the second
  control->OnStart();
  for (int i = 0; i < 1000 && !race->run.raceRunning; ++i) Tick();
  ASSERT_TRUE(race->run.raceRunning);
  for (int i = 0; i < 3000; ++i) Tick();  // 30 s of a run with no passage at all
  EXPECT_TRUE(race->run.raceRunning);
  EXPECT_EQ(startsSent.size(), 1u);
}

}  // namespace
}  // namespace zarvo
