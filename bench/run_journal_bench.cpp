// The run journal: one passage appended (the line built, written to the OS, and pushed to the
// disk every 100 ms or at every passage), and the replay of a 20-driver, 999-lap journal.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "race/run_journal.h"
#include "records/sound_settings.h"
#include "session/run_journal_file.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

class QuietBoxes : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

std::unique_ptr<Race> TwentyDrivers() {
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  for (int s = 0; s < kSlotCount; ++s) {
    ParticipantRecord& p = race->slots[s];
    char name[16];
    std::snprintf(name, sizeof name, "DRIVER%02d", s + 1);
    SetText(p.driverName, name);
    std::snprintf(p.transponder, sizeof p.transponder, "%06d", 100 + s);
    SetText(p.setup.carName, "Mugen MBX8");
    SetText(p.setup.tiresFront, "Pro Line");
  }
  SetDefaultRaceParameters(race->params);
  SetText(race->params.durationMode, kDurationLaps);
  race->params.lapTarget = kMaxLapCount;
  race->params.maximumLapCount = kMaxLapCount;
  race->params.lapRunLimitHours = 12;
  SetText(race->run.runTitle, "Start 2026/12/07 14:03:10 - Duration 999 laps");
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  return race;
}

// Where the journal is written: the folder of the benchmark's working directory.
constexpr const char kBenchJournal[] = "zarvo-bench-journal.jrn";

// The program's way, as the tick pays it: the line built and handed to the journal's writer
// thread (which writes it and pushes it to the disk at most every 100 ms on its own time).
void BM_JournalAppendPassage(benchmark::State& state) {
  auto race = TwentyDrivers();
  SoundSettings sounds = {};
  QuietBoxes boxes;
  char sessionName[32] = "Bench";
  int32_t runNumber = 1;
  const std::string savedFile;
  RunJournalFile journal(JournalSessionSource{sessionName, savedFile, runNumber, ""}, sounds, boxes,
                         kBenchJournal);
  journal.RunStarted(*race);
  DecodedPassage passage = {};
  passage.clock = DecodedPassage::Clock::kDecoder;
  int32_t raceTime = 1000;
  int slot = 0;
  int64_t done = 0;
  for (auto _ : state) {
    std::snprintf(passage.transponder, sizeof passage.transponder, "%06d", 100 + slot);
    passage.decoderTime = raceTime;
    journal.Passage(passage, raceTime);
    raceTime += 1500;
    slot = (slot + 1) % kSlotCount;
    // The queue holds 2 MB: the writer is let catch up now and then, outside the timing.
    if (++done % 20000 == 0) {
      state.PauseTiming();
      journal.Flush();
      state.ResumeTiming();
    }
  }
  journal.Flush();
  state.counters["syncs"] = static_cast<double>(journal.syncCount());
  journal.RunEnded(raceTime);
  journal.RunLeft();
}
BENCHMARK(BM_JournalAppendPassage)->Unit(benchmark::kMicrosecond);

// The worst a passage can cost: its line and a push to the disk of its own.
void BM_JournalAppendAndSync(benchmark::State& state) {
  auto race = TwentyDrivers();
  AppendFile file;
  if (!file.Create(kBenchJournal, AppendFile::Mode::kReplace)) {
    state.SkipWithError("cannot create the journal");
    return;
  }
  int64_t seq = 0;
  int32_t raceTime = 1000;
  for (auto _ : state) {
    file.Append(
        JournalPassageLine(++seq, "000101", raceTime, DecodedPassage::Clock::kDecoder, raceTime));
    file.Sync();
    raceTime += 1500;
  }
  file.Close();
  RemoveFile(kBenchJournal);
}
BENCHMARK(BM_JournalAppendAndSync)->Unit(benchmark::kMicrosecond);

// A lap run of 20 drivers to the 999th lap: 20,000 passages, every lap of every driver.
void BM_JournalReplay20Drivers999Laps(benchmark::State& state) {
  auto race = TwentyDrivers();
  std::string journal = JournalStartLine(*race, JournalSession{1, "Bench", "", "", "", true});
  int64_t seq = 0;
  for (int lap = 0; lap <= kMaxLapCount; ++lap) {
    for (int s = 0; s < kSlotCount; ++s) {
      char transponder[8];
      std::snprintf(transponder, sizeof transponder, "%06d", 100 + s);
      const int32_t t = 1000 + lap * 30000 + s * 700;
      journal += JournalPassageLine(++seq, transponder, t, DecodedPassage::Clock::kDecoder, t);
    }
  }
  auto rebuilt = std::make_unique<Race>();
  auto circuits = std::make_unique<CircuitTable>();
  std::memset(circuits.get(), 0, sizeof(CircuitTable));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReplayJournal(journal, *rebuilt, *circuits));
  }
  if (rebuilt->slots[19].lapCount != kMaxLapCount) state.SkipWithError("the run was not rebuilt");
  state.counters["journal_MB"] = static_cast<double>(journal.size()) / 1e6;
  state.counters["passages"] = static_cast<double>(seq);
}
BENCHMARK(BM_JournalReplay20Drivers999Laps)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarvo
