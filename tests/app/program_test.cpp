// The program's life with fakes for the window, the port, the boxes and the session's ports:
// start-up in its order with its messages, the panel it leaves, the decoder report and the
// warning, closing refused during a run, the end that writes the display settings, and the
// commands it routes.
#include "app/program.h"

#include <gtest/gtest.h>

#include "tests/app/program_fixture.h"

namespace zarvo {
namespace {

using namespace program_testing;

TEST_F(ProgramTest, StartUpMakesTheProgramFolderCurrentAndKeepsTheCrashCopy) {
  Install();
  WriteBytes("Zarvo Training/Private/Session.trng", "the previous working copy\r\n");
  StartUp();
  EXPECT_EQ(program->state().programFolder, folder.path() + "/Zarvo Training");
  EXPECT_EQ(CurrentFolder(), folder.path() + "/Zarvo Training");
  EXPECT_EQ(ReadBytes("VaZivivIvar.trng"), "the previous working copy\r\n");
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
  EXPECT_TRUE(Boxes().empty()) << Boxes()[0];
}

TEST_F(ProgramTest, StartUpStepsComeInTheirOrder) {
  Install();
  StartUp();
  const std::vector<std::string> expected = {"shell cursors", "shell tree",       "tree nodes",
                                             "shell panel",   "shell scroll bar", "shell font",
                                             "shell fit rows"};
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(shell.workingCopyAtCursors);
  EXPECT_TRUE(shell.workingCopyAtTree) << "the new working copy comes before the tree";
  EXPECT_EQ(tree.Lines().size(), 5u) << "the session and its four nodes";
  EXPECT_TRUE(tree.expanded.count(kSessionNodeId));
}

TEST_F(ProgramTest, AWorkingCopyThatCannotBeCreatedIsReportedFirstAndStartUpGoesOn) {
  Install();
  RemoveFile(kDisplayPath);
  std::filesystem::remove("Zarvo Training/Private");
  WriteBytes("Zarvo Training/Private", "a file where the folder should be");
  StartUp();
  const std::vector<std::string> expected = {
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_SESSION_FILE_NOT_FOUND,
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_DISPLAY_SETTINGS_NOT_FOUND,
  };
  EXPECT_EQ(Boxes(), expected);
  EXPECT_EQ(tree.Lines().size(), 5u);
}

TEST_F(ProgramTest, MissingFilesAreReportedOneAfterTheOtherAndStartUpGoesOn) {
  StartUp();  // no circuits, sound or display settings file
  const std::vector<std::string> expected = {
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_CIRCUITS_FILE_NOT_FOUND,
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_SOUND_SETTINGS_NOT_FOUND,
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_DISPLAY_SETTINGS_NOT_FOUND,
  };
  EXPECT_EQ(Boxes(), expected);
  EXPECT_LT(IndexOf(expected[2]), IndexOf("shell tree"));
  EXPECT_LT(IndexOf("shell tree"), IndexOf("shell font")) << "the panel is built all the same";
  EXPECT_STREQ(program->state().sounds.language, "") << "every sound off";
}

TEST_F(ProgramTest, StartUpLeavesThePanelInPersonalChipsModeWithItsTexts) {
  Install();
  StartUp();
  const ProgramState& s = program->state();
  EXPECT_EQ(ui.controlText[IDC_SCAN_STATUS], TXT_SCAN_OFF);
  EXPECT_TRUE(ui.controlChecked[IDC_PERSONAL_CHIPS]);
  EXPECT_FALSE(ui.controlVisible[IDC_SCAN]);
  EXPECT_FALSE(ui.controlVisible[IDC_SCAN_STATUS]);
  EXPECT_FALSE(program->raceControl().MixedMode());
  EXPECT_FALSE(ui.menuEnabled.at(IDM_SAVE));
  EXPECT_FALSE(s.session.hasSavedFile);
  EXPECT_EQ(s.race.params.circuitIndex, kNoCircuit);
  EXPECT_EQ(s.race.params.minimumLapSeconds, 2);
  EXPECT_STREQ(s.race.run.durationText, "0:01:00");
  EXPECT_STREQ(s.race.run.countdownText, "5s");
  EXPECT_FALSE(s.race.run.ready) << "Start waits for a run";
  EXPECT_STREQ(s.sounds.countdown, kSoundCountdownOff);
  EXPECT_GE(ui.repaints[RaceArea::kTable], 1);
  EXPECT_GE(ui.repaints[RaceArea::kClock], 1);
  EXPECT_GE(ui.repaints[RaceArea::kCountdown], 1);
}

TEST_F(ProgramTest, DisplaySettingsGiveTheLiveWidthsTheTreeColourAndTheRows) {
  Install();
  StartUp();
  const ProgramState& s = program->state();
  const int32_t widths[kColumnCount] = {70, 290, 80, 165, 140, 140, 140, 140, 110};
  EXPECT_TRUE(std::equal(std::begin(widths), std::end(widths), s.liveColumnWidths));
  EXPECT_EQ(shell.treeColour, 16777215u);
  EXPECT_STREQ(s.display.fonts[0].faceName, "Arial");
  EXPECT_EQ(s.view.rowHeight, 38);
  EXPECT_EQ(s.view.visibleRows, 0) << "a new session has no participant";
  EXPECT_FALSE(shell.scrollShown);
  EXPECT_EQ(shell.scrollPosition, 0);
}

TEST_F(ProgramTest, ADamagedDisplayFileIsReportedAndNeverOverwritten) {
  Install();
  WriteBytes(kDisplayPath, "1\t\r\nArial\t\r\n");
  StartUp();
  EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                              TXT_DISPLAY_SETTINGS_DAMAGED});
  program->OnDestroy();
  EXPECT_EQ(ReadBytes("Private/RéglagesAffichage.rgsc"), "1\t\r\nArial\t\r\n");
}

