// Race control: commands, countdown, start, race clock, end of run, transponder scan and check.
#include "race/race_control.h"

#include <algorithm>
#include <cstdio>

#include "race/classification.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// Menu items greyed while a run is armed or timed and while a scan is active.
constexpr int kLockedMenuItems[] = {IDM_NEW_SESSION, IDM_LOAD_SESSION, IDM_SAVE,
                                    IDM_SAVE_AS,     IDM_IMPORT_SMARTPHONE, IDM_QUIT,
                                    IDM_CIRCUITS,    IDM_DRIVERS,      IDM_CARS,
                                    IDM_FREQUENCIES, IDM_SOUND,        IDM_DISPLAY,
                                    IDM_LAP_CALLOUTS};

constexpr const char kZeroTotal[] = "00:00.000";

// Until the program gives race control its journal, nothing is kept.
class NoJournal : public RunJournal {
 public:
  void RunStarted(const Race&) override {}
  void Passage(const DecodedPassage&, int32_t) override {}
  void ManualLap(int, int64_t) override {}
  void RunEnded(int32_t) override {}
  void ResultsCleared() override {}
};

NoJournal noJournal;

// Among the cues of one read of the line, the one played: the end of the race over a driver's
// finish over a best lap over a lap (or a scan's beep) over an early passage; the later of two
// equal ones.
int CueRank(SoundCue cue) {
  switch (cue) {
    case SoundCue::kEndOfRace:
      return 6;
    case SoundCue::kDriverFinished:
    case SoundCue::kCheckGood:
    case SoundCue::kCheckBad:
      return 5;
    case SoundCue::kBestLap:
      return 4;
    case SoundCue::kPassage:
    case SoundCue::kScanBeep:
      return 3;
    case SoundCue::kEarlyPassage:
      return 2;
    default:
      return 1;
  }
}

bool InMillisecondWindow(int32_t elapsedMs) {
  const int32_t ms = elapsedMs % 1000;
  return ms >= 1 && ms <= 99;
}

}  // namespace

RaceControl::RaceControl(const RaceControlWorld& world)
    : world_(world),
      announcer_(world.sounds, world.player),
      timing_{world.race, world.circuits, world.sounds, *this},
      journal_(&noJournal) {}

bool RaceControl::Busy() const {
  const RunState& run = world_.race.run;
  return run.startArmed || run.raceRunning || run.scanActive;
}

void RaceControl::PlayCue(SoundCue cue, int slot) {
  if (cueBatch_ == nullptr) {
    announcer_.Cue(cue, slot);
    return;
  }
  if (!announcer_.Enabled(cue)) return;
  CueBatch& batch = *cueBatch_;
  if (batch.any && CueRank(cue) < CueRank(batch.cue)) return;
  batch = CueBatch{true, cue, slot};
}

namespace {

// Whether the lap just recorded is faster than every earlier lap of the participant. Passage
// processing keeps his best lap only in a staggered start, so it is taken from his passages here,
// the same way in every kind of start; a first lap is never a new best.
bool ImprovesBestLap(const ParticipantRecord& p) {
  const int32_t n = p.lapCount;
  if (n < 2 || n >= kPassageCapacity) return false;
  int32_t best = p.passageTimes[1] - p.passageTimes[0];
  for (int32_t k = 2; k < n; ++k) best = std::min(best, p.passageTimes[k] - p.passageTimes[k - 1]);
  return p.passageTimes[n] - p.passageTimes[n - 1] < best;
}

}  // namespace

void RaceControl::LapRecorded(const ParticipantRecord& participant) {
  if (lapListener_ == nullptr) return;
  const Race& race = world_.race;
  int position = 0;
  for (int k = 0; k < race.participantCount && k < kSlotCount; ++k) {
    if (race.standings[k].slotNumber == participant.slotNumber) {
      position = k + 1;
      break;
    }
  }
  lapListener_->LapRecorded(RecordedLap{participant.slotNumber, participant.driverName,
                                        participant.lastLap, participant.lapCount,
                                        ImprovesBestLap(participant), position});
}

void RaceControl::ReadPassagesThenCue() {
  // A box opened while passages are handled (the circuits file at a lap-ceiling stop) runs ticks
  // of its own; each read keeps its own batch.
  CueBatch batch;
  CueBatch* outer = cueBatch_;
  cueBatch_ = &batch;
  world_.decoder.ReadPassages(*this);
  cueBatch_ = outer;
  Mark(TickPart::kPassages);
  if (batch.any) {
    announcer_.Cue(batch.cue, batch.slot);
    Mark(TickPart::kSound);
  }
}

