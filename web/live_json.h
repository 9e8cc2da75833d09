// The live results as text for the page: the JSON snapshot, the event-stream message and its
// keep-alive. Every text of the program (Windows-1252) is converted to UTF-8 and escaped, with
// '<', '>' and '&' escaped too, so no text can end a string or a script wherever it lands.
#pragma once

#include <string>
#include <string_view>

#include "web/live_snapshot.h"

namespace zarvo {

// Appends the text as a JSON string (quotes included): Windows-1252 to UTF-8, then escaped.
void AppendJsonText(std::string& out, std::string_view cp1252);

// The state's key in the JSON: "waiting", "countdown", "running", "finished".
const char* RunStateKey(LiveRunState state);

// The live run without the other runs (what the event stream sends): an object with version,
// session, run, title, state, clock, rows (position, slot, name, the row's texts, flags and the
// lap times as the table writes them) and runsId, the id of the other runs' list.
std::string LiveRunJson(const Snapshot& s);

// Everything: the live run's fields and "runs", the other runs with their classification.
std::string SnapshotJson(const Snapshot& s);

// One message of the event stream: "id: <version>\ndata: <LiveRunJson>\n\n". The JSON holds no
// line end (every line end inside a text is escaped), so it is one data line.
std::string EventMessage(const Snapshot& s);

// Sent at the start of a stream: how long the browser waits before it reconnects.
constexpr char kEventStreamRetry[] = "retry: 3000\n\n";
// Sent when nothing else was sent for a while, so proxies and phones keep the stream open.
constexpr char kEventStreamKeepAlive[] = ": keep-alive\n\n";

}  // namespace zarvo
