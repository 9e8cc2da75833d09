// The recovery of an interrupted run at start-up (SessionController::RecoverRun). The journal's run
// goes back into its own session only:
// - the working copy is that session (its stamp is the journal's): the run is written there as
//   the uninterrupted program would have written it, and the session's saved file comes back;
// - the working copy holds another session, or is gone: the working copy is left as it was, and
//   the run goes into the session's own file, its saved file when that still holds the session
//   (read as "Load session" reads it), otherwise a new file named after the session beside it,
//   overwriting nothing; the user is told where the run went.
// Either way a new lap record reaches the circuits database through its guard, and the drivers'
// runs databases get the run unless they hold it already (a sheet saved there since is kept).
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/session_controller.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

class QuietBoxes final : public MessageBoxes {
 public:
  void Show(const char*, const char*, MessageIcon) override {}
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
};

// A journal written before working copies had stamps (version 1) names its session by its name
// only: the working copy is that session when it has no stamp either and bears the name.
bool WorkingCopyIsTheJournals(const JournalStart& start) {
  if (!FileExists(kWorkingCopyPath)) return false;
  const std::string stamp = ReadWorkingCopyStamp();
  if (start.version >= 2) return start.sessionStamp[0] != '\0' && stamp == start.sessionStamp;
  if (!stamp.empty()) return false;
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  QuietBoxes quiet;
  return ReadSessionHeader(header, quiet) && SameText(header.sessionName, start.sessionName);
}

// The run's participants as the participants list of a session that has none, in slot order.
ParticipantsList ListOfRun(const Race& race, int32_t& count) {
  ParticipantsList list;
  ClearParticipantsList(list);
  count = 0;
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p) || p.driverName[0] == '\0') continue;
    SetText(list.entries[count].driverName, p.driverName);
    SetText(list.entries[count].transponder, p.transponder);
    ++count;
  }
  return list;
}

// The run replayed, its lap record kept in circuits: the journal names the circuit by its index
// at the time of the run, and (since its version 2) by its name, which finds it again should the
// circuits have been edited since. True when the circuit's record changed.
bool ReplayWithRecord(std::string_view journal, const JournalStart& start, Race& race,
                      CircuitTable& circuits, bool& recordChanged) {
  const int then = start.params.circuitIndex;
  int now = then;
  if (start.circuitName[0] != '\0') now = FindCircuitIndex(circuits, start.circuitName);
  auto scratch = std::make_unique<CircuitTable>();
  std::memset(scratch.get(), 0, sizeof(CircuitTable));
  const bool known = then >= 0 && then < kCircuitCapacity && now >= 0 && now < kCircuitCapacity;
  if (known) scratch->records[then] = circuits.records[now];
  recordChanged = false;
  if (!ReplayJournal(journal, race, *scratch)) return false;
  if (known && scratch->records[then].recordLap != circuits.records[now].recordLap) {
    circuits.records[now] = scratch->records[then];
    recordChanged = true;
  }
  return true;
}

// Each participant's runs database gets the run, unless it holds it already.
void ArchiveRecoveredRun(const Race& race, const char* runCaption, const char* trackName,
                         MessageBoxes& boxes) {
  for (const ParticipantRecord& p : race.slots) {
    if (IsEmptySlot(p)) continue;
    const std::string path = RunsDatabasePath(p.driverName);
    if (!path.empty() && RunIsStored(path.c_str(), race.run.runTitle)) continue;
    ArchiveParticipantRun(p, race.run.runTitle, runCaption, trackName, boxes);
  }
}

void FormatCaption(char (&caption)[kRunCaptionCapacity], const char* sessionName, int runNumber) {
  std::snprintf(caption, sizeof caption, " %s - Run%d ", sessionName, runNumber);
}

void Apply(std::string& file, const FileEdit& edit) {
  ApplyEdit(file, edit);
}

void RewriteIn(std::string& file, std::string_view title, int reservePairs, std::string content) {
  if (content.empty() || content.back() != '\n') content += "\r\n";
  Apply(file, PlanSectionRewrite(file, title, reservePairs, content));
}

// The saved file still holds the journal's session: its name, and its section of the run, if
// any, is this run or holds nothing.
bool HoldsTheSession(std::string_view file, const JournalStart& start) {
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  ParseSessionHeader(file, header);
  if (!SameText(header.sessionName, start.sessionName)) return false;
  auto run = std::make_unique<Race>();
  std::memset(run.get(), 0, sizeof(Race));
  for (ParticipantRecord& p : run->slots) SetText(p.driverName, kNoDriver);
  ResetTable(*run);
  if (!ParseRunSection(file, start.runNumber, *run)) return true;
  return !RunHoldsData(*run) || SameText(run->run.runTitle, start.runTitle);
}

