// The conversation with the lap-counting box at simulated time: identification, keep-alive and
// loss, reconnection and its texts, the start handshake, passages and the idle discard.
#include "decoder/decoder_link.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "decoder/frames.h"
#include "platform/files.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"

#if defined(ZARVO_EDITION_FR)
#define ED(english, french) french
#else
#define ED(english, french) english
#endif

namespace zarvo {
namespace {

using testing::B;
using testing::Bytes;
using testing::FakeClock;
using testing::FakeSerialPort;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

const Bytes kIdentify(kIdentifyRequest, kIdentifyRequest + 5);
const Bytes kStart(kStartRequest, kStartRequest + 5);
const Bytes kKeepAlive(kKeepAliveRequest, kKeepAliveRequest + 5);

Bytes IdentifyAnswer(uint8_t kind, int id) {
  uint8_t frame[kOrixAnswerLength];
  EncodeIdentifyAnswer(kind, id, frame);
  return Bytes(frame, frame + sizeof frame);
}

Bytes StartAnswer(uint8_t a, uint8_t b, uint8_t c) {
  uint8_t frame[kOrixAnswerLength];
  EncodeStartAnswer(a, b, c, frame);
  return Bytes(frame, frame + sizeof frame);
}

Bytes PassageFrame(int transponder, int32_t decoderTime) {
  uint8_t frame[kOrixPassageLength];
  EncodePassage(transponder, decoderTime, frame);
  return Bytes(frame, frame + sizeof frame);
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class RecordingSink : public PassageSink {
 public:
  void OnPassage(const DecoderPassage& passage) override { passages.push_back(passage); }
  std::vector<std::pair<std::string, int32_t>> Orix() const {
    std::vector<std::pair<std::string, int32_t>> out;
    for (const DecoderPassage& p : passages) {
      EXPECT_EQ(p.source, PassageSource::kOrix);
      out.emplace_back(p.transponder, p.decoderTime);
    }
    return out;
  }
  std::vector<DecoderPassage> passages;
};

class DecoderLinkTest : public ::testing::Test {
 protected:
  void StoreSettings(const std::string& bytes) {
    ASSERT_TRUE(WriteFileReplacing(settings.c_str(), bytes));
  }
  std::string SettingsBytes() {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(settings.c_str(), bytes, 4096));
    return bytes;
  }
  // The device answers the identify request after delayMs.
  void AnswerIdentify(uint8_t kind, int id, int delayMs) {
    port.onWrite = [this, kind, id, delayMs](const Bytes& w) {
      if (w == kIdentify) port.QueueAt(clock.NowMs() + delayMs, IdentifyAnswer(kind, id));
    };
  }
  int CountWrites(const Bytes& request) const {
    int n = 0;
    for (const Bytes& w : port.writes) n += (w == request);
    return n;
  }
  void Tick(const RunClock& run = {false, 0}) {
    clock.Advance(10);
    link.Supervise(run, sink);
  }
  // A wired decoder identified at start-up, with the first tick done (keep-alive on).
  void ConnectWiredDecoder(const RunClock& run = {false, 0}) {
    StoreSettings("COM3\t1\tZarvo\r\n");
    AnswerIdentify(kOrixKindWired, 42, 20);
    ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
    port.onWrite = nullptr;
    boxes.shown.clear();
    port.writes.clear();
    link.Supervise(run, sink);
    ASSERT_TRUE(link.KeepAliveActive());
  }
  // Ticks until the link declares the loss after two failed keep-alives.
  void LoseDecoder(const RunClock& run = {false, 0}) {
    port.writesSucceed = false;
    for (int i = 0; i < 200 && !link.Reconnecting(); ++i) Tick(run);
    ASSERT_TRUE(link.Reconnecting());
    port.writesSucceed = true;
  }
  // Ticks until the next reconnection attempt opens (or tries to open) the port.
  void TickToNextAttempt(const RunClock& run = {false, 0}) {
    const size_t opens = port.opened.size();
    for (int i = 0; i < 1000 && port.opened.size() == opens; ++i) Tick(run);
    ASSERT_GT(port.opened.size(), opens);
  }

  FakeClock clock;
  FakeSerialPort port{&clock};
  RecordingMessageBoxes boxes;
  TempFolder folder;
  std::string settings = folder.File(kInterfaceSettingsFile);
  DecoderLink link{clock, port, boxes, settings.c_str()};
  RecordingSink sink;
};

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

// ----------------------------------------------------------------------------------------------
// Start handshake

TEST_F(DecoderLinkTest, TheVexaInterfaceStartsWithoutAHandshake) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  link.IdentifyAtStartUp();
  port.writes.clear();
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(DecoderLinkTest, TheStartRequestGoesAfterADiscardAndThreeZeroBytesStart) {
  ConnectWiredDecoder();
  // An accepted answer still waiting from an earlier conversation is thrown away before the
  // request: it must not start this run.
  port.Queue(Join({B({0x11}), StartAnswer(0, 0, 0)}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(port.writes, std::vector<Bytes>{kStart});
  EXPECT_EQ(port.Pending(), 0u);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 1);
}

TEST_F(DecoderLinkTest, AStartAnswerWithANonZeroByteRepeatsTheRequestOnTheNextTick) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(StartAnswer(0, 0, 1));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 1);
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 2);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
}

