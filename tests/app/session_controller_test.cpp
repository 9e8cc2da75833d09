// The session commands and the session tree, driven through their ports with a real working copy
// in a temporary program folder: the tree's nodes, the notifications, loading and leaving a run,
// and the File menu commands with their questions, file dialogs, titles and "Save" item.
#include "app/session_controller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/session_file.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

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
void GiveTwoLaps(Race& race, int slot = 1) {
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

// ---- The tree's nodes.

TEST_F(SessionControllerTest, StartUpShowsTheNodesOfANewSessionInANewWorkingCopy) {
  EXPECT_EQ(tree.Lines(),
            (std::vector<std::string>{
                "10000 SEANCE TRAINING [bold] [image 4]",
                "  11000 " TXT_TREE_TRACK " [image 0]",
                "  12000 " + std::string(ZT("Drivers (0)", "Pilotes (0)")) + " [image 1]",
                "  13000 " TXT_TREE_PARAMETERS " [image 2]",
                "  14000 " TXT_TREE_SESSIONS " [image 3]",
            }));
  EXPECT_TRUE(tree.expanded.count(kSessionNodeId));
  EXPECT_FALSE(tree.expanded.count(kRunsNodeId));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes("SEANCE TRAINING"));
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionControllerTest, LoadingASessionShowsItsDriversAndRunsWithNoRunLoaded) {
  Load(SessionBytes("CLUB DAY")
           .Drivers({{"ANNA", "004711", ""}, {"BRUNO", "000815", ""}, {"CLARA", "", ""}})
           .Runs(2)
           .Bytes(),
       "club.trng");
  EXPECT_EQ(tree.Lines(),
            (std::vector<std::string>{
                "10000 CLUB DAY [bold] [image 4]",
                "  11000 " TXT_TREE_TRACK " [image 0]",
                "  12000 " + std::string(ZT("Drivers (3)", "Pilotes (3)")) + " [image 1]",
                "    12001 ANNA [image 1]",
                "    12002 BRUNO [image 1]",
                "    12003 CLARA [image 1]",
                "  13000 " TXT_TREE_PARAMETERS " [image 2]",
                "  14000 " TXT_TREE_SESSIONS " [image 3]",
                "    14001 Run 1 [image 3]",
                "    14002 Run 2 [image 3]",
            }));
  EXPECT_TRUE(tree.expanded.count(kRunsNodeId));
  EXPECT_EQ(window.titles.back(), "Zarvo:   club.trng");
  EXPECT_TRUE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_EQ(session->loadedRun, 0);
  EXPECT_EQ(race->participantCount, 0);
  EXPECT_EQ(window.resets.back(), 0);
}

TEST_F(SessionControllerTest, AddedRunsAreNumberedFromOneAndStopAtTwenty) {
  for (int i = 0; i < 21; ++i) controller->AddRun();
  const std::vector<int32_t> runs = tree.ChildrenOf(kRunsNodeId);
  ASSERT_EQ(runs.size(), 20u);
  for (int n = 1; n <= 20; ++n) {
    EXPECT_EQ(runs[n - 1], kRunsNodeId + n);
    EXPECT_EQ(tree.LabelOf(kRunsNodeId + n), "Run " + std::to_string(n));
  }
  EXPECT_EQ(FileHeader().runCount, 20);
  EXPECT_TRUE(tree.expanded.count(kRunsNodeId));
}

TEST_F(SessionControllerTest, ParticipantsListReplacesTheDriversNodeRightAfterTheTrack) {
  controller->AddRun();
  dialogs.participants = [&] {
    WriteBytes(kWorkingCopyPath, SessionBytes("SEANCE TRAINING")
                                     .Drivers({{"ANNA", "", ""}, {"BRUNO", "", ""}})
                                     .Runs(1)
                                     .Bytes());
  };
  controller->ListOfParticipants();
  EXPECT_EQ(dialogs.participantsOpened, 1);
  EXPECT_EQ(tree.ChildrenOf(kSessionNodeId),
            (std::vector<int32_t>{kTrackNodeId, kDriversNodeId, kParametersNodeId, kRunsNodeId}));
  EXPECT_EQ(tree.LabelOf(kDriversNodeId), ZT("Drivers (2)", "Pilotes (2)"));
  EXPECT_EQ(tree.ChildrenOf(kDriversNodeId), (std::vector<int32_t>{12001, 12002}));
  EXPECT_TRUE(tree.expanded.count(kDriversNodeId));
  EXPECT_EQ(tree.ChildrenOf(kRunsNodeId), (std::vector<int32_t>{14001}));
}

