// The fixture of the session commands' tests: the controller over its recording ports, a real
// working copy in a temporary program folder, and the session bytes a test writes.
#pragma once

#include "app/session_controller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace session_testing {

using testing::ReadBytes;
using testing::WriteBytes;

struct Driver {
  const char* name;
  const char* transponder;
  const char* frequency;
};

// A session file built in memory with the session file's own layout.
class SessionBytes {
 public:
  explicit SessionBytes(const char* name = "PRACTICE") : bytes_(NewWorkingCopyBytes(name)) {
    header_ = NewSessionHeader(name);
  }
  SessionBytes& Drivers(std::initializer_list<Driver> drivers) {
    ParticipantsList list;
    ClearParticipantsList(list);
    int k = 0;
    for (const Driver& d : drivers) {
      SetText(list.entries[k].driverName, d.name);
      SetText(list.entries[k].transponder, d.transponder);
      SetText(list.entries[k].frequencies[0], d.frequency);
      ++k;
    }
    header_.participantCount = k;
    return Section(kParticipantsListTitle, kParticipantsReservePairs,
                   ParticipantsListContent(list));
  }
  SessionBytes& Runs(int count, bool recorded = false) {
    header_.runCount = count;
    header_.runsRecorded = recorded;
    return *this;
  }
  SessionBytes& Track(const char* label, const char* circuit, int minimumLap) {
    SessionTrack track = DefaultSessionTrack();
    SetText(track.label, label);
    SetText(track.circuitName, circuit);
    track.minimumLapSeconds = minimumLap;
    return Section(kTrackTitle, kTrackReservePairs, SessionTrackContent(track));
  }
  SessionBytes& Parameters(const RaceParameters& params) {
    return Section(kRaceParametersTitle, kRaceParametersReservePairs,
                   RaceParametersContent(params));
  }
  SessionBytes& Run(int n, const Race& race) {
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(n, title, sizeof title);
    return Section(title, RunReservePairs(OccupiedSlotCount(race)), RunSectionContent(race));
  }
  std::string Bytes() {
    ApplyEdit(bytes_, PlanHeaderRewrite(bytes_, header_));
    return bytes_;
  }

 private:
  SessionBytes& Section(const char* title, int pairs, const std::string& content) {
    ApplyEdit(bytes_, PlanSectionRewrite(bytes_, title, pairs, content));
    return *this;
  }
  std::string bytes_;
  SessionHeader header_;
};

// Two laps of slot 1, as a timed run leaves them.
inline void GiveTwoLaps(Race& race, int slot = 1) {
  ParticipantRecord& p = race.slots[slot - 1];
  p.lapCount = 2;
  p.passageTimes[0] = 0;
  p.passageTimes[1] = 30200;
  p.passageTimes[2] = 61250;
  p.lastLap = 31050;
  p.bestLap = 30200;
  p.worstLap = 31050;
  p.averageLap = 30625;
  SetText(race.run.runTitle, "Start 2026/12/07 14:03:10 - Duration 0:01:00");
}

class SessionControllerTest : public ::testing::Test {
 protected:
  SessionControllerTest() {
    race = std::make_unique<Race>();
    std::memset(race.get(), 0, sizeof(Race));
    SetDefaultRaceParameters(race->params);
    circuits = std::make_unique<CircuitTable>();
    ClearCircuits(*circuits);
    sounds = testing::AllSoundsOn();
    session = std::make_unique<SessionState>();
    ui = std::make_unique<testing::RecordingRaceUi>(race.get());
    raceControl = std::make_unique<RaceControl>(
        RaceControlWorld{*race, *circuits, sounds, session->participants, clock, player, boxes, *ui,
                         decoder, archive});
    controller = std::make_unique<SessionController>(
        SessionWorld{*session, *race, *circuits, *raceControl, *ui, tree, window, files, dialogs,
                     boxes, folder.path()});
    controller->StartUp();
    controller->BuildTree();
  }

  std::string InitialSaveName() const { return folder.path() + "\\*.trng"; }

  // Loads the bytes as a saved session, answering No to the save question.
  void Load(const std::string& bytes, const char* path = "prepared.trng") {
    WriteBytes(path, bytes);
    files.openAnswers.push_back(std::string(path));
    boxes.answers.push_back(Answer::kNo);
    controller->LoadSession();
    ASSERT_EQ(session->savedFilePath, path);
  }
  // The selection moves to the node, with both notifications of the control.
  void Select(int32_t id) {
    controller->OnTreeSelectionChanging();
    tree.selected = id;
    controller->OnTreeSelectionChanged();
  }
  std::vector<std::string> ErrorTexts() const {
    std::vector<std::string> texts;
    for (const auto& s : boxes.shown) {
      if (!s.question) texts.push_back(s.text);
    }
    return texts;
  }
  SessionHeader FileHeader() {
    SessionHeader header;
    std::memset(&header, 0, sizeof header);
    EXPECT_TRUE(ReadSessionHeader(header, boxes));
    return header;
  }
  // A runs database for the driver, archiving on.
  static std::string MakeRunsDatabase(const char* driver) {
    MakeDirectory(kRunsFolder);
    const std::string path = RunsDatabasePath(driver);
    WriteBytes(path.c_str(), "1\t0\t\r\n");
    return path;
  }

  testing::TempFolder folder;  // first: the program folder is current before anything is made
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  SoundSettings sounds;
  std::unique_ptr<SessionState> session;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> raceControl;
  testing::FakeSessionTree tree;
  testing::RecordingSessionWindow window;
  testing::ScriptedFileDialogs files;
  testing::ScriptedSessionDialogs dialogs;
  std::unique_ptr<SessionController> controller;
};

}  // namespace session_testing
}  // namespace zarvo
