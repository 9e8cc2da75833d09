// The export commands of the windows (see results_export.h).
#include "app/results_export.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "analysis/run_window.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

constexpr size_t kMaxLogoBytes = 1u << 20;

bool EndsWithLetters(const std::string& text, const char* suffix) {
  const size_t n = std::char_traits<char>::length(suffix);
  if (text.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = text[text.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Formatted(const char* format, const std::string& value) {
  std::vector<char> buffer(value.size() + std::char_traits<char>::length(format) + 1);
  std::snprintf(buffer.data(), buffer.size(), format, value.c_str());
  return buffer.data();
}

}  // namespace

ExportPaths ExportPathsBeside(const std::string& reportPath) {
  const size_t slash = reportPath.find_last_of("/\\");
  const std::string folder =
      slash == std::string::npos ? std::string() : reportPath.substr(0, slash + 1);
  std::string base = reportPath.substr(folder.size());
  if (EndsWithLetters(base, ".html")) {
    base.erase(base.size() - 5);
  } else if (EndsWithLetters(base, ".htm")) {
    base.erase(base.size() - 4);
  }
  ExportPaths paths = MakeExportPaths(folder, base);
  paths.report = reportPath;
  return paths;
}

ExportOutcome ExportWithSaveDialog(const ExportSession& session, const std::string& suggestedName,
                                   const std::string& initialFolder, FileDialogs& files,
                                   MessageBoxes& boxes, const ExportPicture* logo) {
  const std::string initialName = FileNameOf(MakeExportPaths("", suggestedName).report);
  FileRequest request{TXT_EXPORT_FILTER, "*.html", initialName.c_str(), initialFolder.c_str(),
                      "html"};
  request.confirmOverwrite = false;  // one question below for the three files
  std::string chosen;
  if (!files.AskSaveFile(request, chosen)) return ExportOutcome::kCancelled;
  const ExportPaths paths = ExportPathsBeside(chosen);

  std::string there;
  for (const std::string* path : {&paths.classification, &paths.laps, &paths.report}) {
    if (PathExists(path->c_str())) there += FileNameOf(*path) + "\r\n";
  }
  if (!there.empty()) {
    there.erase(there.size() - 2);
    const std::string question = Formatted(TXT_EXPORT_OVERWRITE_QUESTION, there);
    if (boxes.Ask(TXT_CAPTION_QUESTION, question.c_str(), QuestionButtons::kYesNo) != Answer::kYes)
      return ExportOutcome::kDeclined;
  }

  const ExportWriteResult result = WriteExport(session, paths, kExportAll, logo);
  if (!result.written) {
    boxes.Show(TXT_CAPTION_ERROR, ExportFailureText(result).c_str(), MessageIcon::kError);
    return ExportOutcome::kFailed;
  }
  return ExportOutcome::kWritten;
}

void ResultsExport::ExportSessionFile(const char* sessionPath) {
  auto session = std::make_unique<ExportSession>();
  if (ReadFailed(ReadSessionExport(sessionPath, *session), sessionPath)) return;
  Export(*session, session->title);
}

void ResultsExport::ExportSessionRun(const char* sessionPath, int runNumber) {
  std::string bytes;
  auto session = std::make_unique<ExportSession>();
  SessionExportRead read = SessionExportRead::kNotOpened;
  if (ReadWholeFile(sessionPath, bytes, kMaxSessionFileBytes))
    read = BuildSessionRunExport(bytes, runNumber, *session);
  if (ReadFailed(read, sessionPath)) return;
  Export(*session, session->title);
}

void ResultsExport::ExportDriverRun(const ParticipantRecord& record, const char* runCaption,
                                    const char* circuitName, const char* runTitle) {
  auto session = std::make_unique<ExportSession>();
  BuildDriverRunExport(record, runCaption, runTitle, circuitName, *session);
  // "CLUB DAY - Run4 - Léa Dubois": the caption without its blanks, then the driver.
  std::string name(runCaption != nullptr ? runCaption : "");
  name.erase(0, std::min(name.size(), name.find_first_not_of(' ')));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  name += name.empty() ? record.driverName : std::string(" - ") + record.driverName;
  Export(*session, name.c_str());
}

void ResultsExport::Export(const ExportSession& session, const char* suggestedName) {
  std::string logoBytes;
  const std::string logoPath =
      programFolder_.empty() ? std::string(kLogoFile) : programFolder_ + "/" + kLogoFile;
  const bool hasLogo = ReadWholeFile(logoPath.c_str(), logoBytes, kMaxLogoBytes);
  const ExportPicture logo{"image/bmp", logoBytes, 200, 50};
  lastOutcome_ = ExportWithSaveDialog(session, suggestedName, programFolder_, files_, boxes_,
                                      hasLogo ? &logo : nullptr);
}

bool ResultsExport::ReadFailed(SessionExportRead read, const char* sessionPath) {
  if (read == SessionExportRead::kRead) return false;
  const std::string text =
      Formatted(read == SessionExportRead::kNotOpened ? TXT_EXPORT_SESSION_NOT_OPENED
                                                      : TXT_EXPORT_NOT_A_SESSION,
                sessionPath);
  boxes_.Show(TXT_CAPTION_ERROR, text.c_str(), MessageIcon::kError);
  lastOutcome_ = ExportOutcome::kFailed;
  return true;
}

}  // namespace zarvo
