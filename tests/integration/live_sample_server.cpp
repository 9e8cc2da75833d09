// A live results server on 127.0.0.1 over a practice run that goes on by itself: eight drivers
// (one of them named like markup, some with accents), laps recorded every 400 ms, the clock texts
// of a 30-minute time run and two other runs of the session. For the browser test of the page.
// Usage: zarvo-live-sample [--port N] [--seconds S]   (prints "port N" once it listens; ends
// by itself after S seconds, 60 by default, or at SIGTERM)
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/live_server.h"
#include "tests/support/live_samples.h"
#include "text/fixed_text.h"
#include "web/live_site.h"

namespace {

std::atomic<bool> gStop{false};

void OnSignal(int) { gStop = true; }

// Written in the source as UTF-8, compiled to Windows-1252 like every text of the program.
const char* const kNames[] = {"Léa Martin", "<script>alert(1)</script>", "Jürgen Weiß",
                              "Tom O'Neil", "Zoé & Noé", "Marco Rossi", "Ana Sofía", "Ben"};
const char* const kTransponders[] = {"004701", "004702", "004703", "004704",
                                     "004705", "004706", "004707", "004708"};

void ClockText(char* out, size_t capacity, int32_t ms) {
  std::snprintf(out, capacity, "%d:%02d:%02d", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zarvo;
  int port = 0, seconds = 60;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--port") == 0) port = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);
  }
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);

  testing::TimingFixture f({});
  Race& race = *f.race;
  for (int s = 0; s < 8; ++s) {
    SetText(race.slots[s].driverName, kNames[s]);
    SetText(race.slots[s].transponder, kTransponders[s]);
  }
  race.params.durationMinutes = 30;
  SplitDuration(race.params);
  ResetTable(race);
  WipeStandings(race);
  RebuildStandings(race);
  RebuildRows(race);
  SetText(race.run.runTitle, "Start 2024/05/01 14:03:10 - Duration 0:30:00");
  SetText(race.run.durationText, "0:30:00");

  auto others = std::make_shared<SessionRuns>();
  others->id = 1;
  others->runs.push_back(testing::TimedRunResults(1, 6, 9));
  others->runs.push_back(testing::TimedRunResults(2, 8, 12));

  SnapshotPublisher publisher;
  LiveSite site(publisher);
  LiveServer server(site);
  const LiveServerStart start = server.Start(port, "127.0.0.1");
  if (start.result != LiveServerResult::kStarted) {
    std::fprintf(stderr, "cannot listen on port %d (error %d)\n", port, start.systemError);
    return 1;
  }
  std::printf("port %d\n", start.port);
  std::fflush(stdout);

  // Race time runs 40 times faster than the wall clock: a 30-odd-second lap every 400 ms or so.
  int32_t raceTime = 0;
  int32_t next[8];
  for (int s = 0; s < 8; ++s) next[s] = 1000 + 300 * s;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!gStop && std::chrono::steady_clock::now() < end) {
    raceTime += 400 * 40;
    for (int s = 0; s < 8; ++s) {
      while (next[s] <= raceTime) {
        f.Pass(kTransponders[s], next[s]);
        next[s] += 28000 + 900 * s + (next[s] / 7 % 1500);
      }
    }
    ClockText(race.run.elapsedText, sizeof race.run.elapsedText, raceTime);
    const int32_t left = race.params.durationMinutes * 60000 - raceTime + 1000;
    ClockText(race.run.remainingText, sizeof race.run.remainingText, left > 0 ? left : 0);
    publisher.Publish(BuildLiveSnapshot(race, "SEANCE TRAINING", 3, others));
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
  }
  server.Stop();
  return 0;
}