TEST_F(SessionControllerTest, TheParticipantsDialogFindsTheSelectedNodeInTheWorkingCopy) {
  tree.selected = kDriversNodeId;
  controller->OnTreeRightClick();
  WriteSelectedNodeId(kSessionNodeId, boxes);  // something else wrote the file meanwhile
  int32_t seen = 0;
  dialogs.participants = [&] { seen = FileHeader().selectedNodeId; };
  controller->ListOfParticipants();
  EXPECT_EQ(seen, kDriversNodeId);
}

TEST_F(SessionControllerTest, DeletingTheSelectedNodeWhileRebuildingNotifiesNothing) {
  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1, true).Bytes());
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  int notifications = 0;
  tree.onSelectionLost = [&] {
    ++notifications;
    controller->OnTreeSelectionChanging();
    controller->OnTreeSelectionChanged();
  };
  tree.selected = 12001;
  dialogs.participants = [] {};
  controller->ListOfParticipants();  // deletes the selected driver node
  EXPECT_EQ(notifications, 1);
  EXPECT_EQ(dialogs.driverDetailsOpened, 0);
  EXPECT_EQ(race->slots[0].lapCount, 2);  // nothing was loaded or left meanwhile
}

// ---- Notifications.

TEST_F(SessionControllerTest, EveryNotificationWritesTheSelectedNodeIdIntoTheHeader) {
  tree.selected = kTrackNodeId;
  controller->OnTreeRightClick();
  EXPECT_EQ(FileHeader().selectedNodeId, kTrackNodeId);
  tree.selected = kParametersNodeId;
  controller->OnTreeSelectionChanged();
  EXPECT_EQ(FileHeader().selectedNodeId, kParametersNodeId);
  EXPECT_EQ(session->header.selectedNodeId, kParametersNodeId);
}

TEST_F(SessionControllerTest, RightClickShowsTheMenuOfTheSelectedNode) {
  const std::pair<int32_t, int> cases[] = {{kSessionNodeId, IDM_RENAME_SESSION},
                                           {kTrackNodeId, IDM_TRACK},
                                           {kDriversNodeId, IDM_PARTICIPANTS}};
  for (const auto& [node, menu] : cases) {
    tree.selected = node;
    controller->OnTreeRightClick();
    ASSERT_FALSE(window.popups.empty());
    EXPECT_EQ(window.popups.back(), menu) << node;
  }
}

TEST_F(SessionControllerTest, WithoutParticipantsNeitherParametersNorRunsOfferAMenu) {
  controller->AddRun();
  for (int32_t node : {kParametersNodeId, kRunsNodeId, kRunsNodeId + 1}) {
    tree.selected = node;
    controller->OnTreeRightClick();
  }
  EXPECT_TRUE(window.popups.empty());

  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  for (int32_t node : {kParametersNodeId, kRunsNodeId, kRunsNodeId + 1, 12001}) {
    tree.selected = node;
    controller->OnTreeRightClick();
  }
  // A run's menu adds "Export run…" to "Add a run".
  EXPECT_EQ(window.popups, (std::vector<int>{IDM_RUN_PARAMETERS, IDM_ADD_RUN, IDM_EXPORT_RUN}));
}

TEST_F(SessionControllerTest, RenamingKeepsTwentyEightCharactersInTheHeaderAndTheRoot) {
  tree.selected = kSessionNodeId;
  controller->OnCommand(IDM_RENAME_SESSION);
  EXPECT_EQ(tree.labelEdits, (std::vector<int32_t>{kSessionNodeId}));
  EXPECT_TRUE(controller->OnTreeBeginLabelEdit());
  EXPECT_EQ(tree.editLimit, 28);
  controller->OnTreeEndLabelEdit("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");  // 30 typed
  EXPECT_STREQ(FileHeader().sessionName, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01");
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01");
}

TEST_F(SessionControllerTest, OnlyTheSessionNameCanBeRenamedAndCancellingKeepsIt) {
  tree.selected = kTrackNodeId;
  EXPECT_FALSE(controller->OnTreeBeginLabelEdit());
  controller->OnTreeEndLabelEdit("NEW NAME");
  tree.selected = kSessionNodeId;
  controller->OnTreeEndLabelEdit(nullptr);
  controller->OnTreeEndLabelEdit("");
  EXPECT_STREQ(FileHeader().sessionName, "SEANCE TRAINING");
  EXPECT_EQ(tree.LabelOf(kTrackNodeId), TXT_TREE_TRACK);
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "SEANCE TRAINING");
}

