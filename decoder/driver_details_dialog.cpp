// The driver details dialog's rules (see driver_details_dialog.h).
#include "decoder/driver_details_dialog.h"

#include <cstring>
#include <memory>

#include "databases/database_files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

bool IsOrixKey(const char* key) {
  return SameText(key, kDeviceOrix) || SameText(key, kDeviceOrixBluetooth);
}

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
}

ParticipantEntry* EditedEntry(DriverDetailsModel& model) {
  if (!model.listRead || model.entry < 0 || model.entry >= kSlotCount) return nullptr;
  return &model.list.entries[model.entry];
}

void StoreTransponder(DriverDetailsModel& model, int number) {
  ParticipantEntry* entry = EditedEntry(model);
  if (entry == nullptr) return;
  char text[kTransponderTextCapacity];
  FormatTransponder(number, text);
  SetText(entry->transponder, text);
}

// The lamp's next state at that phase of its cycle (hundredths since the cycle began).
int NextLampState(int state, int64_t phase, bool* newCycle) {
  *newCycle = false;
  if (phase >= 84) {
    *newCycle = true;
    return 0;
  }
  if (state == 0 && phase <= 19) return 1;
  if (state == 1 && phase >= 21 && phase <= 40) return 2;
  if (state == 2 && phase >= 42 && phase <= 61) return 3;
  if (state == 3 && phase >= 63 && phase <= 82) return 4;
  return state;
}

}  // namespace

const char* DetailsLampFile(int state) {
  static const char* const kFiles[kDetailsLampStates] = {
      nullptr, "images/voyantScanPuce1.bmp", "images/voyantScanPuce2.bmp",
      "images/voyantScanPuce3.bmp", "images/voyantScanPuce4.bmp"};
  return state >= 1 && state < kDetailsLampStates ? kFiles[state] : nullptr;
}

void OpenDriverDetails(DriverDetailsModel& model, DetailsSession& session, MessageBoxes& boxes,
                       const char* settingsPath) {
  std::memset(model.frequencies, 0, sizeof model.frequencies);
  model.frequencyCount = 0;
  model.listRead = false;
  model.entry = -1;
  model.scanning = false;
  model.lampState = 0;
  model.scanStartCount = 0;
  model.markHundredths = 0;
  model.orixCollector.Clear();
  model.vexaCollector.Clear();
  ClearParticipantsList(model.list);

  auto table = std::make_unique<FrequencyTable>();
  if (ReadFrequencies(*table)) {
    for (const auto& text : table->entries) {
      if (text[0] == '\0') continue;
      SetText(model.frequencies[model.frequencyCount++], text);
    }
  } else {
    ShowError(boxes, TXT_DETAILS_FREQUENCIES_MISSING);
  }

  ParticipantsList list;
  ClearParticipantsList(list);
  int entry = -1;
  switch (session.ReadParticipants(list, entry, boxes)) {
    case DetailsSession::Read::kRead:
      model.list = list;
      model.listRead = true;
      break;
    case DetailsSession::Read::kNoList:
      ShowError(boxes, TXT_DETAILS_NO_LIST_OPENING);
      break;
    case DetailsSession::Read::kNoSession:
      break;
  }
  model.entry = entry >= 0 && entry < kSlotCount ? entry : -1;

  InterfaceSettings settings = {};
  SetText(model.deviceKey, kDeviceVexa);
  if (ReadInterfaceSettings(settingsPath, settings)) {
    SetText(model.deviceKey, settings.deviceKey);
  } else {
    ShowError(boxes, TXT_DETAILS_INTERFACE_FILE_MISSING);
  }
}

const ParticipantEntry* DetailsEntry(const DriverDetailsModel& model) {
  if (!model.listRead || model.entry < 0 || model.entry >= kSlotCount) return nullptr;
  return &model.list.entries[model.entry];
}

int DetailsFrequencyLine(const DriverDetailsModel& model, int k) {
  const ParticipantEntry* entry = DetailsEntry(model);
  if (entry == nullptr || k < 0 || k >= kFrequenciesPerEntry) return -1;
  for (int i = 0; i < model.frequencyCount; ++i) {
    if (SameText(model.frequencies[i], entry->frequencies[k])) return i;
  }
  return -1;
}

bool DetailsTransponderTyped(DriverDetailsModel& model, const char* text) {
  ParticipantEntry* entry = EditedEntry(model);
  if (entry == nullptr || text == nullptr) return false;
  if (std::strlen(text) != size_t(kDetailsTransponderDigits)) return false;
  for (int i = 0; i < kDetailsTransponderDigits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  SetText(entry->transponder, text);
  return true;
}

void DetailsFrequencyChosen(DriverDetailsModel& model, int k, int line) {
  ParticipantEntry* entry = EditedEntry(model);
  if (entry == nullptr || k < 0 || k >= kFrequenciesPerEntry) return;
  if (line < 0 || line >= model.frequencyCount) return;
  SetText(entry->frequencies[k], model.frequencies[line]);
}

void DetailsScanDown(DriverDetailsModel& model, SerialPort& port, Clock& clock) {
  DiscardReceived(port);
  model.orixCollector.Clear();
  model.vexaCollector.Clear();
  model.scanning = true;
  model.scanStartCount = clock.PerformanceCounter();
  model.markHundredths = 0;
  model.lampState = 1;
}

void DetailsScanUp(DriverDetailsModel& model) {
  model.scanning = false;
  model.lampState = 0;
}

DetailsTick DetailsTimerTick(DriverDetailsModel& model, SerialPort& port, Clock& clock) {
  DetailsTick tick = {};
  if (!model.scanning) {
    DiscardReceived(port);
    model.orixCollector.Clear();
    model.vexaCollector.Clear();
    return tick;
  }
  const bool orix = IsOrixKey(model.deviceKey);
  SerialChunk chunk;
  ChunkTake taken;
  while ((taken = port.TakeChunk(chunk)) == ChunkTake::kChunk) {
    for (int i = 0; i < chunk.count; ++i) {
      if (orix) {
        if (!model.orixCollector.Push(chunk.bytes[i])) continue;
        StoreTransponder(model, PassageTransponder(model.orixCollector.Frame()));
      } else {
        if (!model.vexaCollector.Push(chunk.bytes[i])) continue;
        StoreTransponder(model, model.vexaCollector.Transponder());
      }
      tick.transponderRead = EditedEntry(model) != nullptr;
    }
  }
  if (taken == ChunkTake::kFailed) {
    tick.portFailed = true;
    tick.lampChanged = model.lampState != 0;
    DetailsScanUp(model);
    return tick;
  }

  const int64_t frequency = clock.PerformanceFrequency();
  if (frequency > 0) {
    const int64_t t = (clock.PerformanceCounter() - model.scanStartCount) * 100 / frequency;
    bool newCycle = false;
    const int next = NextLampState(model.lampState, t - model.markHundredths, &newCycle);
    if (newCycle) model.markHundredths = t;
    tick.lampChanged = next != model.lampState;
    model.lampState = next;
  }
  return tick;
}

void ConfirmDriverDetails(const DriverDetailsModel& model, DetailsSession& session,
                          MessageBoxes& boxes) {
  if (!model.listRead) return;
  switch (session.WriteParticipants(model.list)) {
    case DetailsSession::Write::kWritten:
      break;
    case DetailsSession::Write::kNoList:
      ShowError(boxes, TXT_DETAILS_NO_LIST_SAVING);
      break;
    case DetailsSession::Write::kNotWritten:
      ShowError(boxes, TXT_SESSION_FILE_NOT_FOUND);
      break;
  }
}

}  // namespace zarvo
