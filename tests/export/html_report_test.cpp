// The HTML report: names escaped and converted, nothing outside the page, the edition's
// language, the charts and lap lists of every driver, and a full 20-driver, 999-lap run.
#include "export/html_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "export/export_text.h"
#include "tests/support/sample_session.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::PracticeLapsOf;
using testing::RunOfDrivers;
using testing::SampleDriver;

std::unique_ptr<ExportSession> SessionOf(const std::vector<SampleDriver>& drivers,
                                         const char* title = "CLUB DAY") {
  auto race = RunOfDrivers(drivers);
  auto session = std::make_unique<ExportSession>();
  std::snprintf(session->title, sizeof session->title, "%s", title);
  session->label[0] = '\0';
  session->runs.resize(1);
  BuildRunFromRace(*race, ExportRunInfo{1, " CLUB - Run1 ", "Start 2026/05/01", "Les Ormes"},
                   session->runs[0]);
  return session;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

std::string Escaped(const char* cp1252) {
  std::string out;
  AppendEscaped(out, cp1252);
  return out;
}

TEST(HtmlEscaping, MarkupCharactersAndControlCharactersNeverReachThePage) {
  EXPECT_EQ(Escaped("<script>alert('x')</script> & \"Co\""),
            "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;Co&quot;");
  EXPECT_EQ(Escaped("L\xE9"
                    "a \x8C\x80"),
            "L\xC3\xA9"
            "a \xC5\x92\xE2\x82\xAC");
  EXPECT_EQ(Escaped("a\x01"
                    "b\x1F\x7F\x81\x9D"
                    "c"),
            "a?b????c");
  EXPECT_EQ(Escaped("two\r\nlines\tand tab"), "two  lines and tab");
  EXPECT_EQ(Escaped("&amp;"), "&amp;amp;");
}

TEST(HtmlReport, NamesTitlesAndCircuitsAreEscaped) {
  const char* evil = "<script>alert(1)</script> & Co";
  auto session =
      SessionOf({{evil, {20000, 21000}}, {"Bob <b>&amp;</b>", {20500}}}, "Club <i>Night</i> & Day");
  std::snprintf(session->label, sizeof session->label, "%s", "<img src=x onerror=alert(1)>");
  std::snprintf(session->runs[0].circuitName, sizeof session->runs[0].circuitName, "%s",
                "A&B <Ring>");
  const std::string page = HtmlReport(*session);
  EXPECT_EQ(Lower(page).find("<script"), std::string::npos);
  EXPECT_EQ(Lower(page).find("<img"), std::string::npos);
  EXPECT_EQ(page.find("<b>"), std::string::npos);
  EXPECT_EQ(page.find("<i>"), std::string::npos);
  // The classification cell, the driver's heading and the chart's title.
  EXPECT_GE(Count(page, "&lt;script&gt;alert(1)&lt;/script&gt; &amp; Co"), 3u);
  EXPECT_EQ(Count(page, "<title>Club &lt;i&gt;Night&lt;/i&gt; &amp; Day</title>"), 1u);
  EXPECT_EQ(Count(page, "Bob &lt;b&gt;&amp;amp;&lt;/b&gt;"), 3u);
  EXPECT_EQ(Count(page, "&lt;img src=x onerror=alert(1)&gt;"), 1u);
  EXPECT_EQ(Count(page, "A&amp;B &lt;Ring&gt;"), 1u);
}

TEST(HtmlReport, IsSelfContainedWithoutScript) {
  auto session = SessionOf({{"ANNA", PracticeLapsOf(30, 1)}, {"BOB", PracticeLapsOf(12, 2)}});
  const std::string bmp = "BM\x01\x02\x03\xFF";
  const ExportPicture logo{"image/bmp", bmp, 200, 50};
  const std::string page = HtmlReport(*session, &logo);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\"", 0), 0u);
  EXPECT_EQ(Lower(page).find("<script"), std::string::npos);
  EXPECT_FALSE(std::regex_search(page, std::regex(" on[a-z]+=")));
  // The only references are the picture's data: URI and the SVG's own ids.
  const std::regex reference("(src|href)=\"([^\"]*)\"");
  int references = 0;
  for (std::sregex_iterator it(page.begin(), page.end(), reference), end; it != end; ++it) {
    EXPECT_EQ((*it)[2].str().rfind("data:", 0), 0u) << (*it)[0];
    ++references;
  }
  EXPECT_EQ(references, 1);
  EXPECT_EQ(Count(page, "src=\"data:image/bmp;base64,Qk0BAgP/\""), 1u);
  EXPECT_EQ(Count(page, "url("), 0u);  // the style fetches nothing either
  EXPECT_EQ(Count(page, "@page { size: A4;"), 1u);
  EXPECT_EQ(Count(page, "<style>"), 1u);
}

