// The two CSV files of an export: the classification (one line per driver of every run) and
// the laps (one line per lap). UTF-8 with a byte-order mark, CR LF line ends, RFC 4180 quoting,
// a heading line in the edition's language. Times are written twice: in seconds with three
// decimals, for calculations, then as the results table writes them. A driver without a lap has
// his time fields empty.
#pragma once

#include <string>
#include <string_view>

#include "export/export_model.h"

namespace zarvo {

// The conventions a spreadsheet of the edition's language expects.
struct CsvConventions {
  char separator;    // ',' in English, ';' in French
  char decimalMark;  // '.' in English, ',' in French
};

CsvConventions EditionCsvConventions();

// Classification: run, position, driver, laps, total time, best, average, worst and last lap
// (each in seconds, then as text), circuit.
std::string ClassificationCsv(const ExportSession& session,
                              const CsvConventions& conventions = EditionCsvConventions());
// Laps: run, driver, lap number, lap time and race time of its passage (each in seconds, then as
// text), in classification order, then lap order.
std::string LapsCsv(const ExportSession& session,
                    const CsvConventions& conventions = EditionCsvConventions());

// Appends one field (UTF-8): quoted, with its quotes doubled, when it holds the separator, a
// quote, a line end, or begins or ends with a blank (which some spreadsheets drop).
void AppendCsvField(std::string& out, std::string_view utf8, char separator);

}  // namespace zarvo
