// The program's start-up, its commands, closing and its end.
#include "app/program.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/detail_results_file.h"
#include "databases/database_files.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

Program::Program(const ProgramServices& services)
    : services_(services),
      state_(std::make_unique<ProgramState>()),
      link_(services.clock, services.port, services.boxes),
      channel_(link_),
      archive_(state_->session, services.boxes, circuitsFile_),
      journal_(
          JournalSessionSource{state_->session.header.sessionName, state_->session.savedFilePath,
                               state_->session.loadedRun, state_->session.track.circuitName},
          state_->sounds, services.boxes),
      callouts_(state_->race.run, services.clock, services.player),
      live_(std::make_unique<LiveResults>()),
      liveUi_(services.ui, live_->feed()),
      raceControl_(RaceControlWorld{state_->race, state_->circuits, state_->sounds,
                                    state_->session.participants, services.clock,
                                    callouts_.CuePlayer(), services.boxes, liveUi_, channel_,
                                    archive_}) {
  raceControl_.SetJournal(journal_);
  raceControl_.SetLapListener(&callouts_);
}

Program::~Program() {
  if (export_ != nullptr && CurrentRunExportPort() == export_.get()) SetRunExportPort(nullptr);
}

void Program::SetScreenSize(int width, int height) {
  state_->screenWidth = width;
  state_->screenHeight = height;
}

void Program::LoadDisplaySettings(bool report) {
  ProgramState& s = *state_;
  // Read into a copy: a file that cannot be read leaves the settings in use as they were.
  DisplaySettings read = s.display;
  CustomColours custom = s.customColours;
  ClearFaceNames(read);
  const DisplayFileRead result = ReadDisplaySettings(kDisplaySettingsFile, read, custom);
  s.displayFromFile = result == DisplayFileRead::kRead;
  if (result == DisplayFileRead::kRead) {
    s.display = read;
    s.customColours = custom;
  } else if (report) {
    services_.boxes.Show(TXT_CAPTION_ERROR,
                         result == DisplayFileRead::kDamaged ? TXT_DISPLAY_SETTINGS_DAMAGED
                                                             : TXT_DISPLAY_SETTINGS_NOT_FOUND,
                         MessageIcon::kError);
  }
  std::copy(std::begin(s.display.columnWidths), std::end(s.display.columnWidths),
            s.liveColumnWidths);
}

void Program::WindowStartUp() {
  ProgramState& s = *state_;
  MessageBoxes& boxes = services_.boxes;
  ProgramShell& shell = services_.shell;
  RaceUi& ui = services_.ui;

  const std::string folder = shell.ProgramFilesFolder() + kProgramFolderName;
  SetCurrentFolder(folder.c_str());
  s.programFolder = CurrentFolder();
  if (s.programFolder.empty()) s.programFolder = folder;

  // A run that never reached the working copy: recovered from its journal, or set aside, before
  // the crash copy is made (the crash copy then keeps the session as the crash left it).
  FoundJournal interrupted = FindInterruptedRun();
  bool recover = false;
  if (interrupted.kind == FoundJournal::Kind::kUnreadable) {
    const std::string aside = SetJournalAside();
    char text[512];
    std::snprintf(text, sizeof text, TXT_JOURNAL_UNREADABLE, aside.c_str());
    boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
  } else if (interrupted.kind == FoundJournal::Kind::kInterrupted) {
    recover = boxes.Ask(TXT_CAPTION_QUESTION, RecoveryQuestion(interrupted.summary).c_str(),
                        QuestionButtons::kYesNo) == Answer::kYes;
    if (!recover) SetJournalAside();
  }

  KeepCrashCopy();  // a failed copy is not reported
  shell.LoadCursors();
  session_ = std::make_unique<SessionController>(
      SessionWorld{s.session, s.race, s.circuits, raceControl_, liveUi_, services_.tree,
                   services_.window, services_.files, services_.dialogs, boxes, s.programFolder});
  session_->SetJournal(journal_);
  export_ = std::make_unique<ResultsExport>(services_.files, boxes, s.programFolder);
  SetRunExportPort(export_.get());
  if (recover) {
    session_->StartUpKeepingWorkingCopy();
  } else {
    session_->StartUp();
  }

  LoadCircuits();
  ClearSoundSettings(s.sounds);
  if (!ReadSoundSettings(kSoundSettingsFile, s.sounds)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_SOUND_SETTINGS_NOT_FOUND, MessageIcon::kError);
  }
  callouts_.StartUp(boxes);
  LoadDisplaySettings();

  shell.CreateSessionTree(s.display.colours[kColourTree]);
  session_->BuildTree();
  shell.CreateRacePanel();
  shell.CreateResultsScrollBar();
  shell.SetResultsScrollBar(false, 0, 0);

  SetDefaultRaceParameters(s.race.params);
  s.race.params.circuitIndex = kNoCircuit;
  s.race.params.minimumLapSeconds = kDefaultMinimumLapSeconds;

  ui.SetControlText(IDC_SCAN_STATUS, TXT_SCAN_OFF);
  ui.CheckControl(IDC_PERSONAL_CHIPS, true);
  raceControl_.OnPersonalChips();  // hides "Scan" and its status box
  raceControl_.PrepareClockTexts();

  shell.CreatePanelFont();
  ResetResultsView(s.race.participantCount);
  for (RaceArea area :
       {RaceArea::kTitle, RaceArea::kClock, RaceArea::kCountdown, RaceArea::kEventLine}) {
    ui.Repaint(area);
  }

  if (recover) RecoverInterruptedRun(interrupted);
}

