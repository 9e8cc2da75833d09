// The session file readers on any bytes, and the section rewrite on any file: the first byte
// chooses what is rewritten and with what, the rest is the file.
// Checked: every reader stays within its fields; after a rewrite the section reads back as written
// while line 1 and every other section read exactly as before.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "race/passage.h"
#include "session/session_format.h"
#include "text/fixed_text.h"

namespace {

using namespace zarvo;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void PrepareRace(Race& race) {
  std::memset(&race, 0, sizeof race);
  for (ParticipantRecord& p : race.slots) SetText(p.driverName, kNoDriver);
  ResetTable(race);
}

// What the readers find in a file.
struct Parsed {
  SessionHeader header;
  bool hasList, hasTrack, hasParams, hasRun[2];
  ParticipantsList list;
  SessionTrack track;
  RaceParameters params;
  Race runs[2];  // runs 1 and 2
};

// A run prepared once, copied before every read (preparing one costs more than reading).
const Race& PreparedRace() {
  static const std::unique_ptr<Race> race = [] {
    auto r = std::make_unique<Race>();
    PrepareRace(*r);
    return r;
  }();
  return *race;
}

class SilentHost : public PassageHost {
 public:
  void StopRun() override {}
  void Cue(SoundCue, int) override {}
  void RepaintResults() override {}
};

// The track's minimum lap time as the early-crossing filter uses it: two crossings 1 s apart are
// never a lap unless the minimum is under a second (the integer checks watch the arithmetic).
void FilterWithTrack(const SessionTrack& track) {
  static const std::unique_ptr<Race> prepared = [] {
    auto r = std::make_unique<Race>();
    PrepareRace(*r);
    SetText(r->slots[0].driverName, "ANNA");
    SetText(r->slots[0].transponder, "000001");
    SetDefaultRaceParameters(r->params);
    r->run.raceRunning = true;
    return r;
  }();
  static Race race;
  static CircuitTable circuits;
  static SoundSettings sounds;
  static SilentHost host;
  std::memcpy(&race, prepared.get(), sizeof race);
  race.params.minimumLapSeconds = track.minimumLapSeconds;
  TimingContext ctx{race, circuits, sounds, host};
  ProcessPassage(ctx, "000001", 5000);
  ProcessPassage(ctx, "000001", 6000);
  Check(race.slots[0].lapCount == 0);  // a crossing 1 s after the start is never a lap
}

void ParseAll(std::string_view file, Parsed& out) {
  std::memset(&out.list, 0, sizeof out.list);
  ParseSessionHeader(file, out.header);
  Check(out.header.participantCount >= 0 && out.header.participantCount <= kSlotCount);
  Check(out.header.runCount >= 0 && out.header.runCount <= kMaxRunCount);
  out.hasList = ParseParticipantsList(file, out.list);
  out.track = DefaultSessionTrack();
  out.hasTrack = ParseSessionTrack(file, out.track);
  Check(out.track.minimumLapSeconds >= kLeastMinimumLapSeconds &&
        out.track.minimumLapSeconds <= kMaxMinimumLapSeconds);
  FilterWithTrack(out.track);
  SetDefaultRaceParameters(out.params);
  out.hasParams = ParseRaceParameters(file, out.params);
  Check(out.params.durationMinutes >= 1 && out.params.durationMinutes <= 720);
  for (int r = 0; r < 2; ++r) {
    std::memcpy(&out.runs[r], &PreparedRace(), sizeof(Race));
    out.hasRun[r] = ParseRunSection(file, r + 1, out.runs[r]);
    for (const ParticipantRecord& p : out.runs[r].slots) {
      Check(p.lapCount >= 0 && p.lapCount <= kMaxLapCount);
      Check(strnlen(p.driverName, sizeof p.driverName) < sizeof p.driverName);
    }
    Check(strnlen(out.runs[r].run.runTitle, kRunTitleCapacity) < size_t(kStoredRunTitleCapacity));
  }
}

bool SameRunData(const Race& a, const Race& b) {
  for (int s = 0; s < kSlotCount; ++s) {
    const ParticipantRecord& x = a.slots[s];
    const ParticipantRecord& y = b.slots[s];
    if (std::strcmp(x.driverName, y.driverName) != 0 || x.lapCount != y.lapCount ||
        x.lastLap != y.lastLap || x.bestLap != y.bestLap || x.worstLap != y.worstLap ||
        x.averageLap != y.averageLap ||
        std::memcmp(x.passageTimes, y.passageTimes, sizeof(int32_t) * (x.lapCount + 1)) != 0 ||
        std::memcmp(&x.setup, &y.setup, sizeof x.setup) != 0) {
      return false;
    }
  }
  return std::strcmp(a.run.runTitle, b.run.runTitle) == 0;
}

bool SameHeader(const SessionHeader& a, const SessionHeader& b) {
  return a.selectedNodeId == b.selectedNodeId && std::strcmp(a.sessionName, b.sessionName) == 0 &&
         a.participantCount == b.participantCount && a.runsRecorded == b.runsRecorded &&
         a.runCount == b.runCount;
}

bool SameTrack(const SessionTrack& a, const SessionTrack& b) {
  return std::strcmp(a.label, b.label) == 0 && std::strcmp(a.circuitName, b.circuitName) == 0 &&
         a.minimumLapSeconds == b.minimumLapSeconds;
}

// The runs written by the fuzzer: from no participant to twenty of 999 nine-digit laps.
struct Models {
  Models() {
    const int slots[4] = {0, 1, 3, 20};
    const int laps[4] = {0, 2, 60, kMaxLapCount};
    for (int m = 0; m < 4; ++m) {
      runs[m] = std::make_unique<Race>();
      Race& race = *runs[m];
      PrepareRace(race);
      for (int s = 0; s < slots[m]; ++s) {
        ParticipantRecord& p = race.slots[s];
        std::snprintf(p.driverName, sizeof p.driverName, "DRIVER%02d", s + 1);
        p.lapCount = laps[m];
        for (int k = 0; k <= laps[m]; ++k) p.passageTimes[k] = k * (m == 3 ? 200000 : 30000);
        p.bestLap = 30000;
        SetText(p.setup.carName, "Buggy");
      }
      SetText(race.run.runTitle, m % 2 ? "." : "Start 2024/05/01 14:03:10 - Duration 0:05:00");
      runContent[m] = RunSectionContent(race);
    }
    std::memset(&list, 0, sizeof list);
    for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
    SetText(list.entries[0].driverName, "ANNA");
    SetText(list.entries[0].transponder, "004711");
    track = DefaultSessionTrack();
    SetText(track.label, "Club");
    track.minimumLapSeconds = 7;
    SetDefaultRaceParameters(params);
    SetText(params.classificationKey, kRankBestLap);
    params.countdownSeconds = 30;
    header = NewSessionHeader("FUZZ");
    header.selectedNodeId = 14002;
    header.participantCount = 3;
    header.runCount = 2;
  }
  std::unique_ptr<Race> runs[4];
  std::string runContent[4];
  ParticipantsList list;
  SessionTrack track;
  RaceParameters params;
  SessionHeader header;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Models models;
  static auto before = std::make_unique<Parsed>();
  static auto after = std::make_unique<Parsed>();
  if (size == 0) return 0;
  const int choice = data[0];
  std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
  ParseAll(file, *before);

