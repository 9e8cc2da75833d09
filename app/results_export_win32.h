// The command line form of the export on Windows (export/export_command_line.h): the words of the
// process's command line, the message on the standard error, the exit code.
#pragma once

namespace zarvo {

// True when the command line asks for the export (or has a switch it does not know): it has been
// done, and exitCode is the process's. False when the program is to start as always.
bool RunExportCommandLine(int& exitCode);

}  // namespace zarvo
