// Any bytes a client can send on a connection to the live results server, through the library's
// parser, the server's bounds and the site's routes: every answer is a well-formed response, a 200
// is only ever the page, the JSON snapshot or the event stream, and nothing the client sends
// changes the published snapshot.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/live_server.h"
#include "tests/fuzz/fuzz_support.h"
#include "web/live_site.h"

namespace {

zarvo::SnapshotPublisher& Publisher() {
  static zarvo::SnapshotPublisher* publisher = [] {
    auto* p = new zarvo::SnapshotPublisher;
    auto s = std::make_shared<zarvo::Snapshot>();
    s->sessionName = "SEANCE TRAINING";
    s->live.runNumber = 1;
    zarvo::LiveRow row{};
    row.position = 1;
    row.slotNumber = 1;
    row.driverName = "<script>";
    row.lapTimes = {30000, 29000};
    s->live.rows.push_back(row);
    s->otherRuns = zarvo::NoSessionRuns();
    p->Publish(s);
    return p;
  }();
  return *publisher;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zarvo::LiveSite site(Publisher());
  const std::shared_ptr<const zarvo::Snapshot> before = Publisher().Current();
  zarvo::LiveServerLimits limits;
  limits.maxRequestBytes = 512;  // small, so the fuzzer reaches the bound
  const std::string_view received(reinterpret_cast<const char*>(data), size);
  const std::string answer = zarvo::AnswerConnectionBytes(site, received, limits);

  // Every response starts with a status line the server chose; a 200 carries one of the three
  // things the page's paths serve, nothing else.
  size_t at = 0;
  int responses = 0;
  while (at < answer.size()) {
    FUZZ_CHECK(answer.compare(at, 9, "HTTP/1.1 ") == 0);
    const int status = std::stoi(answer.substr(at + 9, 3));
    FUZZ_CHECK(status == 100 || status == 200 || status == 400 || status == 404 ||
               status == 405 || status == 408 || status == 413 || status == 414 ||
               status == 416 || status == 417 || status == 431 || status == 500);
    const size_t next = answer.find("HTTP/1.1 ", at + 1);
    const size_t end = next == std::string::npos ? answer.size() : next;
    if (status == 200) {
      const std::string response = answer.substr(at, end - at);
      FUZZ_CHECK(response.find("Content-Type: text/html; charset=utf-8\r\n") != std::string::npos ||
                 response.find("Content-Type: application/json; charset=utf-8\r\n") !=
                     std::string::npos ||
                 response.find("Content-Type: text/event-stream; charset=utf-8\r\n") !=
                     std::string::npos);
    }
    ++responses;
    at = end;
  }
  FUZZ_CHECK(responses <= 200);  // 100 requests a connection, each perhaps after a 100 Continue
  FUZZ_CHECK(Publisher().Current() == before);
  return 0;
}
