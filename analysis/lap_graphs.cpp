// The "Data", "Histo" and "Curve" views as drawing lists, on the screen and on paper.
#include "analysis/lap_graphs.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/catalogue.h"

namespace zarvo {

namespace {

// Fonts and colours of one form.
struct GraphStyle {
  int dx;
  int dy;
  bool furniture;  // backgrounds, heading lines, strip, hover
  DrawFont heading;
  DrawFont track;
  DrawFont strip;
  DrawFont summary;    // the three captions and their values
  DrawFont deviation;  // the standard-deviation line
  DrawFont table;      // the summary table
  DrawFont note;       // lap numbers of best and worst lap, "(regularity)"
  DrawFont histo;
  DrawFont curve;
  Colour summaryRowLine;
  Colour histoGridLine;
  Colour histoBar;
  Colour histoAverageLine;
  Colour curveGridLine;
};

constexpr DrawFont Arial(int height) {
  return DrawFont{int16_t(height), 400, false};
}

GraphStyle ScreenStyle() {
  GraphStyle s;
  s.dx = 0;
  s.dy = 0;
  s.furniture = true;
  s.heading = Arial(25);
  s.track = Arial(16);
  s.strip = Arial(16);
  s.summary = Arial(20);
  s.deviation = Arial(16);
  s.table = Arial(16);
  s.note = Arial(14);
  s.histo = Arial(14);
  s.curve = Arial(14);
  s.summaryRowLine = kSummaryRowLine;
  s.histoGridLine = kHistoGridLine;
  s.histoBar = kHistoBar;
  s.histoAverageLine = kHistoAverageLine;
  s.curveGridLine = kCurveGridLine;
  return s;
}

GraphStyle PaperStyle() {
  GraphStyle s = ScreenStyle();
  s.dx = kPaperOffsetX;
  s.dy = kPaperOffsetY;
  s.furniture = false;
  s.summary = Arial(19);
  s.deviation = Arial(15);
  s.table = Arial(15);
  s.note = Arial(13);
  s.histo = Arial(13);
  s.curve = Arial(14);
  s.summaryRowLine = kPaperSummaryRowLine;
  s.histoGridLine = kPaperGridLine;
  s.histoBar = kPaperHistoBar;
  s.histoAverageLine = kPaperHistoAverageLine;
  s.curveGridLine = kPaperGridLine;
  return s;
}

const GraphStyle kScreenStyle = ScreenStyle();
const GraphStyle kPaperStyle = PaperStyle();

const GraphStyle& StyleOf(GraphForm form) {
  return form == GraphForm::kPaper ? kPaperStyle : kScreenStyle;
}

// Where a form puts the axis captions of the graphs: the screen's places follow the plot area,
// the page has its own.
struct AxisCaptions {
  int lapsX, lapsY;
  int timeX, timeY;
};

int Clamp(int64_t v, int low, int high) {
  return v < low ? low : (v > high ? high : static_cast<int>(v));
}

// Keeps far-off coordinates (a 3.5-hour lap on the curve, a damaged run) inside what every
// device context takes; such points lie outside the plot anyway.
int Coordinate(int64_t v) {
  return Clamp(v, -100000, 100000);
}

// Seconds and tenths of a time, "%d.%d" or "%d.%01d" (the same text for a tenth digit).
void SecondsTenths(int32_t t, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%d.%d", static_cast<int>(t / 1000),
                static_cast<int>(t % 1000 / 100));
}

// Seconds and milliseconds, "%d.%03d".
void SecondsMillis(int32_t t, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%d.%03d", static_cast<int>(t / 1000), static_cast<int>(t % 1000));
}

void Number(int32_t v, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%d", static_cast<int>(v));
}

// The furniture every view shares on the screen: backgrounds, strip rows, heading lines and the
// lap-by-lap strip.
void DrawFurniture(const GraphInputs& in, GraphView view, const GraphStyle& style, DrawList& list) {
  const GraphAreas& a = kGraphAreas;
  list.Fill(a.band.left, a.band.top, a.band.right, a.band.bottom, kGraphBackground);
  list.Fill(a.strip.left, a.strip.top, a.strip.right, a.strip.bottom, kGraphBackground);
  list.Fill(a.plot.left, a.plot.top, a.plot.right, a.plot.bottom,
            view == GraphView::kData ? kGraphBackground : kGraphPlotBackground);

  list.Rectangle(360, 380, 920, 405, kBlack, kGraphHeaderRow);
  list.Rectangle(360, 405, 920, 430, kBlack, kGraphBodyRow);
  for (int x = 430; x <= 850; x += 70) list.Line(x, 380, x, 430, kBlack);

  const char* heading = in.headingLine != nullptr ? in.headingLine : "";
  const char* track = in.trackLine != nullptr ? in.trackLine : "";
  list.OpaqueText(a.header.left, a.header.top, TextAlign::kLeft, style.heading, kBlack,
                  kGraphHeaderRow, heading);
  list.OpaqueText(a.header.left, 40, TextAlign::kLeft, style.track, kBlack, kGraphHeaderRow, track);

  const int n = in.laps != nullptr ? in.laps->lapCount : 0;
  if (n <= 0) return;
  if (view == GraphView::kData) {
    list.Text(365, 385, TextAlign::kLeft, style.strip, kBlack, TXT_GRAPH_LAPS);
    list.Text(365, 410, TextAlign::kLeft, style.strip, kBlack, TXT_GRAPH_TIME);
  } else {
    list.Text(396, 385, TextAlign::kRight, style.strip, kBlack, TXT_GRAPH_LAPS);
    list.Text(404, 410, TextAlign::kRight, style.strip, kBlack, TXT_GRAPH_TIME);
  }
  const int offset = in.stripOffset > 0 ? in.stripOffset : 0;
  if (offset >= n) return;
  char text[32];
  for (int j = 0; j < 7; ++j) {
    const int b = offset + j;  // offset < n <= 999: no overflow
    if (b >= n) break;
    const int x = 495 + 70 * j;
    std::snprintf(text, sizeof text, TXT_GRAPH_STRIP_LAP, b + 1);
    list.Text(x, 385, TextAlign::kRight, style.strip, kBlack, text);
    LapTimeText(in.laps->lapTimes[b + 1], text, sizeof text);
    list.Text(x, 410, TextAlign::kRight, style.strip, kBlack, text);
  }
}

}  // namespace

