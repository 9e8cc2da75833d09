// The conversation with the lap-counting box at simulated time: identification, keep-alive and
// loss, reconnection and its texts, the interface dialog and the boxes that stay open.
#include "decoder/decoder_link.h"

#include <gtest/gtest.h>

#include "tests/decoder/decoder_link_fixture.h"

namespace zarvo {
namespace {

using namespace link_testing;

// ----------------------------------------------------------------------------------------------
// Identification at start-up

TEST_F(DecoderLinkTest, AWiredAnswerIdentifiesTheOrixDecoderAndStoresIt) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(kOrixKindWired, 123, 40);
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kOrixWired);
  EXPECT_STREQ(r.deviceKey, "ZarvoOrix");
  EXPECT_EQ(r.connected, 1);
  EXPECT_EQ(r.decoderId, 123);
  EXPECT_EQ(port.opened, std::vector<std::string>{"COM3"});
  EXPECT_EQ(port.writes, std::vector<Bytes>{kIdentify});
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  EXPECT_EQ(boxes.shown[0].text,
            ED("Decoder Orix id.#000123 connected.\r\nSoftware ready to operate.",
               "Décodeur Orix n°000123 connecté.\r\nLogiciel prêt à fonctionner."));
  EXPECT_EQ(SettingsBytes(), "COM3\t1\tZarvoOrix\r\n");
  EXPECT_STREQ(link.DeviceKey(), "ZarvoOrix");
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(DecoderLinkTest, ABluetoothAnswerIdentifiesTheOrixOverBluetooth) {
  StoreSettings("COM12\t0\tZarvo\r\n");
  AnswerIdentify(kOrixKindBluetooth, 65535, 10);
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kOrixBluetooth);
  EXPECT_EQ(r.decoderId, 65535);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  EXPECT_EQ(boxes.shown[0].text,
            ED("Decoder Orix Bluetooth id.#065535 connected.\r\nSoftware ready to operate.",
               "Décodeur Orix Bluetooth n°065535 connecté.\r\nLogiciel prêt à fonctionner."));
  EXPECT_EQ(SettingsBytes(), "COM12\t1\tZarvoOrixBluetooth\r\n");
}

TEST_F(DecoderLinkTest, NoAnswerWithin1500MsMeansTheVexaInterfaceConnected) {
  StoreSettings("COM3\t1\tZarvoOrix\r\n");
  const int64_t before = clock.NowMs();
  const IdentifyResult r = link.IdentifyAtStartUp();
  const int64_t waited = clock.NowMs() - before;
  EXPECT_GE(waited, 1500);
  EXPECT_LT(waited, 1510);
  EXPECT_EQ(r.outcome, IdentifyOutcome::kNoAnswer);
  EXPECT_STREQ(r.deviceKey, "Zarvo");
  EXPECT_EQ(r.connected, 1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  EXPECT_EQ(boxes.shown[0].text,
            ED("Interface Zarvo Vexa connected.\r\nSoftware ready to operate.",
               "Interface Zarvo Vexa connectée.\r\nLogiciel prêt à fonctionner."));
  EXPECT_EQ(SettingsBytes(), "COM3\t1\tZarvo\r\n");
}

TEST_F(DecoderLinkTest, AnAnswerJustInsideTheWaitCountsAndOneJustAfterDoesNot) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(kOrixKindWired, 1, 1495);
  EXPECT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  AnswerIdentify(kOrixKindWired, 1, 1510);
  EXPECT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kNoAnswer);
}

TEST_F(DecoderLinkTest, AnAnswerCutIntoPiecesAfterGarbageIsCollected) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  port.onWrite = [this](const Bytes& w) {
    if (w != kIdentify) return;
    port.QueueAt(clock.NowMs() + 3, B({0x00, 0xFF, 0xFF}));
    port.QueueAt(clock.NowMs() + 9, B({0xFF, 0x01, 0x02, 0x30}));
    port.QueueAt(clock.NowMs() + 15, B({0x39}));
  };
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kOrixWired);
  EXPECT_EQ(r.decoderId, 0x3039);
}

