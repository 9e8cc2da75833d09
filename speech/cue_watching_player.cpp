// Cues played as before, their lengths told to the lap callouts.
#include "speech/cue_watching_player.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/files.h"
#include "speech/wav_snippets.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// The chunks before the samples of any WAV file the program ships fit in far less.
constexpr size_t kHeaderBytes = 4096;

}  // namespace

uint32_t WavFileDurationMs(const char* path) {
  std::FILE* file = OpenFile(path, "rb");
  if (file == nullptr) return 0;
  char buffer[kHeaderBytes];
  const size_t n = std::fread(buffer, 1, sizeof buffer, file);
  std::fclose(file);
  WavInfo info;
  if (ParseWav(std::string_view(buffer, n), false, info) != WavRead::kRead) return 0;
  return WavDurationMs(info);
}

uint32_t CueWatchingPlayer::DurationOf(const char* fileName) {
  for (int i = 0; i < knownCount_; ++i) {
    if (std::strncmp(known_[i].fileName, fileName, sizeof known_[i].fileName) == 0) {
      return known_[i].ms;
    }
  }
  const uint32_t ms = WavFileDurationMs(fileName);
  // A name too long for the table is not kept: a cut name could stand for another file.
  if (knownCount_ < kKnownCapacity && std::strlen(fileName) < sizeof known_[0].fileName) {
    SetText(known_[knownCount_].fileName, fileName);
    known_[knownCount_].ms = ms;
    ++knownCount_;
  }
  return ms;
}

void CueWatchingPlayer::Play(const char* fileName, bool wait) {
  // The length is read before the sound starts, so that the hold covers the whole of it; with
  // callouts off nothing is read.
  const bool holds = !wait && callouts_.On();
  const uint32_t ms = holds ? DurationOf(fileName) : 0;
  player_.Play(fileName, wait);
  if (holds) callouts_.CueStarted(clock_.TickCount(), ms);
}

}  // namespace zarvo
