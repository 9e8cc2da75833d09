// A driver's lap-time chart: the curve view's drawing list as SVG.
#include "export/lap_chart.h"

#include <cstdio>
#include <memory>

#include "analysis/lap_graphs.h"
#include "export/svg_replay.h"
#include "text/catalogue.h"

namespace zarvo {

int LapChartCount(const ExportDriver& driver) {
  const int n = driver.laps.lapCount;
  return n <= 0 ? 0 : (n + kLapsPerChart - 1) / kLapsPerChart;
}

void AppendLapChart(std::string& out, const ExportDriver& driver, int index,
                    std::string_view idPrefix) {
  const int n = driver.laps.lapCount;
  const int first = 1 + kLapsPerChart * index;
  if (index < 0 || first > n) return;
  const int last = first + kCurveWindowSpan < n ? first + kCurveWindowSpan : n;

  auto list = std::make_unique<DrawList>();
  list->Clear();
  GraphInputs in{};
  in.laps = &driver.laps;
  in.first = first;
  in.last = last;
  ViewNumbers numbers;
  DrawView(GraphView::kCurve, in, GraphForm::kPaper, numbers, *list);

  // The plot with its captions and labels, which stand a little outside it.
  const GraphRect plot = PlotArea(GraphForm::kPaper);
  const SvgView view{plot.left - 5, plot.top - 14, plot.right - plot.left + 15,
                     plot.bottom - plot.top + 18};
  char title[kDriverNameCapacity + 64];
  std::snprintf(title, sizeof title, TXT_REPORT_CHART_TITLE, driver.driverName, first, last);
  AppendSvg(out, *list, view, title, idPrefix);
}

}  // namespace zarvo
