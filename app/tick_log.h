// The tick log of a measurement run: every tick of timer 1 as one line with its duration, the time
// since the tick before and the time of each of its parts (race_ports.h, TickPart), written to a
// file by a thread of its own, so the log never holds the tick it measures. It is on only when the
// environment variable ZARVO_TICK_LOG names the file to write (a measurement script sets it); the
// program's own files and windows are the same with it or without it.
//
// The file: a first line "# tick<TAB>at_ms<TAB>gap_us<TAB>total_us<TAB>" and the parts' names
// (each with "_us"), then one line a tick: its number from 1, the milliseconds since the log
// began, the microseconds since the start of the tick before (0 for the first), the tick's own
// microseconds, then those of each part; every field followed by a tab, CR LF. A tick that found
// the log's queue full is not written; the next line written after it says how many were left
// out ("# <n> ticks not logged").
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "race/race_ports.h"
#include "session/background_writer.h"

namespace zarvo {

constexpr const char kTickLogVariable[] = "ZARVO_TICK_LOG";
constexpr size_t kTickLogQueueBytes = size_t(1) << 20;

class TickLog final : public TickProbe {
 public:
  // Writes to path through file (the program's: a new file, replacing one that is there).
  TickLog(Clock& clock, WriterFile& file, const std::string& path);
  TickLog(Clock& clock, const std::string& path);

  void TickBegins();
  void PartDone(TickPart part) override;
  void TickEnds();

  // Waits until every line so far is in the file (not on the tick).
  void Flush() { writer_.Flush(); }
  uint64_t TicksLogged() const { return logged_; }
  uint64_t TicksLeftOut() const { return leftOutTotal_; }

  // The name of a part in the log's first line ("supervise", "passages", ...).
  static const char* PartName(TickPart part);

 private:
  int64_t Microseconds(int64_t fromCounter, int64_t toCounter) const;

  class ReplacingFile final : public WriterFile {
   public:
    bool Open(const char* path) override { return file_.Create(path, AppendFile::Mode::kReplace); }
    bool Append(std::string_view bytes) override { return file_.Append(bytes); }
    bool Sync() override { return file_.Sync(); }
    void Close() override { file_.Close(); }

   private:
    AppendFile file_;
  };

  Clock& clock_;
  ReplacingFile ownFile_;
  BackgroundWriter writer_;
  int64_t frequency_;
  int64_t logStart_;
  int64_t tickStart_ = 0;
  int64_t previousTickStart_ = 0;
  int64_t partStart_ = 0;
  int64_t parts_[kTickPartCount] = {};
  uint64_t ticks_ = 0;
  uint64_t logged_ = 0;
  uint64_t leftOut_ = 0;  // since the last line written
  uint64_t leftOutTotal_ = 0;
};

// The log the environment asks for, or null when ZARVO_TICK_LOG is not set or empty.
std::unique_ptr<TickLog> TickLogFromEnvironment(Clock& clock);

}  // namespace zarvo
