// The live results server over real sockets on 127.0.0.1: the page's routes and nothing else, the
// bounds on requests and connections, slow and idle clients, the event stream following the
// published snapshots, a port already taken, and a stop that ends every connection.
#include "platform/live_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "tests/support/live_samples.h"
#include "web/live_json.h"
#include "web/live_site.h"

namespace zarvo {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// A client socket; every read waits at most 5 s so a broken server fails the test, not hangs it.
class Client {
 public:
  explicit Client(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    timeval tv{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  }
  ~Client() { Close(); }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  bool connected() const { return connected_; }
  bool Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
  }
  // Reads until the text has come (true) or the connection ends or stays quiet for 5 s.
  bool ReadUntil(const std::string& text) {
    while (received.find(text) == std::string::npos) {
      if (!ReadSome()) return false;
    }
    return true;
  }
  // Reads until the server closes the connection; false when it stays open for 5 s.
  bool ReadToClose() {
    char buf[4096];
    for (;;) {
      const ssize_t n = recv(fd_, buf, sizeof buf, 0);
      if (n == 0 || (n < 0 && errno == ECONNRESET)) return true;
      if (n < 0) return false;
      received.append(buf, size_t(n));
    }
  }
  std::string received;

 private:
  bool ReadSome() {
    char buf[4096];
    const ssize_t n = recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) return false;
    received.append(buf, size_t(n));
    return true;
  }
  int fd_ = -1;
  bool connected_ = false;
};