  const int target = choice % 7;
  const int model = (choice / 7) % 4;
  if (model == 3 && file.size() > 2000) return 0;  // keep the large run for small files
  const std::string original = file;
  switch (target) {
    case 0:
      ApplyEdit(file, PlanSectionRewrite(file, kParticipantsListTitle, kParticipantsReservePairs,
                                         ParticipantsListContent(models.list)));
      break;
    case 1:
      ApplyEdit(file, PlanSectionRewrite(file, kTrackTitle, kTrackReservePairs,
                                         SessionTrackContent(models.track)));
      break;
    case 2:
      ApplyEdit(file, PlanSectionRewrite(file, kRaceParametersTitle, kRaceParametersReservePairs,
                                         RaceParametersContent(models.params)));
      break;
    case 3:
    case 4: {
      char title[kSectionTitleCapacity];
      FormatRunSectionTitle(target - 2, title, sizeof title);
      ApplyEdit(file, PlanSectionRewrite(file, title,
                                         RunReservePairs(OccupiedSlotCount(*models.runs[model])),
                                         models.runContent[model]));
      break;
    }
    case 5:
      ApplyEdit(file, PlanHeaderRewrite(file, models.header));
      break;
    case 6:
      ApplyEdit(file, PlanSelectedNodeIdRewrite(file, 12007));
      break;
  }
  ParseAll(file, *after);

  // The rewritten part reads back as written.
  switch (target) {
    case 0:
      Check(after->hasList && std::memcmp(&after->list, &models.list, sizeof models.list) == 0);
      break;
    case 1:
      Check(after->hasTrack && SameTrack(after->track, models.track));
      break;
    case 2:
      Check(after->hasParams &&
            std::memcmp(&after->params, &models.params, sizeof models.params) == 0);
      break;
    case 3:
    case 4:
      Check(after->hasRun[target - 3] && SameRunData(after->runs[target - 3], *models.runs[model]));
      break;
    case 5:
      Check(SameHeader(after->header, models.header));
      break;
    case 6:
      Check(after->header.selectedNodeId == 12007);
      Check(after->header.participantCount == before->header.participantCount);
      Check(after->header.runCount == before->header.runCount);
      break;
  }
  // Everything else reads as before.
  if (target < 5) {
    Check(SameHeader(after->header, before->header));
    const size_t line1 = std::min(original.find('\n'), original.size());
    Check(file.compare(0, line1, original, 0, line1) == 0);
  }
  if (target != 0) {
    Check(after->hasList == before->hasList);
    Check(std::memcmp(&after->list, &before->list, sizeof before->list) == 0);
  }
  if (target != 1) {
    Check(after->hasTrack == before->hasTrack);
    Check(SameTrack(after->track, before->track));
  }
  if (target != 2) {
    Check(after->hasParams == before->hasParams);
    Check(std::memcmp(&after->params, &before->params, sizeof before->params) == 0);
  }
  for (int r = 0; r < 2; ++r) {
    if (target == 3 + r) continue;
    Check(after->hasRun[r] == before->hasRun[r]);
    Check(std::memcmp(after->runs[r].slots, before->runs[r].slots, sizeof before->runs[r].slots) ==
          0);
    Check(std::strcmp(after->runs[r].run.runTitle, before->runs[r].run.runTitle) == 0);
  }
  return 0;
}