void RaceControl::LockMenus(bool locked) {
  for (int id : kLockedMenuItems) {
    const bool enabled = !locked && (id != IDM_SAVE || hasSavedFile_);
    world_.ui.EnableMenuItem(id, enabled);
  }
}

// The tree, "Start", "Clear", "Scan" and the two mode buttons; "Stop" only when asked.
void RaceControl::EnableRunControls(bool enabled, bool includeStop) {
  RaceUi& ui = world_.ui;
  ui.EnableControl(IDC_SESSION_TREE, enabled);
  ui.EnableControl(IDC_START, enabled);
  ui.EnableControl(IDC_CLEAR, enabled);
  ui.EnableControl(IDC_SCAN, enabled);
  ui.EnableControl(IDC_PERSONAL_CHIPS, enabled);
  ui.EnableControl(IDC_MIXED_SCAN, enabled);
  if (includeStop) ui.EnableControl(IDC_STOP, enabled);
}

// While a scan runs: the menus, the tree, "Start", "Stop", "Clear" and "Personal chips".
void RaceControl::EnableScanControls(bool enabled) {
  RaceUi& ui = world_.ui;
  LockMenus(!enabled);
  ui.EnableControl(IDC_SESSION_TREE, enabled);
  ui.EnableControl(IDC_START, enabled);
  ui.EnableControl(IDC_STOP, enabled);
  ui.EnableControl(IDC_CLEAR, enabled);
  ui.EnableControl(IDC_PERSONAL_CHIPS, enabled);
}

void RaceControl::OnStart() {
  world_.decoder.ClearCollectors();
  Race& race = world_.race;
  RunState& run = race.run;
  if (!run.ready || Busy()) return;
  LockMenus(true);
  EnableRunControls(false, false);
  world_.decoder.DiscardInput();
  if (SameText(world_.sounds.countdown, kSoundCountdownOn) && race.params.countdownSeconds > 1) {
    announcer_.Cue(SoundCue::kCountdownOpening);
  }
  const uint32_t now = world_.clock.TickCount();
  run.countdownStartTick = now;
  run.startArmed = true;
  run.lastCountdownDisplayTick = now;
  run.countdownRemaining = 1;
  for (bool& flag : run.countdownAnnounced) flag = false;
  for (bool& flag : run.clockAnnounced) flag = false;
  run.runBestLap = kNoRunBest;
}

void RaceControl::OnStop() {
  Race& race = world_.race;
  RunState& run = race.run;
  LockMenus(false);
  EnableRunControls(true, false);
  if (run.startArmed) world_.decoder.CancelStartHandshake();
  run.startArmed = false;
  if (run.raceRunning) {
    run.raceRunning = false;
    journal_->RunEnded(static_cast<int32_t>(world_.clock.TickCount() - run.raceStartTick));
    PlayCue(SoundCue::kEndOfRace);
    for (ParticipantRecord& p : race.slots) p.finished = true;
    for (StandingsEntry& e : race.standings) e.finished = true;
    for (int k = 0; k < race.participantCount; ++k) race.rows[k].finished = true;
    world_.archive.ArchiveRun(race);
    if (!world_.archive.WriteCircuits(world_.circuits)) {
      world_.boxes.Show(TXT_CAPTION_ERROR, TXT_CIRCUITS_FILE_NOT_FOUND, MessageIcon::kError);
    }
  }
  world_.ui.Repaint(RaceArea::kTable);
}

void RaceControl::PrepareClockTexts() {
  Race& race = world_.race;
  RunState& run = race.run;
  const RaceParameters& params = race.params;
  if (IsLapRun(params)) {
    std::snprintf(run.durationText, sizeof run.durationText, TXT_DURATION_LAPS, params.lapTarget);
    std::snprintf(run.elapsedText, sizeof run.elapsedText, "%d:%02d:%02d", 0, 0, 0);
    ClearText(run.remainingText);
  } else {
    std::snprintf(run.durationText, sizeof run.durationText, "%d:%02d:00", params.durationHours,
                  params.durationMinutesPart);
    std::snprintf(run.elapsedText, sizeof run.elapsedText, "%d:%02d:%02d", 0, 0, 0);
    std::snprintf(run.remainingText, sizeof run.remainingText, "%d:%02d:%02d", 0, 0, 0);
  }
  std::snprintf(run.countdownText, sizeof run.countdownText, "%ds", params.countdownSeconds);
}

