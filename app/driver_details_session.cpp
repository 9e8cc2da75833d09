// The driver details dialog's session on the working copy (see driver_details_session.h).
#include "app/driver_details_session.h"

#include "session/session_file.h"
#include "session/session_format.h"

namespace zarvo {

DetailsSession::Read WorkingCopyDetails::ReadParticipants(ParticipantsList& list, int& entry,
                                                          MessageBoxes& boxes) {
  entry = -1;
  SessionHeader header = {};
  if (!ReadSessionHeader(header, boxes)) return Read::kNoSession;
  const int32_t node = header.selectedNodeId;
  if (node > kDriversNodeId && node <= kDriversNodeId + kSlotCount) {
    entry = node - kDriversNodeId - 1;
  }
  switch (ReadParticipantsList(list, boxes)) {
    case SectionRead::kRead:
      return Read::kRead;
    case SectionRead::kMissing:
      return Read::kNoList;
    case SectionRead::kNoFile:
      break;
  }
  return Read::kNoSession;
}

DetailsSession::Write WorkingCopyDetails::WriteParticipants(const ParticipantsList& list) {
  switch (UpdateParticipantsList(list)) {
    case SectionWrite::kWritten:
      return Write::kWritten;
    case SectionWrite::kMissing:
      return Write::kNoList;
    case SectionWrite::kNoFile:
    case SectionWrite::kFailed:
      break;
  }
  return Write::kNotWritten;
}

}  // namespace zarvo
