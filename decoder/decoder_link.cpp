// The device conversations of the decoder link: identification, keep-alive, loss and
// reconnection, start handshake, passages.
#include "decoder/decoder_link.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "race/classification.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr FrameKind kIdentifyAnswer = {kOrixIdentify, kOrixAnswerLength};
constexpr FrameKind kStartAnswer = {kOrixStart, kOrixAnswerLength};
constexpr FrameKind kPassageFrame = {kOrixPassage, kOrixPassageLength};

bool IsOrixHeader(const uint8_t* b, uint8_t type) {
  return b[0] == kOrixSync && b[1] == kOrixSync && b[2] == kOrixSync && b[3] == type;
}

}  // namespace

DecoderLink::DecoderLink(Clock& clock, SerialPort& port, MessageBoxes& boxes,
                         const char* settingsPath)
    : clock_(clock),
      port_(port),
      boxes_(boxes),
      settingsPath_(settingsPath),
      identifyCollector_(kIdentifyAnswer),
      startCollector_(kStartAnswer),
      passageCollector_(kPassageFrame) {
  SetText(deviceKey_, kDeviceVexa);
}

bool DecoderLink::IsOrix() const {
  return SameText(deviceKey_, kDeviceOrix) || SameText(deviceKey_, kDeviceOrixBluetooth);
}

int32_t DecoderLink::MsSince(int64_t counterStart) {
  const int64_t frequency = clock_.PerformanceFrequency();
  if (frequency <= 0) return INT32_MAX;
  return static_cast<int32_t>((clock_.PerformanceCounter() - counterStart) * 1000 / frequency);
}

// Under the timer's ticks a failed write can come again while its box is open (a loss, a
// recovery, a loss again): it waits, once, behind the open box as an attempt's outcome does.
void DecoderLink::ShowSettingsError() {
  settingsErrorPending_ = true;
  ShowPendingBoxes();
}

// ---------------------------------------------------------------------------------------------
// Identification

IdentifyOutcome DecoderLink::Identify(const char* portName, int32_t* decoderId) {
  *decoderId = 0;
  if (!port_.Open(portName)) return IdentifyOutcome::kPortNotOpened;
  identifyCollector_.Clear();
  int written = 0;
  port_.Write(kIdentifyRequest, kOrixRequestLength, &written);
  const int64_t start = clock_.PerformanceCounter();
  uint8_t buffer[kReadChunk];
  while (MsSince(start) < kIdentifyWaitMs) {
    int count = 0;
    port_.Read(buffer, kReadChunk, &count);
    for (int i = 0; i < count; ++i) {
      if (!identifyCollector_.Push(buffer[i])) continue;
      const uint8_t* frame = identifyCollector_.Frame();
      const uint8_t kind = frame[4];
      // Only the two kinds of the decoder are answers; anything else is waited through.
      if (kind != kOrixKindWired && kind != kOrixKindBluetooth) continue;
      *decoderId = frame[5] * 256 + frame[6];
      return kind == kOrixKindWired ? IdentifyOutcome::kOrixWired : IdentifyOutcome::kOrixBluetooth;
    }
  }
  return IdentifyOutcome::kNoAnswer;
}

IdentifyResult DecoderLink::IdentifyAtStartUp() {
  InterfaceSettings stored = {};
  if (!ReadInterfaceSettings(settingsPath_, stored)) {
    ShowSettingsError();
    stored = InterfaceSettings{};
  }
  SetText(portName_, stored.portName);

  IdentifyResult result = {};
  result.outcome = Identify(portName_, &result.decoderId);
  char text[160];
  const char* caption = TXT_CAPTION_MESSAGE;
  switch (result.outcome) {
    case IdentifyOutcome::kPortNotOpened:
      SetText(result.deviceKey, kDeviceVexa);
      result.connected = 0;
      SetText(text, TXT_DECODER_PORT_NOT_OPENED);
      break;
    case IdentifyOutcome::kOrixWired:
      SetText(result.deviceKey, kDeviceOrix);
      result.connected = 1;
      std::snprintf(text, sizeof text, TXT_DECODER_ORIX_CONNECTED, result.decoderId);
      break;
    case IdentifyOutcome::kOrixBluetooth:
      SetText(result.deviceKey, kDeviceOrixBluetooth);
      result.connected = 1;
      std::snprintf(text, sizeof text, TXT_DECODER_ORIX_BLUETOOTH_CONNECTED, result.decoderId);
      break;
    case IdentifyOutcome::kNoAnswer:
      SetText(result.deviceKey, kDeviceVexa);
      result.connected = 1;
      SetText(text, TXT_DECODER_VEXA_CONNECTED);
      break;
  }
  SetText(deviceKey_, result.deviceKey);
  connected_ = result.connected == 1;
  decoderId_ = result.decoderId;
  boxes_.Show(caption, text, MessageIcon::kInformation);
  if (!WriteInterfaceSettings(settingsPath_, portName_, result.connected, result.deviceKey)) {
    ShowSettingsError();
  }
  return result;
}

