// The command line form of the export, for clubs that publish their results automatically:
//   zarvo-training-en.exe /export <session file> <folder>
// writes the classification and laps files and the HTML report of every timed run of the session
// file into the folder, without a window. The splitting of the command line, the reading of its
// arguments and the export itself are here; the Win32 entry point hands the command line over
// and writes the message on the standard error.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarvo {

// The words of a command line as Windows programs split them: blanks and tabs separate words;
// inside double quotes they do not; 2n backslashes before a quote are n backslashes and the quote
// opens or closes, 2n + 1 backslashes are n backslashes and a quote taken as it is; backslashes
// before anything else are themselves; "" inside quotes is one quote. The first word (the
// program) ends at the first blank outside quotes and takes backslashes as they are.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

enum class CommandLineAction {
  kStartProgram,  // no switch: the program starts as it always does
  kExport,
  kUsage,  // an unknown switch, or /export without its two arguments
};

struct CommandLineRequest {
  CommandLineAction action;
  std::string sessionPath;  // kExport: the session file
  std::string folder;       // kExport: where the files go
};

// The arguments after the program's name. A first argument that starts with '/' or '-' is a
// switch: "/export" or "-export", in any case, followed by exactly two arguments. Anything that
// is not a switch leaves the program starting normally, since it takes no argument.
CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments);

// Exit codes of the command line.
constexpr int kExportExitWritten = 0;
constexpr int kExportExitFailed = 1;  // the session could not be read, or a file not written
constexpr int kExportExitUsage = 2;

struct CommandLineOutcome {
  int exitCode;
  std::string message;  // for the standard error, Windows-1252; empty when all went well
};

// The export of the session file into the folder (made when it is missing): the files named
// after the session file's name without its extension (export/export_files.h). logoPath names the
// picture shown at the top of the report; a missing picture leaves the report without one.
// Reads only the session file and the picture, writes only the three files.
CommandLineOutcome RunCommandLineExport(const CommandLineRequest& request,
                                        const std::string& logoPath);

// What the command line does with its arguments: the usage text for kUsage, the export for
// kExport.
CommandLineOutcome RunCommandLine(const CommandLineRequest& request, const std::string& logoPath);

}  // namespace zarvo
