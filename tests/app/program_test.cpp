// The program's life with fakes for the window, the port, the boxes and the session's ports:
// start-up in its order with its messages, the panel it leaves, the decoder report and the
// warning, closing refused during a run, the end that writes the display settings, and the
// commands it routes.
#include "app/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/run_journal_file.h"
#include "analysis/detail_results_file.h"
#include "app/session_file.h"
#include "app/session_format.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "decoder/interface_settings.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::B;
using testing::Bytes;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// One log for every fake, so that the order of start-up can be read from it.
using Log = std::vector<std::string>;

class LoggingBoxes : public MessageBoxes {
 public:
  explicit LoggingBoxes(Log& log) : log_(log) {}
  void Show(const char* caption, const char* text, MessageIcon icon) override {
    log_.push_back(std::string("box ") + caption + "|" + text);
    icons.push_back(icon);
  }
  Answer Ask(const char* caption, const char* text, QuestionButtons) override {
    log_.push_back(std::string("ask ") + caption + "|" + text);
    if (answers.empty()) return Answer::kNo;
    const Answer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  std::vector<MessageIcon> icons;
  std::vector<Answer> answers;

 private:
  Log& log_;
};

class FakeShell : public ProgramShell {
 public:
  FakeShell(Log& log, std::string programFiles)
      : log_(log), programFiles_(std::move(programFiles)) {}
  std::string ProgramFilesFolder() override { return programFiles_; }
  void LoadCursors() override {
    log_.push_back("shell cursors");
    workingCopyAtCursors = FileExists(kWorkingCopyPath);
  }
  void CreateSessionTree(Colour background) override {
    log_.push_back("shell tree");
    workingCopyAtTree = FileExists(kWorkingCopyPath);
    treeColour = background;
  }
  void SetTreeColour(Colour colour) override { treeColour = colour; }
  void CreateRacePanel() override { log_.push_back("shell panel"); }
  void CreateResultsScrollBar() override { log_.push_back("shell scroll bar"); }
  void CreatePanelFont() override { log_.push_back("shell font"); }
  RowFit FitRows(const DisplaySettings&, int participantCount) override {
    log_.push_back("shell fit rows");
    return RowFit{38, rowsThatFit, std::min(rowsThatFit, participantCount)};
  }
  void SetResultsScrollBar(bool shown, int range, int position) override {
    scrollShown = shown;
    scrollRange = range;
    scrollPosition = position;
  }
  void RepaintWindow() override { ++windowRepaints; }
  void OpenDocument(const std::string& path) override { openedDocuments.push_back(path); }
  void StartTimer() override { log_.push_back("shell timer on"); }
  void StopTimer() override { log_.push_back("shell timer off"); }
  void ReleaseResources() override { log_.push_back("shell release"); }
  void Quit() override { log_.push_back("shell quit"); }

  int rowsThatFit = 12;
  bool workingCopyAtCursors = false;
  bool workingCopyAtTree = false;
  Colour treeColour = 0;
  bool scrollShown = true;
  int scrollRange = -1;
  int scrollPosition = -1;
  int windowRepaints = 0;
  std::vector<std::string> openedDocuments;

 private:
  Log& log_;
  std::string programFiles_;
};

// The session tree, logging when the session's nodes are built.
class LoggingTree : public testing::FakeSessionTree {
 public:
  explicit LoggingTree(Log& log) : log_(log) {}
  void Clear() override {
    log_.push_back("tree nodes");
    FakeSessionTree::Clear();
  }

