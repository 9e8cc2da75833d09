// The files of an export on disk: their names in a folder, and their writing. Each file is
// written whole to a temporary file beside it that replaces the old file only once complete
// (platform/files.h), so a failed write leaves the old file, or none, but never half a file.
// Paths are Windows-1252 like every path of the program; letters outside Windows-1252 in a folder's
// or a file's name are escaped as the file dialogs hand them over (platform/codepage.h), and the
// file services write the long name.
#pragma once

#include <string>
#include <string_view>

#include "export/export_model.h"
#include "export/html_report.h"

namespace zarvo {

enum ExportParts : unsigned {
  kExportClassification = 1u,  // the classification CSV file
  kExportLaps = 2u,            // the laps CSV file
  kExportReport = 4u,          // the HTML page
  kExportAll = 7u,
};

struct ExportPaths {
  std::string classification;
  std::string laps;
  std::string report;
};

// A name fit for a file: the characters Windows forbids in file names (\ / : * ? " < > |) and
// control characters become '_', leading and trailing blanks and trailing dots go, a device name
// (CON, NUL, COM1, ...) gets a '_' in front, and an empty name becomes "export".
std::string ExportBaseName(std::string_view cp1252);

// The three files in the folder: "<base> - classification.csv", "<base> - laps.csv" and
// "<base>.html" (French "<base> - classement.csv", "<base> - tours.csv"). The base goes through
// ExportBaseName. An empty folder is the current directory; a folder without a separator at its
// end gets '\' when it holds one, '/' otherwise.
ExportPaths MakeExportPaths(std::string_view folder, std::string_view baseName);

// One file replaced by bytes; false when it could not be written (the old file is then intact).
bool WriteExportFile(const std::string& path, std::string_view bytes);

struct ExportWriteResult {
  bool written;            // every file asked for was written
  std::string failedPath;  // the first file that could not be written
};

// Writes the parts asked for, in the order classification, laps, report, and stops at the first
// failure (the files written before it are complete). logo may be null.
ExportWriteResult WriteExport(const ExportSession& session, const ExportPaths& paths,
                              unsigned parts = kExportAll, const ExportPicture* logo = nullptr);

// The message of a failed write: TXT_EXPORT_WRITE_FAILED with the path.
std::string ExportFailureText(const ExportWriteResult& result);

}  // namespace zarvo
