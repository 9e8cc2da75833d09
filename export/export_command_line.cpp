// Splitting and reading the command line, and the export it asks for.
#include "export/export_command_line.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "export/export_files.h"
#include "export/session_export.h"
#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The program's own name: quotes group, backslashes are plain.
size_t SplitProgramName(std::string_view line, std::vector<std::string>& words) {
  std::string word;
  bool quoted = false;
  size_t i = 0;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (IsBlank(c) && !quoted) {
      break;
    } else {
      word += c;
    }
  }
  words.push_back(word);
  return i;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = (a[i] >= 'A' && a[i] <= 'Z') ? char(a[i] - 'A' + 'a') : a[i];
    const char y = (b[i] >= 'A' && b[i] <= 'Z') ? char(b[i] - 'A' + 'a') : b[i];
    if (x != y) return false;
  }
  return true;
}

std::string Formatted(const char* format, const std::string& value) {
  std::vector<char> buffer(value.size() + std::char_traits<char>::length(format) + 1);
  std::snprintf(buffer.data(), buffer.size(), format, value.c_str());
  return buffer.data();
}

// The session file's name without its folder and its extension.
std::string SessionFileStem(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

constexpr size_t kMaxLogoBytes = 1u << 20;

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  if (line.empty()) return words;
  size_t i = SplitProgramName(line, words);
  while (true) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string word;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      size_t backslashes = 0;
      while (i < line.size() && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < line.size() && line[i] == '"') {
        word.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          word += '"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
          word += '"';  // "" inside quotes
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
        continue;
      }
      word.append(backslashes, '\\');
      if (i < line.size() && (quoted || !IsBlank(line[i]))) word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments) {
  CommandLineRequest request{CommandLineAction::kStartProgram, std::string(), std::string()};
  if (arguments.empty() || arguments[0].empty()) return request;
  const std::string& first = arguments[0];
  if (first[0] != '/' && first[0] != '-') return request;
  request.action = CommandLineAction::kUsage;
  if (!SameLetters(std::string_view(first).substr(1), "export") || arguments.size() != 3 ||
      arguments[1].empty() || arguments[2].empty()) {
    return request;
  }
  request.action = CommandLineAction::kExport;
  request.sessionPath = arguments[1];
  request.folder = arguments[2];
  return request;
}

CommandLineOutcome RunCommandLineExport(const CommandLineRequest& request,
                                        const std::string& logoPath) {
  auto session = std::make_unique<ExportSession>();
  switch (ReadSessionExport(request.sessionPath.c_str(), *session)) {
    case SessionExportRead::kRead:
      break;
    case SessionExportRead::kNotOpened:
      return {kExportExitFailed, Formatted(TXT_EXPORT_SESSION_NOT_OPENED, request.sessionPath)};
    case SessionExportRead::kNotASession:
      return {kExportExitFailed, Formatted(TXT_EXPORT_NOT_A_SESSION, request.sessionPath)};
  }
  if (!PathExists(request.folder.c_str())) MakeDirectory(request.folder.c_str());
  std::string logoBytes;
  const bool hasLogo =
      !logoPath.empty() && ReadWholeFile(logoPath.c_str(), logoBytes, kMaxLogoBytes);
  const ExportPicture logo{"image/bmp", logoBytes, 200, 50};
  const ExportPaths paths = MakeExportPaths(request.folder, SessionFileStem(request.sessionPath));
  const ExportWriteResult result =
      WriteExport(*session, paths, kExportAll, hasLogo ? &logo : nullptr);
  if (!result.written) return {kExportExitFailed, ExportFailureText(result)};
  return {kExportExitWritten, std::string()};
}

CommandLineOutcome RunCommandLine(const CommandLineRequest& request, const std::string& logoPath) {
  if (request.action == CommandLineAction::kExport) return RunCommandLineExport(request, logoPath);
  return {kExportExitUsage, TXT_EXPORT_USAGE};
}

}  // namespace zarvo