 private:
  Log& log_;
};

// A display settings file that reads: relief style, widths 70 290 80 165 140 140 140 140 110,
// tree colour 16777215.
std::string DisplayFile() {
  std::string f = "1\t\r\n";
  for (int i = 0; i < 12; ++i) f += "Arial\t";
  f += "\r\n";
  for (const char* value : {"-20", "700", "0", "0", "0", "0"}) {
    for (int i = 0; i < 12; ++i) f += std::string(value) + "\t";
    f += "\r\n";
  }
  f += "13158600\t16777215\t15790320\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t\r\n";
  f += "70\t290\t80\t165\t140\t140\t140\t140\t110\t\r\n";
  for (int i = 0; i < 16; ++i) f += "0\t";
  f += "\r\n";
  return f;
}

const char kDisplayPath[] = "Zarvo Training/Private/RéglagesAffichage.rgsc";

class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() : port(&clock), boxes(log), shell(log, folder.path()), tree(log) {
    clock.autoAdvanceNs = 100000;  // the identification's 1.5 s wait passes without a real wait
    MakeDirectory("Zarvo Training");
    MakeDirectory("Zarvo Training/Private");
  }

  // The program folder as the installation lays it out (the files a test does not remove).
  void Install() {
    WriteBytes("Zarvo Training/BaseDonnéesCircuits.bd", "");
    WriteBytes("Zarvo Training/RéglagesSons.rg",
               "SONLANGUEAnglais\r\nSONDECOMPTEnon\r\nSONDEPARToui\r\nSONPASSAGEoui\r\n"
               "SONMEILLEURTOURoui\r\nSONHORLOGEoui\r\nSONFINCOURSEoui\r\nSONFINVOITUREoui\r\n");
    WriteBytes(kDisplayPath, DisplayFile());
    WriteBytes("Zarvo Training/RéglagesInterface2.rg", "COM1\t1\tZarvo\r\n");
  }

  void Create() {
    program = std::make_unique<Program>(ProgramServices{clock, port, player, boxes, ui, shell, tree,
                                                        window, files, dialogs, programDialogs});
    program->SetScreenSize(1600, 900);
  }

  void StartUp() {
    Create();
    program->WindowStartUp();
  }

  std::vector<std::string> Boxes() const {
    std::vector<std::string> out;
    for (const std::string& line : log) {
      if (line.rfind("box ", 0) == 0 || line.rfind("ask ", 0) == 0) out.push_back(line);
    }
    return out;
  }
  size_t IndexOf(const std::string& entry) const {
    return static_cast<size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
  }

  TempFolder folder;
  Log log;
  testing::FakeClock clock;
  testing::FakeSerialPort port;
  testing::RecordingSoundPlayer player;
  LoggingBoxes boxes;
  testing::RecordingRaceUi ui;
  FakeShell shell;
  LoggingTree tree;
  testing::RecordingSessionWindow window;
  testing::ScriptedFileDialogs files;
  testing::ScriptedSessionDialogs dialogs;
  testing::ScriptedProgramDialogs programDialogs;
  std::unique_ptr<Program> program;
};

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

// ---- A run that never reached the working copy, found at start-up.

