// Writing the classification and laps files.
#include "export/csv_writer.h"

#include <initializer_list>

#include "export/export_text.h"
#include "race/classification.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

// One line of fields, each appended by the caller through Text, Number or Seconds.
class CsvLine {
 public:
  CsvLine(std::string& out, const CsvConventions& conventions)
      : out_(out), conventions_(conventions) {}
  ~CsvLine() { out_ += "\r\n"; }

  // A Windows-1252 text.
  void Text(std::string_view cp1252) {
    Separate();
    std::string utf8;
    AppendUtf8(utf8, cp1252);
    AppendCsvField(out_, utf8, conventions_.separator);
  }
  void Number(int64_t v) {
    Separate();
    out_ += std::to_string(v);
  }
  void Empty() { Separate(); }
  // Seconds then the time text, or two empty fields.
  void Time(bool present, int32_t milliseconds, const char* text) {
    if (!present) {
      Empty();
      Empty();
      return;
    }
    Separate();
    AppendSeconds(out_, milliseconds, conventions_.decimalMark);
    Text(text);
  }

 private:
  void Separate() {
    if (!first_) out_ += conventions_.separator;
    first_ = false;
  }
  std::string& out_;
  const CsvConventions& conventions_;
  bool first_ = true;
};

void Headings(std::string& out, const CsvConventions& conventions,
              std::initializer_list<const char*> headings) {
  CsvLine line(out, conventions);
  for (const char* h : headings) line.Text(h);
}

void RunField(CsvLine& line, const ExportRun& run) {
  if (run.runNumber > 0) {
    line.Number(run.runNumber);
  } else {
    line.Empty();
  }
}

}  // namespace

CsvConventions EditionCsvConventions() {
#if defined(ZARVO_EDITION_FR)
  return CsvConventions{';', ','};
#else
  return CsvConventions{',', '.'};
#endif
}

void AppendCsvField(std::string& out, std::string_view utf8, char separator) {
  bool quote = !utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' ');
  for (const char c : utf8) {
    if (c == separator || c == '"' || c == '\r' || c == '\n') quote = true;
  }
  if (!quote) {
    out.append(utf8);
    return;
  }
  out += '"';
  for (const char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string ClassificationCsv(const ExportSession& session, const CsvConventions& conventions) {
  std::string out = kUtf8ByteOrderMark;
  Headings(
      out, conventions,
      {TXT_CSV_RUN, TXT_CSV_POSITION, TXT_CSV_DRIVER, TXT_CSV_LAPS, TXT_CSV_TOTAL_SECONDS,
       TXT_CSV_TOTAL, TXT_CSV_BEST_SECONDS, TXT_CSV_BEST, TXT_CSV_AVERAGE_SECONDS, TXT_CSV_AVERAGE,
       TXT_CSV_WORST_SECONDS, TXT_CSV_WORST, TXT_CSV_LAST_SECONDS, TXT_CSV_LAST, TXT_CSV_CIRCUIT});
  for (const ExportRun& run : session.runs) {
    for (int k = 0; k < run.driverCount; ++k) {
      const ExportDriver& d = run.drivers[k];
      const bool laps = d.lapCount > 0;
      CsvLine line(out, conventions);
      RunField(line, run);
      line.Number(d.position);
      line.Text(d.driverName);
      line.Number(d.lapCount);
      line.Time(laps, d.totalTime, d.totalText);
      line.Time(laps, d.bestLap, d.bestText);
      line.Time(laps, d.averageLap, d.averageText);
      line.Time(laps, d.worstLap, d.worstText);
      line.Time(laps, d.lastLap, d.lastText);
      line.Text(run.circuitName);
    }
  }
  return out;
}

std::string LapsCsv(const ExportSession& session, const CsvConventions& conventions) {
  std::string out = kUtf8ByteOrderMark;
  Headings(out, conventions,
           {TXT_CSV_RUN, TXT_CSV_DRIVER, TXT_CSV_LAP, TXT_CSV_LAP_TIME_SECONDS, TXT_CSV_LAP_TIME,
            TXT_CSV_RACE_TIME_SECONDS, TXT_CSV_RACE_TIME});
  char lapText[kTimeTextCapacity];
  char raceText[kTimeTextCapacity];
  for (const ExportRun& run : session.runs) {
    for (int k = 0; k < run.driverCount; ++k) {
      const ExportDriver& d = run.drivers[k];
      for (int lap = 1; lap <= d.laps.lapCount; ++lap) {
        const int32_t lapTime = d.laps.lapTimes[lap];
        const int32_t raceTime = d.laps.passageTimes[lap];
        LapTimeText(lapTime, lapText, sizeof lapText);
        FormatTotalTime(SplitTime(raceTime), raceText, sizeof raceText);
        CsvLine line(out, conventions);
        RunField(line, run);
        line.Text(d.driverName);
        line.Number(lap);
        line.Time(true, lapTime, lapText);
        line.Time(true, raceTime, raceText);
      }
    }
  }
  return out;
}

}  // namespace zarvo