TEST_F(DecoderLinkTest, AStartAnswerCutAcrossTicksIsCollected) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x01, 0xFF, 0xFF, 0xFF, 0x02}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x00, 0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 1);
}

// The decoder zeroes its clock at every start request it receives: the request goes again only
// after a second without an answer (a decoder switched on after the countdown, a line down),
// never once an answer has been accepted.
TEST_F(DecoderLinkTest, AStartAnswerWithinASecondStartsTheRunOnTheOnlyRequestSent) {
  ConnectWiredDecoder();
  const int64_t sentAt = clock.NowMs();
  port.QueueAt(sentAt + 900, StartAnswer(0, 0, 0));
  StartStep step = link.StartHandshake();
  while (step == StartStep::kWaiting && clock.NowMs() - sentAt < 3000) {
    clock.Advance(10);
    step = link.StartHandshake();
  }
  EXPECT_EQ(step, StartStep::kStarted);
  EXPECT_GE(clock.NowMs() - sentAt, 900);
  EXPECT_LT(clock.NowMs() - sentAt, 920);
  EXPECT_EQ(CountWrites(kStart), 1);
  // A late second answer arriving during the run is no passage and sends nothing.
  port.Queue(Join({StartAnswer(0, 0, 0), PassageFrame(7, 5000)}));
  EXPECT_EQ(link.ReadPassages(sink), 1);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"000007", 5000}}));
  EXPECT_EQ(CountWrites(kStart), 1);
}

TEST_F(DecoderLinkTest, AStartRequestMetBySilenceGoesAgainEverySecondUntilOneIsAnswered) {
  ConnectWiredDecoder();
  std::vector<int64_t> sentAt;
  int answerAfter = 3;  // the decoder is switched on in time to hear the third request
  port.onWrite = [&](const Bytes& w) {
    if (w != kStart) return;
    sentAt.push_back(clock.NowMs());
    if (static_cast<int>(sentAt.size()) == answerAfter) {
      port.QueueAt(clock.NowMs() + 30, StartAnswer(0, 0, 0));
    }
  };
  StartStep step = link.StartHandshake();
  for (int i = 0; i < 1000 && step == StartStep::kWaiting; ++i) {
    clock.Advance(10);
    step = link.StartHandshake();
  }
  ASSERT_EQ(step, StartStep::kStarted);
  ASSERT_EQ(sentAt.size(), 3u);
  EXPECT_EQ(sentAt[1] - sentAt[0], 1000);
  EXPECT_EQ(sentAt[2] - sentAt[1], 1000);
  EXPECT_EQ(CountWrites(kStart), 3);
}