class RecoveryTest : public ProgramTest {
 protected:
  // A session with two participants and two runs in the working copy, and the journal of its run
  // 2 killed after six passages; expected is that run's section as the run would write it.
  // circuitIndex: the circuit of the run (0: "Piste des Ours", its record 18.250 by MARC).
  // torn: the kill left half a line at the end.
  void PrepareInterruptedRun(int32_t circuitIndex = kNoCircuit, bool torn = false) {
    Install();
    WriteBytes(
        "Zarvo Training/BaseDonn\xE9"
        "esCircuits.bd",
        "Piste des Ours\t120\t18.250\t18250\tMARC\t3\tGrenoble\t\t\r\n");
    SetCurrentFolder("Zarvo Training");
    MessageBoxes& quiet = boxes;
    ASSERT_TRUE(CreateWorkingCopy("Samedi", quiet));
    ParticipantsList list;
    std::memset(&list, 0, sizeof list);
    for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
    SetText(list.entries[0].driverName, "ANNA");
    SetText(list.entries[0].transponder, "001001");
    SetText(list.entries[1].driverName, "BRUNO");
    SetText(list.entries[1].transponder, "001002");
    ASSERT_TRUE(WriteParticipantsList(list, quiet));
    testing::TimingFixture run({{"ANNA", "001001"}, {"BRUNO", "001002"}});
    run.race->params.circuitIndex = circuitIndex;
    SetText(run.circuits->records[0].name, "Piste des Ours");
    run.circuits->records[0].recordLap = 18250;
    ASSERT_TRUE(WriteRaceParameters(run.race->params, quiet));
    SessionHeader header = NewSessionHeader("Samedi");
    header.participantCount = 2;
    header.runCount = 2;
    ASSERT_TRUE(WriteSessionHeader(header, quiet));
    beforeCrash = ReadBytes(kWorkingCopyPath);

    SetText(run.race->run.runTitle, "Start 2026/12/07 14:03:10 - Duration 1:00:00");
    stamp = ReadWorkingCopyStamp();
    std::string journal = JournalStartLine(
        *run.race, JournalSession{2, "Samedi", savedFile, stamp.c_str(), "", true});
    lines = {journal};
    int64_t seq = 0;
    for (int32_t t : {400, 900, 4400, 5000, 8300, 9100}) {
      const char* transponder = seq % 2 == 0 ? "001001" : "001002";
      lines.push_back(
          JournalPassageLine(++seq, transponder, t, DecodedPassage::Clock::kDecoder, t));
      journal += lines.back();
      run.Pass(transponder, t);
    }
    MarkRunOver(*run.race);
    expected = RunSectionContent(*run.race);
    WriteBytes(kJournalPath, journal + (torn ? "Passage\t7\t0010" : ""));
    log.clear();
  }
  std::string Box(const char* caption, const std::string& text) {
    return std::string("box ") + caption + "|" + text;
  }

  std::string Section(const std::string& file, int runNumber) {
    char title[kSectionTitleCapacity];
    FormatRunSectionTitle(runNumber, title, sizeof title);
    const SectionSpot spot = FindSection(file, title);
    if (!spot.found) return "<no section>";
    return file.substr(spot.dataStart, expected.size());
  }

  const char* savedFile = "C:\\Clubs\\samedi.trng";
  std::vector<std::string> lines;  // of the journal: the start, then the six passages
  std::string stamp;  // the working copy's, as the journal names it
  std::string beforeCrash;
  std::string expected;
};

TEST_F(RecoveryTest, YesBringsBackTheSessionWithTheRebuiltRunAndKeepsTheCrashCopy) {
  PrepareInterruptedRun();
  boxes.answers = {Answer::kYes};
  StartUp();
  const std::string question =
      std::string("ask ") + TXT_CAPTION_QUESTION + "|" +
      (TXT_RUN_TITLE[0] == 'S'
           ? "The run Run2 of session Samedi was interrupted at 0:00:09 with 6 passages. "
             "Recover it?"
           : "Le run Run2 de la s\xE9"
             "ance Samedi a \xE9t\xE9 interrompu \xE0 0:00:09 avec 6 "
             "passages. Le r\xE9"
             "cup\xE9rer ?");
  EXPECT_EQ(Boxes(), std::vector<std::string>{question});
  EXPECT_LT(IndexOf(question), IndexOf("shell cursors")) << "asked before the crash copy";
  EXPECT_EQ(ReadBytes("VaZivivIvar.trng"), beforeCrash) << "the crash copy as the crash left it";
  const std::string workingCopy = ReadBytes(kWorkingCopyPath);
  EXPECT_EQ(Section(workingCopy, 2), expected);
  EXPECT_EQ(workingCopy.substr(0, 19), "14002\tSamedi\t2\t1\t2\t");
  EXPECT_FALSE(FileExists(kJournalPath)) << "retired once its run is in the working copy";

  const ProgramState& s = program->state();
  EXPECT_EQ(s.session.loadedRun, 2) << "the run is shown";
  EXPECT_EQ(s.race.slots[0].lapCount, 2);
  EXPECT_EQ(s.race.slots[1].lapCount, 2);
  EXPECT_TRUE(s.race.slots[0].finished);
  EXPECT_FALSE(s.race.run.raceRunning);
  EXPECT_TRUE(tree.Has(kRunsNodeId + 2));
  EXPECT_TRUE(ui.controlEnabled[IDC_MANUAL_LAP_FIRST]);
  EXPECT_STREQ(s.race.params.startMode, kStartStaggered);
  EXPECT_TRUE(s.session.hasSavedFile) << "saved to its own file again";
  EXPECT_EQ(s.session.savedFilePath, savedFile);
  EXPECT_TRUE(ui.menuEnabled.at(IDM_SAVE));
  ASSERT_FALSE(window.titles.empty());
  EXPECT_EQ(window.titles.back(), std::string("Zarvo:   ") + savedFile);
}

