// The run window "DETAILRESULTATS": one run of one driver with its setup sheet, the statistics of a
// lap range in one of three views, the lap-by-lap strip, the hover label of the curve and the
// one-page printout. The run detail window (an archived run, setup sheet shown only) and the run
// synthesis window (the session's run, setup sheet edited and saved) share this model; each kind
// keeps its own view for the life of the program.
//
// Everything the window decides lives here; the Win32 procedure (analysis/run_window_win32.*)
// moves texts between the controls and the model, replays the drawing lists and prints.
#pragma once

#include <cstdint>

#include "analysis/lap_graphs.h"
#include "analysis/lap_statistics.h"
#include "platform/message_boxes.h"
#include "race/race_model.h"
#include "ui/drawing.h"

namespace zarvo {

enum class RunWindowKind : int { kDetail = 0, kSynthesis = 1 };

// The view each kind of window opens with: "Data" when the program starts, then the last one
// chosen in a window of that kind.
GraphView& KeptView(RunWindowKind kind);

constexpr int kRunCaptionCapacity = 90;
constexpr int kRunCircuitCapacity = 40;
constexpr int kRunWindowTitleCapacity = 105;
constexpr int kRangeEditDigits = 3;
constexpr int kStripColumns = 7;  // laps p + 1 .. p + 7 at strip position p

struct RunWindowModel {
  RunWindowKind kind;
  ParticipantRecord record;  // driver name, lap count, passage times, setup sheet
  RunLaps laps;              // lap times recomputed from the passage times
  char runCaption[kRunCaptionCapacity];
  char circuitName[kRunCircuitCapacity];
  char runTitle[kRunWindowTitleCapacity];
  char headingLine[kHeadingLineCapacity];  // run caption, " : ", driver name
  char trackLine[kTrackLineCapacity];      // " Track : ", circuit, "   (", run title, ") "
  int first;                               // s
  int last;                                // e
  GraphView view;
  int stripOffset;
  CurveHover hover;
};

// Clears the model and sets what every opening sets: the kind, its kept view, no hover.
void ClearRunWindow(RunWindowModel& model, RunWindowKind kind);

// Loads a run into the window: the record, its laps, the caption, circuit and title, the two
// lines, the range 1..n, the strip at its start.
void LoadRunWindow(RunWindowModel& model, const ParticipantRecord& record, const char* runCaption,
                   const char* circuitName, const char* runTitle);

// The run detail window's opening: reads the archived-run request from "DetailResultats.res",
// then the run from the runs file it names. A missing request (TXT_DETAIL_RESULTS_FILE_NOT_FOUND),
// a missing runs file (TXT_DRIVER_RUNS_FILE_NOT_FOUND) or a run the file does not hold (the
// reader's own message) leave the window with an empty run.
void OpenArchivedRunWindow(RunWindowModel& model, MessageBoxes& boxes);

// The runs database dialog chose a run: writes the archived-run request the run detail window
// opens with. False, with TXT_DETAIL_RESULTS_FILE_NOT_FOUND, when it cannot be written.
bool HandOverArchivedRun(const char* runsFilePath, const char* runTitle, MessageBoxes& boxes);

// The range edits, on every change of their text. The text reads as an unsigned number (anything
// else as 0). Returns true when the edit's text must be rewritten with rewriteTo: a lap beyond
// the run is held to n. A first lap of 0 uses lap 1 and keeps its text; the first lap is never
// below 1, also in a run without laps (whose range 1..0 is empty).
bool FirstLapTyped(RunWindowModel& model, const char* text, int& rewriteTo);
bool LastLapTyped(RunWindowModel& model, const char* text, int& rewriteTo);

// A view button: the window's view and the kind's kept view.
void ChooseRunView(RunWindowModel& model, GraphView view);

// The strip's scroll bar: shown with range 0..n - 6 when the run has 7 laps or more (the last
// position leaves one column empty, as a 6-lap run does).
struct StripBar {
  bool visible;
  int maximum;
};
StripBar MakeStripBar(const RunWindowModel& model);

enum class StripScroll { kLineLeft, kLineRight, kPageLeft, kPageRight, kThumbPosition, kOther };
// Moves the strip; true when its position changed (only the strip is repainted).
bool ScrollStrip(RunWindowModel& model, StripScroll action, int thumb);

// The mouse moved over the window: follows the curve's points (view "Curve" only). True when the
// plot must be repainted.
bool RunWindowMouseMoved(RunWindowModel& model, int x, int y);

// One paint of the window's four areas in client pixels.
void DrawRunWindow(const RunWindowModel& model, DrawList& list);

// --- The printed page, in the logical units of a 630 x 1120 isotropic window.

constexpr int kPageWidth = 630;
constexpr int kPageHeight = 1120;
// The logo "images/logo.bmp", 200 x 50 source pixels, stretched into this rectangle.
constexpr GraphRect kPageLogo = {25, 25, 25 + 150, 25 + 37};
constexpr char kLogoFile[] = "images/logo.bmp";
constexpr char kPrintButtonImage[] = "images/impression.bmp";

// One text of the page's setup sheet: a label and one or two values (field indexes of the setup
// sheet, -1 for none). A second value makes the values front and rear, centred on their points.
struct PageSetupRow {
  const char* label;  // nullptr for the car name, which has no label of its own here
  int labelX, labelY;
  int field;
  int valueX, valueY;
  int rearField;
  int rearX;
};
constexpr int kPageSetupRows = 35;
extern const PageSetupRow kPageSetupLayout[kPageSetupRows];

// The whole page but the logo: frames, captions cutting the frame lines, heading and track lines,
// graph heading, the current view in its paper form, and the setup sheet.
void DrawRunPage(const RunWindowModel& model, DrawList& list);

// --- The template's controls.

// Edit box of setup-sheet field i (0 = track conditions: 5001; field i >= 1: 5002 + i).
int SetupEditId(int field);

// Where each control is put at opening, in client pixels: around the four drawing areas.
struct ControlPlace {
  int id;
  int x, y, width, height;
};
extern const ControlPlace kRunWindowLayout[];
extern const int kRunWindowControlCount;
// The client size the controls need.
constexpr int kRunWindowClientWidth = 980;
constexpr int kRunWindowClientHeight = 650;

}  // namespace zarvo