// ---------------------------------------------------------------------------------------------
// Supervision of the wired decoder

void DecoderLink::Supervise(const RunClock& run, PassageSink& sink) {
  if (settingsToRead_) ReadSettingsOfFirstTick();
  if (keepAliveActive_) {
    KeepAlive(run);
  } else if (reconnecting_ && !connected_ && SameText(deviceKey_, kDeviceOrix)) {
    AttemptReconnection(run, sink);
  }
}

// A file that cannot be read leaves memory as it was (the identification has just reported it;
// not again here): a wired decoder identified at start-up is still kept alive. A lost wired
// decoder stays lost until a device is stored as connected: the file then holds flag 0 with the
// key "Zarvo", which alone must not end its reconnection.
void DecoderLink::ReadSettingsOfFirstTick() {
  settingsToRead_ = false;
  InterfaceSettings stored = {};
  if (ReadInterfaceSettings(settingsPath_, stored)) {
    SetText(portName_, stored.portName);
    if (stored.connected == 1 || !wiredOrixLost_) {
      SetText(deviceKey_, stored.deviceKey);
      connected_ = stored.connected == 1;
      wiredOrixLost_ = false;
    }
  }
  if (wiredOrixLost_) {
    SetText(deviceKey_, kDeviceOrix);
    connected_ = false;
    reconnecting_ = true;  // the next attempt keeps the 4501 ms rhythm of the previous ones
  } else if (connected_ && SameText(deviceKey_, kDeviceOrix)) {
    keepAliveActive_ = true;
    reconnecting_ = false;
    failureCount_ = 0;
    lastKeepAliveTick_ = clock_.TickCount();
  }
}

void DecoderLink::KeepAlive(const RunClock& run) {
  const uint32_t now = clock_.TickCount();
  if (now - lastKeepAliveTick_ <= kKeepAlivePeriodMs) return;
  lastKeepAliveTick_ = now;
  int written = 0;
  port_.Write(kKeepAliveRequest, kOrixRequestLength, &written);
  if (written != 0) {
    failureCount_ = 0;
  } else if (failureCount_ > 0) {
    DeclareLoss(run);  // the second keep-alive in a row that could not be written
  } else {
    ++failureCount_;
  }
}

void DecoderLink::DeclareLoss(const RunClock& run) {
  port_.Close();
  connected_ = false;
  keepAliveActive_ = false;
  failureCount_ = 0;
  reconnecting_ = true;
  wiredOrixLost_ = true;
  lastAttemptTick_ = clock_.TickCount();
  // A frame cut by the loss must not be completed by the bytes of the next connection.
  passageCollector_.Clear();
  vexaCollector_.Clear();
  if (run.running) {
    char clock[16];
    FormatRaceClock(run, clock, sizeof clock);
    std::snprintf(lossText_, sizeof lossText_, TXT_DECODER_LOSS, clock);
  }
  if (!WriteInterfaceSettings(settingsPath_, portName_, 0, deviceKey_)) ShowSettingsError();
}

