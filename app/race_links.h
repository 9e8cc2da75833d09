// The timing core's ports joined to the real subsystems: the decoder link as the decoder channel
// of race control, and the databases as the archive of finished runs.
#pragma once

#include "decoder/decoder_link.h"
#include "platform/message_boxes.h"
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

// Finished runs go to each driver's runs database, under the run caption and circuit name of the
// session, lap records to the circuits database. runCaption and circuitName point to the session's
// own fields, which live as long as the program and are read when a run ends.
class DatabaseRunArchive final : public RunArchive {
 public:
  DatabaseRunArchive(MessageBoxes& boxes, const char* runCaption, const char* circuitName)
      : boxes_(boxes), runCaption_(runCaption), circuitName_(circuitName) {}

  void ArchiveRun(const Race& race) override;
  bool WriteCircuits(const CircuitTable& circuits) override;

 private:
  MessageBoxes& boxes_;
  const char* runCaption_;
  const char* circuitName_;
};

}  // namespace zarvo
