// The program's state and its life: everything the main window keeps for the whole run (the race,
// the circuits, the sound and display settings, the open session, the decoder link, race control,
// the session commands), the start-up in its order, the commands that reach race control, closing
// and the end. Created once on the heap at start-up; the Win32 shell gives it its services and
// calls it from the main window's messages.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/lap_callouts_link.h"
#include "app/live_results.h"
#include "app/program_dialogs.h"
#include "app/race_links.h"
#include "app/results_export.h"
#include "app/results_view.h"
#include "app/session_controller.h"
#include "app/session_ports.h"
#include "app/tick_log.h"
#include "databases/database_records.h"
#include "decoder/decoder_link.h"
#include "display/results_layout.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"
#include "platform/sound_player.h"
#include "race/race_control.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "records/sound_settings.h"
#include "session/run_journal_file.h"
#include "session/session_format.h"
#include "settings/display_settings.h"

namespace zarvo {

// The program folder below the user's program-files folder.
constexpr const char kProgramFolderName[] = "\\Zarvo Training";
// Timer 1 of the main window drives the timing core.
constexpr int kTimerId = 1;
constexpr int kTimerPeriodMs = 10;

struct ProgramState {
  Race race;
  CircuitTable circuits;
  SoundSettings sounds;
  DisplaySettings display;
  CustomColours customColours;
  // The display settings in memory came from their file: only then are they written back (a
  // damaged or missing file is never replaced by settings that were not read from it).
  bool displayFromFile;
  int32_t liveColumnWidths[kColumnCount];  // the widths the table is drawn with
  // The open session; race control reads its participants list, its archive the run caption and
  // the circuit name, the results painter the run caption and the radio conflict.
  SessionState session;
  ResultsView view;
  int screenWidth;   // Z (W), pixels
  int screenHeight;  // Y (H), pixels
  std::string programFolder;
};

// The window-system work of start-up and of the end, done by the Win32 main window.
class ProgramShell {
 public:
  virtual ~ProgramShell() = default;
  // The user's program-files folder (no trailing separator).
  virtual std::string ProgramFilesFolder() = 0;
  virtual void LoadCursors() = 0;
  // Common controls, the image list and the session tree with that background colour.
  virtual void CreateSessionTree(Colour background) = 0;
  virtual void SetTreeColour(Colour colour) = 0;
  // The race panel's controls at their places, Start, Stop and Clear with their bitmaps.
  virtual void CreateRacePanel() = 0;
  virtual void CreateResultsScrollBar() = 0;
  virtual void CreatePanelFont() = 0;
  // Measures the column fonts on the window and fits the rows of the table.
  virtual RowFit FitRows(const DisplaySettings& settings, int participantCount) = 0;
  virtual void SetResultsScrollBar(bool shown, int range, int position) = 0;
  // The whole client area, background included.
  virtual void RepaintWindow() = 0;
  virtual void OpenDocument(const std::string& path) = 0;
  virtual void StartTimer() = 0;
  virtual void StopTimer() = 0;
  // Brushes, cursors and the panel font.
  virtual void ReleaseResources() = 0;
  // Ends the message loop with code 0.
  virtual void Quit() = 0;
};

// The services the program is given; they live as long as it.
struct ProgramServices {
  Clock& clock;
  SerialPort& port;
  SoundPlayer& player;
  MessageBoxes& boxes;
  RaceUi& ui;
  ProgramShell& shell;
  // What the session commands reach: the tree control, the window, the file and setup dialogs.
  SessionTreeView& tree;
  SessionWindow& window;
  FileDialogs& files;
  SessionDialogs& dialogs;
  // The dialogs of the menu (database editors, runs database, options, interface).
  ProgramDialogs& programDialogs;
};

class Program {
 public:
  explicit Program(const ProgramServices& services);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  ProgramState& state() { return *state_; }
  const ProgramState& state() const { return *state_; }
  RaceControl& raceControl() { return raceControl_; }
  DecoderLink& decoderLink() { return link_; }
  RunJournalFile& journal() { return journal_; }
  LapCalloutsLink& callouts() { return callouts_; }
  LiveResults& live() { return *live_; }
  MessageBoxes& boxes() { return services_.boxes; }
  RaceUi& ui() { return services_.ui; }
  // The session commands and the session tree; they exist from the window start-up on.
  SessionController& session() { return *session_; }

  // The screen size the layout scales with, read once when the window is set up.
  void SetScreenSize(int width, int height);

