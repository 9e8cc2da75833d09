// The live results server: a small read-only HTTP server on its own threads, off until started.
// It serves only what its content answers (the page's routes) and bounds everything a client can
// make it do: the size of a request, the time a request may take to arrive, idle connections,
// the number of connections; nothing is ever read from the disk. What it serves comes from a
// LiveContent, implemented above the platform; the server only moves bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zarvo {

// What the server tells its content about a request.
struct HttpRequestHead {
  std::string_view method;  // "GET", "HEAD", "POST", ...
  std::string_view path;    // without the query
  bool hasBody;             // a Content-Length above 0 or a Transfer-Encoding
};

struct HttpReply {
  int status = 200;
  std::string contentType;  // empty: none
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
  bool eventStream = false;  // the body is the event stream, sent by NextEvent
  bool close = false;        // close the connection after the reply
};

// Where an event stream stands; one per stream, kept by the server for its content.
struct EventStreamCursor {
  bool started = false;
  uint64_t lastVersion = 0;
  std::chrono::steady_clock::time_point lastWrite{};
};

// What the server serves. Called on the server's threads, several at once.
class LiveContent {
 public:
  virtual ~LiveContent() = default;
  virtual HttpReply Answer(const HttpRequestHead& request) = 0;
  // The next bytes of an event stream, waiting at most `wait` for something to send; false when
  // there is nothing yet (the server then checks the connection and asks again).
  virtual bool NextEvent(EventStreamCursor& cursor, std::chrono::milliseconds wait,
                         std::string& out) = 0;
};

struct LiveServerLimits {
  int maxConnections = 64;      // one more is answered 503 and closed at once
  size_t maxRequestBytes = 8192;  // request line, headers and body together: beyond, 431
  // A request must have arrived whole this long after its first byte: beyond, 408 and closed.
  std::chrono::milliseconds requestTime{10000};
  std::chrono::milliseconds readTimeout{2000};   // one read waits at most this long
  std::chrono::milliseconds writeTimeout{5000};  // a client that stops reading is dropped
  std::chrono::milliseconds idleTime{5000};      // a kept-alive connection without a request
  int maxRequestsPerConnection = 100;
  std::chrono::milliseconds streamWait{250};  // how often a waiting event stream looks up
};

enum class LiveServerResult {
  kStarted,
  kAlreadyRunning,
  kPortTaken,      // another program listens on the port: choose another one
  kPortForbidden,  // the system does not let this program listen there (a reserved port)
  kFailed,         // anything else; systemError says what
};

struct LiveServerStart {
  LiveServerResult result;
  int port;         // the port listened on (the one chosen when 0 was asked for)
  int systemError;  // errno or WSAGetLastError() of the failure; 0 otherwise
};

class LiveServer {
 public:
  explicit LiveServer(LiveContent& content, LiveServerLimits limits = {});
  ~LiveServer();  // stops the server
  LiveServer(const LiveServer&) = delete;
  LiveServer& operator=(const LiveServer&) = delete;

  // Listens on the port (0: any free one) of the address (IPv4, "0.0.0.0": every interface) and
  // serves on other threads. Returns once the port is listened on, or with why it is not.
  LiveServerStart Start(int port, const char* address = "0.0.0.0");
  // Closes every connection and returns once no thread of the server is left.
  void Stop();
  bool Running() const;
  // Connections being served now (diagnostics and tests).
  int OpenConnections() const;

 private:
  struct State;
  friend std::string AnswerConnectionBytes(LiveContent&, std::string_view, const LiveServerLimits&);
  LiveContent& content_;
  LiveServerLimits limits_;
  std::unique_ptr<State> state_;
};

// What the server sends back on a connection over which a client sent `received`, then closed
// its side: the same request handling and bounds, without socket or thread (the fuzz target of
// the request path). An event stream is answered with its first bytes, then ended.
std::string AnswerConnectionBytes(LiveContent& content, std::string_view received,
                                  const LiveServerLimits& limits = {});

// Why binding a listening socket to the port of that IPv4 address fails: kStarted when it can be
// bound, else kPortTaken, kPortForbidden or kFailed with the system's error. Implemented per system.
LiveServerStart ProbeListenPort(const char* address, int port);

}  // namespace zarvo
