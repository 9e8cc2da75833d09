// The live results server on cpp-httplib: its threads, its bounds and how a request reaches the
// content. The library parses HTTP; this file decides what a connection may cost: one of at most
// maxConnections worker threads, at most maxRequestBytes and requestTime for a request, idleTime
// between requests, and no route, file or method beyond what the content answers.
#if defined(_WIN32) && !defined(_WIN32_WINNT)
#define _WIN32_WINNT 0x0601  // the library's sockets need Windows 7 (inet_pton, WSAPoll)
#endif
#define CPPHTTPLIB_USE_POLL
#include "third_party/cpp-httplib/httplib.h"

#include "platform/live_server.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

#include "platform/listen_socket.h"

namespace zarvo {

namespace {

using std::chrono::steady_clock;

// Set on the accepting thread while it turns away a connection beyond the limit.
thread_local bool tRefusing = false;

// Exactly `size` threads, each serving one connection at a time. A connection that would have to
// wait for a free thread is refused at once on the accepting thread instead of being queued.
class ConnectionWorkers : public httplib::TaskQueue {
 public:
  explicit ConnectionWorkers(int size) : size_(size) {
    for (int i = 0; i < size; ++i) threads_.emplace_back([this] { Work(); });
  }
  ~ConnectionWorkers() override { shutdown(); }

  void enqueue(std::function<void()> job) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!stopping_ && busy_ + static_cast<int>(jobs_.size()) < size_) {
        jobs_.push_back(std::move(job));
        wake_.notify_one();
        return;
      }
    }
    tRefusing = true;
    job();
    tRefusing = false;
  }

  void shutdown() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_) {
      if (t.joinable()) t.join();
    }
  }

 private:
  void Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;  // stopping, and every accepted connection was served
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      ++busy_;
      lock.unlock();
      job();
      lock.lock();
      --busy_;
    }
  }

  const int size_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  int busy_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

enum class Cut { kNone, kTooLarge, kTooSlow };

// A request as the library reads it from the connection, with the request's byte budget and
// deadline: past either, reads end as if the client had stopped sending, so the library answers
// what it has (or nothing, when no request line came) and the connection ends.
class BoundedStream : public httplib::Stream {
 public:
  BoundedStream(httplib::Stream& inner, const LiveServerLimits& limits)
      : inner_(inner),
        budget_(limits.maxRequestBytes),
        deadline_(steady_clock::now() + limits.requestTime) {}

  bool is_readable() const override { return inner_.is_readable(); }
  bool is_writable() const override { return inner_.is_writable(); }
  ssize_t read(char* ptr, size_t size) override {
    if (cut_ != Cut::kNone) return 0;
    if (steady_clock::now() > deadline_) {
      cut_ = Cut::kTooSlow;
      return 0;
    }
    if (budget_ == 0) {
      cut_ = Cut::kTooLarge;
      return 0;
    }
    const ssize_t n = inner_.read(ptr, size < budget_ ? size : budget_);
    if (n > 0) budget_ -= static_cast<size_t>(n);
    if (n < 0) cut_ = Cut::kTooSlow;  // nothing came within the read timeout (or the line broke)
    return n;
  }
  ssize_t write(const char* ptr, size_t size) override { return inner_.write(ptr, size); }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    inner_.get_remote_ip_and_port(ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    inner_.get_local_ip_and_port(ip, port);
  }
  socket_t socket() const override { return inner_.socket(); }

  Cut cut() const { return cut_; }

 private:
  httplib::Stream& inner_;
  size_t budget_;
  steady_clock::time_point deadline_;
  Cut cut_ = Cut::kNone;
};

// The bytes of a whole connection in memory: what the client sent, and what was answered.
class MemoryStream : public httplib::Stream {
 public:
  explicit MemoryStream(std::string_view received) : in_(received) {}
  bool is_readable() const override { return at_ < in_.size(); }
  bool is_writable() const override { return true; }
  ssize_t read(char* ptr, size_t size) override {
    const size_t n = std::min(size, in_.size() - at_);
    std::memcpy(ptr, in_.data() + at_, n);
    at_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    out.append(ptr, size);
    return static_cast<ssize_t>(size);
  }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = 1;
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    ip = "127.0.0.1";
    port = 2;
  }
  socket_t socket() const override { return INVALID_SOCKET; }
  std::string out;

 private:
  std::string_view in_;
  size_t at_ = 0;
};

time_t WholeSeconds(std::chrono::milliseconds t) { return static_cast<time_t>(t.count() / 1000); }
time_t RestMicros(std::chrono::milliseconds t) {
  return static_cast<time_t>(t.count() % 1000 * 1000);
}

// The request being served on this thread, for the handlers the library calls.
thread_local const BoundedStream* tRequest = nullptr;
thread_local bool tCloseAfterReply = false;

