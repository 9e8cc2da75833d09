// The run journal on disk, "Private/JournalPassages.jrn": race control's journal port written to
// the file as the run goes (one write per event, pushed to the disk at most every 100 ms and at
// the start and end), retired once the run's section is in the working copy or the user left the
// run; and what start-up does with the journal of a run that never reached the working copy.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/session_file.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/message_boxes.h"
#include "race/race_ports.h"
#include "race/run_journal.h"
#include "settings/sound_settings.h"

namespace zarvo {

constexpr const char kJournalPath[] = "Private/JournalPassages.jrn";
constexpr int kMaxJournalsAside = 999;
// What a power cut may lose: the events of the last 100 ms at most.
constexpr uint32_t kJournalSyncIntervalMs = 100;
// A journal of 12 hours at the line's 87 passages a second is about 170 MB.
constexpr size_t kMaxJournalFileBytes = size_t(256) << 20;

class RunJournalFile : public RunJournal {
 public:
  // sessionName, savedFilePath and runNumber are read when a run starts: the open session's name
  // and file, and the run in the participants table.
  RunJournalFile(const char* sessionName, const std::string& savedFilePath,
                 const int32_t& runNumber, const SoundSettings& sounds, Clock& clock,
                 MessageBoxes& boxes, const char* path = kJournalPath,
                 const char* workingCopyPath = kWorkingCopyPath);

  // RunJournal.
  void RunStarted(const Race& race) override;
  void Passage(const DecodedPassage& passage, int32_t raceTime) override;
  void ManualLap(int slot, int64_t raceTime) override;
  void RunEnded(int32_t raceTime) override;
  void ResultsCleared() override { RunLeft(); }
  // The run synthesis saved slot 1..20's setup sheet while the run is timed: kept with the run's
  // events and pushed to the disk at once. Nothing is written when no run is being recorded.
  void SetupSaved(int slot, const SetupSheet& setup);

  // Timer 1: what was appended and not yet pushed to the disk is pushed once 100 ms have passed
  // since the last push.
  void OnTick();
  // Run n's section reached the working copy: the journal of that run is retired once the
  // working copy is pushed to the disk (the section was written in place, and a power cut must
  // not keep the journal's removal and lose the section); when that push fails the journal stays
  // for the next start-up.
  void SectionWritten(int32_t runNumber);
  // The run left the participants table without being written (another run or session was
  // chosen, the program ends): its journal is retired.
  void RunLeft();
  // The run's section could not be written: the journal stays on disk for the next start-up.
  void KeepForRecovery();

  bool Recording() const { return state_ == State::kRecording; }
  // Pushes to the disk since the program started (figures).
  int64_t syncCount() const { return syncs_; }

 private:
  enum class State { kIdle, kRecording, kEnded };
  void Append(const std::string& line, bool syncNow);
  void Sync();
  void Fail();
  void Retire();

  const char* sessionName_;
  const std::string& savedFilePath_;
  const int32_t& runNumber_;
  const SoundSettings& sounds_;
  Clock& clock_;
  MessageBoxes& boxes_;
  std::string path_;
  std::string workingCopyPath_;
  AppendFile file_;
  State state_ = State::kIdle;
  int32_t journaledRun_ = 0;
  int64_t seq_ = 0;
  bool dirty_ = false;
  bool failed_ = false;
  uint32_t lastSync_ = 0;
  int64_t syncs_ = 0;
};

// What start-up finds.
struct FoundJournal {
  enum class Kind { kNone, kUnreadable, kInterrupted };
  Kind kind = Kind::kNone;
  JournalSummary summary;
  std::string bytes;  // the usable part of the journal
};

FoundJournal FindInterruptedRun(const char* path = kJournalPath);
// "The run Run3 of session ... was interrupted at 0:12:34 with 213 passages. Recover it?"
std::string RecoveryQuestion(const JournalSummary& summary);
// Renames the journal to the first free numbered name; that name, or empty when it failed.
std::string SetJournalAside(const char* path = kJournalPath);

// Removes the journal of a run whose section was written into the working copy, once the working
// copy (rewritten in place) is pushed to the disk, so that a power cut cannot keep the removal and
// lose the section. False, the journal kept, when the push fails.
bool RetireJournalOfWrittenRun(const char* path = kJournalPath,
                               const char* workingCopyPath = kWorkingCopyPath);

}  // namespace zarvo
