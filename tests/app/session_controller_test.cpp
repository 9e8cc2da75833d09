// The session commands and the session tree, driven through their ports with a real working copy
// in a temporary program folder: the tree's nodes, the notifications, loading and leaving a run,
// the track and the run parameters.
#include "app/session_controller.h"

#include <gtest/gtest.h>

#include "tests/app/session_controller_fixture.h"

namespace zarvo {
namespace {

using namespace session_testing;

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