bool HasBody(const httplib::Request& req) {
  if (req.has_header("Transfer-Encoding")) return true;
  return req.has_header("Content-Length") && req.get_header_value("Content-Length") != "0";
}

}  // namespace

struct LiveServer::State {
  // The library's server, with its connection handling replaced by the bounded one.
  class Server : public httplib::Server {
   public:
    explicit Server(State& state) : state_(state) {}

    // Reads and answers one request; false when the connection must end after it.
    bool ServeOne(httplib::Stream& connection, bool last);
    // The connection's requests read from memory, answered into memory.
    std::string ServeMemory(std::string_view received);

   private:
    bool process_and_close_socket(socket_t sock) override;
    State& state_;
  };

  State(LiveContent& content, const LiveServerLimits& limits)
      : content(content), limits(limits), server(*this) {}

  // Serving starts only while the server runs; a socket accepted as it stops is closed.
  bool Track(socket_t sock) {
    std::lock_guard<std::mutex> lock(mutex);
    if (stopping) return false;
    open.insert(sock);
    return true;
  }
  void Untrack(socket_t sock) {
    std::lock_guard<std::mutex> lock(mutex);
    open.erase(sock);
  }
  // Shuts every connection down, so threads waiting on one return at once.
  void StopServing() {
    std::lock_guard<std::mutex> lock(mutex);
    stopping = true;
    for (socket_t sock : open) httplib::detail::shutdown_socket(sock);
  }
  bool Stopping() {
    std::lock_guard<std::mutex> lock(mutex);
    return stopping;
  }

  void Configure();
  httplib::Server::HandlerResponse Route(const httplib::Request& req, httplib::Response& res);

  LiveContent& content;
  const LiveServerLimits limits;
  Server server;
  std::thread listener;
  std::mutex mutex;
  std::set<socket_t> open;
  bool stopping = false;
  bool inMemory = false;  // AnswerConnectionBytes: no socket, no thread
};

bool LiveServer::State::Server::process_and_close_socket(socket_t sock) {
  if (tRefusing) {
    static const char kBusy[] =
        "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n"
        "Retry-After: 2\r\n\r\n";
    httplib::detail::send_socket(sock, kBusy, sizeof kBusy - 1, 0);
    httplib::detail::shutdown_socket(sock);
    httplib::detail::close_socket(sock);
    return false;
  }
  // Replies and events are small writes: sent at once, not held back until the client
  // acknowledges the previous one (with delayed acknowledgements that cost 40 ms a reply).
  const int noDelay = 1;
  setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
             sizeof noDelay);
  bool served = false;
  if (state_.Track(sock)) {
    const LiveServerLimits& limits = state_.limits;
    const auto idle = limits.idleTime;
    for (int left = limits.maxRequestsPerConnection; left > 0; --left) {
      // Waits for the next request; Stop shuts the socket down, which ends the wait at once.
      if (httplib::detail::select_read(sock, WholeSeconds(idle), RestMicros(idle)) <= 0 ||
          state_.Stopping()) {
        break;
      }
      httplib::detail::SocketStream connection(
          sock, WholeSeconds(limits.readTimeout), RestMicros(limits.readTimeout),
          WholeSeconds(limits.writeTimeout), RestMicros(limits.writeTimeout));
      served = true;
      if (!ServeOne(connection, left == 1)) break;
    }
    state_.Untrack(sock);
  }
  httplib::detail::shutdown_socket(sock);
  httplib::detail::close_socket(sock);
  return served;
}

bool LiveServer::State::Server::ServeOne(httplib::Stream& connection, bool last) {
  BoundedStream stream(connection, state_.limits);
  bool closed = false;
  tRequest = &stream;
  tCloseAfterReply = false;
  const bool answered = process_request(stream, last, closed, nullptr);
  tRequest = nullptr;
  return answered && !closed && !tCloseAfterReply && stream.cut() == Cut::kNone;
}

std::string LiveServer::State::Server::ServeMemory(std::string_view received) {
  MemoryStream connection(received);
  for (int left = state_.limits.maxRequestsPerConnection; left > 0; --left) {
    if (!connection.is_readable() || !ServeOne(connection, left == 1)) break;
  }
  return connection.out;
}

