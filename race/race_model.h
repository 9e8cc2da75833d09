// The state of the run being timed: participants table, standings, results rows, race parameters
// and run state, with the operations that wipe, reset and rebuild them.
// Times are signed 32-bit milliseconds unless a field says otherwise. Text capacities include the
// terminator. Flags are bools; the files that store them write 0 or 1.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zarvo {

constexpr int kSlotCount = 20;          // lap buttons "1" to "20" map onto slots 1 to 20
constexpr int kPassageCapacity = 1000;  // passage times per participant: entry 0 + 999 laps
constexpr int kMaxLapCount = 999;

// Sentinel times.
constexpr int32_t kEmptySlotTime = 1500000000;  // passage times and best lap of an empty slot
constexpr int32_t kMissingTime = 1400000000;    // a missing total or lap while ranking
constexpr int32_t kPlacedTime = 1600000000;     // an entry already placed while ranking
constexpr int32_t kNoRunBest = 1000000000;      // the run best lap before any lap

constexpr int kDriverNameCapacity = 40;
constexpr int kTransponderCapacity = 7;  // six digits written with "%06d"
constexpr int kFrequencyCapacity = 7;
constexpr int kFrequenciesPerEntry = 5;
constexpr int kTimeTextCapacity = 15;
constexpr int kRunTitleCapacity = 128;

// The driver name of an empty slot or list entry; compared exactly.
constexpr const char kNoDriver[] = "(NA)";

// Mode and rule keys, compared as whole texts.
constexpr const char kRankLapsAndTime[] = "CLASSEMENTToursTemps";
constexpr const char kRankBestLap[] = "CLASSEMENTMeilleurTour";
constexpr const char kDurationTime[] = "DUREESERIETemps";
constexpr const char kDurationLaps[] = "DUREESERIETours";
constexpr const char kStartStaggered[] = "DEPARTDecale";
constexpr const char kEndTimeFinishLap[] = "FINTEMPSFinirTour";
constexpr const char kEndLapsAllLaps[] = "FINTOURFaireTousLesTours";

// The car setup: fields 2 to 49 of the setup sheet, also a car's setup in the cars database,
// as X(name, capacity) in their order.
#define ZARVO_CAR_SETUP_FIELDS(X) \
  X(carName, 30) \
  X(engine, 20) \
  X(plug, 20) \
  X(pipe, 20) \
  X(muffler, 20) \
  X(restrictor, 20) \
  X(clutchGear, 40) \
  X(fuel, 20) \
  X(speedController, 20) \
  X(battery, 20) \
  X(ratio, 15) \
  X(differentialFront, 20) \
  X(differentialCentre, 20) \
  X(differentialRear, 20) \
  X(shocksFront, 20) \
  X(shocksRear, 20) \
  X(springsFront, 20) \
  X(springsRear, 20) \
  X(fluidFront, 20) \
  X(fluidRear, 20) \
  X(pistonFront, 20) \
  X(pistonRear, 20) \
  X(reboundFront, 20) \
  X(reboundRear, 20) \
  X(wheelbase, 20) \
  X(rideHeightFront, 15) \
  X(rideHeightRear, 15) \
  X(antiRollBarFront, 15) \
  X(antiRollBarRear, 15) \
  X(shocksFixationFront, 15) \
  X(shocksFixationRear, 15) \
  X(camberFront, 15) \
  X(camberRear, 15) \
  X(toeFront, 15) \
  X(toeRear, 15) \
  X(body, 20) \
  X(wing, 20) \
  X(wingPosition, 20) \
  X(wingIncline, 20) \
  X(tiresFront, 20) \
  X(tiresRear, 20) \
  X(tireInsertsFront, 20) \
  X(tireInsertsRear, 20) \
  X(wheelsFront, 20) \
  X(wheelsRear, 20) \
  X(radio, 20) \
  X(steeringServo, 20) \
  X(throttleServo, 20)

