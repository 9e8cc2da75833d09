// Writes the exports of a sample practice day into a folder, with "expected.json": the same runs'
// data taken from the participants tables as the results table shows them (ranked, with the
// table's time texts) and from the run window's statistics, for check_export.py to compare with
// what a CSV reader and an HTML parser find in the files.
//   zarvo-export-sample-<edition> <folder>
// writes "club day" (a session of three runs, one of them untimed), "archived" (a run of a runs
// database) and "big" (20 drivers of 999 laps) in the folder, and the archived run in a runs
// database of the folder ("Base données runs/<driver>.bdr") for the end-to-end export from the
// run window.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "databases/driver_names.h"
#include "export/csv_writer.h"
#include "export/export_files.h"
#include "export/session_export.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "race/classification.h"
#include "tests/support/sample_session.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::PracticeLapsOf;
using testing::RunOfDrivers;

// ---- A small JSON writer for the expected values.

std::string Quoted(std::string_view utf8) {
  std::string out = "\"";
  for (const char ch : utf8) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += ch;
    }
  }
  return out + "\"";
}

std::string Text(const char* cp1252) {
  return Quoted(Cp1252ToUtf8(cp1252));
}

std::string List(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i > 0 ? "," : "") + items[i];
  return out + "]";
}

struct Object {
  std::vector<std::string> members;
  Object& Add(const char* key, const std::string& json) {
    members.push_back(Quoted(key) + ":" + json);
    return *this;
  }
  Object& Add(const char* key, int64_t v) { return Add(key, std::to_string(v)); }
  std::string Json() const {
    std::string out = "{";
    for (size_t i = 0; i < members.size(); ++i) out += (i > 0 ? ",\n" : "") + members[i];
    return out + "}";
  }
};

// ---- Expected values, from the sources.

std::string LapsOf(const ParticipantRecord& p) {
  std::vector<std::string> laps;
  char lapText[kTimeTextCapacity];
  char raceText[kTimeTextCapacity];
  for (int k = 1; k <= p.lapCount; ++k) {
    const int32_t lap = p.passageTimes[k] - p.passageTimes[k - 1];
    LapTimeText(lap, lapText, sizeof lapText);
    FormatTotalTime(SplitTime(p.passageTimes[k]), raceText, sizeof raceText);
    laps.push_back(Object()
                       .Add("lap", k)
                       .Add("ms", lap)
                       .Add("text", Text(lapText))
                       .Add("race_ms", p.passageTimes[k])
                       .Add("race_text", Text(raceText))
                       .Json());
  }
  return List(laps);
}

std::string DriverJson(int position, const char* name, int laps, const int32_t (&ms)[5],
                       const char* const (&texts)[5], const std::string& lapList) {
  static const char* const kKeys[5] = {"total", "best", "average", "worst", "last"};
  Object d;
  d.Add("position", position).Add("name", Text(name)).Add("laps", laps);
  for (int i = 0; i < 5; ++i) {
    d.Add(kKeys[i], ms[i]);
    d.Add((std::string(kKeys[i]) + "_text").c_str(), Text(texts[i]));
  }
  return d.Add("lap_list", lapList).Json();
}

// A timed run as the results table shows it after the session's ranking.
std::string RaceRunJson(Race& race, int runNumber, const char* circuit, const char* key) {
  SetText(race.params.classificationKey, key);
  RebuildStandings(race);
  StandardRefresh(race);
  std::vector<std::string> drivers;
  for (int k = 0; k < race.participantCount; ++k) {
    const StandingsEntry& e = race.standings[k];
    const ResultsRow& r = race.rows[k];
    const int32_t ms[5] = {e.totalTime, e.bestLap, e.averageLap, e.worstLap, e.lastLap};
    const char* const texts[5] = {r.totalText, r.bestLapText, r.averageLapText, r.worstLapText,
                                  r.lastLapText};
    drivers.push_back(DriverJson(k + 1, e.driverName, e.lapCount, ms, texts,
                                 LapsOf(race.slots[e.slotNumber - 1])));
  }
  return Object()
      .Add("run", runNumber)
      .Add("circuit", Text(circuit))
      .Add("drivers", List(drivers))
      .Json();
}

// An archived run as the run window shows it: the summary over all its laps.
std::string ArchivedRunJson(const ArchivedRun& archived) {
  RunLaps laps;
  LoadRunLaps(archived.participant, laps);
  LapSummary s;
  std::memset(&s, 0, sizeof s);
  const int n = laps.lapCount;
  Summarise(laps, 1, n, s);
  const int32_t ms[5] = {laps.passageTimes[n], s.bestLap, s.averageLap, s.worstLap,
                         laps.lapTimes[n]};
  char texts[5][kTimeTextCapacity];
  FormatTotalTime(SplitTime(ms[0]), texts[0], sizeof texts[0]);
  for (int i = 1; i < 5; ++i) LapTimeText(ms[i], texts[i], sizeof texts[i]);
  const char* const textPointers[5] = {texts[0], texts[1], texts[2], texts[3], texts[4]};
  const std::string driver = DriverJson(1, archived.participant.driverName, n, ms, textPointers,
                                        LapsOf(archived.participant));
  return Object()
      .Add("run", RunNumberOfCaption(archived.runCaption))
      .Add("circuit", Text(archived.trackName))
      .Add("drivers", List({driver}))
      .Json();
}

