// The SVG replay of drawing lists: GDI's pixel rules, fonts, merged paths, escaping, and the
// report's lap chart drawn from the curve view's own geometry.
#include "export/svg_replay.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "analysis/lap_graphs.h"
#include "export/lap_chart.h"
#include "tests/support/sample_session.h"

namespace zarvo {
namespace {

constexpr SvgView kView{0, 0, 100, 100};
constexpr Colour kRed = MakeColour(200, 10, 20);

std::string Replay(const DrawList& list, std::string_view title = "t") {
  std::string out;
  AppendSvg(out, list, kView, title, "p");
  return out;
}

std::unique_ptr<DrawList> NewList() {
  auto list = std::make_unique<DrawList>();
  list->Clear();
  return list;
}

bool Has(const std::string& svg, const std::string& part) {
  return svg.find(part) != std::string::npos;
}

TEST(SvgReplay, ColoursAreWrittenRedGreenBlue) {
  EXPECT_EQ(SvgColour(MakeColour(0, 180, 100)), "#00b464");
  EXPECT_EQ(SvgColour(kRed), "#c80a14");
  EXPECT_EQ(SvgColour(kWhite), "#ffffff");
}

TEST(SvgReplay, RectanglesCoverThePixelsGdiCovers) {
  auto list = NewList();
  list->Fill(10, 20, 30, 25, kRed);
  list->Frame(10, 20, 30, 40, kBlack);
  list->Rectangle(40, 50, 53, 60, kBlack, kWhite);
  list->Rectangle(60, 478, 73, 479, kBlack, kRed);  // a histogram bar of count 0: one pen row
  list->Fill(5, 5, 5, 9, kRed);                     // empty: nothing
  const std::string svg = Replay(*list);
  EXPECT_PRED2(Has, svg, "<rect x=\"10\" y=\"20\" width=\"20\" height=\"5\" fill=\"#c80a14\"/>");
  EXPECT_PRED2(Has, svg,
               "<rect x=\"10.5\" y=\"20.5\" width=\"19\" height=\"19\" fill=\"none\" "
               "stroke=\"#000000\"/>");
  EXPECT_PRED2(Has, svg,
               "<rect x=\"40.5\" y=\"50.5\" width=\"12\" height=\"9\" fill=\"#ffffff\" "
               "stroke=\"#000000\"/>");
  EXPECT_PRED2(Has, svg, "<rect x=\"60\" y=\"478\" width=\"13\" height=\"1\" fill=\"#000000\"/>");
  EXPECT_FALSE(Has(svg, "x=\"5\""));
}

TEST(SvgReplay, ThinLinesLieOnPixelCentresAndLeaveOutTheirEndPoint) {
  auto list = NewList();
  list->Line(0, 5, 10, 5, kBlack);
  list->Line(3, 0, 3, 10, kBlack);
  list->Line(0, 0, 4, 8, kBlack);
  const std::string svg = Replay(*list);
  // One path for the three lines of one pen, each its own sub-path with square ends.
  EXPECT_PRED2(Has, svg,
               "<path d=\"M0 5.5L10 5.5M3.5 0L3.5 10M0.5 0.5L4.5 8.5\" fill=\"none\" "
               "stroke=\"#000000\"/>");
}

TEST(SvgReplay, LinesOfOnePenShareAPathAndAxisAlignedOnesAreCrisp) {
  auto list = NewList();
  list->Line(0, 5, 10, 5, kBlack);
  list->Line(0, 7, 10, 7, kBlack);
  list->Line(0, 9, 10, 9, kRed);
  list->Line(0, 0, 10, 10, kRed, 2);
  list->Line(10, 10, 20, 5, kRed, 2);
  list->Line(30, 5, 40, 5, kRed, 2);
  const std::string svg = Replay(*list);
  EXPECT_PRED2(Has, svg,
               "<path d=\"M0 5.5L10 5.5M0 7.5L10 7.5\" fill=\"none\" stroke=\"#000000\" "
               "shape-rendering=\"crispEdges\"/>");
  EXPECT_PRED2(Has, svg,
               "<path d=\"M0 9.5L10 9.5\" fill=\"none\" stroke=\"#c80a14\" "
               "shape-rendering=\"crispEdges\"/>");
  // A wide pen: round ends, a chain runs on, a gap starts a new sub-path.
  EXPECT_PRED2(Has, svg,
               "<path d=\"M0 0L10 10L20 5M30 5L40 5\" fill=\"none\" "
               "stroke=\"#c80a14\" stroke-width=\"2\" stroke-linecap=\"round\" "
               "stroke-linejoin=\"round\"/>");
}

TEST(SvgReplay, TextsUseTheCellHeightAndAnchorAtTheTopOfTheCell) {
  auto list = NewList();
  list->Text(100, 200, TextAlign::kRight, DrawFont{14, 400, false}, kBlack, "Laps");
  list->Text(50, 60, TextAlign::kCentre, DrawFont{25, 700, true}, kRed, "A");
  list->Text(10, 10, TextAlign::kLeft, DrawFont{16, 400, false}, kBlack, "x");
  const std::string svg = Replay(*list);
  // Arial: em = 2048 / 2288 of the cell, baseline 1854 / 2288 below its top.
  EXPECT_PRED2(Has, svg,
               "<text x=\"100\" y=\"211.34\" font-size=\"12.53\" text-anchor=\"end\">"
               "Laps</text>");
  EXPECT_PRED2(Has, svg,
               "<text x=\"50\" y=\"80.26\" font-size=\"22.38\" font-weight=\"700\" "
               "text-decoration=\"underline\" text-anchor=\"middle\" fill=\"#c80a14\">"
               "A</text>");
  EXPECT_PRED2(Has, svg, "<text x=\"10\" y=\"22.97\" font-size=\"14.32\">x</text>");
}

TEST(SvgReplay, OpaqueTextsGetTheirBackgroundFromOneFilterPerColour) {
  auto list = NewList();
  list->OpaqueText(0, 0, TextAlign::kLeft, DrawFont{25, 400, false}, kBlack, kWhite, "a");
  list->OpaqueText(0, 40, TextAlign::kLeft, DrawFont{16, 400, false}, kBlack, kWhite, "b");
  const std::string svg = Replay(*list);
  EXPECT_PRED2(Has, svg,
               "<defs><filter id=\"p-bgffffff\" x=\"0\" y=\"0\" width=\"1\" "
               "height=\"1\"><feFlood flood-color=\"#ffffff\"/><feComposite "
               "in=\"SourceGraphic\"/></filter></defs>");
  EXPECT_EQ(std::regex_search(svg, std::regex("filter=\"url\\(#p-bgffffff\\)\"")), true);
  size_t filters = 0;
  for (size_t at = svg.find("<filter "); at != std::string::npos; at = svg.find("<filter ", at + 1))
    ++filters;
  EXPECT_EQ(filters, 1u);
}

TEST(SvgReplay, TextsAndTitleAreEscapedAndConvertedToUtf8) {
  auto list = NewList();
  list->Text(0, 0, TextAlign::kLeft, DrawFont{14, 400, false}, kBlack, "<b>&\"\xE9\"</b>");
  const std::string svg = Replay(*list, "Lap times of <script>\x80");
  EXPECT_PRED2(Has, svg, ">&lt;b&gt;&amp;&quot;\xC3\xA9&quot;&lt;/b&gt;</text>");
  EXPECT_PRED2(Has, svg, "<title id=\"p-title\">Lap times of &lt;script&gt;\xE2\x82\xAC</title>");
  EXPECT_FALSE(Has(svg, "<script"));
  EXPECT_PRED2(Has, svg,
               "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\" "
               "width=\"100\" height=\"100\" role=\"img\" aria-labelledby=\"p-title\"");
  EXPECT_EQ(svg.substr(svg.size() - 6), "</svg>");
}

// The segments of the curve, from a path d of M/L commands.
std::vector<std::vector<double>> SubPaths(const std::string& d) {
  std::vector<std::vector<double>> paths;
  const std::regex command("([ML])(-?[0-9.]+) (-?[0-9.]+)");
  for (std::sregex_iterator it(d.begin(), d.end(), command), end; it != end; ++it) {
    if ((*it)[1] == "M") paths.emplace_back();
    paths.back().push_back(std::stod((*it)[2]));
    paths.back().push_back(std::stod((*it)[3]));
  }
  return paths;
}

TEST(LapChart, DrawsTheCurveViewsOwnSegments) {
  auto race = testing::RunOfDrivers({{"ANNA", testing::PracticeLapsOf(30, 5)}});
  auto run = std::make_unique<ExportRun>();
  BuildRunFromRace(*race, ExportRunInfo{1, "", "", ""}, *run);
  const ExportDriver& d = run->drivers[0];
  ASSERT_EQ(LapChartCount(d), 1);
  std::string svg;
  AppendLapChart(svg, d, 0, "c");

  // The paper form of the curve view over the same laps, as the printout draws it.
  auto list = NewList();
  GraphInputs in{};
  in.laps = &d.laps;
  in.first = 1;
  in.last = 30;
  ViewNumbers numbers;
  DrawView(GraphView::kCurve, in, GraphForm::kPaper, numbers, *list);
  std::vector<const DrawOp*> segments;
  for (int i = 0; i < list->count; ++i) {
    if (list->ops[i].kind == DrawKind::kLine && list->ops[i].colour == kCurveLine)
      segments.push_back(&list->ops[i]);
  }
  ASSERT_EQ(segments.size(), 29u);

  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, std::regex("<path d=\"([^\"]*)\"[^>]*stroke=\"#00b464\"")));
  const auto paths = SubPaths(m[1]);
  ASSERT_EQ(paths.size(), 1u);  // one unbroken chain
  ASSERT_EQ(paths[0].size(), 2 * (segments.size() + 1));
  for (size_t i = 0; i < segments.size(); ++i) {
    EXPECT_EQ(paths[0][2 * i], segments[i]->x1);
    EXPECT_EQ(paths[0][2 * i + 1], segments[i]->y1);
    EXPECT_EQ(paths[0][2 * i + 2], segments[i]->x2);
    EXPECT_EQ(paths[0][2 * i + 3], segments[i]->y2);
  }
  // Every text of the view is in the chart.
  for (int i = 0; i < list->count; ++i) {
    if (list->ops[i].kind != DrawKind::kText) continue;
    EXPECT_PRED2(Has, svg, ">" + std::string(list->TextOf(list->ops[i])) + "</text>");
  }
}

TEST(LapChart, ALongRunGetsOneChartPer101Laps) {
  for (const auto& [laps, charts] :
       std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {101, 1}, {102, 2}, {250, 3}, {999, 10}}) {
    auto race = testing::RunOfDrivers({{"ANNA", testing::PracticeLapsOf(laps, 9)}});
    auto run = std::make_unique<ExportRun>();
    BuildRunFromRace(*race, ExportRunInfo{1, "", "", ""}, *run);
    EXPECT_EQ(LapChartCount(run->drivers[0]), charts) << laps;
    std::string svg;
    AppendLapChart(svg, run->drivers[0], charts, "c");  // one past the last: nothing
    EXPECT_TRUE(svg.empty());
    if (charts == 0) continue;
    AppendLapChart(svg, run->drivers[0], charts - 1, "c");
    // The last chart's first lap label is lap 1 + 101 (charts - 1).
    EXPECT_PRED2(Has, svg, ">" + std::to_string(1 + 101 * (charts - 1)) + "</text>");
  }
}

}  // namespace
}  // namespace zarvo