char* FormatHeadingLine(const char* runCaption, const char* driverName, char* out,
                        size_t capacity) {
  std::snprintf(out, capacity, "%s : %s", runCaption, driverName);
  return out;
}

char* FormatTrackLine(const char* circuitName, const char* runTitle, char* out, size_t capacity) {
  std::snprintf(out, capacity, "%s%s   (%s) ", TXT_RUN_TRACK_CAPTION, circuitName, runTitle);
  return out;
}

GraphRect PlotArea(GraphForm form) {
  const GraphStyle& s = StyleOf(form);
  const GraphRect& p = kGraphAreas.plot;
  return GraphRect{p.left + s.dx, p.top + s.dy, p.right + s.dx, p.bottom + s.dy};
}

void DrawDataView(const GraphInputs& in, const LapSummary& summary, GraphForm form,
                  DrawList& list) {
  const GraphStyle& st = StyleOf(form);
  if (st.furniture) DrawFurniture(in, GraphView::kData, st, list);
  const int dx = st.dx;
  const int dy = st.dy;

  // The table: a header row and a body of ten rows, three columns.
  if (st.furniture) {
    list.Rectangle(600 + dx, 150 + dy, 930 + dx, 170 + dy, kBlack, kGraphHeaderRow);
    list.Rectangle(600 + dx, 170 + dy, 930 + dx, 343 + dy, kBlack, kGraphBodyRow);
  } else {
    list.Frame(600 + dx, 150 + dy, 930 + dx, 170 + dy, kBlack);
    list.Frame(600 + dx, 170 + dy, 930 + dx, 343 + dy, kBlack);
  }
  list.Line(790 + dx, 150 + dy, 790 + dx, 343 + dy, kBlack);
  list.Line(840 + dx, 150 + dy, 840 + dx, 343 + dy, kBlack);
  for (int k = 1; k <= 9; ++k) {
    const int y = 170 + 17 * k + 1 + dy;
    list.Line(601 + dx, y, 929 + dx, y, st.summaryRowLine);
  }

  const GraphRect plot = PlotArea(form);
  const int px = plot.left;
  const int py = plot.top;
  list.Text(px + 130, py + 50, TextAlign::kRight, st.summary, kBlack, TXT_SUMMARY_BEST_LAP);
  list.Text(px + 130, py + 75, TextAlign::kRight, st.summary, kBlack, TXT_SUMMARY_WORST_LAP);
  list.Text(px + 130, py + 110, TextAlign::kRight, st.summary, kBlack, TXT_SUMMARY_AVERAGE_LAP);
  list.Text(px + 130, py + 140, TextAlign::kRight, st.deviation, kBlack, TXT_SUMMARY_DEVIATION);
  list.Text(px + 300, py + 5, TextAlign::kLeft, st.table, kBlack, TXT_SUMMARY_LAP_TIME_COLUMN);
  list.Text(px + 500, py + 5, TextAlign::kRight, st.table, kBlack, TXT_GRAPH_LAPS);
  list.Text(px + 575, py + 5, TextAlign::kRight, st.table, kBlack, TXT_SUMMARY_SHARE_COLUMN);
  list.Text(px + 100, py + 160, TextAlign::kLeft, st.note, kBlack, TXT_SUMMARY_DEVIATION_NOTE);
  if (summary.lapTotal <= 0) return;  // an empty range: the frame without data

  char text[64];
  char value[32];
  list.Text(px + 220, py + 50, TextAlign::kRight, st.summary, kBlack,
            LapTimeText(summary.bestLap, text, sizeof text));
  list.Text(px + 220, py + 75, TextAlign::kRight, st.summary, kBlack,
            LapTimeText(summary.worstLap, text, sizeof text));
#if defined(ZARVO_EDITION_FR)
  // The French screen shows the average and the deviation to a tenth of a millisecond.
  const bool tenths = form == GraphForm::kScreen;
#else
  const bool tenths = false;
#endif
  if (tenths) {
    TenthsText(summary.averageTenths, text, sizeof text);
    TenthsText(summary.deviationTenths, value, sizeof value);
  } else {
    LapTimeText(summary.averageLap, text, sizeof text);
    LapTimeText(summary.standardDeviation, value, sizeof value);
  }
  list.Text(px + 220, py + 110, TextAlign::kRight, st.summary, kBlack, text);
  list.Text(px + 140, py + 140, TextAlign::kLeft, st.deviation, kBlack,
            DeviationText(value, text, sizeof text));

  for (int i = 0; i < kBandCount; ++i) {
    const int y = py + 25 + 17 * i;
    list.Text(px + 300, y, TextAlign::kLeft, st.table, kBlack,
              BandRowText(summary, i, text, sizeof text));
    Number(summary.bandCounts[i], text, sizeof text);
    list.Text(px + 500, y, TextAlign::kRight, st.table, kBlack, text);
    list.Text(px + 575, y, TextAlign::kRight, st.table, kBlack,
              ShareText(summary.bandShares[i], text, sizeof text));
  }
  list.Text(px + 225, py + 50, TextAlign::kLeft, st.note, kBlack,
            LapNumberText(summary.bestLapNumber, text, sizeof text));
  list.Text(px + 225, py + 75, TextAlign::kLeft, st.note, kBlack,
            LapNumberText(summary.worstLapNumber, text, sizeof text));
}