void RaceControl::OnClear() {
  Race& race = world_.race;
  RunState& run = race.run;
  if (!run.resultsPresent || Busy()) return;
  const Answer answer =
      world_.boxes.Ask(TXT_CAPTION_REFUSAL, TXT_CLEAR_QUESTION, QuestionButtons::kYesNo);
  if (answer != Answer::kYes) return;
  journal_->ResultsCleared();
  run.ready = true;
  ResetTable(race);
  RebuildStandings(race);
  RebuildRows(race);
  SetText(run.runTitle, ".");
  run.elapsedHours = run.elapsedMinutes = run.elapsedSeconds = 0;
  run.remainingHours = run.remainingMinutes = run.remainingSeconds = 0;
  PrepareClockTexts();
  world_.ui.Repaint(RaceArea::kTable);
  world_.ui.Repaint(RaceArea::kClock);
  world_.ui.Repaint(RaceArea::kCountdown);
}

void RaceControl::ApplyTransponderMode() {
  Race& race = world_.race;
  // The transponder of the participants-list entry with this driver name; in the mixed mode the
  // transponders are cleared until a scan assigns them.
  auto apply = [&](const char* driverName, char* transponder, size_t capacity) {
    if (mixedMode_) {
      SetText(transponder, capacity, "");
      return;
    }
    for (const ParticipantEntry& entry : world_.participants.entries) {
      if (SameText(entry.driverName, driverName)) {
        SetText(transponder, capacity, entry.transponder);
        return;
      }
    }
  };
  for (ParticipantRecord& p : race.slots) apply(p.driverName, p.transponder, sizeof p.transponder);
  for (StandingsEntry& e : race.standings) apply(e.driverName, e.transponder, sizeof e.transponder);
  for (ResultsRow& row : race.rows) apply(row.driverName, row.transponder, sizeof row.transponder);
  world_.ui.Repaint(RaceArea::kTable);
}

void RaceControl::OnPersonalChips() {
  mixedMode_ = false;
  world_.ui.ShowControl(IDC_SCAN, false);
  world_.ui.ShowControl(IDC_SCAN_STATUS, false);
  ApplyTransponderMode();
}

void RaceControl::OnMixedScan() {
  mixedMode_ = true;
  world_.ui.ShowControl(IDC_SCAN, true);
  world_.ui.ShowControl(IDC_SCAN_STATUS, true);
  ApplyTransponderMode();
}

void RaceControl::OnScan(bool checked) {
  Race& race = world_.race;
  RunState& run = race.run;
  RaceUi& ui = world_.ui;
  if (checked) {
    if (!run.ready || Busy()) {
      ui.CheckControl(IDC_SCAN, false);  // refused: the button does not stay pushed in
      return;
    }
    EnableScanControls(false);
    world_.decoder.DiscardInput();
    for (ParticipantRecord& p : race.slots) {
      if (IsEmptySlot(p)) {
        p.scanSettled = true;
      } else {
        ClearText(p.transponder);
        p.scanSettled = false;
      }
    }
    for (StandingsEntry& e : race.standings) ClearText(e.transponder);
    for (ResultsRow& row : race.rows) ClearText(row.transponder);
    announcer_.Cue(SoundCue::kScanSignal);
    run.scanActive = true;
    run.scanPhase = true;
    run.checkPhase = false;
    ui.SetControlText(IDC_SCAN_STATUS, TXT_SCAN_IN_PROGRESS);
    ui.Repaint(RaceArea::kTable);
    return;
  }
  if (!run.scanActive) return;
  EnableScanControls(true);
  run.scanActive = run.scanPhase = run.checkPhase = false;
  ui.SetControlText(IDC_SCAN_STATUS, TXT_SCAN_OFF);
  announcer_.Cue(SoundCue::kScanSignal);
}

void RaceControl::OnManualLap(int controlId) {
  const int slot = ManualLapSlot(controlId);
  if (slot == 0) return;
  const int64_t counter = world_.clock.PerformanceCounter();
  int64_t raceTime = 0;
  if (!ManualLapTime(world_.race, slot, counter, raceTime)) return;
  journal_->ManualLap(slot, raceTime);
  world_.race.slots[slot - 1].passageCounter = counter;
  TimeManualLap(slot, raceTime);
}

