// The decoder link as race control's decoder channel.
#include "app/race_links.h"

#include "decoder/interface_settings.h"
#include "text/fixed_text.h"

namespace zarvo {

void DecoderLinkChannel::Supervise(const RunState& run, PassageReceiver& receiver) {
  receiver_ = &receiver;
  link_.Supervise(RunClock{run.raceRunning, run.raceStartTick}, *this);
  receiver_ = nullptr;
}

bool DecoderLinkChannel::NeedsStartHandshake() const {
  return SameText(link_.DeviceKey(), kDeviceOrix) ||
         SameText(link_.DeviceKey(), kDeviceOrixBluetooth);
}

bool DecoderLinkChannel::StartHandshake() {
  return link_.StartHandshake() == StartStep::kStarted;
}

void DecoderLinkChannel::ReadPassages(PassageReceiver& receiver) {
  receiver_ = &receiver;
  link_.ReadPassages(*this);
  receiver_ = nullptr;
}

void DecoderLinkChannel::OnPassage(const DecoderPassage& passage) {
  if (receiver_ == nullptr) return;
  DecodedPassage decoded = {};
  SetText(decoded.transponder, passage.transponder);
  decoded.clock = passage.source == PassageSource::kOrix ? DecodedPassage::Clock::kDecoder
                                                         : DecodedPassage::Clock::kPcCounter;
  decoded.decoderTime = passage.decoderTime;
  decoded.counter = passage.counter;
  receiver_->OnPassage(decoded);
}

}  // namespace zarvo
