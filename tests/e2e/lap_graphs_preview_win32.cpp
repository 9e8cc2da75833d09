// A window that draws one view of a realistic run ("Data", "Histo" or "Curve") as the run windows
// will, so that the views can be looked at (and checked pixel by pixel) under Wine before those
// windows exist. Run it anywhere:
//   zarvo-graphs-preview [--view data|histo|curve] [--paper] [--laps N] [--first S] [--last E]
//                        [--strip P] [--hover I] [--paper | --page] [--probes FILE]
// --paper: the printout's form, drawn one logical unit to a pixel on a white page whose part from
// y = 240 down is shown, inside the graph frame of the page. --page: the same on the whole page,
// mapped as the printout maps it (a logical window of 630 x 1120 units, isotropic) onto a window
// of A4 shape. --hover: the mouse on curve point I.
// --probes: after the first paint, writes screen points and regions with the colour they must
// show (see check_probes.py) and a few figures of the paint.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "analysis/lap_graphs.h"
#include "text/fixed_text.h"
#include "ui/drawing_win32.h"

namespace {

using namespace zarvo;

constexpr char kClassName[] = "ZarvoGraphsPreview";
constexpr int kPageTopShown = 240;  // paper form: the page row at the window's top
// --page: the client area is 566 x 800 pixels, A4's shape; the isotropic mapping of 630 x 1120
// units then scales by 800 / 1120 = 5 / 7 and shows about 792 units across, as on A4 paper.
constexpr int kPageWidth = 566;
constexpr int kPageHeight = 800;

struct Preview {
  GraphView view = GraphView::kData;
  bool paper = false;
  bool page = false;  // paper form on the whole page, isotropically mapped
  int laps = 28;
  int first = 1;
  int last = -1;  // -1: the last lap
  int strip = 0;
  int hoverIndex = -1;
  const char* probesFile = nullptr;
  bool probesWritten = false;
  RunLaps run;
  DrawList list;
  ViewNumbers numbers;
  GraphInputs in;
  char heading[kHeadingLineCapacity];
  char track[kTrackLineCapacity];
};

Preview* g_preview = nullptr;

// A practice run: an out lap, laps between 20.1 and 22 s, a crash on lap 14 and a slow lap to
// the pits at the end.
void MakeRun(Preview& p) {
  auto record = std::make_unique<ParticipantRecord>();
  std::memset(record.get(), 0, sizeof *record);
  SetText(record->driverName, "Lucas MARTIN");
  record->lapCount = p.laps;
  unsigned seed = 2026;
  for (int k = 1; k <= p.laps; ++k) {
    seed = seed * 1103515245u + 12345u;
    int32_t lap = 20100 + static_cast<int32_t>((seed >> 16) % 1900);
    if (k == 1) lap = 24512;
    if (k == 14) lap = 27934;
    if (k == p.laps && p.laps > 10) lap = 23870;
    record->passageTimes[k] = record->passageTimes[k - 1] + lap;
  }
  LoadRunLaps(*record, p.run);
  FormatHeadingLine(" Training Mornay - Run3 ", record->driverName, p.heading, sizeof p.heading);
  FormatTrackLine("Mornay", "Start 2026/12/07 14:03:10 - Duration 0:10:00", p.track,
                  sizeof p.track);
  p.in = GraphInputs{};
  p.in.laps = &p.run;
  p.in.first = p.first;
  p.in.last = p.last < 0 ? p.laps : p.last;
  p.in.headingLine = p.heading;
  p.in.trackLine = p.track;
  p.in.stripOffset = p.strip;
}

void BuildList(Preview& p) {
  const GraphForm form = p.paper ? GraphForm::kPaper : GraphForm::kScreen;
  p.list.Clear();
  DrawView(p.view, p.in, form, p.numbers, p.list);
  // The hover comes from a mouse put on the chosen point, through the same tracking the window
  // will use.
  if (p.view == GraphView::kCurve && p.hoverIndex >= 0 && !p.in.hover.active) {
    const GraphRect plot = PlotArea(GraphForm::kScreen);
    const int s = p.in.first < 1 ? 1 : p.in.first;
    const int n = p.numbers.curve.lapTotal;
    if (p.hoverIndex < n && s + p.hoverIndex <= p.run.lapCount) {
      const int x = CurvePointX(plot, p.hoverIndex, n);
      const int y = CurvePointY(plot, p.numbers.curveScale, p.run.lapTimes[s + p.hoverIndex]);
      TrackCurveHover(p.in.hover, x, y, p.run, p.in.first, p.numbers.curve, p.numbers.curveScale);
      p.list.Clear();
      DrawView(p.view, p.in, form, p.numbers, p.list);
    }
  }
}

void ClientSize(const Preview& p, int& width, int& height) {
  width = p.page ? kPageWidth : (p.paper ? 740 : 980);
  height = p.page ? kPageHeight : (p.paper ? 320 : 460);
}

void Paint(HDC dc, const Preview& p) {
  RECT client;
  GetClientRect(WindowFromDC(dc), &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (p.page) {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ISOTROPIC);
    SetWindowExtEx(dc, 630, 1120, nullptr);
    SetViewportExtEx(dc, client.right, client.bottom, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 50, 260, 690, 518);
    ReplayDrawList(dc, p.list);
    RestoreDC(dc, saved);
  } else if (p.paper) {
    POINT previous;
    SetViewportOrgEx(dc, 0, -kPageTopShown, &previous);
    // The printout's graph frame around the graph.
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, 50, 260, 690, 518);
    ReplayDrawList(dc, p.list);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
  } else {
    ReplayDrawList(dc, p.list);
  }
}