TEST_F(ProgramTest, AMissingDisplayFileIsNotReplacedByBlankSettingsAtTheEnd) {
  Install();
  RemoveFile(kDisplayPath);
  StartUp();
  program->OnDestroy();
  EXPECT_FALSE(FileExists("Private/RéglagesAffichage.rgsc"));
}

TEST_F(ProgramTest, TheEndWritesTheDisplaySettingsWithADraggedWidthThenStopsInOrder) {
  Install();
  StartUp();
  ProgramState& s = program->state();
  ColumnResizer resizer;
  const TableMetrics m = program->Metrics();
  ASSERT_TRUE(resizer.Press(m, ColumnBorderX(m, 1), 130));
  ASSERT_TRUE(resizer.Release(m, ColumnBorderX(m, 1) - 40, 130, s.liveColumnWidths, s.display));
  port.Open("COM1");
  log.clear();
  program->OnDestroy();
  const std::string file = ReadBytes("Private/RéglagesAffichage.rgsc");
  EXPECT_NE(file.find("\r\n70\t250\t80\t165\t140\t140\t140\t140\t110\t\r\n"), std::string::npos)
      << file;
  EXPECT_EQ(log, (std::vector<std::string>{"shell timer off", "shell release", "shell quit"}));
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(ProgramTest, AWiredOrixIsReportedThenTheTimerStartsThenTheWarningShows) {
  Install();
  port.onWrite = [this](const Bytes& bytes) {
    if (bytes == B({0xFF, 0xFF, 0xFF, 0x01, 0x02})) {
      port.Queue(B({0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x10, 0x92}));
    }
  };
  StartUp();
  log.clear();
  SetCurrentFolder("/");
  program->AfterWindowShown();
  EXPECT_EQ(CurrentFolder(), program->state().programFolder);
  char report[200];
  std::snprintf(report, sizeof report, TXT_DECODER_ORIX_CONNECTED, 4242);
  const std::vector<std::string> expected = {
      std::string("box ") + TXT_CAPTION_MESSAGE + "|" + report, "shell timer on",
      std::string("box ") + TXT_STARTUP_WARNING_TITLE + "|" + TXT_STARTUP_WARNING};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(boxes.icons.back(), MessageIcon::kWarning);
  EXPECT_EQ(ReadBytes("RéglagesInterface2.rg"), "COM1\t1\tZarvoOrix\r\n");
  EXPECT_EQ(port.opened, std::vector<std::string>{"COM1"});
}

TEST_F(ProgramTest, APortThatDoesNotOpenIsReportedAndTheWarningStillShows) {
  Install();
  WriteBytes("Zarvo Training/RéglagesInterface2.rg", "COM7\t1\tZarvoOrix\r\n");
  port.openSucceeds = false;
  StartUp();
  log.clear();
  program->AfterWindowShown();
  const std::vector<std::string> expected = {
      std::string("box ") + TXT_CAPTION_MESSAGE + "|" + TXT_DECODER_PORT_NOT_OPENED,
      "shell timer on",
      std::string("box ") + TXT_STARTUP_WARNING_TITLE + "|" + TXT_STARTUP_WARNING};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(ReadBytes("RéglagesInterface2.rg"), "COM7\t0\tZarvo\r\n");
}

// A run armed with "Start": ready as after "Clear" or the selection of an empty run.
void ArmRun(Program& program) {
  program.state().race.run.ready = true;
  program.state().race.params.countdownSeconds = 3;
  ASSERT_TRUE(program.OnRaceCommand(IDC_START, false));
  ASSERT_TRUE(program.state().race.run.startArmed);
}

TEST_F(ProgramTest, ClosingIsRefusedWhileARunIsArmedOrTimed) {
  Install();
  StartUp();
  ArmRun(*program);
  log.clear();
  EXPECT_FALSE(program->OnCloseRequest());
  EXPECT_EQ(log, std::vector<std::string>{std::string("box ") + TXT_CAPTION_REFUSAL + "|" +
                                          TXT_QUIT_REFUSED});
  EXPECT_EQ(boxes.icons.back(), MessageIcon::kStop);
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  log.clear();
  EXPECT_TRUE(program->OnCloseRequest());
  EXPECT_EQ(log, std::vector<std::string>{std::string("ask ") + TXT_CAPTION_QUESTION + "|" +
                                          TXT_QUIT_SAVE_QUESTION});
}

// Every circuit would be lost if the table that could not be read were written at the run end.
TEST_F(ProgramTest, ACircuitsFileThatCouldNotBeReadIsNeverRewritten) {
  Install();
  const std::string tooLarge(size_t(17) << 20, 'x');  // beyond what a database read takes
  WriteBytes("Zarvo Training/BaseDonnéesCircuits.bd", tooLarge);
  StartUp();
  ArmRun(*program);
  for (int i = 0; i < 400 && !program->state().race.run.raceRunning; ++i) {
    clock.Advance(10);
    program->OnTick();
  }
  ASSERT_TRUE(program->state().race.run.raceRunning);
  log.clear();
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  EXPECT_EQ(ReadBytes("BaseDonnéesCircuits.bd").size(), tooLarge.size());
  EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                              TXT_CIRCUITS_FILE_NOT_FOUND});
  // Once the file reads again (after the circuits editor), the records are written back.
  programDialogs.circuits = [this] {
    WriteBytes("BaseDonnéesCircuits.bd", "Anneau\t100\t\t0\t\t2\t\t\t\r\n");
    return true;
  };
  program->OnMenuCommand(IDM_CIRCUITS);
  program->state().circuits.records[0].recordLap = 4321;
  // The next run (every participant still finished from the last one) ends on its first tick.
  ArmRun(*program);
  for (int i = 0; i < 400 && program->state().race.run.startArmed; ++i) {
    clock.Advance(10);
    program->OnTick();
  }
  EXPECT_FALSE(program->state().race.run.raceRunning);
  EXPECT_EQ(ReadBytes("BaseDonnéesCircuits.bd"), "Anneau\t100\t\t4321\t\t2\t\t\t\r\n");
}

