// The reference database files of the program folder: circuits, drivers, cars, frequencies and
// countries. Each file is read whole into its fixed table and written back whole.
//
// Line formats (Windows-1252, CR LF on disk; LF alone is accepted when reading):
//   circuits     name, length, record lap text, record lap (%d), record holder, minimum lap
//                time, location, image path: every field followed by a tab
//   drivers      name, address, address 2, zip code, location, country, phone, e-mail,
//                birthday, licence number, transponder, (an always empty field), photo path:
//                every field followed by a tab
//   cars         name, the 48 setup fields (car name to throttle servo), image path: every field
//                followed by a tab
//   frequencies  one frequency a line, no tab
//   countries    one country name a line, no tab (shipped with the program, never written)
//
// Reading rule, the same for every file: one record per line. A field longer than its capacity
// is cut to capacity - 1 bytes; missing fields stay empty (0 for the record lap); fields after the
// last one are ignored; a line whose first field is empty (a blank line) is skipped, since a
// record without a name cannot be shown or chosen. So a damaged line never spills into the next
// one. Lines beyond the table's capacity are ignored.
//
// Readers return true when the file was read (the table is cleared first, then filled) and false
// when it cannot be opened (the table is left as it was); the caller shows the message. Writers
// return false when the file cannot be written; they write a temporary file and replace the old
// one only when the new one is complete, so the old file survives a crash or a full disk.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "databases/database_records.h"
#include "race/race_model.h"

namespace zarvo {

// File names of the program folder (the same in both editions).
constexpr const char kCircuitsFile[] = "BaseDonnéesCircuits.bd";
constexpr const char kDriversFile[] = "BaseDonnéesPilotes.bd";
constexpr const char kCarsFile[] = "BaseDonnéesVoitures.bd";
constexpr const char kFrequenciesFile[] = "BaseDonnéesFréquences.bd";
constexpr const char kCountriesFile[] = "BaseDonnéesPays.bd";

// --- Circuits (start-up reads them; the race stop writes them back with the new lap records).
void ClearCircuits(CircuitTable& table);  // all 21 records: texts empty, numbers 0
bool ReadCircuits(CircuitTable& table);
// Writes every circuit whose name is not empty, in table order.
bool WriteCircuits(const CircuitTable& table);
void ParseCircuits(std::string_view bytes, CircuitTable& table);
std::string FormatCircuits(const CircuitTable& table);

// --- Drivers.
void ClearDrivers(DriverTable& table);
bool ReadDrivers(DriverTable& table);
bool WriteDrivers(const DriverTable& table);  // every driver whose name is not empty
void ParseDrivers(std::string_view bytes, DriverTable& table);
std::string FormatDrivers(const DriverTable& table);

// Only the names of the drivers file, in file order (the list ends at the first empty name).
bool ReadDriverNames(DriverNameList& names);
void ParseDriverNames(std::string_view bytes, DriverNameList& names);

// --- Cars.
void ClearCar(CarRecord& car);
void ClearCars(CarTable& table);
bool ReadCars(CarTable& table);
bool WriteCars(const CarTable& table);  // every car whose name is not empty
void ParseCars(std::string_view bytes, CarTable& table);
std::string FormatCars(const CarTable& table);

// Setup field i of a car, with i numbered as in the setup sheet: 1 (car name) to 48 (throttle
// servo). Its capacity is SetupFieldCapacity(i).
char* CarSetupField(CarRecord& car, int setupIndex);
const char* CarSetupField(const CarRecord& car, int setupIndex);

// Replaces setup-sheet fields 2 to 49 (car name to throttle servo) by the car's setup; the track
// conditions stay.
void CopyCarSetupToSheet(const CarRecord& car, SetupSheet& sheet);

// The entries of the car chooser of the run synthesis: an empty entry, TXT_CAR_DATA_RESET, then
// the name of every line of the cars file in file order. False (and only the first two entries)
// when the cars file cannot be opened.
bool ReadCarChooserEntries(std::vector<std::string>& entries);

enum class CarLookup { kFound, kNotFound, kFileNotOpened };
// Looks the car up in the cars file, the last line of that name winning, and copies its setup
// into fields 2 to 49 of the sheet. The sheet is unchanged unless the car is found.
CarLookup ApplyCarSetupFromFile(const char* carName, SetupSheet& sheet);

// --- Frequencies.
void ClearFrequencies(FrequencyTable& table);
bool ReadFrequencies(FrequencyTable& table);
bool WriteFrequencies(const FrequencyTable& table);  // every entry that is not empty
void ParseFrequencies(std::string_view bytes, FrequencyTable& table);
std::string FormatFrequencies(const FrequencyTable& table);

// --- Countries: the entries of the drivers editor's country box, in file order (at most 208
// names, each cut to 34 bytes).
bool ReadCountries(std::vector<std::string>& names);
void ParseCountries(std::string_view bytes, std::vector<std::string>& names);

// --- The sort the editors apply after every change, in place over the whole table: used
// records first, in ascending byte order of their names with A to Z taken as a to z (other
// bytes, accented letters included, compare by their Windows-1252 value); equal names keep the
// record of higher index first; then the free records. Every field travels with its record.
void SortCircuits(CircuitTable& table);  // the 20 records; the spare record stays where it is
void SortDrivers(DriverTable& table);
void SortCars(CarTable& table);
void SortFrequencies(FrequencyTable& table);

// How many records are used: the records before the first empty name.
int CountCircuits(const CircuitTable& table);
int CountDrivers(const DriverTable& table);
int CountCars(const CarTable& table);
int CountFrequencies(const FrequencyTable& table);

}  // namespace zarvo
