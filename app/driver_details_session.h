// The driver details dialog's session: the working copy's participants list, and the entry the
// node selected in the session tree designates (written into the working copy's header by every
// tree notification).
#pragma once

#include "decoder/driver_details_dialog.h"

namespace zarvo {

class WorkingCopyDetails : public DetailsSession {
 public:
  // The header first (the selected node 12001..12020 designates the entry), then the list;
  // the messages of a working copy that cannot be read are the session file's own.
  Read ReadParticipants(ParticipantsList& list, int& entry, MessageBoxes& boxes) override;
  // Rewrites "SessionListeParticipants" only where the section exists.
  Write WriteParticipants(const ParticipantsList& list) override;
};

}  // namespace zarvo
