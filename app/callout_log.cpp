// The record of the lap callouts of a test run (see callout_log.h).
#include "app/callout_log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zarvo {

namespace {

// "sons/voix/21.wav" -> "21".
void AppendSnippetName(SnippetId id, std::string& out) {
  char file[64];
  if (!SnippetFile(id, file, sizeof file)) {
    out += '?';
    return;
  }
  const char* name = file + std::strlen(kSnippetFolder);
  const char* dot = std::strrchr(name, '.');
  out.append(name, dot != nullptr ? size_t(dot - name) : std::strlen(name));
}

}  // namespace

std::string CalloutLogLine(uint32_t atMs, const LapEvent& lap, CalloutVoice voice,
                           const SnippetSequence& snippets, const char* text) {
  char head[64];
  std::snprintf(head, sizeof head, "%u\t%d\t%d\t%s\t", unsigned(atMs), lap.slot, int(lap.lapNumber),
                voice == CalloutVoice::kSpeech ? "speech" : "builtin");
  std::string line = head;
  if (voice == CalloutVoice::kSpeech) {
    line += text != nullptr ? text : "";
    return line;
  }
  for (int i = 0; i < snippets.count && i < kMaxPhraseSnippets; ++i) {
    if (i > 0) line += ' ';
    if (snippets.items[i] == kSnippetPause) {
      line += '|';
    } else {
      AppendSnippetName(snippets.items[i], line);
    }
  }
  return line;
}

CalloutLog::CalloutLog(Clock& clock, WriterFile& file, const std::string& path)
    : writer_(file, kCalloutLogQueueBytes, 0), start_(clock.TickCount()) {
  writer_.Open(path);
  writer_.Write("# at_ms\tlane\tlap\tvoice\tsaid\r\n", false);
}

CalloutLog::CalloutLog(Clock& clock, const std::string& path) : CalloutLog(clock, ownFile_, path) {}

void CalloutLog::Said(uint32_t now, const LapEvent& lap, CalloutVoice voice,
                      const SnippetSequence& snippets, const char* text) {
  const std::string line = CalloutLogLine(now - start_, lap, voice, snippets, text) + "\r\n";
  if (!writer_.Write(line, false)) ++leftOut_;
}

std::unique_ptr<CalloutLog> CalloutLogFromEnvironment(Clock& clock) {
  const char* path = std::getenv(kCalloutLogVariable);
  if (path == nullptr || path[0] == '\0') return nullptr;
  return std::make_unique<CalloutLog>(clock, path);
}

bool TimedPcmOutput::Play(PcmSound&& sound) {
  const uint64_t perSecond = uint64_t(sound.format.samplesPerSecond) * PcmFrameBytes(sound.format);
  if (sound.samples.empty() || perSecond == 0) return false;
  const uint32_t ms = uint32_t((uint64_t(sound.samples.size()) * 1000 + perSecond - 1) / perSecond);
  // Whether the device takes it or not: the record is the same with or without a sound card.
  if (device_ != nullptr) device_->Play(std::move(sound));
  holdEnd_ = clock_.TickCount() + ms;
  holding_ = true;
  return true;
}

bool TimedPcmOutput::Playing() const {
  if (device_ != nullptr && device_->Playing()) return true;
  return holding_ && int32_t(holdEnd_ - clock_.TickCount()) > 0;
}

void TimedPcmOutput::Stop() {
  if (device_ != nullptr) device_->Stop();
  holding_ = false;
}

}  // namespace zarvo
