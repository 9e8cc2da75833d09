// The results export from the windows: "Export session…" (File menu), "Export run…" (the session
// tree's run pop-up and the run windows). One save dialog asks for the HTML report's name; the
// classification and laps files go beside it, named after the report (export/export_files.h).
// Before anything is written, one question lists the files of the three that are there already;
// a failed write says which file (the files are each replaced whole, never left half-written).
#pragma once

#include <string>
#include <utility>

#include "analysis/run_export_port.h"
#include "app/session_ports.h"
#include "export/export_files.h"
#include "export/session_export.h"
#include "platform/message_boxes.h"

namespace zarvo {

// The three files of an export whose report is reportPath: the CSV files in its folder, named
// after the report's name without ".html" (or ".htm", in any case).
ExportPaths ExportPathsBeside(const std::string& reportPath);

enum class ExportOutcome {
  kCancelled,  // the save dialog was cancelled
  kDeclined,   // "No" to replacing the files there
  kWritten,
  kFailed,  // a file could not be written; the user was told which
};

// The export's dialog and its writing, in this order: the save dialog (offering the name
// suggested, in initialFolder), the question about the files there, the writing, the error box.
ExportOutcome ExportWithSaveDialog(const ExportSession& session, const std::string& suggestedName,
                                   const std::string& initialFolder, FileDialogs& files,
                                   MessageBoxes& boxes, const ExportPicture* logo);

// The export commands of the program: what each exports and the name it offers.
class ResultsExport : public RunExportPort {
 public:
  // programFolder: the folder the dialog opens in and where "images/logo.bmp" is found.
  ResultsExport(FileDialogs& files, MessageBoxes& boxes, std::string programFolder)
      : files_(files), boxes_(boxes), programFolder_(std::move(programFolder)) {}

  // Every timed run of the session file (the working copy), offered under the session's name.
  void ExportSessionFile(const char* sessionPath);
  // Run n of the session file, offered under its caption (" %s - Run%d " without the blanks).
  void ExportSessionRun(const char* sessionPath, int runNumber);
  // A driver's run of a run window, offered as the run caption without its blanks, " - " and
  // the driver's name.
  void ExportDriverRun(const ParticipantRecord& record, const char* runCaption,
                       const char* circuitName, const char* runTitle) override;

  ExportOutcome lastOutcome() const { return lastOutcome_; }

 private:
  void Export(const ExportSession& session, const char* suggestedName);
  // A session file that cannot be read: the reader's message in an error box.
  bool ReadFailed(SessionExportRead read, const char* sessionPath);

  FileDialogs& files_;
  MessageBoxes& boxes_;
  std::string programFolder_;
  ExportOutcome lastOutcome_ = ExportOutcome::kCancelled;
};

}  // namespace zarvo
