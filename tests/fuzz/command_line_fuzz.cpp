// The export's command line on any bytes: split as Windows programs split a command line, then
// read as the program's arguments.
// Checked: every word written back with the quoting rules the splitter reads (a quoted word,
// backslashes doubled before a quote and at the end, quotes escaped) splits into the same words,
// and an export request always names a session file and a folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_command_line.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace zarvo;

// One argument as a program writes it for another's command line.
std::string Quoted(const std::string& word) {
  std::string out = "\"";
  size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> words = SplitCommandLine(line);
  FUZZ_CHECK(words.empty() == line.empty());
  if (words.empty()) return 0;

  std::string again = "p";
  for (size_t i = 1; i < words.size(); ++i) again += " " + Quoted(words[i]);
  const std::vector<std::string> back = SplitCommandLine(again);
  FUZZ_CHECK(back.size() == words.size());
  for (size_t i = 1; i < words.size(); ++i) FUZZ_CHECK(back[i] == words[i]);

  const std::vector<std::string> arguments(words.begin() + 1, words.end());
  const CommandLineRequest request = ReadCommandLine(arguments);
  if (request.action == CommandLineAction::kExport) {
    FUZZ_CHECK(!request.sessionPath.empty() && !request.folder.empty());
    FUZZ_CHECK(arguments.size() == 3);
  }
  return 0;
}
