// The replay of a run journal: race control itself, over services that do nothing (no window,
// sound, decoder, archive or boxes), times the journal's events with the calls the live run
// timed them with, so that the lap ceiling, the end when every participant has finished and
// "Stop" come out as they did.
#include <cstring>
#include <memory>

#include "race/race_control.h"
#include "race/run_journal.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

class ReplayClock final : public Clock {
 public:
  explicit ReplayClock(const JournalStart& start) : start_(start) {}
  uint32_t TickCount() override { return start_.raceStartTick + uint32_t(lastRaceTime); }
  int64_t PerformanceCounter() override { return start_.raceStartCounter; }
  int64_t PerformanceFrequency() override { return start_.counterFrequency; }
  LocalDateTime LocalTime() override { return LocalDateTime{}; }
  void Sleep(uint32_t) override {}
  int32_t lastRaceTime = 0;

 private:
  const JournalStart& start_;
};

class NoSound final : public SoundPlayer {
 public:
  void Play(const char*, bool) override {}
};

class NoBoxes final : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

class NoWindow final : public RaceUi {
 public:
  void EnableControl(int, bool) override {}
  void EnableMenuItem(int, bool) override {}
  void ShowControl(int, bool) override {}
  void CheckControl(int, bool) override {}
  void SetControlText(int, const char*) override {}
  void Repaint(RaceArea) override {}
};

class NoDecoder final : public DecoderChannel {
 public:
  void Supervise(const RunState&, PassageReceiver&) override {}
  void ClearCollectors() override {}
  void DiscardInput() override {}
  bool NeedsStartHandshake() const override { return false; }
  bool StartHandshake() override { return true; }
  void CancelStartHandshake() override {}
  void ReadPassages(PassageReceiver&) override {}
};

// The run's end writes nothing: the recovery decides what is archived and written.
class NoArchive final : public RunArchive {
 public:
  void ArchiveRun(const Race&) override {}
  bool WriteCircuits(const CircuitTable&) override { return true; }
};

}  // namespace

bool ReplayJournal(std::string_view bytes, Race& race, CircuitTable& circuits,
                   JournalSummary* summaryOut) {
  auto summary = std::make_unique<JournalSummary>();
  if (ReadJournalSummary(bytes, *summary) != JournalRead::kRead) return false;
  const JournalStart& start = summary->start;

  // Only the passage sound changes what a passage leaves in the table (the early-passage mark).
  SoundSettings sounds;
  std::memset(&sounds, 0, sizeof sounds);
  if (start.passageSoundOn) SetText(sounds.passage, kSoundPassageOn);
  auto noList = std::make_unique<ParticipantsList>();
  std::memset(noList.get(), 0, sizeof(ParticipantsList));
  ReplayClock clock(start);
  NoSound player;
  NoBoxes boxes;
  NoWindow ui;
  NoDecoder decoder;
  NoArchive archive;
  RaceControl control(RaceControlWorld{race, circuits, sounds, *noList, clock, player, boxes, ui,
                                       decoder, archive});

  // The table as the start found it: names, transponders and setup sheets, reset for a new run.
  WipeTable(race);
  WipeStandings(race);
  bool started = false;
  auto begin = [&] {
    if (started) return;
    started = true;
    race.params = start.params;
    ResetTable(race);
    RebuildStandings(race);
    RebuildRows(race);
    std::memset(&race.run, 0, sizeof race.run);
    control.ResumeJournaledRun(start.runTitle, start.raceStartTick, start.counterFrequency,
                               start.raceStartCounter, start.decoderTimeAtStart);
  };
  ReadJournal(bytes, *summary, &race, [&](const JournalEvent& event) {
    begin();
    switch (event.kind) {
      case JournalEvent::Kind::kSetup:
        // A sheet saved in the synthesis belongs to the run whenever it came.
        race.slots[event.slot - 1].setup = event.setup;
        break;
      case JournalEvent::Kind::kPassage:
        clock.lastRaceTime = event.raceTime;
        control.TimePassage(event.transponder, event.raceTime);
        control.StopWhenAllFinished();
        break;
      case JournalEvent::Kind::kManualLap:
        clock.lastRaceTime = event.raceTime;
        control.TimeManualLap(event.slot, event.raceTime);
        control.StopWhenAllFinished();
        break;
      case JournalEvent::Kind::kEnd:
        clock.lastRaceTime = event.raceTime;
        control.OnStop();
        break;
    }
  });
  begin();
  // A run the journal leaves running (the program was killed) is closed as "Stop" closes it.
  control.OnStop();
  if (summaryOut != nullptr) *summaryOut = *summary;
  return true;
}

}  // namespace zarvo