TEST_F(RecoveryTest, NoKeepsTheJournalAsideAndStartsANewSession) {
  PrepareInterruptedRun();
  const std::string journal = ReadBytes(kJournalPath);
  boxes.answers = {Answer::kNo};
  StartUp();
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_FALSE(FileExists(kJournalPath));
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), journal) << "renamed, not deleted";
  EXPECT_EQ(ReadBytes("VaZivivIvar.trng"), beforeCrash);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
  EXPECT_EQ(program->state().session.loadedRun, 0);
}

TEST_F(RecoveryTest, AnUnreadableJournalIsReportedAndSetAside) {
  PrepareInterruptedRun();
  WriteBytes(kJournalPath, "Depart\t1\tgarbage\r\n");
  StartUp();
  char text[256];
  std::snprintf(text, sizeof text, TXT_JOURNAL_UNREADABLE, "Private/JournalPassages-1.jrn");
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" + text});
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), "Depart\t1\tgarbage\r\n");
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), NewWorkingCopyBytes(kDefaultSessionName));
}

// A damaged line in the middle: the question says how many lines cannot be read, the rest of the
// run is rebuilt, and the journal is kept aside, never deleted, with a message saying where.
TEST_F(RecoveryTest, ADamagedJournalIsRecoveredWithoutItsUnreadableLineAndKeptAside) {
  PrepareInterruptedRun();
  std::string damaged;
  std::string withoutIt;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (i == 3) line[12] ^= 0x02;  // ANNA's passage at 4.4 s, flipped on the disk
    damaged += line;
    if (i != 3) withoutIt += lines[i];
  }
  WriteBytes(kJournalPath, damaged);
  auto rebuilt = std::make_unique<Race>();
  auto noCircuits = std::make_unique<CircuitTable>();
  std::memset(noCircuits.get(), 0, sizeof(CircuitTable));
  ASSERT_TRUE(ReplayJournal(withoutIt, *rebuilt, *noCircuits));
  expected = RunSectionContent(*rebuilt);
  boxes.answers = {Answer::kYes};
  StartUp();
  char question[512];
  std::snprintf(question, sizeof question, TXT_JOURNAL_RECOVER_DAMAGED_QUESTION, 2, "Samedi",
                "0:00:09", 5, 1);
  char after[512];
  std::snprintf(after, sizeof after, TXT_JOURNAL_RECOVERED_DAMAGED, 2, 1,
                "Private/JournalPassages-1.jrn");
  EXPECT_EQ(Boxes(),
            (std::vector<std::string>{std::string("ask ") + TXT_CAPTION_QUESTION + "|" + question,
                                      Box(TXT_CAPTION_ERROR, after)}));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected) << "the other passages are in";
  EXPECT_EQ(program->state().race.slots[0].lapCount, 1);
  EXPECT_FALSE(FileExists(kJournalPath));
  EXPECT_EQ(ReadBytes("Private/JournalPassages-1.jrn"), damaged) << "kept aside as it was";
}