// A circuits file that is merely missing is no reason to keep the records: the run that ends by
// itself on the tick creates the file, and no box stops the tick.
TEST_F(ProgramTest, AMissingCircuitsFileIsCreatedAtTheEndOfARunWithoutABox) {
  Install();
  RemoveFile("Zarvo Training/BaseDonnéesCircuits.bd");
  StartUp();
  ASSERT_FALSE(FileExists("BaseDonnéesCircuits.bd"));
  ArmRun(*program);
  for (int i = 0; i < 400 && !program->state().race.run.raceRunning; ++i) {
    clock.Advance(10);
    program->OnTick();
  }
  ASSERT_TRUE(program->state().race.run.raceRunning);
  log.clear();
  for (ParticipantRecord& p : program->state().race.slots) p.finished = true;
  clock.Advance(10);
  program->OnTick();  // every participant has finished: the tick ends the run
  EXPECT_FALSE(program->state().race.run.raceRunning);
  EXPECT_TRUE(Boxes().empty()) << "no \"file not found\" inside the tick";
  EXPECT_TRUE(FileExists("BaseDonnéesCircuits.bd")) << "created as before";
}

// Windows ending the session during a run: the run stops and is written, nothing is asked.
TEST_F(ProgramTest, TheSessionEndStopsTheRunWritesItAndAsksNothing) {
  Install();
  StartUp();
  ProgramState& s = program->state();
  program->session().OnTreeSelectionChanging();
  tree.selected = kRunsNodeId + 1;  // "Run1" of the new session
  program->session().OnTreeSelectionChanged();
  ASSERT_EQ(s.session.loadedRun, 1);
  SetText(s.race.slots[0].driverName, "ANNA");  // one participant, so the run goes on
  s.race.slots[0].finished = false;
  ArmRun(*program);
  for (int i = 0; i < 400 && !s.race.run.raceRunning; ++i) {
    clock.Advance(10);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  clock.Advance(5000);
  program->OnRaceCommand(IDC_MANUAL_LAP_FIRST, false);
  program->OnRaceCommand(IDC_MANUAL_LAP_FIRST, false);
  ASSERT_GE(s.race.slots[0].lapCount, 1);
  s.display.columnWidths[1] = 250;
  port.Open("COM1");
  log.clear();
  program->OnSessionEnd();
  EXPECT_FALSE(s.race.run.raceRunning);
  EXPECT_FALSE(s.race.run.startArmed);
  for (const std::string& entry : log) EXPECT_NE(entry.rfind("ask ", 0), 0u) << entry;
  EXPECT_EQ(log.front(), "shell timer off");
  const std::string copy = ReadBytes("Private/Session.trng");
  char title[kSectionTitleCapacity];
  FormatRunSectionTitle(s.session.loadedRun, title, sizeof title);
  const std::string section = std::string(title) + "\t";
  ASSERT_NE(copy.find(section), std::string::npos) << "the run is in the working copy";
  EXPECT_NE(copy.find(s.race.run.runTitle), std::string::npos);
  EXPECT_NE(ReadBytes("Private/RéglagesAffichage.rgsc").find("\r\n70\t250\t"), std::string::npos);
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(ProgramTest, ClosingIsRefusedDuringAScan) {
  Install();
  StartUp();
  program->state().race.run.ready = true;
  ASSERT_TRUE(program->OnRaceCommand(IDC_MIXED_SCAN, false));
  ASSERT_TRUE(program->OnRaceCommand(IDC_SCAN, true));
  ASSERT_TRUE(program->state().race.run.scanActive);
  EXPECT_FALSE(program->OnCloseRequest());
  ASSERT_TRUE(program->OnRaceCommand(IDC_SCAN, false));  // released: the scan is cancelled
  boxes.answers = {Answer::kCancel};
  EXPECT_FALSE(program->OnCloseRequest()) << "the session's question decides (Cancel)";
}

TEST_F(ProgramTest, RaceCommandsReachRaceControl) {
  Install();
  StartUp();
  ArmRun(*program);
  EXPECT_FALSE(ui.controlEnabled.at(IDC_START));
  EXPECT_FALSE(ui.menuEnabled.at(IDM_QUIT));
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  EXPECT_TRUE(ui.controlEnabled.at(IDC_START));
  EXPECT_TRUE(ui.menuEnabled.at(IDM_QUIT));
  EXPECT_FALSE(ui.menuEnabled.at(IDM_SAVE)) << "the session has no file";
  ASSERT_TRUE(program->OnRaceCommand(IDC_MIXED_SCAN, false));
  EXPECT_TRUE(ui.controlVisible.at(IDC_SCAN));
  ASSERT_TRUE(program->OnRaceCommand(IDC_PERSONAL_CHIPS, false));
  EXPECT_FALSE(ui.controlVisible.at(IDC_SCAN));
  EXPECT_TRUE(program->OnRaceCommand(IDC_MANUAL_LAP_LAST, false));
  EXPECT_FALSE(program->OnRaceCommand(IDC_MANUAL_LAP_LAST + 1, false));
  EXPECT_FALSE(program->OnRaceCommand(IDM_SAVE, false));
}

TEST_F(ProgramTest, SessionCommandsGoToTheSessionAndQuitIsNotAMenuAction) {
  Install();
  StartUp();
  tree.selected = kSessionNodeId;
  boxes.answers = {Answer::kNo};  // New session: not saved; every file dialog is cancelled
  for (int id :
       {IDM_RENAME_SESSION, IDM_NEW_SESSION, IDM_LOAD_SESSION, IDM_SAVE, IDM_SAVE_AS,
        IDM_IMPORT_SMARTPHONE, IDM_TRACK, IDM_PARTICIPANTS, IDM_RUN_PARAMETERS, IDM_ADD_RUN}) {
    EXPECT_TRUE(program->OnMenuCommand(id)) << id;
  }
  EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("ask ") + TXT_CAPTION_QUESTION + "|" +
                                              TXT_NEW_SESSION_QUESTION});
  ASSERT_EQ(files.asked.size(), 3u) << "Load session, Save as... and Import smartphone";
  EXPECT_FALSE(files.asked[0].save);
  EXPECT_TRUE(files.asked[1].save);
  EXPECT_EQ(files.asked[1].initialFolder, program->state().programFolder);
  EXPECT_FALSE(files.asked[2].save);
  EXPECT_EQ(tree.labelEdits, std::vector<int32_t>{kSessionNodeId});
  EXPECT_EQ(dialogs.trackOpened, 1);
  EXPECT_EQ(dialogs.participantsOpened, 1);
  EXPECT_EQ(dialogs.parametersOpened, 1);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1)) << "a run was added";
  EXPECT_FALSE(program->OnMenuCommand(IDM_QUIT));
  EXPECT_FALSE(program->OnMenuCommand(IDC_START));
}