std::string Get(const std::string& path, const std::string& extra = "") {
  return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

// One whole response of a request on a fresh connection closed by the client's request.
std::string Ask(int port, const std::string& request) {
  Client c(port);
  EXPECT_TRUE(c.connected());
  c.Send(request);
  c.ReadToClose();
  return c.received;
}

int StatusOf(const std::string& response) {
  return response.rfind("HTTP/1.1 ", 0) == 0 ? std::stoi(response.substr(9, 3)) : 0;
}

std::string BodyOf(const std::string& response) {
  const size_t at = response.find("\r\n\r\n");
  return at == std::string::npos ? std::string() : response.substr(at + 4);
}

class LiveServerTest : public ::testing::Test {
 protected:
  void StartWith(LiveServerLimits limits, LiveSiteOptions options = {}) {
    site_ = std::make_unique<LiveSite>(publisher, options);
    server_ = std::make_unique<LiveServer>(*site_, limits);
    const LiveServerStart start = server_->Start(0, "127.0.0.1");
    ASSERT_EQ(start.result, LiveServerResult::kStarted);
    port = start.port;
  }
  void SetUp() override { publisher.Publish(testing::SampleSnapshot(2, 2)); }

  SnapshotPublisher publisher;
  std::unique_ptr<LiveSite> site_;
  std::unique_ptr<LiveServer> server_;
  int port = 0;
};

TEST_F(LiveServerTest, ServesThePageTheSnapshotAndRefusesEverythingElse) {
  StartWith({});
  const std::string page = Ask(port, Get("/", "Connection: close\r\n"));
  EXPECT_EQ(StatusOf(page), 200);
  EXPECT_NE(page.find("Content-Type: text/html; charset=utf-8"), std::string::npos);
  EXPECT_NE(BodyOf(page).find("<!DOCTYPE html>"), std::string::npos);

  const std::string json = Ask(port, Get("/results.json?x=1", "Connection: close\r\n"));
  EXPECT_EQ(StatusOf(json), 200);
  EXPECT_EQ(BodyOf(json), SnapshotJson(*publisher.Current()));

  EXPECT_EQ(StatusOf(Ask(port, Get("/Private/Session.trng", "Connection: close\r\n"))), 404);
  EXPECT_EQ(StatusOf(Ask(port, Get("/../../etc/passwd", "Connection: close\r\n"))), 404);
  const std::string post = Ask(port,
                               "POST /results.json HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n"
                               "\r\nhello");
  EXPECT_EQ(StatusOf(post), 405);
  EXPECT_NE(post.find("Allow: GET, HEAD"), std::string::npos);
  EXPECT_EQ(StatusOf(Ask(port, "DELETE / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")), 405);
  EXPECT_EQ(StatusOf(Ask(port, "BREW / HTTP/1.1\r\nHost: x\r\n\r\n")), 400);
  // A GET with a body is answered and its connection closed: the body is never parsed.
  const std::string smuggled =
      Ask(port, "GET / HTTP/1.1\r\nHost: x\r\nContent-Length: 23\r\n\r\nGET /events HTTP/1.1\r\n\r\n");
  EXPECT_EQ(StatusOf(smuggled), 400);
  EXPECT_EQ(smuggled.find("HTTP/1.1", 1), std::string::npos) << "one response only";

  const std::string head = Ask(port, "HEAD / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(StatusOf(head), 200);
  EXPECT_TRUE(BodyOf(head).empty());
}

TEST_F(LiveServerTest, AConnectionServesRequestsOneAfterAnother) {
  StartWith({});
  Client c(port);
  ASSERT_TRUE(c.Send(Get("/results.json")));
  ASSERT_TRUE(c.ReadUntil("\"runsId\""));
  c.received.clear();
  ASSERT_TRUE(c.Send(Get("/nothing")));
  EXPECT_TRUE(c.ReadUntil("HTTP/1.1 404"));
}

TEST_F(LiveServerTest, ARequestOverItsSizeIsRefusedAndItsConnectionClosed) {
  LiveServerLimits limits;
  limits.maxRequestBytes = 8192;
  StartWith(limits);
  // Headers of 9000 bytes, each line short enough for the library on its own.
  std::string headers;
  while (headers.size() < 9000) headers += "X-Filler: " + std::string(90, 'a') + "\r\n";
  const std::string big = Ask(port, Get("/", headers));
  EXPECT_EQ(StatusOf(big), 431);
  // A long request line.
  EXPECT_EQ(StatusOf(Ask(port, Get("/" + std::string(9000, 'p')))), 431);
  // A request just under the size is answered.
  EXPECT_EQ(StatusOf(Ask(port, Get("/", "Connection: close\r\nX-Filler: " + std::string(7000, 'a') +
                                            "\r\n"))),
            200);
}

TEST_F(LiveServerTest, ConnectionsBeyondTheLimitAreRefusedAtOnce) {
  LiveServerLimits limits;
  limits.maxConnections = 4;
  limits.idleTime = milliseconds(20000);
  StartWith(limits);
  std::vector<std::unique_ptr<Client>> held;
  for (int i = 0; i < 4; ++i) {
    held.push_back(std::make_unique<Client>(port));
    ASSERT_TRUE(held.back()->connected());
  }
  const auto until = steady_clock::now() + std::chrono::seconds(5);
  while (server_->OpenConnections() < 4 && steady_clock::now() < until) {
    std::this_thread::sleep_for(milliseconds(5));
  }
  ASSERT_EQ(server_->OpenConnections(), 4);
  Client fifth(port);
  ASSERT_TRUE(fifth.connected());
  EXPECT_TRUE(fifth.ReadToClose()) << "closed at once, not left waiting";
  EXPECT_EQ(StatusOf(fifth.received), 503);
  // The held connections are still served, and a freed place is taken again.
  ASSERT_TRUE(held[0]->Send(Get("/results.json")));
  EXPECT_TRUE(held[0]->ReadUntil("\"runsId\""));
  held[1]->Close();
  const auto freed = steady_clock::now() + std::chrono::seconds(5);
  while (server_->OpenConnections() > 3 && steady_clock::now() < freed) {
    std::this_thread::sleep_for(milliseconds(5));
  }
  EXPECT_EQ(StatusOf(Ask(port, Get("/", "Connection: close\r\n"))), 200);
}

TEST_F(LiveServerTest, ASlowClientIsCutAndAnIdleOneClosed) {
  LiveServerLimits limits;
  limits.requestTime = milliseconds(400);
  limits.readTimeout = milliseconds(300);
  limits.idleTime = milliseconds(300);
  StartWith(limits);
  // A request dripping in a byte at a time never gets whole within its time.
  Client slow(port);
  ASSERT_TRUE(slow.Send("GET / HTTP/1.1\r\nHost: x\r\n"));
  const auto start = steady_clock::now();
  for (int i = 0; i < 40 && slow.Send("X"); ++i) std::this_thread::sleep_for(milliseconds(50));
  EXPECT_TRUE(slow.ReadToClose());
  EXPECT_EQ(StatusOf(slow.received), 408);
  EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(4));
  // A connection that asks nothing is closed after the idle time.
  Client idle(port);
  const auto opened = steady_clock::now();
  EXPECT_TRUE(idle.ReadToClose());
  EXPECT_TRUE(idle.received.empty());
  EXPECT_LT(steady_clock::now() - opened, std::chrono::seconds(4));
}

TEST_F(LiveServerTest, TheEventStreamFollowsThePublishedSnapshots) {
  StartWith({}, LiveSiteOptions{milliseconds(200)});
  Client stream(port);
  ASSERT_TRUE(stream.Send(Get("/events")));
  ASSERT_TRUE(stream.ReadUntil("\n\n"));
  EXPECT_NE(stream.received.find("Content-Type: text/event-stream"), std::string::npos);
  ASSERT_TRUE(stream.ReadUntil("id: 1\ndata: {"));
  // The program records a lap: the stream carries it within the bound.
  publisher.Publish(testing::SampleSnapshot(2, 3));
  const auto published = steady_clock::now();
  ASSERT_TRUE(stream.ReadUntil("id: 2\ndata: {"));
  EXPECT_LT(steady_clock::now() - published, std::chrono::seconds(2));
  const std::string message = EventMessage(*publisher.Current());
  EXPECT_TRUE(stream.ReadUntil(message.substr(message.size() - 40)));
  // Quiet for a while: a keep-alive comment.
  EXPECT_TRUE(stream.ReadUntil(": keep-alive\n\n"));
}

TEST_F(LiveServerTest, APortTakenByAnotherServerIsSaidSo) {
  StartWith({});
  LiveSite other(publisher);
  LiveServer second(other);
  const LiveServerStart taken = second.Start(port, "127.0.0.1");
  EXPECT_EQ(taken.result, LiveServerResult::kPortTaken);
  EXPECT_EQ(taken.systemError, EADDRINUSE);
  EXPECT_FALSE(second.Running());
  EXPECT_EQ(server_->Start(port, "127.0.0.1").result, LiveServerResult::kAlreadyRunning);
  EXPECT_EQ(StatusOf(Ask(port, Get("/", "Connection: close\r\n"))), 200) << "the first one serves";
}

TEST_F(LiveServerTest, StopEndsEveryConnectionAndFreesThePort) {
  StartWith({});
  Client stream(port), idle(port);
  ASSERT_TRUE(stream.Send(Get("/events")));
  ASSERT_TRUE(stream.ReadUntil("id: 1\n"));
  const auto start = steady_clock::now();
  server_->Stop();
  EXPECT_LT(steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_FALSE(server_->Running());
  EXPECT_TRUE(stream.ReadToClose());
  EXPECT_TRUE(idle.ReadToClose());
  // Off: nothing listens; started again on the same port, it serves.
  EXPECT_FALSE(Client(port).connected());
  ASSERT_EQ(server_->Start(port, "127.0.0.1").result, LiveServerResult::kStarted);
  EXPECT_EQ(StatusOf(Ask(port, Get("/", "Connection: close\r\n"))), 200);
}

}  // namespace
}  // namespace zarvo
