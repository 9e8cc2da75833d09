// The circuits database behind its guard (see circuits_guard.h).
#include "databases/circuits_guard.h"

#include "databases/database_files.h"
#include "platform/files.h"

namespace zarvo {

CircuitsFileGuard::Loaded CircuitsFileGuard::Load(CircuitTable& table) {
  if (ReadCircuits(table)) {
    protected_ = false;
    return Loaded::kRead;
  }
  protected_ = PathExists(kCircuitsFile);
  return protected_ ? Loaded::kUnreadable : Loaded::kMissing;
}

bool CircuitsFileGuard::Write(const CircuitTable& table) {
  return !protected_ && WriteCircuits(table);
}

}  // namespace zarvo
