// Sounds started by a thread of their own: in the order they came, a sound to wait for played on
// the caller's thread after every sound before it, the caller never held up by the player, and a
// player that fell 16 sounds behind dropping the oldest it had not started.
#include "app/queued_sound_player.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zarvo {
namespace {

// Notes every sound and the thread that started it; can hold the starts up.
class SlowPlayer : public SoundPlayer {
 public:
  void Play(const char* fileName, bool wait) override {
    std::unique_lock<std::mutex> lock(mutex_);
    ++waiting_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !held_; });
    --waiting_;
    played.push_back(std::string(fileName) + (wait ? " (waited)" : ""));
    threads.push_back(std::this_thread::get_id());
  }
  void Hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = true;
  }
  void Release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      held_ = false;
    }
    changed_.notify_all();
  }
  void WaitUntilHeld() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return waiting_ > 0; });
  }
  std::vector<std::string> Played() {
    std::lock_guard<std::mutex> lock(mutex_);
    return played;
  }
  std::vector<std::string> played;
  std::vector<std::thread::id> threads;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  int waiting_ = 0;
};

TEST(QueuedSoundPlayer, SoundsStartInTheirOrderAndAWaitedOneOnTheCallersThreadAfterThem) {
  SlowPlayer player;
  QueuedSoundPlayer queued(player);
  queued.Play("sons/beep1.wav", false);
  queued.Play("sons/un.wav", false);
  queued.Play("sons/buzz.wav", true);
  queued.Play("sons/deux.wav", false);
  queued.Flush();
  EXPECT_EQ(player.Played(), (std::vector<std::string>{"sons/beep1.wav", "sons/un.wav",
                                                       "sons/buzz.wav (waited)", "sons/deux.wav"}));
  EXPECT_NE(player.threads[0], std::this_thread::get_id()) << "not on the tick's thread";
  EXPECT_EQ(player.threads[2], std::this_thread::get_id()) << "waited for where it was asked";
}

TEST(QueuedSoundPlayer, ThePlayerHeldUpNeverHoldsTheCallerAndDropsOnlyStaleSounds) {
  SlowPlayer player;
  QueuedSoundPlayer queued(player);
  player.Hold();
  queued.Play("first.wav", false);
  player.WaitUntilHeld();  // the sound thread is in the player from here on
  for (int i = 1; i <= QueuedSoundPlayer::kCapacity + 3; ++i) {
    queued.Play(("cue" + std::to_string(i) + ".wav").c_str(), false);  // returns at once
  }
  EXPECT_EQ(player.Played().size(), 0u);
  player.Release();
  queued.Flush();
  std::vector<std::string> expected = {"first.wav"};
  for (int i = 4; i <= QueuedSoundPlayer::kCapacity + 3; ++i) {
    expected.push_back("cue" + std::to_string(i) + ".wav");
  }
  EXPECT_EQ(player.Played(), expected) << "the three oldest waiting were dropped, no other";
}

}  // namespace
}  // namespace zarvo
