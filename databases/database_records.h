// The records of the reference databases as the program holds them in memory. Text capacities
// include the terminator; a free record has an empty name.
#pragma once

#include <cstdint>

#include "race/race_model.h"
#include "records/circuit_records.h"

namespace zarvo {

constexpr int kDriverCapacity = 300;
constexpr int kCarCapacity = 300;
constexpr int kFrequencyTableCapacity = 100;
constexpr int kCountryCount = 208;  // lines of the shipped countries file
constexpr int kCountryNameCapacity = 35;
constexpr int kCarNameCapacity = 30;

struct DriverRecord {
  char name[kDriverNameCapacity];
  char address[40];
  char address2[40];  // second line of the address
  char zipCode[15];
  char location[40];
  char country[kCountryNameCapacity];
  char phone[20];
  char email[40];
  char birthday[20];
  char licenceNumber[20];
  char transponder[kTransponderCapacity];  // six digits, or empty
  char photoPath[kImagePathCapacity];      // a .bmp file
};

struct DriverTable {
  DriverRecord records[kDriverCapacity];
};

// The names of the drivers file, in file order, up to the first empty one.
struct DriverNameList {
  char names[kDriverCapacity][kDriverNameCapacity];
};

// A car and its setup: the setup fields are fields 2 to 49 of the setup sheet, with the same
// names, order and capacities.
struct CarRecord {
  char name[kCarNameCapacity];  // the entry of the cars list
  ZARVO_CAR_SETUP_FIELDS(ZARVO_DECLARE_TEXT_FIELD)
  char imagePath[kImagePathCapacity];  // a .bmp file
};

struct CarTable {
  CarRecord records[kCarCapacity];
};

// Radio frequencies in use at the club: six characters each ("2.4Ghz" is one of them).
struct FrequencyTable {
  char entries[kFrequencyTableCapacity][kFrequencyCapacity];
};

}  // namespace zarvo
