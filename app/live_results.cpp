// The program's live results: settings, server, and the snapshots published from the tick.
#include "app/live_results.h"

#include <cstring>

#include "race/classification.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"
#include "web/live_snapshot.h"

namespace zarvo {

namespace {

class QuietBoxes final : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

LiveServerState StateOf(const LiveServerStart& start, int port) {
  switch (start.result) {
    case LiveServerResult::kStarted:
    case LiveServerResult::kAlreadyRunning:
      return {LiveStatus::kRunning, start.port, 0};
    case LiveServerResult::kPortTaken:
      return {LiveStatus::kPortTaken, port, start.systemError};
    case LiveServerResult::kPortForbidden:
      return {LiveStatus::kPortForbidden, port, start.systemError};
    case LiveServerResult::kFailed:
      break;
  }
  return {LiveStatus::kFailed, port, start.systemError};
}

}  // namespace

// ---- The runs of the working copy.

int WorkingCopyRuns::RunCount() {
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  QuietBoxes quiet;
  if (!ReadSessionHeader(header, quiet)) return 0;
  return header.runCount;
}

bool WorkingCopyRuns::ReadRun(int runNumber, Race& race) {
  QuietBoxes quiet;
  RaceParameters& params = race.params;
  SetDefaultRaceParameters(params);
  params.maximumLapCount = kMaxLapCount;
  params.lapRunLimitHours = 12;
  if (ReadRaceParameters(params, quiet) == SectionRead::kNoFile) return false;
  auto list = std::make_unique<ParticipantsList>();
  ClearParticipantsList(*list);
  ReadParticipantsList(*list, quiet);
  for (int k = 0; k < kSlotCount; ++k) {
    SetText(race.slots[k].driverName, list->entries[k].driverName);
    if (race.slots[k].driverName[0] == '\0') SetText(race.slots[k].driverName, kNoDriver);
  }
  ResetTable(race);
  RebuildStandings(race);
  RebuildRows(race);
  if (ReadRunSection(runNumber, race, quiet) != SectionRead::kRead) return false;
  // Empty slots take no lap, as when the run is loaded.
  for (ParticipantRecord& p : race.slots) {
    if (!IsEmptySlot(p)) continue;
    for (int32_t& t : p.passageTimes) t = kEmptySlotTime;
    p.bestLap = kEmptySlotTime;
  }
  return true;
}

// ---- What the other runs depend on.

bool SessionRunsKey::operator==(const SessionRunsKey& o) const {
  return stamp == o.stamp && savedFilePath == o.savedFilePath && loadedRun == o.loadedRun &&
         runCount == o.runCount && names == o.names && classificationKey == o.classificationKey;
}

SessionRunsKey SessionRunsKeyOf(const SessionState& session, const Race& race) {
  SessionRunsKey key;
  key.stamp = WorkingCopyStamp();
  key.savedFilePath = session.savedFilePath;
  key.loadedRun = session.loadedRun;
  key.runCount = session.header.runCount;
  for (const ParticipantEntry& e : session.participants.entries) {
    key.names.append(e.driverName, strnlen(e.driverName, sizeof e.driverName));
    key.names += '\t';
  }
  key.classificationKey.assign(race.params.classificationKey,
                               strnlen(race.params.classificationKey,
                                       sizeof race.params.classificationKey));
  return key;
}

// ---- The feed.

bool LiveFeed::Publish(const Race& race, const SessionState& session) {
  if (!changed_) return false;
  changed_ = false;
  SessionRunsKey key = SessionRunsKeyOf(session, race);
  if (!haveKey_ || !(key == key_) || otherRuns_ == nullptr) {
    otherRuns_ = CollectSessionRuns(runs_, session.loadedRun, key.classificationKey.c_str());
    key_ = std::move(key);
    haveKey_ = true;
  }
  publisher_.Publish(
      BuildLiveSnapshot(race, session.header.sessionName, session.loadedRun, otherRuns_));
  return true;
}

void LiveFeed::Forget() {
  haveKey_ = false;
  otherRuns_.reset();
  changed_ = true;
}

void LiveResultsUi::Repaint(RaceArea area) {
  if (area != RaceArea::kEventLine) feed_.MarkChanged();
  window_.Repaint(area);
}

// ---- The server and its settings.

LiveResults::LiveResults(const char* address) : address_(address) {}

LiveResults::~LiveResults() {
  Stop();
}

void LiveResults::StartUp(MessageBoxes& boxes) {
  LiveSettings settings;
  if (ReadLiveSettings(kLiveSettingsFile, settings) == LiveFileRead::kDamaged) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_LIVE_SETTINGS_DAMAGED, MessageIcon::kError);
  }
  if (settings.on) Apply(settings);
}

void LiveResults::AfterTick(const Race& race, const SessionState& session) {
  if (state_.status == LiveStatus::kRunning) feed_.Publish(race, session);
}

void LiveResults::Stop() {
  server_.Stop();
  state_ = LiveServerState{};
}

LiveServerState LiveResults::Apply(const LiveSettings& settings) {
  if (!settings.on) {
    Stop();
    return state_;
  }
  if (state_.status == LiveStatus::kRunning && state_.port == settings.port) return state_;
  server_.Stop();
  feed_.Forget();
  state_ = StateOf(server_.Start(settings.port, address_.c_str()), settings.port);
  return state_;
}

}  // namespace zarvo
