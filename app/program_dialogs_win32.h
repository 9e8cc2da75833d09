// The menu's dialogs on Windows (see program_dialogs.h), modal to the main window.
#pragma once

#include <windows.h>

#include "app/program_dialogs.h"
#include "display/display_dialog.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/serial_port.h"

namespace zarvo {

class Win32ProgramDialogs : public ProgramDialogs {
 public:
  // owner: the window the dialogs are modal to (the main window once it exists); port and clock
  // are the program's, which the interface dialog connects with.
  Win32ProgramDialogs(const HWND* owner, MessageBoxes& boxes, SerialPort& port, Clock& clock)
      : owner_(owner), boxes_(boxes), port_(port), clock_(clock) {}
  bool OpenCircuitsEditor() override;
  bool OpenDriversEditor() override;
  bool OpenCarsEditor() override;
  bool OpenFrequenciesEditor() override;
  void OpenRunsDatabase() override;
  bool OpenSoundOptions() override;
  bool OpenLapCallouts() override;
  bool OpenDisplayOptions() override;
  void OpenInterfaceDialog() override;
  bool OpenRunSynthesis() override;
  bool OpenLiveResults(LiveResultsControl& control) override;

 private:
  const HWND* owner_;
  MessageBoxes& boxes_;
  SerialPort& port_;
  Clock& clock_;
  DisplayDialogMemory displayMemory_;  // the display options' column, while the program runs
};

}  // namespace zarvo