void LiveServer::State::Configure() {
  using namespace std::chrono;
  server.set_read_timeout(WholeSeconds(limits.readTimeout), RestMicros(limits.readTimeout));
  server.set_write_timeout(WholeSeconds(limits.writeTimeout), RestMicros(limits.writeTimeout));
  // What the library writes in its Keep-Alive header; the loop above applies them.
  server.set_keep_alive_timeout(static_cast<time_t>(duration_cast<seconds>(limits.idleTime).count()));
  server.set_keep_alive_max_count(static_cast<size_t>(limits.maxRequestsPerConnection));
  server.set_payload_max_length(limits.maxRequestBytes);
  server.set_socket_options([](socket_t sock) { SetListenSocketOptions(static_cast<uintptr_t>(sock)); });
  const int workers = limits.maxConnections;
  server.new_task_queue = [workers] { return new ConnectionWorkers(workers); };
  server.set_pre_routing_handler(
      [this](const httplib::Request& req, httplib::Response& res) { return Route(req, res); });
  // The library's own refusals of a request cut by its bounds (its status 400) say which bound.
  server.set_error_handler(httplib::Server::HandlerWithResponse(
      [](const httplib::Request&, httplib::Response& res) {
    if (tRequest == nullptr) return httplib::Server::HandlerResponse::Unhandled;
    // A request the library could not parse leaves the connection at an unknown place.
    if (res.status == 400) tCloseAfterReply = true;
    if (tRequest->cut() == Cut::kNone) return httplib::Server::HandlerResponse::Unhandled;
    res.status = tRequest->cut() == Cut::kTooLarge ? 431 : 408;
    res.set_header("Connection", "close");
    return httplib::Server::HandlerResponse::Handled;
  }));
}

// Every request that the library has read and parsed is answered here, before the library looks
// at any route, mount point or body of its own.
httplib::Server::HandlerResponse LiveServer::State::Route(const httplib::Request& req,
                                                          httplib::Response& res) {
  const HttpRequestHead head{req.method, req.path, HasBody(req)};
  HttpReply reply = content.Answer(head);
  res.status = reply.status;
  for (const auto& [name, value] : reply.headers) res.set_header(name.c_str(), value);
  // A body is never read: the connection ends with the reply so its bytes are not taken for
  // the next request.
  if (reply.close || reply.eventStream || head.hasBody) {
    res.set_header("Connection", "close");
    tCloseAfterReply = true;
  }
  if (reply.eventStream) {
    res.set_chunked_content_provider(
        reply.contentType,
        [this, cursor = EventStreamCursor{}](size_t, httplib::DataSink& sink) mutable {
          if (Stopping()) return false;
          std::string out;
          const bool some = content.NextEvent(cursor, limits.streamWait, out);
          if (some && !sink.write(out.data(), out.size())) return false;
          if (inMemory) {
            sink.done();  // a connection in memory gets the stream's first bytes, then its end
            return true;
          }
          return sink.is_writable();
        });
  } else {
    res.body = std::move(reply.body);
    if (!reply.contentType.empty()) res.set_header("Content-Type", reply.contentType);
  }
  return httplib::Server::HandlerResponse::Handled;
}

LiveServer::LiveServer(LiveContent& content, LiveServerLimits limits)
    : content_(content), limits_(limits) {}

LiveServer::~LiveServer() { Stop(); }

LiveServerStart LiveServer::Start(int port, const char* address) {
  if (state_ != nullptr) return {LiveServerResult::kAlreadyRunning, 0, 0};
  if (port < 0 || port > 65535) return {LiveServerResult::kFailed, port, 0};
  auto state = std::make_unique<State>(content_, limits_);
  state->Configure();
  int bound = port;
  bool ok;
  if (port == 0) {
    bound = state->server.bind_to_any_port(address);
    ok = bound > 0;
  } else {
    ok = state->server.bind_to_port(address, port);
  }
  if (!ok) {
    // The library does not say why; binding the same way again does.
    LiveServerStart why = ProbeListenPort(address, port);
    if (why.result == LiveServerResult::kStarted) why.result = LiveServerResult::kFailed;
    return why;
  }
  State* s = state.get();
  s->listener = std::thread([s] { s->server.listen_after_bind(); });
  // Stop may only be asked once the listening loop runs (the library ignores it before).
  const auto give_up = steady_clock::now() + std::chrono::seconds(5);
  while (!s->server.is_running() && steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  state_ = std::move(state);
  if (!state_->server.is_running()) {
    Stop();
    return {LiveServerResult::kFailed, bound, 0};
  }
  return {LiveServerResult::kStarted, bound, 0};
}

void LiveServer::Stop() {
  if (state_ == nullptr) return;
  state_->StopServing();
  state_->server.stop();
  if (state_->listener.joinable()) state_->listener.join();
  state_.reset();
}

bool LiveServer::Running() const { return state_ != nullptr; }

std::string AnswerConnectionBytes(LiveContent& content, std::string_view received,
                                  const LiveServerLimits& limits) {
  LiveServer::State state(content, limits);
  state.inMemory = true;
  state.Configure();
  return state.server.ServeMemory(received);
}

int LiveServer::OpenConnections() const {
  if (state_ == nullptr) return 0;
  std::lock_guard<std::mutex> lock(state_->mutex);
  return static_cast<int>(state_->open.size());
}

}  // namespace zarvo