void Program::RecoverInterruptedRun(const FoundJournal& interrupted) {
  MessageBoxes& boxes = services_.boxes;
  if (!session_->RecoverRun(interrupted.bytes, circuitsFile_)) {
    // The journal stays for the next start-up; the session shown is what the disk holds.
    boxes.Show(TXT_CAPTION_ERROR, TXT_JOURNAL_NOT_RECOVERED, MessageIcon::kError);
    return;
  }
  const JournalSummary& summary = interrupted.summary;
  if (!summary.Damaged()) {
    // Retired once its run is on the disk; if that fails it stays for the next start-up.
    RetireJournalOfWrittenRun();
    return;
  }
  // A journal with lines that could not be read is kept aside, never deleted.
  std::string aside = SetJournalAside();
  if (aside.empty()) aside = kJournalPath;
  char text[512];
  std::snprintf(text, sizeof text, TXT_JOURNAL_RECOVERED_DAMAGED, int(summary.start.runNumber),
                int(summary.unreadableLines), aside.c_str());
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kWarning);
}

void Program::AfterWindowShown() {
  SetCurrentFolder(state_->programFolder.c_str());
  link_.IdentifyAtStartUp();
  live_->StartUp(services_.boxes);
  tickLog_ = TickLogFromEnvironment(services_.clock);
  raceControl_.SetTickProbe(tickLog_.get());
  services_.shell.StartTimer();
  services_.boxes.Show(TXT_STARTUP_WARNING_TITLE, TXT_STARTUP_WARNING, MessageIcon::kWarning);
}

void Program::OnTick() {
  if (tickLog_ != nullptr) tickLog_->TickBegins();
  raceControl_.OnTick();
  callouts_.Tick();
  journal_.OnTick();
  live_->AfterTick(state_->race, state_->session);
  if (tickLog_ != nullptr) {
    tickLog_->PartDone(TickPart::kJournal);
    tickLog_->TickEnds();
  }
}

bool Program::OnRaceCommand(int controlId, bool checked) {
  switch (controlId) {
    case IDC_START:
      raceControl_.OnStart();
      return true;
    case IDC_STOP:
      raceControl_.OnStop();
      return true;
    case IDC_CLEAR:
      raceControl_.OnClear();
      return true;
    case IDC_PERSONAL_CHIPS:
      raceControl_.OnPersonalChips();
      return true;
    case IDC_MIXED_SCAN:
      raceControl_.OnMixedScan();
      return true;
    case IDC_SCAN:
      raceControl_.OnScan(checked);
      return true;
    default:
      break;
  }
  if (controlId >= IDC_MANUAL_LAP_FIRST && controlId <= IDC_MANUAL_LAP_LAST) {
    raceControl_.OnManualLap(controlId);
    return true;
  }
  return false;
}

