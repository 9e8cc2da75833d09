// The run journal: every event that shapes a timed run (its start, each passage as it arrived,
// each manual lap, its end) as one line of text, so that a run whose program was killed or whose
// PC lost power can be rebuilt by replaying the lines through passage processing itself.
//
// Format (Windows-1252, CR LF): one event a line, every field followed by a tab, the last field
// the CRC-32 of everything before it on the line, as 8 upper-case hex digits. The lines:
//   Depart, version 1, run number, passage sound on, session name, saved file, run title, the race
//     parameters, the start's clocks, then 20 x (name, transponder, 49 setup texts), CRC
//   Passage, seq, transponder, race time, D (decoder clock) or P (PC counter), its raw value, CRC
//   TourManuel, seq, slot, race time, CRC
//   Reglages, seq, slot, 49 setup texts, CRC (a sheet saved in the run synthesis during the run)
//   Fin, seq, race time, CRC
// seq counts the events after the start from 1. A line without its line end (torn by a power
// cut), with a wrong CRC or out of sequence ends the journal: what comes before it is kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "databases/database_records.h"
#include "race/race_model.h"
#include "race/race_ports.h"

namespace zarvo {

constexpr int kJournalVersion = 1;
constexpr int kJournalSessionNameCapacity = 32;
// A Windows path of 260 characters, each letter outside Windows-1252 kept as five bytes
// (platform/codepage.h), and its terminator.
constexpr int kJournalPathCapacity = 5 * 260 + 1;
// A start line of 20 participants with full setup sheets is about 22,000 characters.
constexpr size_t kMaxJournalLineBytes = 65536;

// What the start line holds besides the participants table.
struct JournalStart {
  int32_t runNumber;    // 1..20
  bool passageSoundOn;  // the early-passage buzz marks the participant record
  char sessionName[kJournalSessionNameCapacity];
  char savedFilePath[kJournalPathCapacity];  // the session's ".trng" file; empty when none
  char runTitle[kRunTitleCapacity];
  RaceParameters params;
  uint32_t raceStartTick;
  int64_t counterFrequency;
  int64_t raceStartCounter;
  int32_t decoderTimeAtStart;
};

struct JournalEvent {
  enum class Kind { kPassage, kManualLap, kSetup, kEnd };
  Kind kind;
  char transponder[kTransponderCapacity];  // kPassage
  DecodedPassage::Clock clock;             // kPassage
  int64_t raw;                             // kPassage: decoder time or counter value
  int slot;                                // kManualLap, kSetup: 1..20
  int32_t raceTime;                        // ms from the race start; 0 for kSetup
  SetupSheet setup;                        // kSetup
};

// ---- Lines, each complete with its CRC and CR LF. Tabs and line ends inside texts are written as
// blanks, so a text never breaks its line into other fields.
// The start: the table as it is when the run starts, its parameters and clocks, the run title.
std::string JournalStartLine(const Race& race, int32_t runNumber, const char* sessionName,
                             const char* savedFilePath, bool passageSoundOn);
std::string JournalPassageLine(int64_t seq, const char* transponder, int32_t raceTime,
                               DecodedPassage::Clock clock, int64_t raw);
std::string JournalManualLapLine(int64_t seq, int slot, int32_t raceTime);
std::string JournalSetupLine(int64_t seq, int slot, const SetupSheet& setup);
std::string JournalEndLine(int64_t seq, int32_t raceTime);

// ---- Reading.
enum class JournalRead {
  kRead,        // a start line and the complete events after it
  kNotJournal,  // empty, foreign, or its start line is damaged or torn: nothing can be rebuilt
};

struct JournalSummary {
  JournalStart start;
  int64_t events;        // complete events after the start, the end included
  int64_t passages;      // passages and manual laps
  int32_t lastRaceTime;  // race time of the last complete timed event; 0 when there is none
  bool ended;            // the end of the run is in the journal
  bool damaged;          // a damaged or torn line was met (and what followed it was left)
  size_t usableBytes;    // the start line and the complete events, from the beginning
};

// Checks the journal, counts its events and finds where its complete part ends. Bounded: lines
// longer than kMaxJournalLineBytes end the journal like a damaged line.
JournalRead ReadJournalSummary(std::string_view bytes, JournalSummary& summary);

// Rebuilds the run: the participants table, standings and rows as they were at the start, then
// every complete passage and manual lap given to passage processing in the order they came (and
// each setup sheet saved during the run put into its participant at its place among them), the
// circuit's lap record kept in circuits as during the run, then the run closed as "Stop" closes
// it (every participant finished). Events after the run stopped by its own rules (all finished,
// the lap ceiling) are ignored, as the running program ignored them. False when the bytes are not
// a journal (race and circuits are then untouched).
bool ReplayJournal(std::string_view bytes, Race& race, CircuitTable& circuits,
                   JournalSummary* summary = nullptr);

// The CRC-32 a line carries of its content (everything before the CRC field).
uint32_t JournalLineCrc(std::string_view content);

// "%d:%02d:%02d" of a race time, the form the recovery question shows.
std::string JournalTimeText(int32_t raceTime);

}  // namespace zarvo