void DrawHistoView(const GraphInputs& in, const LapHistogram& histogram, int32_t heightScale,
                   GraphForm form, DrawList& list) {
  const GraphStyle& st = StyleOf(form);
  if (st.furniture) DrawFurniture(in, GraphView::kHisto, st, list);
  const GraphRect p = PlotArea(form);
  const int L = p.left, T = p.top, R = p.right, B = p.bottom;
  const int x0 = L + 48;
  const int axis = B - 20;
  const int32_t H = heightScale;

  list.Line(L + 10, axis, R - 10, axis, kBlack);
  list.Line(L + 30, T + 15, L + 30, B - 10, kBlack);
  if (H > 0) {
    for (int k = 0; k < 80; ++k) list.Line(x0 + 7 * k, axis, x0 + 7 * k, axis + 2, kBlack);
    for (int k = 0; k < 16; ++k) list.Line(x0 + 35 * k, axis, x0 + 35 * k, axis + 7, kBlack);
  }
  const int levels = H > 10 ? 5 : (H > 0 ? H : 0);
  auto levelY = [&](int k) { return H > 10 ? axis - 32 * k : axis - 160 * k / H; };
  for (int k = 1; k <= levels; ++k) {
    const int y = levelY(k);
    list.Line(L + 27, y, L + 30, y, kBlack);
    if (H > 10) list.Line(L + 28, y + 16, L + 30, y + 16, kBlack);
    list.Line(L + 31, y, R - 20, y, st.histoGridLine);
  }
  if (H >= 1) {
    for (int j = 0; j < kBinCount; ++j) {
      const int64_t height = int64_t(160) * histogram.binCounts[j] / H;
      const int x = x0 + 14 * j;
      list.Rectangle(x, Coordinate(axis - height), x + 13, B - 19, kBlack, st.histoBar);
    }
  }

  const int32_t base = histogram.binLimits[0];
  const int64_t xaWide = x0 + (int64_t(histogram.averageLap) - base) * 35 / 500;
  // A run with a lap of hours has its average far beyond the last bin: it is marked at the end
  // of the axis, where the reader still sees it and its value.
  const bool average = histogram.averageLap > 0;
  const int xa = static_cast<int>(std::clamp<int64_t>(xaWide, x0, R - 10));
  if (average) list.Line(xa, T + 10, xa, axis, st.histoAverageLine);

  AxisCaptions captions = {L + 45, T, R, B - 19};
  if (form == GraphForm::kPaper) captions = {105, 290, 688, 481};
  list.Text(captions.lapsX, captions.lapsY, TextAlign::kRight, st.histo, kBlack, TXT_GRAPH_LAPS);
  list.Text(captions.timeX, captions.timeY, TextAlign::kRight, st.histo, kBlack, TXT_GRAPH_TIME);
  char text[32];
  if (H > 0) {
    for (int k = 0; k < 16; ++k) {
      SecondsTenths(
          static_cast<int32_t>(int64_t(base) + 500 * k > INT32_MAX ? INT32_MAX : base + 500 * k),
          text, sizeof text);
      list.Text(x0 + 10 + 35 * k, axis + 7, TextAlign::kRight, st.histo, kBlack, text);
    }
    for (int k = 1; k <= levels; ++k) {
      Number(H > 10 ? static_cast<int32_t>(int64_t(H) * k / 5) : k, text, sizeof text);
      list.Text(L + 25, levelY(k) - 5, TextAlign::kRight, st.histo, kBlack, text);
    }
  }
  if (average) {
    list.Text(xa - 3, T, TextAlign::kRight, st.histo, kBlack, TXT_GRAPH_AVERAGE);
    SecondsMillis(histogram.averageLap, text, sizeof text);
    list.Text(xa + 2, T, TextAlign::kLeft, st.histo, kBlack, text);
  }
}

