// The session commands and the session tree: the open session's state, the tree's nodes, the
// tree notifications, the File menu commands (new, load, save, save as, import) and the tree's
// pop-up commands (rename, track, participants, run parameters, add a run), loading a run into
// the participants table and writing it back, and the save question of closing. One class, its
// work in one file per job: session_controller.cpp (the tree, its pop-up commands, start-up),
// run_life_cycle.cpp (the run loaded, written back, archived), session_file_commands.cpp (New,
// Load, Save, Save as..., closing), smartphone_import_command.cpp and session_recovery.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/session_ports.h"
#include "databases/circuits_guard.h"
#include "databases/database_records.h"
#include "platform/message_boxes.h"
#include "race/race_control.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "session/run_journal_file.h"
#include "session/session_format.h"

namespace zarvo {

constexpr int kRunCaptionCapacity = 45;  // " %s - Run%d "
constexpr const char kPlainWindowTitle[] = "Zarvo";
constexpr const char kFileWindowTitlePrefix[] = "Zarvo:   ";  // followed by the session's path
constexpr const char kSessionExtension[] = ".trng";
constexpr const char kSmartphoneCopyFolder[] = "Smartphone";
constexpr const char kSmartphoneCopyPath[] = "Smartphone/Run1.trng2";

// The open session as the main window keeps it, besides the participants table and run state of
// the Race. The main window owns one for the life of the program and hands the same participants
// list to race control (the personal-chips mode copies its transponders).
struct SessionState {
  SessionHeader header;
  ParticipantsList participants;
  SessionTrack track;    // session label, circuit name, minimum lap time (seconds)
  int32_t circuitIndex;  // of the track's circuit in the circuits table; kNoCircuit = none
  int32_t loadedRun;     // the run in the participants table, 1..20; 0 = none
  char runCaption[kRunCaptionCapacity];         // " %s - Run%d ", shown above the results
  char runSectionTitle[kSectionTitleCapacity];  // "SessionRun%d" of the loaded run, or empty
  bool changed;               // the loaded run must be written to the working copy
  bool radioConflict;         // two participants share a radio frequency
  std::string savedFilePath;  // the user's ".trng" file; empty when the session has none
  bool hasSavedFile;
};

// The index of the circuit of that name in the circuits table; kNoCircuit when the name is empty
// or not found.
int32_t FindCircuitIndex(const CircuitTable& circuits, const char* circuitName);
// The name typed in the save dialog as it is kept: ".trng" is appended unless the name contains
// it somewhere, in any case.
std::string WithSessionExtension(const std::string& path);

// Stores the run of every participant in his runs database, under the run title, with the run
// caption and the session's circuit name.
void ArchiveSessionRun(const Race& race, const SessionState& session, MessageBoxes& boxes);

// Race control's archive at the end of a run: the runs database with the session's texts, and the
// circuits database with the new lap records.
class SessionRunArchive : public RunArchive {
 public:
  SessionRunArchive(const SessionState& session, MessageBoxes& boxes,
                    CircuitsFileGuard& circuitsFile)
      : session_(session), boxes_(boxes), circuitsFile_(circuitsFile) {}
  void ArchiveRun(const Race& race) override;
  // Through the guard: false without writing while the file is there but could not be read, so
  // it is never replaced by a table that lacks its circuits; a missing file is created.
  bool WriteCircuits(const CircuitTable& circuits) override;

 private:
  const SessionState& session_;
  MessageBoxes& boxes_;
  CircuitsFileGuard& circuitsFile_;
};

// Everything the session commands work on and talk to; owned by the caller.
struct SessionWorld {
  SessionState& session;
  Race& race;
  CircuitTable& circuits;
  RaceControl& raceControl;  // clock texts, transponder mode, "Save" after a run
  RaceUi& ui;                // menu item 1003, lap buttons 2201-2220, repaints
  SessionTreeView& tree;
  SessionWindow& window;
  FileDialogs& files;
  SessionDialogs& dialogs;
  MessageBoxes& boxes;
  // The program folder, made the current directory again before every file copy, because the
  // file dialogs may change it.
  std::string programFolder;
};

class SessionController {
 public:
  explicit SessionController(const SessionWorld& world);

