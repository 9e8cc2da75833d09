// The SAPI 5 voice of a language, on a thread of its own that owns every COM object: it finds
// the voice by the "Language" attribute of the installed voice tokens ("Language=409" English,
// "Language=40C" French), then says each text handed over, asynchronously, so that it can be
// silenced at once.
#include <windows.h>
// MinGW-w64 ships sapi.h, but its libuuid holds none of the SAPI identifiers: this file defines
// the ones it uses.
#include <initguid.h>
#include <sapi.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/codepage.h"
#include "platform/speech_voice.h"

namespace zarvo {

namespace {

// How often the speaking thread looks whether it is asked to stop.
constexpr DWORD kStopPollMs = 50;

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// "Language=40C": the attribute as the voice tokens of the registry state it.
std::wstring LanguageAttribute(unsigned languageId) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring digits;
  do {
    digits.insert(digits.begin(), kHex[languageId % 16]);
    languageId /= 16;
  } while (languageId != 0);
  return L"Language=" + digits;
}

// The first voice of the language; null when SAPI or such a voice is missing.
ISpVoice* OpenVoice(unsigned languageId) {
  ISpVoice* voice = nullptr;
  ISpObjectTokenCategory* category = nullptr;
  IEnumSpObjectTokens* tokens = nullptr;
  ISpObjectToken* token = nullptr;
  const std::wstring required = LanguageAttribute(languageId);
  const bool found = SUCCEEDED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice,
                                                reinterpret_cast<void**>(&voice))) &&
                     SUCCEEDED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL,
                                                IID_ISpObjectTokenCategory,
                                                reinterpret_cast<void**>(&category))) &&
                     SUCCEEDED(category->SetId(SPCAT_VOICES, FALSE)) &&
                     SUCCEEDED(category->EnumTokens(required.c_str(), nullptr, &tokens)) &&
                     tokens->Next(1, &token, nullptr) == S_OK && SUCCEEDED(voice->SetVoice(token));
  Release(token);
  Release(tokens);
  Release(category);
  if (!found) Release(voice);
  return voice;
}

class SapiVoice final : public SpeechVoice {
 public:
  explicit SapiVoice(unsigned languageId) : thread_([this, languageId] { Run(languageId); }) {}

  ~SapiVoice() override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  VoiceStatus Status() const override { return status_.load(); }

  bool Say(const char* text) override {
    if (status_.load() != VoiceStatus::kReady) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (speaking_.load()) return false;
    const std::u16string utf16 = Cp1252ToUtf16(text);
    pending_.assign(utf16.begin(), utf16.end());
    hasText_ = true;
    speaking_ = true;
    wake_.notify_one();
    return true;
  }

  bool Speaking() const override { return speaking_.load(); }

  void Stop() override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (hasText_) {  // not begun yet: dropped
      hasText_ = false;
      speaking_ = false;
    }
    if (speaking_.load()) stop_ = true;  // being said: the thread purges it
  }

 private:
  void Run(unsigned languageId) {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    ISpVoice* voice = com ? OpenVoice(languageId) : nullptr;
    status_ = voice != nullptr ? VoiceStatus::kReady : VoiceStatus::kUnavailable;
    while (voice != nullptr) {
      std::wstring text;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return quit_ || hasText_; });
        if (quit_) break;
        text.swap(pending_);
        hasText_ = false;
        stop_ = false;
      }
      if (!SpeakUntilDone(voice, text)) {
        status_ = VoiceStatus::kUnavailable;  // the callouts turn to the built-in voice
        Release(voice);
      }
      speaking_ = false;
    }
    Release(voice);
    speaking_ = false;
    if (com) CoUninitialize();
  }

  // False when the voice refuses the text.
  bool SpeakUntilDone(ISpVoice* voice, const std::wstring& text) {
    const DWORD flags = SPF_ASYNC | SPF_IS_NOT_XML | SPF_PURGEBEFORESPEAK;
    if (FAILED(voice->Speak(text.c_str(), flags, nullptr))) return false;
    while (voice->WaitUntilDone(kStopPollMs) == S_FALSE) {
      if (stop_.load() || QuitAsked()) {
        voice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
        break;
      }
    }
    return true;
  }

  bool QuitAsked() {
    std::lock_guard<std::mutex> lock(mutex_);
    return quit_;
  }

  std::atomic<VoiceStatus> status_{VoiceStatus::kStarting};
  std::atomic<bool> speaking_{false};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::wstring pending_;  // under mutex_
  bool hasText_ = false;  // under mutex_
  bool quit_ = false;     // under mutex_
  std::thread thread_;    // last: it starts once everything above is set
};

}  // namespace

std::unique_ptr<SpeechVoice> OpenSystemSpeechVoice(unsigned languageId) {
  return std::make_unique<SapiVoice>(languageId);
}

}  // namespace zarvo
