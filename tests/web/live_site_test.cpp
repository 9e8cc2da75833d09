// What the live results server answers: the three routes of the page and a refusal for every
// other path, method or body; the JSON of the published snapshot; the event stream's messages,
// its first state at once and its keep-alive.
#include "web/live_site.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "tests/support/live_samples.h"
#include "web/live_json.h"
#include "web/live_page.h"

namespace zarvo {
namespace {

using std::chrono::milliseconds;

std::string Header(const HttpReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers) {
    if (key == name) return value;
  }
  return {};
}

TEST(LiveRoutes, OnlyThePagesPathsAndOnlyReadingMethods) {
  struct Case {
    const char* method;
    const char* path;
    bool body;
    LiveRoute route;
  } cases[] = {
      {"GET", "/", false, LiveRoute::kPage},
      {"HEAD", "/", false, LiveRoute::kPage},
      {"GET", "/results.json", false, LiveRoute::kSnapshot},
      {"HEAD", "/results.json", false, LiveRoute::kSnapshot},
      {"GET", "/events", false, LiveRoute::kEvents},
      {"HEAD", "/events", false, LiveRoute::kMethodRefused},
      {"POST", "/", false, LiveRoute::kMethodRefused},
      {"PUT", "/results.json", false, LiveRoute::kMethodRefused},
      {"DELETE", "/events", false, LiveRoute::kMethodRefused},
      {"OPTIONS", "/", false, LiveRoute::kMethodRefused},
      {"get", "/", false, LiveRoute::kMethodRefused},
      {"GET", "/", true, LiveRoute::kBodyRefused},
      {"POST", "/", true, LiveRoute::kMethodRefused},
      {"GET", "/index.html", false, LiveRoute::kNotFound},
      {"GET", "/results.json/", false, LiveRoute::kNotFound},
      {"GET", "//", false, LiveRoute::kNotFound},
      {"GET", "/../Private/Session.trng", false, LiveRoute::kNotFound},
      {"GET", "/RESULTS.JSON", false, LiveRoute::kNotFound},
      {"GET", "", false, LiveRoute::kNotFound},
      {"POST", "/anything", true, LiveRoute::kNotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RouteRequest(c.method, c.path, c.body), c.route) << c.method << " " << c.path;
  }
}

TEST(LiveSite, ThePageTheSnapshotAndTheStreamWithTheirTypes) {
  SnapshotPublisher publisher;
  LiveSite site(publisher);
  const HttpReply page = site.Answer({"GET", "/", false});
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.contentType, "text/html; charset=utf-8");
  EXPECT_EQ(page.body, LivePageHtml());
  EXPECT_NE(Header(page, "Content-Security-Policy").find("default-src 'none'"), std::string::npos);
  EXPECT_EQ(Header(page, "Cache-Control"), "no-store");

  const HttpReply stream = site.Answer({"GET", "/events", false});
  EXPECT_EQ(stream.status, 200);
  EXPECT_TRUE(stream.eventStream);
  EXPECT_EQ(stream.contentType, "text/event-stream; charset=utf-8");

  // Before the program published anything: an empty, waiting run.
  const HttpReply before = site.Answer({"GET", "/results.json", false});
  EXPECT_EQ(before.status, 200);
  EXPECT_EQ(before.contentType, "application/json; charset=utf-8");
  const nlohmann::json empty = nlohmann::json::parse(before.body);
  EXPECT_EQ(empty["state"], "waiting");
  EXPECT_TRUE(empty["rows"].empty());

  publisher.Publish(testing::SampleSnapshot(2, 1, {testing::TimedRunResults(1, 1, 1)}));
  const HttpReply after = site.Answer({"GET", "/results.json", false});
  EXPECT_EQ(after.body, SnapshotJson(*publisher.Current()));
  EXPECT_EQ(nlohmann::json::parse(after.body)["rows"].size(), 2u);
}