std::string ExportJson(const char* name, const ExportPaths& paths, const char* title,
                       const std::vector<std::string>& runs) {
  return Object()
      .Add("name", Quoted(name))
      .Add("classification", Quoted(Cp1252ToUtf8(paths.classification)))
      .Add("laps", Quoted(Cp1252ToUtf8(paths.laps)))
      .Add("report", Quoted(Cp1252ToUtf8(paths.report)))
      .Add("title", Text(title))
      .Add("runs", List(runs))
      .Json();
}

// Boxes of the runs database writer, none expected: said on the error output.
class ErrorOutputBoxes : public MessageBoxes {
 public:
  void Show(const char*, const char* text, MessageIcon) override {
    std::fprintf(stderr, "%s\n", text);
  }
  Answer Ask(const char*, const char* text, QuestionButtons) override {
    std::fprintf(stderr, "%s\n", text);
    return Answer::kNo;
  }
};

// The run stored in its driver's runs database in the folder, as the end of a run stores it.
bool WriteRunsDatabase(const char* folder, const ArchivedRun& run) {
  const std::string previous = CurrentFolder();
  if (!SetCurrentFolder(folder)) return false;
  ErrorOutputBoxes boxes;
  MakeDirectory(kRunsFolder);
  const std::string path = RunsDatabasePath(run.participant.driverName);
  bool stored = CreateRunsDatabase(run.participant.driverName) &&
                SetArchivingFlag(path.c_str(), true) == RunsFileResult::kDone;
  if (stored) {
    const ArchiveOutcome outcome = ArchiveParticipantRun(run.participant, run.runTitle,
                                                         run.runCaption, run.trackName, boxes);
    stored = outcome == ArchiveOutcome::kAppended || outcome == ArchiveOutcome::kStoredInFreeSlot;
  }
  SetCurrentFolder(previous.c_str());
  return stored;
}

bool Write(const ExportSession& session, const ExportPaths& paths, const ExportPicture* logo) {
  const ExportWriteResult result = WriteExport(session, paths, kExportAll, logo);
  if (!result.written) std::fprintf(stderr, "%s\n", ExportFailureText(result).c_str());
  return result.written;
}

// Laps of a practising driver with a slow lap where he went off.
std::vector<int32_t> LapsWithAnOff(int n, unsigned seed, int offLap) {
  std::vector<int32_t> laps = PracticeLapsOf(n, seed);
  if (offLap >= 1 && offLap <= n) laps[size_t(offLap - 1)] += 14500;
  return laps;
}

// The run title the edition writes when a run starts.
std::string RunTitle(unsigned day, unsigned hour, unsigned minute, const char* duration) {
  char title[kRunTitleCapacity];
  std::snprintf(title, sizeof title, TXT_RUN_TITLE, 2026u, 5u, day, hour, minute, 0u, duration);
  return title;
}

