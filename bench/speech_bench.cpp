// The lap callouts' share of the 10 ms tick: queuing a lap (all passage processing waits for),
// and the tick that hands a callout over, with the built-in voice composing its phrase from
// snippets the size of the shipped ones (16 kHz mono, about 0.4 s each).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "speech/lap_callouts.h"

namespace zarvo {
namespace {

class BusyVoice final : public SpeechVoice {
 public:
  VoiceStatus Status() const override { return VoiceStatus::kUnavailable; }
  bool Say(const char*) override { return false; }
  bool Speaking() const override { return false; }
  void Stop() override {}
};

// Takes every sound and is free again at once, so each tick composes a phrase.
class DroppingOutput final : public PcmPlayer {
 public:
  bool Play(PcmSound&& sound) override {
    benchmark::DoNotOptimize(sound.samples.data());
    bytes = sound.samples.size();
    return true;
  }
  size_t bytes = 0;
  bool Playing() const override { return false; }
  void Stop() override {}
};

std::string SnippetWav(size_t samples) {
  auto le = [](std::string& b, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b += char(v >> (8 * i) & 0xFF);
  };
  std::string w = "RIFF";
  le(w, uint32_t(36 + samples * 2), 4);
  w += "WAVEfmt ";
  le(w, 16, 4);
  le(w, 1, 2);
  le(w, 1, 2);
  le(w, 16000, 4);
  le(w, 32000, 4);
  le(w, 2, 2);
  le(w, 16, 2);
  w += "data";
  le(w, uint32_t(samples * 2), 4);
  w.append(samples * 2, '\x11');
  return w;
}

struct World {
  World() : callouts(settings, voice, output, bank) {
    for (int id = 0; id < kSnippetCount; ++id) bank.Set(SnippetId(id), SnippetWav(6400));
    settings.announceLaps = true;
    settings.sayPosition = true;
    callouts.SetRunTimed(true);
  }
  CalloutSettings settings;
  BusyVoice voice;
  DroppingOutput output;
  SnippetBank bank;
  LapCallouts callouts;
};

// Twenty cars crossing, each lap queued behind the others (and replacing its lane's older one).
void BM_CalloutLapQueued(benchmark::State& state) {
  World w;
  uint32_t now = 1000;
  int lane = 0;
  for (auto _ : state) {
    w.callouts.Lap(now, MakeLapEvent(lane + 1, "DRIVER", 21350 + lane, 7, lane == 3, lane + 1));
    lane = (lane + 1) % kCalloutLaneCount;
    ++now;
  }
}
BENCHMARK(BM_CalloutLapQueued);

// The tick that hands over "lane 17, 57.78, best lap, seventeenth": phrase, composition of
// eleven snippets (about 3 s of sound, 100 KB), hand-over.
void BM_CalloutTickComposingAPhrase(benchmark::State& state) {
  World w;
  uint32_t now = 1000;
  for (auto _ : state) {
    w.callouts.Lap(now, MakeLapEvent(17, "", 57775, 7, true, 17));
    w.callouts.Tick(now);
    now += 10;
  }
  state.counters["bytes"] = double(w.output.bytes);
}
BENCHMARK(BM_CalloutTickComposingAPhrase);

}  // namespace
}  // namespace zarvo
