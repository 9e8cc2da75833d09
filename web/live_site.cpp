// Answering the live results server's requests from the published snapshot.
#include "web/live_site.h"

#include <utility>

#include "platform/codepage.h"
#include "text/catalogue.h"
#include "web/live_json.h"
#include "web/live_page.h"

namespace zarvo {

namespace {

HttpReply Reply(int status, const char* contentType, std::string body) {
  HttpReply reply;
  reply.status = status;
  reply.contentType = contentType;
  reply.body = std::move(body);
  reply.headers.emplace_back("Cache-Control", "no-store");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  reply.headers.emplace_back("Referrer-Policy", "no-referrer");
  return reply;
}

HttpReply Refusal(int status, const char* cp1252Text) {
  return Reply(status, "text/plain; charset=utf-8", Cp1252ToUtf8(cp1252Text));
}

}  // namespace

LiveRoute RouteRequest(std::string_view method, std::string_view path, bool hasBody) {
  const bool page = path == kLivePagePath, snapshot = path == kLiveSnapshotPath,
             events = path == kLiveEventsPath;
  if (!page && !snapshot && !events) return LiveRoute::kNotFound;
  const bool get = method == "GET", head = method == "HEAD";
  if (!get && !(head && !events)) return LiveRoute::kMethodRefused;
  if (hasBody) return LiveRoute::kBodyRefused;
  return page ? LiveRoute::kPage : snapshot ? LiveRoute::kSnapshot : LiveRoute::kEvents;
}

LiveSite::LiveSite(const SnapshotPublisher& publisher, LiveSiteOptions options)
    : publisher_(publisher),
      options_(options),
      page_(LivePageHtml()),
      empty_(BuildEmptySnapshot()) {}

std::shared_ptr<const Snapshot> LiveSite::BuildEmptySnapshot() {
  auto s = std::make_shared<Snapshot>();
  s->live.runNumber = 0;
  s->otherRuns = NoSessionRuns();
  return s;
}

std::shared_ptr<const Snapshot> LiveSite::Latest() const {
  std::shared_ptr<const Snapshot> s = publisher_.Current();
  return s != nullptr ? s : empty_;
}

std::shared_ptr<const std::string> LiveSite::Render(Rendered& slot, const Snapshot& s,
                                                    std::string (*write)(const Snapshot&)) {
  // One thread renders a version; the others asking for it meanwhile wait and share the text.
  std::lock_guard<std::mutex> lock(renderMutex_);
  if (slot.text == nullptr || slot.version != s.version) {
    slot.text = std::make_shared<const std::string>(write(s));
    slot.version = s.version;
  }
  return slot.text;
}

HttpReply LiveSite::Answer(const HttpRequestHead& request) {
  switch (RouteRequest(request.method, request.path, request.hasBody)) {
    case LiveRoute::kNotFound: return Refusal(404, TXT_WEB_NOT_FOUND);
    case LiveRoute::kMethodRefused: {
      HttpReply reply = Refusal(405, TXT_WEB_METHOD_REFUSED);
      reply.headers.emplace_back("Allow", request.path == kLiveEventsPath ? "GET" : "GET, HEAD");
      return reply;
    }
    case LiveRoute::kBodyRefused: {
      HttpReply reply = Refusal(400, TXT_WEB_BODY_REFUSED);
      reply.close = true;
      return reply;
    }
    case LiveRoute::kPage: {
      HttpReply reply = Reply(200, "text/html; charset=utf-8", page_);
      // The page's own script and style only; it reaches nothing but this server.
      reply.headers.emplace_back(
          "Content-Security-Policy",
          "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'; "
          "connect-src 'self'; img-src data:; base-uri 'none'; form-action 'none'; "
          "frame-ancestors 'none'");
      return reply;
    }
    case LiveRoute::kSnapshot:
      return Reply(200, "application/json; charset=utf-8", *Render(json_, *Latest(), &SnapshotJson));
    case LiveRoute::kEvents: {
      HttpReply reply = Reply(200, "text/event-stream; charset=utf-8", std::string());
      reply.eventStream = true;
      return reply;
    }
  }
  return Refusal(404, TXT_WEB_NOT_FOUND);
}

bool LiveSite::NextEvent(EventStreamCursor& cursor, std::chrono::milliseconds wait,
                         std::string& out) {
  out.clear();
  std::shared_ptr<const Snapshot> s;
  if (!cursor.started) {
    // A new stream gets the reconnection delay and the current state at once.
    cursor.started = true;
    out = kEventStreamRetry;
    s = Latest();
  } else {
    s = publisher_.WaitForNewer(cursor.lastVersion, wait);
  }
  const auto now = std::chrono::steady_clock::now();
  if (s != nullptr && (s->version != cursor.lastVersion || cursor.lastWrite == decltype(now){})) {
    out += *Render(event_, *s, &EventMessage);
    cursor.lastVersion = s->version;
  } else if (out.empty() && now - cursor.lastWrite < options_.keepAlive) {
    return false;
  } else if (out.empty()) {
    out = kEventStreamKeepAlive;
  }
  cursor.lastWrite = now;
  return true;
}

}  // namespace zarvo
