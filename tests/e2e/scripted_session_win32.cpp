// The session of the end-to-end runs: the program as built, except that its session at start-up
// holds the drivers listed in "e2e-session.txt" of the program folder (lines
// "<name>\t<transponder>") with run 1 selected and ready to start, so that a run can be timed
// through the real window before the session commands are there to set one up.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/main_window_win32.h"
#include "app/new_session.h"
#include "app/session_file.h"
#include "app/session_format.h"
#include "platform/files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

constexpr char kScriptFile[] = "e2e-session.txt";

class ScriptedSession final : public NewSessionOnly {
 public:
  using NewSessionOnly::NewSessionOnly;

  void StartUp() override {
    NewSessionOnly::StartUp();
    std::string bytes;
    if (!ReadWholeFile(kScriptFile, bytes, 64 * 1024)) return;
    OpenSession& session = state_.session;
    Race& race = state_.race;
    size_t at = 0;
    int slot = 0;
    while (at < bytes.size() && slot < kSlotCount) {
      size_t end = bytes.find('\n', at);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(at, end - at);
      at = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t tab = line.find('\t');
      if (tab == std::string::npos) continue;
      ParticipantEntry& entry = session.participants.entries[slot];
      SetText(entry.driverName, line.substr(0, tab).c_str());
      SetText(entry.transponder, line.substr(tab + 1).c_str());
      SetText(race.slots[slot].driverName, entry.driverName);
      ++slot;
    }
    ResetTable(race);
    WipeStandings(race);
    RebuildStandings(race);
    RebuildRows(race);
    race.run.ready = true;
    std::snprintf(session.runCaption, sizeof session.runCaption, " %s - Run%d ",
                  kDefaultSessionName, 1);
  }

  void BuildTree() override {
    const Race& race = state_.race;
    char drivers[32];
    std::snprintf(drivers, sizeof drivers, TXT_TREE_DRIVERS, race.participantCount);
    tree_.Clear();
    tree_.InsertNode(kSessionNodeId, 0, 0, kDefaultSessionName, kTreeImageNone, true);
    tree_.InsertNode(kTrackNodeId, kSessionNodeId, 0, TXT_TREE_TRACK, kTreeImageTrack, false);
    tree_.InsertNode(kDriversNodeId, kSessionNodeId, 0, drivers, kTreeImageDrivers, false);
    for (int k = 0; k < race.participantCount; ++k) {
      tree_.InsertNode(kDriversNodeId + k + 1, kDriversNodeId, 0,
                       state_.session.participants.entries[k].driverName, kTreeImageDrivers, false);
    }
    tree_.InsertNode(kParametersNodeId, kSessionNodeId, 0, TXT_TREE_PARAMETERS,
                     kTreeImageParameters, false);
    tree_.InsertNode(kRunsNodeId, kSessionNodeId, 0, TXT_TREE_SESSIONS, kTreeImageSessions, false);
    tree_.InsertNode(kRunsNodeId + 1, kRunsNodeId, 0, "Run 1", kTreeImageSessions, false);
    tree_.Expand(kSessionNodeId);
    tree_.Expand(kDriversNodeId);
    tree_.Expand(kRunsNodeId);
  }
};

}  // namespace

std::unique_ptr<SessionCommands> MakeSessionCommands(Program& program, MainWindow& window) {
  return std::make_unique<ScriptedSession>(program.state(), window.tree(), program.boxes());
}

}  // namespace zarvo
