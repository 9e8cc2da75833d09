// Composed sounds on a waveOut output of their own, played by a thread of its own from a short
// queue. PlaySound keeps its own output, so the WAV cues are never cut by these sounds.
#include <windows.h>
// mmsystem.h needs the types of windows.h.
#include <mmsystem.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/pcm_player.h"

namespace zarvo {

namespace {

// Sounds handed over and not yet played; the callouts hand one at a time.
constexpr size_t kQueueCapacity = 2;
// How often the playing thread looks whether it is asked to stop.
constexpr DWORD kStopPollMs = 50;
constexpr ULONGLONG kGraceMs = 2000;

class WaveOutPlayer final : public PcmPlayer {
 public:
  WaveOutPlayer()
      : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), thread_([this] { Run(); }) {}

  ~WaveOutPlayer() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
      queue_.clear();
    }
    stop_ = true;
    wake_.notify_one();
    if (done_ != nullptr) SetEvent(done_);
    thread_.join();
    if (done_ != nullptr) CloseHandle(done_);
  }

  bool Play(PcmSound&& sound) override {
    if (done_ == nullptr || sound.samples.empty()) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (queue_.size() >= kQueueCapacity) return false;
    queue_.push_back(std::move(sound));
    playing_ = true;
    wake_.notify_one();
    return true;
  }

  bool Playing() const override { return playing_.load(); }

  void Stop() override {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    if (busy_) {
      stop_ = true;
      SetEvent(done_);
    } else {
      playing_ = false;
    }
  }

 private:
  void Run() {
    while (true) {
      PcmSound sound;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_) return;
        sound = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        stop_ = false;
      }
      PlayOne(sound);
      std::lock_guard<std::mutex> lock(mutex_);
      busy_ = false;
      if (queue_.empty()) playing_ = false;
    }
  }

  // Opens the output in the sound's format, plays it to its end (or until stopped), closes it.
  // A sound the output cannot take (no device, a format it refuses) is dropped.
  void PlayOne(PcmSound& sound) {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = sound.format.channels;
    format.nSamplesPerSec = sound.format.samplesPerSecond;
    format.wBitsPerSample = sound.format.bitsPerSample;
    format.nBlockAlign = WORD(PcmFrameBytes(sound.format));
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    HWAVEOUT out = nullptr;
    if (waveOutOpen(&out, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done_), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      return;
    }
    WAVEHDR header = {};
    header.lpData = sound.samples.data();
    header.dwBufferLength = DWORD(sound.samples.size());
    if (waveOutPrepareHeader(out, &header, sizeof header) == MMSYSERR_NOERROR) {
      if (waveOutWrite(out, &header, sizeof header) == MMSYSERR_NOERROR) {
        // An output that never reports the end (a stalled driver) is reset past the sound's
        // length and a grace period, and given up on after as much again.
        const ULONGLONG soundMs = ULONGLONG(header.dwBufferLength) * 1000 /
                                  (format.nAvgBytesPerSec == 0 ? 1 : format.nAvgBytesPerSec);
        const ULONGLONG deadline = GetTickCount64() + soundMs + kGraceMs;
        bool reset = false;
        while ((header.dwFlags & WHDR_DONE) == 0) {
          WaitForSingleObject(done_, kStopPollMs);
          const ULONGLONG now = GetTickCount64();
          if (!reset && (stop_.load() || now > deadline)) {
            waveOutReset(out);  // marks the buffer done
            reset = true;
          }
          if (now > deadline + kGraceMs) break;
        }
      }
      waveOutUnprepareHeader(out, &header, sizeof header);
    }
    waveOutClose(out);
  }

  HANDLE done_;  // signalled by the output when a buffer is done, and by Stop
  std::atomic<bool> playing_{false};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<PcmSound> queue_;  // under mutex_
  bool busy_ = false;           // under mutex_: a sound is being played
  bool quit_ = false;           // under mutex_
  std::thread thread_;          // last: it starts once everything above is set
};

}  // namespace

std::unique_ptr<PcmPlayer> OpenSystemPcmPlayer() {
  return std::make_unique<WaveOutPlayer>();
}

}  // namespace zarvo