void RaceControl::TimeManualLap(int slot, int64_t raceTime) {
  ManualLapAt(timing_, slot, raceTime);
}

void RaceControl::TimePassage(const char* transponder, int32_t raceTime) {
  if (world_.race.run.raceRunning) ProcessPassage(timing_, transponder, raceTime);
}

void RaceControl::StopWhenAllFinished() {
  if (!world_.race.run.raceRunning) return;
  for (const ParticipantRecord& p : world_.race.slots) {
    if (!p.finished) return;
  }
  OnStop();
}

void RaceControl::ResumeJournaledRun(const char* runTitle, uint32_t raceStartTick,
                                     int64_t counterFrequency, int64_t raceStartCounter,
                                     int32_t decoderTimeAtStart) {
  RunState& run = world_.race.run;
  SetText(run.runTitle, runTitle);
  run.runBestLap = kNoRunBest;
  run.decoderTimeAtStart = decoderTimeAtStart;
  run.resultsPresent = true;
  StartClock(raceStartTick, counterFrequency, raceStartCounter);
}

void RaceControl::OnTick() {
  Race& race = world_.race;
  RunState& run = race.run;
  world_.decoder.Supervise(run, *this);
  Mark(TickPart::kSupervise);
  const uint32_t now = world_.clock.TickCount();
  if (run.startArmed && run.countdownRemaining >= 1) Countdown(now);
  if (run.startArmed && run.countdownRemaining < 1) {
    Starting();
    Mark(TickPart::kStart);
  }
  if (run.raceRunning) RaceClock(world_.clock.TickCount());
  if (run.scanActive && run.scanPhase) {
    ScanTick();
    Mark(TickPart::kScan);
  } else if (run.scanActive && run.checkPhase) {
    CheckTick();
    Mark(TickPart::kScan);
  }
  if (!run.startArmed && !run.raceRunning && !run.scanActive && !dialogOwnsInput_) {
    world_.decoder.DiscardInput();
    Mark(TickPart::kDiscard);
  }
}

void RaceControl::Countdown(uint32_t now) {
  RunState& run = world_.race.run;
  const int32_t elapsed = static_cast<int32_t>(now - run.countdownStartTick);
  run.countdownRemaining = (world_.race.params.countdownSeconds * 1000 - elapsed + 1000) / 1000;
  if (InMillisecondWindow(elapsed) && now - run.lastCountdownDisplayTick > 200) {
    std::snprintf(run.countdownText, sizeof run.countdownText, "%ds", run.countdownRemaining);
    world_.ui.Repaint(RaceArea::kCountdown);
    run.lastCountdownDisplayTick = now;
  }
  Mark(TickPart::kCountdown);
  announcer_.CountdownAnnouncements(run, run.countdownRemaining);
  Mark(TickPart::kSound);
  world_.decoder.DiscardInput();
  Mark(TickPart::kCountdown);
}

void RaceControl::Starting() {
  if (!world_.decoder.NeedsStartHandshake()) {
    StartRun();
    return;
  }
  if (world_.decoder.StartHandshake()) {
    world_.race.run.decoderTimeAtStart = 0;
    StartRun();
  }
}

void RaceControl::StartRun() {
  Race& race = world_.race;
  RunState& run = race.run;
  const LocalDateTime t = world_.clock.LocalTime();
  std::snprintf(run.runTitle, sizeof run.runTitle, TXT_RUN_TITLE, unsigned(t.year),
                unsigned(t.month), unsigned(t.day), unsigned(t.hour), unsigned(t.minute),
                unsigned(t.second), run.durationText);
  announcer_.Cue(SoundCue::kStart);
  const uint32_t startTick = world_.clock.TickCount();
  const int64_t frequency = world_.clock.PerformanceFrequency();
  StartClock(startTick, frequency, world_.clock.PerformanceCounter());
  // The clock shows the whole duration at once; the tick then rewrites it every second.
  run.elapsedHours = run.elapsedMinutes = run.elapsedSeconds = run.elapsedMilliseconds = 0;
  WriteClockTexts();
  world_.ui.Repaint(RaceArea::kClock);
  SetTotalTextsToZero();
  world_.decoder.DiscardInput();
  world_.ui.Repaint(RaceArea::kTable);
  journal_->RunStarted(race);
}

