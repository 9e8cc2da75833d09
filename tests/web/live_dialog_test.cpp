// The live results dialog's rules: what the controls show from the settings file, what On/Off
// and the port edit change, the addresses and their QR code, the status line in each case, and
// what "Ok" writes and applies; nothing is written without "Ok".
#include "web/live_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "web/qr_code.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteBytes;

// The program's side: what the server does, and the settings it was asked to apply.
class FakeControl : public LiveResultsControl {
 public:
  LiveServerState State() const override { return state; }
  LiveServerState Apply(const LiveSettings& settings) override {
    applied.push_back(settings);
    if (!settings.on) {
      state = LiveServerState{};
    } else if (settings.port == takenPort) {
      state = LiveServerState{LiveStatus::kPortTaken, settings.port, 98};
    } else {
      state = LiveServerState{LiveStatus::kRunning, settings.port, 0};
    }
    return state;
  }
  LiveServerState state;
  int takenPort = -1;
  std::vector<LiveSettings> applied;
};

constexpr uint32_t kLan = (192u << 24) | (168u << 16) | (1u << 8) | 20u;
constexpr uint32_t kOther = (10u << 24) | 5u;

struct Opened {
  FakeControl control;
  RecordingMessageBoxes boxes;
  std::unique_ptr<LiveDialogModel> model = std::make_unique<LiveDialogModel>();
  explicit Opened(std::vector<uint32_t> addresses = {kLan, kOther}) {
    model->control = &control;
    model->addresses = std::move(addresses);
  }
  void Open() { OpenLiveDialogModel(*model, boxes); }
};

TEST(LiveDialog, AMissingFileShowsOffOnPort8080WithoutAMessageAndWritesNothingUntilOk) {
  TempFolder folder;
  Opened d;
  d.Open();
  EXPECT_TRUE(d.boxes.shown.empty());
  EXPECT_FALSE(d.model->settings.on);
  EXPECT_EQ(d.model->portText, "8080");
  EXPECT_EQ(LiveStatusText(d.model->state), TXT_LIVE_STATUS_STOPPED);
  LiveSwitchClicked(*d.model, true);
  LivePortTyped(*d.model, "9000");
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), "<missing>") << "only Ok writes";
  EXPECT_TRUE(d.control.applied.empty());
}

TEST(LiveDialog, TheFileSettingsAndTheServersStateAreShown) {
  TempFolder folder;
  WriteBytes(kLiveSettingsFile, "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT8123\r\n");
  Opened d;
  d.control.state = LiveServerState{LiveStatus::kRunning, 8123, 0};
  d.Open();
  EXPECT_TRUE(d.model->settings.on);
  EXPECT_EQ(d.model->portText, "8123");
  char running[128];
  std::snprintf(running, sizeof running, TXT_LIVE_STATUS_RUNNING, 8123);
  EXPECT_EQ(LiveStatusText(d.model->state), running);
  EXPECT_EQ(LiveAddressesText(*d.model), "http://192.168.1.20:8123/\r\nhttp://10.0.0.5:8123/");
}

TEST(LiveDialog, ADamagedFileIsReportedOnceAndGivesTheDefaultsWithoutBeingRewritten) {
  TempFolder folder;
  const std::string damaged = "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT99999\r\n";
  WriteBytes(kLiveSettingsFile, damaged);
  Opened d;
  d.Open();
  ASSERT_EQ(d.boxes.shown.size(), 1u);
  EXPECT_EQ(d.boxes.shown[0].text, TXT_LIVE_SETTINGS_DAMAGED);
  EXPECT_EQ(d.boxes.shown[0].caption, TXT_CAPTION_ERROR);
  EXPECT_FALSE(d.model->settings.on);
  EXPECT_EQ(d.model->portText, "8080");
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), damaged);
}

TEST(LiveDialog, TheAddressesFollowAValidTypedPortAndKeepTheLastOneOtherwise) {
  TempFolder folder;
  Opened d({kLan});
  d.Open();
  LivePortTyped(*d.model, "8090");
  EXPECT_EQ(LiveAddressTexts(*d.model), std::vector<std::string>{"http://192.168.1.20:8090/"});
  LivePortTyped(*d.model, "99999");
  EXPECT_EQ(ShownLivePort(*d.model), 8080) << "not a port: the settings' one";
  LivePortTyped(*d.model, "");
  EXPECT_EQ(ShownLivePort(*d.model), 8080);
  LivePortTyped(*d.model, "1234567");
  EXPECT_EQ(d.model->portText, "12345") << "the edit takes five digits";
}

TEST(LiveDialog, WithoutAnAddressTheTextSaysSoAndNoCodeIsDrawn) {
  TempFolder folder;
  Opened d(std::vector<uint32_t>{});
  d.Open();
  EXPECT_EQ(LiveAddressesText(*d.model), TXT_LIVE_NO_ADDRESS);
  auto list = std::make_unique<DrawList>();
  list->Clear();
  EXPECT_FALSE(DrawLiveAddressCode(*d.model, 0, 0, 200, 200, *list));
  EXPECT_EQ(list->count, 0);
}