int CurvePointX(const GraphRect& plot, int i, int n) {
  if (n <= 0) return plot.left + 48;
  return plot.left + 48 + 560 * i / n;
}

int CurvePointY(const GraphRect& plot, const CurveScale& scale, int32_t time) {
  const int axis = plot.bottom - 20;
  if (scale.steps < 1 || scale.high <= scale.low) return axis;
  const int64_t q = scale.steps;
  const int64_t rise =
      (160 * q - 160) / q * (int64_t(time) - scale.low) / (int64_t(scale.high) - scale.low);
  return Coordinate(axis - 160 / q - rise);
}

void DrawCurveView(const GraphInputs& in, const CurveWindow& window, const CurveScale& scale,
                   GraphForm form, DrawList& list) {
  const GraphStyle& st = StyleOf(form);
  if (st.furniture) DrawFurniture(in, GraphView::kCurve, st, list);
  const GraphRect p = PlotArea(form);
  const int L = p.left, T = p.top, R = p.right, B = p.bottom;
  const int axis = B - 20;
  const int n = window.lapTotal;
  const int q = scale.steps;
  const int g = scale.gridLines;
  const bool spread = scale.high > scale.low;
  // The laps s..s+n-1 must lie in the run; a caller's window that does not fit it draws no data.
  const RunLaps* laps = in.laps;
  const int s = in.first < 1 ? 1 : in.first;
  const bool inRun = laps != nullptr && n > 0 && int64_t(s) + n - 1 <= laps->lapCount;
  const bool data = inRun && q > 0 && spread;
  auto lapAt = [&](int i) { return laps->lapTimes[s + i]; };

  if (inRun && g > 0 && spread) {
    for (int k = 1; k <= g; ++k) {
      const int y = axis - 160 * k / g;
      list.Line(L + 41, y, R - 20, y, st.curveGridLine);
    }
  }
  list.Line(L + 10, axis, R - 10, axis, kBlack);
  list.Line(L + 40, T + 15, L + 40, B - 10, kBlack);

  const int averageRight = form == GraphForm::kPaper ? 670 : R - 20;
  const int averageTextX = form == GraphForm::kPaper ? 680 : R - 10;
  const int yAverage = CurvePointY(p, scale, window.averageLap);
  if (data) {
    for (int i = 0; i < n; ++i) {
      const int x = CurvePointX(p, i, n);
      list.Line(x, axis, x, axis + 7, kBlack);
    }
    if (g > 0) {
      for (int k = 1; k <= g; ++k) {
        const int y = axis - 160 * k / g;
        list.Line(L + 38, y, L + 40, y, kBlack);
      }
    }
    if (window.averageLap < kCurveBreakLap)
      list.Line(L + 41, yAverage, averageRight, yAverage, kBlack);
    for (int i = 1; i < n; ++i) {
      const int32_t a = lapAt(i - 1);
      const int32_t b = lapAt(i);
      if (a >= kCurveBreakLap || b >= kCurveBreakLap) continue;
      list.Line(CurvePointX(p, i - 1, n), CurvePointY(p, scale, a), CurvePointX(p, i, n),
                CurvePointY(p, scale, b), kCurveLine, kCurveLineWidth);
    }
  }

  AxisCaptions captions = {R, B - 16, L + 55, T};
  if (form == GraphForm::kPaper) captions = {688, 481, 115, 290};
  list.Text(captions.timeX, captions.timeY, TextAlign::kRight, st.curve, kBlack, TXT_GRAPH_TIME);
  list.Text(captions.lapsX, captions.lapsY, TextAlign::kRight, st.curve, kBlack, TXT_GRAPH_LAPS);
  char text[48];
  if (data) {
    const int every = n <= 19 ? 1 : 5;
    for (int i = 0; i < n; i += every) {
      Number(s + i, text, sizeof text);
      list.Text(CurvePointX(p, i, n), axis + 7, TextAlign::kCentre, st.curve, kBlack, text);
    }
    const int b = q > 9 ? q / 5 : 1;
    for (int k = 1; k <= q; k += b) {  // k = 1 + m b while m b < q
      const int64_t level = int64_t(scale.low) + int64_t(k - 1) * 500;
      SecondsTenths(level > INT32_MAX ? INT32_MAX : static_cast<int32_t>(level), text, sizeof text);
      list.Text(L + 35, B - 27 - 160 * k / q, TextAlign::kRight, st.curve, kBlack, text);
    }
    if (window.averageLap >= 1 && window.averageLap < kCurveBreakLap) {
      list.Text(averageTextX, yAverage - 35, TextAlign::kRight, st.curve, kBlack,
                TXT_GRAPH_AVERAGE);
      SecondsMillis(window.averageLap, text, sizeof text);
      list.Text(averageTextX, yAverage - 20, TextAlign::kRight, st.curve, kBlack, text);
    }
  }

  const CurveHover& h = in.hover;
  if (st.furniture && data && h.active && h.index >= 0 && h.index < n) {
    const int x = Clamp(h.mouseX, L + 45, R - 45);
    const int y = Clamp(h.mouseY, T + 30, B);
    list.Ellipse(x - 45, y - 30, x + 45, y, kBlack, kWhite);
    char lap[24];
    LapTimeText(lapAt(h.index), text, sizeof text);
    std::snprintf(lap, sizeof lap, TXT_GRAPH_HOVER_LAP, s + h.index);
    std::strncat(text, lap, sizeof text - std::strlen(text) - 1);
    list.Text(x, y - 23, TextAlign::kCentre, st.curve, kBlack, text);
  }
}

