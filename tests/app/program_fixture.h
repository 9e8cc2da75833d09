// The fixture of the program's tests: fakes for the window, the port, the boxes and the
// session's ports that log into one list, and a program folder as the installation lays it out.
#pragma once

#include "app/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "analysis/detail_results_file.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "decoder/interface_settings.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/run_journal_file.h"
#include "session/session_file.h"
#include "session/session_format.h"
#include "tests/support/callout_fakes.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace program_testing {

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
inline std::string DisplayFile() {
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

inline constexpr char kDisplayPath[] = "Zarvo Training/Private/RéglagesAffichage.rgsc";

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

// Two drivers in slots 1 and 2 with their transponders and a setup sheet, ready for a run.
inline void SeatTwoDrivers(Program& program) {
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

// Lap callouts on, every lap, no position.
inline constexpr char kCalloutsOnFile[] =
    "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONnon\r\n";

}  // namespace program_testing
}  // namespace zarvo