// ---- Loading and leaving a run.

TEST_F(SessionControllerTest, LoadingAnEmptyRunPutsTheListInTheSlotsAndMakesItReady) {
  Load(SessionBytes("CLUB")
           .Drivers({{"ANNA", "004711", ""}, {"BRUNO", "000815", ""}})
           .Runs(2)
           .Bytes());
  Select(kRunsNodeId + 2);
  EXPECT_STREQ(race->slots[0].driverName, "ANNA");
  EXPECT_STREQ(race->slots[0].transponder, "004711");
  EXPECT_STREQ(race->rows[1].transponder, "000815");
  EXPECT_STREQ(race->slots[2].driverName, kNoDriver);
  EXPECT_EQ(race->slots[2].bestLap, kEmptySlotTime);
  EXPECT_EQ(race->participantCount, 2);
  EXPECT_TRUE(race->run.ready);
  EXPECT_FALSE(race->rows[0].finished);
  EXPECT_FALSE(session->changed);
  EXPECT_STREQ(session->runCaption, " CLUB - Run2 ");
  EXPECT_STREQ(session->runSectionTitle, "SessionRun2");
  EXPECT_EQ(window.resets.back(), 2);
  for (int id = IDC_MANUAL_LAP_FIRST; id <= IDC_MANUAL_LAP_LAST; ++id) {
    EXPECT_EQ(ui->controlEnabled.at(id), id <= IDC_MANUAL_LAP_FIRST + 1) << id;
  }
}

TEST_F(SessionControllerTest, LoadingARunWithLapsShowsItsResultsAndNeedsClear) {
  auto recorded = testing::MakeRace({{"ANNA", ""}, {"(NA)", ""}, {"DORA", ""}});
  GiveTwoLaps(*recorded, 3);
  Load(SessionBytes()
           .Drivers({{"ANNA", "004711", ""}, {"BRUNO", "000815", ""}, {"DORA", "000333", ""}})
           .Runs(1, true)
           .Run(1, *recorded)
           .Bytes());
  Select(kRunsNodeId + 1);
  // The run's own names stand over the list's: BRUNO did not drive it.
  EXPECT_STREQ(race->slots[1].driverName, kNoDriver);
  EXPECT_EQ(race->participantCount, 2);
  EXPECT_STREQ(race->rows[0].driverName, "DORA");  // ranked first with two laps
  EXPECT_STREQ(race->rows[0].transponder, "000333");
  EXPECT_STREQ(race->rows[0].lapsText, "2");
  EXPECT_FALSE(race->run.ready);
  EXPECT_TRUE(race->run.resultsPresent);
  EXPECT_TRUE(session->changed);
  // The lap buttons follow the standings: slots 1 and 3.
  EXPECT_TRUE(ui->controlEnabled.at(IDC_MANUAL_LAP_FIRST));
  EXPECT_FALSE(ui->controlEnabled.at(IDC_MANUAL_LAP_FIRST + 1));
  EXPECT_TRUE(ui->controlEnabled.at(IDC_MANUAL_LAP_FIRST + 2));
  // The run is over: both show their finish flags until "Clear" makes it ready again.
  EXPECT_TRUE(race->rows[0].finished);
  EXPECT_TRUE(race->rows[1].finished);
  raceControl->OnStart();
  EXPECT_FALSE(race->run.startArmed) << "Start waits for Clear";
  boxes.answers.push_back(Answer::kYes);
  raceControl->OnClear();
  EXPECT_TRUE(race->run.ready);
  EXPECT_FALSE(race->slots[0].finished);
  raceControl->OnStart();
  EXPECT_TRUE(race->run.startArmed);
}

