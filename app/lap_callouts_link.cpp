// The lap callouts in the program (see lap_callouts_link.h).
#include "app/lap_callouts_link.h"

#include "text/catalogue.h"

namespace zarvo {

namespace {

class SystemVoices final : public CalloutVoiceMaker {
 public:
  std::unique_ptr<SpeechVoice> OpenSpeech() override {
    return OpenSystemSpeechVoice(kCalloutLanguageId);
  }
  std::unique_ptr<PcmPlayer> OpenOutput() override { return OpenSystemPcmPlayer(); }
  int LoadSnippets(SnippetBank& bank) override { return bank.Load(); }
};

}  // namespace

CalloutVoiceMaker& SystemCalloutVoices() {
  static SystemVoices voices;
  return voices;
}

LapCalloutsLink::LapCalloutsLink(const RunState& run, Clock& clock, SoundPlayer& player)
    : run_(run),
      clock_(clock),
      maker_(&SystemCalloutVoices()),
      callouts_(settings_, speech_, output_, snippets_),
      cues_(player, clock, callouts_) {}

void LapCalloutsLink::StartUp(MessageBoxes& boxes) {
  log_ = CalloutLogFromEnvironment(clock_);
  callouts_.SetRecorder(log_.get());
  if (LoadSettings() == CalloutFileRead::kDamaged) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_CALLOUT_SETTINGS_DAMAGED, MessageIcon::kError);
  }
}

CalloutFileRead LapCalloutsLink::LoadSettings() {
  const CalloutFileRead read = ReadCalloutSettings(kCalloutSettingsFile, settings_);
  if (settings_.announceLaps) OpenVoices();
  return read;
}

void LapCalloutsLink::OpenVoices() {
  if (voicesOpen_) return;
  voicesOpen_ = true;
  // The speech voice looks for itself on its own thread; the snippets are read now, outside any
  // run (the dialog that turns the callouts on is not offered while a run is timed).
  speech_.voice = maker_->OpenSpeech();
  std::unique_ptr<PcmPlayer> device = maker_->OpenOutput();
  if (log_ != nullptr) {
    output_.output = std::make_unique<TimedPcmOutput>(clock_, std::move(device));
  } else {
    output_.output = std::move(device);
  }
  maker_->LoadSnippets(snippets_);
}

void LapCalloutsLink::Tick() {
  callouts_.SetRunTimed(Timed());
  callouts_.Tick(clock_.TickCount());
}

void LapCalloutsLink::LapRecorded(const RecordedLap& lap) {
  // The lap of the tick that started the run comes before the tick has said it is timed.
  callouts_.SetRunTimed(Timed());
  callouts_.Lap(clock_.TickCount(), MakeLapEvent(lap.slot, lap.driverName, lap.lapTime,
                                                 lap.lapNumber, lap.newBest, lap.position));
}

void LapCalloutsLink::End() {
  callouts_.SetRunTimed(false);
  if (log_ != nullptr) log_->Flush();
}

}  // namespace zarvo
