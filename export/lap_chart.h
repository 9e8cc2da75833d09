// The lap-time chart of the HTML report: the "Curve" view of the run windows in its paper form
// (the printout's plot, fonts and colours), replayed as SVG. Like the view, one chart shows at
// most 101 laps; a longer run gets one chart per 101 laps.
#pragma once

#include <string>
#include <string_view>

#include "export/export_model.h"

namespace zarvo {

constexpr int kLapsPerChart = kCurveWindowSpan + 1;

// The number of charts a driver's laps need (0 without a lap).
int LapChartCount(const ExportDriver& driver);

// Appends chart `index` (0-based): laps 1 + 101 index up to 101 laps further, drawn by the curve
// view over that range. idPrefix keeps its ids unique in the page.
void AppendLapChart(std::string& out, const ExportDriver& driver, int index,
                    std::string_view idPrefix);

}  // namespace zarvo