TEST(HtmlReport, IsInTheEditionsLanguage) {
  auto session = SessionOf({{"ANNA", {20000}}});
  const std::string page = HtmlReport(*session);
  EXPECT_EQ(Count(page, " lang=\"" ZARVO_EDITION_NAME "\" xml:lang=\"" ZARVO_EDITION_NAME "\""),
            1u);
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(Count(page, "<th>Pilote</th>"), 1u);
  EXPECT_EQ(Count(page, "Temps au tour de ANNA, tours 1 \xC3\xA0 1"), 1u);
#else
  EXPECT_EQ(Count(page, "<th>Driver</th>"), 1u);
  EXPECT_EQ(Count(page, "Lap times of ANNA, laps 1 to 1"), 1u);
#endif
}

TEST(HtmlReport, EveryDriverHasHisChartsAndEveryLap) {
  const std::vector<int32_t> laps = PracticeLapsOf(250, 3);
  auto session = SessionOf({{"ANNA", laps}, {"BOB", PracticeLapsOf(30, 4)}, {"DORA", {}}});
  const std::string page = HtmlReport(*session);
  EXPECT_EQ(Count(page, "<section class=\"driver\""), 3u);
  EXPECT_EQ(Count(page, "<svg "), 3u + 1u);  // 250 laps: 3 charts; 30 laps: 1; none: 0
  // In tables of 10 to 25 laps: 250 laps in 10 of 25, 30 laps in 3 of 10.
  EXPECT_EQ(Count(page, "<table class=\"laps\">"), 10u + 3u);
  // Every lap row: a lap number cell, the lap time and the race time.
  const std::regex lapRow("<tr( class=\"best\")?><td class=\"n\">[0-9]+</td><td class=\"n\">");
  const std::ptrdiff_t rows =
      std::distance(std::sregex_iterator(page.begin(), page.end(), lapRow), std::sregex_iterator());
  EXPECT_EQ(rows, 250 + 30);
  EXPECT_EQ(Count(page, Escaped(TXT_REPORT_NO_LAP)), 1u);
  // ANNA's best lap is marked in her list as often as she drove it.
  const int32_t best = *std::min_element(laps.begin(), laps.end());
  EXPECT_GE(Count(page, "<tr class=\"best\">"), size_t(std::count(laps.begin(), laps.end(), best)));
}

TEST(HtmlReport, TheRunBestLapIsMarkedInTheClassification) {
  auto session = SessionOf({{"ANNA", {20000, 21000}}, {"BOB", {19500, 30000}}});
  const std::string page = HtmlReport(*session);
  EXPECT_EQ(Count(page, "class=\"n run-best\""), 1u);
  EXPECT_NE(page.find("class=\"n run-best\" title=\"" + Escaped(TXT_REPORT_BEST_OF_RUN) +
                      "\">19.500</td>"),
            std::string::npos);
}

TEST(HtmlReport, AnEmptySessionSaysItHasNoRun) {
  ExportSession session;
  std::snprintf(session.title, sizeof session.title, "%s", "EMPTY");
  session.label[0] = '\0';
  const std::string page = HtmlReport(session);
  EXPECT_EQ(Count(page, Escaped(TXT_REPORT_NO_RUN)), 1u);
  EXPECT_EQ(Count(page, "<section"), 0u);
  EXPECT_EQ(page.substr(page.size() - 8), "</html>\n");
}

TEST(HtmlReport, TwentyDriversOf999LapsMakeAPageOfBoundedSize) {
  auto session = SessionOf(testing::FullField("Driver %02d", 50u));
  const std::string page = HtmlReport(*session);
  EXPECT_EQ(Count(page, "<svg "), size_t(kSlotCount) * 10);
  EXPECT_EQ(Count(page, "<table class=\"laps\">"), size_t(kSlotCount) * 40);
  EXPECT_LT(page.size(), size_t(8) << 20) << page.size();
}

TEST(Base64, EncodesWithPadding) {
  auto encode = [](std::string_view bytes) {
    std::string out;
    AppendBase64(out, bytes);
    return out;
  };
  EXPECT_EQ(encode(""), "");
  EXPECT_EQ(encode("M"), "TQ==");
  EXPECT_EQ(encode("Ma"), "TWE=");
  EXPECT_EQ(encode("Man"), "TWFu");
  EXPECT_EQ(encode(std::string("\xFF\xFE\x00\x01", 4)), "//4AAQ==");
}

}  // namespace
}  // namespace zarvo
