// A window that shows the live results table as the main window will, with a realistic run, so
// that the table can be looked at (and checked pixel by pixel) under Wine before the main window
// exists. Run it in the program folder:
//   zarvo-table-preview [--drivers N] [--first ROW] [--no-conflict] [--probes FILE]
// --drivers: participants (1..20, default 12); --first: first visible row (the scroll position);
// --probes: after the first paint, writes the screen points and regions whose colours the table
// must show (see check_probes.py).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/race_panel_layout.h"
#include "databases/database_records.h"
#include "display/results_painter_win32.h"
#include "race/classification.h"
#include "race/passage.h"
#include "race/race_model.h"
#include "resources/resource_ids.h"
#include "settings/display_settings.h"
#include "text/fixed_text.h"

namespace {

using namespace zarvo;

constexpr char kClassName[] = "ZarvoTablePreview";

struct Preview {
  DisplaySettings settings;
  CustomColours custom;
  Race race;
  CircuitTable circuits;
  int drivers = 12;
  int firstRow = 0;
  bool conflict = true;
  const char* probesFile = nullptr;
  bool probesWritten = false;
  int screenWidth = 0;
  int screenHeight = 0;
  RowFit fit = {};
  HFONT panelFont = nullptr;
};

Preview* g_preview = nullptr;

class NoHost : public PassageHost {
 public:
  void StopRun() override {}
  void Cue(SoundCue, int) override {}
  void RepaintResults() override {}
};

// A 10-minute practice run, 6 minutes in: every driver laps at his own pace with some spread.
void MakeRun(Preview& p) {
  static const char* const kNames[kSlotCount] = {
      "Lucas MARTIN",   "Emma BERNARD",    "Hugo DUBOIS",    "Léa THOMAS",
      "Nathan ROBERT",  "Chloé RICHARD",   "Louis PETIT",    "Manon DURAND",
      "Gabriel LEROY",  "Camille MOREAU",  "Jules SIMON",    "Inès LAURENT",
      "Arthur LEFEBVRE", "Zoé MICHEL",     "Raphaël GARCIA", "Jade DAVID",
      "Théo BERTRAND",  "Alice ROUX",      "Maël VINCENT",   "Lina FOURNIER"};
  Race& race = p.race;
  std::memset(&race, 0, sizeof race);
  std::memset(&p.circuits, 0, sizeof p.circuits);
  WipeTable(race);
  char transponder[8];
  for (int s = 0; s < kSlotCount; ++s) {
    if (s < p.drivers) {
      SetText(race.slots[s].driverName, kNames[s]);
      std::snprintf(transponder, sizeof transponder, "%06d", 4711 + 137 * s);
      SetText(race.slots[s].transponder, transponder);
    } else {
      SetText(race.slots[s].driverName, kNoDriver);
    }
  }
  SetDefaultRaceParameters(race.params);
  race.params.durationMinutes = 10;
  SplitDuration(race.params);
  ResetTable(race);
  WipeStandings(race);
  RebuildStandings(race);
  RebuildRows(race);
  race.run.runBestLap = kNoRunBest;
  race.run.raceRunning = true;

  struct Crossing {
    int32_t time;
    int slot;
  };
  std::vector<Crossing> crossings;
  unsigned seed = 12345;
  auto next = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 16) & 0x7FFF);
  };
  for (int s = 0; s < p.drivers; ++s) {
    const int32_t pace = 19800 + 260 * s;
    int32_t t = 1500 + 400 * s;  // the first crossing starts the driver's own clock
    while (t < 6 * 60000) {
      crossings.push_back({t, s});
      t += pace + (next() % 1600) - 500;
    }
  }
  std::sort(crossings.begin(), crossings.end(),
            [](const Crossing& a, const Crossing& b) { return a.time < b.time; });
  SoundSettings sounds = {};
  NoHost host;
  TimingContext ctx{race, p.circuits, sounds, host};
  for (const Crossing& c : crossings) ProcessPassage(ctx, race.slots[c.slot].transponder, c.time);

  // What the table shows at one moment: a car that just passed, a driver's new best lap, two
  // drivers who have finished.
  for (ParticipantRecord& r : race.slots) {
    r.lapRecorded = false;
    r.newBest = false;
  }
  if (p.drivers > 2) race.slots[2].lapRecorded = true;
  if (p.drivers > 4) race.slots[4].newBest = true;
  if (p.drivers > 6) race.slots[6].finished = true;
  if (p.drivers > 9) race.slots[9].finished = true;
  StandardRefresh(race);
}

