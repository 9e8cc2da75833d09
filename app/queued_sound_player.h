// Sounds started by a thread of their own, so that the tick never waits for the system's player:
// starting a sound (PlaySound) was measured to hold the user-interface thread up to 18 ms under
// Wine. A sound that cuts the one playing is handed over through a bounded queue and started in
// the order it came; a sound that must be waited for (the countdown opening, the scan signal) is
// played on the caller's thread once every sound before it has been started, as before. What is
// played and its order do not change. The queue holds 16 sounds: should the player fall that far
// behind, the oldest one not yet started is dropped, since the next one would have cut it at
// once anyway.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "platform/sound_player.h"

namespace zarvo {

class QueuedSoundPlayer final : public SoundPlayer {
 public:
  explicit QueuedSoundPlayer(SoundPlayer& player);
  ~QueuedSoundPlayer() override;
  QueuedSoundPlayer(const QueuedSoundPlayer&) = delete;
  QueuedSoundPlayer& operator=(const QueuedSoundPlayer&) = delete;

  void Play(const char* fileName, bool wait) override;
  // Blocks until every sound queued so far has been started (tests).
  void Flush();

  static constexpr int kCapacity = 16;
  static constexpr size_t kNameCapacity = 260;

 private:
  void Run();

  SoundPlayer& player_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  char names_[kCapacity][kNameCapacity];
  int first_ = 0;  // the next sound to start
  int count_ = 0;
  bool starting_ = false;  // the thread is in the player
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace zarvo