void DecoderLink::AttemptReconnection(const RunClock& run, PassageSink& sink) {
  const uint32_t now = clock_.TickCount();
  if (now - lastAttemptTick_ < kReconnectPeriodMs) return;
  lastAttemptTick_ = now;
  if (!port_.Open(portName_)) return;

  int written = 0;
  port_.Write(kIdentifyRequest, kOrixRequestLength, &written);
  const int64_t start = clock_.PerformanceCounter();
  bool answered = false;
  uint8_t buffer[kReadChunk];
  while (!answered && MsSince(start) < kReconnectWaitMs) {
    int count = 0;
    port_.Read(buffer, kReadChunk, &count);
    answered = ScanReconnectionBytes(buffer, count, sink);
  }

  // The state is settled before any message box: the timer keeps ticking while one is shown.
  if (answered) {
    connected_ = true;
    reconnecting_ = false;
    wiredOrixLost_ = false;
    settingsToRead_ = true;  // the next tick restarts the keep-alive from the file
    const bool written1 = WriteInterfaceSettings(settingsPath_, portName_, 1, deviceKey_);
    if (run.running) {
      char clock[16];
      char line[kLossTextCapacity];
      FormatRaceClock(run, clock, sizeof clock);
      std::snprintf(line, sizeof line, TXT_DECODER_RESTORED, clock);
      AppendOutcome(line);
    }
    if (!written1) ShowSettingsError();
    if (run.running) {
      ShowOutcome(TXT_CAPTION_MESSAGE, MessageIcon::kInformation);
    } else {
      pendingOutcome_ = false;  // an older failure waiting behind an open box is out of date
    }
  } else {
    AppendOutcome(TXT_DECODER_NOT_RESTORED);
    ShowOutcome(TXT_CAPTION_ERROR, MessageIcon::kError);
  }
}

void DecoderLink::ShowOutcome(const char* caption, MessageIcon icon) {
  SetText(pendingText_, lossText_);
  pendingCaption_ = caption;
  pendingIcon_ = icon;
  pendingOutcome_ = true;
  ShowPendingBoxes();
}

// The attempts go on under an open box (the timer keeps ticking inside its modal loop), so a box
// of the link is never opened inside another: what comes meanwhile waits (the settings error
// once, the newest outcome of an attempt) and is shown once the open box is closed.
void DecoderLink::ShowPendingBoxes() {
  if (boxOpen_) return;
  boxOpen_ = true;
  while (settingsErrorPending_ || pendingOutcome_) {
    if (settingsErrorPending_) {
      settingsErrorPending_ = false;
      boxes_.Show(TXT_CAPTION_ERROR, TXT_DECODER_SETTINGS_FILE_MISSING, MessageIcon::kError);
      continue;
    }
    pendingOutcome_ = false;
    char text[kLossTextCapacity];
    SetText(text, pendingText_);
    boxes_.Show(pendingCaption_, text, pendingIcon_);
  }
  boxOpen_ = false;
}

// The bytes of one read during a reconnection attempt, frame by frame: an identify answer of
// the wired decoder reconnects, passages are handed on, anything else is skipped. A frame cut
// by the end of the read is not looked at.
bool DecoderLink::ScanReconnectionBytes(const uint8_t* bytes, int count, PassageSink& sink) {
  bool answered = false;
  int i = 0;
  while (count - i >= kOrixAnswerLength) {
    const uint8_t* at = bytes + i;
    if (IsOrixHeader(at, kOrixIdentify)) {
      if (at[4] == kOrixKindWired) answered = true;
      i += kOrixAnswerLength;
    } else if (IsOrixHeader(at, kOrixPassage)) {
      if (count - i < kOrixPassageLength) break;
      DeliverOrixPassage(at, sink);
      i += kOrixPassageLength;
    } else {
      ++i;
    }
  }
  return answered;
}

void DecoderLink::FormatRaceClock(const RunClock& run, char* out, size_t capacity) {
  int32_t elapsed = static_cast<int32_t>(clock_.TickCount() - run.raceStartTick);
  if (elapsed < 0) elapsed = 0;
  FormatClockTenths(elapsed, out, capacity);
}

