// The three views of a lap range, "Data" (summary table), "Histo" (histogram of lap times) and
// "Curve" (lap time against lap number), computed as drawing lists from the numbers of
// analysis/lap_statistics.h.
//
// Screen form: client pixels of the run windows, whose four drawing areas are fixed
// (kGraphAreas). Each view draws the shared furniture (band, plot and strip backgrounds, the two
// heading lines and the lap-by-lap strip) and then its own plot.
// Paper form: the same plot moved by (-270, +153) into the logical units of the printed page,
// with the print fonts and colours and without backgrounds, heading lines, strip and hover; the
// page around it (logo, frames, setup sheet) is the printout's own.
//
// Every function appends to the list it is given; the caller clears it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/lap_statistics.h"
#include "ui/drawing.h"

namespace zarvo {

enum class GraphView : int32_t { kData = 0, kHisto = 1, kCurve = 2 };
enum class GraphForm { kScreen, kPaper };

struct GraphRect {
  int left;
  int top;
  int right;
  int bottom;
};

struct GraphAreas {
  GraphRect header;  // the two heading lines start at its top-left corner
  GraphRect band;
  GraphRect plot;
  GraphRect strip;
};

constexpr GraphAreas kGraphAreas = {
    {330, 10, 950, 60}, {330, 67, 950, 105}, {330, 147, 950, 345}, {330, 370, 950, 438}};

// Where the paper form puts the plot: screen point + offset = page point.
constexpr int kPaperOffsetX = -270;
constexpr int kPaperOffsetY = 153;

// The plot area of a form (the screen's, or moved onto the page).
GraphRect PlotArea(GraphForm form);

// Colours of the screen form; the paper form's differ where the printout says so.
constexpr Colour kGraphBackground = MakeColour(240, 240, 220);  // band, "Data" plot, strip
constexpr Colour kGraphPlotBackground = MakeColour(250, 250, 250);
constexpr Colour kGraphHeaderRow = MakeColour(250, 250, 200);  // also behind the heading lines
constexpr Colour kGraphBodyRow = MakeColour(250, 250, 230);
constexpr Colour kSummaryRowLine = MakeColour(220, 220, 100);
constexpr Colour kHistoGridLine = MakeColour(220, 220, 50);
constexpr Colour kHistoBar = MakeColour(250, 250, 180);
constexpr Colour kHistoAverageLine = MakeColour(150, 150, 0);
constexpr Colour kCurveGridLine = MakeColour(220, 220, 150);
constexpr Colour kCurveLine = MakeColour(0, 180, 100);
constexpr int kCurveLineWidth = 2;

constexpr Colour kPaperGridLine = MakeColour(150, 150, 150);
constexpr Colour kPaperHistoBar = MakeColour(180, 180, 110);
constexpr Colour kPaperHistoAverageLine = MakeColour(50, 50, 50);
constexpr Colour kPaperSummaryRowLine = MakeColour(100, 100, 50);

// The hovered point of the curve (screen form only): index i of the curve window's laps s + i,
// and where the mouse is.
struct CurveHover {
  bool active;
  int index;
  int mouseX;
  int mouseY;
};

// The two heading lines of the views, as the run windows build them from their run.
constexpr int kHeadingLineCapacity = 160;  // caption (90) + " : " + driver name (40)
constexpr int kTrackLineCapacity = 200;  // " Track : " + circuit (40) + "   (" + title (105) + ") "
// Run caption, " : ", driver name.
char* FormatHeadingLine(const char* runCaption, const char* driverName, char* out, size_t capacity);
// " Track : " (French " Piste : "), circuit name, "   (", run title, ") ".
char* FormatTrackLine(const char* circuitName, const char* runTitle, char* out, size_t capacity);

// What every view is given besides its numbers.
struct GraphInputs {
  const RunLaps* laps;      // lap count and lap times of the run
  int first;                // s
  int last;                 // e
  const char* headingLine;  // run caption, " : ", driver name
  const char* trackLine;    // " Track : ", circuit, "   (", run title, ") "
  int stripOffset;          // 0-based lap shown in the strip's first column
  CurveHover hover;
};

void DrawDataView(const GraphInputs& in, const LapSummary& summary, GraphForm form, DrawList& list);
// heightScale is HistogramHeightScale(histogram).
void DrawHistoView(const GraphInputs& in, const LapHistogram& histogram, int32_t heightScale,
                   GraphForm form, DrawList& list);
// scale is MakeCurveScale(window) with its grid-line count.
void DrawCurveView(const GraphInputs& in, const CurveWindow& window, const CurveScale& scale,
                   GraphForm form, DrawList& list);

// The numbers of one view over in.first..in.last, computed into cleared buffers, as every paint
// does; only the chosen view's part is filled.
struct ViewNumbers {
  LapSummary summary;
  LapHistogram histogram;
  int32_t heightScale;
  CurveWindow curve;
  CurveScale curveScale;
};
void ComputeViewNumbers(GraphView view, const RunLaps& laps, int first, int last,
                        ViewNumbers& numbers);

// One paint of a view: its numbers, then its drawing.
void DrawView(GraphView view, const GraphInputs& in, GraphForm form, ViewNumbers& numbers,
              DrawList& list);

// --- The curve's geometry, shared with the hover.

// x of curve point i of n (0 <= i < n) in a plot area.
int CurvePointX(const GraphRect& plot, int i, int n);
// y of a time in a plot area; the x axis when the scale is degenerate (q < 1 or high <= low).
int CurvePointY(const GraphRect& plot, const CurveScale& scale, int32_t time);

// Follows the mouse over the screen form's curve: starts hovering the first point within 1 pixel
// across and 3 down of the mouse, keeps it while within 2 and 4, and ends it otherwise. Laps of
// 3.5 hours or more are never hovered. Returns true when the plot must be repainted (the hover
// began or ended).
bool TrackCurveHover(CurveHover& hover, int mouseX, int mouseY, const RunLaps& laps, int first,
                     const CurveWindow& window, const CurveScale& scale);

}  // namespace zarvo