TEST_F(SessionControllerTest, InTheMixedModeALoadedRunKeepsNoTransponder) {
  Load(SessionBytes().Drivers({{"ANNA", "004711", ""}}).Runs(1).Bytes());
  raceControl->OnMixedScan();
  Select(kRunsNodeId + 1);
  EXPECT_STREQ(race->slots[0].driverName, "ANNA");
  EXPECT_STREQ(race->slots[0].transponder, "");
}

TEST_F(SessionControllerTest, ARadioFrequencySharedByTwoDriversIsAConflict) {
  Load(SessionBytes()
           .Drivers({{"ANNA", "", "27.145"}, {"BRUNO", "", "2.4Ghz"}, {"CLARA", "", "27.145"}})
           .Runs(1)
           .Bytes());
  ui->repaints.clear();
  Select(kRunsNodeId + 1);
  EXPECT_TRUE(session->radioConflict);
  EXPECT_GE(ui->repaints[RaceArea::kEventLine], 1) << "the event line shows the conflict";
  // A load of a session without conflict takes the stale text away.
  ui->repaints.clear();
  Load(SessionBytes().Drivers({{"ANNA", "", "27.145"}}).Runs(1).Bytes());
  EXPECT_FALSE(session->radioConflict);
  EXPECT_GE(ui->repaints[RaceArea::kEventLine], 1);
}

TEST_F(SessionControllerTest, ALoadedRunTakesTheSessionParametersAndKeepsTheTrack) {
  SetText(circuits->records[0].name, "Ring");
  SetText(circuits->records[1].name, "Oval");
  RaceParameters params;
  SetDefaultRaceParameters(params);
  SetText(params.durationMode, kDurationLaps);
  params.lapTarget = 12;
  params.countdownSeconds = 7;
  Load(SessionBytes()
           .Drivers({{"ANNA", "", ""}})
           .Runs(1)
           .Track("Sunday", "Oval", 9)
           .Parameters(params)
           .Bytes());
  Select(kRunsNodeId + 1);
  EXPECT_EQ(race->params.lapTarget, 12);
  EXPECT_STREQ(race->run.durationText, ZT("12 laps", "12 tours"));
  EXPECT_STREQ(race->run.countdownText, "7s");
  EXPECT_EQ(race->params.circuitIndex, 1);
  EXPECT_EQ(race->params.minimumLapSeconds, 9);
  EXPECT_EQ(race->params.maximumLapCount, 999);
  EXPECT_EQ(race->params.lapRunLimitHours, 12);
}

// A damaged track of a loaded session: the run's filter still holds early crossings off.
TEST_F(SessionControllerTest, ALoadedTrackWithANegativeMinimumLapTimeFiltersAtTwoSeconds) {
  Load(SessionBytes().Drivers({{"ANNA", "000001", ""}}).Runs(1).Track("Sunday", "", -5).Bytes());
  Select(kRunsNodeId + 1);
  EXPECT_EQ(race->params.minimumLapSeconds, 2);
}

