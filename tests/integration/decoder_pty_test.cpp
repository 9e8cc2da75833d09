// The program's decoder link (POSIX transport) against the decoder simulator over real
// pseudo-terminals: identification of the three devices, the start handshake, passages with
// their exact decoder times, and a decoder lost and found again.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "decoder/decoder_link.h"
#include "decoder/interface_dialog.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "tests/integration/child_process.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"

namespace zarvo {
namespace {

using testing::ChildProcess;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

class RecordingSink : public PassageSink {
 public:
  void OnPassage(const DecoderPassage& passage) override { passages.push_back(passage); }
  std::vector<DecoderPassage> passages;
};

class DecoderOverPty : public ::testing::Test {
 protected:
  void SetUp() override { StoreSettings("COM1\t1\tZarvo\r\n"); }
  void TearDown() override {
    if (HasFailure()) std::printf("--- simulator output\n%s---\n", simulator.Log().c_str());
    simulator.Stop();
    socat.Stop();
  }

  void StoreSettings(const std::string& bytes) {
    ASSERT_TRUE(WriteFileReplacing(settings.c_str(), bytes));
  }
  std::string SettingsBytes() {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(settings.c_str(), bytes, 4096));
    return bytes;
  }

  // The simulator on one end of a socat pair; the program's end is COM1.
  void StartSimulatorOnSocat(std::vector<std::string> options) {
    ASSERT_TRUE(testing::StartSocatPair(socat, folder.File("com1"), folder.File("sim"),
                                        folder.File("socat.log")));
    options.insert(options.begin(), {ZARVO_SIMULATOR, "--verbose", "--device", folder.File("sim")});
    ASSERT_TRUE(simulator.Start(options, folder.File("simulator.log")));
    ASSERT_TRUE(WaitForLog("line open", 5000));
  }
  // The simulator on a pseudo-terminal of its own, published as COM1.
  void StartSimulatorOnOwnPty(std::vector<std::string> options) {
    options.insert(options.begin(), {ZARVO_SIMULATOR, "--verbose", "--pty", folder.File("com1")});
    ASSERT_TRUE(simulator.Start(options, folder.File("simulator.log")));
    ASSERT_TRUE(WaitForLog("line open", 5000));
  }
  bool WaitForLog(const std::string& text, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
      if (simulator.Log().find(text) != std::string::npos) return true;
      clock.Sleep(10);
    }
    return false;
  }
  int CountInLog(const std::string& text) {
    const std::string log = simulator.Log();
    int n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }

  // Ticks every 10 ms as the main window's timer does, for at most ms, until step says done.
  // The longest tick is kept: a hung transport would show there.
  template <typename Step>
  bool Ticks(int ms, Step step) {
    const uint32_t begin = clock.TickCount();
    uint32_t next = begin;
    while (clock.TickCount() - begin < static_cast<uint32_t>(ms)) {
      const uint32_t tickStart = clock.TickCount();
      const bool done = step();
      longestTickMs = std::max(longestTickMs, clock.TickCount() - tickStart);
      if (done) return true;
      next += 10;
      const int32_t wait = static_cast<int32_t>(next - clock.TickCount());
      if (wait > 0) clock.Sleep(static_cast<uint32_t>(wait));
    }
    return false;
  }

  // After the identification: the first tick, then the start handshake until accepted.
  bool StartRun() {
    link.Supervise(run, sink);
    link.ClearCollectors();
    const bool started = Ticks(5000, [&] {
      link.Supervise(run, sink);
      return link.StartHandshake() == StartStep::kStarted;
    });
    run = {true, clock.TickCount()};
    return started;
  }

  TempFolder folder;
  std::string settings = folder.File(kInterfaceSettingsFile);
  ChildProcess socat;
  ChildProcess simulator;
  Clock& clock = SystemClock();
  std::unique_ptr<SerialPort> port = MakePosixSerialPort(folder.path());
  RecordingMessageBoxes boxes;
  DecoderLink link{clock, *port, boxes, settings.c_str()};
  RecordingSink sink;
  RunClock run = {false, 0};
  uint32_t longestTickMs = 0;
};

TEST_F(DecoderOverPty, AWiredOrixDecoderIsIdentifiedAndStored) {
  StartSimulatorOnSocat({"--mode", "orix", "--id", "4242"});
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kOrixWired);
  EXPECT_EQ(r.decoderId, 4242);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text,
            "Decoder Orix id.#004242 connected.\r\nSoftware ready to operate.");
  EXPECT_EQ(SettingsBytes(), "COM1\t1\tZarvoOrix\r\n");
}