// Appends an outcome line to the loss text, each outcome on a line of its own. When it would not
// fit in the 120 bytes, the oldest outcome lines are dropped first (the first line, which tells
// when the loss happened, stays), then the first line; a single line too long is cut.
void DecoderLink::AppendOutcome(const char* line) {
  std::string text = lossText_;
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += line;
  while (text.size() > kLossTextCapacity - 1) {
    const size_t firstEnd = text.find('\n');
    if (firstEnd == std::string::npos || firstEnd + 1 == text.size()) {
      text.resize(kLossTextCapacity - 1);
      break;
    }
    const size_t secondEnd = text.find('\n', firstEnd + 1);
    if (secondEnd != std::string::npos && secondEnd + 1 < text.size()) {
      text.erase(firstEnd + 1, secondEnd - firstEnd);
    } else {
      text.erase(0, firstEnd + 1);
    }
  }
  SetText(lossText_, text.c_str());
}

void DecoderLink::StopSupervision() {
  keepAliveActive_ = false;
  reconnecting_ = false;
  failureCount_ = 0;
  settingsToRead_ = false;
}

void DecoderLink::ResetSupervision() {
  StopSupervision();
  settingsToRead_ = true;
}

// ---------------------------------------------------------------------------------------------
// Start handshake and passages

void DecoderLink::ClearCollectors() {
  startCollector_.Clear();
  passageCollector_.Clear();
  vexaCollector_.Clear();
  startSent_ = false;
}

void DecoderLink::DiscardInput() {
  DiscardReceived(port_);
}

StartStep DecoderLink::StartHandshake() {
  if (!IsOrix()) return StartStep::kStarted;
  // The decoder zeroes its clock at every start request it receives, so a request goes again only
  // when the previous one cannot have been answered: after a refusal, or after a second of
  // silence (the decoder answers within milliseconds: it was off, or the line was down). Once an
  // answer is accepted nothing more is sent.
  const uint32_t now = clock_.TickCount();
  if (startSent_ && now - startSentTick_ >= kStartResendMs) {
    startSent_ = false;
    startCollector_.Clear();  // a piece of a lost answer must not join the next one
  }
  if (!startSent_) {
    DiscardInput();
    int written = 0;
    port_.Write(kStartRequest, kOrixRequestLength, &written);
    startSent_ = true;
    startSentTick_ = now;
  }
  SerialChunk chunk;
  while (port_.TakeChunk(chunk) == ChunkTake::kChunk) {
    for (int i = 0; i < chunk.count; ++i) {
      if (!startCollector_.Push(chunk.bytes[i])) continue;
      const uint8_t* frame = startCollector_.Frame();
      startSent_ = false;  // accepted: done; refused: the request goes again on the next tick
      if (frame[4] == 0 && frame[5] == 0 && frame[6] == 0) return StartStep::kStarted;
    }
  }
  return StartStep::kWaiting;
}

void DecoderLink::DeliverOrixPassage(const uint8_t* frame, PassageSink& sink) {
  DecoderPassage passage = {};
  FormatTransponder(PassageTransponder(frame), passage.transponder);
  passage.source = PassageSource::kOrix;
  passage.decoderTime = PassageDecoderTime(frame);
  sink.OnPassage(passage);
}

int DecoderLink::ReadPassages(PassageSink& sink) {
  if (reconnecting_) return 0;
  int delivered = 0;
  const bool orix = IsOrix();
  SerialChunk chunk;
  while (port_.TakeChunk(chunk) == ChunkTake::kChunk) {
    for (int i = 0; i < chunk.count; ++i) {
      if (orix) {
        if (!passageCollector_.Push(chunk.bytes[i])) continue;
        DeliverOrixPassage(passageCollector_.Frame(), sink);
      } else {
        if (!vexaCollector_.Push(chunk.bytes[i])) continue;
        // The frame's time is when its last byte arrived: the counter of the read that brought
        // it, however late this tick runs and however long the passages before it took.
        DecoderPassage passage = {};
        passage.counter = chunk.counter;
        FormatTransponder(vexaCollector_.Transponder(), passage.transponder);
        passage.source = PassageSource::kVexa;
        sink.OnPassage(passage);
      }
      ++delivered;
    }
  }
  return delivered;
}

}  // namespace zarvo