TEST_F(SessionControllerTest, LeavingARunWithLapsWritesItSetsRunsRecordedAndArchivesIt) {
  const std::string database = MakeRunsDatabase("ANNA");
  Load(SessionBytes("CLUB").Drivers({{"ANNA", "004711", ""}}).Runs(2).Bytes());
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  Select(kTrackNodeId);

  auto reread = testing::MakeRace({{"X", ""}});
  ASSERT_EQ(ReadRunSection(1, *reread, boxes), SectionRead::kRead);
  EXPECT_STREQ(reread->slots[0].driverName, "ANNA");
  EXPECT_EQ(reread->slots[0].lapCount, 2);
  EXPECT_EQ(reread->slots[0].passageTimes[2], 61250);
  EXPECT_TRUE(FileHeader().runsRecorded);

  RunsListing listing;
  ASSERT_EQ(ListRuns(database.c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u);
  EXPECT_EQ(listing.entries[1], race->run.runTitle);
  ArchivedRun stored;
  ASSERT_EQ(ReadRun(database.c_str(), race->run.runTitle, stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored.runCaption, " CLUB - Run1 ");
  // The run stays loaded while the track is selected.
  EXPECT_EQ(session->loadedRun, 1);
}

TEST_F(SessionControllerTest, LeavingARunWithoutDataWritesNothing) {
  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  const std::string before = ReadBytes(kWorkingCopyPath);
  tree.selected = kRunsNodeId + 1;
  Select(kParametersNodeId);
  SessionHeader header = FileHeader();
  EXPECT_FALSE(header.runsRecorded);
  std::string after = ReadBytes(kWorkingCopyPath);
  EXPECT_EQ(after.find("SessionRun1"), std::string::npos);
  EXPECT_EQ(after.substr(50), before.substr(50));  // only the selected node id changed
}

TEST_F(SessionControllerTest, ARunTimedByRaceControlIsInTheWorkingCopyAfterLeavingIt) {
  RaceParameters params;
  SetDefaultRaceParameters(params);
  SetText(params.durationMode, kDurationLaps);
  params.lapTarget = 2;
  params.countdownSeconds = 0;
  Load(SessionBytes().Drivers({{"ANNA", "004711", ""}}).Runs(1).Parameters(params).Bytes());
  Select(kRunsNodeId + 1);
  raceControl->OnStart();
  for (int i = 0; i < 3; ++i) {
    clock.Advance(10);
    raceControl->OnTick();
  }
  ASSERT_TRUE(race->run.raceRunning);
  for (int lap = 0; lap < 3 && race->run.raceRunning; ++lap) {
    clock.Advance(30000);
    decoder.QueueCounterPassage("004711", clock.PerformanceCounter());
    raceControl->OnTick();
  }
  ASSERT_FALSE(race->run.raceRunning);
  Select(kDriversNodeId);
  auto reread = testing::MakeRace({{"X", ""}});
  ASSERT_EQ(ReadRunSection(1, *reread, boxes), SectionRead::kRead);
  EXPECT_EQ(reread->slots[0].lapCount, 2);
  EXPECT_STREQ(reread->run.runTitle, race->run.runTitle);
}

TEST_F(SessionControllerTest, SelectingADriverOpensItsDetailsAndRereadsTheList) {
  Load(SessionBytes().Drivers({{"ANNA", "004711", ""}, {"BRUNO", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  int32_t entryNode = 0;
  dialogs.driverDetails = [&] {
    entryNode = FileHeader().selectedNodeId;
    ParticipantsList list;
    ReadParticipantsList(list, boxes);
    SetText(list.entries[1].transponder, "000999");
    SetText(list.entries[0].frequencies[0], "27.145");
    SetText(list.entries[1].frequencies[0], "27.145");
    UpdateParticipantsList(list);
  };
  Select(12002);
  EXPECT_EQ(entryNode, 12002);
  EXPECT_STREQ(race->slots[1].transponder, "000999");
  EXPECT_TRUE(session->radioConflict);
  EXPECT_EQ(session->loadedRun, 1);
}

TEST_F(SessionControllerTest, TheMainTickLeavesTheSerialInputAloneWhileTheDetailsAreOpen) {
  Load(SessionBytes().Drivers({{"ANNA", "004711", ""}}).Bytes());
  int discardsDuringDialog = -1;
  dialogs.driverDetails = [&] {
    const int before = decoder.discards;
    for (int i = 0; i < 5; ++i) {
      clock.Advance(10);
      raceControl->OnTick();
    }
    discardsDuringDialog = decoder.discards - before;
  };
  Select(12001);
  EXPECT_EQ(discardsDuringDialog, 0);
  const int before = decoder.discards;
  raceControl->OnTick();
  EXPECT_EQ(decoder.discards - before, 1);  // the idle discard is back once the dialog is closed
}

// ---- File menu.

TEST_F(SessionControllerTest, CancellingTheNewSessionQuestionChangesNothing) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  boxes.answers.push_back(Answer::kCancel);
  controller->NewSession();
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_TRUE(window.titles.empty());
}

TEST_F(SessionControllerTest, NewSessionWithoutSavingStartsAFreshSession) {
  Load(SessionBytes("OLD").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  boxes.answers.push_back(Answer::kNo);
  controller->NewSession();
  EXPECT_EQ(boxes.shown.back().caption, TXT_CAPTION_QUESTION);
  EXPECT_EQ(boxes.shown.back().text, TXT_NEW_SESSION_QUESTION);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes("SEANCE TRAINING"));
  EXPECT_EQ(window.titles.back(), "Zarvo");
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_EQ(session->savedFilePath, "");
  EXPECT_EQ(session->loadedRun, 0);
  EXPECT_EQ(race->participantCount, 0);
  EXPECT_FALSE(race->run.ready);
  EXPECT_FALSE(race->run.resultsPresent);
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "SEANCE TRAINING");
  EXPECT_FALSE(tree.Has(kRunsNodeId + 1));
  EXPECT_EQ(window.resets.back(), 0);
}

TEST_F(SessionControllerTest, ANewOrLoadedSessionTakesTheRunCaptionOffTheScreen) {
  const std::string bytes = SessionBytes("OLD").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes();
  Load(bytes);
  Select(kRunsNodeId + 1);
  ASSERT_STREQ(session->runCaption, " OLD - Run1 ");
  int titleRepaints = ui->repaints[RaceArea::kTitle];
  Load(bytes, "again.trng");
  EXPECT_STREQ(session->runCaption, "");
  EXPECT_GT(ui->repaints[RaceArea::kTitle], titleRepaints);
  Select(kRunsNodeId + 1);
  titleRepaints = ui->repaints[RaceArea::kTitle];
  boxes.answers.push_back(Answer::kNo);
  controller->NewSession();
  EXPECT_STREQ(session->runCaption, "");
  EXPECT_GT(ui->repaints[RaceArea::kTitle], titleRepaints);
}

TEST_F(SessionControllerTest, SavingBeforeANewSessionAsksForAFileWhenThereIsNone) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  boxes.answers.push_back(Answer::kYes);
  files.saveAnswers.push_back(std::string("kept"));
  controller->NewSession();
  ASSERT_EQ(files.asked.size(), 1u);
  EXPECT_TRUE(files.asked[0].save);
  EXPECT_EQ(files.asked[0].filterName, TXT_FILTER_TRAINING_NEW);
  EXPECT_EQ(files.asked[0].pattern, "*.trng");
  EXPECT_EQ(files.asked[0].initialName, InitialSaveName());
  EXPECT_EQ(files.asked[0].initialFolder, folder.path());
  EXPECT_EQ(ReadBytes("kept.trng"), before);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes("SEANCE TRAINING"));
}

// The save question was answered Yes: cancelling the file dialog cancels the command, so the
// session that was not saved is still there.
TEST_F(SessionControllerTest, CancellingTheSaveDialogAfterYesKeepsTheSessionOpen) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  const std::vector<std::string> treeBefore = tree.Lines();
  WriteBytes("other.trng", SessionBytes("OTHER").Bytes());
  WriteBytes("phone.trng2", "phone");

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::nullopt};
  controller->NewSession();

  boxes.answers = {Answer::kYes};
  files.openAnswers = {std::string("other.trng")};
  files.saveAnswers = {std::nullopt};
  controller->LoadSession();

  boxes.answers = {Answer::kYes};
  files.openAnswers = {std::string("phone.trng2")};
  files.saveAnswers = {std::string(InitialSaveName())};  // the initial name is no choice
  dialogs.import = [] { return true; };
  controller->ImportSmartphone();

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::nullopt};
  EXPECT_FALSE(controller->ConfirmClose());

  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_EQ(tree.Lines(), treeBefore);
  EXPECT_TRUE(window.titles.empty());
  EXPECT_EQ(dialogs.importOpened, 0);
  EXPECT_FALSE(FileExists(kSmartphoneCopyPath));
}