// No working copy at all: the run goes into its session's file (here its saved file is not on
// this PC, so a new one named after the session, in the program folder), which is then loaded.
TEST_F(RecoveryTest, AWorkingCopyThatIsGoneBringsTheRunIntoItsSessionsFileWhichIsLoaded) {
  PrepareInterruptedRun();
  RemoveFile(kWorkingCopyPath);
  boxes.answers = {Answer::kYes};
  StartUp();
  const std::string sessionFile = ReadBytes("Samedi.trng");
  EXPECT_EQ(Section(sessionFile, 2), expected);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), sessionFile) << "loaded as Load session loads it";
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  EXPECT_TRUE(ParseParticipantsList(sessionFile, list));
  EXPECT_STREQ(list.entries[1].driverName, "BRUNO");
  EXPECT_STREQ(list.entries[1].transponder, "001002");
  const ProgramState& s = program->state();
  EXPECT_EQ(s.session.header.runCount, 2);
  EXPECT_EQ(s.session.header.participantCount, 2);
  EXPECT_EQ(s.session.loadedRun, 2);
  const std::string path = s.programFolder + "\\Samedi.trng";
  EXPECT_EQ(s.session.savedFilePath, path);
  char text[1024];
  std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVERED_AND_LOADED, 2, "Samedi", path.c_str());
  EXPECT_EQ(Boxes().back(), Box(TXT_CAPTION_REFUSAL, text));
  EXPECT_FALSE(FileExists(kJournalPath));
}

// A working copy that cannot be read cannot say whose session it is: it is kept aside as it is,
// and the run goes into its session's file, which takes its place.
TEST_F(RecoveryTest, AWorkingCopyThatCannotBeReadIsKeptAsideAndTheRunGoesIntoItsSessionsFile) {
  PrepareInterruptedRun();
  RemoveFile(kWorkingCopyPath);
  MakeDirectory(kWorkingCopyPath);  // where the file should be
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_TRUE(std::filesystem::is_directory("Private/Session-1.trng")) << "kept as it is";
  char aside[512];
  std::snprintf(aside, sizeof aside, TXT_WORKING_COPY_SET_ASIDE, "Private/Session-1.trng");
  const std::vector<std::string> shown = Boxes();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1], Box(TXT_CAPTION_ERROR, aside));
  EXPECT_EQ(Section(ReadBytes(kWorkingCopyPath), 2), expected);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), ReadBytes("Samedi.trng"));
  EXPECT_EQ(program->state().session.loadedRun, 2);
  EXPECT_FALSE(FileExists(kJournalPath));
}

// The run cannot be written anywhere (the working copy holds another session, and the folder of
// the session's file is a file): the screen shows the working copy as the disk holds it, nothing
// of it changed, and the journal stays for the next start.
TEST_F(RecoveryTest, AFailedRecoveryShowsWhatTheDiskHoldsAndKeepsTheJournal) {
  savedFile = "blocker\\samedi.trng";
  WriteBytes("Zarvo Training/blocker", "a file where the folder should be");
  PrepareInterruptedRun();
  const std::string journal = ReadBytes(kJournalPath);
  ASSERT_TRUE(CreateWorkingCopy("Dimanche", boxes));  // another session took the working copy
  const std::string other = ReadBytes(kWorkingCopyPath);
  log.clear();
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_EQ(Boxes().back(), Box(TXT_CAPTION_ERROR, TXT_JOURNAL_NOT_RECOVERED));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), other);
  EXPECT_STREQ(program->state().session.header.sessionName, "Dimanche") << "what the disk holds";
  EXPECT_FALSE(program->state().session.hasSavedFile);
  EXPECT_EQ(program->state().session.loadedRun, 0);
  EXPECT_EQ(ReadBytes(kJournalPath), journal);
}

TEST_F(RecoveryTest, TheLapRecordSetInTheInterruptedRunReachesTheCircuitsDatabase) {
  PrepareInterruptedRun(0);
  boxes.answers = {Answer::kYes};
  StartUp();
  EXPECT_EQ(ReadBytes("BaseDonn\xE9"
                      "esCircuits.bd"),
            "Piste des Ours\t120\t3.900\t3900\tANNA\t3\tGrenoble\t\t\r\n")
      << "ANNA's 3.900 (4400 to 8300) beats 18.250";
}