// A half answer followed by a second of silence: the request goes again and the rest of the
// lost answer, arriving late, does not make a frame with the bytes of the new one.
TEST_F(DecoderLinkTest, APieceOfALostAnswerIsForgottenWhenTheRequestGoesAgain) {
  ConnectWiredDecoder();
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  port.Queue(B({0xFF, 0xFF, 0xFF, 0x02, 0x00}));
  for (int i = 0; i < 101; ++i) {
    clock.Advance(10);
    link.StartHandshake();
  }
  ASSERT_EQ(CountWrites(kStart), 2);
  port.Queue(StartAnswer(0, 0, 0));
  EXPECT_EQ(link.StartHandshake(), StartStep::kStarted);
  EXPECT_EQ(CountWrites(kStart), 2);
}

TEST_F(DecoderLinkTest, PressingStartForgetsAHalfReceivedAnswerAndSendsTheRequestAgain) {
  ConnectWiredDecoder();
  link.StartHandshake();
  port.Queue(B({0xFF, 0xFF, 0xFF, 0x02, 0x00}));
  link.StartHandshake();
  link.ClearCollectors();  // "Stop", then "Start" again
  port.Queue(B({0x00, 0x00}));
  EXPECT_EQ(link.StartHandshake(), StartStep::kWaiting);
  EXPECT_EQ(CountWrites(kStart), 2);
}

// ----------------------------------------------------------------------------------------------
// Passages and the idle discard

TEST_F(DecoderLinkTest, AnOrixPassageGivesItsTransponderTextAndDecoderTime) {
  ConnectWiredDecoder();
  port.Queue(Join({B({0x00}), PassageFrame(1234, 7384499)}));
  EXPECT_EQ(link.ReadPassages(sink), 1);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"001234", 7384499}}));
}

// ----------------------------------------------------------------------------------------------
// The time of a Vexa passage: the counter of the chunk that brought its last byte, however late
// the tick comes to it.

class VexaStamps : public DecoderLinkTest {
 protected:
  void SetUp() override {
    StoreSettings("COM3\t1\tZarvo\r\n");
    link.IdentifyAtStartUp();
    start = clock.NowMs();
  }
  static Bytes Vexa(int transponder) {
    uint8_t frame[kVexaPassageLength];
    EncodeVexaPassage(transponder, frame);
    return Bytes(frame, frame + sizeof frame);
  }
  int64_t start = 0;
};

TEST_F(VexaStamps, AFrameSplitOverTwoChunksHasTheArrivalOfItsSecondByteWhateverTheTickDelay) {
  for (int delay : {0, 9, 40, 500, 2000}) {
    sink.passages.clear();
    const int64_t at = clock.NowMs();
    port.QueueAt(at + 3, B({0x04}));
    port.QueueAt(at + 7, B({0xD2}));
    clock.Advance(7 + delay);  // the tick comes that much after the second byte
    EXPECT_EQ(link.ReadPassages(sink), 1) << delay;
    ASSERT_EQ(sink.passages.size(), 1u) << delay;
    EXPECT_STREQ(sink.passages[0].transponder, "001234");
    EXPECT_EQ(sink.passages[0].source, PassageSource::kVexa);
    EXPECT_EQ(sink.passages[0].counter, FakeSerialPort::CounterAt(at + 7)) << delay;
  }
}

TEST_F(VexaStamps, EightCarsWithin60MsReadBeforeOneLateTickKeepTheirOwnArrivals) {
  std::vector<int64_t> arrivals;
  for (int car = 0; car < 8; ++car) {
    arrivals.push_back(start + 2 + car * 8);
    port.QueueAt(arrivals.back(), Vexa(101 + car));
  }
  clock.Advance(600);  // a UI stall: the tick comes long after the last car
  EXPECT_EQ(link.ReadPassages(sink), 8);
  ASSERT_EQ(sink.passages.size(), 8u);
  for (int car = 0; car < 8; ++car) {
    char text[kTransponderTextCapacity];
    FormatTransponder(101 + car, text);
    EXPECT_STREQ(sink.passages[car].transponder, text);
    EXPECT_EQ(sink.passages[car].counter, FakeSerialPort::CounterAt(arrivals[car])) << car;
  }
}