TEST_F(ProgramTest, EachMenuDialogOpensOnceAndWhatItWroteIsReadBack) {
  Install();
  StartUp();
  program->state().session.track.circuitName[0] = '\0';
  std::snprintf(program->state().session.track.circuitName, kCircuitNameCapacity, "Mornac");
  programDialogs.circuits = [this] {
    WriteBytes("BaseDonnéesCircuits.bd",
               "Anneau\t100\t\t0\t\t2\t\t\t\r\nMornac\t250\t\t0\t\t5\t\t\t\r\n");
    return true;
  };
  programDialogs.sound = [this] {
    WriteBytes("RéglagesSons.rg",
               "SONLANGUEFrancais\r\nSONDECOMPTEoui\r\nSONDEPARToui\r\nSONPASSAGEnon\r\n"
               "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n");
    return true;
  };
  log.clear();
  for (int id : {IDM_CIRCUITS, IDM_DRIVERS, IDM_CARS, IDM_FREQUENCIES, IDM_RUNS_SYNTHESIS,
                 IDM_SOUND, IDM_INTERFACE}) {
    EXPECT_TRUE(program->OnMenuCommand(id)) << id;
  }
  EXPECT_EQ(programDialogs.circuitsOpened, 1);
  EXPECT_EQ(programDialogs.driversOpened, 1);
  EXPECT_EQ(programDialogs.carsOpened, 1);
  EXPECT_EQ(programDialogs.frequenciesOpened, 1);
  EXPECT_EQ(programDialogs.runsOpened, 1);
  EXPECT_EQ(programDialogs.soundOpened, 1);
  EXPECT_EQ(programDialogs.interfaceOpened, 1);
  EXPECT_TRUE(Boxes().empty());
  const ProgramState& s = program->state();
  EXPECT_STREQ(s.circuits.records[1].name, "Mornac");
  EXPECT_EQ(s.session.circuitIndex, 1) << "the session's circuit is found again by name";
  EXPECT_STREQ(s.sounds.language, "SONLANGUEFrancais");
  EXPECT_STREQ(s.sounds.passage, "SONPASSAGEnon");
}

