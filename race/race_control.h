// Race control: the "Start", "Stop" and "Clear" commands, the countdown, the start (at once or
// through the decoder's handshake), the race clock on the 10 ms tick, the end of the run with its
// archive, and the transponder modes with their scan and check.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "race/passage.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "race/sound_announcements.h"
#include "records/circuit_records.h"
#include "records/sound_settings.h"

namespace zarvo {

// Everything race control works on and talks to; owned by the caller, alive as long as it.
struct RaceControlWorld {
  Race& race;
  CircuitTable& circuits;
  const SoundSettings& sounds;
  const ParticipantsList& participants;
  Clock& clock;
  SoundPlayer& player;
  MessageBoxes& boxes;
  RaceUi& ui;
  DecoderChannel& decoder;
  RunArchive& archive;
};

class RaceControl : private PassageHost, private PassageReceiver {
 public:
  explicit RaceControl(const RaceControlWorld& world);

  // Commands of the race panel.
  void OnStart();
  void OnStop();
  void OnClear();
  void OnPersonalChips();
  void OnMixedScan();
  // "Scan" pushed in (checked) or released.
  void OnScan(bool checked);
  void OnManualLap(int controlId);
  // Timer 1, every 10 ms.
  void OnTick();

  // A run is armed or timed, or a scan or check is under way: the program may not close.
  bool Busy() const;
  bool MixedMode() const { return mixedMode_; }
  // "Save" is enabled again after a run only when the session has a file.
  void SetHasSavedFile(bool hasSavedFile) { hasSavedFile_ = hasSavedFile; }
  // Where the run's events are journaled; none until it is set.
  void SetJournal(RunJournal& journal) { journal_ = &journal; }
  // The tick log of a measurement run: told when each part of a tick is done; none when null.
  void SetTickProbe(TickProbe* probe) { probe_ = probe; }
  // Told of every lap recorded while the run is timed; none when null.
  void SetLapListener(LapListener* listener) { lapListener_ = listener; }
  // While the driver details dialog reads the serial line itself, the tick leaves it alone.
  void SetDialogOwnsSerialInput(bool owns) { dialogOwnsInput_ = owns; }

  // ---- Timing. The live run and the replay of its journal (race/run_replay.cpp) time their
  // events with these same calls.
  // A passage of the running run at its race time; nothing when no run is running.
  void TimePassage(const char* transponder, int32_t raceTime);
  // A manual lap of slot 1..20 at its race time (running run, slot not finished).
  void TimeManualLap(int slot, int64_t raceTime);
  // What the tick does once the line is read: the run is stopped as by "Stop" when every
  // participant has finished.
  void StopWhenAllFinished();
  // The replay's start: the run running from the clocks and with the title the journal kept, as
  // the start set them.
  void ResumeJournaledRun(const char* runTitle, uint32_t raceStartTick, int64_t counterFrequency,
                          int64_t raceStartCounter, int32_t decoderTimeAtStart);

  // The duration text ("%d:%02d:00", or "%d laps" in a lap run) and the countdown text, as shown
  // before a run starts.
  void PrepareClockTexts();
  // Copies the transponders of the participants list into the table, standings and rows (the
  // personal-chips mode) or clears them (the mixed mode), as selecting a run does.
  void ApplyTransponderMode();

 private:
  // PassageHost
  void StopRun() override { OnStop(); }
  void Cue(SoundCue cue, int slot) override { PlayCue(cue, slot); }
  void RepaintResults() override { world_.ui.Repaint(RaceArea::kTable); }
  void LapRecorded(const ParticipantRecord& participant) override;
  // PassageReceiver: a passage of the run, of the scan or of the check.
  void OnPassage(const DecodedPassage& passage) override;

  // The cues raised while the line is read wait until every passage of the read is handled:
  // starting a sound can hold the thread for milliseconds. Then the one that matters most plays
  // (async sounds cut one another, so playing them all would only delay the line).
  struct CueBatch {
    bool any = false;
    SoundCue cue = SoundCue::kPassage;
    int slot = 0;
  };
  void PlayCue(SoundCue cue, int slot = 0);
  void ReadPassagesThenCue();

  void LockMenus(bool locked);
  void EnableRunControls(bool enabled, bool includeStop);
  void EnableScanControls(bool enabled);
  void Countdown(uint32_t now);
  void Starting();
  void StartRun();
  // The run's clock from its start: the run running, the clock duration of its kind.
  void StartClock(uint32_t raceStartTick, int64_t counterFrequency, int64_t raceStartCounter);
  void RaceClock(uint32_t now);
  // Duration, elapsed and remaining texts from the run state (the start shows the whole duration).
  void WriteClockTexts();
  void ScanTick();
  void CheckTick();
  void ScanPassage(const char* transponder);
  void CheckPassage(const char* transponder);
  void EnterCheckPhase();
  void EndCheck();
  void CopyTranspondersToStandingsAndRows();
  void SetTotalTextsToZero();
  int32_t RaceTimeOf(const DecodedPassage& passage);
  void Mark(TickPart part) {
    if (probe_ != nullptr) probe_->PartDone(part);
  }

  RaceControlWorld world_;
  SoundAnnouncer announcer_;
  TimingContext timing_;
  bool mixedMode_ = false;
  bool hasSavedFile_ = false;
  bool dialogOwnsInput_ = false;
  RunJournal* journal_;
  CueBatch* cueBatch_ = nullptr;  // set while the line is read
  TickProbe* probe_ = nullptr;
  LapListener* lapListener_ = nullptr;
};

}  // namespace zarvo