TEST_F(DecoderLinkTest, AnAnswerOfAnUnknownKindIsNotTakenForADecoder) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(0x07, 5, 10);
  EXPECT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kNoAnswer);
}

TEST_F(DecoderLinkTest, APortThatDoesNotOpenIsReportedAndStoredNotConnected) {
  StoreSettings("COM8\t1\tZarvoOrix\r\n");
  port.openSucceeds = false;
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kPortNotOpened);
  EXPECT_EQ(r.connected, 0);
  EXPECT_TRUE(port.writes.empty());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  EXPECT_EQ(boxes.shown[0].text,
            ED("Could not open the COM port.", "Echec à l'ouverture du port COM."));
  EXPECT_EQ(SettingsBytes(), "COM8\t0\tZarvo\r\n");
}

TEST_F(DecoderLinkTest, AMissingSettingsFileIsReportedOnceAndThenWritten) {
  port.openSucceeds = false;  // no port name to open
  link.IdentifyAtStartUp();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].caption, ED("Error", "Erreur"));
  EXPECT_EQ(boxes.shown[0].text, ED("Error: COM port file not found",
                                    "Erreur: impossible d'ouvrir le fichier Interface Port COM"));
  EXPECT_EQ(port.opened, std::vector<std::string>{""});
  EXPECT_EQ(boxes.shown[1].text,
            ED("Could not open the COM port.", "Echec à l'ouverture du port COM."));
  EXPECT_EQ(SettingsBytes(), "\t0\tZarvo\r\n");
}

TEST_F(DecoderLinkTest, ASettingsFileThatCannotBeWrittenIsReportedAfterTheOutcome) {
  const std::string unwritable = folder.File("missing-folder/") + kInterfaceSettingsFile;
  DecoderLink other(clock, port, boxes, unwritable.c_str());
  other.IdentifyAtStartUp();
  ASSERT_EQ(boxes.shown.size(), 3u);  // file not read, outcome, file not written
  EXPECT_EQ(boxes.shown[2].caption, ED("Error", "Erreur"));
  EXPECT_EQ(boxes.shown[2].text, boxes.shown[0].text);
}

// ----------------------------------------------------------------------------------------------
// Keep-alive and loss

TEST_F(DecoderLinkTest, TheKeepAliveGoesOnTheFirstTickMoreThan400MsAfterThePrevious) {
  ConnectWiredDecoder();
  std::vector<int64_t> sentAt;
  const int64_t start = clock.NowMs();
  for (int i = 0; i < 130; ++i) {
    Tick();
    if (port.writes.size() > sentAt.size()) sentAt.push_back(clock.NowMs() - start);
  }
  EXPECT_EQ(sentAt, (std::vector<int64_t>{410, 820, 1230}));
  EXPECT_EQ(CountWrites(kKeepAlive), 3);
}

TEST_F(DecoderLinkTest, OnlyAConnectedWiredDecoderIsKeptAlive) {
  for (const char* stored :
       {"COM3\t1\tZarvoOrixBluetooth\r\n", "COM3\t1\tZarvo\r\n", "COM3\t0\tZarvoOrix\r\n"}) {
    StoreSettings(stored);
    link.ResetSupervision();
    port.Open("COM3");
    for (int i = 0; i < 100; ++i) Tick();
    EXPECT_FALSE(link.KeepAliveActive()) << stored;
    EXPECT_TRUE(port.writes.empty()) << stored;
  }
}

TEST_F(DecoderLinkTest, OneFailedKeepAliveFollowedByAGoodOneIsNoLoss) {
  ConnectWiredDecoder();
  port.writeResults = {false, true, false, true, false, true};
  for (int i = 0; i < 300; ++i) Tick();
  EXPECT_EQ(CountWrites(kKeepAlive), 7);
  EXPECT_FALSE(link.Reconnecting());
  EXPECT_TRUE(link.Connected());
  EXPECT_TRUE(port.IsOpen());
}