TEST_F(ProgramTest, TheLiveResultsDialogDrivesTheServerTheTickPublishesAndTheEndStopsIt) {
  Install();
  StartUp();
  // A port nothing listens on now.
  int port = 0;
  {
    SnapshotPublisher publisher;
    LiveSite site(publisher);
    LiveServer probe(site);
    port = probe.Start(0, "0.0.0.0").port;
  }
  ASSERT_GT(port, 0);
  programDialogs.live = [this, port] {
    return programDialogs.liveControl->Apply(LiveSettings{true, port}).status ==
           LiveStatus::kRunning;
  };
  EXPECT_TRUE(program->OnMenuCommand(IDM_LIVE_RESULTS));
  EXPECT_EQ(programDialogs.liveOpened, 1);
  EXPECT_EQ(programDialogs.liveControl, &program->live());
  EXPECT_EQ(program->live().State().status, LiveStatus::kRunning);
  EXPECT_EQ(program->live().feed().publisher().Current(), nullptr) << "published by the tick";
  program->OnTick();
  const auto published = program->live().feed().publisher().Current();
  ASSERT_NE(published, nullptr);
  EXPECT_EQ(published->sessionName, kDefaultSessionName);
  program->OnTick();
  EXPECT_EQ(program->live().feed().publisher().Current(), published) << "nothing changed";
  program->OnDestroy();
  EXPECT_EQ(program->live().State().status, LiveStatus::kStopped);
  EXPECT_EQ(ProbeListenPort("0.0.0.0", port).result, LiveServerResult::kStarted);
}