TEST(LiveDialog, TheCodeOfTheFirstAddressIsCentredAndAsBigAsTheSquareAllows) {
  TempFolder folder;
  Opened d;
  d.Open();
  const QrGrid grid = MakeQrGrid("http://192.168.1.20:8080/");
  ASSERT_GT(grid.size, 0);
  const int modules = grid.size + 2 * kQrQuietZone;
  const int room = 5 * modules + 3;  // five pixels a module, three left over
  auto list = std::make_unique<DrawList>();
  list->Clear();
  ASSERT_TRUE(DrawLiveAddressCode(*d.model, 100, 50, 100 + room, 50 + room + 40, *list));
  ASSERT_GT(list->count, 1);
  const DrawOp& square = list->ops[0];
  EXPECT_EQ(square.kind, DrawKind::kFill);
  EXPECT_EQ(square.x2 - square.x1, 5 * modules);
  EXPECT_EQ(square.y2 - square.y1, 5 * modules);
  EXPECT_EQ(square.x1, 100 + 1) << "centred across";
  EXPECT_EQ(square.y1, 50 + (room + 40 - 5 * modules) / 2) << "centred down";
  // The same code as the first address's own: the grid's top-left finder starts at the zone.
  EXPECT_EQ(list->ops[1].x1, square.x1 + 5 * kQrQuietZone);
  EXPECT_EQ(list->ops[1].y1, square.y1 + 5 * kQrQuietZone);

  list->Clear();
  EXPECT_FALSE(DrawLiveAddressCode(*d.model, 0, 0, modules - 1, 500, *list))
      << "a square too small for one pixel a module";
}

TEST(LiveDialog, OkWritesTheSettingsAndHasTheProgramApplyThem) {
  TempFolder folder;
  Opened d;
  d.Open();
  LiveSwitchClicked(*d.model, true);
  LivePortTyped(*d.model, "8095");
  EXPECT_EQ(ConfirmLiveDialog(*d.model, d.boxes), LiveConfirm::kClose);
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT8095\r\n");
  ASSERT_EQ(d.control.applied.size(), 1u);
  EXPECT_TRUE(d.control.applied[0].on);
  EXPECT_EQ(d.control.applied[0].port, 8095);
  EXPECT_EQ(d.model->state.status, LiveStatus::kRunning);
  EXPECT_TRUE(d.boxes.shown.empty());

  // Turned off again: written and stopped.
  LiveSwitchClicked(*d.model, false);
  EXPECT_EQ(ConfirmLiveDialog(*d.model, d.boxes), LiveConfirm::kClose);
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), "RESULTATSDIRECTnon\r\nRESULTATSDIRECTPORT8095\r\n");
  EXPECT_EQ(d.model->state.status, LiveStatus::kStopped);
}

TEST(LiveDialog, AnInvalidPortIsRefusedWithAMessageAndNothingWrittenOrApplied) {
  TempFolder folder;
  Opened d;
  d.Open();
  LiveSwitchClicked(*d.model, true);
  for (const char* typed : {"", "0", "65536"}) {
    d.boxes.shown.clear();
    LivePortTyped(*d.model, typed);
    EXPECT_EQ(ConfirmLiveDialog(*d.model, d.boxes), LiveConfirm::kStayOpen) << typed;
    ASSERT_EQ(d.boxes.shown.size(), 1u) << typed;
    EXPECT_EQ(d.boxes.shown[0].text, TXT_LIVE_PORT_INVALID);
  }
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), "<missing>");
  EXPECT_TRUE(d.control.applied.empty());
}

TEST(LiveDialog, APortTakenByAnotherProgramKeepsTheDialogOpenAndSaysWhatToDo) {
  TempFolder folder;
  Opened d;
  d.control.takenPort = 8080;
  d.Open();
  LiveSwitchClicked(*d.model, true);
  EXPECT_EQ(ConfirmLiveDialog(*d.model, d.boxes), LiveConfirm::kStayOpen);
  char taken[256];
  std::snprintf(taken, sizeof taken, TXT_LIVE_STATUS_PORT_TAKEN, 8080);
  EXPECT_EQ(LiveStatusText(d.model->state), taken);
  EXPECT_NE(LiveStatusText(d.model->state).find("8080"), std::string::npos);
  // Another port: the dialog closes with the server running there.
  LivePortTyped(*d.model, "8081");
  EXPECT_EQ(ConfirmLiveDialog(*d.model, d.boxes), LiveConfirm::kClose);
  EXPECT_EQ(d.model->state.port, 8081);
  EXPECT_EQ(ReadBytes(kLiveSettingsFile), "RESULTATSDIRECToui\r\nRESULTATSDIRECTPORT8081\r\n");
}

TEST(LiveDialog, EveryStatusHasItsOwnTextWithThePort) {
  const LiveServerState states[] = {{LiveStatus::kStopped, 0, 0},
                                    {LiveStatus::kRunning, 8080, 0},
                                    {LiveStatus::kPortTaken, 8081, 98},
                                    {LiveStatus::kPortForbidden, 8082, 13},
                                    {LiveStatus::kFailed, 8083, 99}};
  std::vector<std::string> texts;
  for (const LiveServerState& s : states) {
    const std::string text = LiveStatusText(s);
    EXPECT_FALSE(text.empty());
    if (s.port != 0) {
      EXPECT_NE(text.find(std::to_string(s.port)), std::string::npos) << text;
    }
    for (const std::string& other : texts) EXPECT_NE(text, other);
    texts.push_back(text);
  }
  EXPECT_NE(texts[4].find("99"), std::string::npos) << "the system's error";
}

}  // namespace
}  // namespace zarvo
