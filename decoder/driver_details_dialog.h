// What the driver details dialog "PILOTEDETAILS" decides, without its controls: the participant
// entry it edits (the one the session tree's selection designates), his transponder (typed, kept
// only at six digits, or read by the scan from a car crossing the loop), his five radio
// frequencies, the scan lamp's animation, and what "OK" writes. The dialog polls the serial port
// itself on its own 10 ms timer; the main timer leaves the serial input alone meanwhile.
#pragma once

#include <cstdint>

#include "databases/database_records.h"
#include "decoder/frames.h"
#include "decoder/interface_settings.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"
#include "race/race_model.h"

namespace zarvo {

constexpr int kDetailsTimerId = 1;
constexpr int kDetailsTimerPeriodMs = 10;
constexpr int kDetailsTransponderDigits = 6;
// The scan lamp is drawn at (305, 125) in the client area: nothing in state 0, one of the four
// pictures of DetailsLampFile in states 1 to 4.
constexpr int kDetailsLampX = 305;
constexpr int kDetailsLampY = 125;
constexpr int kDetailsLampStates = 5;
// "images/voyantScanPuce<state>.bmp"; nullptr for state 0.
const char* DetailsLampFile(int state);

// Where the dialog reads and writes the participants it edits: the open session. The dialog does
// not know the session file; the program implements this (app/driver_details_session.h), tests
// may script it.
class DetailsSession {
 public:
  enum class Read {
    kRead,       // the list was read
    kNoList,     // the session has no participants list
    kNoSession,  // the session could not be read (the port has said so)
  };
  enum class Write {
    kWritten,
    kNoList,      // the session has no participants list: nothing was written
    kNotWritten,  // the session could not be opened or written
  };
  virtual ~DetailsSession() = default;
  // The participants list (left as it was unless kRead) and the entry (0..19) the session tree's
  // selected node designates, -1 when it designates none or the session could not be read.
  virtual Read ReadParticipants(ParticipantsList& list, int& entry, MessageBoxes& boxes) = 0;
  // The 20 entries over the session's list, only where the session has one; shows nothing.
  virtual Write WriteParticipants(const ParticipantsList& list) = 0;
};

struct DriverDetailsModel {
  ParticipantsList list;
  bool listRead;  // "OK" writes only a list that was read
  int entry;      // 0..19; -1 when the header does not designate a participant
  char frequencies[kFrequencyTableCapacity][kFrequencyCapacity];  // the database's, in its order
  int frequencyCount;
  char deviceKey[kDeviceKeyCapacity];  // the stored device: its collector reads the scan
  bool scanning;
  int lampState;           // 0..4
  int64_t scanStartCount;  // performance counter when "Scan" went down
  int64_t markHundredths;  // start of the current lamp cycle, hundredths after scanStartCount
  FrameCollector orixCollector{FrameKind{kOrixPassage, kOrixPassageLength}};
  VexaCollector vexaCollector;
};

// Opening: the frequencies database, the session's participants list and the entry its tree's
// selection designates, the interface settings. Each missing file or list is reported; the
// dialog opens anyway with what could be read.
void OpenDriverDetails(DriverDetailsModel& model, DetailsSession& session, MessageBoxes& boxes,
                       const char* settingsPath = kInterfaceSettingsFile);

// The entry edited, or nullptr when there is none.
const ParticipantEntry* DetailsEntry(const DriverDetailsModel& model);
// The line of the frequency lists holding the entry's frequency k (0..4) exactly; -1 for none.
int DetailsFrequencyLine(const DriverDetailsModel& model, int k);

// The transponder box now holds text: six digits become the entry's transponder (true); anything
// shorter, longer or not all digits leaves it unchanged.
bool DetailsTransponderTyped(DriverDetailsModel& model, const char* text);
// Line `line` chosen in frequency list k (0..4).
void DetailsFrequencyChosen(DriverDetailsModel& model, int k, int line);

// "Scan" down: pending input is thrown away, the collectors start empty, lamp state 1.
void DetailsScanDown(DriverDetailsModel& model, SerialPort& port, Clock& clock);
// "Scan" up: lamp state 0.
void DetailsScanUp(DriverDetailsModel& model);

struct DetailsTick {
  bool transponderRead;  // a passage gave the entry a new transponder (the box shows it)
  bool lampChanged;      // the lamp must be repainted
  bool portFailed;       // the read failed (the device is gone): the scan has stopped
};
// The dialog's timer. While scanning: every chunk received since the last tick through the
// collector of the stored device (the last car seen wins), then the lamp animation in hundredths of a second
// since "Scan" went down: 0 to 1 at phase 0-19, 1 to 2 at 21-40, 2 to 3 at 42-61, 3 to 4 at
// 63-82; at 84 and later a new cycle starts in state 0 (a tick that comes late cannot leave the
// lamp standing still). A failed line stops the scan. While not scanning: the collectors are
// emptied and pending input is thrown away.
DetailsTick DetailsTimerTick(DriverDetailsModel& model, SerialPort& port, Clock& clock);

// "OK": the 20 entries written over the session's participants list (only when it has one); the
// messages of a session that cannot be written or has no list. The dialog closes either way.
void ConfirmDriverDetails(const DriverDetailsModel& model, DetailsSession& session,
                          MessageBoxes& boxes);

}  // namespace zarvo
