// The replay of a journal against the live run, on random sessions: each one is timed through race
// control with fakes (decoder, clock, window, sounds) while its journal is kept in memory, then
// rebuilt from that journal; the run section must come out byte for byte the one the live run
// leaves, and the circuit's lap record the same. The sessions mix what makes timing tricky:
// transponders shared by several slots, slots without one, the minimum lap time, a low lap
// ceiling, manual laps, the staggered and the common start, time and lap runs, both clocks,
// several passages in one read, setup sheets saved during and after the run, and runs that end by
// themselves, by "Stop" or by a kill. The seeds are fixed: a failure names its seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "race/race_control.h"
#include "race/run_journal.h"
#include "resources/resource_ids.h"
#include "session/session_format.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

// Race control's journal port keeping the lines in memory, with the line builders of the journal.
class MemoryJournal : public RunJournal {
 public:
  void RunStarted(const Race& race) override {
    bytes = JournalStartLine(race, JournalSession{4, "Samedi", "C:\\samedi.trng",
                                                  "0123456789ABCDEF", "Ours", passageSoundOn});
    seq = 0;
    recording = true;
  }
  void Passage(const DecodedPassage& passage, int32_t raceTime) override {
    if (!recording) return;
    JournalLine line;
    const int64_t raw =
        passage.clock == DecodedPassage::Clock::kDecoder ? passage.decoderTime : passage.counter;
    FormatPassageLine(line, ++seq, passage.transponder, raceTime, passage.clock, raw);
    bytes += line.View();
  }
  void ManualLap(int slot, int64_t raceTime) override {
    if (!recording) return;
    JournalLine line;
    FormatManualLapLine(line, ++seq, slot, int32_t(raceTime));
    bytes += line.View();
  }
  void RunEnded(int32_t raceTime) override {
    JournalLine line;
    FormatEndLine(line, ++seq, raceTime);
    bytes += line.View();
    recording = false;
  }
  void ResultsCleared() override {}
  void SetupSaved(int slot, const SetupSheet& setup) {
    auto line = std::make_unique<JournalLine>();
    FormatSetupLine(*line, ++seq, slot, setup);
    bytes += line->View();
  }

  std::string bytes;
  int64_t seq = 0;
  bool recording = false;
  bool passageSoundOn = true;
};

// A small generator of our own, so that a seed gives the same session everywhere.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int Below(int n) { return int(Next() % uint64_t(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool OneIn(int n) { return Below(n) == 0; }

 private:
  uint64_t state_;
};

struct Outcome {
  std::string live;
  std::string replayed;
  int32_t liveRecord;
  int32_t replayedRecord;
  int laps;  // of every slot, live
  bool ceiling;
};