  // Window start-up, before the tree exists: a new session "SEANCE TRAINING" in a new working copy,
  // with no participant, no run loaded and no saved file ("Save" disabled).
  void StartUp();
  // Window start-up when an interrupted run is to be recovered: the same, but the working copy is
  // kept as the crash left it (RecoverRun reads it).
  void StartUpKeepingWorkingCopy();
  // The journal of the program's runs: retired once a run's section is written or the run is
  // left, kept when the section could not be written.
  void SetJournal(RunJournalFile& journal) { journal_ = &journal; }
  // End of the window start-up, after "Yes" to the recovery question (app/session_recovery.cpp):
  // the journal's run back into its own session. When the working copy is that session (its
  // stamp is the journal's), the run is rebuilt from the journal and written as its section
  // there (a missing participants list or parameters made from the journal), the session shown
  // with its saved file and the run loaded. Otherwise the working copy is left as it was (and
  // shown) and the run goes into the session's saved file when that still holds the session, or
  // into a new file named after it beside it, overwriting nothing; the user is told which (and
  // when no working copy was there, that file is loaded). A new lap record goes to the circuits
  // database through its guard; each driver's runs database gets the run unless it holds it
  // already. False when the journal cannot be replayed or the run not written: the journal is
  // then to stay, and the program shows the working copy as the disk holds it.
  bool RecoverRun(std::string_view journal, CircuitsFileGuard& circuitsFile);
  // Window start-up, once the tree exists: the session's nodes, the root expanded.
  void BuildTree() { BuildNodes(false); }

  // ---- Notifications of the session tree (each one first reads the session header and writes
  // the selected node id into it). They are ignored while the controller rebuilds the tree.
  void OnTreeRightClick();
  // True when the label may be edited: only the session's name (the root) can be renamed.
  bool OnTreeBeginLabelEdit();
  // text: what the edit box holds; nullptr when the editing was cancelled. The caller must not
  // let the tree set the label itself (the controller does).
  void OnTreeEndLabelEdit(const char* text);
  void OnTreeSelectionChanging();
  void OnTreeSelectionChanged();

  // ---- Menu commands 1001 to 1005 and 1051 to 1055; false for any other id.
  bool OnCommand(int commandId);
  void NewSession();
  void LoadSession();
  // "Save" and "Save as...": true when the session was copied to its file.
  bool Save();
  bool SaveAs();
  void ImportSmartphone();
  void RenameSession();
  void TrackForSession();
  void ListOfParticipants();
  void RunParameters();
  void AddRun();

  // Loads run n (1..20) of the working copy into the participants table.
  void LoadRun(int runNumber);
  // Writes the loaded run to the working copy when it is marked changed or holds data.
  void SaveCurrentRunIfNeeded();
  // Stores the loaded run's results in the drivers' runs databases.
  void ArchiveCurrentRun();
  // Closing, once no run or scan is under way: archives the run and asks whether to save. False
  // when the window must stay open (Cancel, or a save that was cancelled or failed).
  bool ConfirmClose();
  // Windows is ending the user's session: the run goes into the working copy and into the
  // archive, and nothing is asked (the working copy becomes the crash copy at the next start).
  void SaveForSessionEnd();
  // The run synthesis saved a setup sheet: the run is written at the next occasion.
  void MarkRunChanged() { world_.session.changed = true; }

 private:
  enum class SaveFilter { kNewOrImport, kLoadOrSaveAs };

  // The common first step of every tree notification; false when the header cannot be read.
  bool ReadHeaderAndStoreSelection();
  // Every node again from the session header and participants list; the sessions node expanded
  // when asked, the root always.
  void BuildNodes(bool expandRuns);
  void InsertDriverNodes();
  void InsertNode(int32_t id, int32_t parentId, int32_t afterId, const char* label, int image,
                  bool bold = false);
  void LeaveRun();
  void WriteRun();
  // The recovery's two ways (session_recovery.cpp).
  bool RecoverIntoWorkingCopy(std::string_view journal, const JournalStart& start,
                              CircuitsFileGuard& circuitsFile);
  bool RecoverIntoSessionFile(std::string_view journal, const JournalStart& start,
                              CircuitsFileGuard& circuitsFile);
  // The session of the working copy as the disk holds it (header, participants list, track), no
  // run loaded, with that saved file (none when empty), its nodes built.
  void ShowWorkingCopyAsItIs(const std::string& savedFilePath);
  // Asks for a file to save to; the path (with ".trng") or false when the user cancelled.
  bool AskFileToSave(SaveFilter filter, std::string& path);
  // "Yes" to a save question: writes the run and copies the working copy to the session's file,
  // asking for one when there is none. False when the user cancelled or the copy failed: the
  // command that asked must stop.
  bool SaveBeforeLeaving(SaveFilter filter);
  bool CopyWorkingCopyTo(const std::string& path);
  // The session is now saved in path: the window's title, "Save" enabled.
  void KeepSavedFile(const std::string& path);
  void SetHasSavedFile(bool hasSavedFile);
  void ClearLoadedRun();
  void SetRadioConflict(bool conflict);
  void ResetSessionState();
  void ReadTrackAndCircuit();
  void ApplyTrackToRace();
  void ShowError(const char* text);
  void MakeProgramFolderCurrent();
  void DisableLapButtons();

  SessionWorld world_;
  RunJournalFile* journal_ = nullptr;
  bool rebuildingTree_ = false;
};

}  // namespace zarvo
