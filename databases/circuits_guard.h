// The circuits database on its way to and from the disk: it is rewritten at the end of every run
// (the lap records) and after a recovery, but a file that is there and could not be read (denied,
// locked, damaged beyond a read, larger than a database read takes) is never replaced by the table
// in memory, which lacks its circuits. A file that is merely missing is created by the next write,
// as before.
#pragma once

#include "databases/database_records.h"

namespace zarvo {

class CircuitsFileGuard {
 public:
  enum class Loaded {
    kRead,        // the table holds the file's circuits
    kMissing,     // no file: the next write creates it
    kUnreadable,  // the file is there but could not be read: it is protected until a later
                  // read succeeds
  };

  // Reads "BaseDonnéesCircuits.bd" into table; a file that cannot be read leaves the table as it
  // was (the reader's rule).
  Loaded Load(CircuitTable& table);
  // Writes the table, unless the file is protected; false when protected or the write failed.
  bool Write(const CircuitTable& table);
  bool Protected() const { return protected_; }

 private:
  bool protected_ = false;
};

}  // namespace zarvo
