// The rules a driver name obeys, because it becomes the file name of the driver's runs
// database and the session file recognises its sections by the first field of a line.
#pragma once

#include <string>

namespace zarvo {

// The first rule a name breaks, in the order the drivers editor checks them.
enum class DriverNameProblem {
  kNone,
  kEmpty,               // nothing typed: the editor ignores it without a message
  kLeadingSpace,        // TXT_DRIVER_NAME_LEADING_SPACE
  kForbiddenCharacter,  // one of \ / : * ? " < > |  (TXT_DRIVER_NAME_FORBIDDEN_CHARACTER)
  kContainsNoDriver,    // contains "(NA)"            (TXT_DRIVER_NAME_NO_DRIVER_WORD)
  kContainsSession,     // contains "Session", case-sensitive (TXT_DRIVER_NAME_SESSION_WORD)
  kNotAFileName,        // control characters or a Windows device name such as CON, NUL, COM1
};

DriverNameProblem CheckDriverName(const char* name);

// The message for a problem; nullptr for kNone and kEmpty.
const char* DriverNameProblemText(DriverNameProblem problem);

// The folder of the runs databases, beside the programs.
constexpr const char kRunsFolder[] = "Base données runs";

// "Base données runs/<name>.bdr", or an empty text when the name breaks a rule: such a name
// (read from a damaged or foreign file) is never turned into a path.
std::string RunsDatabasePath(const char* driverName);

}  // namespace zarvo