TEST_F(DecoderLinkTest, TwoFailedKeepAlivesInARowAreALoss) {
  ConnectWiredDecoder();
  port.writeResults = {false, false};
  for (int i = 0; i < 41; ++i) Tick();
  EXPECT_FALSE(link.Reconnecting());  // one failure so far
  for (int i = 0; i < 41; ++i) Tick();
  EXPECT_TRUE(link.Reconnecting());
  EXPECT_FALSE(link.Connected());
  EXPECT_FALSE(link.KeepAliveActive());
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(SettingsBytes(), "COM3\t0\tZarvo\r\n");
  EXPECT_TRUE(boxes.shown.empty());  // the loss itself shows nothing; the attempts do
  EXPECT_STREQ(link.DeviceKey(), "ZarvoOrix");
}

TEST_F(DecoderLinkTest, ALossDuringARunWritesTheLossTextWithTheRaceClockInTenths) {
  ConnectWiredDecoder();
  // The loss is declared at the second failed keep-alive, 820 ms from now.
  const RunClock run = {true, clock.TickCount() + 820 - 754321};
  LoseDecoder(run);
  EXPECT_STREQ(link.LossText(), ED("Failure of the decoder Orix connection at 12:34.300.\n",
                                   "Perte connexion du décodeur Orix à 12:34.300.\n"));
}

TEST_F(DecoderLinkTest, ALossOutsideARunKeepsThePreviousLossText) {
  ConnectWiredDecoder();
  LoseDecoder();
  EXPECT_STREQ(link.LossText(), "");
}

TEST_F(DecoderLinkTest, NoPassageIsReadWhileTheDecoderIsLost) {
  ConnectWiredDecoder();
  LoseDecoder();
  port.Open("COM3");  // even if something had the port open again
  port.Queue(PassageFrame(1, 1000));
  EXPECT_EQ(link.ReadPassages(sink), 0);
  EXPECT_EQ(port.Pending(), 1u);
}

// ----------------------------------------------------------------------------------------------
// Reconnection

TEST_F(DecoderLinkTest, AttemptsComeEvery4501MsAfterTheLoss) {
  ConnectWiredDecoder();
  LoseDecoder();
  port.openSucceeds = false;
  int64_t last = clock.NowMs();
  for (int attempt = 0; attempt < 3; ++attempt) {
    TickToNextAttempt();
    const int64_t gap = clock.NowMs() - last;
    EXPECT_GE(gap, 4501);
    EXPECT_LT(gap, 4511);
    last = clock.NowMs();
  }
  EXPECT_TRUE(boxes.shown.empty());  // a port that does not open is not reported
  EXPECT_EQ(port.opened.back(), "COM3");
}

TEST_F(DecoderLinkTest, AnAnswerWithin100MsRestoresTheConnectionAndTheKeepAlive) {
  ConnectWiredDecoder();
  const RunClock run = {true, clock.TickCount() + 820 - 754321};
  LoseDecoder(run);
  AnswerIdentify(kOrixKindWired, 42, 5);
  TickToNextAttempt(run);
  EXPECT_TRUE(link.Connected());
  EXPECT_FALSE(link.Reconnecting());
  EXPECT_EQ(SettingsBytes(), "COM3\t1\tZarvoOrix\r\n");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "Message");
  // Lost at 12:34.321, restored 4510 + 5 ms later.
  EXPECT_EQ(boxes.shown[0].text, ED("Failure of the decoder Orix connection at 12:34.300.\n"
                                    "Connection of the decoder Orix restored at 12:38.800.",
                                    "Perte connexion du décodeur Orix à 12:34.300.\n"
                                    "Récupération connexion décodeur Orix réussie à 12:38.800."));
  Tick(run);  // the next tick reads the settings again
  EXPECT_TRUE(link.KeepAliveActive());
  port.writes.clear();
  for (int i = 0; i < 41; ++i) Tick(run);
  EXPECT_EQ(CountWrites(kKeepAlive), 1);
}

