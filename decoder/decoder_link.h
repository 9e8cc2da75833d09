// The conversation with the lap-counting box, driven by the main window's 10 ms tick: the device
// identification at start-up, the keep-alive, loss and reconnection of the wired Orix decoder,
// the start handshake and the passages read while a run runs. One DecoderLink lives as long as
// the program; it owns no clock, port or message box, it is given them.
#pragma once

#include <cstdint>

#include "decoder/frames.h"
#include "decoder/interface_settings.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

enum class PassageSource { kOrix, kVexa };

// One car over the loop, as the device reported it.
struct DecoderPassage {
  char transponder[kTransponderTextCapacity];  // "%06d"
  PassageSource source;
  int32_t decoderTime;  // Orix: ms on the decoder's clock (0 at the start handshake)
  int64_t counter;      // Vexa: performance counter of the arrival of the frame's last byte
};

// Receives decoded passages (passage processing, or the transponder scan and check).
class PassageSink {
 public:
  virtual ~PassageSink() = default;
  virtual void OnPassage(const DecoderPassage& passage) = 0;
};

// What the identification found.
enum class IdentifyOutcome { kPortNotOpened, kOrixWired, kOrixBluetooth, kNoAnswer };

struct IdentifyResult {
  IdentifyOutcome outcome;
  char deviceKey[kDeviceKeyCapacity];  // "Zarvo" when the port did not open or nobody answered
  int32_t connected;                   // 0 only when the port did not open
  int32_t decoderId;                   // 0 without an Orix answer
};

enum class StartStep { kWaiting, kStarted };

// The race clock as the loss and recovery texts need it.
struct RunClock {
  bool running;
  uint32_t raceStartTick;  // system tick count at the start of the run
};

class DecoderLink {
 public:
  // The waits and periods of the conversation, in ms.
  static constexpr int kIdentifyWaitMs = 1500;
  static constexpr uint32_t kKeepAlivePeriodMs = 400;
  static constexpr uint32_t kReconnectPeriodMs = 4501;
  static constexpr int kReconnectWaitMs = 100;
  static constexpr uint32_t kStartResendMs = 1000;
  static constexpr int kReadChunk = 255;
  static constexpr int kLossTextCapacity = 120;

  // settingsPath names the interface settings file (relative to the program folder).
  DecoderLink(Clock& clock, SerialPort& port, MessageBoxes& boxes,
              const char* settingsPath = kInterfaceSettingsFile);

  // Start-up: reads the port name from the settings file, opens the port, identifies the
  // device within 1500 ms, shows the outcome and rewrites the settings file. The port stays
  // open. Blocks for up to 1.5 s.
  IdentifyResult IdentifyAtStartUp();

  // The identification alone (also for the interface dialog): opens portName, sends identify
  // and collects an answer for up to 1500 ms on the performance counter. No message, no file;
  // the link's own device key is not changed. The port stays open when it opened.
  IdentifyOutcome Identify(const char* portName, int32_t* decoderId);

  // Every tick, first: the settings read of the first tick (after start-up or after the
  // interface dialog), the keep-alive and loss detection, and the reconnection attempts of the
  // wired decoder. Passages read during a reconnection attempt go to sink, which keeps them when
  // a run is running or a scan is active. An attempt blocks for up to 100 ms and shows its
  // outcome (during a run, or on failure) with the loss text: at most 119 characters, each
  // outcome on its own line; when they no longer fit, the oldest outcomes after the loss line go.
  // At most one box of the link is open at a time: attempts made while it is open (the timer
  // ticks under it) leave their outcome waiting, and the newest one is shown when it is closed;
  // a settings file that cannot be written is reported likewise, once behind an open box.
  // A settings file that cannot be read keeps what memory holds.
  void Supervise(const RunClock& run, PassageSink& sink);

  // "Start" pressed: the start-answer and passage collectors are emptied and the start request
  // is to be sent again.
  void ClearCollectors();

  // Everything received and not yet taken, thrown away.
  void DiscardInput();

  // Once per tick after the countdown: kStarted at once for the Vexa interface; for the Orix
  // decoder sends the start request (after a discard) and collects its answer. The request goes
  // again after a refusal (on the next tick) or after 1000 ms without an answer, never once an
  // answer has been accepted: the decoder zeroes its clock at every request it receives. On
  // kStarted the decoder's clock was zeroed.
  StartStep StartHandshake();

  // While the run runs (and during scans): every chunk received since the last call, through the
  // collector of the device type; every complete passage goes to sink. A Vexa passage carries the
  // counter of the chunk that brought its last byte. Returns the number delivered. Nothing is
  // read while the wired decoder is lost.
  int ReadPassages(PassageSink& sink);

  // Before the interface dialog: keep-alive and reconnection stop.
  void StopSupervision();
  // After the interface dialog: as StopSupervision, and the settings file is read again on the
  // next tick, which restarts the keep-alive of a connected wired decoder. A wired decoder that
  // was lost goes on being reconnected unless the file now stores a connected device.
  void ResetSupervision();

  const char* DeviceKey() const { return deviceKey_; }
  const char* PortName() const { return portName_; }
  bool Connected() const { return connected_; }
  int32_t DecoderId() const { return decoderId_; }
  bool KeepAliveActive() const { return keepAliveActive_; }
  bool Reconnecting() const { return reconnecting_; }
  // The loss text as the last loss or reconnection attempt left it.
  const char* LossText() const { return lossText_; }

 private:
  bool IsOrix() const;
  void ReadSettingsOfFirstTick();
  void KeepAlive(const RunClock& run);
  void DeclareLoss(const RunClock& run);
  void AttemptReconnection(const RunClock& run, PassageSink& sink);
  bool ScanReconnectionBytes(const uint8_t* bytes, int count, PassageSink& sink);
  void AppendOutcome(const char* line);
  void ShowOutcome(const char* caption, MessageIcon icon);
  void ShowPendingBoxes();
  void FormatRaceClock(const RunClock& run, char* out, size_t capacity);
  void DeliverOrixPassage(const uint8_t* frame, PassageSink& sink);
  int32_t MsSince(int64_t counterStart);
  void ShowSettingsError();

  Clock& clock_;
  SerialPort& port_;
  MessageBoxes& boxes_;
  const char* settingsPath_;

  char portName_[kPortNameCapacity] = {};
  char deviceKey_[kDeviceKeyCapacity] = {};
  bool connected_ = false;
  int32_t decoderId_ = 0;

  // Supervision of the wired decoder.
  bool settingsToRead_ = true;
  bool keepAliveActive_ = false;
  uint32_t lastKeepAliveTick_ = 0;
  int failureCount_ = 0;
  bool reconnecting_ = false;
  uint32_t lastAttemptTick_ = 0;
  char lossText_[kLossTextCapacity] = {};
  // Lost and not yet reconnected: survives the interface dialog's stop of the supervision.
  bool wiredOrixLost_ = false;
  // The one box of the link that is open, and what waits behind it: a settings file that could
  // not be written, the newest outcome of an attempt.
  bool boxOpen_ = false;
  bool settingsErrorPending_ = false;
  bool pendingOutcome_ = false;
  const char* pendingCaption_ = "";
  MessageIcon pendingIcon_ = MessageIcon::kNone;
  char pendingText_[kLossTextCapacity] = {};

  // Start handshake.
  bool startSent_ = false;
  uint32_t startSentTick_ = 0;

  FrameCollector identifyCollector_;
  FrameCollector startCollector_;
  FrameCollector passageCollector_;
  VexaCollector vexaCollector_;
};

}  // namespace zarvo
