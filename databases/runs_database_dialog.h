// The runs database dialog "BASERESULTATS": the drivers of the drivers database, the archiving
// switch and filling level of the selected driver's runs database, his archived runs, opening one
// in the run detail window and removing one. The model holds what the controls show; the Win32
// procedure (databases/runs_database_dialog_win32.*) only moves data between them.
#pragma once

#include <string>

#include "databases/database_records.h"
#include "databases/runs_database.h"
#include "platform/message_boxes.h"
#include "ui/colour.h"

namespace zarvo {

struct RunsDatabaseDialogModel {
  DriverNameList drivers;
  int driverCount = 0;      // names up to the first empty one
  int selectedDriver = -1;  // -1 when the drivers database is empty or missing
  std::string runsPath;     // "Base données runs/<driver>.bdr" of the selected driver
  bool runsListed = false;  // false when the selected driver's runs file could not be read
  RunsListing listing;      // empty first entry, then the archived runs in file order
  int level = 0;            // filling level in per cent
};

// Where and how the filling level is painted, beside the label "Filling level :".
constexpr int kGaugeX = 530;
constexpr int kGaugeY = 184;
constexpr int kGaugeFontHeight = 18;
constexpr int kGaugeFontWeight = 700;

struct FillingGauge {
  Colour colour;  // green below 80, orange 80 to 98, red from 99
  char text[32];  // "40 %", "99 % saturation"
};
FillingGauge MakeFillingGauge(int level);

// Opening: reads the driver names (TXT_DRIVERS_FILE_NOT_FOUND when the file is missing, and the
// dialog shows no driver) and selects the first driver.
void OpenRunsDatabaseDialog(RunsDatabaseDialogModel& model, MessageBoxes& boxes);

// Selects driver index (0-based) and lists his runs; a runs file that cannot be read shows
// TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND and leaves the driver with no run, unticked, at 0 %.
void SelectRunsDriver(RunsDatabaseDialogModel& model, int index, MessageBoxes& boxes);

// The check box: rewrites the flag digit of the selected driver's file. Returns the flag the file
// holds afterwards (the box is set back to it when the file could not be written).
bool SetRunsArchiving(RunsDatabaseDialogModel& model, bool on, MessageBoxes& boxes);

// True when title names exactly one stored run of the file, compared over the whole first field
// of its slot: a run whose title was damaged (cut, or sharing its first 104 characters with
// another) is never taken for another one.
bool TitleNamesOneRun(const char* path, const std::string& title);

// A run chosen in the list: an empty text does nothing; true when the title names exactly one
// run, which the caller then asks to be shown (the run detail window stands above the databases:
// see ArchivedRunOpener in runs_database_dialog_win32.h). A title that no longer names one run
// shows TXT_RUN_TO_READ_NOT_FOUND.
bool ChooseArchivedRun(RunsDatabaseDialogModel& model, const std::string& title,
                       MessageBoxes& boxes);

// "Remove the run" with the run chosen in the list: asks for confirmation; on Yes removes it,
// lists the runs again, and when the level is 99 or less with the full flag set clears the flag.
// A run that is no longer in the file, or a file that has vanished, gets its message and nothing
// else is removed. Returns true when the run was removed.
bool RemoveChosenRun(RunsDatabaseDialogModel& model, const std::string& title, MessageBoxes& boxes);

}  // namespace zarvo