TEST_F(DecoderOverPty, ABluetoothOrixDecoderIsIdentified) {
  StartSimulatorOnSocat({"--mode", "orix-bluetooth", "--id", "77"});
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kOrixBluetooth);
  EXPECT_EQ(r.decoderId, 77);
  EXPECT_EQ(SettingsBytes(), "COM1\t1\tZarvoOrixBluetooth\r\n");
}

TEST_F(DecoderOverPty, TheVexaInterfaceIsKnownByItsSilence) {
  StartSimulatorOnSocat({"--mode", "vexa"});
  const IdentifyResult r = link.IdentifyAtStartUp();
  EXPECT_EQ(r.outcome, IdentifyOutcome::kNoAnswer);
  EXPECT_EQ(SettingsBytes(), "COM1\t1\tZarvo\r\n");
  EXPECT_TRUE(WaitForLog("received (ignored by the Vexa interface): FF FF FF 01 02", 1000));
}

TEST_F(DecoderOverPty, RefusedStartsAreRepeatedThenPassagesCarryTheirExactDecoderTimes) {
  // 300 passages of 20 cars between 0.4 s and 2.5 s after the start, some at the same ms.
  std::ofstream script(folder.File("script.txt"));
  std::vector<std::pair<std::string, int32_t>> expected;
  for (int k = 0; k < 300; ++k) {
    const int32_t ms = 400 + k * 7 - (k % 3 == 2 ? 7 : 0);
    const int transponder = 1000 + (k * 7) % 20;
    script << ms << " " << transponder << "\n";
    char text[8];
    std::snprintf(text, sizeof text, "%06d", transponder);
    expected.emplace_back(text, ms);
  }
  script.close();
  StartSimulatorOnSocat(
      {"--mode", "orix", "--refuse-start", "2", "--script", folder.File("script.txt")});
  ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  ASSERT_TRUE(StartRun());
  EXPECT_EQ(CountInLog("sent start refusal"), 2);
  EXPECT_EQ(CountInLog("sent start answer"), 1);
  Ticks(10000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    return sink.passages.size() >= expected.size();
  });
  std::vector<std::pair<std::string, int32_t>> got;
  for (const DecoderPassage& p : sink.passages) got.emplace_back(p.transponder, p.decoderTime);
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(link.KeepAliveActive());
  EXPECT_GE(CountInLog("received keep-alive"), 3);
}

TEST_F(DecoderOverPty, VexaPassagesArriveInTheOrderTheCarsCross) {
  ASSERT_TRUE(testing::StartSocatPair(socat, folder.File("com1"), folder.File("sim"),
                                      folder.File("socat.log")));
  ASSERT_TRUE(port->Open("COM1"));
  link.Supervise(run, sink);  // the first tick reads the settings: the Vexa interface
  ASSERT_EQ(link.StartHandshake(), StartStep::kStarted);
  ASSERT_TRUE(simulator.Start(
      {ZARVO_SIMULATOR, "--device", folder.File("sim"), "--mode", "vexa", "--transponders",
       "301-305", "--lap", "60", "--stagger", "10", "--laps", "8"},
      folder.File("simulator.log")));
  Ticks(10000, [&] {
    link.ReadPassages(sink);
    return sink.passages.size() >= 40;
  });
  ASSERT_EQ(sink.passages.size(), 40u);
  for (size_t i = 0; i < sink.passages.size(); ++i) {
    char text[8];
    std::snprintf(text, sizeof text, "%06d", 301 + static_cast<int>(i % 5));
    EXPECT_STREQ(sink.passages[i].transponder, text) << i;
    EXPECT_EQ(sink.passages[i].source, PassageSource::kVexa);
    if (i > 0) {
      EXPECT_GE(sink.passages[i].counter, sink.passages[i - 1].counter);
    }
  }
}