void ComputeViewNumbers(GraphView view, const RunLaps& laps, int first, int last,
                        ViewNumbers& numbers) {
  std::memset(&numbers, 0, sizeof numbers);
  switch (view) {
    case GraphView::kData:
      Summarise(laps, first, last, numbers.summary);
      break;
    case GraphView::kHisto:
      MakeHistogram(laps, first, last, numbers.histogram);
      numbers.heightScale = HistogramHeightScale(numbers.histogram);
      break;
    case GraphView::kCurve:
      MakeCurveWindow(laps, first, last, numbers.curve);
      numbers.curveScale = MakeCurveScale(numbers.curve);
      break;
  }
}

void DrawView(GraphView view, const GraphInputs& in, GraphForm form, ViewNumbers& numbers,
              DrawList& list) {
  static const RunLaps kNoLaps = {};
  ComputeViewNumbers(view, in.laps != nullptr ? *in.laps : kNoLaps, in.first, in.last, numbers);
  switch (view) {
    case GraphView::kData:
      DrawDataView(in, numbers.summary, form, list);
      break;
    case GraphView::kHisto:
      DrawHistoView(in, numbers.histogram, numbers.heightScale, form, list);
      break;
    case GraphView::kCurve:
      DrawCurveView(in, numbers.curve, numbers.curveScale, form, list);
      break;
  }
}

