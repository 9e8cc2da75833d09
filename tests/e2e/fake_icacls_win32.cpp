// Stands in for icacls.exe in a test prefix (Wine's own sets nothing and says nothing): appends
// its command line, as UTF-8, to C:\robot\icacls.log and succeeds, unless C:\robot\icacls-fail.txt
// holds a text that the command line contains, in which case it fails as icacls does on a name
// it cannot map (status 1332). Built with FAKE_TOOL defined (L"netsh") it stands in for that
// tool, with C:\robot\netsh.log and C:\robot\netsh-fail.txt.
#include <windows.h>

#include <cstdio>
#include <string>

#ifndef FAKE_TOOL
#define FAKE_TOOL L"icacls"
#endif

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, nullptr, nullptr);
  return out;
}

// The first line of the file, without its line end; empty when there is none.
std::string FirstLine(const wchar_t* path) {
  std::FILE* f = _wfopen(path, L"rb");
  if (f == nullptr) return "";
  char buffer[256] = {};
  if (std::fgets(buffer, sizeof buffer, f) == nullptr) buffer[0] = '\0';
  std::fclose(f);
  std::string line = buffer;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace

int wmain() {
  const std::string line = Utf8(GetCommandLineW());
  if (std::FILE* log = _wfopen(L"C:\\robot\\" FAKE_TOOL L".log", L"ab")) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
  const std::string failOn = FirstLine(L"C:\\robot\\" FAKE_TOOL L"-fail.txt");
  if (!failOn.empty() && line.find(failOn) != std::string::npos) {
    std::fprintf(stderr, "fake tool: failing on %s\n", failOn.c_str());
    return 1332;
  }
  return 0;
}