// "<folder of the saved file>\<session name>.trng", or with " (2)", " (3)"... when taken; the
// program folder when the session had no saved file or its folder is gone. Characters a file
// name cannot hold become "_". Empty when no free name was found.
std::string NewSessionFilePath(const JournalStart& start, const std::string& programFolder) {
  std::string folder = start.savedFilePath;
  const size_t cut = folder.find_last_of("\\/");
  folder = cut == std::string::npos ? std::string() : folder.substr(0, cut);
  if (folder.empty() || !PathExists(folder.c_str())) folder = programFolder;
  std::string name;
  for (const char* c = start.sessionName; *c != '\0'; ++c) {
    const unsigned char u = static_cast<unsigned char>(*c);
    name += (u < 32 || std::strchr("\\/:*?\"<>|", *c) != nullptr) ? '_' : *c;
  }
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  if (name.empty()) name = kDefaultSessionName;
  const std::string stem = (folder.empty() ? std::string() : folder + "\\") + name;
  for (int n = 1; n <= 99; ++n) {
    const std::string path =
        stem + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + kSessionExtension;
    if (!PathExists(path.c_str())) return path;
  }
  return std::string();
}

// Writes a file that must not exist yet: through a temporary file, renamed only where nothing is.
bool WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::string fresh = path + ".new~";
  if (!WriteFileReplacing(fresh.c_str(), bytes)) return false;
  if (RenameFileKeeping(fresh.c_str(), path.c_str())) return true;
  RemoveFile(fresh.c_str());
  return false;
}

}  // namespace

bool SessionController::RecoverRun(std::string_view journal, CircuitsFileGuard& circuitsFile) {
  auto summary = std::make_unique<JournalSummary>();
  if (ReadJournalSummary(journal, *summary) != JournalRead::kRead) return false;
  MakeProgramFolderCurrent();
  QuietBoxes quiet;
  SessionHeader header;
  if (PathExists(kWorkingCopyPath) && !ReadSessionHeader(header, quiet)) {
    // A working copy that cannot be read cannot say whose session it holds: it is kept aside as
    // it is (under the first free numbered name, as journals are), and the run goes to its
    // session's file, which then takes its place.
    const std::string aside = SetJournalAside(kWorkingCopyPath);
    if (aside.empty()) {
      ShowError(TXT_SESSION_FILE_NOT_FOUND);
      ShowWorkingCopyAsItIs(std::string());
      return false;
    }
    char text[512];
    std::snprintf(text, sizeof text, TXT_WORKING_COPY_SET_ASIDE, aside.c_str());
    world_.boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
  }
  if (WorkingCopyIsTheJournals(summary->start)) {
    return RecoverIntoWorkingCopy(journal, summary->start, circuitsFile);
  }
  return RecoverIntoSessionFile(journal, summary->start, circuitsFile);
}

void SessionController::ShowWorkingCopyAsItIs(const std::string& savedFilePath) {
  SessionState& s = world_.session;
  ResetSessionState();
  QuietBoxes quiet;  // what could not be read has been said already
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  s.header = ReadSessionHeader(header, quiet) ? header : NewSessionHeader(kDefaultSessionName);
  ReadParticipantsList(s.participants, quiet);
  ClearText(s.track.label);
  ClearText(s.track.circuitName);
  ReadSessionTrack(s.track, quiet);
  s.circuitIndex = FindCircuitIndex(world_.circuits, s.track.circuitName);
  ApplyTrackToRace();
  s.savedFilePath = savedFilePath;
  SetHasSavedFile(!savedFilePath.empty());
  world_.window.SetTitle(savedFilePath.empty() ? kPlainWindowTitle
                                               : (kFileWindowTitlePrefix + savedFilePath).c_str());
  BuildNodes(true);
}

bool SessionController::RecoverIntoWorkingCopy(std::string_view journal, const JournalStart& start,
                                               CircuitsFileGuard& circuitsFile) {
  SessionState& s = world_.session;
  Race& race = world_.race;
  MessageBoxes& boxes = world_.boxes;
  const int32_t runNumber = start.runNumber;
  const std::string savedFile = start.savedFilePath;

  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  if (!ReadSessionHeader(header, boxes)) {
    ShowWorkingCopyAsItIs(savedFile);
    return false;
  }
  ResetSessionState();
  ParticipantsList list;
  ClearParticipantsList(list);
  if (ReadParticipantsList(list, boxes) == SectionRead::kMissing) {
    // The run's participants become the list, in slot order.
    auto scratch = std::make_unique<Race>();
    auto noCircuits = std::make_unique<CircuitTable>();
    std::memset(noCircuits.get(), 0, sizeof(CircuitTable));
    ReplayJournal(journal, *scratch, *noCircuits);
    list = ListOfRun(*scratch, header.participantCount);
    WriteParticipantsList(list, boxes);
  }
  RaceParameters params;
  std::memset(&params, 0, sizeof params);
  SetDefaultRaceParameters(params);
  if (ReadRaceParameters(params, boxes) == SectionRead::kMissing) {
    WriteRaceParameters(start.params, boxes);
  }

  // The run as the uninterrupted program would have left it, with the lap record it set.
  CircuitTable& circuits = world_.circuits;
  const CircuitTable before = circuits;
  bool recordChanged = false;
  if (!ReplayWithRecord(journal, start, race, circuits, recordChanged) ||
      !WriteRunSection(runNumber, race, boxes)) {
    // The journal stays for the next start-up; the session is shown as the disk holds it.
    circuits = before;
    ShowWorkingCopyAsItIs(savedFile);
    return false;
  }
  if (recordChanged && !circuitsFile.Write(circuits)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_CIRCUITS_FILE_NOT_FOUND, MessageIcon::kError);
  }
  if (header.runCount < runNumber) header.runCount = runNumber;
  header.runsRecorded = true;
  header.selectedNodeId = kRunsNodeId + runNumber;
  WriteSessionHeader(header, boxes);

  // The session as it is now, saved to its own file as before the crash, the run on screen.
  ShowWorkingCopyAsItIs(savedFile);
  LoadRun(runNumber);
  ArchiveRecoveredRun(race, s.runCaption, s.track.circuitName, boxes);
  return true;
}