ResultsPaintInputs Inputs(const Preview& p) {
  ResultsPaintInputs in = {};
  in.settings = &p.settings;
  in.metrics.screenWidth = p.screenWidth;
  in.metrics.screenHeight = p.screenHeight;
  std::memcpy(in.metrics.columnWidths, p.settings.columnWidths, sizeof in.metrics.columnWidths);
  in.metrics.rowHeight = p.fit.rowHeight;
  in.metrics.visibleRows = p.fit.visibleRows;
  in.firstVisibleRow = p.firstRow;
  in.rows = p.race.rows;
  in.runCaption = " SEANCE TRAINING - Run1 ";
  in.radioConflict = p.conflict;
  in.durationText = "0:10:00";
  in.remainingText = "0:04:00";
  in.elapsedText = "0:06:00";
  in.secondsText = "5s";
  return in;
}

HWND Control(HWND parent, const char* cls, const char* text, DWORD style, const ControlPlace& at,
             int id) {
  HWND w = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, at.x, at.y, at.width,
                           at.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  if (g_preview->panelFont != nullptr) {
    SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(g_preview->panelFont), FALSE);
  }
  return w;
}

// The race panel and the session tree around the table, at their computed places.
void CreateSurroundings(HWND window, const Preview& p) {
  const RacePanelLayout panel = ComputeRacePanelLayout(p.screenWidth, p.screenHeight);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const struct {
    const ControlPlace& place;
    int id;
    int bitmap;
  } buttons[] = {{panel.startButton, IDC_START, IDB_START},
                 {panel.stopButton, IDC_STOP, IDB_STOP},
                 {panel.clearButton, IDC_CLEAR, IDB_CLEAR}};
  for (const auto& b : buttons) {
    HWND w = Control(window, "BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, b.place, b.id);
    HANDLE picture = LoadImageA(instance, MAKEINTRESOURCEA(b.bitmap), IMAGE_BITMAP, 0, 0, 0);
    SendMessageA(w, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  }
  Control(window, "BUTTON", "", BS_GROUPBOX, panel.lapGroup, 0);
  for (int k = 1; k <= kLapButtonCount; ++k) {
    char number[4];
    std::snprintf(number, sizeof number, "%d", k);
    Control(window, "BUTTON", number, BS_PUSHBUTTON, panel.lapButtons[k - 1],
            IDC_MANUAL_LAP_FIRST + k - 1);
  }
  Control(window, "BUTTON", "", BS_GROUPBOX, panel.clockGroup, 2221);
  Control(window, "BUTTON", "", BS_GROUPBOX, panel.countdownGroup, 2222);

  RECT client;
  GetClientRect(window, &client);
  const ControlPlace treePlace = SessionTreePlace(client.bottom);
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT,
                              treePlace.x, treePlace.y, treePlace.width, treePlace.height, window,
                              reinterpret_cast<HMENU>(4000), instance, nullptr);
  HIMAGELIST images = ImageList_Create(GetSystemMetrics(SM_CXSMICON),
                                       GetSystemMetrics(SM_CYSMICON), ILC_COLOR32, 4, 0);
  for (int id : {IDI_TREE_TRACK, IDI_TREE_DRIVERS, IDI_TREE_PARAMETERS, IDI_TREE_SESSIONS}) {
    HICON icon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    ImageList_AddIcon(images, icon);
  }
  TreeView_SetImageList(tree, images, TVSIL_NORMAL);
  TreeView_SetBkColor(tree, p.settings.colours[kColourTree]);
  auto insert = [tree](HTREEITEM parent, const char* text, int image) {
    TVINSERTSTRUCTA item = {};
    item.hParent = parent;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.item.pszText = const_cast<char*>(text);
    item.item.iImage = image;
    item.item.iSelectedImage = image;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  };
  HTREEITEM root = insert(TVI_ROOT, "SEANCE TRAINING", 3);
  insert(root, "Track", 0);
  insert(root, "Drivers (12)", 1);
  insert(root, "Parameters", 2);
  HTREEITEM runs = insert(root, "Sessions", 3);
  insert(runs, "Run1", 3);
  TreeView_Expand(tree, root, TVE_EXPAND);
  TreeView_Expand(tree, runs, TVE_EXPAND);
}

// ------------------------------------------------------------------------------------------
// Probes: screen points and regions with the colour the table must show there.

void Hex(char (&out)[7], Colour c) {
  std::snprintf(out, sizeof out, "%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
}

struct ProbeWriter {
  std::FILE* file;
  POINT origin;  // screen position of the client area's top-left corner
  void Info(const char* key, int a, int b = 0) { std::fprintf(file, "info %s %d %d\n", key, a, b); }
  void Pixel(const char* name, int x, int y, Colour c) {
    char hex[7];
    Hex(hex, c);
    std::fprintf(file, "pixel %s %d %d %s\n", name, static_cast<int>(origin.x + x), static_cast<int>(origin.y + y), hex);
  }
  void Has(const char* name, int left, int top, int right, int bottom, Colour c) {
    char hex[7];
    Hex(hex, c);
    std::fprintf(file, "has %s %d %d %d %d %s\n", name, static_cast<int>(origin.x + left),
                 static_cast<int>(origin.y + top),
                 right - left, bottom - top, hex);
  }
};

// Visible row of the results row that holds a slot, or -1.
int VisibleRowOfSlot(const Preview& p, int slot) {
  for (int i = 0; i < p.fit.visibleRows; ++i) {
    const int index = p.firstRow + i;
    if (index >= kSlotCount) break;
    if (p.race.standings[index].slotNumber == slot) return i;
  }
  return -1;
}

void WriteProbes(HWND window, const Preview& p) {
  std::FILE* f = std::fopen(p.probesFile, "w");
  if (f == nullptr) return;
  ProbeWriter w{f, {0, 0}};
  ClientToScreen(window, &w.origin);
  const ResultsPaintInputs in = Inputs(p);
  const TableMetrics& m = in.metrics;
  const ResultsLayout l = ComputeResultsLayout(m);
  const DisplaySettings& s = p.settings;
  const int rows = m.visibleRows;

  w.Info("screen", p.screenWidth, p.screenHeight);
  w.Info("rows", p.fit.rowHeight, p.fit.rowsThatFit);
  w.Info("visible", rows, p.drivers);
  w.Info("origin", static_cast<int>(w.origin.x), static_cast<int>(w.origin.y));

  // Right of the table: the window background.
  w.Pixel("window-background", l.tableArea.right + 8, HeightUnits(300, m.screenHeight),
          s.colours[kColourWindow]);

  // Heading band gradient, in the blank left part of the Laps heading.
  const int hx = HeadingGridX(m, l, 1) + 4;
  const int hh = l.headingBand.bottom - l.headingBand.top;
  const Colour top = s.colours[kColourHeadingTop];
  const Colour bottom = s.colours[kColourHeadingBottom];
  w.Pixel("heading-line-3", hx, l.headingBand.top + 3, GradientLineColour(top, bottom, 3, hh));
  w.Pixel("heading-line-h-4", hx, l.headingBand.bottom - 4,
          GradientLineColour(top, bottom, hh - 4, hh));

  // Rows and marker cells, in the blank left part of the Laps column.
  const int band = RowBandHeight(l.rowsArea, rows);
  const int markerBand = RowBandHeight(l.markerColumn, rows);
  for (int i : {0, rows / 2, rows - 1}) {
    if (i < 0 || rows == 0) continue;
    const int rowTop = RowLineY(m, l, i);
    char name[32];
    for (int n : {3, band - 4}) {
      std::snprintf(name, sizeof name, "row-%d-line-%d", i, n);
      w.Pixel(name, RowsGridX(m, l, 1) + 4, rowTop + n,
              GradientLineColour(s.colours[kColourRowsTop], s.colours[kColourRowsBottom], n, band));
    }
    for (int n : {3, markerBand - 4}) {
      std::snprintf(name, sizeof name, "marker-%d-line-%d", i, n);
      w.Pixel(name, l.markerColumn.left + 4, rowTop + n, MarkerShadeColour(n, markerBand));
    }
  }
  // The grid line under the last row, and the table background below it when there is room.
  if (rows > 0) {
    const int y = RowLineY(m, l, rows);
    w.Has("grid-under-last-row", RowsGridX(m, l, 1) + 4, y - 1, RowsGridX(m, l, 1) + 12, y + 2,
          s.colours[kColourGrid]);
  }
  if (l.tableArea.bottom - l.rowsArea.bottom >= 10) {
    w.Pixel("table-background", l.tableArea.left + 10, l.tableArea.bottom - 5,
            s.colours[kColourTable]);
  }
  // The watermark's version line (from Y/3, as high as a ninth of the table's width) shows below
  // few rows.
  if (l.rowsArea.bottom + 4 < m.screenHeight / 3 + 60) {
    const int centre = (l.tableArea.left + l.tableArea.right) / 2;
    w.Has("watermark", centre - 300, std::max(l.rowsArea.bottom + 4, m.screenHeight / 3),
          centre + 300, l.tableArea.bottom - 4, WatermarkColour(s.colours[kColourTable]));
  }
  // Headings in their text colour, over the Driver column.
  w.Has("heading-text", HeadingX(m, l, 1), l.headingBand.top + 1, HeadingX(m, l, 1) + 60,
        l.headingBand.bottom - 1, s.textColours[kFontHeadings]);

  // Highlights and flags of the rows that are on screen.
  auto cell = [&](const char* name, int slot, int column, Colour c) {
    const int i = VisibleRowOfSlot(p, slot);
    if (i < 0) return;
    w.Has(name, RowsGridX(m, l, column - 1) + 3, RowTextTop(m, l, i),
          RowsGridX(m, l, column) - 3, RowLineY(m, l, i + 1) - 2, c);
  };
  cell("driver-name-text", 1, 1, s.textColours[kFontFirstColumn + 1]);
  if (p.drivers > 2) cell("passage-highlight", 3, 0, s.colours[kColourPassage]);
  for (int slot = 1; slot <= p.drivers; ++slot) {
    if (p.race.slots[slot - 1].runBestHolder) cell("run-best", slot, 5, s.colours[kColourRunBest]);
  }
  if (p.drivers > 4 && !p.race.slots[4].runBestHolder) {
    cell("driver-best", 5, 5, s.colours[kColourDriverBest]);
  }
  for (int slot : {7, 10}) {
    const int i = VisibleRowOfSlot(p, slot);
    if (slot > p.drivers || i < 0) continue;
    const int x = FinishFlagX(m, l);
    const int y = RowTextTop(m, l, i);
    w.Has("finish-flag-black", x, y, x + m.screenWidth / 64, y + 16, 0);
    w.Has("finish-flag-white", x, y, x + m.screenWidth / 64, y + 16, MakeColour(255, 255, 255));
  }

  // The clock strip and the event line.
  const int clockTop = HeightUnits(740, m.screenHeight);
  w.Has("clock-remaining", WidthUnits(185, m.screenWidth) + 200, clockTop,
        WidthUnits(310, m.screenWidth) + 200, clockTop + WidthUnits(35, m.screenWidth),
        MakeColour(0, 150, 0));
  w.Has("clock-elapsed", WidthUnits(310, m.screenWidth) + 200, clockTop,
        WidthUnits(435, m.screenWidth) + 200, clockTop + WidthUnits(35, m.screenWidth),
        MakeColour(150, 0, 0));
  if (p.conflict) {
    w.Has("event-line", l.eventLine.left, l.eventLine.top, std::min(l.eventLine.right, m.screenWidth),
          l.eventLine.bottom, s.colours[kColourEventLine]);
  }
  std::fclose(f);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Preview& p = *g_preview;
  switch (message) {
    case WM_CREATE:
      p.screenWidth = GetSystemMetrics(SM_CXSCREEN);
      p.screenHeight = GetSystemMetrics(SM_CYSCREEN);
      p.fit = FitVisibleRows(window, p.settings, p.race.participantCount, p.screenWidth,
                             p.screenHeight);
      CreateSurroundings(window, p);
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      HBRUSH brush = CreateSolidBrush(p.settings.colours[kColourWindow]);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      DeleteObject(brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      PaintResultsTable(dc, Inputs(p));
      EndPaint(window, &ps);
      if (p.probesFile != nullptr && !p.probesWritten && IsZoomed(window)) {
        p.probesWritten = true;
        WriteProbes(window, p);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Preview preview;
  g_preview = &preview;
  for (int i = 1; i < __argc; ++i) {
    const char* arg = __argv[i];
    const char* value = i + 1 < __argc ? __argv[i + 1] : nullptr;
    if (std::strcmp(arg, "--drivers") == 0 && value != nullptr) {
      preview.drivers = std::max(1, std::min(kSlotCount, std::atoi(value)));
      ++i;
    } else if (std::strcmp(arg, "--first") == 0 && value != nullptr) {
      preview.firstRow = std::max(0, std::min(kSlotCount - 1, std::atoi(value)));
      ++i;
    } else if (std::strcmp(arg, "--probes") == 0 && value != nullptr) {
      preview.probesFile = value;
      ++i;
    } else if (std::strcmp(arg, "--no-conflict") == 0) {
      preview.conflict = false;
    }
  }
  std::memset(&preview.settings, 0, sizeof preview.settings);
  preview.custom = {};
  if (ReadDisplaySettings(kDisplaySettingsFile, preview.settings, preview.custom) !=
      DisplayFileRead::kRead) {
    MessageBoxA(nullptr, "The display settings could not be read", "Preview", MB_OK);
  }
  MakeRun(preview);

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  LOGFONTA panel = {};
  panel.lfHeight = 16;
  panel.lfWeight = 700;
  std::strcpy(panel.lfFaceName, "Arial");
  preview.panelFont = CreateFontIndirectA(&panel);

  WNDCLASSA cls = {};
  cls.lpfnWndProc = PreviewProc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ZARVO));
  cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  cls.lpszClassName = kClassName;
  if (!RegisterClassA(&cls)) return 1;
  HWND window = CreateWindowA(kClassName, "Zarvo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                              instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  DeleteObject(preview.panelFont);
  return static_cast<int>(message.wParam);
}