TEST_F(DecoderLinkTest, ARecoveryOutsideARunIsSilent) {
  ConnectWiredDecoder();
  LoseDecoder();
  AnswerIdentify(kOrixKindWired, 42, 5);
  TickToNextAttempt();
  EXPECT_TRUE(link.Connected());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DecoderLinkTest, NoAnswerWithin100MsShowsTheFailureAndTriesAgainLater) {
  ConnectWiredDecoder();
  const RunClock run = {true, clock.TickCount() + 820 - 754321};
  LoseDecoder(run);
  AnswerIdentify(kOrixKindWired, 42, 120);  // too late
  TickToNextAttempt(run);
  EXPECT_FALSE(link.Connected());
  EXPECT_TRUE(link.Reconnecting());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, ED("Error", "Erreur"));
  EXPECT_EQ(boxes.shown[0].text, ED("Failure of the decoder Orix connection at 12:34.300.\n"
                                    "Error : Connection not restored.",
                                    "Perte connexion du décodeur Orix à 12:34.300.\n"
                                    "Echec à la récupération."));
  EXPECT_EQ(SettingsBytes(), "COM3\t0\tZarvo\r\n");
}

TEST_F(DecoderLinkTest, ABluetoothAnswerDoesNotRestoreTheWiredDecoder) {
  ConnectWiredDecoder();
  LoseDecoder();
  AnswerIdentify(kOrixKindBluetooth, 42, 5);
  TickToNextAttempt();
  EXPECT_FALSE(link.Connected());
}

TEST_F(DecoderLinkTest, PassagesReadDuringAnAttemptAreDelivered) {
  ConnectWiredDecoder();
  LoseDecoder();
  port.onWrite = [this](const Bytes& w) {
    if (w == kIdentify) {
      port.QueueAt(clock.NowMs() + 2,
                   Join({PassageFrame(501, 61234), B({0x00}), IdentifyAnswer(kOrixKindWired, 1),
                         PassageFrame(502, 61300)}));
    }
  };
  TickToNextAttempt();
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(sink.Orix(),
            (std::vector<std::pair<std::string, int32_t>>{{"000501", 61234}, {"000502", 61300}}));
}

TEST_F(DecoderLinkTest, RepeatedFailuresNeverOverflowTheLossTextAndKeepItsFirstLine) {
  ConnectWiredDecoder();
  const RunClock run = {true, clock.TickCount() + 820 - 754321};
  LoseDecoder(run);
  const std::string lossLine = link.LossText();
  for (int attempt = 0; attempt < 12; ++attempt) TickToNextAttempt(run);
  ASSERT_EQ(boxes.shown.size(), 12u);
  const std::string outcome = ED("Error : Connection not restored.", "Echec à la récupération.");
  for (const auto& shown : boxes.shown) {
    EXPECT_LT(shown.text.size(), 120u);
    EXPECT_EQ(shown.text.substr(0, lossLine.size()), lossLine);
    // After the loss line only whole outcome lines follow.
    std::string rest = shown.text.substr(lossLine.size());
    while (!rest.empty()) {
      ASSERT_EQ(rest.substr(0, outcome.size()), outcome) << shown.text;
      rest = rest.substr(outcome.size());
      if (!rest.empty()) {
        ASSERT_EQ(rest[0], '\n');
        rest = rest.substr(1);
      }
    }
  }
  EXPECT_GT(boxes.shown.back().text.size(), boxes.shown.front().text.size());
}

// ----------------------------------------------------------------------------------------------
// Supervision flags around the interface dialog

TEST_F(DecoderLinkTest, StoppedSupervisionSendsNothingAndTheResetRestartsItFromTheFile) {
  ConnectWiredDecoder();
  link.StopSupervision();
  for (int i = 0; i < 200; ++i) Tick();
  EXPECT_TRUE(port.writes.empty());
  StoreSettings("COM5\t1\tZarvoOrix\r\n");  // what the dialog stored
  link.ResetSupervision();
  Tick();
  EXPECT_STREQ(link.PortName(), "COM5");
  EXPECT_TRUE(link.KeepAliveActive());
  for (int i = 0; i < 41; ++i) Tick();
  EXPECT_EQ(CountWrites(kKeepAlive), 1);
}

