// The live results as the web page shows them: an immutable copy of the run in the participants
// table (state, clock texts, the rows of the results table, each driver's laps) and of the other
// runs of the session, built on the user-interface thread after a refresh and read by the
// server's threads. Texts are Windows-1252, as in the program; the page's writer converts them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "race/race_model.h"

namespace zarvo {

enum class LiveRunState { kWaiting, kCountdown, kRunning, kFinished };

// One row of a run's classification, with the texts the results table shows.
struct LiveRow {
  int position;    // 1-based, in classification order
  int slotNumber;  // 1..20: the driver's lap button, stable while the run lasts
  std::string driverName;
  std::string lapsText;
  std::string totalText;
  std::string lastLapText;
  std::string bestLapText;
  bool finished;
  bool lapRecorded;    // the lap just recorded is being announced
  bool newBest;        // the last lap improved the driver's best lap
  bool runBestHolder;  // holds the best lap of the run
  // Duration of laps 1..n, milliseconds (the writer formats them as the table's lap times).
  std::vector<int32_t> lapTimes;
};

struct RunResults {
  int runNumber;         // 1..20
  std::string runTitle;  // "Start ... - Duration ...", "." after a clear, or empty
  std::vector<LiveRow> rows;
};

// The runs of the session other than the live one, in run order. Rebuilt only when the session's
// runs change (a run written, a session loaded), so a snapshot of the live run shares it.
struct SessionRuns {
  uint64_t id;  // different for every list made, so the page knows when to fetch it again
  std::vector<RunResults> runs;
};

struct LiveClock {
  bool lapRun;             // the run lasts a number of laps: no remaining time
  std::string duration;    // "%d:%02d:00", or "%d laps" in a lap run
  std::string elapsed;     // "%d:%02d:%02d"
  std::string remaining;   // "%d:%02d:%02d"; empty in a lap run
  std::string countdown;   // "%ds"
};

struct Snapshot {
  uint64_t version = 0;  // given by the publisher, increasing
  std::string sessionName;
  LiveRunState state = LiveRunState::kWaiting;
  LiveClock clock;
  RunResults live;
  std::shared_ptr<const SessionRuns> otherRuns;  // never null in a built snapshot
};

// The rows of a run in classification order, from the race's standings and results rows as the
// last refresh left them (the first participantCount of them).
std::vector<LiveRow> ClassificationRows(const Race& race);

// Waiting, countdown (armed: countdown or start handshake), running, or finished (a run that was
// started and is over, or a timed run loaded from the session).
LiveRunState RunStateOf(const Race& race);

// The snapshot of the run in the participants table. otherRuns may be null (no other run).
std::shared_ptr<Snapshot> BuildLiveSnapshot(const Race& race, const char* sessionName,
                                            int runNumber,
                                            std::shared_ptr<const SessionRuns> otherRuns);

// Reads the runs of a session for CollectSessionRuns; implemented over the session file.
class RunSectionSource {
 public:
  virtual ~RunSectionSource() = default;
  // The session's run count (0..20).
  virtual int RunCount() = 0;
  // Fills the table as loading the run does (names from the participants list, table reset, then
  // the run's section read); false when the session holds no section of that run.
  virtual bool ReadRun(int runNumber, Race& race) = 0;
};

// The classification of a stored run, ranked by the given classification key.
RunResults SummariseRun(int runNumber, const Race& race, const char* classificationKey);

// Every run of the source but the live one that holds a lap, ranked by the key.
std::shared_ptr<const SessionRuns> CollectSessionRuns(RunSectionSource& source, int liveRunNumber,
                                                      const char* classificationKey);

// An empty list, for a session without other runs.
std::shared_ptr<const SessionRuns> NoSessionRuns();

}  // namespace zarvo