// ---- The run synthesis opened by Ctrl+click on a row.

// Two drivers in slots 1 and 2 with their transponders and a setup sheet, ready for a run.
void SeatTwoDrivers(Program& program) {
  Race& race = program.state().race;
  const char* names[2] = {"ANNA", "BRUNO"};
  const char* transponders[2] = {"001001", "001002"};
  for (int i = 0; i < 2; ++i) {
    race.slots[i].slotNumber = i + 1;
    SetText(race.slots[i].driverName, names[i]);
    SetText(race.slots[i].transponder, transponders[i]);
    SetText(race.slots[i].setup.carName, "Old car");
    SetText(race.slots[i].setup.trackConditions, "Dry");
    ParticipantEntry& entry = program.state().session.participants.entries[i];
    SetText(entry.driverName, names[i]);
    SetText(entry.transponder, transponders[i]);
  }
  RebuildStandings(race);
  RebuildRows(race);
  race.run.ready = true;
}

// A saved sheet: every field "new<i>".
std::string SavedAnswer(SetupSheet& sheet) {
  std::memset(&sheet, 0, sizeof sheet);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    SetText(SetupField(sheet, i), size_t(SetupFieldCapacity(i)),
            ("new" + std::to_string(i)).c_str());
  }
  return FormatSetupAnswer(sheet, true);
}

TEST_F(ProgramTest, SynthesisGetsTheSlotsRunAndASavedSheetReplacesItsSheet) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  SetText(s.race.run.runTitle, "Start 2026/12/07 14:03:10 - Duration 0:05:00");
  SetText(s.session.runCaption, " Training - Run1 ");
  SetText(s.session.track.circuitName, "Mornay");
  s.session.changed = false;
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  std::string handedOff;
  programDialogs.synthesis = [&] {
    handedOff = ReadBytes(kDetailResultsFile);
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  program->OpenRunSynthesis(2);
  EXPECT_EQ(programDialogs.synthesisOpened, 1);
  const std::string line2 =
      "\r\n Training - Run1 \tMornay\tStart 2026/12/07 14:03:10 - Duration 0:05:00\t\r\n";
  EXPECT_EQ(handedOff, "BRUNO\t0\t0\tDry\tOld car\t" + std::string(47, '\t') + line2);
  EXPECT_EQ(std::memcmp(&s.race.slots[1].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car") << "the other slot is not touched";
  EXPECT_TRUE(s.session.changed);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ProgramTest, SynthesisCancelledOrWithoutWindowLeavesTheSheetAndTheRunUnchanged) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.changed = false;
  auto sheet = std::make_unique<SetupSheet>();
  SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, FormatSetupAnswer(*sheet, false));
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_FALSE(s.session.changed);

  // No window shown: the hand-off left in the file is never read as an answer, even for a
  // driver whose name begins with "1".
  SetText(s.race.slots[0].driverName, "1 FAST");
  programDialogs.synthesis = [] { return false; };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_FALSE(s.session.changed);

  // The window wrote no answer (its write failed): reported, nothing changes.
  programDialogs.synthesis = [] {
    RemoveFile(kDetailResultsFile);
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "Old car");
  EXPECT_EQ(Boxes(), std::vector<std::string>{std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                              TXT_DETAIL_RESULTS_FILE_NOT_FOUND});
  EXPECT_EQ(programDialogs.synthesisOpened, 3);

  // Slots out of range and a press over no row open nothing.
  program->OpenRunSynthesis(0);
  program->OpenRunSynthesis(21);
  EXPECT_EQ(program->OnResultsCtrlClick(-5, -5), 0);
  EXPECT_EQ(programDialogs.synthesisOpened, 3);
}

