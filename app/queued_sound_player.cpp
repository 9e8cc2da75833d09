// Sounds started by a thread of their own (see queued_sound_player.h).
#include "app/queued_sound_player.h"

#include "text/fixed_text.h"

namespace zarvo {

QueuedSoundPlayer::QueuedSoundPlayer(SoundPlayer& player) : player_(player) {
  thread_ = std::thread([this] { Run(); });
}

QueuedSoundPlayer::~QueuedSoundPlayer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void QueuedSoundPlayer::Play(const char* fileName, bool wait) {
  if (wait) {
    Flush();
    player_.Play(fileName, true);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (count_ == kCapacity) {  // the oldest not yet started would be cut at once: it goes
      first_ = (first_ + 1) % kCapacity;
      --count_;
    }
    SetText(names_[(first_ + count_) % kCapacity], kNameCapacity, fileName);
    ++count_;
  }
  wake_.notify_one();
}

void QueuedSoundPlayer::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return count_ == 0 && !starting_; });
}

void QueuedSoundPlayer::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return count_ > 0 || stop_; });
    if (count_ == 0) return;  // stopped with nothing left
    char name[kNameCapacity];
    SetText(name, names_[first_]);
    first_ = (first_ + 1) % kCapacity;
    --count_;
    starting_ = true;
    lock.unlock();
    player_.Play(name, false);
    lock.lock();
    starting_ = false;
    if (count_ == 0) idle_.notify_all();
  }
}

}  // namespace zarvo
