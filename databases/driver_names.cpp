// Driver name rules and the path of a driver's runs database.
#include "databases/driver_names.h"

#include <cstring>

#include "text/catalogue.h"

namespace zarvo {

namespace {

// Windows opens a device instead of a file for these names, whatever extension follows.
bool IsDeviceName(const char* name) {
  size_t n = std::strcspn(name, ".");
  while (n > 0 && name[n - 1] == ' ') --n;
  char base[5] = {};
  if (n < 3 || n > 4) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = name[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    base[i] = c;
  }
  if (n == 3) {
    return std::strcmp(base, "CON") == 0 || std::strcmp(base, "PRN") == 0 ||
           std::strcmp(base, "AUX") == 0 || std::strcmp(base, "NUL") == 0;
  }
  return (std::strncmp(base, "COM", 3) == 0 || std::strncmp(base, "LPT", 3) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

bool HasControlCharacter(const char* name) {
  for (const char* p = name; *p != '\0'; ++p) {
    if (static_cast<unsigned char>(*p) < 0x20) return true;
  }
  return false;
}

}  // namespace

DriverNameProblem CheckDriverName(const char* name) {
  if (name == nullptr || name[0] == '\0') return DriverNameProblem::kEmpty;
  if (name[0] == ' ') return DriverNameProblem::kLeadingSpace;
  if (std::strpbrk(name, "\\/:*?\"<>|") != nullptr) return DriverNameProblem::kForbiddenCharacter;
  if (std::strstr(name, "(NA)") != nullptr) return DriverNameProblem::kContainsNoDriver;
  if (std::strstr(name, "Session") != nullptr) return DriverNameProblem::kContainsSession;
  if (HasControlCharacter(name) || IsDeviceName(name)) return DriverNameProblem::kNotAFileName;
  return DriverNameProblem::kNone;
}

const char* DriverNameProblemText(DriverNameProblem problem) {
  switch (problem) {
    case DriverNameProblem::kLeadingSpace:
      return TXT_DRIVER_NAME_LEADING_SPACE;
    case DriverNameProblem::kForbiddenCharacter:
      return TXT_DRIVER_NAME_FORBIDDEN_CHARACTER;
    case DriverNameProblem::kContainsNoDriver:
      return TXT_DRIVER_NAME_NO_DRIVER_WORD;
    case DriverNameProblem::kContainsSession:
      return TXT_DRIVER_NAME_SESSION_WORD;
    case DriverNameProblem::kNotAFileName:
      return TXT_DRIVER_NAME_NOT_A_FILE_NAME;
    case DriverNameProblem::kNone:
    case DriverNameProblem::kEmpty:
      break;
  }
  return nullptr;
}

std::string RunsDatabasePath(const char* driverName) {
  if (CheckDriverName(driverName) != DriverNameProblem::kNone) return std::string();
  return std::string(kRunsFolder) + "/" + driverName + ".bdr";
}

}  // namespace zarvo
