// Fakes of the race-control ports: a window that records what it is asked, a scripted decoder
// and an archive that remembers what it stored.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "race/race_ports.h"
#include "text/fixed_text.h"

namespace zarvo::testing {

class RecordingRaceUi : public RaceUi {
 public:
  explicit RecordingRaceUi(const Race* race = nullptr) : race_(race) {}
  void EnableControl(int id, bool enabled) override { controlEnabled[id] = enabled; }
  void EnableMenuItem(int id, bool enabled) override { menuEnabled[id] = enabled; }
  void ShowControl(int id, bool visible) override { controlVisible[id] = visible; }
  void CheckControl(int id, bool checked) override { controlChecked[id] = checked; }
  void SetControlText(int id, const char* text) override { controlText[id] = text; }
  void Repaint(RaceArea area) override {
    ++repaints[area];
    if (race_ == nullptr) return;
    if (area == RaceArea::kCountdown) countdownTexts.push_back(race_->run.countdownText);
    if (area == RaceArea::kClock) remainingTexts.push_back(race_->run.remainingText);
  }

  std::map<int, bool> controlEnabled, menuEnabled, controlVisible, controlChecked;
  std::map<int, std::string> controlText;
  std::map<RaceArea, int> repaints;
  std::vector<std::string> countdownTexts;  // the countdown text at each countdown repaint
  std::vector<std::string> remainingTexts;  // the remaining-time text at each clock repaint

 private:
  const Race* race_;
};

// Delivers the passages queued before each read; answers the start handshake from a script.
class ScriptedDecoder : public DecoderChannel {
 public:
  void Supervise(const RunState&, PassageReceiver&) override { ++supervisions; }
  void ClearCollectors() override { ++collectorClears; }
  void DiscardInput() override {
    ++discards;
    pending.clear();  // what is pending when input is discarded is lost
  }
  bool NeedsStartHandshake() const override { return orix; }
  bool StartHandshake() override {
    ++handshakeTicks;
    if (refusals > 0) {
      --refusals;
      return false;
    }
    return true;
  }
  void CancelStartHandshake() override { ++handshakeCancels; }
  void ReadPassages(PassageReceiver& receiver) override {
    std::deque<DecodedPassage> batch;
    batch.swap(pending);
    for (const DecodedPassage& p : batch) receiver.OnPassage(p);
  }

  // A passage stamped by the decoder's clock (ms since the decoder zeroed it).
  void QueueDecoderPassage(const char* transponder, int32_t decoderTime) {
    DecodedPassage p = {};
    SetText(p.transponder, transponder);
    p.clock = DecodedPassage::Clock::kDecoder;
    p.decoderTime = decoderTime;
    pending.push_back(p);
  }
  // A passage timed by the PC's counter.
  void QueueCounterPassage(const char* transponder, int64_t counter) {
    DecodedPassage p = {};
    SetText(p.transponder, transponder);
    p.clock = DecodedPassage::Clock::kPcCounter;
    p.counter = counter;
    pending.push_back(p);
  }

  bool orix = false;
  int refusals = 0;  // start answers refused before the acknowledgement
  std::deque<DecodedPassage> pending;
  int supervisions = 0, collectorClears = 0, discards = 0, handshakeTicks = 0,
      handshakeCancels = 0;
};

class RecordingArchive : public RunArchive {
 public:
  struct Stored {
    std::string runTitle;
    std::vector<int> lapCounts;  // per slot
  };
  void ArchiveRun(const Race& race) override {
    Stored s{race.run.runTitle, {}};
    for (const ParticipantRecord& p : race.slots) s.lapCounts.push_back(p.lapCount);
    runs.push_back(s);
  }
  bool WriteCircuits(const CircuitTable& circuits) override {
    ++circuitWrites;
    lastRecordLap = circuits.records[0].recordLap;
    lastRecordHolder = circuits.records[0].recordHolder;
    return circuitsWritable;
  }

  std::vector<Stored> runs;
  int circuitWrites = 0;
  bool circuitsWritable = true;
  int lastRecordLap = 0;
  std::string lastRecordHolder;
};

}  // namespace zarvo::testing