TEST_F(ProgramTest, AHandOffThatCannotBeWrittenIsReportedAndTheWindowStillOpens) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ASSERT_TRUE(MakeDirectory(kDetailResultsFile));  // a folder where the file should be
  log.clear();
  programDialogs.synthesis = [] { return true; };
  program->OpenRunSynthesis(1);
  EXPECT_EQ(programDialogs.synthesisOpened, 1);
  const std::string error =
      std::string("box ") + TXT_CAPTION_ERROR + "|" + TXT_DETAIL_RESULTS_FILE_NOT_FOUND;
  EXPECT_EQ(Boxes(), (std::vector<std::string>{error, error})) << "writing, then reading";
  EXPECT_STREQ(program->state().race.slots[0].setup.carName, "Old car");
}

TEST_F(ProgramTest, PassagesGoOnBeingTimedWhileTheSynthesisIsOpenDuringARun) {
  Install();
  StartUp();
  program->AfterWindowShown();  // no answer to the identification: the Vexa interface
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;  // run 1 selected in the tree
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  int lapsWhenOpened = -1;
  programDialogs.synthesis = [&] {
    lapsWhenOpened = s.race.slots[0].lapCount;
    // The window's message loop dispatches timer 1 to the main window: three passages of ANNA
    // (transponder 1001), 4 s apart, arrive while it is open.
    for (int lap = 0; lap < 3; ++lap) {
      clock.Advance(4000);
      port.Queue(B({0x03, 0xE9}));
      for (int tick = 0; tick < 3; ++tick) program->OnTick();
    }
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  program->OpenRunSynthesis(1);
  EXPECT_EQ(lapsWhenOpened, 0);
  EXPECT_GE(s.race.slots[0].lapCount, 2) << "the passages were timed behind the window";
  EXPECT_GT(s.race.slots[0].passageTimes[s.race.slots[0].lapCount], 0);
  EXPECT_EQ(s.race.standings[0].slotNumber, 1) << "ANNA leads the table";
  EXPECT_EQ(std::string(s.race.rows[0].lapsText), std::to_string(s.race.slots[0].lapCount))
      << "and the rows were formatted for the repaint";
  EXPECT_EQ(std::memcmp(&s.race.slots[0].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_TRUE(s.race.run.raceRunning);
  EXPECT_TRUE(s.session.changed);
  // A crash now would not lose the sheet: the run rebuilt from its journal carries it.
  auto rebuilt = std::make_unique<Race>();
  auto circuits = std::make_unique<CircuitTable>(s.circuits);
  program->journal().Flush();  // the journal's writer thread has caught up
  ASSERT_TRUE(ReplayJournal(ReadBytes(kJournalPath), *rebuilt, *circuits));
  EXPECT_EQ(std::memcmp(&rebuilt->slots[0].setup, sheet.get(), sizeof *sheet), 0);
  EXPECT_EQ(rebuilt->slots[0].lapCount, s.race.slots[0].lapCount);
}

TEST_F(ProgramTest, ASavedSheetReachesTheDriversRunsDatabase) {
  Install();
  StartUp();
  program->AfterWindowShown();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;  // run 1 selected in the tree
  ASSERT_TRUE(MakeDirectory("Base données runs"));
  const std::string path = RunsDatabasePath("ANNA");
  ASSERT_TRUE(CreateRunsDatabase("ANNA"));
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  auto stored = std::make_unique<ArchivedRun>();

  // During a run nothing is archived yet: the run's end stores the run with the new sheet.
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  s.race.slots[0].lapCount = 1;
  s.race.slots[0].passageTimes[1] = 21000;
  program->OpenRunSynthesis(1);
  RunsListing listing;
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "no run stored while it is timed";
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "new1");

  // After the run: the stored run is rewritten at once with the sheet saved now.
  SetText(sheet->carName, "Newer car");
  const std::string newer = FormatSetupAnswer(*sheet, true);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, newer);
    return true;
  };
  program->OpenRunSynthesis(1);
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "Newer car");
  EXPECT_STREQ(stored->participant.setup.throttleServo, "new48");
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 2u) << "its slot rewritten, no second run";
}

