// The export of a session file: every timed run of it, or one of its runs, read with the session
// file's own readers and prepared as selecting the run in the session tree prepares it (names
// from the participants list, then the run section's, the table reset, the run's laps).
#pragma once

#include <string_view>

#include "export/export_model.h"

namespace zarvo {

enum class SessionExportRead {
  kRead,
  kNotOpened,    // the file cannot be opened, or is larger than any session
  kNotASession,  // line 1 is not a session header (a number and a tab)
};

// Line 1 begins with the selected node id: digits, then a tab.
bool LooksLikeSessionFile(std::string_view file);

// A run is timed when its section is in the file and holds timing data (a lap count, a passage
// time 0 or a best lap other than 0 in an occupied slot). The runs are those of the header's run
// count, 1 to 20.
// Every timed run of the session, in run order; out.title is the session name.
SessionExportRead BuildSessionExport(std::string_view file, ExportSession& out);
// Run n only (1..20), timed or not: an untimed run exports its drivers without laps; a run
// whose section is missing exports the participants list. out.title is the run caption
// " %s - Run%d " without its outer blanks.
SessionExportRead BuildSessionRunExport(std::string_view file, int runNumber, ExportSession& out);

// The same from a file on disk (a Windows-1252 path, as every path of the program).
SessionExportRead ReadSessionExport(const char* path, ExportSession& out);

}  // namespace zarvo
