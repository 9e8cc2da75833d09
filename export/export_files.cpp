// Naming and writing the exported files.
#include "export/export_files.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "databases/driver_names.h"
#include "export/csv_writer.h"
#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

bool ForbiddenInFileName(unsigned char c) {
  return c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

std::string Formatted(const char* format, const std::string& value) {
  std::vector<char> buffer(value.size() + std::strlen(format) + 1);
  std::snprintf(buffer.data(), buffer.size(), format, value.c_str());
  return buffer.data();
}

}  // namespace

std::string ExportBaseName(std::string_view cp1252) {
  std::string name;
  for (const char c : cp1252) {
    name += ForbiddenInFileName(static_cast<unsigned char>(c)) ? '_' : c;
  }
  const size_t start = name.find_first_not_of(' ');
  name.erase(0, start == std::string::npos ? name.size() : start);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  if (name.empty()) return "export";
  // Windows takes the part before the first dot for a device name whatever follows; that part
  // is too short to break any other name rule, so the drivers' rule tells.
  const std::string stem = name.substr(0, name.find('.'));
  if (CheckDriverName(stem.c_str()) == DriverNameProblem::kNotAFileName) name.insert(0, "_");
  return name;
}

ExportPaths MakeExportPaths(std::string_view folder, std::string_view baseName) {
  std::string prefix(folder);
  // A Windows folder (C:\Site) goes on with its own separator.
  if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\')
    prefix += prefix.find('\\') != std::string::npos ? '\\' : '/';
  const std::string base = ExportBaseName(baseName);
  return ExportPaths{prefix + Formatted(TXT_EXPORT_CLASSIFICATION_FILE, base),
                     prefix + Formatted(TXT_EXPORT_LAPS_FILE, base),
                     prefix + Formatted(TXT_EXPORT_REPORT_FILE, base)};
}

bool WriteExportFile(const std::string& path, std::string_view bytes) {
  return !path.empty() && WriteFileReplacing(path.c_str(), bytes);
}

ExportWriteResult WriteExport(const ExportSession& session, const ExportPaths& paths,
                              unsigned parts, const ExportPicture* logo) {
  ExportWriteResult result{true, std::string()};
  auto write = [&](unsigned part, const std::string& path, auto makeBytes) {
    if (!result.written || (parts & part) == 0) return;
    if (!WriteExportFile(path, makeBytes())) {
      result.written = false;
      result.failedPath = path;
    }
  };
  write(kExportClassification, paths.classification, [&] { return ClassificationCsv(session); });
  write(kExportLaps, paths.laps, [&] { return LapsCsv(session); });
  write(kExportReport, paths.report, [&] { return HtmlReport(session, logo); });
  return result;
}

std::string ExportFailureText(const ExportWriteResult& result) {
  return Formatted(TXT_EXPORT_WRITE_FAILED, result.failedPath);
}

}  // namespace zarvo
