// What the results export writes, as plain data: the runs of a session (or one run) with, per
// driver in classification order, his position, laps, times and their texts, and his laps.
//
// The numbers and texts are the program's own: a session run is ranked by the classification of
// the results table (race/classification.h) and its time texts are the table's; an archived run
// gets the lap statistics of the run window (analysis/lap_statistics.h). Nothing is recomputed
// another way. Texts are Windows-1252, as everywhere inside the program; the writers convert.
#pragma once

#include <cstdint>
#include <vector>

#include "analysis/lap_statistics.h"
#include "databases/runs_database.h"
#include "race/race_model.h"

namespace zarvo {

constexpr int kExportTitleCapacity = 160;     // a heading line: caption, " : ", driver
constexpr int kExportCaptionCapacity = 90;    // " %s - Run%d "
constexpr int kExportRunTitleCapacity = 105;  // "Start ... - Duration ..."
constexpr int kExportCircuitCapacity = 40;
constexpr int kExportLabelCapacity = 50;  // the session label of the track dialog
constexpr int kMaxExportRuns = 20;

// One driver of a run, as the results table shows him. Times are milliseconds; a driver without
// a lap has no times (the writers leave them empty).
struct ExportDriver {
  int32_t position;    // 1 = first of the classification
  int32_t slotNumber;  // 1..20
  char driverName[kDriverNameCapacity];
  int32_t lapCount;
  int32_t totalTime;  // own-clock time of the last passage
  int32_t bestLap;
  int32_t averageLap;
  int32_t worstLap;
  int32_t lastLap;
  char totalText[kTimeTextCapacity];  // "0:45.120", "1:02:03.004"
  char bestText[kTimeTextCapacity];   // "20.512", "1:02.004"
  char averageText[kTimeTextCapacity];
  char worstText[kTimeTextCapacity];
  char lastText[kTimeTextCapacity];
  bool bestOfRun;  // his best lap is the run's best (every holder of it when tied)
  RunLaps laps;    // passage times 0..lapCount and lap times 1..lapCount
};

struct ExportRun {
  int32_t runNumber;  // 1..20 in its session; 0 when not known
  char runCaption[kExportCaptionCapacity];
  char runTitle[kExportRunTitleCapacity];  // "Start ..." when the run was started, else empty
  char circuitName[kExportCircuitCapacity];
  bool rankedByBestLap;  // the session's classification key was "CLASSEMENTMeilleurTour"
  int32_t driverCount;   // 0..20
  ExportDriver drivers[kSlotCount];  // drivers[0..driverCount-1] in classification order
};

// A session, or a single run in the same shape.
struct ExportSession {
  char title[kExportTitleCapacity];  // the session name, or the heading line of a single run
  char label[kExportLabelCapacity];  // the session label (track dialog), or empty
  std::vector<ExportRun> runs;       // at most 20, in run order
};

// What goes with a run besides its table.
struct ExportRunInfo {
  int32_t runNumber;
  const char* runCaption;
  const char* runTitle;
  const char* circuitName;
};

// The run held in the participants table: the occupied slots ranked by the race's
// classification key, exactly as the results table ranks and writes them (standings rebuilt, then
// the standard refresh, on a copy: the race itself is not touched).
void BuildRunFromRace(const Race& race, const ExportRunInfo& info, ExportRun& out);

// One driver's run as the run windows show it (the run detail window, the run synthesis): its
// best, worst and average lap over all its laps, its last lap and its total time, the driver in
// first place. Only the record's name, lap count and passage times are used. out.title becomes
// the windows' heading line (caption, " : ", driver).
void BuildDriverRunExport(const ParticipantRecord& record, const char* runCaption,
                          const char* runTitle, const char* circuitName, ExportSession& out);
// The same for a run of a driver's runs database, with its caption, title and track.
void BuildArchivedRunExport(const ArchivedRun& archived, ExportSession& out);

// The number n of a run caption " %s - Run%d " (the session name may hold anything), or 0.
int32_t RunNumberOfCaption(const char* caption);

}  // namespace zarvo
