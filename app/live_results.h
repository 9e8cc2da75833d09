// The program's live results for the phones of the club network: the server started at start-up
// when its settings say so and stopped at the end, the snapshot of the run built on the
// user-interface thread after a refresh of the results and published to the server's threads,
// and the session's other runs read from the working copy only when they change.
#pragma once

#include <memory>
#include <string>

#include "app/session_controller.h"
#include "platform/live_server.h"
#include "platform/message_boxes.h"
#include "race/race_model.h"
#include "race/race_ports.h"
#include "web/live_dialog.h"
#include "web/live_settings.h"
#include "web/live_site.h"
#include "web/snapshot_publisher.h"

namespace zarvo {

// The runs of the working copy "Private/Session.trng", read as loading a run reads them
// (parameters and participants list of the session, then the run's section). Nothing is shown
// when a part cannot be read: that run is left out.
class WorkingCopyRuns : public RunSectionSource {
 public:
  int RunCount() override;
  bool ReadRun(int runNumber, Race& race) override;
};

// What the other runs depend on: when none of it changed, the list made last is still right.
// The live run is never in the list, and the others change only when the session is replaced
// (its stamp), another run is loaded (the one left has been written), or the participants list
// or the classification key changes.
struct SessionRunsKey {
  std::string stamp;
  std::string savedFilePath;
  int loadedRun = -1;
  int runCount = -1;
  std::string names;
  std::string classificationKey;
  bool operator==(const SessionRunsKey& other) const;
};
SessionRunsKey SessionRunsKeyOf(const SessionState& session, const Race& race);

// The snapshots of the live run: built after a tick that changed the results, published.
class LiveFeed {
 public:
  explicit LiveFeed(RunSectionSource& runs) : runs_(runs) {}
  // A results area is to be repainted: the results changed.
  void MarkChanged() { changed_ = true; }
  // End of a tick (or of a command): publishes the snapshot of the run when something changed
  // since the last one; the other runs are read again only when their key changed. True when a
  // snapshot was published.
  bool Publish(const Race& race, const SessionState& session);
  const SnapshotPublisher& publisher() const { return publisher_; }
  // The next Publish reads the other runs again (the server was started: they may be stale).
  void Forget();

 private:
  RunSectionSource& runs_;
  SnapshotPublisher publisher_;
  bool changed_ = true;
  bool haveKey_ = false;
  SessionRunsKey key_;
  std::shared_ptr<const SessionRuns> otherRuns_;
};

// Forwards every call to the window and tells the feed when the results, the clock, the
// countdown or the title are to be repainted.
class LiveResultsUi : public RaceUi {
 public:
  LiveResultsUi(RaceUi& window, LiveFeed& feed) : window_(window), feed_(feed) {}
  void EnableControl(int id, bool enabled) override { window_.EnableControl(id, enabled); }
  void EnableMenuItem(int id, bool enabled) override { window_.EnableMenuItem(id, enabled); }
  void ShowControl(int id, bool visible) override { window_.ShowControl(id, visible); }
  void CheckControl(int id, bool checked) override { window_.CheckControl(id, checked); }
  void SetControlText(int id, const char* text) override { window_.SetControlText(id, text); }
  void Repaint(RaceArea area) override;

 private:
  RaceUi& window_;
  LiveFeed& feed_;
};

// The live results of the program: its settings, the server and the feed.
class LiveResults : public LiveResultsControl {
 public:
  // address: where the server listens ("0.0.0.0": every interface; tests use 127.0.0.1).
  explicit LiveResults(const char* address = "0.0.0.0");
  ~LiveResults() override;
  LiveResults(const LiveResults&) = delete;
  LiveResults& operator=(const LiveResults&) = delete;

  LiveFeed& feed() { return feed_; }
  // Start-up: the settings file read (a damaged one reported, the defaults used), the server
  // started when it says on. A port that cannot be listened on is not reported here: the dialog
  // shows why.
  void StartUp(MessageBoxes& boxes);
  // After every tick: the feed publishes, only while the server runs.
  void AfterTick(const Race& race, const SessionState& session);
  // The end of the program: every connection closed and the server's threads joined.
  void Stop();

  // LiveResultsControl
  LiveServerState State() const override { return state_; }
  LiveServerState Apply(const LiveSettings& settings) override;

 private:
  std::string address_;
  WorkingCopyRuns runs_;
  LiveFeed feed_{runs_};
  LiveSite site_{feed_.publisher()};
  LiveServer server_{site_};
  LiveServerState state_;
};

}  // namespace zarvo
