// The fixture of the decoder link's tests: the link over a fake port at simulated time, the
// frames and answers of the two devices, and a sink that records the passages.
#pragma once

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
namespace link_testing {

using testing::B;
using testing::Bytes;
using testing::FakeClock;
using testing::FakeSerialPort;
using testing::RecordingMessageBoxes;
using testing::TempFolder;

const Bytes kIdentify(kIdentifyRequest, kIdentifyRequest + 5);
const Bytes kStart(kStartRequest, kStartRequest + 5);
const Bytes kKeepAlive(kKeepAliveRequest, kKeepAliveRequest + 5);

inline Bytes IdentifyAnswer(uint8_t kind, int id) {
  uint8_t frame[kOrixAnswerLength];
  EncodeIdentifyAnswer(kind, id, frame);
  return Bytes(frame, frame + sizeof frame);
}

inline Bytes StartAnswer(uint8_t a, uint8_t b, uint8_t c) {
  uint8_t frame[kOrixAnswerLength];
  EncodeStartAnswer(a, b, c, frame);
  return Bytes(frame, frame + sizeof frame);
}

inline Bytes PassageFrame(int transponder, int32_t decoderTime) {
  uint8_t frame[kOrixPassageLength];
  EncodePassage(transponder, decoderTime, frame);
  return Bytes(frame, frame + sizeof frame);
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
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

}  // namespace link_testing
}  // namespace zarvo