bool Program::OnMenuCommand(int commandId) {
  switch (commandId) {
    case IDM_NEW_SESSION:
    case IDM_LOAD_SESSION:
    case IDM_SAVE:
    case IDM_SAVE_AS:
    case IDM_IMPORT_SMARTPHONE:
    case IDM_RENAME_SESSION:
    case IDM_TRACK:
    case IDM_PARTICIPANTS:
    case IDM_RUN_PARAMETERS:
    case IDM_ADD_RUN:
      return session_ != nullptr && session_->OnCommand(commandId);
    case IDM_CIRCUITS:
      services_.programDialogs.OpenCircuitsEditor();
      ReloadCircuits();
      return true;
    case IDM_DRIVERS:
      services_.programDialogs.OpenDriversEditor();
      return true;
    case IDM_CARS:
      services_.programDialogs.OpenCarsEditor();
      return true;
    case IDM_FREQUENCIES:
      services_.programDialogs.OpenFrequenciesEditor();
      return true;
    case IDM_RUNS_SYNTHESIS:
      services_.programDialogs.OpenRunsDatabase();
      return true;
    case IDM_SOUND:
      services_.programDialogs.OpenSoundOptions();
      ClearSoundSettings(state_->sounds);
      if (!ReadSoundSettings(kSoundSettingsFile, state_->sounds)) {
        services_.boxes.Show(TXT_CAPTION_ERROR, TXT_SOUND_SETTINGS_NOT_FOUND_AFTER_DIALOG,
                             MessageIcon::kError);
      }
      return true;
    case IDM_LAP_CALLOUTS:
      // The dialog has reported a file it could not read or write.
      services_.programDialogs.OpenLapCallouts();
      callouts_.LoadSettings();
      return true;
    case IDM_DISPLAY:
      // The display options start from the settings in use, written to their file first; the
      // file is read back afterwards.
      if (state_->displayFromFile &&
          !WriteDisplaySettings(kDisplaySettingsFile, state_->display, state_->customColours)) {
        services_.boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_SETTINGS_NOT_FOUND,
                             MessageIcon::kError);
      }
      // The dialog has said so when it could not read the file: not a second box for it.
      services_.programDialogs.OpenDisplayOptions();
      ReloadDisplaySettings(false);
      return true;
    case IDM_INTERFACE:
      // The interface dialog runs its own identification: the supervision of the decoder stops
      // before it (the timer ticks on under the dialog: no keep-alive or reconnection may reach
      // the port it is testing) and starts afresh after it.
      link_.StopSupervision();
      services_.programDialogs.OpenInterfaceDialog();
      link_.ResetSupervision();
      return true;
    case IDM_HELP:
      services_.shell.OpenDocument(HelpDocumentPath());
      return true;
    case IDM_EXPORT_SESSION:
    case IDM_EXPORT_RUN:
      ExportResults(commandId);
    case IDM_LIVE_RESULTS:
      services_.programDialogs.OpenLiveResults(*live_);
      return true;
    default:
      return false;
  }
}

void Program::ExportResults(int commandId) {
  if (session_ == nullptr || export_ == nullptr) return;
  SessionState& s = state_->session;
  const RunState& run = state_->race.run;
  if (!run.startArmed && !run.raceRunning) session_->SaveCurrentRunIfNeeded();
  if (commandId == IDM_EXPORT_SESSION) {
    export_->ExportSessionFile(kWorkingCopyPath);
    return;
  }
  const int32_t node = s.header.selectedNodeId;
  const int runNumber = node > kRunsNodeId && node <= kRunsNodeId + kMaxRunCount
                            ? int(node - kRunsNodeId)
                            : int(s.loadedRun);
  if (runNumber != 0) export_->ExportSessionRun(kWorkingCopyPath, runNumber);
}

int Program::OnResultsCtrlClick(int x, int y) {
  const ProgramState& s = *state_;
  const int slot = SlotAtPointer(Metrics(), Layout(), s.view.firstVisibleRow, s.race, x, y);
  if (slot != 0) OpenRunSynthesis(slot);
  return slot;
}

void Program::OpenRunSynthesis(int slot) {
  if (slot < 1 || slot > kSlotCount) return;
  ProgramState& s = *state_;
  ParticipantRecord& participant = s.race.slots[slot - 1];
  if (!WriteRunHandOff(participant, s.session.runCaption, s.session.track.circuitName,
                       s.race.run.runTitle)) {
    services_.boxes.Show(TXT_CAPTION_ERROR, TXT_DETAIL_RESULTS_FILE_NOT_FOUND, MessageIcon::kError);
  }
  // Without a window there is no answer: the file still holds the hand-off, never read as one.
  if (!services_.programDialogs.OpenRunSynthesis()) return;
  int flag = 0;
  if (!ReadSetupAnswer(participant.setup, flag)) {
    services_.boxes.Show(TXT_CAPTION_ERROR, TXT_DETAIL_RESULTS_FILE_NOT_FOUND, MessageIcon::kError);
    return;
  }
  if (flag == kNotASetupAnswer) {
    services_.boxes.Show(TXT_CAPTION_ERROR, TXT_SETUP_ANSWER_NOT_VALID, MessageIcon::kError);
    return;
  }
  if (flag != 1) return;
  journal_.SetupSaved(slot, participant.setup);
  if (session_ != nullptr) session_->MarkRunChanged();
  const RunState& run = s.race.run;
  if (s.session.loadedRun != 0 && !run.startArmed && !run.raceRunning) {
    // A run the user removed from the archive comes back only if he says so.
    if (RunWasRemoved(participant.driverName, run.runTitle)) {
      char question[512];
      std::snprintf(question, sizeof question, TXT_REMOVED_RUN_BACK_QUESTION,
                    participant.driverName);
      if (services_.boxes.Ask(TXT_CAPTION_QUESTION, question, QuestionButtons::kYesNo) !=
          Answer::kYes) {
        return;
      }
      AllowRemovedRunBack(participant.driverName, run.runTitle);
    }
    ArchiveParticipantRun(participant, run.runTitle, s.session.runCaption,
                          s.session.track.circuitName, services_.boxes);
  }
}