// One random session timed live, then replayed from its journal.
Outcome TimeAndReplay(uint64_t seed) {
  Random r(seed);
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  // Slots 1..n, now and then one after the first left empty, transponders from a pool of 1 to 3 (so
  // some are shared), now and then none.
  const int drivers = r.Between(1, 6);
  const int pool = r.Between(1, 3);
  for (int k = 0; k < kSlotCount; ++k) {
    ParticipantRecord& p = race->slots[k];
    if (k >= drivers || (k > 0 && r.OneIn(9))) {
      SetText(p.driverName, kNoDriver);
      continue;
    }
    SetText(p.driverName, ("DRIVER" + std::to_string(k + 1)).c_str());
    if (!r.OneIn(8)) {
      SetText(p.transponder, ("00100" + std::to_string(1 + r.Below(pool))).c_str());
    }
    SetText(p.setup.carName, ("car " + std::to_string(r.Below(100))).c_str());
  }
  RaceParameters& params = race->params;
  SetDefaultRaceParameters(params);
  const bool lapRun = r.OneIn(2);
  SetText(params.durationMode, lapRun ? kDurationLaps : kDurationTime);
  SetText(params.startMode, r.OneIn(3) ? "DEPARTCommun" : kStartStaggered);
  SetText(params.classificationKey, r.OneIn(2) ? "CLASSEMENTToursTemps" : "CLASSEMENTMeilleurTour");
  params.durationMinutes = r.Between(1, 2);
  params.lapTarget = r.Between(1, 7);
  params.countdownSeconds = 0;
  params.minimumLapSeconds = r.Between(0, 4);
  params.maximumLapCount = r.OneIn(2) ? r.Between(2, 8) : kMaxLapCount;
  params.lapRunLimitHours = 12;
  const bool withCircuit = !r.OneIn(4);
  params.circuitIndex = withCircuit ? 0 : kNoCircuit;
  SplitDuration(params);
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  race->run.ready = true;

  auto circuits = std::make_unique<CircuitTable>();
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  SetText(circuits->records[0].name, "Ours");
  circuits->records[0].recordLap = r.OneIn(2) ? 0 : r.Between(1500, 6000);
  auto circuitsAtStart = std::make_unique<CircuitTable>(*circuits);

  SoundSettings sounds = testing::AllSoundsOn();
  MemoryJournal journal;
  journal.passageSoundOn = !r.OneIn(3);
  if (!journal.passageSoundOn) SetText(sounds.passage, "SONPASSAGEnon");
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  testing::FakeClock clock;
  clock.autoAdvanceNs = r.Between(0, 3) * 100000;  // counter reads move the PC clock on
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  testing::RecordingRaceUi ui;
  testing::ScriptedDecoder decoder;
  const bool pcClock = r.OneIn(3);  // the Vexa interface
  decoder.orix = !pcClock;
  testing::RecordingArchive archive;
  RaceControl control(
      RaceControlWorld{*race, *circuits, sounds, list, clock, player, boxes, ui, decoder, archive});
  control.SetJournal(journal);
  control.PrepareClockTexts();
  control.OnStart();
  for (int i = 0; i < 20 && !race->run.raceRunning; ++i) {
    clock.Advance(10);
    control.OnTick();
  }
  EXPECT_TRUE(race->run.raceRunning) << "seed " << seed;

  // Events until the run stops by itself, or the script ends it.
  const int events = r.Between(5, 120);
  for (int e = 0; e < events && race->run.raceRunning; ++e) {
    const int kind = r.Below(20);
    if (kind < 15) {
      // One read of 1 to 3 passages, some of a transponder nobody holds.
      const int count = r.OneIn(4) ? r.Between(2, 3) : 1;
      for (int i = 0; i < count; ++i) {
        const std::string transponder =
            r.OneIn(12) ? "009999" : "00100" + std::to_string(1 + r.Below(pool));
        if (pcClock) {
          decoder.QueueCounterPassage(transponder.c_str(), clock.nowNs / 100 + r.Below(5000));
        } else {
          const int32_t now = int32_t(clock.TickCount() - race->run.raceStartTick);
          decoder.QueueDecoderPassage(transponder.c_str(), now + r.Between(-30, 30));
        }
      }
    } else if (kind < 18) {
      control.OnManualLap(IDC_MANUAL_LAP_FIRST + r.Below(kSlotCount));
    } else if (kind < 19) {
      const int slot = 1 + r.Below(drivers);
      SetText(race->slots[slot - 1].setup.trackConditions, ("wet " + std::to_string(e)).c_str());
      journal.SetupSaved(slot, race->slots[slot - 1].setup);
    }
    // Time passes: as many ticks as the gap holds, the queued passages read on the first.
    const int gap = r.OneIn(5) ? r.Between(0, 900) : r.Between(1000, 5500);
    for (int t = 0; t < 1 + gap / 500 && race->run.raceRunning; ++t) {
      clock.Advance(t == 0 ? 10 : 500);
      control.OnTick();
    }
  }
  const bool stoppedByItself = !race->run.raceRunning;
  Outcome out;
  out.ceiling = false;
  for (const ParticipantRecord& p : race->slots) {
    out.ceiling = out.ceiling || (IsTimeRun(params) && p.lapCount == params.maximumLapCount);
  }
  const bool killed = !stoppedByItself && r.OneIn(3);
  if (killed) {
    // What the journal holds is all there is; the recovered run is closed as "Stop" closes it.
    MarkRunOver(*race);
  } else if (!stoppedByItself) {
    control.OnStop();
  }
  if (!killed && r.OneIn(4)) {
    // A sheet saved after the end, before the journal was retired.
    SetText(race->slots[0].setup.trackConditions, "dry after");
    journal.SetupSaved(1, race->slots[0].setup);
  }
  out.live = RunSectionContent(*race);
  out.liveRecord = circuits->records[0].recordLap;
  out.laps = 0;
  for (const ParticipantRecord& p : race->slots) out.laps += IsEmptySlot(p) ? 0 : p.lapCount;

  auto rebuilt = std::make_unique<Race>();
  std::memset(rebuilt.get(), 0x5A, sizeof(Race));  // nothing may be taken from before
  EXPECT_TRUE(ReplayJournal(journal.bytes, *rebuilt, *circuitsAtStart)) << "seed " << seed;
  out.replayed = RunSectionContent(*rebuilt);
  out.replayedRecord = circuitsAtStart->records[0].recordLap;
  for (const ParticipantRecord& p : rebuilt->slots) {
    EXPECT_TRUE(p.finished) << "seed " << seed;
  }
  return out;
}

TEST(JournalReplay, RandomSessionsReplayedFromTheirJournalAreTheLiveRunByteForByte) {
  constexpr uint64_t kSessions = 400;
  int withLaps = 0;
  int ceilings = 0;
  for (uint64_t seed = 1; seed <= kSessions; ++seed) {
    const Outcome out = TimeAndReplay(seed);
    ASSERT_EQ(out.replayed, out.live) << "seed " << seed;
    ASSERT_EQ(out.replayedRecord, out.liveRecord) << "seed " << seed;
    withLaps += out.laps > 0;
    ceilings += out.ceiling;
  }
  // The sessions must have timed something, and reached the lap ceiling now and then.
  EXPECT_GT(withLaps, int(kSessions) * 3 / 4);
  EXPECT_GT(ceilings, 20);
}

}  // namespace
}  // namespace zarvo