// A run the user removed from the runs database after it was timed stays removed: a sheet saved
// in the synthesis brings it back only after "Yes", and leaving the run does not either.
TEST_F(ProgramTest, ARunRemovedFromTheRunsDatabaseComesBackOnlyAfterYes) {
  Install();
  StartUp();
  program->AfterWindowShown();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  s.session.loadedRun = 1;
  ASSERT_TRUE(MakeDirectory("Base données runs"));
  const std::string path = RunsDatabasePath("ANNA");
  ASSERT_TRUE(CreateRunsDatabase("ANNA"));
  ASSERT_EQ(SetArchivingFlag(path.c_str(), true), RunsFileResult::kDone);
  s.race.params.countdownSeconds = 0;
  ASSERT_TRUE(program->OnRaceCommand(IDC_START, false));
  for (int i = 0; i < 5 && !s.race.run.raceRunning; ++i) {
    clock.Advance(kTimerPeriodMs);
    program->OnTick();
  }
  ASSERT_TRUE(s.race.run.raceRunning);
  s.race.slots[0].lapCount = 1;
  s.race.slots[0].passageTimes[1] = 21000;
  ASSERT_TRUE(program->OnRaceCommand(IDC_STOP, false));
  RunsListing listing;
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u) << "archived at the end of the run";
  ASSERT_EQ(RemoveRun(path.c_str(), s.race.run.runTitle, boxes), RunsFileResult::kDone);
  EXPECT_TRUE(RunWasRemoved("ANNA", s.race.run.runTitle));
  EXPECT_FALSE(RunWasRemoved("BRUNO", s.race.run.runTitle));

  auto sheet = std::make_unique<SetupSheet>();
  const std::string answer = SavedAnswer(*sheet);
  programDialogs.synthesis = [&] {
    WriteBytes(kDetailResultsFile, answer);
    return true;
  };
  char question[512];
  std::snprintf(question, sizeof question, TXT_REMOVED_RUN_BACK_QUESTION, "ANNA");
  const std::string asked = std::string("ask ") + TXT_CAPTION_QUESTION + "|" + question;
  boxes.answers = {Answer::kNo};
  program->OpenRunSynthesis(1);
  ASSERT_EQ(Boxes().back(), asked);
  EXPECT_STREQ(s.race.slots[0].setup.carName, "new1") << "the session gets the sheet";
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "No: left removed";
  ArchiveRun(s.race, s.race.run.runTitle, "", "", boxes);  // leaving the run, closing
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  EXPECT_EQ(listing.entries.size(), 1u) << "not brought back behind the user's back";

  boxes.answers = {Answer::kYes};
  program->OpenRunSynthesis(1);
  EXPECT_EQ(Boxes().back(), asked);
  ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u) << "Yes: stored again";
  auto stored = std::make_unique<ArchivedRun>();
  ASSERT_EQ(ReadRun(path.c_str(), s.race.run.runTitle, *stored, boxes), RunsFileResult::kDone);
  EXPECT_STREQ(stored->participant.setup.carName, "new1");
  const size_t boxesNow = Boxes().size();
  program->OpenRunSynthesis(1);
  EXPECT_EQ(Boxes().size(), boxesNow) << "stored again: no more question";
}

// The window closed without writing its answer: the file still holds the hand-off, whose first
// field (a driver name beginning with a digit) must not be read as the flag.
TEST_F(ProgramTest, AStaleHandOffIsNoAnswerAndIsReported) {
  Install();
  StartUp();
  SeatTwoDrivers(*program);
  ProgramState& s = program->state();
  SetText(s.race.slots[0].driverName, "1 ANNA");
  SetText(s.race.slots[0].setup.engine, "Picco");
  const SetupSheet before = s.race.slots[0].setup;
  programDialogs.synthesis = [] { return true; };  // shown, but its answer was not written
  program->OpenRunSynthesis(1);
  EXPECT_EQ(std::memcmp(&s.race.slots[0].setup, &before, sizeof before), 0);
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().back(), std::string("box ") + TXT_CAPTION_ERROR + "|" +
                                TXT_SETUP_ANSWER_NOT_VALID);
}

}  // namespace
}  // namespace zarvo
