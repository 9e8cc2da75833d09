// What the run windows reach for their "Export run…" button: the results export, which sits
// above the run windows (export/, app/). The program sets it once at start-up; without one the
// button is not shown.
#pragma once

#include "race/race_model.h"

namespace zarvo {

class RunExportPort {
 public:
  virtual ~RunExportPort() = default;
  // The run the window shows: the record's name, lap count and passage times, with the window's
  // caption, circuit and run title.
  virtual void ExportDriverRun(const ParticipantRecord& record, const char* runCaption,
                               const char* circuitName, const char* runTitle) = 0;
};

// The port of the program's life; nullptr for none.
void SetRunExportPort(RunExportPort* port);
RunExportPort* CurrentRunExportPort();

}  // namespace zarvo