// Eight frames in chunks cut anywhere (a frame's two bytes may be in two chunks, a chunk may hold
// several frames): each frame has the stamp of the chunk that completed it.
TEST_F(VexaStamps, APackOfEightFramesGetsTheStampsOfTheChunksThatCompletedThem) {
  Bytes pack;
  for (int car = 1; car <= 8; ++car) {
    const Bytes frame = Vexa(car);
    pack.insert(pack.end(), frame.begin(), frame.end());
  }
  // Chunks of 3, 1, 5, 2 and 5 bytes arriving 10 ms apart.
  const int cuts[] = {3, 1, 5, 2, 5};
  std::vector<int64_t> chunkEnd;  // the arrival of the chunk holding each byte
  size_t at = 0;
  for (int k = 0; k < 5; ++k) {
    const int64_t arrival = start + 10 * (k + 1);
    port.QueueAt(arrival, Bytes(pack.begin() + at, pack.begin() + at + cuts[k]));
    for (int b = 0; b < cuts[k]; ++b) chunkEnd.push_back(arrival);
    at += cuts[k];
  }
  clock.Advance(200);
  EXPECT_EQ(link.ReadPassages(sink), 8);
  ASSERT_EQ(sink.passages.size(), 8u);
  for (int car = 0; car < 8; ++car) {
    EXPECT_EQ(sink.passages[car].counter, FakeSerialPort::CounterAt(chunkEnd[2 * car + 1]))
        << "car " << car + 1;
  }
  // Bytes 0..15: frames 1..8 end in chunks 1, 2, 3, 3, 4, 5, 5, 5 (arrivals 10 to 50 ms).
  EXPECT_EQ(sink.passages[1].counter, FakeSerialPort::CounterAt(start + 20));
  EXPECT_EQ(sink.passages[7].counter, FakeSerialPort::CounterAt(start + 50));
}

// Handling a passage may take time (a sound that cuts another, a repaint): the cars that came in
// the same chunk keep its time.
TEST_F(VexaStamps, EightFramesOfOneChunkAllCarryItsCounterHoweverLongEachTakes) {
  class SlowSink : public PassageSink {
   public:
    explicit SlowSink(FakeClock& clock) : clock_(clock) {}
    void OnPassage(const DecoderPassage& passage) override {
      counters.push_back(passage.counter);
      clock_.Advance(20);
    }
    std::vector<int64_t> counters;

   private:
    FakeClock& clock_;
  } slow(clock);
  Bytes pack;
  for (int car = 1; car <= 8; ++car) {
    const Bytes frame = Vexa(car);
    pack.insert(pack.end(), frame.begin(), frame.end());
  }
  port.QueueAt(start + 4, pack);
  clock.Advance(30);
  EXPECT_EQ(link.ReadPassages(slow), 8);
  EXPECT_EQ(slow.counters, std::vector<int64_t>(8, FakeSerialPort::CounterAt(start + 4)));
}

TEST_F(DecoderLinkTest, ATickTakesEveryChunkThatHasArrivedAndNothingDueLater) {
  ConnectWiredDecoder();
  for (int i = 0; i < 30; ++i) port.QueueAt(clock.NowMs(), PassageFrame(i, i * 100));
  port.QueueAt(clock.NowMs() + 50, PassageFrame(99, 9900));
  EXPECT_EQ(link.ReadPassages(sink), 30);
  EXPECT_EQ(link.ReadPassages(sink), 0);
  clock.Advance(50);
  EXPECT_EQ(link.ReadPassages(sink), 1);
}

