// The circuits database's records as the program holds them in memory: race control keeps the lap
// record of the session's circuit in them, the databases read and write their file. Text
// capacities include the terminator; a free record has an empty name.
#pragma once

#include <cstdint>

namespace zarvo {

constexpr int kCircuitCapacity = 20;
constexpr int kImagePathCapacity = 260;

struct CircuitRecord {
  char name[40];
  char length[5];          // metres, digits
  char recordLapText[15];  // the record lap written as a three-form time
  int32_t recordLap;       // ms; 0 = no record yet
  int32_t hidden[4];       // never stored in the file; cleared with the record lap
  char recordHolder[40];   // driver name of the record
  char minimumLapTime[4];  // seconds, digits
  char location[40];
  char imagePath[kImagePathCapacity];  // a .bmp file
};

// The circuits database: 20 records and one spare record that stays empty.
struct CircuitTable {
  CircuitRecord records[kCircuitCapacity + 1];
};

}  // namespace zarvo