  // Creation of the main window, in this order: program folder, the journal of an interrupted run
  // (the question whether to recover it; "No" or an unreadable journal sets it aside), crash copy,
  // cursors, the session
  // commands with a new session in a new working copy ("Save" disabled), circuits, sound
  // settings, display settings, session tree with the session's nodes, race panel, scroll bar,
  // race parameters, personal-chips mode, clock texts, panel font, repaint, then the recovered run
  // (the working copy kept instead of a new one). Every failure is reported in a box and
  // start-up goes on.
  void WindowStartUp();
  // Once the window is shown: the program folder current again, the decoder identified and
  // reported, the tick log of a measurement run opened when the environment asks for one
  // (tick_log.h), timer 1 started, the printing warning shown.
  void AfterWindowShown();

  // Timer 1.
  void OnTick();
  // Race panel commands 2001 to 2003, 2101 to 2103 and 2201 to 2220; checked is the state of
  // "Scan" (2103) after the click. False for any other id.
  bool OnRaceCommand(int controlId, bool checked);
  // Menu commands 1001 to 1005 and 1051 to 1055 (the session commands), 1007 to 1014, 1016,
  // 1017 (the live results), 1018 (the lap callouts), the results export 1019 and 1056.
  // "Quit" (1006) is a close request, handled by the window. False for any other id.
  bool OnMenuCommand(int commandId);

  // The close box, Alt+F4 or "Quit": false while a run is armed or timed or a scan is under way
  // (the refusal is shown), otherwise what the session's save question decides (the run is
  // archived first; Cancel, or a save that was cancelled or failed, keeps the window open).
  bool OnCloseRequest();
  // The window is destroyed: display settings written back, timer stopped, drawing objects
  // released, serial port closed, message loop ended.
  void OnDestroy();
  // Windows shuts down or the user logs off (the process ends after this returns): a run under
  // way is stopped as "Stop" does, the run is written into the working copy and archived, the
  // display settings are written back, the timer stops and the port closes. No question.
  void OnSessionEnd();

  // The rows of the table fitted again for that many participants; the scroll bar reset (shown
  // only when fewer rows fit) and the table repainted.
  void ResetResultsView(int participantCount);
  // Reads the display settings again (after the display dialog): window repainted, tree colour,
  // live column widths and rows set again. A file that cannot be read keeps the settings in use
  // and is reported unless report is false (the dialog has reported it already).
  void ReloadDisplaySettings(bool report = true);

  // The current geometry of the table.
  TableMetrics Metrics() const;
  ResultsLayout Layout() const;

  // The results scroll bar moved: true when the first visible row changed (repaint the table).
  bool OnScroll(ScrollRequest request, int thumb);

  // A left-button press with Ctrl down at (x, y) of the client area: the run synthesis of the
  // participant in the row under the pointer. Returns that slot, 0 when the press was over no row
  // (nothing happens then).
  int OnResultsCtrlClick(int x, int y);
  // The run synthesis of slot 1..20: the run handed off (a failure is reported and the window
  // opens all the same), the window shown, its answer read. A saved sheet replaces the slot's
  // sheet and marks the run changed, so the working copy gets it; when a run is loaded but not
  // armed or timed, the slot's archived run is rewritten at once, since the run's end (or an
  // earlier leaving) has already stored it.
  // Timer 1 goes on while the window is open: passages are counted behind it, and only the
  // sheet is taken from the answer.
  void OpenRunSynthesis(int slot);

  std::string HelpDocumentPath() const;

 private:
  void LoadDisplaySettings(bool report = true);
  // The end of the window start-up after "Yes": the run back into its session; the journal
  // retired (a damaged one set aside) once the run is on the disk, kept when it could not be.
  void RecoverInterruptedRun(const FoundJournal& interrupted);
  // Start-up and after the circuits editor: the table read through its guard ("file not found"
  // when it cannot be read, missing or not).
  void LoadCircuits();
  // After the circuits editor: the table read again, the session's circuit found again by name.
  void ReloadCircuits();
  // "Export session…" and a run's "Export run…": the loaded run written into the working copy
  // first (unless it is armed or timed: it gets there at its end), then the working copy's
  // timed runs, or the run of the selected node.
  void ExportResults(int commandId);

  ProgramServices services_;
  std::unique_ptr<ProgramState> state_;
  DecoderLink link_;
  DecoderLinkChannel channel_;
  CircuitsFileGuard circuitsFile_;
  SessionRunArchive archive_;
  RunJournalFile journal_;
  // Before race control, which plays its cues through it and tells it each lap.
  LapCalloutsLink callouts_;
  // The live results see every repaint race control and the session commands ask for.
  std::unique_ptr<LiveResults> live_;
  LiveResultsUi liveUi_;
  RaceControl raceControl_;
  std::unique_ptr<SessionController> session_;
  std::unique_ptr<TickLog> tickLog_;  // null unless a measurement asked for it
  std::unique_ptr<ResultsExport> export_;  // from the window start-up on; the run windows' port
};

}  // namespace zarvo
