// Fakes of the platform services: a clock that moves only when told, message boxes that are
// recorded and answered from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/sound_player.h"

namespace zarvo::testing {

// Time starts at tick 1000 ms; the performance counter runs at 10 MHz on the same time line.
// Sleep() advances time; so does every PerformanceCounter() read by autoAdvanceNs, which lets
// loops that wait on the counter end without a real wait.
class FakeClock : public Clock {
 public:
  uint32_t TickCount() override { return static_cast<uint32_t>(nowNs / 1000000); }
  int64_t PerformanceCounter() override {
    nowNs += autoAdvanceNs;
    return nowNs / 100;
  }
  int64_t PerformanceFrequency() override { return 10000000; }
  LocalDateTime LocalTime() override { return localTime; }
  void Sleep(uint32_t ms) override { Advance(ms); }

  void Advance(int64_t ms) { nowNs += ms * 1000000; }
  void AdvanceNs(int64_t ns) { nowNs += ns; }
  int64_t NowMs() const { return nowNs / 1000000; }

  int64_t nowNs = int64_t(1000) * 1000000;
  int64_t autoAdvanceNs = 0;
  LocalDateTime localTime = {2026, 12, 7, 14, 3, 10};
};

class RecordingMessageBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::string caption;
    std::string text;
    MessageIcon icon;
    bool question;
  };
  void Show(const char* caption, const char* text, MessageIcon icon) override {
    shown.push_back({caption, text, icon, false});
  }
  Answer Ask(const char* caption, const char* text, QuestionButtons) override {
    shown.push_back({caption, text, MessageIcon::kQuestion, true});
    if (answers.empty()) return Answer::kNo;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }

  std::vector<Shown> shown;
  std::deque<Answer> answers;  // answers to the next questions; kNo when empty
};

class RecordingSoundPlayer : public SoundPlayer {
 public:
  struct Played {
    std::string file;
    bool wait;
  };
  void Play(const char* fileName, bool wait) override { played.push_back({fileName, wait}); }
  std::vector<Played> played;
};

}  // namespace zarvo::testing
