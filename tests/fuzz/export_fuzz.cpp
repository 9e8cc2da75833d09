// The export writers on whatever the session readers and the runs database's slot reader accept:
// the first byte chooses the export (every timed run, one run, an archived run's slot), the rest
// is the file.
// Checked: both CSV files are valid UTF-8 after their byte-order mark and read back, with an
// RFC 4180 reader, as one record per driver (15 fields) and per lap (7 fields) with the drivers'
// names; the page is valid UTF-8 without control characters or a script, with one chart per 101
// laps and its elements closed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/csv_writer.h"
#include "export/export_text.h"
#include "export/html_report.h"
#include "export/lap_chart.h"
#include "export/session_export.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

// The checks' own loops are left out of the coverage the fuzzer steers by: they run over every
// byte written and would slow it down without telling it anything about the code under test.
#define CHECKER __attribute__((no_sanitize("coverage")))

// The page of a run of many long laps is large; past this many laps only the CSV files are
// written, so the fuzzer keeps its pace.
constexpr int64_t kMaxLapsForPage = 30000;

CHECKER bool ValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n;
  }
  return true;
}

// RFC 4180 records of a CSV body (after the byte-order mark), CR LF between records.
CHECKER std::vector<std::vector<std::string>> ReadCsv(std::string_view s, char separator) {
  std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    std::string& field = records.back().back();
    if (quoted) {
      if (c != '"') {
        field += c;
      } else if (i + 1 < s.size() && s[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
        FUZZ_CHECK(i + 1 == s.size() || s[i + 1] == separator || s[i + 1] == '\r');
      }
    } else if (c == '"') {
      FUZZ_CHECK(field.empty());
      quoted = true;
    } else if (c == separator) {
      records.back().emplace_back();
    } else if (c == '\r') {
      FUZZ_CHECK(i + 1 < s.size() && s[i + 1] == '\n');
      ++i;
      if (i + 1 < s.size()) records.emplace_back(1);
    } else {
      FUZZ_CHECK(c != '\n');
      field += c;
    }
  }
  FUZZ_CHECK(!quoted);
  return records;
}

std::string Utf8(const char* cp1252) {
  std::string out;
  AppendUtf8(out, cp1252);
  return out;
}

void CheckCsv(const ExportSession& session, const CsvConventions& conventions) {
  const std::string classification = ClassificationCsv(session, conventions);
  const std::string laps = LapsCsv(session, conventions);
  for (const std::string* file : {&classification, &laps}) {
    FUZZ_CHECK(file->rfind(kUtf8ByteOrderMark, 0) == 0);
    FUZZ_CHECK(ValidUtf8(*file));
  }
  const auto drivers = ReadCsv(std::string_view(classification).substr(3), conventions.separator);
  const auto lapLines = ReadCsv(std::string_view(laps).substr(3), conventions.separator);
  size_t d = 1;
  size_t l = 1;
  for (const ExportRun& run : session.runs) {
    for (int k = 0; k < run.driverCount; ++k) {
      const ExportDriver& driver = run.drivers[k];
      const std::string name = Utf8(driver.driverName);
      FUZZ_CHECK(d < drivers.size() && drivers[d].size() == 15 && drivers[d][2] == name);
      FUZZ_CHECK(drivers[d][1] == std::to_string(driver.position));
      ++d;
      for (int lap = 1; lap <= driver.laps.lapCount; ++lap, ++l) {
        FUZZ_CHECK(l < lapLines.size() && lapLines[l].size() == 7 && lapLines[l][1] == name);
        FUZZ_CHECK(lapLines[l][2] == std::to_string(lap));
      }
    }
  }
  FUZZ_CHECK(d == drivers.size() && drivers[0].size() == 15);
  FUZZ_CHECK(l == lapLines.size() && lapLines[0].size() == 7);
}

