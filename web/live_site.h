// What the live results server serves: the page, the JSON snapshot and the event stream, and a
// refusal for everything else. Read-only: no request changes anything, and nothing comes from
// the disk. Texts are rendered from the published snapshot once per version, on the server's
// threads, never on the user-interface thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/live_server.h"
#include "web/snapshot_publisher.h"

namespace zarvo {

constexpr char kLivePagePath[] = "/";
constexpr char kLiveSnapshotPath[] = "/results.json";
constexpr char kLiveEventsPath[] = "/events";

enum class LiveRoute {
  kPage,
  kSnapshot,
  kEvents,
  kNotFound,       // 404: not a path of the page
  kMethodRefused,  // 405: a path of the page asked with anything but GET (or HEAD)
  kBodyRefused,    // 400: a request with a body; nothing here reads one
};

// The route of a request. GET and HEAD reach the page and the snapshot; the event stream only
// GET. Paths are compared exactly (the query is not part of them).
LiveRoute RouteRequest(std::string_view method, std::string_view path, bool hasBody);

struct LiveSiteOptions {
  // An event stream that sent nothing for this long gets a keep-alive comment.
  std::chrono::milliseconds keepAlive{15000};
};

class LiveSite : public LiveContent {
 public:
  explicit LiveSite(const SnapshotPublisher& publisher, LiveSiteOptions options = {});

  HttpReply Answer(const HttpRequestHead& request) override;
  bool NextEvent(EventStreamCursor& cursor, std::chrono::milliseconds wait,
                 std::string& out) override;

 private:
  struct Rendered {
    uint64_t version = 0;
    std::shared_ptr<const std::string> text;
  };
  static std::shared_ptr<const Snapshot> BuildEmptySnapshot();
  // The snapshot now published, or an empty waiting one before the first.
  std::shared_ptr<const Snapshot> Latest() const;
  std::shared_ptr<const std::string> Render(Rendered& slot, const Snapshot& s,
                                            std::string (*write)(const Snapshot&));

  const SnapshotPublisher& publisher_;
  const LiveSiteOptions options_;
  const std::string page_;
  const std::shared_ptr<const Snapshot> empty_;
  std::mutex renderMutex_;
  Rendered json_;
  Rendered event_;
};

}  // namespace zarvo