TEST_F(ProgramTest, NoKeepAliveReachesThePortWhileTheInterfaceDialogIsOpen) {
  Install();
  const Bytes keepAlive = B({0xFF, 0xFF, 0xFF, 0xE0, 0x03});
  port.onWrite = [this](const Bytes& bytes) {
    if (bytes == B({0xFF, 0xFF, 0xFF, 0x01, 0x02})) {
      port.Queue(B({0xFF, 0xFF, 0xFF, 0x01, 0x02, 0x10, 0x92}));
    }
  };
  StartUp();
  program->AfterWindowShown();
  auto keepAlives = [&] { return std::count(port.writes.begin(), port.writes.end(), keepAlive); };
  auto tickFor = [&](int ms) {
    for (int t = 0; t < ms; t += 10) {
      clock.Advance(10);
      program->OnTick();
    }
  };
  tickFor(1000);
  ASSERT_GE(keepAlives(), 2);  // the wired decoder is kept alive
  long duringDialog = -1;
  programDialogs.interface = [&] {
    const long before = keepAlives();
    tickFor(2000);  // the main timer keeps ticking under the modal dialog
    duringDialog = keepAlives() - before;
    return true;
  };
  program->OnMenuCommand(IDM_INTERFACE);
  EXPECT_EQ(duringDialog, 0);
  const long after = keepAlives();
  tickFor(1000);
  EXPECT_GE(keepAlives() - after, 2) << "the keep-alive starts again from the file";
}

TEST_F(ProgramTest, ASoundFileGoneAfterTheDialogIsReported) {
  Install();
  StartUp();
  programDialogs.sound = [this] {
    RemoveFile("RéglagesSons.rg");
    return false;
  };
  log.clear();
  program->OnMenuCommand(IDM_SOUND);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0], std::string("box ") + TXT_CAPTION_ERROR + "|" +
                            TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG);
}

TEST_F(ProgramTest, DisplayCommandWritesTheSettingsInUseAndReadsThemBack) {
  Install();
  StartUp();
  ProgramState& s = program->state();
  s.display.columnWidths[8] = 0;  // as a drag or the dialog would
  s.liveColumnWidths[8] = 0;
  s.view.firstVisibleRow = 3;
  const int repaints = shell.windowRepaints;
  ASSERT_TRUE(program->OnMenuCommand(IDM_DISPLAY));
  EXPECT_NE(ReadBytes("Private/RéglagesAffichage.rgsc").find("\t140\t0\t\r\n"), std::string::npos);
  EXPECT_EQ(s.liveColumnWidths[8], 0);
  EXPECT_EQ(s.view.firstVisibleRow, 0);
  EXPECT_EQ(shell.windowRepaints, repaints + 1);
  EXPECT_EQ(shell.treeColour, 16777215u);
  EXPECT_TRUE(Boxes().empty());
}