TEST_F(SessionControllerTest, LoadingAsksToSaveTheCurrentSessionIntoItsOwnFile) {
  Load(SessionBytes("FIRST").Runs(1).Bytes(), "first.trng");
  controller->AddRun();
  const std::string first = ReadBytes(kWorkingCopyPath);
  WriteBytes("second.trng", SessionBytes("SECOND").Bytes());
  files.openAnswers = {std::string("second.trng")};
  boxes.answers = {Answer::kYes};
  controller->LoadSession();
  EXPECT_EQ(boxes.shown.back().text, TXT_SAVE_SESSION_QUESTION);
  EXPECT_TRUE(files.asked.back().save == false);  // no save dialog: the session had a file
  EXPECT_EQ(ReadBytes("first.trng"), first);
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "SECOND");
  EXPECT_EQ(window.titles.back(), "Zarvo:   second.trng");
}

TEST_F(SessionControllerTest, AnUnreadableChosenFileLeavesTheSessionAsItWas) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  files.openAnswers = {std::string("missing.trng")};
  boxes.answers = {Answer::kNo};
  controller->LoadSession();
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{TXT_SESSION_NOT_OPENED}));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());
}

TEST_F(SessionControllerTest, SaveAsAppendsTheExtensionUnlessTheNameContainsIt) {
  files.saveAnswers = {std::string("practice")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(files.asked.back().filterName, TXT_FILTER_TRAINING_SAVE_AS);
  EXPECT_EQ(session->savedFilePath, "practice.trng");
  EXPECT_EQ(ReadBytes("practice.trng"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(window.titles.back(), "Zarvo:   practice.trng");
  EXPECT_TRUE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_TRUE(session->hasSavedFile);

  files.saveAnswers = {std::string("copy.trng.old")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(session->savedFilePath, "copy.trng.old");
  EXPECT_TRUE(FileExists("copy.trng.old"));
}

// The dialog asked about replacing the name typed ("club"), not the file written ("club.trng").
TEST_F(SessionControllerTest, SaveAsOverAnExistingFileTypedWithoutItsExtensionAsksFirst) {
  WriteBytes("club.trng", "an older session");
  files.saveAnswers = {std::string("club")};
  boxes.answers = {Answer::kNo};
  EXPECT_FALSE(controller->SaveAs());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].question);
  EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_QUESTION);
  char question[256];
  std::snprintf(question, sizeof question, TXT_REPLACE_FILE_QUESTION, "club.trng");
  EXPECT_EQ(boxes.shown[0].text, question);
  EXPECT_EQ(ReadBytes("club.trng"), "an older session");
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());

  files.saveAnswers = {std::string("club")};
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(ReadBytes("club.trng"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(session->savedFilePath, "club.trng");

  // A name the dialog asked about as it is (the extension in any case): no second question.
  WriteBytes("CLUB2.TRNG", "older");
  files.saveAnswers = {std::string("CLUB2.TRNG")};
  EXPECT_TRUE(controller->SaveAs());
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(session->savedFilePath, "CLUB2.TRNG");
  EXPECT_EQ(ReadBytes("CLUB2.TRNG"), ReadBytes(kWorkingCopyPath));
  EXPECT_EQ(ReadBytes("CLUB2.TRNG.trng"), "<missing>");
}

TEST_F(SessionControllerTest, SaveWithoutAFileDoesNothingAndWithOneWritesTheRunFirst) {
  EXPECT_FALSE(controller->Save());
  EXPECT_TRUE(files.asked.empty());

  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes(), "mine.trng");
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  EXPECT_TRUE(controller->OnCommand(IDM_SAVE) && FileExists("mine.trng"));
  const std::string saved = ReadBytes("mine.trng");
  EXPECT_EQ(saved, ReadBytes(kWorkingCopyPath));
  EXPECT_NE(saved.find("SessionRun1\t"), std::string::npos);
}

TEST_F(SessionControllerTest, AFailedCopyIsReportedAndTheSessionKeepsNoFile) {
  files.saveAnswers = {std::string("no such folder/practice")};
  EXPECT_FALSE(controller->SaveAs());
  EXPECT_EQ(ErrorTexts(), (std::vector<std::string>{TXT_SESSION_NOT_SAVED}));
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_TRUE(window.titles.empty());

  boxes.answers = {Answer::kYes};
  files.saveAnswers = {std::string("no such folder/practice")};
  EXPECT_FALSE(controller->ConfirmClose());
}

TEST_F(SessionControllerTest, ClosingArchivesTheRunAsksToSaveAndCancelKeepsTheWindowOpen) {
  const std::string database = MakeRunsDatabase("ANNA");
  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  GiveTwoLaps(*race);
  boxes.answers = {Answer::kCancel};
  EXPECT_FALSE(controller->ConfirmClose());
  EXPECT_EQ(boxes.shown.back().text, TXT_QUIT_SAVE_QUESTION);
  boxes.answers = {Answer::kNo};
  EXPECT_TRUE(controller->ConfirmClose());
  RunsListing listing;
  ASSERT_EQ(ListRuns(database.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 2u);  // archived once, however often it was asked
  boxes.answers = {Answer::kYes};
  EXPECT_TRUE(controller->ConfirmClose());  // saved into the session's own file
  EXPECT_NE(ReadBytes("prepared.trng").find("SessionRun1\t"), std::string::npos);
}

TEST_F(SessionControllerTest, ImportingCopiesThePhoneFileAndReadsTheSessionTheDialogBuilt) {
  WriteBytes("phone.trng2", "phone bytes");
  files.openAnswers = {std::string("phone.trng2")};
  boxes.answers = {Answer::kNo};
  dialogs.import = [&] {
    EXPECT_EQ(ReadBytes(kSmartphoneCopyPath), "phone bytes");
    WriteBytes(kWorkingCopyPath, SessionBytes("PHONE").Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
    return true;
  };
  controller->ImportSmartphone();
  EXPECT_EQ(files.asked.back().filterName, TXT_FILTER_SMARTPHONE);
  EXPECT_EQ(files.asked.back().pattern, "*.trng2");
  EXPECT_EQ(window.titles.back(), "Zarvo:   phone.trng2");
  EXPECT_FALSE(session->hasSavedFile);
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "PHONE");
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_EQ(race->params.circuitIndex, kNoCircuit);
}

TEST_F(SessionControllerTest, WithoutAnImportDialogImportChangesNothing) {
  controller->AddRun();
  WriteBytes("phone.trng2", "phone bytes");
  files.openAnswers = {std::string("phone.trng2")};
  boxes.answers = {Answer::kNo};
  controller->ImportSmartphone();
  EXPECT_EQ(dialogs.importOpened, 1);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_TRUE(window.titles.empty());
}

// ---- Track and parameters.

TEST_F(SessionControllerTest, AfterTheTrackDialogTheCircuitIsFoundByName) {
  SetText(circuits->records[0].name, "Ring");
  SetText(circuits->records[1].name, "Oval");
  dialogs.track = [&] {
    SessionTrack track = DefaultSessionTrack();
    SetText(track.circuitName, "Oval");
    track.minimumLapSeconds = 6;
    WriteSessionTrack(track, boxes);
  };
  controller->OnCommand(IDM_TRACK);
  EXPECT_EQ(session->circuitIndex, 1);
  EXPECT_EQ(race->params.circuitIndex, 1);
  EXPECT_EQ(race->params.minimumLapSeconds, 6);

  dialogs.track = [&] {
    SessionTrack track = DefaultSessionTrack();
    SetText(track.circuitName, "Gone");
    WriteSessionTrack(track, boxes);
  };
  controller->OnCommand(IDM_TRACK);
  EXPECT_EQ(race->params.circuitIndex, kNoCircuit);
}

TEST_F(SessionControllerTest, AfterTheParametersDialogTheClockShowsTheNewDuration) {
  dialogs.parameters = [&] {
    RaceParameters params;
    SetDefaultRaceParameters(params);
    params.durationMinutes = 95;
    params.countdownSeconds = 12;
    WriteRaceParameters(params, boxes);
  };
  controller->OnCommand(IDM_RUN_PARAMETERS);
  EXPECT_EQ(race->params.durationHours, 1);
  EXPECT_EQ(race->params.durationMinutesPart, 35);
  EXPECT_STREQ(race->run.durationText, "1:35:00");
  EXPECT_STREQ(race->run.remainingText, "0:00:00");
  EXPECT_STREQ(race->run.countdownText, "12s");
  EXPECT_GE(ui->repaints[RaceArea::kClock], 1);
}

TEST_F(SessionControllerTest, AListChangeUnloadsTheRunOnlyUntilARunIsRecorded) {
  dialogs.participants = [] {};
  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1).Bytes());
  Select(kRunsNodeId + 1);
  controller->ListOfParticipants();
  EXPECT_EQ(session->loadedRun, 0);
  EXPECT_EQ(race->participantCount, 0);
  EXPECT_FALSE(race->run.ready);

  Load(SessionBytes().Drivers({{"ANNA", "", ""}}).Runs(1, true).Bytes());
  Select(kRunsNodeId + 1);
  controller->ListOfParticipants();
  EXPECT_EQ(session->loadedRun, 1);
  EXPECT_EQ(race->participantCount, 1);
}

}  // namespace
}  // namespace zarvo
