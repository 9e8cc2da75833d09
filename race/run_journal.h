// The run journal: every event that shapes a timed run (its start, each passage as it arrived,
// each manual lap, each setup sheet saved, its end) as one line of text, so that a run whose
// program was killed or whose PC lost power can be rebuilt by replaying the lines through race
// control itself.
//
// Format (Windows-1252, CR LF): one event a line, every field followed by a tab, the last field
// the CRC-32 of everything before it on the line, as 8 upper-case hex digits. The lines:
//   Depart, version 2, run number, passage sound on, session name, saved file, session stamp,
//     circuit name, run title, the race parameters, the start's clocks, then 20 x (name,
//     transponder, 49 setup texts), CRC
//   Passage, seq, transponder, race time, D (decoder clock) or P (PC counter), its raw value, CRC
//   TourManuel, seq, slot, race time, CRC
//   Reglages, seq, slot, 49 setup texts, CRC (a sheet saved in the run synthesis, during the run
//     or after its end)
//   Fin, seq, race time, CRC
// seq counts the events after the start from 1. The session stamp names the working copy the run
// was timed in (session/session_file.h); the session name, the saved file and the stamp together say
// which session the run belongs to. Version 1 start lines (without stamp and circuit name) are
// read too; their stamp is empty.
//
// Reading: a line without its line end (torn by a power cut), with a wrong CRC, or whose seq does
// not come after the last line read is unreadable and counted; the lines after it that check out
// are still read. After the end only setup sheets follow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "race/race_model.h"
#include "race/race_ports.h"
#include "records/circuit_records.h"

namespace zarvo {

constexpr int kJournalVersion = 2;
constexpr int kJournalSessionNameCapacity = 32;
// A Windows path of 260 characters, each letter outside Windows-1252 kept as five bytes
// (platform/codepage.h), and its terminator.
constexpr int kJournalPathCapacity = 5 * 260 + 1;
constexpr int kJournalStampCapacity = 17;  // 16 hex digits
constexpr int kJournalCircuitNameCapacity = 40;
// A start line of 20 participants with full setup sheets is about 24,000 characters.
constexpr size_t kMaxJournalLineBytes = 65536;
// Any other line: a setup sheet is at most about 1,300 characters, a passage under 100.
constexpr size_t kMaxJournalEventLineBytes = 2048;

// What the start line holds besides the participants table.
struct JournalStart {
  int32_t version;      // of the start line: 1 or 2
  int32_t runNumber;    // 1..20
  bool passageSoundOn;  // the early-passage buzz marks the participant record
  char sessionName[kJournalSessionNameCapacity];
  char savedFilePath[kJournalPathCapacity];  // the session's ".trng" file; empty when none
  char sessionStamp[kJournalStampCapacity];  // the working copy's stamp; empty in version 1
  char circuitName[kJournalCircuitNameCapacity];  // the session track's circuit; empty in v1
  char runTitle[kRunTitleCapacity];
  RaceParameters params;
  uint32_t raceStartTick;
  int64_t counterFrequency;
  int64_t raceStartCounter;
  int32_t decoderTimeAtStart;
};

// What RunStarted writes besides the table: the session the run belongs to.
struct JournalSession {
  int32_t runNumber;
  const char* sessionName;
  const char* savedFilePath;
  const char* sessionStamp;
  const char* circuitName;
  bool passageSoundOn;
};

struct JournalEvent {
  enum class Kind { kPassage, kManualLap, kSetup, kEnd };
  Kind kind;
  int64_t seq;
  char transponder[kTransponderCapacity];  // kPassage
  DecodedPassage::Clock clock;             // kPassage
  int64_t raw;                             // kPassage: decoder time or counter value
  int slot;                                // kManualLap, kSetup: 1..20
  int32_t raceTime;                        // ms from the race start; 0 for kSetup
  SetupSheet setup;                        // kSetup
};

// ---- Lines, each complete with its CRC and CR LF. Tabs and line ends inside texts are written as
// blanks, so a text never breaks its line into other fields.

// An event line built in place, without allocating (the tick builds one for every passage).
struct JournalLine {
  char bytes[kMaxJournalEventLineBytes];
  size_t size;
  std::string_view View() const { return std::string_view(bytes, size); }
};
void FormatPassageLine(JournalLine& out, int64_t seq, const char* transponder, int32_t raceTime,
                       DecodedPassage::Clock clock, int64_t raw);
void FormatManualLapLine(JournalLine& out, int64_t seq, int slot, int32_t raceTime);
void FormatSetupLine(JournalLine& out, int64_t seq, int slot, const SetupSheet& setup);
void FormatEndLine(JournalLine& out, int64_t seq, int32_t raceTime);

// The start: the table as it is when the run starts, its parameters and clocks, the run title.
std::string JournalStartLine(const Race& race, const JournalSession& session);
// The same lines as strings.
std::string JournalPassageLine(int64_t seq, const char* transponder, int32_t raceTime,
                               DecodedPassage::Clock clock, int64_t raw);
std::string JournalManualLapLine(int64_t seq, int slot, int32_t raceTime);
std::string JournalSetupLine(int64_t seq, int slot, const SetupSheet& setup);
std::string JournalEndLine(int64_t seq, int32_t raceTime);

// ---- Reading.
enum class JournalRead {
  kRead,        // a start line and the events after it that check out
  kNotJournal,  // empty, foreign, or its start line is damaged or torn: nothing can be rebuilt
};

struct JournalSummary {
  JournalStart start;
  int64_t events;           // events read after the start, the end and the sheets included
  int64_t passages;         // passages and manual laps
  int32_t lastRaceTime;     // race time of the last timed event read; 0 when there is none
  bool ended;               // the end of the run is in the journal
  int64_t unreadableLines;  // lines after the start that could not be read (torn, damaged,
                            // out of sequence, or not written by the run)
  size_t usableBytes;       // from the beginning to the end of the last line read
  bool Damaged() const { return unreadableLines > 0; }
};

// Checks the journal, counts its events and its unreadable lines. Bounded: a line longer than
// kMaxJournalLineBytes is unreadable.
JournalRead ReadJournalSummary(std::string_view bytes, JournalSummary& summary);

// Reads the start into summary.start (and the participants into table when given), then calls
// onEvent for each event read, in order. Fills the summary.
JournalRead ReadJournal(std::string_view bytes, JournalSummary& summary, Race* table,
                        const std::function<void(const JournalEvent&)>& onEvent);

// Rebuilds the run through race control (race/run_replay.cpp): the participants table, standings
// and rows as they were at the start, then every passage and manual lap timed by the code that
// timed them live, in the order they came (each setup sheet put into its participant at its place
// among them), the circuit's lap record kept in circuits as during the run, then the run closed by
// race control's "Stop" unless it stopped by its own rules (all finished, the lap ceiling), after
// which events are ignored as the running program ignored them. False when the bytes are not a
// journal (race and circuits are then untouched).
bool ReplayJournal(std::string_view bytes, Race& race, CircuitTable& circuits,
                   JournalSummary* summary = nullptr);

// The CRC-32 a line carries of its content (everything before the CRC field).
uint32_t JournalLineCrc(std::string_view content);

// "%d:%02d:%02d" of a race time, the form the recovery question shows.
std::string JournalTimeText(int32_t raceTime);

}  // namespace zarvo