int Run(const char* folder) {
  if (!MakeDirectory(folder)) {
    std::fprintf(stderr, "cannot make %s\n", folder);
    return 1;
  }
  std::string logoBytes;
  const std::string logoPath = std::string(ZARVO_SOURCE_DIR) + "/data/images/logo.bmp";
  if (!ReadWholeFile(Utf8ToCp1252(logoPath).c_str(), logoBytes, 1 << 20)) {
    std::fprintf(stderr, "cannot read %s\n", logoPath.c_str());
    return 1;
  }
  const ExportPicture logo{"image/bmp", logoBytes, 200, 50};
  std::vector<std::string> exports;

  // A practice day: run 1 of seven drivers (one without a lap), run 2 never timed, run 3 long.
  auto run1 = RunOfDrivers({{"L\xE9"
                             "a Dubois",
                             LapsWithAnOff(24, 11, 7)},
                            {"J\xFCrgen M\xFCller", PracticeLapsOf(25, 12)},
                            {"Tom \"Flash\" O'Neil, Jr.", LapsWithAnOff(23, 13, 15)},
                            {"Ana; Mar\xED"
                             "a",
                             PracticeLapsOf(24, 14)},
                            {"Fran\xE7ois \x8C"
                             "uvre",
                             PracticeLapsOf(22, 15)},
                            {"<script>alert('x')</script> & Co", PracticeLapsOf(5, 16)},
                            {"Zo\xEB \x80uro", {}}},
                           RunTitle(1, 14, 3, "0:08:00").c_str());
  auto run2 = RunOfDrivers({{"L\xE9"
                             "a Dubois",
                             {}},
                            {"J\xFCrgen M\xFCller", {}}},
                           "");
  auto run3 = RunOfDrivers({{"L\xE9"
                             "a Dubois",
                             LapsWithAnOff(110, 21, 60)},
                            {"J\xFCrgen M\xFCller", PracticeLapsOf(104, 22)},
                            {"Ana; Mar\xED"
                             "a",
                             PracticeLapsOf(98, 23)}},
                           RunTitle(1, 15, 30, "0:40:00").c_str());
  testing::SampleSession day;
  day.name = "CLUB DAY";
  day.label = "Spring practice & open day";
  day.circuit = "Les Ormes \xE9t\xE9";
  day.runs = {run1.get(), run2.get(), run3.get()};
  const std::string dayFile = testing::SessionFileOf(day);
  const std::string dayPath = std::string(folder) + "/club day.trng";
  auto session = std::make_unique<ExportSession>();
  if (!WriteFileReplacing(dayPath.c_str(), dayFile) ||
      ReadSessionExport(dayPath.c_str(), *session) != SessionExportRead::kRead) {
    std::fprintf(stderr, "cannot read back %s\n", dayPath.c_str());
    return 1;
  }
  const ExportPaths dayPaths = MakeExportPaths(folder, "club day");
  if (!Write(*session, dayPaths, &logo)) return 1;
  exports.push_back(ExportJson("club day", dayPaths, day.name,
                               {RaceRunJson(*run1, 1, day.circuit, day.classificationKey),
                                RaceRunJson(*run3, 3, day.circuit, day.classificationKey)}));

  // A run of a runs database.
  auto archived = testing::ArchivedRunOf(
      "L\xE9"
      "a Dubois",
      LapsWithAnOff(30, 31, 12), " CLUB DAY - Run4 ", RunTitle(1, 16, 10, "0:10:00").c_str(),
      "Les Ormes");
  BuildArchivedRunExport(*archived, *session);
  if (!WriteRunsDatabase(folder, *archived)) {
    std::fprintf(stderr, "cannot store the archived run in %s\n", folder);
    return 1;
  }
  const ExportPaths archivedPaths = MakeExportPaths(folder, "archived");
  if (!Write(*session, archivedPaths, nullptr)) return 1;
  exports.push_back(
      ExportJson("archived", archivedPaths, session->title, {ArchivedRunJson(*archived)}));

  // 20 drivers of 999 laps, ranked by best lap.
  auto big = RunOfDrivers(testing::FullField("Pilote n\xB0%d", 500u),
                          RunTitle(2, 8, 0, "12:00:00").c_str());
  testing::SampleSession endurance;
  endurance.name = "ENDURANCE";
  endurance.classificationKey = kRankBestLap;
  endurance.runs = {big.get()};
  if (BuildSessionExport(testing::SessionFileOf(endurance), *session) != SessionExportRead::kRead)
    return 1;
  const ExportPaths bigPaths = MakeExportPaths(folder, "big");
  if (!Write(*session, bigPaths, nullptr)) return 1;
  exports.push_back(ExportJson("big", bigPaths, endurance.name,
                               {RaceRunJson(*big, 1, endurance.circuit, kRankBestLap)}));

  const CsvConventions conventions = EditionCsvConventions();
  const std::string json =
      Object()
          .Add("edition", Quoted(ZARVO_EDITION_NAME))
          .Add("separator", Quoted(std::string(1, conventions.separator)))
          .Add("decimal_mark", Quoted(std::string(1, conventions.decimalMark)))
          .Add("classification_headings",
               List({Text(TXT_CSV_RUN), Text(TXT_CSV_POSITION), Text(TXT_CSV_DRIVER),
                     Text(TXT_CSV_LAPS), Text(TXT_CSV_TOTAL_SECONDS), Text(TXT_CSV_TOTAL),
                     Text(TXT_CSV_BEST_SECONDS), Text(TXT_CSV_BEST), Text(TXT_CSV_AVERAGE_SECONDS),
                     Text(TXT_CSV_AVERAGE), Text(TXT_CSV_WORST_SECONDS), Text(TXT_CSV_WORST),
                     Text(TXT_CSV_LAST_SECONDS), Text(TXT_CSV_LAST), Text(TXT_CSV_CIRCUIT)}))
          .Add("laps_headings", List({Text(TXT_CSV_RUN), Text(TXT_CSV_DRIVER), Text(TXT_CSV_LAP),
                                      Text(TXT_CSV_LAP_TIME_SECONDS), Text(TXT_CSV_LAP_TIME),
                                      Text(TXT_CSV_RACE_TIME_SECONDS), Text(TXT_CSV_RACE_TIME)}))
          .Add("exports", List(exports))
          .Json();
  const std::string jsonPath = std::string(folder) + "/expected.json";
  if (!WriteFileReplacing(jsonPath.c_str(), json + "\n")) return 1;
  return 0;
}

}  // namespace
}  // namespace zarvo

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  return zarvo::Run(zarvo::Utf8ToCp1252(argv[1]).c_str());
}
