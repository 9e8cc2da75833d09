// What race control reaches outside the timing core: the window's controls and menus, the decoder
// conversation and the archives. The Win32 shell and the decoder link implement these; tests
// record and script them.
#pragma once

#include <cstdint>

#include "race/race_model.h"
#include "records/circuit_records.h"

namespace zarvo {

// Parts of the main window that race control asks to repaint.
enum class RaceArea { kTable, kTitle, kClock, kCountdown, kEventLine };

class RaceUi {
 public:
  virtual ~RaceUi() = default;
  virtual void EnableControl(int id, bool enabled) = 0;
  virtual void EnableMenuItem(int id, bool enabled) = 0;
  virtual void ShowControl(int id, bool visible) = 0;
  virtual void CheckControl(int id, bool checked) = 0;
  virtual void SetControlText(int id, const char* text) = 0;
  virtual void Repaint(RaceArea area) = 0;
};

// A passage as the decoder link decodes it, before it is given a race time.
struct DecodedPassage {
  enum class Clock { kDecoder, kPcCounter };
  char transponder[kTransponderCapacity];  // "%06d"
  Clock clock;
  int32_t decoderTime;  // ms of the decoder's clock (kDecoder)
  int64_t counter;      // performance counter read when the frame was complete (kPcCounter)
};

class PassageReceiver {
 public:
  virtual ~PassageReceiver() = default;
  virtual void OnPassage(const DecodedPassage& passage) = 0;
};

// The conversation with the lap-counting box, as race control drives it on the 10 ms tick.
class DecoderChannel {
 public:
  virtual ~DecoderChannel() = default;
  // First step of every tick: keep-alive, loss detection and reconnection. Passages read during a
  // reconnection attempt are delivered to the receiver like the others.
  virtual void Supervise(const RunState& run, PassageReceiver& receiver) = 0;
  // Empties the start-answer and passage collectors ("Start" pressed).
  virtual void ClearCollectors() = 0;
  // Reads and drops what is pending (one read of up to 255 bytes).
  virtual void DiscardInput() = 0;
  // True for the decoders that must acknowledge the start (the Orix kinds).
  virtual bool NeedsStartHandshake() const = 0;
  // One tick of the start handshake; true once the decoder has zeroed its clock. The next run's
  // handshake then begins afresh with a new request.
  virtual bool StartHandshake() = 0;
  // The run was disarmed: a later start sends its request again.
  virtual void CancelStartHandshake() = 0;
  // Reads the pending bytes and delivers every complete passage.
  virtual void ReadPassages(PassageReceiver& receiver) = 0;
};

// Where a finished run is kept.
class RunArchive {
 public:
  virtual ~RunArchive() = default;
  // Stores the run of every participant in his runs database.
  virtual void ArchiveRun(const Race& race) = 0;
  // Rewrites the circuits database with the lap records; false when it cannot be written.
  virtual bool WriteCircuits(const CircuitTable& circuits) = 0;
};

// The parts of one tick of timer 1, in the order they run, for the tick log of a measurement run.
enum class TickPart {
  kSupervise,  // decoder supervision: keep-alive, loss, reconnection
  kCountdown,  // the countdown and its texts
  kStart,      // the start of the run (title, clocks, journal start)
  kClock,      // the race clock and its texts
  kPassages,   // reading the line and timing its passages
  kSound,      // starting sounds: cues and announcements
  kStop,       // the end of a run on the tick (archive, circuits)
  kScan,       // the scan and the check
  kDiscard,    // pending input thrown away while idle
  kJournal,    // the journal's part of the tick
};
constexpr int kTickPartCount = 10;

// Told when each part of a tick is done: its time runs from the end of the part before (or from
// the start of the tick). A part may come more than once in a tick; its times add up.
class TickProbe {
 public:
  virtual ~TickProbe() = default;
  virtual void PartDone(TickPart part) = 0;
};

// Where the events of a timed run are kept as they happen, so that a run interrupted by a crash or
// a power cut can be rebuilt. Each call returns once the event is with the operating system.
class RunJournal {
 public:
  virtual ~RunJournal() = default;
  // The run has just started: the table, parameters, clocks and title are those of the run.
  virtual void RunStarted(const Race& race) = 0;
  // A passage of the running run with the race time it is given, before it is processed.
  virtual void Passage(const DecodedPassage& passage, int32_t raceTime) = 0;
  // A manual lap of slot 1..20 at that race time, before it is recorded.
  virtual void ManualLap(int slot, int64_t raceTime) = 0;
  // The run stopped (by "Stop" or by its own rules) raceTime ms after its start.
  virtual void RunEnded(int32_t raceTime) = 0;
  // "Clear": the results of the run were thrown away by the user.
  virtual void ResultsCleared() = 0;
};

// A lap that passage processing has just recorded in a timed run, as the lap callouts hear it.
// The pointers are valid only during the call.
struct RecordedLap {
  int slot;                // 1..20: the table's lane, the number of his manual lap button
  const char* driverName;  // Windows-1252
  int32_t lapTime;         // ms
  int32_t lapNumber;       // his laps so far, this one included
  bool newBest;            // the lap improved his best
  int position;            // 1..20 in the standings after the lap; 0 when not found
};

// Told of every lap recorded while a run is timed (not the laps of the check after a scan, nor
// those a journal replays). Called on the tick, in the middle of passage processing: it must
// only take note and return at once.
class LapListener {
 public:
  virtual ~LapListener() = default;
  virtual void LapRecorded(const RecordedLap& lap) = 0;
};

}  // namespace zarvo
