// The decoder link under race control at simulated time: a pack of Vexa cars crossing together
// keeps the time of the read that brought it, however long the sounds take to start.
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
  QueuePack();
  const int64_t readCounter = (clock.nowNs + 10 * 1000000) / 100;  // the next tick reads it
  Tick();
  const int32_t expected = static_cast<int32_t>(PcRaceTime(race->run, readCounter));
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

}  // namespace
}  // namespace zarvo