TEST_F(DecoderLinkTest, TheResetAlsoEndsReconnectionWhenTheDialogStoredAnotherDevice) {
  ConnectWiredDecoder();
  LoseDecoder();
  StoreSettings("COM5\t1\tZarvoOrixBluetooth\r\n");
  link.ResetSupervision();
  Tick();
  EXPECT_FALSE(link.Reconnecting());
  EXPECT_STREQ(link.DeviceKey(), "ZarvoOrixBluetooth");
  const size_t opens = port.opened.size();
  for (int i = 0; i < 600; ++i) Tick();
  EXPECT_EQ(port.opened.size(), opens);
}

// The interface dialog stops the supervision and resets it when it closes; a decoder lost before
// it goes on being reconnected unless the dialog stored a connected device.
TEST_F(DecoderLinkTest, TheInterfaceDialogNeverEndsTheReconnectionOfALostDecoder) {
  ConnectWiredDecoder();
  LoseDecoder();
  ASSERT_EQ(SettingsBytes(), "COM3\t0\tZarvo\r\n");
  link.StopSupervision();
  const size_t opens = port.opened.size();
  for (int i = 0; i < 1000; ++i) Tick();  // 10 s with the dialog open: its port is left alone
  EXPECT_EQ(port.opened.size(), opens);
  link.ResetSupervision();
  Tick();
  EXPECT_TRUE(link.Reconnecting());
  EXPECT_STREQ(link.DeviceKey(), "ZarvoOrix");
  AnswerIdentify(kOrixKindWired, 42, 5);
  TickToNextAttempt();
  EXPECT_TRUE(link.Connected());
  EXPECT_EQ(SettingsBytes(), "COM3\t1\tZarvoOrix\r\n");
  Tick();
  EXPECT_TRUE(link.KeepAliveActive());
}

TEST_F(DecoderLinkTest, APortThatFailedInTheDialogIsTheOneReconnected) {
  ConnectWiredDecoder();
  LoseDecoder();
  link.StopSupervision();
  StoreSettings("COM5\t0\tZarvo\r\n");  // "Connect" on a port that did not open
  link.ResetSupervision();
  port.openSucceeds = false;
  TickToNextAttempt();
  EXPECT_EQ(port.opened.back(), "COM5");
  EXPECT_TRUE(link.Reconnecting());
}

TEST_F(DecoderLinkTest, TheDialogConnectingTheWiredDecoderRestartsTheKeepAlive) {
  ConnectWiredDecoder();
  LoseDecoder();
  link.StopSupervision();
  StoreSettings("COM4\t1\tZarvoOrix\r\n");
  link.ResetSupervision();
  Tick();
  EXPECT_FALSE(link.Reconnecting());
  EXPECT_TRUE(link.KeepAliveActive());
  EXPECT_STREQ(link.PortName(), "COM4");
}

// Memory keeps its previous values when the file cannot be read on the first tick.
TEST_F(DecoderLinkTest, AFirstTickThatCannotReadTheSettingsStillKeepsTheDecoderAlive) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(kOrixKindWired, 42, 20);
  ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  port.onWrite = nullptr;
  ASSERT_TRUE(RemoveFile(settings.c_str()));
  boxes.shown.clear();
  port.writes.clear();
  Tick();
  EXPECT_TRUE(link.KeepAliveActive());
  for (int i = 0; i < 41; ++i) Tick();
  EXPECT_EQ(CountWrites(kKeepAlive), 1);
  LoseDecoder();  // loss and reconnection work from memory too
  EXPECT_TRUE(link.Reconnecting());
  AnswerIdentify(kOrixKindWired, 42, 5);
  TickToNextAttempt();
  EXPECT_TRUE(link.Connected());
  EXPECT_TRUE(boxes.shown.empty());
}

