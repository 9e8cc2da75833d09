// The decoder link as race control's decoder channel. (The archive of finished runs is the
// session's: SessionRunArchive in app/session_controller.h.)
#pragma once

#include "decoder/decoder_link.h"
#include "race/race_ports.h"

namespace zarvo {

// Race control's view of the decoder conversation.
class DecoderLinkChannel final : public DecoderChannel, private PassageSink {
 public:
  explicit DecoderLinkChannel(DecoderLink& link) : link_(link) {}

  void Supervise(const RunState& run, PassageReceiver& receiver) override;
  void ClearCollectors() override { link_.ClearCollectors(); }
  void DiscardInput() override { link_.DiscardInput(); }
  bool NeedsStartHandshake() const override;
  bool StartHandshake() override;
  void CancelStartHandshake() override { link_.ClearCollectors(); }
  void ReadPassages(PassageReceiver& receiver) override;

 private:
  void OnPassage(const DecoderPassage& passage) override;
  PassageReceiver* receiver_ = nullptr;
  DecoderLink& link_;
};

}  // namespace zarvo
