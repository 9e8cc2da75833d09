// The record of what the lap callouts said, for a test run without a sound card: when the
// environment variable ZARVO_CALLOUT_LOG names a file, every callout handed to a voice is one
// line of it, written by a thread of its own (the tick only copies the line into a queue), and
// the built-in voice's output counts as playing for the whole length of each sound, whether a
// device sounds it or not, so that the callouts follow one another as they would be heard.
//
// The file: a first line "# at_ms<TAB>lane<TAB>lap<TAB>voice<TAB>said", then one line a callout:
// the milliseconds since the record began, the lane (1..20), the driver's lap number, "builtin"
// or "speech", and what was said: the built-in voice's snippets by the name of their file
// without ".wav" ("ligne 3 | 21 virgule 35", "|" a pause), or the speech voice's text. Fields
// separated by tabs, Windows-1252, CR LF. A callout that found the queue full is not written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/pcm_player.h"
#include "session/background_writer.h"
#include "speech/lap_callouts.h"

namespace zarvo {

constexpr const char kCalloutLogVariable[] = "ZARVO_CALLOUT_LOG";
constexpr size_t kCalloutLogQueueBytes = size_t(64) << 10;

// One line of the record (without its CR LF), as CalloutLog writes it.
std::string CalloutLogLine(uint32_t atMs, const LapEvent& lap, CalloutVoice voice,
                           const SnippetSequence& snippets, const char* text);

class CalloutLog final : public CalloutRecorder {
 public:
  // Writes to path through file (a new file, replacing one that is there).
  CalloutLog(Clock& clock, WriterFile& file, const std::string& path);
  CalloutLog(Clock& clock, const std::string& path);

  void Said(uint32_t now, const LapEvent& lap, CalloutVoice voice, const SnippetSequence& snippets,
            const char* text) override;

  // Waits until every line so far is in the file (never on the tick).
  void Flush() { writer_.Flush(); }
  int LinesLeftOut() const { return leftOut_; }

 private:
  class ReplacingFile final : public WriterFile {
   public:
    bool Open(const char* path) override { return file_.Create(path, AppendFile::Mode::kReplace); }
    bool Append(std::string_view bytes) override { return file_.Append(bytes); }
    bool Sync() override { return file_.Sync(); }
    void Close() override { file_.Close(); }

   private:
    AppendFile file_;
  };

  ReplacingFile ownFile_;
  BackgroundWriter writer_;
  uint32_t start_;
  int leftOut_ = 0;
};

// The record the environment asks for, or null when ZARVO_CALLOUT_LOG is not set or empty.
std::unique_ptr<CalloutLog> CalloutLogFromEnvironment(Clock& clock);

// The output of a recorded run: each sound goes on to the device's output, and the output counts
// as playing until the sound's length has passed on the clock (or the device still plays).
class TimedPcmOutput final : public PcmPlayer {
 public:
  TimedPcmOutput(Clock& clock, std::unique_ptr<PcmPlayer> device)
      : clock_(clock), device_(std::move(device)) {}

  bool Play(PcmSound&& sound) override;
  bool Playing() const override;
  void Stop() override;

 private:
  Clock& clock_;
  std::unique_ptr<PcmPlayer> device_;
  bool holding_ = false;
  uint32_t holdEnd_ = 0;
};

}  // namespace zarvo
