// The run journal on disk and what start-up does with it (see run_journal_file.h).
#include "session/run_journal_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

bool JournalDiskFile::Open(const char* path) {
  Close();
  keptInTheWay_ = false;
  // A journal still there was kept for the next start-up (its run could not be written): it is
  // set aside, never emptied; when that fails the new run is not journaled.
  if (FileExists(path) && SetJournalAside(path).empty()) {
    keptInTheWay_ = true;
    return false;
  }
  return file_.Create(path, AppendFile::Mode::kNewOnly);
}

RunJournalFile::RunJournalFile(const JournalSessionSource& session, const SoundSettings& sounds,
                               MessageBoxes& boxes, const char* path, const char* workingCopyPath,
                               JournalDiskFile* disk, WriterClock& clock)
    : session_(session),
      sounds_(sounds),
      boxes_(boxes),
      path_(path),
      workingCopyPath_(workingCopyPath),
      disk_(disk != nullptr ? *disk : ownDisk_),
      writer_(disk_, kJournalQueueBytes, kJournalSyncIntervalMs, clock) {}

void RunJournalFile::Append(std::string_view line, bool syncNow) {
  if (state_ == State::kIdle || fellBehind_) return;
  if (!writer_.Write(line, syncNow)) fellBehind_ = true;
}

void RunJournalFile::RunStarted(const Race& race) {
  seq_ = 0;
  journaledRun_ = session_.runNumber;
  state_ = State::kRecording;
  fellBehind_ = false;
  fellBehindAt_ = 0;
  reported_ = false;
  open_ = 0;
  const std::string stamp = WorkingCopyStamp();
  const JournalSession session{
      session_.runNumber, session_.sessionName, session_.savedFilePath.c_str(),
      stamp.c_str(),      session_.circuitName, SameText(sounds_.passage, kSoundPassageOn)};
  // The writer sets a kept journal aside and creates the new one; the start line follows.
  if (!writer_.Open(path_)) {
    fellBehind_ = true;
    return;
  }
  open_ = writer_.OpensQueued();
  Append(JournalStartLine(race, session), true);
}

void RunJournalFile::Passage(const DecodedPassage& passage, int32_t raceTime) {
  if (state_ != State::kRecording || fellBehind_) return;
  const int64_t raw =
      passage.clock == DecodedPassage::Clock::kDecoder ? passage.decoderTime : passage.counter;
  JournalLine line;
  FormatPassageLine(line, ++seq_, passage.transponder, raceTime, passage.clock, raw);
  Append(line.View(), false);
  if (fellBehind_) fellBehindAt_ = raceTime;
}

void RunJournalFile::ManualLap(int slot, int64_t raceTime) {
  if (state_ != State::kRecording || fellBehind_) return;
  JournalLine line;
  FormatManualLapLine(line, ++seq_, slot, static_cast<int32_t>(raceTime));
  Append(line.View(), false);
  if (fellBehind_) fellBehindAt_ = static_cast<int32_t>(raceTime);
}

void RunJournalFile::SetupSaved(int slot, const SetupSheet& setup) {
  if (state_ == State::kIdle || slot < 1 || slot > kSlotCount) return;
  auto line = std::make_unique<JournalLine>();
  FormatSetupLine(*line, ++seq_, slot, setup);
  Append(line->View(), true);
}

void RunJournalFile::RunEnded(int32_t raceTime) {
  if (state_ != State::kRecording) return;
  JournalLine line;
  FormatEndLine(line, ++seq_, raceTime);
  Append(line.View(), true);
  state_ = State::kEnded;
}

void RunJournalFile::Report(const char* text) {
  reported_ = true;  // before the box: its message loop runs ticks of its own
  boxes_.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
}

void RunJournalFile::OnTick() {
  if (state_ == State::kIdle || reported_) return;
  // A journal that could not be started is said at once: the run is not protected at all.
  if (open_ == 0 || writer_.LastRefusedOpen() == open_) {
    Report(open_ != 0 && disk_.KeptJournalInTheWay() ? TXT_JOURNAL_KEPT_IN_THE_WAY
                                                     : TXT_JOURNAL_NOT_WRITTEN);
    return;
  }
  // Trouble on the way is said once the run is over.
  if (state_ != State::kEnded) return;
  if (writer_.LastFailedOpen() == open_) {
    Report(TXT_JOURNAL_NOT_WRITTEN);
  } else if (fellBehind_) {
    char text[256];
    std::snprintf(text, sizeof text, TXT_JOURNAL_FELL_BEHIND,
                  JournalTimeText(fellBehindAt_).c_str());
    Report(text);
  }
}

bool RunJournalFile::OwnsTheFile() const {
  return open_ != 0 && writer_.LastRefusedOpen() != open_;
}

void RunJournalFile::Retire() {
  writer_.Close();
  writer_.Flush();
  if (OwnsTheFile()) RemoveFile(path_.c_str());
  state_ = State::kIdle;
}

void RunJournalFile::SectionWritten(int32_t runNumber) {
  if (state_ != State::kEnded || runNumber != journaledRun_) return;
  writer_.Close();
  writer_.Flush();
  if (OwnsTheFile() && !RetireJournalOfWrittenRun(path_.c_str(), workingCopyPath_.c_str())) {
    KeepForRecovery();
    return;
  }
  state_ = State::kIdle;
}

void RunJournalFile::RunLeft() {
  if (state_ == State::kEnded) Retire();
}

void RunJournalFile::KeepForRecovery() {
  if (state_ != State::kEnded) return;
  writer_.Close();
  state_ = State::kIdle;
}

FoundJournal FindInterruptedRun(const char* path) {
  FoundJournal found;
  if (!FileExists(path)) return found;
  found.kind = FoundJournal::Kind::kUnreadable;
  if (!ReadWholeFile(path, found.bytes, kMaxJournalFileBytes)) return found;
  if (ReadJournalSummary(found.bytes, found.summary) != JournalRead::kRead) return found;
  found.kind = FoundJournal::Kind::kInterrupted;
  return found;
}

std::string RecoveryQuestion(const JournalSummary& summary) {
  char text[512];
  if (summary.Damaged()) {
    std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVER_DAMAGED_QUESTION,
                  int(summary.start.runNumber), summary.start.sessionName,
                  JournalTimeText(summary.lastRaceTime).c_str(), int(summary.passages),
                  int(summary.unreadableLines));
  } else {
    std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVER_QUESTION, int(summary.start.runNumber),
                  summary.start.sessionName, JournalTimeText(summary.lastRaceTime).c_str(),
                  int(summary.passages));
  }
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