void Program::LoadCircuits() {
  if (circuitsFile_.Load(state_->circuits) != CircuitsFileGuard::Loaded::kRead) {
    services_.boxes.Show(TXT_CAPTION_ERROR, TXT_CIRCUITS_FILE_NOT_FOUND, MessageIcon::kError);
  }
}

void Program::ReloadCircuits() {
  ProgramState& s = *state_;
  LoadCircuits();
  s.session.circuitIndex = FindCircuitIndex(s.circuits, s.session.track.circuitName);
}

bool Program::OnCloseRequest() {
  if (raceControl_.Busy()) {
    services_.boxes.Show(TXT_CAPTION_REFUSAL, TXT_QUIT_REFUSED, MessageIcon::kStop);
    return false;
  }
  return session_ == nullptr || session_->ConfirmClose();
}

void Program::OnSessionEnd() {
  services_.shell.StopTimer();
  if (state_->race.run.startArmed || state_->race.run.raceRunning) raceControl_.OnStop();
  if (session_ != nullptr) session_->SaveForSessionEnd();
  const ProgramState& s = *state_;
  if (s.displayFromFile) WriteDisplaySettings(kDisplaySettingsFile, s.display, s.customColours);
  live_->Stop();
  services_.port.Close();
}

void Program::OnDestroy() {
  const ProgramState& s = *state_;
  journal_.RunLeft();  // the user quit: the run was archived and saved or not, as he chose
  if (s.displayFromFile &&
      !WriteDisplaySettings(kDisplaySettingsFile, s.display, s.customColours)) {
    services_.boxes.Show(TXT_CAPTION_ERROR, TXT_DISPLAY_SETTINGS_NOT_FOUND, MessageIcon::kError);
  }
  services_.shell.StopTimer();
  // The tick log's last lines reach its file before the process ends.
  raceControl_.SetTickProbe(nullptr);
  tickLog_.reset();
  callouts_.End();
  services_.shell.ReleaseResources();
  // The server's threads are joined before the message loop ends: the process ends promptly.
  live_->Stop();
  services_.port.Close();
  services_.shell.Quit();
}

void Program::ResetResultsView(int participantCount) {
  ProgramState& s = *state_;
  const RowFit fit = services_.shell.FitRows(s.display, participantCount);
  ApplyRowFit(s.view, fit, participantCount);
  services_.shell.SetResultsScrollBar(s.view.scrollBarShown, s.view.scrollRange,
                                      s.view.firstVisibleRow);
  liveUi_.Repaint(RaceArea::kTable);
}

void Program::ReloadDisplaySettings(bool report) {
  LoadDisplaySettings(report);
  services_.shell.RepaintWindow();
  services_.shell.SetTreeColour(state_->display.colours[kColourTree]);
  ResetResultsView(state_->race.participantCount);
}

TableMetrics Program::Metrics() const {
  const ProgramState& s = *state_;
  return MetricsOf(s.view, s.screenWidth, s.screenHeight, s.liveColumnWidths);
}

ResultsLayout Program::Layout() const {
  return ComputeResultsLayout(Metrics());
}

bool Program::OnScroll(ScrollRequest request, int thumb) {
  ResultsView& view = state_->view;
  const int position =
      std::clamp(ScrolledPosition(request, view.firstVisibleRow, 0, view.scrollRange, thumb), 0,
                 std::max(view.scrollRange, 0));
  if (position == view.firstVisibleRow) return false;
  view.firstVisibleRow = position;
  return true;
}

std::string Program::HelpDocumentPath() const {
  return state_->programFolder + TXT_HELP_DOCUMENT;
}

}  // namespace zarvo
