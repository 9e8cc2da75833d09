// Reading a session file into the export's data, run by run.
#include "export/session_export.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/files.h"
#include "session/session_file.h"
#include "session/session_format.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// What every run of the session shares.
struct SessionParts {
  SessionHeader header;
  ParticipantsList list;
  SessionTrack track;
  RaceParameters params;
};

void ReadSessionParts(std::string_view file, SessionParts& parts) {
  ParseSessionHeader(file, parts.header);
  std::memset(&parts.list, 0, sizeof parts.list);
  for (ParticipantEntry& e : parts.list.entries) SetText(e.driverName, kNoDriver);
  ParseParticipantsList(file, parts.list);
  parts.track = DefaultSessionTrack();
  ParseSessionTrack(file, parts.track);
  SetDefaultRaceParameters(parts.params);
  ParseRaceParameters(file, parts.params);
}

// The table of run n as selecting the run prepares it; true when its section is in the file.
bool PrepareRun(std::string_view file, int runNumber, const SessionParts& parts, Race& race) {
  std::memset(&race, 0, sizeof race);
  race.params = parts.params;
  for (int k = 0; k < kSlotCount; ++k) {
    SetText(race.slots[k].driverName, parts.list.entries[k].driverName);
    if (race.slots[k].driverName[0] == '\0') SetText(race.slots[k].driverName, kNoDriver);
  }
  ResetTable(race);
  const bool found = ParseRunSection(file, runNumber, race);
  for (ParticipantRecord& p : race.slots) {
    if (!IsEmptySlot(p)) continue;
    for (int32_t& t : p.passageTimes) t = kEmptySlotTime;
    p.bestLap = kEmptySlotTime;
    p.finished = true;
  }
  return found;
}

void ExportRunOf(const Race& race, int runNumber, const SessionParts& parts, ExportRun& out) {
  char caption[kExportCaptionCapacity];
  std::snprintf(caption, sizeof caption, " %s - Run%d ", parts.header.sessionName, runNumber);
  const ExportRunInfo info{runNumber, caption, race.run.runTitle, parts.track.circuitName};
  BuildRunFromRace(race, info, out);
}

void StartSession(const SessionParts& parts, ExportSession& out) {
  std::memset(out.title, 0, sizeof out.title);
  SetText(out.label, parts.track.label);
  out.runs.clear();
}

// The text without its leading and trailing blanks.
void SetTrimmed(char* out, size_t capacity, const char* text) {
  while (*text == ' ') ++text;
  size_t n = std::strlen(text);
  while (n > 0 && text[n - 1] == ' ') --n;
  SetText(out, capacity, text, n);
}

}  // namespace

bool LooksLikeSessionFile(std::string_view file) {
  size_t digits = 0;
  while (digits < file.size() && file[digits] >= '0' && file[digits] <= '9') ++digits;
  return digits > 0 && digits < file.size() && file[digits] == '\t';
}

SessionExportRead BuildSessionExport(std::string_view file, ExportSession& out) {
  if (!LooksLikeSessionFile(file)) return SessionExportRead::kNotASession;
  auto parts = std::make_unique<SessionParts>();
  ReadSessionParts(file, *parts);
  StartSession(*parts, out);
  SetText(out.title, parts->header.sessionName);
  auto race = std::make_unique<Race>();
  for (int n = 1; n <= parts->header.runCount && n <= kMaxExportRuns; ++n) {
    if (!PrepareRun(file, n, *parts, *race) || !RunHoldsData(*race)) continue;
    out.runs.emplace_back();
    ExportRunOf(*race, n, *parts, out.runs.back());
  }
  return SessionExportRead::kRead;
}

SessionExportRead BuildSessionRunExport(std::string_view file, int runNumber, ExportSession& out) {
  if (!LooksLikeSessionFile(file)) return SessionExportRead::kNotASession;
  auto parts = std::make_unique<SessionParts>();
  ReadSessionParts(file, *parts);
  StartSession(*parts, out);
  if (runNumber < 1 || runNumber > kMaxExportRuns) return SessionExportRead::kRead;
  auto race = std::make_unique<Race>();
  PrepareRun(file, runNumber, *parts, *race);
  out.runs.emplace_back();
  ExportRunOf(*race, runNumber, *parts, out.runs.back());
  SetTrimmed(out.title, sizeof out.title, out.runs.back().runCaption);
  return SessionExportRead::kRead;
}

SessionExportRead ReadSessionExport(const char* path, ExportSession& out) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxSessionFileBytes)) return SessionExportRead::kNotOpened;
  return BuildSessionExport(bytes, out);
}

}  // namespace zarvo
