// Writing the live results snapshot as JSON and as event-stream messages.
#include "web/live_json.h"

#include <cstdio>

#include "platform/codepage.h"
#include "race/classification.h"

namespace zarvo {

namespace {

void AppendEscapedUtf8(std::string& out, std::string_view utf8) {
  static const char kHex[] = "0123456789abcdef";
  auto unicodeEscape = [&](unsigned code) {
    out += "\\u00";
    out += kHex[(code >> 4) & 0xF];
    out += kHex[code & 0xF];
  };
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '<':
      case '>':
      case '&':
        unicodeEscape(c);
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          unicodeEscape(c);
        } else if (c == 0xC2 && i + 1 < utf8.size() &&
                   static_cast<unsigned char>(utf8[i + 1]) < 0xA0) {
          // U+0080..U+009F: the control characters of the five bytes Windows-1252 leaves unused.
          unicodeEscape(static_cast<unsigned char>(utf8[++i]) & 0xFF);
        } else {
          out += static_cast<char>(c);
        }
    }
  }
}

void AppendKey(std::string& out, const char* key) {
  out += '"';
  out += key;
  out += "\":";
}

void AppendField(std::string& out, const char* key, std::string_view cp1252) {
  AppendKey(out, key);
  AppendJsonText(out, cp1252);
  out += ',';
}

void AppendNumber(std::string& out, const char* key, long long value) {
  AppendKey(out, key);
  out += std::to_string(value);
  out += ',';
}

void AppendFlag(std::string& out, const char* key, bool value) {
  AppendKey(out, key);
  out += value ? "true," : "false,";
}

// Closes an object or array: the last comma becomes the closing character.
void Close(std::string& out, char closing) {
  if (!out.empty() && out.back() == ',') {
    out.back() = closing;
  } else {
    out += closing;
  }
}

void AppendLapTimes(std::string& out, const std::vector<int32_t>& laps) {
  AppendKey(out, "lapTimes");
  out += '[';
  char text[kTimeTextCapacity];
  for (int32_t lap : laps) {
    FormatThreeForm(SplitTime(lap < 0 ? 0 : lap), text, sizeof text);
    out += '"';
    out += text;  // digits, ':' and '.' only
    out += "\",";
  }
  Close(out, ']');
  out += ',';
}

void AppendRow(std::string& out, const LiveRow& row) {
  out += '{';
  AppendNumber(out, "pos", row.position);
  AppendNumber(out, "slot", row.slotNumber);
  AppendField(out, "name", row.driverName);
  AppendField(out, "laps", row.lapsText);
  AppendField(out, "total", row.totalText);
  AppendField(out, "last", row.lastLapText);
  AppendField(out, "best", row.bestLapText);
  AppendFlag(out, "finished", row.finished);
  AppendFlag(out, "lapRecorded", row.lapRecorded);
  AppendFlag(out, "newBest", row.newBest);
  AppendFlag(out, "runBest", row.runBestHolder);
  AppendLapTimes(out, row.lapTimes);
  Close(out, '}');
  out += ',';
}

void AppendRows(std::string& out, const std::vector<LiveRow>& rows) {
  AppendKey(out, "rows");
  out += '[';
  for (const LiveRow& row : rows) AppendRow(out, row);
  Close(out, ']');
  out += ',';
}

void AppendRun(std::string& out, const RunResults& run) {
  out += '{';
  AppendNumber(out, "run", run.runNumber);
  AppendField(out, "title", run.runTitle);
  AppendRows(out, run.rows);
  Close(out, '}');
  out += ',';
}

// The fields of the live run, each followed by a comma; the caller closes the object.
void AppendLiveFields(std::string& out, const Snapshot& s) {
  AppendNumber(out, "version", static_cast<long long>(s.version));
  AppendField(out, "session", s.sessionName);
  AppendNumber(out, "run", s.live.runNumber);
  AppendField(out, "title", s.live.runTitle);
  AppendKey(out, "state");
  out += '"';
  out += RunStateKey(s.state);
  out += "\",";
  AppendKey(out, "clock");
  out += '{';
  AppendFlag(out, "lapRun", s.clock.lapRun);
  AppendField(out, "duration", s.clock.duration);
  AppendField(out, "elapsed", s.clock.elapsed);
  AppendField(out, "remaining", s.clock.remaining);
  AppendField(out, "countdown", s.clock.countdown);
  Close(out, '}');
  out += ',';
  AppendRows(out, s.live.rows);
  AppendNumber(out, "runsId", s.otherRuns != nullptr ? static_cast<long long>(s.otherRuns->id) : 0);
}

}  // namespace

void AppendJsonText(std::string& out, std::string_view cp1252) {
  out += '"';
  AppendEscapedUtf8(out, Cp1252ToUtf8(cp1252));
  out += '"';
}

const char* RunStateKey(LiveRunState state) {
  switch (state) {
    case LiveRunState::kCountdown: return "countdown";
    case LiveRunState::kRunning: return "running";
    case LiveRunState::kFinished: return "finished";
    case LiveRunState::kWaiting: break;
  }
  return "waiting";
}

std::string LiveRunJson(const Snapshot& s) {
  std::string out = "{";
  AppendLiveFields(out, s);
  Close(out, '}');
  return out;
}

std::string SnapshotJson(const Snapshot& s) {
  std::string out = "{";
  AppendLiveFields(out, s);
  AppendKey(out, "runs");
  out += '[';
  if (s.otherRuns != nullptr) {
    for (const RunResults& run : s.otherRuns->runs) AppendRun(out, run);
  }
  Close(out, ']');
  out += '}';
  return out;
}

std::string EventMessage(const Snapshot& s) {
  std::string out = "id: " + std::to_string(s.version) + "\ndata: ";
  out += LiveRunJson(s);
  out += "\n\n";
  return out;
}

}  // namespace zarvo