#define ZARVO_DECLARE_TEXT_FIELD(name, capacity) char name[capacity];

// Track conditions, car and car setup of one run of one participant: 49 texts in this order.
struct SetupSheet {
  char trackConditions[40];
  ZARVO_CAR_SETUP_FIELDS(ZARVO_DECLARE_TEXT_FIELD)
};

constexpr int kSetupFieldCount = 49;

// Field i (0-based, 0 = track conditions) of a setup sheet and its capacity.
char* SetupField(SetupSheet& sheet, int index);
const char* SetupField(const SetupSheet& sheet, int index);
int SetupFieldCapacity(int index);

struct ParticipantRecord {
  char driverName[kDriverNameCapacity];  // "(NA)" marks an empty slot
  char transponder[kTransponderCapacity];  // empty when the slot has no transponder
  SetupSheet setup;
  int32_t slotNumber;  // 1 to 20
  int32_t lapCount;    // 0 to 999
  // Entry 0 is 0 (the own start); entry k is the own-clock time of the passage ending lap k.
  int32_t passageTimes[kPassageCapacity];
  int32_t lastLap;
  int32_t bestLap;  // 0 = none yet
  int32_t worstLap;
  int32_t averageLap;
  bool finished;       // passages are ignored: finished, run over, or empty slot
  bool lapRecorded;    // during the bookkeeping of the lap just recorded
  bool newBest;        // the lap just recorded improved the best lap
  bool runBestHolder;  // holds the best lap of the run
  bool scanSettled;    // transponder scan: has its transponder / has been seen / empty
  int32_t sinceEarlySignal;  // own-clock time since the last early-passage buzz
  int32_t earlySignalMark;   // own-clock time of the last early-passage buzz
  int32_t ownStart;          // race time of the first crossing (staggered start); 0 = not started
  int64_t passageCounter;    // performance counter of the last PC-timed passage
  int64_t passageRaceTime;   // race time of the last passage
  int32_t candidateLap;      // the lap the last passage would close
};

// Hours, minutes, seconds and milliseconds of a time.
struct TimeParts {
  int32_t hours;
  int32_t minutes;
  int32_t seconds;
  int32_t milliseconds;
};

// Indexes of StandingsEntry::timeParts.
enum TimePartIndex { kPartsTotal = 0, kPartsLast, kPartsBest, kPartsWorst, kPartsAverage };

struct StandingsEntry {
  char driverName[kDriverNameCapacity];
  char transponder[8];
  int32_t slotNumber;  // 0 in an unused entry
  int32_t lapCount;
  int32_t totalTime;
  int32_t lastLap;
  int32_t bestLap;
  int32_t worstLap;
  int32_t averageLap;
  bool finished;  // true in an unused entry
  bool lapRecorded;
  bool newBest;
  bool runBestHolder;
  TimeParts timeParts[5];  // total, last, best, worst, average
};

// The texts the results table paints for one standings entry.
struct ResultsRow {
  char driverName[kDriverNameCapacity];
  char transponder[kTransponderCapacity];
  char marker[3];
  char slotText[5];
  char lapsText[5];
  char totalText[kTimeTextCapacity];
  char lastLapText[kTimeTextCapacity];
  char bestLapText[kTimeTextCapacity];
  char worstLapText[kTimeTextCapacity];
  char averageLapText[kTimeTextCapacity];
  bool finished;
  bool lapRecorded;
  bool newBest;
  bool runBestHolder;
};

// The character painted in the marker column of every row (Windows-1252 currency sign).
constexpr char kRowMarker = '\xA4';

