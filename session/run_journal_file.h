// The run journal on disk, "Private/JournalPassages.jrn": race control's journal port written to
// the file by a thread of its own (session/background_writer.h), so the tick never waits for the
// disk; retired once the run's section is in the working copy or the user left the run; and what
// start-up does with the journal of a run that never reached the working copy.
//
// Every event goes to the writer at once, in its order: the writer hands each line to the
// operating system as soon as it comes and pushes it to the disk at most 100 ms later (the start,
// the end and a saved setup sheet at once), so a killed program loses what the writer had not yet
// handed on (nothing, unless the disk held a push up meanwhile) and a power cut the last 100 ms.
// When the queue (2 MB, a whole run of 20 drivers and 999 laps) is full because the disk has held
// the writer up that long, the journal stops recording the run at that event, so the file stays
// a true beginning of the run, and says so once the run is over; the run itself goes on.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/message_boxes.h"
#include "race/race_ports.h"
#include "race/run_journal.h"
#include "records/sound_settings.h"
#include "session/background_writer.h"
#include "session/session_file.h"

namespace zarvo {

constexpr const char kJournalPath[] = "Private/JournalPassages.jrn";
constexpr int kMaxJournalsAside = 999;
// What a power cut may lose: the events of the last 100 ms at most.
constexpr uint32_t kJournalSyncIntervalMs = 100;
constexpr size_t kJournalQueueBytes = size_t(2) << 20;
// A journal of 12 hours at the line's 87 passages a second is about 170 MB.
constexpr size_t kMaxJournalFileBytes = size_t(256) << 20;

// The journal's file as the writer thread opens it: a journal left at the path (kept for the next
// start-up, its run never written) is first set aside under the first free numbered name, and
// the new journal is created only where no file is, so a kept journal is never emptied.
class JournalDiskFile : public WriterFile {
 public:
  bool Open(const char* path) override;
  bool Append(std::string_view bytes) override { return file_.Append(bytes); }
  bool Sync() override { return file_.Sync(); }
  void Close() override { file_.Close(); }
  // The last Open failed because a journal there could not be set aside (read on any thread).
  bool KeptJournalInTheWay() const { return keptInTheWay_.load(); }

 private:
  AppendFile file_;
  std::atomic<bool> keptInTheWay_{false};
};

// What RunStarted reads of the open session when a run starts: its name, saved file, the run in
// the participants table and its track's circuit. The working copy's stamp is read then too.
struct JournalSessionSource {
  const char* sessionName;
  const std::string& savedFilePath;
  const int32_t& runNumber;
  const char* circuitName;
};

class RunJournalFile : public RunJournal {
 public:
  // disk: the file the writer thread writes (a JournalDiskFile of its own when null); clock: what
  // paces its pushes to the disk.
  RunJournalFile(const JournalSessionSource& session, const SoundSettings& sounds,
                 MessageBoxes& boxes, const char* path = kJournalPath,
                 const char* workingCopyPath = kWorkingCopyPath, JournalDiskFile* disk = nullptr,
                 WriterClock& clock = SteadyWriterClock());

  // RunJournal.
  void RunStarted(const Race& race) override;
  void Passage(const DecodedPassage& passage, int32_t raceTime) override;
  void ManualLap(int slot, int64_t raceTime) override;
  void RunEnded(int32_t raceTime) override;
  void ResultsCleared() override { RunLeft(); }
  // The run synthesis saved slot 1..20's setup sheet, while the run is timed or after its end
  // (until the journal is retired): kept with the run's events and pushed to the disk at once.
  // Nothing is written when no run is journaled.
  void SetupSaved(int slot, const SetupSheet& setup);

  // Timer 1, after race control: shows, outside race control's work, what went wrong with the
  // journal (a journal that cannot be started at once; one that could not be written, or fell
  // behind, once the run is over). Never waits for the disk.
  void OnTick();
  // Run n's section reached the working copy: the journal of that run is retired once the
  // working copy is pushed to the disk (the section was written in place, and a power cut must
  // not keep the journal's removal and lose the section); when that push fails the journal stays
  // for the next start-up. Waits for the writer (never called on the tick).
  void SectionWritten(int32_t runNumber);
  // The run left the participants table without being written (another run or session was
  // chosen, "Clear", the program ends): its journal is retired. Waits for the writer.
  void RunLeft();
  // The run's section could not be written: the journal stays on disk for the next start-up.
  void KeepForRecovery();

  bool Recording() const { return state_ == State::kRecording; }
  // Waits until every event so far is with the operating system and any push then due is done
  // (tests, the end of the program).
  void Flush() {
    writer_.Wake();
    writer_.Flush();
  }
  // Pushes to the disk since the program started (figures).
  int64_t syncCount() const { return int64_t(writer_.Syncs()); }

 private:
  enum class State { kIdle, kRecording, kEnded };
  // Queues the line; a full queue stops the run's journal there.
  void Append(std::string_view line, bool syncNow);
  // The file at the path is this run's journal (it was not refused for a kept one in the way);
  // asked once the writer is flushed.
  bool OwnsTheFile() const;
  void Retire();
  void Report(const char* text);

  JournalSessionSource session_;
  const SoundSettings& sounds_;
  MessageBoxes& boxes_;
  std::string path_;
  std::string workingCopyPath_;
  JournalDiskFile ownDisk_;
  JournalDiskFile& disk_;
  BackgroundWriter writer_;
  State state_ = State::kIdle;
  int32_t journaledRun_ = 0;
  int64_t seq_ = 0;
  uint64_t open_ = 0;         // the writer's number of this run's journal
  bool fellBehind_ = false;   // the queue was full: the rest of the run is not journaled
  int32_t fellBehindAt_ = 0;  // race time of the event that found it full
  bool reported_ = false;     // this run's trouble has been shown
};

// What start-up finds.
struct FoundJournal {
  enum class Kind { kNone, kUnreadable, kInterrupted };
  Kind kind = Kind::kNone;
  JournalSummary summary;
  std::string bytes;  // the journal as it is on disk
};

FoundJournal FindInterruptedRun(const char* path = kJournalPath);
// "The run Run3 of session ... was interrupted at 0:12:34 with 213 passages. Recover it?", with
// the number of lines that could not be read when there are any.
std::string RecoveryQuestion(const JournalSummary& summary);
// Renames the journal to the first free numbered name; that name, or empty when it failed.
std::string SetJournalAside(const char* path = kJournalPath);

// Removes the journal of a run whose section was written into the working copy, once the working
// copy (rewritten in place) is pushed to the disk, so that a power cut cannot keep the removal and
// lose the section. False, the journal kept, when the push fails.
bool RetireJournalOfWrittenRun(const char* path = kJournalPath,
                               const char* workingCopyPath = kWorkingCopyPath);

}  // namespace zarvo