TEST(LiveSite, RefusalsSayWhyAndChangeNothing) {
  SnapshotPublisher publisher;
  publisher.Publish(testing::SampleSnapshot(1, 1));
  const std::shared_ptr<const Snapshot> before = publisher.Current();
  LiveSite site(publisher);
  const HttpReply missing = site.Answer({"GET", "/favicon.ico", false});
  EXPECT_EQ(missing.status, 404);
  EXPECT_FALSE(missing.body.empty());
  const HttpReply post = site.Answer({"POST", "/results.json", true});
  EXPECT_EQ(post.status, 405);
  EXPECT_EQ(Header(post, "Allow"), "GET, HEAD");
  EXPECT_EQ(Header(site.Answer({"HEAD", "/events", false}), "Allow"), "GET");
  const HttpReply body = site.Answer({"GET", "/", true});
  EXPECT_EQ(body.status, 400);
  EXPECT_TRUE(body.close) << "its body must not be read as the next request";
  EXPECT_EQ(publisher.Current(), before);
}

TEST(LiveSite, AStreamGetsTheCurrentStateAtOnceThenEachNewSnapshot) {
  SnapshotPublisher publisher;
  publisher.Publish(testing::SampleSnapshot(2, 1));
  LiveSite site(publisher, LiveSiteOptions{milliseconds(60000)});
  EventStreamCursor cursor;
  std::string out;
  ASSERT_TRUE(site.NextEvent(cursor, milliseconds(0), out));
  EXPECT_EQ(out, std::string(kEventStreamRetry) + EventMessage(*publisher.Current()));
  // Nothing new: nothing to send.
  EXPECT_FALSE(site.NextEvent(cursor, milliseconds(10), out));
  // A snapshot published while the stream waits is sent when the wait ends, well before its
  // timeout.
  std::thread later([&] {
    std::this_thread::sleep_for(milliseconds(50));
    publisher.Publish(testing::SampleSnapshot(3, 1));
  });
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(site.NextEvent(cursor, milliseconds(20000), out));
  later.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(10000));
  EXPECT_EQ(out, EventMessage(*publisher.Current()));
  EXPECT_EQ(cursor.lastVersion, 2u);
}

TEST(LiveSite, AQuietStreamGetsAKeepAliveComment) {
  SnapshotPublisher publisher;
  LiveSite site(publisher, LiveSiteOptions{milliseconds(30)});
  EventStreamCursor cursor;
  std::string out;
  ASSERT_TRUE(site.NextEvent(cursor, milliseconds(0), out));
  EXPECT_EQ(out.rfind(kEventStreamRetry, 0), 0u) << "the empty state before any publication";
  std::this_thread::sleep_for(milliseconds(40));
  ASSERT_TRUE(site.NextEvent(cursor, milliseconds(0), out));
  EXPECT_EQ(out, kEventStreamKeepAlive);
  EXPECT_FALSE(site.NextEvent(cursor, milliseconds(0), out)) << "just sent one";
}

TEST(LiveSite, EveryReaderGetsTheSameTextOfAVersionAndANewVersionANewText) {
  SnapshotPublisher publisher;
  publisher.Publish(testing::SampleSnapshot(20, 50));
  LiveSite site(publisher);
  EventStreamCursor a, b;
  std::string first, second;
  ASSERT_TRUE(site.NextEvent(a, milliseconds(0), first));
  ASSERT_TRUE(site.NextEvent(b, milliseconds(0), second));
  EXPECT_EQ(first, second);
  const std::string json1 = site.Answer({"GET", "/results.json", false}).body;
  const std::string json2 = site.Answer({"GET", "/results.json", false}).body;
  EXPECT_EQ(json1, json2);
  publisher.Publish(testing::SampleSnapshot(1, 1));
  EXPECT_NE(site.Answer({"GET", "/results.json", false}).body, json1) << "a new version renders";
}

}  // namespace
}  // namespace zarvo