TEST_F(DecoderOverPty, ALostDecoderIsFoundAgainAndTheTextsSayWhen) {
  StartSimulatorOnOwnPty({"--mode", "orix", "--id", "9", "--transponders", "5", "--lap", "250",
                          "--loss-at", "2", "--recover-after", "1"});
  ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  ASSERT_TRUE(StartRun());
  std::string fileDuringLoss;
  size_t passagesAtLoss = 0;
  const bool restored = Ticks(20000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    if (link.Reconnecting() && fileDuringLoss.empty()) {
      fileDuringLoss = SettingsBytes();
      passagesAtLoss = sink.passages.size();
    }
    return boxes.shown.size() > 1;  // the identification, then the recovery
  });
  ASSERT_TRUE(restored);
  EXPECT_EQ(fileDuringLoss, "COM1\t0\tZarvo\r\n");
  EXPECT_EQ(SettingsBytes(), "COM1\t1\tZarvoOrix\r\n");
  const auto& shown = boxes.shown.back();
  EXPECT_EQ(shown.caption, "Message");
  EXPECT_TRUE(std::regex_match(
      shown.text, std::regex("Failure of the decoder Orix connection at \\d+\\.\\d00\\.\n"
                             "Connection of the decoder Orix restored at \\d+\\.\\d00\\.")))
      << shown.text;
  // Passages flow again after the recovery, and the keep-alive is back on the next tick.
  Ticks(2000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    return sink.passages.size() >= passagesAtLoss + 3;
  });
  EXPECT_GE(sink.passages.size(), passagesAtLoss + 3);
  EXPECT_TRUE(link.KeepAliveActive());
}

TEST_F(DecoderOverPty, APulledAdapterIsALossNeverAHangAndPluggingItBackReconnects) {
  StartSimulatorOnSocat({"--mode", "orix", "--id", "12", "--transponders", "8", "--lap", "200"});
  ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  ASSERT_TRUE(StartRun());
  Ticks(3000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    return sink.passages.size() >= 3;
  });
  ASSERT_GE(sink.passages.size(), 3u);

  socat.Kill();  // the line disappears under both ends
  longestTickMs = 0;
  ASSERT_TRUE(Ticks(3000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    return link.Reconnecting();
  }));
  EXPECT_FALSE(port->IsOpen());
  EXPECT_LT(longestTickMs, 500u);  // hang guard: a tick reads at most ~1 ms, writes ~100 ms

  // Plugged back: the same names, a new pair; the simulator opens its end again by itself.
  ASSERT_TRUE(testing::StartSocatPair(socat, folder.File("com1"), folder.File("sim"),
                                      folder.File("socat.log")));
  ASSERT_TRUE(Ticks(10000, [&] {
    link.Supervise(run, sink);
    link.ReadPassages(sink);
    return link.Connected();
  }));
  EXPECT_EQ(SettingsBytes(), "COM1\t1\tZarvoOrix\r\n");
  EXPECT_LT(longestTickMs, 500u);
}

// The interface dialog's "Connect" closes the program's port (its reader stops) and opens it
// again (a new reader): the run's passages go on, none of them twice.
TEST_F(DecoderOverPty, TheInterfaceDialogsConnectRestartsTheReaderAndNoPassageComesTwice) {
  StartSimulatorOnSocat({"--mode", "orix", "--id", "21", "--transponders", "1-4", "--lap", "120",
                         "--stagger", "30"});
  ASSERT_EQ(link.IdentifyAtStartUp().outcome, IdentifyOutcome::kOrixWired);
  ASSERT_TRUE(StartRun());
  auto readFor = [&](int ms) {
    Ticks(ms, [&] {
      link.Supervise(run, sink);
      link.ReadPassages(sink);
      return false;
    });
  };
  readFor(800);
  const size_t before = sink.passages.size();
  ASSERT_GE(before, 8u);
  for (int attempt = 0; attempt < 3; ++attempt) {
    link.StopSupervision();
    InterfaceDialogModel model;
    OpenInterfaceModel(model, boxes, settings.c_str());
    ASSERT_TRUE(BeginInterfaceConnect(model, InterfacePortIndex("COM1"), *port));
    EXPECT_FALSE(port->IsOpen());
    FinishInterfaceConnect(model, InterfacePortIndex("COM1"), *port, clock, boxes,
                           settings.c_str());
    EXPECT_EQ(model.connected, 1);
    EXPECT_STREQ(model.deviceKey, "ZarvoOrix");
    link.ResetSupervision();
    readFor(500);
  }
  EXPECT_GE(sink.passages.size(), before + 3 * 8);
  EXPECT_TRUE(link.KeepAliveActive());
  // Every car's passages keep increasing decoder times: none read twice across the openings.
  for (int car = 1; car <= 4; ++car) {
    char text[8];
    std::snprintf(text, sizeof text, "%06d", car);
    int32_t last = -1;
    for (const DecoderPassage& p : sink.passages) {
      if (std::string(p.transponder) != text) continue;
      EXPECT_GT(p.decoderTime, last) << text;
      last = p.decoderTime;
    }
  }
}

}  // namespace
}  // namespace zarvo