// A box that stays open while time passes, as a real one does: the timer keeps ticking in its
// modal loop, and this box ticks the link meanwhile.
class ModalBoxes : public MessageBoxes {
 public:
  void Show(const char* caption, const char* text, MessageIcon) override {
    shown.push_back({caption, text});
    ++depth;
    maxDepth = std::max(maxDepth, depth);
    if (whileOpen) whileOpen();
    --depth;
  }
  Answer Ask(const char*, const char*, QuestionButtons) override { return Answer::kNo; }
  std::function<void()> whileOpen;
  std::vector<std::pair<std::string, std::string>> shown;
  int depth = 0;
  int maxDepth = 0;
};

TEST_F(DecoderLinkTest, AttemptsUnderAnOpenBoxNeverOpenASecondBox) {
  ModalBoxes modal;
  DecoderLink link2(clock, port, modal, settings.c_str());
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(kOrixKindWired, 42, 20);
  modal.whileOpen = nullptr;
  ASSERT_EQ(link2.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  port.onWrite = nullptr;  // the port opens, the decoder no longer answers
  const RunClock run = {true, clock.TickCount()};
  link2.Supervise(run, sink);
  port.writesSucceed = false;
  for (int i = 0; i < 200 && !link2.Reconnecting(); ++i) {
    clock.Advance(10);
    link2.Supervise(run, sink);
  }
  ASSERT_TRUE(link2.Reconnecting());
  port.writesSucceed = true;
  modal.shown.clear();
  const size_t opensBefore = port.opened.size();
  // Each box stays open 30 s; the third one is closed at once.
  modal.whileOpen = [&] {
    if (modal.shown.size() >= 3) return;
    for (int i = 0; i < 3000; ++i) {
      clock.Advance(10);
      link2.Supervise(run, sink);
    }
  };
  for (int i = 0; i < 1000 && modal.shown.empty(); ++i) {
    clock.Advance(10);
    link2.Supervise(run, sink);
  }
  EXPECT_EQ(modal.maxDepth, 1);
  // The first box, then the newest outcome when it closed, then the newest again.
  ASSERT_EQ(modal.shown.size(), 3u);
  // Every 4.5 s an attempt, under the box too: 30 s per box, about 6 attempts.
  EXPECT_GE(port.opened.size() - opensBefore, 13u);
  // The box shown when one closes holds the newest outcome: more lines than the first one.
  EXPECT_GT(modal.shown[1].second.size(), modal.shown[0].second.size());
  EXPECT_EQ(modal.shown[1].first, ED("Error", "Erreur"));
  EXPECT_STREQ(modal.shown[2].second.c_str(), link2.LossText());
}

TEST_F(DecoderLinkTest, AReconnectionUnderAnOpenBoxShowsTheRecoveryWhenItCloses) {
  ModalBoxes modal;
  DecoderLink link2(clock, port, modal, settings.c_str());
  StoreSettings("COM3\t1\tZarvo\r\n");
  AnswerIdentify(kOrixKindWired, 42, 20);
  ASSERT_EQ(link2.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  port.onWrite = nullptr;
  const RunClock run = {true, clock.TickCount()};
  link2.Supervise(run, sink);
  port.writesSucceed = false;
  for (int i = 0; i < 200 && !link2.Reconnecting(); ++i) {
    clock.Advance(10);
    link2.Supervise(run, sink);
  }
  port.writesSucceed = true;
  modal.shown.clear();
  modal.whileOpen = [&] {
    if (modal.shown.size() > 1) return;  // the decoder comes back while the first failure shows
    AnswerIdentify(kOrixKindWired, 42, 5);
    for (int i = 0; i < 1000; ++i) {
      clock.Advance(10);
      link2.Supervise(run, sink);
    }
  };
  for (int i = 0; i < 1000 && modal.shown.empty(); ++i) {
    clock.Advance(10);
    link2.Supervise(run, sink);
  }
  EXPECT_TRUE(link2.Connected());
  EXPECT_EQ(modal.maxDepth, 1);
  ASSERT_EQ(modal.shown.size(), 2u);
  EXPECT_EQ(modal.shown[0].first, ED("Error", "Erreur"));
  EXPECT_EQ(modal.shown[1].first, "Message");
}

// A wired decoder identified at start-up in a run, whose interface settings file can then no
// longer be written (its folder is gone): every loss and recovery fails to store its flag.
class UnwritableSettingsTest : public DecoderLinkTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDirectory(folderPath.c_str()));
    ASSERT_TRUE(WriteFileReplacing(path.c_str(), "COM3\t1\tZarvo\r\n"));
    AnswerIdentify(kOrixKindWired, 42, 20);
    ASSERT_EQ(modalLink.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
    std::error_code ignored;
    std::filesystem::remove_all(folderPath, ignored);
    port.onWrite = nullptr;
    modalLink.Supervise(run, sink);
    ASSERT_TRUE(modalLink.KeepAliveActive());
    modal.shown.clear();
  }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      clock.Advance(10);
      modalLink.Supervise(run, sink);
    }
  }
  // Two failed keep-alives: the loss, whose write of flag 0 fails.
  void Lose() {
    port.writesSucceed = false;
    for (int i = 0; i < 200 && !modalLink.Reconnecting(); ++i) Ticks(1);
    ASSERT_TRUE(modalLink.Reconnecting());
    port.writesSucceed = true;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& box : modal.shown) texts.push_back(box.second);
    return texts;
  }

  const std::string settingsError =
      ED("Error: COM port file not found", "Erreur: impossible d'ouvrir le fichier Interface Port COM");
  ModalBoxes modal;
  std::string folderPath = folder.File("gone");
  std::string path = folderPath + "/" + kInterfaceSettingsFile;
  DecoderLink modalLink{clock, port, modal, path.c_str()};
  RunClock run = {true, 0};
};