// The display options have reported a file they could not read when they opened: the program
// reads it again afterwards without a second box for the same file.
TEST_F(ProgramTest, AMissingDisplayFileGivesOneBoxAroundTheDisplayOptions) {
  Install();
  RemoveFile(kDisplayPath);
  StartUp();
  const size_t atStartUp = Boxes().size();
  int dialogBoxes = 0;
  programDialogs.display = [&] {
    boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_SETTINGS_NOT_FOUND, MessageIcon::kError);
    ++dialogBoxes;
    return false;  // "Cancel"
  };
  ASSERT_TRUE(program->OnMenuCommand(IDM_DISPLAY));
  EXPECT_EQ(dialogBoxes, 1);
  EXPECT_EQ(Boxes().size(), atStartUp + 1) << "the dialog's box only";
}

TEST_F(ProgramTest, AReloadThatFailsKeepsTheSettingsInUse) {
  Install();
  StartUp();
  RemoveFile("Private/RéglagesAffichage.rgsc");
  WriteBytes("Private/RéglagesAffichage.rgsc", "damaged\r\n");
  program->ReloadDisplaySettings();
  const ProgramState& s = program->state();
  EXPECT_STREQ(s.display.fonts[3].faceName, "Arial") << "face names are kept";
  EXPECT_EQ(s.liveColumnWidths[1], 290);
  program->OnDestroy();
  EXPECT_EQ(ReadBytes("Private/RéglagesAffichage.rgsc"), "damaged\r\n");
}

TEST_F(ProgramTest, TheScrollBarMovesTheFirstVisibleRowWithinItsRange) {
  Install();
  StartUp();
  shell.rowsThatFit = 12;
  program->ResetResultsView(20);
  EXPECT_TRUE(shell.scrollShown);
  EXPECT_EQ(shell.scrollRange, 8);
  EXPECT_TRUE(program->OnScroll(ScrollRequest::kPageDown, 0));
  EXPECT_EQ(program->state().view.firstVisibleRow, 8);
  EXPECT_FALSE(program->OnScroll(ScrollRequest::kLineDown, 0)) << "already at the last row";
  EXPECT_TRUE(program->OnScroll(ScrollRequest::kLineUp, 0));
  EXPECT_EQ(program->state().view.firstVisibleRow, 7);
  EXPECT_TRUE(program->OnScroll(ScrollRequest::kThumbReleased, 2));
  EXPECT_EQ(program->state().view.firstVisibleRow, 2);
  EXPECT_TRUE(program->OnScroll(ScrollRequest::kPageUp, 0));
  EXPECT_EQ(program->state().view.firstVisibleRow, 0);
  EXPECT_TRUE(program->OnScroll(ScrollRequest::kThumbReleased, 40));
  EXPECT_EQ(program->state().view.firstVisibleRow, 8) << "never past the last row";
}

TEST_F(ProgramTest, HelpOpensTheEditionsDocumentInTheGuidesFolder) {
  Install();
  StartUp();
  ASSERT_TRUE(program->OnMenuCommand(IDM_HELP));
  ASSERT_EQ(shell.openedDocuments.size(), 1u);
#if defined(ZARVO_EDITION_FR)
  const char* expected = "\\Guides\\HelpTrainingFR.pdf";
#else
  const char* expected = "\\Guides\\HelpTrainingGB.pdf";
#endif
  EXPECT_EQ(shell.openedDocuments[0], program->state().programFolder + expected);
  EXPECT_TRUE(Boxes().empty()) << "a missing document is not reported";
}

