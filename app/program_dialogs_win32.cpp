// The menu's dialogs on Windows (see program_dialogs_win32.h). A dialog not built yet opens
// nothing and changes nothing.
#include "app/program_dialogs_win32.h"

#include "analysis/run_window_win32.h"
#include "app/lap_callouts_dialog_win32.h"
#include "databases/database_editor_win32.h"
#include "databases/runs_database_dialog_win32.h"
#include "decoder/interface_dialog_win32.h"
#include "display/display_dialog_win32.h"
#include "settings/sound_dialog_win32.h"
#include "web/live_dialog_win32.h"

namespace zarvo {

bool Win32ProgramDialogs::OpenCircuitsEditor() {
  return RunDatabaseEditor(*owner_, EditorKind::kCircuits, boxes_);
}

bool Win32ProgramDialogs::OpenDriversEditor() {
  return RunDatabaseEditor(*owner_, EditorKind::kDrivers, boxes_);
}

bool Win32ProgramDialogs::OpenCarsEditor() {
  return RunDatabaseEditor(*owner_, EditorKind::kCars, boxes_);
}

bool Win32ProgramDialogs::OpenFrequenciesEditor() {
  return RunDatabaseEditor(*owner_, EditorKind::kFrequencies, boxes_);
}

void Win32ProgramDialogs::OpenRunsDatabase() {
  RunRunsDatabaseDialog(*owner_, boxes_, OpenArchivedRun);
}

bool Win32ProgramDialogs::OpenSoundOptions() {
  return RunSoundDialog(*owner_, boxes_);
}

bool Win32ProgramDialogs::OpenLapCallouts() {
  return RunLapCalloutsDialog(*owner_, boxes_);
}

bool Win32ProgramDialogs::OpenDisplayOptions() {
  return RunDisplayDialog(*owner_, boxes_, displayMemory_);
}

void Win32ProgramDialogs::OpenInterfaceDialog() {
  RunInterfaceDialog(*owner_, boxes_, port_, clock_);
}

bool Win32ProgramDialogs::OpenRunSynthesis() {
  RunSynthesisWindow(*owner_, boxes_);
  return true;
}

bool Win32ProgramDialogs::OpenLiveResults(LiveResultsControl& control) {
  return RunLiveDialog(*owner_, boxes_, control);
}

}  // namespace zarvo