// A control character other than the line end, C1 ones (U+0080..U+009F) included.
CHECKER bool HasControlCharacter(std::string_view page) {
  for (size_t i = 0; i < page.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(page[i]);
    if (c < 0x20 && c != '\n') return true;
    if (c == 0xC2 && i + 1 < page.size() && static_cast<unsigned char>(page[i + 1]) < 0xA0)
      return true;
  }
  return false;
}

// Opening and closing tags of one element name in a page, counted in one pass.
struct TagCounts {
  static constexpr int kNames = 11;
  const char* names[kNames] = {"section", "table", "tr",    "td",  "p",     "h3",
                               "figure",  "text",  "title", "svg", "script"};
  size_t opens[kNames] = {};
  size_t closes[kNames] = {};
};

CHECKER void CountTags(std::string_view page, TagCounts& counts) {
  for (size_t at = page.find('<'); at != std::string_view::npos; at = page.find('<', at + 1)) {
    size_t i = at + 1;
    const bool closing = i < page.size() && page[i] == '/';
    if (closing) ++i;
    size_t end = i;
    while (end < page.size() &&
           ((page[end] >= 'a' && page[end] <= 'z') || (page[end] >= 'A' && page[end] <= 'Z') ||
            (page[end] >= '0' && page[end] <= '9'))) {
      ++end;
    }
    std::string name(page.substr(i, end - i));
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (int k = 0; k < TagCounts::kNames; ++k) {
      if (name == counts.names[k]) ++(closing ? counts.closes[k] : counts.opens[k]);
    }
  }
}

void CheckPage(const ExportSession& session) {
  int64_t laps = 0;
  size_t charts = 0;
  size_t drivers = 0;
  for (const ExportRun& run : session.runs) {
    for (int k = 0; k < run.driverCount; ++k) {
      laps += run.drivers[k].laps.lapCount;
      charts += size_t(LapChartCount(run.drivers[k]));
      ++drivers;
    }
  }
  if (laps > kMaxLapsForPage) return;
  const std::string page = HtmlReport(session);
  FUZZ_CHECK(ValidUtf8(page));
  FUZZ_CHECK(!HasControlCharacter(page));
  TagCounts tags;
  CountTags(page, tags);
  for (int k = 0; k < TagCounts::kNames; ++k) FUZZ_CHECK(tags.opens[k] == tags.closes[k]);
  FUZZ_CHECK(tags.opens[10] == 0);  // no script
  FUZZ_CHECK(tags.opens[9] == charts);
  FUZZ_CHECK(tags.opens[0] == drivers + session.runs.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto session = std::make_unique<ExportSession>();
  static auto archived = std::make_unique<ArchivedRun>();
  if (size == 0) return 0;
  const int choice = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (choice % 3) {
    case 0:
      if (BuildSessionExport(file, *session) != SessionExportRead::kRead) return 0;
      FUZZ_CHECK(session->runs.size() <= size_t(kMaxExportRuns));
      break;
    case 1:
      if (BuildSessionRunExport(file, 1 + choice / 3 % 20, *session) != SessionExportRead::kRead)
        return 0;
      FUZZ_CHECK(session->runs.size() == 1);
      break;
    default:
      std::memset(archived.get(), 0, sizeof *archived);
      ParseRunSlot(file, *archived);
      BuildArchivedRunExport(*archived, *session);
      FUZZ_CHECK(session->runs.size() == 1 && session->runs[0].driverCount == 1);
      break;
  }
  for (const ExportRun& run : session->runs) {
    FUZZ_CHECK(run.driverCount >= 0 && run.driverCount <= kSlotCount);
    for (int k = 0; k < run.driverCount; ++k) {
      FUZZ_CHECK(run.drivers[k].position == k + 1);
      FUZZ_CHECK(run.drivers[k].laps.lapCount >= 0 && run.drivers[k].laps.lapCount <= kMaxLapCount);
    }
  }
  CheckCsv(*session, choice & 8 ? CsvConventions{';', ','} : CsvConventions{',', '.'});
  CheckPage(*session);
  return 0;
}