void RaceControl::StartClock(uint32_t raceStartTick, int64_t counterFrequency,
                             int64_t raceStartCounter) {
  RunState& run = world_.race.run;
  const RaceParameters& params = world_.race.params;
  run.raceStartTick = raceStartTick;
  run.counterFrequency = counterFrequency;
  run.raceStartCounter = raceStartCounter;
  run.ready = false;
  run.startArmed = false;
  run.raceRunning = true;
  run.lastClockDisplayTick = raceStartTick;
  run.remainingSeconds = 1;
  if (IsLapRun(params)) {
    run.clockHours = params.lapRunLimitHours;
    run.clockMinutes = 0;
  } else {
    run.clockHours = params.durationHours;
    run.clockMinutes = params.durationMinutesPart;
  }
}

void RaceControl::WriteClockTexts() {
  RunState& run = world_.race.run;
  const RaceParameters& params = world_.race.params;
  if (IsLapRun(params)) {
    std::snprintf(run.durationText, sizeof run.durationText, TXT_DURATION_LAPS, params.lapTarget);
    ClearText(run.remainingText);
  } else {
    std::snprintf(run.durationText, sizeof run.durationText, "%d:%02d:00", params.durationHours,
                  params.durationMinutesPart);
    if (run.raceRunning && run.elapsedHours == 0 && run.elapsedMinutes == 0 &&
        run.elapsedSeconds == 0 && run.elapsedMilliseconds == 0) {
      std::snprintf(run.remainingText, sizeof run.remainingText, "%d:%02d:%02d", run.clockHours,
                    run.clockMinutes, 0);
    } else {
      std::snprintf(run.remainingText, sizeof run.remainingText, "%d:%02d:%02d",
                    run.remainingHours, run.remainingMinutes, run.remainingSeconds);
    }
  }
  std::snprintf(run.elapsedText, sizeof run.elapsedText, "%d:%02d:%02d", run.elapsedHours,
                run.elapsedMinutes, run.elapsedSeconds);
}

void RaceControl::SetTotalTextsToZero() {
  Race& race = world_.race;
  for (int k = 0; k < race.participantCount; ++k) SetText(race.rows[k].totalText, kZeroTotal);
}

void RaceControl::RaceClock(uint32_t now) {
  Race& race = world_.race;
  RunState& run = race.run;
  const RaceParameters& params = race.params;
  run.resultsPresent = true;
  const bool timeLeft = run.remainingHours > 0 || run.remainingMinutes > 0 || run.remainingSeconds > 0;
  if (timeLeft) {
    const int32_t elapsed = static_cast<int32_t>(now - run.raceStartTick);
    const TimeParts e = SplitTime(elapsed);
    run.elapsedHours = e.hours;
    run.elapsedMinutes = e.minutes;
    run.elapsedSeconds = e.seconds;
    run.elapsedMilliseconds = e.milliseconds;
    const int32_t left = run.clockHours * 3600000 + run.clockMinutes * 60000 - elapsed + 1000;
    const TimeParts r = SplitTime(left);
    run.remainingHours = r.hours;
    run.remainingMinutes = r.minutes;
    run.remainingSeconds = r.seconds;
  }
  if (InMillisecondWindow(run.elapsedMilliseconds) && now - run.lastClockDisplayTick > 200) {
    run.lastClockDisplayTick = now;
    WriteClockTexts();
    world_.ui.Repaint(RaceArea::kClock);
  }
  Mark(TickPart::kClock);
  if (timeLeft) {
    announcer_.ClockAnnouncements(run, params);
    Mark(TickPart::kSound);
  }

  ReadPassagesThenCue();
  if (!run.raceRunning) {  // the lap ceiling stopped the run
    Mark(TickPart::kStop);
    return;
  }

  if (IsLapRun(params) && run.remainingHours == 0 && run.remainingMinutes == 0 &&
      run.remainingSeconds < 1) {
    OnStop();
    Mark(TickPart::kStop);
    return;
  }
  StopWhenAllFinished();
  Mark(TickPart::kStop);
}

int32_t RaceControl::RaceTimeOf(const DecodedPassage& passage) {
  const RunState& run = world_.race.run;
  if (passage.clock == DecodedPassage::Clock::kDecoder) {
    return passage.decoderTime - run.decoderTimeAtStart;
  }
  if (run.counterFrequency == 0) return 0;
  return static_cast<int32_t>(PcRaceTime(run, passage.counter));
}