TEST_F(UnwritableSettingsTest, FailedWritesUnderTheOpenSettingsBoxWaitBehindItAsOne) {
  // The box of the loss stays open while the decoder comes back (its write fails too), is lost
  // again (again) and then no longer answers (an attempt fails).
  modal.whileOpen = [&] {
    if (modal.shown.size() > 1) return;
    AnswerIdentify(kOrixKindWired, 42, 5);
    Ticks(500);  // 5 s: the attempt of 4.5 s reconnects
    EXPECT_TRUE(modalLink.Connected());
    port.onWrite = nullptr;
    Lose();
    Ticks(500);  // the next attempt finds no answer
  };
  Lose();
  EXPECT_EQ(modal.maxDepth, 1);
  // The loss's box; then, once, the two failed writes made under it; then the newest outcome.
  ASSERT_EQ(modal.shown.size(), 3u) << ::testing::PrintToString(Texts());
  EXPECT_EQ(modal.shown[0].second, settingsError);
  EXPECT_EQ(modal.shown[1].second, settingsError);
  EXPECT_EQ(modal.shown[2].first, ED("Error", "Erreur"));
  EXPECT_STREQ(modal.shown[2].second.c_str(), modalLink.LossText());
}

TEST_F(UnwritableSettingsTest, ARecoveryUnderAnOpenFailureBoxReportsTheFileWhenItCloses) {
  Lose();
  ASSERT_EQ(Texts(), std::vector<std::string>{settingsError});
  modal.shown.clear();
  // The first attempt fails; the decoder comes back while its box is open.
  modal.whileOpen = [&] {
    if (modal.shown.size() > 1) return;
    AnswerIdentify(kOrixKindWired, 42, 5);
    Ticks(500);
  };
  for (int i = 0; i < 1000 && modal.shown.empty(); ++i) Ticks(1);
  EXPECT_TRUE(modalLink.Connected());
  EXPECT_EQ(modal.maxDepth, 1);
  ASSERT_EQ(modal.shown.size(), 3u) << ::testing::PrintToString(Texts());
  EXPECT_EQ(modal.shown[0].first, ED("Error", "Erreur"));  // the failed attempt
  EXPECT_EQ(modal.shown[1].second, settingsError);         // the recovery's write
  EXPECT_EQ(modal.shown[2].first, "Message");              // the recovery
}

}  // namespace
}  // namespace zarvo