struct RaceParameters {
  char classificationKey[23];  // kRankLapsAndTime or kRankBestLap
  char durationMode[16];       // kDurationTime or kDurationLaps
  char startMode[22];          // kStartStaggered; anything else is a common start
  char endRuleTime[22];
  char endRuleLaps[25];
  int32_t durationMinutes;  // 1 to 720
  int32_t durationHours;    // durationMinutes / 60
  int32_t durationMinutesPart;  // durationMinutes % 60
  int32_t lapTarget;            // 1 to 999
  int32_t countdownSeconds;     // 0 to 3600
  int32_t circuitIndex;         // 0 to 19; kNoCircuit = none
  int32_t minimumLapSeconds;
  int32_t maximumLapCount;      // 999
  int32_t lapRunLimitHours;     // 12
};

constexpr int32_t kNoCircuit = 20;

// Announcement flags: 13 countdown announcements, then half race, 5 minutes and 1 minute left.
constexpr int kCountdownAnnouncementCount = 13;
constexpr int kClockAnnouncementCount = 3;

struct RunState {
  bool startArmed;
  bool raceRunning;
  bool ready;
  bool resultsPresent;
  uint32_t countdownStartTick;  // system tick count, ms
  int32_t countdownRemaining;   // seconds
  char countdownText[14];
  uint32_t raceStartTick;
  int64_t raceStartCounter;
  int64_t counterFrequency;
  int32_t decoderTimeAtStart;
  int32_t runBestLap;
  int32_t clockHours;  // the duration the clock counts down from
  int32_t clockMinutes;
  int32_t elapsedHours;
  int32_t elapsedMinutes;
  int32_t elapsedSeconds;
  int32_t elapsedMilliseconds;
  int32_t remainingHours;
  int32_t remainingMinutes;
  int32_t remainingSeconds;
  char durationText[10];
  char elapsedText[10];
  char remainingText[10];
  uint32_t lastClockDisplayTick;
  uint32_t lastCountdownDisplayTick;
  bool countdownAnnounced[kCountdownAnnouncementCount];
  bool clockAnnounced[kClockAnnouncementCount];
  char runTitle[kRunTitleCapacity];
  bool scanActive;
  bool scanPhase;
  bool checkPhase;
  int32_t settledCount;
};

// One entry of the session's participants list: the driver, his transponder and radios.
struct ParticipantEntry {
  char driverName[kDriverNameCapacity];
  char transponder[kTransponderCapacity];
  char frequencies[kFrequenciesPerEntry][kFrequencyCapacity];
};

struct ParticipantsList {
  ParticipantEntry entries[kSlotCount];
};

// Every participant entry "(NA)" with empty fields.
void ClearParticipantsList(ParticipantsList& list);

// Everything the timing core keeps about the run in the participants table. A test creates a
// fresh one; the program keeps one for its whole life.
struct Race {
  ParticipantRecord slots[kSlotCount];  // slot s is slots[s - 1]
  StandingsEntry standings[kSlotCount];
  ResultsRow rows[kSlotCount];
  int32_t participantCount;  // occupied slots, recomputed by RebuildStandings
  RaceParameters params;
  RunState run;
};

bool IsEmptySlot(const ParticipantRecord& record);

// Every field of the 20 records to zero or empty (a session is created or opened).
void WipeTable(Race& race);
// Prepares the 20 records for a new run, keeping names, transponders and setup sheets.
void ResetTable(Race& race);
// Clears the 20 standings entries.
void WipeStandings(Race& race);
// Fills the standings from the table in slot order; returns and stores the participant count.
int RebuildStandings(Race& race);
// Fills the results rows from the first participantCount standings entries.
void RebuildRows(Race& race);
// The end of a run as "Stop" leaves it: every participant record, standings entry and results
// row of the participant count finished.
void MarkRunOver(Race& race);
// Rank by the classification key, split the times, format the rows.
void StandardRefresh(Race& race);

// The race parameters a new session starts with.
void SetDefaultRaceParameters(RaceParameters& params);
// Keeps durationHours and durationMinutesPart equal to durationMinutes split.
void SplitDuration(RaceParameters& params);

bool IsTimeRun(const RaceParameters& params);
bool IsLapRun(const RaceParameters& params);
bool IsStaggeredStart(const RaceParameters& params);

}  // namespace zarvo