void RaceControl::OnPassage(const DecodedPassage& passage) {
  const RunState& run = world_.race.run;
  if (run.raceRunning) {
    const int32_t raceTime = RaceTimeOf(passage);
    journal_->Passage(passage, raceTime);
    TimePassage(passage.transponder, raceTime);
  } else if (run.scanActive && run.scanPhase) {
    ScanPassage(passage.transponder);
  } else if (run.scanActive && run.checkPhase) {
    CheckPassage(passage.transponder);
  }
}

void RaceControl::ScanTick() {
  ReadPassagesThenCue();
  Race& race = world_.race;
  for (const ParticipantRecord& p : race.slots) {
    if (!p.scanSettled) return;
  }
  EnterCheckPhase();
}

void RaceControl::ScanPassage(const char* transponder) {
  Race& race = world_.race;
  bool taken = false;
  for (ParticipantRecord& p : race.slots) {
    const bool takes = (!taken && !p.scanSettled) ||
                       (p.scanSettled && SameText(p.transponder, transponder));
    if (!takes) continue;
    SetText(p.transponder, transponder);
    if (!p.scanSettled) PlayCue(SoundCue::kScanBeep);
    p.scanSettled = true;
    taken = true;
  }
  CopyTranspondersToStandingsAndRows();
  world_.ui.Repaint(RaceArea::kTable);
}

void RaceControl::CopyTranspondersToStandingsAndRows() {
  Race& race = world_.race;
  int k = 0;
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p) || k >= kSlotCount) continue;
    SetText(race.standings[k].transponder, p.transponder);
    SetText(race.rows[k].transponder, p.transponder);
    ++k;
  }
  for (; k < kSlotCount; ++k) {
    ClearText(race.standings[k].transponder);
    ClearText(race.rows[k].transponder);
  }
}

void RaceControl::EnterCheckPhase() {
  Race& race = world_.race;
  RunState& run = race.run;
  run.ready = false;
  run.scanPhase = false;
  run.checkPhase = true;
  announcer_.Cue(SoundCue::kScanSignal);
  run.counterFrequency = world_.clock.PerformanceFrequency();
  run.raceStartCounter = world_.clock.PerformanceCounter();
  world_.decoder.DiscardInput();
  for (ParticipantRecord& p : race.slots) p.scanSettled = IsEmptySlot(p);
  world_.ui.SetControlText(IDC_SCAN_STATUS, TXT_CHECK_IN_PROGRESS);
  SetTotalTextsToZero();
  world_.ui.Repaint(RaceArea::kTable);
}

void RaceControl::CheckTick() {
  ReadPassagesThenCue();
  for (const ParticipantRecord& p : world_.race.slots) {
    if (!p.scanSettled) return;
  }
  EndCheck();
}

void RaceControl::CheckPassage(const char* transponder) {
  Race& race = world_.race;
  for (ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p) || !SameText(p.transponder, transponder)) continue;
    p.passageCounter = world_.clock.PerformanceCounter();
    if (race.run.counterFrequency != 0) p.passageRaceTime = PcRaceTime(race.run, p.passageCounter);
    const int32_t time = static_cast<int32_t>(p.passageRaceTime);
    const int32_t candidate = time - p.passageTimes[p.lapCount];
    if (!(candidate > 2000 || p.lapCount == 0) || p.lapCount >= kMaxLapCount) continue;
    p.lapCount += 1;
    p.passageTimes[p.lapCount] = time;
    p.lastLap = candidate;
    p.lapRecorded = true;
    p.scanSettled = true;
    RankByLapsAndTime(race.slots, race.participantCount, race.standings);
    SplitTimes(race.standings, race.participantCount);
    FormatRows(race.standings, race.participantCount, race.rows);
    PlayCue(SoundCue::kScanBeep);
    world_.ui.Repaint(RaceArea::kTable);
    p.lapRecorded = false;
  }
}

void RaceControl::EndCheck() {
  Race& race = world_.race;
  RunState& run = race.run;
  RaceUi& ui = world_.ui;
  run.scanActive = false;
  run.checkPhase = false;
  world_.decoder.DiscardInput();
  ui.CheckControl(IDC_SCAN, false);
  EnableScanControls(true);
  ui.SetControlText(IDC_SCAN_STATUS, TXT_CHECK_COMPLETED);
  bool good = race.participantCount >= 1;
  for (int k = 1; k < race.participantCount; ++k) {
    if (race.standings[k].slotNumber <= race.standings[k - 1].slotNumber) good = false;
  }
  announcer_.Cue(good ? SoundCue::kCheckGood : SoundCue::kCheckBad);
}

}  // namespace zarvo