TEST_F(ProgramTest, TheExportCommandsAskForTheReportAndTheRunWindowsGetTheirExport) {
  Install();
  StartUp();
  EXPECT_NE(CurrentRunExportPort(), nullptr);
  files.saveAnswers = {std::nullopt, std::nullopt};
  EXPECT_TRUE(program->OnMenuCommand(IDM_EXPORT_SESSION));
  tree.selected = kRunsNodeId + 1;
  program->session().OnTreeRightClick();
  EXPECT_TRUE(program->OnMenuCommand(IDM_EXPORT_RUN));
  ASSERT_EQ(files.asked.size(), 2u);
  char name[128];
  std::snprintf(name, sizeof name, TXT_EXPORT_REPORT_FILE, kDefaultSessionName);
  EXPECT_EQ(files.asked[0].initialName, name);
  EXPECT_EQ(files.asked[0].initialFolder, program->state().programFolder);
  std::snprintf(name, sizeof name, TXT_EXPORT_REPORT_FILE,
                (std::string(kDefaultSessionName) + " - Run1").c_str());
  EXPECT_EQ(files.asked[1].initialName, name);
  EXPECT_TRUE(Boxes().empty()) << Boxes()[0];
  program.reset();
  EXPECT_EQ(CurrentRunExportPort(), nullptr);
}

TEST_F(ProgramTest, TheLapCalloutsItemOpensItsDialogAndTheSettingsAreReadBack) {
  Install();
  Create();
  testing::FakeCalloutVoices voices;
  program->callouts().SetVoiceMaker(voices);
  program->WindowStartUp();
  EXPECT_FALSE(program->callouts().settings().announceLaps) << "off without a file";
  EXPECT_EQ(voices.speechOpened, 0);
  programDialogs.callouts = [] {
    WriteBytes(kCalloutSettingsFile, kCalloutsOnFile);
    return true;
  };
  log.clear();
  EXPECT_TRUE(program->OnMenuCommand(IDM_LAP_CALLOUTS));
  EXPECT_EQ(programDialogs.calloutsOpened, 1);
  EXPECT_TRUE(program->callouts().settings().announceLaps);
  EXPECT_EQ(voices.speechOpened, 1);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(ReadBytes("RéglagesSons.rg"),
            "SONLANGUEAnglais\r\nSONDECOMPTEnon\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
            "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n");
}

// The tick: each lap read from the line is handed to the voice, after the passage's cue, which
// plays on the program's player as always; after "Stop" nothing more is said.
TEST_F(ProgramTest, TheTickCallsOutTheLapsReadFromTheLineUntilTheRunEnds) {
  Install();
  WriteBytes("Zarvo Training/RéglagesAnnoncesTours.rg", kCalloutsOnFile);
  Create();
  testing::FakeCalloutVoices voices;
  program->callouts().SetVoiceMaker(voices);
  program->WindowStartUp();
  program->AfterWindowShown();  // no answer to the identification: the Vexa interface
  ASSERT_NE(voices.speech, nullptr);
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  // ANNA (transponder 1001) crosses four times, 4 s apart: her first crossing starts her clock,
  // then three laps.
  for (int crossing = 0; crossing < 4; ++crossing) {
    clock.Advance(4000);
    port.Queue(B({0x03, 0xE9}));
    for (int tick = 0; tick < 30; ++tick) {
      clock.Advance(kTimerPeriodMs);
      program->OnTick();
    }
    voices.speech->Finish();
  }
  ASSERT_EQ(s.race.slots[0].lapCount, 3);
  ASSERT_EQ(voices.speech->said.size(), 3u);
  for (const std::string& said : voices.speech->said) {
    EXPECT_EQ(said.rfind("ANNA, 4", 0), 0u) << said;
  }
  size_t beeps = 0;
  for (const auto& p : player.played) beeps += p.file == "sons/beep1.wav";
  EXPECT_EQ(beeps, 4u) << "every crossing's cue played on the program's player";
  // After "Stop", a lap that was waiting is dropped and nothing more is said.
  clock.Advance(4000);
  port.Queue(B({0x03, 0xE9}));
  clock.Advance(kTimerPeriodMs);
  program->OnTick();
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  for (int tick = 0; tick < 50; ++tick) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  EXPECT_EQ(voices.speech->said.size(), 3u);
  EXPECT_EQ(program->callouts().callouts().Waiting(), 0);
}

}  // namespace
}  // namespace zarvo
