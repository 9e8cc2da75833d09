// The menu's dialogs on Windows (see program_dialogs_win32.h). A dialog not built yet opens
// nothing and changes nothing.
#include "app/program_dialogs_win32.h"

#include "decoder/interface_dialog_win32.h"

namespace zarvo {

bool Win32ProgramDialogs::OpenCircuitsEditor() {
  return false;
}

bool Win32ProgramDialogs::OpenDriversEditor() {
  return false;
}

bool Win32ProgramDialogs::OpenCarsEditor() {
  return false;
}

bool Win32ProgramDialogs::OpenFrequenciesEditor() {
  return false;
}

void Win32ProgramDialogs::OpenRunsDatabase() {}

bool Win32ProgramDialogs::OpenSoundOptions() {
  return false;
}

bool Win32ProgramDialogs::OpenDisplayOptions() {
  return false;
}

void Win32ProgramDialogs::OpenInterfaceDialog() {
  RunInterfaceDialog(*owner_, boxes_, port_, clock_);
}

}  // namespace zarvo