TEST_F(DecoderLinkTest, TheIdleDiscardThrowsAwayWhatHasArrivedAndNothingDueLater) {
  ConnectWiredDecoder();
  port.Queue(Bytes(300, 0x55));
  port.Queue(B({0x01, 0x02}));
  port.QueueAt(clock.NowMs() + 20, PassageFrame(5, 500));
  link.DiscardInput();
  EXPECT_EQ(port.Pending(), 1u);
  clock.Advance(20);
  EXPECT_EQ(link.ReadPassages(sink), 1);
}

TEST_F(DecoderLinkTest, PressingStartEmptiesThePassageCollector) {
  ConnectWiredDecoder();
  const Bytes frame = PassageFrame(9, 9000);
  port.Queue(Bytes(frame.begin(), frame.begin() + 6));
  link.ReadPassages(sink);
  link.ClearCollectors();
  port.Queue(PassageFrame(10, 10000));
  link.ReadPassages(sink);
  EXPECT_EQ(sink.Orix(), (std::vector<std::pair<std::string, int32_t>>{{"000010", 10000}}));
}

// Random passages among random garbage, cut into random reads: the link delivers exactly the
// passages sent, in order, whatever the cuts.
TEST_F(DecoderLinkTest, PassagesAmongGarbageSurviveAnyCutIntoReads) {
  ConnectWiredDecoder();
  std::mt19937 random(20261207);
  for (int round = 0; round < 40; ++round) {
    Bytes stream;
    std::vector<std::pair<std::string, int32_t>> sent;
    auto push = [&](uint8_t b) { stream.push_back(b); };
    for (int k = 0; k < 25; ++k) {
      const int garbage = std::uniform_int_distribution<int>(0, 6)(random);
      for (int g = 0; g < garbage; ++g) {
        uint8_t b = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(random));
        if (random() % 3 == 0) b = 0xFF;
        // Garbage never completes a passage header of its own.
        const size_t n = stream.size();
        if (b == kOrixPassage && n >= 3 && stream[n - 1] == 0xFF && stream[n - 2] == 0xFF &&
            stream[n - 3] == 0xFF) {
          b = 0x00;
        }
        push(b);
      }
      const int transponder = std::uniform_int_distribution<int>(0, 65535)(random);
      const int32_t time = std::uniform_int_distribution<int32_t>(0, 43200000)(random);
      for (uint8_t b : PassageFrame(transponder, time)) push(b);
      char text[kTransponderTextCapacity];
      FormatTransponder(transponder, text);
      sent.emplace_back(text, time);
    }
    size_t at = 0;
    while (at < stream.size()) {
      const size_t piece = std::uniform_int_distribution<size_t>(1, 40)(random);
      const size_t end = std::min(stream.size(), at + piece);
      port.Queue(Bytes(stream.begin() + at, stream.begin() + end));
      at = end;
    }
    sink.passages.clear();
    while (port.Pending() > 0) link.ReadPassages(sink);
    ASSERT_EQ(sink.Orix(), sent) << "round " << round;
  }
}

TEST_F(DecoderLinkTest, VexaPassagesSurviveAnyCutIntoReads) {
  StoreSettings("COM3\t1\tZarvo\r\n");
  link.IdentifyAtStartUp();
  std::mt19937 random(7);
  Bytes stream;
  std::vector<std::string> sent;
  for (int k = 0; k < 500; ++k) {
    const int transponder = std::uniform_int_distribution<int>(0, 65535)(random);
    uint8_t frame[kVexaPassageLength];
    EncodeVexaPassage(transponder, frame);
    stream.insert(stream.end(), frame, frame + 2);
    char text[kTransponderTextCapacity];
    FormatTransponder(transponder, text);
    sent.push_back(text);
  }
  for (size_t at = 0; at < stream.size();) {
    const size_t end = std::min(stream.size(), at + 1 + random() % 9);
    port.Queue(Bytes(stream.begin() + at, stream.begin() + end));
    at = end;
  }
  while (port.Pending() > 0) link.ReadPassages(sink);
  std::vector<std::string> got;
  for (const DecoderPassage& p : sink.passages) got.push_back(p.transponder);
  EXPECT_EQ(got, sent);
}

}  // namespace
}  // namespace zarvo