bool SessionController::RecoverIntoSessionFile(std::string_view journal, const JournalStart& start,
                                               CircuitsFileGuard& circuitsFile) {
  MessageBoxes& boxes = world_.boxes;
  const int32_t runNumber = start.runNumber;
  const bool workingCopyThere = FileExists(kWorkingCopyPath);

  // The file the run goes into.
  std::string target = start.savedFilePath;
  std::string file;
  bool existing = !target.empty() && ReadWholeFile(target.c_str(), file, kMaxSessionFileBytes) &&
                  HoldsTheSession(file, start);
  if (!existing) {
    target = NewSessionFilePath(start, world_.programFolder);
    file = NewWorkingCopyBytes(start.sessionName);
  }

  auto race = std::make_unique<Race>();
  CircuitTable& circuits = world_.circuits;
  const CircuitTable before = circuits;
  // Nothing was written: the working copy (a new one if there was none) is shown.
  auto fail = [&] {
    circuits = before;
    if (!workingCopyThere) CreateWorkingCopy(kDefaultSessionName, boxes);
    ShowWorkingCopyAsItIs(std::string());
    return false;
  };
  bool recordChanged = false;
  if (target.empty() || !ReplayWithRecord(journal, start, *race, circuits, recordChanged)) {
    return fail();
  }

  // The session's sections that the file lacks come from the journal, then the run.
  SessionHeader header;
  std::memset(&header, 0, sizeof header);
  ParseSessionHeader(file, header);
  auto list = std::make_unique<ParticipantsList>();
  if (!ParseParticipantsList(file, *list)) {
    *list = ListOfRun(*race, header.participantCount);
    RewriteIn(file, kParticipantsListTitle, kParticipantsReservePairs,
              ParticipantsListContent(*list));
  }
  RaceParameters params;
  std::memset(&params, 0, sizeof params);
  if (!ParseRaceParameters(file, params)) {
    RewriteIn(file, kRaceParametersTitle, kRaceParametersReservePairs,
              RaceParametersContent(start.params));
  }
  SessionTrack track = DefaultSessionTrack();
  if (!ParseSessionTrack(file, track)) {
    SetText(track.circuitName, start.circuitName);
    track.minimumLapSeconds = start.params.minimumLapSeconds;
    RewriteIn(file, kTrackTitle, kTrackReservePairs, SessionTrackContent(track));
  }
  char title[kSectionTitleCapacity];
  FormatRunSectionTitle(runNumber, title, sizeof title);
  RewriteIn(file, title, RunReservePairs(OccupiedSlotCount(*race)), RunSectionContent(*race));
  if (header.runCount < runNumber) header.runCount = runNumber;
  header.runsRecorded = true;
  header.selectedNodeId = kRunsNodeId + runNumber;
  Apply(file, PlanHeaderRewrite(file, header));

  const bool written =
      existing ? WriteFileReplacing(target.c_str(), file) : WriteNewFile(target, file);
  if (!written) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_SESSION_NOT_SAVED, MessageIcon::kError);
    return fail();
  }
  if (recordChanged && !circuitsFile.Write(circuits)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_CIRCUITS_FILE_NOT_FOUND, MessageIcon::kError);
  }
  char caption[kRunCaptionCapacity];
  FormatCaption(caption, start.sessionName, runNumber);
  ArchiveRecoveredRun(*race, caption, track.circuitName, boxes);

  char text[1024];
  if (workingCopyThere) {
    // The session that was open stays as it was, on screen.
    ShowWorkingCopyAsItIs(std::string());
    std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVERED_INTO_FILE, int(runNumber),
                  start.sessionName, target.c_str());
  } else {
    // Nothing was open: the session with its run is loaded as "Load session" loads it.
    if (!CopySessionFile(target.c_str(), kWorkingCopyPath)) {
      CreateWorkingCopy(kDefaultSessionName, boxes);
      ShowWorkingCopyAsItIs(std::string());
    } else {
      ShowWorkingCopyAsItIs(target);
      LoadRun(runNumber);
    }
    std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVERED_AND_LOADED, int(runNumber),
                  start.sessionName, target.c_str());
  }
  boxes.Show(TXT_CAPTION_REFUSAL, text, MessageIcon::kInformation);
  return true;
}

}  // namespace zarvo