// ------------------------------------------------------------------------------------------
// Probes.

struct ProbeWriter {
  std::FILE* file;
  POINT origin;   // screen position of the client area's top-left corner
  int pageShift;  // page row shown at the client's top
  int scale;      // client pixels per 7 page units (7: one to one, 5: the whole page)
  long X(int x) const { return origin.x + long(x) * scale / 7; }
  long Y(int y) const { return origin.y + long(y - pageShift) * scale / 7; }
  void Info(const char* key, long a, long b = 0) {
    std::fprintf(file, "info %s %ld %ld\n", key, a, b);
  }
  void Pixel(const char* name, int x, int y, Colour c) {
    std::fprintf(file, "pixel %s %ld %ld %02x%02x%02x\n", name, X(x), Y(y), RedOf(c), GreenOf(c),
                 BlueOf(c));
  }
  void Has(const char* name, const GraphRect& r, Colour c) {
    std::fprintf(file, "has %s %ld %ld %ld %ld %02x%02x%02x\n", name, X(r.left), Y(r.top),
                 X(r.right) - X(r.left), Y(r.bottom) - Y(r.top), RedOf(c), GreenOf(c), BlueOf(c));
  }
};

void WriteProbes(HWND window, const Preview& p) {
  std::FILE* f = std::fopen(p.probesFile, "w");
  if (f == nullptr) return;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  ProbeWriter w{f, origin, p.paper && !p.page ? kPageTopShown : 0, p.page ? 5 : 7};
  w.Info("primitives", p.list.count, p.list.overflowed ? 1 : 0);
  w.Info("range", p.in.first, p.in.last);
  w.Info("heightScale", p.numbers.heightScale);
  w.Info("curve", p.numbers.curve.lapTotal, p.numbers.curveScale.steps);
  w.Info("hover", p.in.hover.active ? 1 : 0, p.in.hover.index);
  const GraphRect plot = PlotArea(p.paper ? GraphForm::kPaper : GraphForm::kScreen);
  const GraphRect inner = {plot.left + 41, plot.top + 15, plot.right - 20, plot.bottom - 20};
  if (p.paper) {
    w.Pixel("page-white-in-plot", plot.left + 5, plot.bottom - 7, kWhite);
    w.Pixel("page-white-above-plot", plot.left + 5, plot.top - 20, kWhite);
    switch (p.view) {
      case GraphView::kData:
        w.Has("table-row-line", GraphRect{331, 330, 659, 480}, kPaperSummaryRowLine);
        break;
      case GraphView::kHisto:
        w.Has("bar", inner, kPaperHistoBar);
        w.Has("grid", inner, kPaperGridLine);
        break;
      case GraphView::kCurve:
        w.Has("curve", inner, kCurveLine);
        w.Has("grid", inner, kPaperGridLine);
        break;
    }
  } else {
    w.Pixel("band", 335, 70, kGraphBackground);
    w.Pixel("plot-corner", plot.left + 5, plot.bottom - 5,
            p.view == GraphView::kData ? kGraphBackground : kGraphPlotBackground);
    w.Pixel("strip-background", 340, 375, kGraphBackground);
    w.Pixel("strip-lap-row", 362, 382, kGraphHeaderRow);
    w.Pixel("strip-time-row", 362, 427, kGraphBodyRow);
    w.Has("heading-background", GraphRect{330, 10, 950, 38}, kGraphHeaderRow);
    w.Has("strip-text", GraphRect{430, 383, 920, 428}, kBlack);
    switch (p.view) {
      case GraphView::kData:
        w.Pixel("table-header", 602, 152, kGraphHeaderRow);
        w.Has("table-body", GraphRect{601, 171, 929, 342}, kGraphBodyRow);
        w.Has("table-row-line", GraphRect{601, 186, 929, 326}, kSummaryRowLine);
        break;
      case GraphView::kHisto:
        w.Has("bar", inner, kHistoBar);
        w.Has("grid", inner, kHistoGridLine);
        w.Has("average", inner, kHistoAverageLine);
        break;
      case GraphView::kCurve:
        w.Has("curve", inner, kCurveLine);
        w.Has("grid", inner, kCurveGridLine);
        if (p.in.hover.active) w.Has("hover-ellipse", plot, kWhite);
        break;
    }
  }
  std::fclose(f);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Preview& p = *g_preview;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc, p);
      EndPaint(window, &ps);
      if (p.probesFile != nullptr && !p.probesWritten) {
        p.probesWritten = true;
        WriteProbes(window, p);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int Number(const char* text) {
  return static_cast<int>(std::strtol(text, nullptr, 10));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  static Preview preview;
  g_preview = &preview;
  for (int i = 1; i < __argc; ++i) {
    const char* arg = __argv[i];
    const char* value = i + 1 < __argc ? __argv[i + 1] : nullptr;
    if (std::strcmp(arg, "--paper") == 0 || std::strcmp(arg, "--page") == 0) {
      preview.paper = true;
      preview.page = preview.page || std::strcmp(arg, "--page") == 0;
      continue;
    }
    if (value == nullptr) break;
    if (std::strcmp(arg, "--view") == 0) {
      preview.view = std::strcmp(value, "histo") == 0   ? GraphView::kHisto
                     : std::strcmp(value, "curve") == 0 ? GraphView::kCurve
                                                        : GraphView::kData;
    } else if (std::strcmp(arg, "--laps") == 0) {
      preview.laps = Number(value);
      if (preview.laps < 0) preview.laps = 0;
      if (preview.laps > kMaxLapCount) preview.laps = kMaxLapCount;
    } else if (std::strcmp(arg, "--first") == 0) {
      preview.first = Number(value);
    } else if (std::strcmp(arg, "--last") == 0) {
      preview.last = Number(value);
    } else if (std::strcmp(arg, "--strip") == 0) {
      preview.strip = Number(value);
    } else if (std::strcmp(arg, "--hover") == 0) {
      preview.hoverIndex = Number(value);
    } else if (std::strcmp(arg, "--probes") == 0) {
      preview.probesFile = value;
    }
    ++i;
  }
  MakeRun(preview);
  BuildList(preview);

  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassA(&wc);
  int width = 0;
  int height = 0;
  ClientSize(preview, width, height);
  RECT frame = {0, 0, width, height};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  char title[64];
  std::snprintf(title, sizeof title, "Zarvo graphs preview - %s%s",
                preview.view == GraphView::kData    ? "Data"
                : preview.view == GraphView::kHisto ? "Histo"
                                                    : "Curve",
                preview.page ? " (page)" : (preview.paper ? " (paper)" : ""));
  HWND window = CreateWindowExA(0, kClassName, title, style, 20, 20, frame.right - frame.left,
                                frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