bool TrackCurveHover(CurveHover& hover, int mouseX, int mouseY, const RunLaps& laps, int first,
                     const CurveWindow& window, const CurveScale& scale) {
  const int n = window.lapTotal;
  const int s = first < 1 ? 1 : first;
  if (n < 1 || scale.steps < 1 || scale.high <= scale.low || int64_t(s) + n - 1 > laps.lapCount) {
    return false;
  }
  const GraphRect plot = PlotArea(GraphForm::kScreen);
  auto near = [&](int i, int across, int down) {
    const int64_t dx = int64_t(mouseX) - CurvePointX(plot, i, n);
    const int64_t dy = int64_t(mouseY) - CurvePointY(plot, scale, laps.lapTimes[s + i]);
    return dx >= -across && dx <= across && dy >= -down && dy <= down;
  };
  if (hover.active && hover.index >= 0 && hover.index < n) {
    hover.mouseX = mouseX;
    hover.mouseY = mouseY;
    if (near(hover.index, 2, 4)) return false;
    hover.active = false;
    return true;
  }
  hover.active = false;
  for (int i = 0; i < n; ++i) {
    if (laps.lapTimes[s + i] >= kCurveBreakLap || !near(i, 1, 3)) continue;
    hover = CurveHover{true, i, mouseX, mouseY};
    return true;
  }
  return false;
}

}  // namespace zarvo
