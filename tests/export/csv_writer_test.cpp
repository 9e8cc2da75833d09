// The CSV files: quoting, the two editions' separators and decimal marks, UTF-8 with its
// byte-order mark, empty runs and drivers without laps, and a full 20-driver, 999-lap run.
#include "export/csv_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "export/export_text.h"
#include "tests/support/sample_session.h"

namespace zarvo {
namespace {

using testing::RunOfDrivers;
using testing::SampleDriver;

constexpr CsvConventions kEnglish{',', '.'};
constexpr CsvConventions kFrench{';', ','};

std::unique_ptr<ExportSession> SessionOf(const std::vector<SampleDriver>& drivers,
                                         const char* circuit = "Les Ormes") {
  auto race = RunOfDrivers(drivers);
  auto session = std::make_unique<ExportSession>();
  session->runs.resize(1);
  BuildRunFromRace(*race, ExportRunInfo{2, " CLUB - Run2 ", "", circuit}, session->runs[0]);
  return session;
}

std::vector<std::string> Lines(const std::string& csv) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < csv.size()) {
    const size_t end = csv.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(csv.substr(start));
      break;
    }
    lines.push_back(csv.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Field(std::string_view utf8, char separator) {
  std::string out;
  AppendCsvField(out, utf8, separator);
  return out;
}

TEST(CsvField, IsQuotedOnlyWhenItMustBe) {
  EXPECT_EQ(Field("ANNA", ','), "ANNA");
  EXPECT_EQ(Field("", ','), "");
  EXPECT_EQ(Field("Smith, John", ','), "\"Smith, John\"");
  EXPECT_EQ(Field("Smith, John", ';'), "Smith, John");
  EXPECT_EQ(Field("Ana; Maria", ';'), "\"Ana; Maria\"");
  EXPECT_EQ(Field("Tom \"Flash\" O'Neil", ','), "\"Tom \"\"Flash\"\" O'Neil\"");
  EXPECT_EQ(Field("\"", ';'), "\"\"\"\"");
  EXPECT_EQ(Field("two\r\nlines", ','), "\"two\r\nlines\"");
  EXPECT_EQ(Field("line\nfeed", ';'), "\"line\nfeed\"");
  EXPECT_EQ(Field(" leading", ','), "\" leading\"");
  EXPECT_EQ(Field("trailing ", ','), "\"trailing \"");
  EXPECT_EQ(Field("in between", ','), "in between");
}

TEST(CsvSeconds, ThreeDecimalsWithTheMarkGiven) {
  auto seconds = [](int32_t ms, char mark) {
    std::string out;
    AppendSeconds(out, ms, mark);
    return out;
  };
  EXPECT_EQ(seconds(20512, '.'), "20.512");
  EXPECT_EQ(seconds(20512, ','), "20,512");
  EXPECT_EQ(seconds(5, '.'), "0.005");
  EXPECT_EQ(seconds(0, ','), "0,000");
  EXPECT_EQ(seconds(3723004, '.'), "3723.004");
  EXPECT_EQ(seconds(-1500, '.'), "-1.500");
  EXPECT_EQ(seconds(INT32_MIN, '.'), "-2147483.648");
  EXPECT_EQ(seconds(INT32_MAX, ','), "2147483,647");
}

TEST(ClassificationCsv, WritesEachDriverWithSecondsAndTableTexts) {
  auto session = SessionOf({{"ANNA", {21000, 20500}}, {"BOB", {20000, 60000, 20250}}});
  const std::vector<std::string> en = Lines(ClassificationCsv(*session, kEnglish));
  ASSERT_EQ(en.size(), 3u);
  EXPECT_EQ(en[1],
            "2,1,BOB,3,100.250,1:40.250,20.000,20.000,33.416,33.416,60.000,1:00.000,"
            "20.250,20.250,Les Ormes");
  EXPECT_EQ(en[2],
            "2,2,ANNA,2,41.500,0:41.500,20.500,20.500,20.750,20.750,21.000,21.000,"
            "20.500,20.500,Les Ormes");
  const std::vector<std::string> fr = Lines(ClassificationCsv(*session, kFrench));
  ASSERT_EQ(fr.size(), 3u);
  EXPECT_EQ(fr[1],
            "2;1;BOB;3;100,250;1:40.250;20,000;20.000;33,416;33.416;60,000;1:00.000;"
            "20,250;20.250;Les Ormes");
}

TEST(LapsCsv, WritesEveryLapWithItsPassageTime) {
  auto session = SessionOf({{"ANNA", {21000, 20500}}, {"BOB", {20000, 60000, 20250}}});
  const std::vector<std::string> en = Lines(LapsCsv(*session, kEnglish));
  ASSERT_EQ(en.size(), 6u);
  EXPECT_EQ(en[1], "2,BOB,1,20.000,20.000,20.000,0:20.000");
  EXPECT_EQ(en[2], "2,BOB,2,60.000,1:00.000,80.000,1:20.000");
  EXPECT_EQ(en[4], "2,ANNA,1,21.000,21.000,21.000,0:21.000");
  const std::vector<std::string> fr = Lines(LapsCsv(*session, kFrench));
  EXPECT_EQ(fr[5], "2;ANNA;2;20,500;20.500;41,500;0:41.500");
}

TEST(CsvFiles, StartWithTheByteOrderMarkAndTheEditionsHeadings) {
  ExportSession empty;
  const std::string classification = ClassificationCsv(empty);
  const std::string laps = LapsCsv(empty);
  ASSERT_EQ(classification.rfind(kUtf8ByteOrderMark, 0), 0u);
  ASSERT_EQ(laps.rfind(kUtf8ByteOrderMark, 0), 0u);
  // No run: the heading line alone.
  EXPECT_EQ(Lines(classification).size(), 1u);
  EXPECT_EQ(Lines(laps).size(), 1u);
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(classification.substr(3),
            "Run;Position;Pilote;Tours;Temps total (s);Temps total;Meilleur tour (s);"
            "Meilleur tour;Tour moyen (s);Tour moyen;Moins bon tour (s);Moins bon tour;"
            "Dernier tour (s);Dernier tour;Circuit\r\n");
  EXPECT_EQ(laps.substr(3),
            "Run;Pilote;Tour;Temps au tour (s);Temps au tour;"
            "Temps de course (s);Temps de course\r\n");
#else
  EXPECT_EQ(classification.substr(3),
            "Run,Position,Driver,Laps,Total time (s),Total time,Best lap (s),Best lap,"
            "Average lap (s),Average lap,Worst lap (s),Worst lap,Last lap (s),Last lap,"
            "Circuit\r\n");
  EXPECT_EQ(laps.substr(3), "Run,Driver,Lap,Lap time (s),Lap time,Race time (s),Race time\r\n");
#endif
}

TEST(CsvFiles, TheEditionChoosesItsConventions) {
  auto session = SessionOf({{"ANNA", {21000}}});
  const CsvConventions edition = EditionCsvConventions();
#if defined(ZARVO_EDITION_FR)
  EXPECT_EQ(edition.separator, ';');
  EXPECT_EQ(edition.decimalMark, ',');
#else
  EXPECT_EQ(edition.separator, ',');
  EXPECT_EQ(edition.decimalMark, '.');
#endif
  EXPECT_EQ(ClassificationCsv(*session), ClassificationCsv(*session, edition));
  EXPECT_EQ(LapsCsv(*session), LapsCsv(*session, edition));
}

TEST(CsvFiles, NamesAreConvertedFromWindows1252AndQuotedWhenTheyHoldSeparators) {
  // é, Œ (0x8C) and € (0x80) are Windows-1252 bytes that Latin-1 would read wrongly.
  auto session = SessionOf({{"L\xE9"
                             "a \x8C"
                             "uvre \x80",
                             {20000}},
                            {"Smith, \"Bob\"", {21000}},
                            {"Ana; Mar\xED"
                             "a",
                             {22000}}},
                           "Circuit d'\xC9t\xE9");
  auto startsWith = [](const std::string& line, const std::string& prefix) {
    return line.rfind(prefix, 0) == 0;
  };
  const std::vector<std::string> en = Lines(ClassificationCsv(*session, kEnglish));
  ASSERT_EQ(en.size(), 4u);
  EXPECT_PRED2(startsWith, en[1],
               "2,1,L\xC3\xA9"
               "a \xC5\x92uvre \xE2\x82\xAC,1,");
  EXPECT_NE(en[1].find(",Circuit d'\xC3\x89t\xC3\xA9"), std::string::npos);
  EXPECT_PRED2(startsWith, en[2], "2,2,\"Smith, \"\"Bob\"\"\",1,");
  EXPECT_PRED2(startsWith, en[3],
               "2,3,Ana; Mar\xC3\xAD"
               "a,1,");
  const std::vector<std::string> fr = Lines(LapsCsv(*session, kFrench));
  EXPECT_EQ(fr[2], "2;\"Smith, \"\"Bob\"\"\";1;21,000;21.000;21,000;0:21.000");
  EXPECT_PRED2(startsWith, fr[3],
               "2;\"Ana; Mar\xC3\xAD"
               "a\";1;");
}

TEST(CsvFiles, ADriverWithoutLapsHasEmptyTimesAndNoLapLine) {
  auto session = SessionOf({{"ANNA", {21000}}, {"DORA", {}}});
  const std::vector<std::string> classification = Lines(ClassificationCsv(*session, kEnglish));
  ASSERT_EQ(classification.size(), 3u);
  EXPECT_EQ(classification[2], "2,2,DORA,0,,,,,,,,,,,Les Ormes");
  EXPECT_EQ(Lines(LapsCsv(*session, kEnglish)).size(), 2u);
}

TEST(CsvFiles, ARunWithoutNumberLeavesItsRunFieldEmpty) {
  auto session = SessionOf({{"ANNA", {21000}}});
  session->runs[0].runNumber = 0;
  EXPECT_EQ(Lines(LapsCsv(*session, kFrench))[1], ";ANNA;1;21,000;21.000;21,000;0:21.000");
}

TEST(CsvFiles, TwentyDriversOf999LapsAreWrittenWhole) {
  auto session = SessionOf(testing::FullField("Driver %02d", 100u));
  const std::vector<std::string> classification = Lines(ClassificationCsv(*session, kEnglish));
  ASSERT_EQ(classification.size(), 21u);
  const std::string laps = LapsCsv(*session, kFrench);
  const std::vector<std::string> lines = Lines(laps);
  ASSERT_EQ(lines.size(), 1u + kSlotCount * kMaxLapCount);
  // Every driver's laps in lap order, each line with its seven fields.
  const ExportRun& run = session->runs[0];
  for (int k = 0; k < kSlotCount; ++k) {
    const ExportDriver& d = run.drivers[k];
    const std::string& last = lines[size_t(k + 1) * kMaxLapCount];
    std::string seconds;
    AppendSeconds(seconds, d.laps.passageTimes[kMaxLapCount], ',');
    EXPECT_EQ(last.rfind("2;" + std::string(d.driverName) + ";999;", 0), 0u) << last;
    EXPECT_NE(last.find(";" + seconds + ";"), std::string::npos) << last;
  }
  for (const std::string& line : lines) {
    ASSERT_EQ(std::count(line.begin(), line.end(), ';'), 6) << line;
  }
}

}  // namespace
}  // namespace zarvo
