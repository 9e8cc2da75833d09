// The run journal on disk and what start-up does with it (see run_journal_file.h).
#include "app/run_journal_file.h"

#include <cstdio>
#include <cstring>

#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

RunJournalFile::RunJournalFile(const char* sessionName, const std::string& savedFilePath,
                               const int32_t& runNumber, const SoundSettings& sounds, Clock& clock,
                               MessageBoxes& boxes, const char* path, const char* workingCopyPath)
    : sessionName_(sessionName),
      savedFilePath_(savedFilePath),
      runNumber_(runNumber),
      sounds_(sounds),
      clock_(clock),
      boxes_(boxes),
      path_(path),
      workingCopyPath_(workingCopyPath) {}

void RunJournalFile::Fail() {
  if (failed_) return;
  failed_ = true;
  file_.Close();
}

void RunJournalFile::Sync() {
  if (!file_.IsOpen()) return;
  if (!file_.Sync()) Fail();
  ++syncs_;
  dirty_ = false;
  lastSync_ = clock_.TickCount();
}

void RunJournalFile::Append(const std::string& line, bool syncNow) {
  if (state_ != State::kRecording || !file_.IsOpen()) return;
  if (!file_.Append(line)) {
    Fail();
    return;
  }
  dirty_ = true;
  if (syncNow || clock_.TickCount() - lastSync_ >= kJournalSyncIntervalMs) Sync();
}

void RunJournalFile::RunStarted(const Race& race) {
  file_.Close();
  failed_ = false;
  seq_ = 0;
  journaledRun_ = runNumber_;
  state_ = State::kRecording;
  // A journal still there was kept for the next start-up (its run could not be written): it is
  // set aside, never overwritten.
  if (FileExists(path_.c_str())) SetJournalAside(path_.c_str());
  if (!file_.Create(path_.c_str(), AppendFile::Mode::kReplace)) {
    Fail();
    boxes_.Show(TXT_CAPTION_ERROR, TXT_JOURNAL_NOT_WRITTEN, MessageIcon::kError);
    return;
  }
  Append(JournalStartLine(race, runNumber_, sessionName_, savedFilePath_.c_str(),
                          SameText(sounds_.passage, kSoundPassageOn)),
         true);
}

void RunJournalFile::Passage(const DecodedPassage& passage, int32_t raceTime) {
  const int64_t raw =
      passage.clock == DecodedPassage::Clock::kDecoder ? passage.decoderTime : passage.counter;
  Append(JournalPassageLine(++seq_, passage.transponder, raceTime, passage.clock, raw), false);
}

void RunJournalFile::ManualLap(int slot, int64_t raceTime) {
  Append(JournalManualLapLine(++seq_, slot, static_cast<int32_t>(raceTime)), false);
}

void RunJournalFile::SetupSaved(int slot, const SetupSheet& setup) {
  if (state_ != State::kRecording || slot < 1 || slot > kSlotCount) return;
  Append(JournalSetupLine(++seq_, slot, setup), true);
}

void RunJournalFile::RunEnded(int32_t raceTime) {
  if (state_ != State::kRecording) return;
  Append(JournalEndLine(++seq_, raceTime), true);
  file_.Close();
  state_ = State::kEnded;
  // Shown once the run is over, not in the middle of the tick that read a passage.
  if (failed_) boxes_.Show(TXT_CAPTION_ERROR, TXT_JOURNAL_NOT_WRITTEN, MessageIcon::kError);
}

void RunJournalFile::OnTick() {
  if (dirty_ && clock_.TickCount() - lastSync_ >= kJournalSyncIntervalMs) Sync();
}

void RunJournalFile::Retire() {
  file_.Close();
  RemoveFile(path_.c_str());
  state_ = State::kIdle;
}

void RunJournalFile::SectionWritten(int32_t runNumber) {
  if (state_ != State::kEnded || runNumber != journaledRun_) return;
  file_.Close();
  if (!RetireJournalOfWrittenRun(path_.c_str(), workingCopyPath_.c_str())) {
    KeepForRecovery();
    return;
  }
  state_ = State::kIdle;
}

void RunJournalFile::RunLeft() {
  if (state_ == State::kEnded) Retire();
}

void RunJournalFile::KeepForRecovery() {
  if (state_ == State::kEnded) state_ = State::kIdle;
}

FoundJournal FindInterruptedRun(const char* path) {
  FoundJournal found;
  if (!FileExists(path)) return found;
  found.kind = FoundJournal::Kind::kUnreadable;
  if (!ReadWholeFile(path, found.bytes, kMaxJournalFileBytes)) return found;
  if (ReadJournalSummary(found.bytes, found.summary) != JournalRead::kRead) return found;
  found.bytes.resize(found.summary.usableBytes);
  found.kind = FoundJournal::Kind::kInterrupted;
  return found;
}

std::string RecoveryQuestion(const JournalSummary& summary) {
  char text[256];
  std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVER_QUESTION, int(summary.start.runNumber),
                summary.start.sessionName, JournalTimeText(summary.lastRaceTime).c_str(),
                int(summary.passages));
  return text;
}

bool RetireJournalOfWrittenRun(const char* path, const char* workingCopyPath) {
  if (!SyncFileToDisk(workingCopyPath)) return false;
  RemoveFile(path);
  return true;
}

std::string SetJournalAside(const char* path) {
  std::string stem = path;
  const size_t dot = stem.rfind('.');
  std::string extension;
  if (dot != std::string::npos && stem.find_first_of("/\\", dot) == std::string::npos) {
    extension = stem.substr(dot);
    stem.resize(dot);
  }
  for (int n = 1; n <= kMaxJournalsAside; ++n) {
    const std::string aside = stem + "-" + std::to_string(n) + extension;
    if (FileExists(aside.c_str())) continue;
    if (RenameFileKeeping(path, aside.c_str())) return aside;
  }
  return std::string();
}

}  // namespace zarvo
