// Writing the HTML report.
#include "export/html_report.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "export/export_text.h"
#include "export/lap_chart.h"
#include "race/classification.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

// A driver's lap list is cut into tables that stand side by side: five of them across the page
// for a short run, of 10 to 25 laps each.
constexpr int kListTablesAcross = 5;
constexpr int kMinLapsPerListTable = 10;
constexpr int kMaxLapsPerListTable = 25;

int LapsPerListTable(int laps) {
  const int even = (laps + kListTablesAcross - 1) / kListTablesAcross;
  return std::clamp(even, kMinLapsPerListTable, kMaxLapsPerListTable);
}

// The page's style: screen and A4 paper. It holds neither '<' nor '&', so the page stays
// well-formed XML.
constexpr const char kStyle[] = R"css(
@page { size: A4; margin: 14mm 12mm 16mm 12mm; }
:root { --ink: #1c2530; --muted: #5a6675; --line: #d3dae3; --head: #1f3b63; --zebra: #f4f7fa;
        --best: #fff1b8; --accent: #00b464; }
* { box-sizing: border-box; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { margin: 0 auto; max-width: 980px; padding: 24px 28px 32px;
       font: 14px/1.45 Arial, "Liberation Sans", Helvetica, sans-serif; color: var(--ink);
       background: #ffffff; }
header.page { display: flex; align-items: center; gap: 20px; padding-bottom: 14px;
              border-bottom: 3px solid var(--head); }
header.page img { display: block; flex: none; }
header.page h1 { margin: 0; font-size: 26px; line-height: 1.2; color: var(--head); }
header.page p { margin: 2px 0 0; color: var(--muted); }
section.run { margin-top: 26px; }
section.run + section.run { break-before: page; }
h2 { margin: 0 0 4px; font-size: 21px; color: var(--head); }
p.meta { margin: 0 0 12px; color: var(--muted); }
p.meta span + span::before { content: "\00a0\00b7\00a0"; }
table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
th, td { padding: 4px 8px; border-bottom: 1px solid var(--line); }
th { background: var(--head); color: #ffffff; font-weight: bold; text-align: left; }
tbody tr:nth-child(even) td { background: var(--zebra); }
td.n, th.n { text-align: right; white-space: nowrap; }
table.classification { width: 100%; margin-bottom: 8px; }
table.classification td.name { font-weight: bold; }
td.run-best { background: var(--best) !important; font-weight: bold; }
section.driver { margin-top: 22px; padding-top: 10px; border-top: 1px solid var(--line); }
section.driver h3 { margin: 0; font-size: 17px; break-after: avoid; }
p.summary { margin: 2px 0 6px; color: var(--muted); break-after: avoid; }
figure.chart { margin: 4px 0 10px; break-inside: avoid; }
figure.chart svg { display: block; width: 100%; max-width: 720px; height: auto; }
div.laps { display: flex; flex-wrap: wrap; gap: 6px 18px; align-items: flex-start; }
table.laps { font-size: 12.5px; break-inside: avoid; }
table.laps th { padding: 3px 7px; font-size: 12px; }
table.laps td { padding: 2px 7px; }
table.laps tr.best td { background: var(--best); font-weight: bold; }
p.empty { color: var(--muted); font-style: italic; }
footer { margin-top: 30px; padding-top: 8px; border-top: 1px solid var(--line);
         color: var(--muted); font-size: 12px; }
@media print {
  body { max-width: none; padding: 0; font-size: 10pt; }
  header.page h1 { font-size: 18pt; }
  section.driver { margin-top: 5mm; padding-top: 2mm; }
  figure.chart { margin: 1mm 0 2mm; }
  figure.chart svg { max-width: 150mm; }
  table.laps { font-size: 8pt; }
  table.laps th { font-size: 7.5pt; padding: 1px 5px; }
  table.laps td { padding: 0 5px; }
}
)css";

// Appends the Windows-1252 text escaped.
void Put(std::string& out, std::string_view cp1252) {
  AppendEscaped(out, cp1252);
}

// <tag class="cls">text</tag>, the text Windows-1252.
void Element(std::string& out, const char* tag, const char* cls, std::string_view cp1252) {
  out += '<';
  out += tag;
  if (cls != nullptr) {
    out += " class=\"";
    out += cls;
    out += '"';
  }
  out += '>';
  Put(out, cp1252);
  out += "</";
  out += tag;
  out += '>';
}

// A time cell: the results table's text, or a dash for a driver without a lap.
void TimeCell(std::string& out, bool present, const char* text, bool runBest) {
  if (runBest) {
    out += "<td class=\"n run-best\" title=\"";
    Put(out, TXT_REPORT_BEST_OF_RUN);
    out += "\">";
  } else {
    out += "<td class=\"n\">";
  }
  if (present) {
    Put(out, text);
  } else {
    out += "&#8211;";
  }
  out += "</td>";
}

void RunHeading(std::string& out, const ExportRun& run) {
  char text[kExportCaptionCapacity + 16];
  if (run.runNumber > 0) {
    std::snprintf(text, sizeof text, TXT_REPORT_RUN, static_cast<int>(run.runNumber));
  } else {
    std::snprintf(text, sizeof text, "%s", run.runCaption);
  }
  Element(out, "h2", nullptr, text);
  out += "<p class=\"meta\">";
  if (run.runTitle[0] != '\0' && run.runTitle[0] != '.')
    Element(out, "span", nullptr, run.runTitle);
  if (run.circuitName[0] != '\0') {
    char circuit[kExportCircuitCapacity + 32];
    std::snprintf(circuit, sizeof circuit, TXT_REPORT_CIRCUIT, run.circuitName);
    Element(out, "span", nullptr, circuit);
  }
  if (run.driverCount > 1) {
    Element(out, "span", nullptr,
            run.rankedByBestLap ? TXT_REPORT_RANKED_BY_BEST : TXT_REPORT_RANKED_BY_LAPS);
  }
  out += "</p>";
}

void Classification(std::string& out, const ExportRun& run) {
  out += "<table class=\"classification\"><thead><tr>";
  Element(out, "th", "n", TXT_REPORT_POSITION);
  Element(out, "th", nullptr, TXT_REPORT_DRIVER);
  for (const char* heading : {TXT_REPORT_LAPS, TXT_REPORT_TOTAL, TXT_REPORT_BEST,
                              TXT_REPORT_AVERAGE, TXT_REPORT_WORST, TXT_REPORT_LAST}) {
    Element(out, "th", "n", heading);
  }
  out += "</tr></thead><tbody>";
  for (int k = 0; k < run.driverCount; ++k) {
    const ExportDriver& d = run.drivers[k];
    const bool laps = d.lapCount > 0;
    out += "<tr><td class=\"n\">" + std::to_string(d.position) + "</td>";
    Element(out, "td", "name", d.driverName);
    out += "<td class=\"n\">" + std::to_string(d.lapCount) + "</td>";
    TimeCell(out, laps, d.totalText, false);
    TimeCell(out, laps, d.bestText, d.bestOfRun && run.driverCount > 1);
    TimeCell(out, laps, d.averageText, false);
    TimeCell(out, laps, d.worstText, false);
    TimeCell(out, laps, d.lastText, false);
    out += "</tr>";
  }
  out += "</tbody></table>";
}

void LapList(std::string& out, const ExportDriver& d) {
  const int n = d.laps.lapCount;
  char lapText[kTimeTextCapacity];
  char raceText[kTimeTextCapacity];
  const int perTable = LapsPerListTable(n);
  out += "<div class=\"laps\">";
  for (int from = 1; from <= n; from += perTable) {
    out += "<table class=\"laps\"><thead><tr>";
    Element(out, "th", "n", TXT_REPORT_LAP);
    Element(out, "th", "n", TXT_REPORT_LAP_TIME);
    Element(out, "th", "n", TXT_REPORT_RACE_TIME);
    out += "</tr></thead><tbody>";
    for (int lap = from; lap < from + perTable && lap <= n; ++lap) {
      const int32_t time = d.laps.lapTimes[lap];
      LapTimeText(time, lapText, sizeof lapText);
      FormatTotalTime(SplitTime(d.laps.passageTimes[lap]), raceText, sizeof raceText);
      out += time == d.bestLap ? "<tr class=\"best\">" : "<tr>";
      out += "<td class=\"n\">" + std::to_string(lap) + "</td>";
      Element(out, "td", "n", lapText);
      Element(out, "td", "n", raceText);
      out += "</tr>";
    }
    out += "</tbody></table>";
  }
  out += "</div>";
}

void DriverPart(std::string& out, const ExportRun& run, int runIndex, int k) {
  const ExportDriver& d = run.drivers[k];
  const std::string id = "r" + std::to_string(runIndex + 1) + "-d" + std::to_string(k + 1);
  out += "<section class=\"driver\" id=\"" + id + "\">";
  char text[kDriverNameCapacity + 3 * kTimeTextCapacity + 64];
  std::snprintf(text, sizeof text, TXT_REPORT_DRIVER_HEADING, static_cast<int>(d.position),
                d.driverName);
  Element(out, "h3", nullptr, text);
  if (d.laps.lapCount <= 0) {
    Element(out, "p", "empty", TXT_REPORT_NO_LAP);
    out += "</section>";
    return;
  }
  std::snprintf(text, sizeof text, TXT_REPORT_DRIVER_SUMMARY, static_cast<int>(d.lapCount),
                d.bestText, d.averageText);
  Element(out, "p", "summary", text);
  for (int c = 0; c < LapChartCount(d); ++c) {
    out += "<figure class=\"chart\">";
    AppendLapChart(out, d, c, id + "-c" + std::to_string(c + 1));
    out += "</figure>";
  }
  LapList(out, d);
  out += "</section>";
}

}  // namespace

std::string HtmlReport(const ExportSession& session, const ExportPicture* logo) {
  std::string out;
  out.reserve(64 * 1024);
  out += "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"" ZARVO_EDITION_NAME
         "\" xml:lang=\"" ZARVO_EDITION_NAME
         "\">\n<head>\n<meta charset=\"utf-8\"/>\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
         "<meta name=\"generator\" content=\"Zarvo Training\"/>\n<title>";
  Put(out, session.title);
  out += "</title>\n<style>";
  out += kStyle;
  out += "</style>\n</head>\n<body>\n<header class=\"page\">";
  if (logo != nullptr && !logo->bytes.empty()) {
    out += "<img alt=\"\" width=\"" + std::to_string(logo->width) + "\" height=\"" +
           std::to_string(logo->height) + "\" src=\"data:";
    Put(out, logo->mimeType);
    out += ";base64,";
    AppendBase64(out, logo->bytes);
    out += "\"/>";
  }
  out += "<div>";
  Element(out, "h1", nullptr, session.title);
  if (session.label[0] != '\0') Element(out, "p", nullptr, session.label);
  out += "</div></header>\n<main>\n";
  if (session.runs.empty()) Element(out, "p", "empty", TXT_REPORT_NO_RUN);
  for (size_t i = 0; i < session.runs.size(); ++i) {
    const ExportRun& run = session.runs[i];
    out += "<section class=\"run\" id=\"r" + std::to_string(i + 1) + "\">";
    RunHeading(out, run);
    Classification(out, run);
    for (int k = 0; k < run.driverCount; ++k) DriverPart(out, run, static_cast<int>(i), k);
    out += "</section>\n";
  }
  out += "</main>\n<footer>";
  Put(out, TXT_REPORT_FOOTER);
  out += "</footer>\n</body>\n</html>\n";
  return out;
}

}  // namespace zarvo
