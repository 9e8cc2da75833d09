// Readers, writers and the sort of the reference database files.
#include "databases/database_files.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>

#include "databases/tab_text.h"
#include "platform/files.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// --- Field descriptions of the tab-separated files.

enum class FieldKind { kText, kNumber, kAlwaysEmpty };

struct FieldSpec {
  FieldKind kind;
  size_t offset;
  size_t capacity;
};

#define ZARVO_TEXT_FIELD(Record, field)                              \
  FieldSpec {                                                        \
    FieldKind::kText, offsetof(Record, field), sizeof(Record::field) \
  }

constexpr FieldSpec kCircuitFields[] = {
    ZARVO_TEXT_FIELD(CircuitRecord, name),
    ZARVO_TEXT_FIELD(CircuitRecord, length),
    ZARVO_TEXT_FIELD(CircuitRecord, recordLapText),
    FieldSpec{FieldKind::kNumber, offsetof(CircuitRecord, recordLap), sizeof(int32_t)},
    ZARVO_TEXT_FIELD(CircuitRecord, recordHolder),
    ZARVO_TEXT_FIELD(CircuitRecord, minimumLapTime),
    ZARVO_TEXT_FIELD(CircuitRecord, location),
    ZARVO_TEXT_FIELD(CircuitRecord, imagePath),
};

constexpr FieldSpec kDriverFields[] = {
    ZARVO_TEXT_FIELD(DriverRecord, name),        ZARVO_TEXT_FIELD(DriverRecord, address),
    ZARVO_TEXT_FIELD(DriverRecord, address2),    ZARVO_TEXT_FIELD(DriverRecord, zipCode),
    ZARVO_TEXT_FIELD(DriverRecord, location),    ZARVO_TEXT_FIELD(DriverRecord, country),
    ZARVO_TEXT_FIELD(DriverRecord, phone),       ZARVO_TEXT_FIELD(DriverRecord, email),
    ZARVO_TEXT_FIELD(DriverRecord, birthday),    ZARVO_TEXT_FIELD(DriverRecord, licenceNumber),
    ZARVO_TEXT_FIELD(DriverRecord, transponder), FieldSpec{FieldKind::kAlwaysEmpty, 0, 0},
    ZARVO_TEXT_FIELD(DriverRecord, photoPath),
};

// A car's setup has the layout of setup-sheet fields 2 to 49: same order, same capacities.
#define ZARVO_SAME_AS_SHEET(field, capacity)                                     \
  static_assert(sizeof(CarRecord::field) == sizeof(SetupSheet::field), #field);  \
  static_assert(offsetof(CarRecord, field) - offsetof(CarRecord, carName) ==     \
                    offsetof(SetupSheet, field) - offsetof(SetupSheet, carName), \
                #field);
ZARVO_CAR_SETUP_FIELDS(ZARVO_SAME_AS_SHEET)
#undef ZARVO_SAME_AS_SHEET

constexpr int kCarSetupFieldCount = kSetupFieldCount - 1;

#define ZARVO_CAR_FIELD(field, capacity) ZARVO_TEXT_FIELD(CarRecord, field),
constexpr FieldSpec kCarFields[] = {
    ZARVO_TEXT_FIELD(CarRecord, name),
    ZARVO_CAR_SETUP_FIELDS(ZARVO_CAR_FIELD) ZARVO_TEXT_FIELD(CarRecord, imagePath),
};
#undef ZARVO_CAR_FIELD
static_assert(sizeof kCarFields / sizeof kCarFields[0] == 2 + kCarSetupFieldCount);

#undef ZARVO_TEXT_FIELD

// The first field of a line, as far as a text goes: up to a tab or a zero byte.
std::string_view FirstField(std::string_view line) {
  std::string_view rest = line;
  const std::string_view field = NextField(rest);
  return field.substr(0, field.find('\0'));
}

// Fills a cleared record from one line.
void ParseRecordLine(std::string_view line, const FieldSpec* layout, size_t count, void* record) {
  char* base = static_cast<char*>(record);
  std::string_view rest = line;
  for (size_t k = 0; k < count; ++k) {
    const std::string_view field = NextField(rest);
    const FieldSpec& column = layout[k];
    if (column.kind == FieldKind::kText) {
      SetFieldText(base + column.offset, column.capacity, field);
    } else if (column.kind == FieldKind::kNumber) {
      const int32_t value = ParseInt32(field);
      std::memcpy(base + column.offset, &value, sizeof value);
    }
  }
}

void AppendRecordLine(std::string& out, const FieldSpec* layout, size_t count, const void* record) {
  const char* base = static_cast<const char*>(record);
  for (size_t k = 0; k < count; ++k) {
    const FieldSpec& column = layout[k];
    if (column.kind == FieldKind::kText) {
      AppendText(out, base + column.offset, column.capacity);
    } else if (column.kind == FieldKind::kNumber) {
      int32_t value;
      std::memcpy(&value, base + column.offset, sizeof value);
      AppendInt(out, value);
    }
    out += '\t';
  }
  out += kLineEnd;
}

// Record i of the table receives the i-th line that has a name.
template <typename Record, size_t N>
void ParseTable(std::string_view bytes, const FieldSpec (&layout)[N], Record* records,
                int capacity) {
  int i = 0;
  ForEachLine(bytes, [&](std::string_view line) {
    if (i >= capacity) return false;
    if (FirstField(line).empty()) return true;
    ParseRecordLine(line, layout, N, &records[i]);
    ++i;
    return true;
  });
}

template <typename Record, size_t N>
std::string FormatTable(const FieldSpec (&layout)[N], const Record* records, int capacity) {
  std::string out;
  for (int i = 0; i < capacity; ++i) {
    if (records[i].name[0] == '\0') continue;
    AppendRecordLine(out, layout, N, &records[i]);
  }
  return out;
}

// Reads a whole database file; false when it cannot be opened.
bool ReadDatabase(const char* path, std::string& bytes) {
  return ReadFileBounded(path, bytes, kDatabaseReadLimit);
}

// --- The sort.

// The order the records take: names with A to Z folded to a to z compared as unsigned bytes,
// equal names highest index first, then the free records (highest index first, as they come
// out of the selection the editors always used).
template <typename NameOf>
std::vector<int> SortedOrder(int n, size_t capacity, NameOf nameOf) {
  std::vector<std::string> keys(n);
  for (int i = 0; i < n; ++i) {
    const char* name = nameOf(i);
    const void* terminator = std::memchr(name, 0, capacity);
    std::string& key = keys[i];
    key.assign(name,
               terminator != nullptr ? static_cast<const char*>(terminator) - name : capacity - 1);
    for (char& c : key) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
  }
  std::vector<int> order;
  order.reserve(n);
  for (int i = 0; i < n; ++i) {
    if (!keys[i].empty()) order.push_back(i);
  }
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const int c = keys[a].compare(keys[b]);  // char_traits<char> compares unsigned bytes
    if (c != 0) return c < 0;
    return a > b;
  });
  for (int i = n - 1; i >= 0; --i) {
    if (keys[i].empty()) order.push_back(i);
  }
  return order;
}

template <typename Record>
void SortRecords(Record* records, int n) {
  const std::vector<int> order =
      SortedOrder(n, sizeof(Record::name), [&](int i) { return records[i].name; });
  const std::vector<Record> copy(records, records + n);
  for (int k = 0; k < n; ++k) records[k] = copy[order[k]];
}

template <typename Record>
int CountUsed(const Record* records, int n) {
  int count = 0;
  while (count < n && records[count].name[0] != '\0') ++count;
  return count;
}

}  // namespace

// --- Circuits.

void ClearCircuits(CircuitTable& table) {
  std::memset(&table, 0, sizeof table);
}

void ParseCircuits(std::string_view bytes, CircuitTable& table) {
  ClearCircuits(table);
  ParseTable(bytes, kCircuitFields, table.records, kCircuitCapacity);
}

std::string FormatCircuits(const CircuitTable& table) {
  return FormatTable(kCircuitFields, table.records, kCircuitCapacity);
}

bool ReadCircuits(CircuitTable& table) {
  std::string bytes;
  if (!ReadDatabase(kCircuitsFile, bytes)) return false;
  ParseCircuits(bytes, table);
  return true;
}

bool WriteCircuits(const CircuitTable& table) {
  return WriteFileReplacing(kCircuitsFile, FormatCircuits(table));
}

void SortCircuits(CircuitTable& table) {
  SortRecords(table.records, kCircuitCapacity);
}

int CountCircuits(const CircuitTable& table) {
  return CountUsed(table.records, kCircuitCapacity);
}

// --- Drivers.

void ClearDrivers(DriverTable& table) {
  std::memset(&table, 0, sizeof table);
}

void ParseDrivers(std::string_view bytes, DriverTable& table) {
  ClearDrivers(table);
  ParseTable(bytes, kDriverFields, table.records, kDriverCapacity);
}

std::string FormatDrivers(const DriverTable& table) {
  return FormatTable(kDriverFields, table.records, kDriverCapacity);
}

bool ReadDrivers(DriverTable& table) {
  std::string bytes;
  if (!ReadDatabase(kDriversFile, bytes)) return false;
  ParseDrivers(bytes, table);
  return true;
}

bool WriteDrivers(const DriverTable& table) {
  return WriteFileReplacing(kDriversFile, FormatDrivers(table));
}

void SortDrivers(DriverTable& table) {
  SortRecords(table.records, kDriverCapacity);
}

int CountDrivers(const DriverTable& table) {
  return CountUsed(table.records, kDriverCapacity);
}

void ParseDriverNames(std::string_view bytes, DriverNameList& names) {
  std::memset(&names, 0, sizeof names);
  int i = 0;
  ForEachLine(bytes, [&](std::string_view line) {
    if (i >= kDriverCapacity) return false;
    const std::string_view name = FirstField(line);
    if (name.empty()) return true;
    SetFieldText(names.names[i++], kDriverNameCapacity, name);
    return true;
  });
}

bool ReadDriverNames(DriverNameList& names) {
  std::string bytes;
  if (!ReadDatabase(kDriversFile, bytes)) return false;
  ParseDriverNames(bytes, names);
  return true;
}

// --- Cars.

void ClearCar(CarRecord& car) {
  std::memset(&car, 0, sizeof car);
}

void ClearCars(CarTable& table) {
  std::memset(&table, 0, sizeof table);
}

void ParseCars(std::string_view bytes, CarTable& table) {
  ClearCars(table);
  ParseTable(bytes, kCarFields, table.records, kCarCapacity);
}

std::string FormatCars(const CarTable& table) {
  return FormatTable(kCarFields, table.records, kCarCapacity);
}

bool ReadCars(CarTable& table) {
  std::string bytes;
  if (!ReadDatabase(kCarsFile, bytes)) return false;
  ParseCars(bytes, table);
  return true;
}

bool WriteCars(const CarTable& table) {
  return WriteFileReplacing(kCarsFile, FormatCars(table));
}

void SortCars(CarTable& table) {
  SortRecords(table.records, kCarCapacity);
}

int CountCars(const CarTable& table) {
  return CountUsed(table.records, kCarCapacity);
}

char* CarSetupField(CarRecord& car, int setupIndex) {
  return reinterpret_cast<char*>(&car) + kCarFields[setupIndex].offset;
}

const char* CarSetupField(const CarRecord& car, int setupIndex) {
  return reinterpret_cast<const char*>(&car) + kCarFields[setupIndex].offset;
}

void CopyCarSetupToSheet(const CarRecord& car, SetupSheet& sheet) {
  for (int i = 1; i < kSetupFieldCount; ++i) {
    SetText(SetupField(sheet, i), SetupFieldCapacity(i), CarSetupField(car, i));
  }
}

bool ReadCarChooserEntries(std::vector<std::string>& entries) {
  entries.assign({std::string(), std::string(TXT_CAR_DATA_RESET)});
  std::string bytes;
  if (!ReadDatabase(kCarsFile, bytes)) return false;
  ForEachLine(bytes, [&](std::string_view line) {
    const std::string_view name = FirstField(line).substr(0, kCarNameCapacity - 1);
    if (!name.empty()) entries.emplace_back(name);
    return true;
  });
  return true;
}

CarLookup ApplyCarSetupFromFile(const char* carName, SetupSheet& sheet) {
  std::string bytes;
  if (!ReadDatabase(kCarsFile, bytes)) return CarLookup::kFileNotOpened;
  if (carName == nullptr || carName[0] == '\0') return CarLookup::kNotFound;
  CarRecord car;
  CarRecord found;
  bool any = false;
  ForEachLine(bytes, [&](std::string_view line) {
    ClearCar(car);
    ParseRecordLine(line, kCarFields, std::size(kCarFields), &car);
    if (car.name[0] != '\0' && SameText(car.name, carName)) {
      found = car;
      any = true;
    }
    return true;
  });
  if (!any) return CarLookup::kNotFound;
  CopyCarSetupToSheet(found, sheet);
  return CarLookup::kFound;
}

// --- Frequencies.

void ClearFrequencies(FrequencyTable& table) {
  std::memset(&table, 0, sizeof table);
}

void ParseFrequencies(std::string_view bytes, FrequencyTable& table) {
  ClearFrequencies(table);
  int i = 0;
  ForEachLine(bytes, [&](std::string_view line) {
    if (i >= kFrequencyTableCapacity) return false;
    const std::string_view text = FirstField(line);
    if (text.empty()) return true;
    SetFieldText(table.entries[i++], kFrequencyCapacity, text);
    return true;
  });
}

std::string FormatFrequencies(const FrequencyTable& table) {
  std::string out;
  for (const auto& entry : table.entries) {
    if (entry[0] == '\0') continue;
    AppendText(out, entry, kFrequencyCapacity);
    out += kLineEnd;
  }
  return out;
}

bool ReadFrequencies(FrequencyTable& table) {
  std::string bytes;
  if (!ReadDatabase(kFrequenciesFile, bytes)) return false;
  ParseFrequencies(bytes, table);
  return true;
}

bool WriteFrequencies(const FrequencyTable& table) {
  return WriteFileReplacing(kFrequenciesFile, FormatFrequencies(table));
}

void SortFrequencies(FrequencyTable& table) {
  const std::vector<int> order = SortedOrder(kFrequencyTableCapacity, kFrequencyCapacity,
                                             [&](int i) { return table.entries[i]; });
  const FrequencyTable copy = table;
  for (int k = 0; k < kFrequencyTableCapacity; ++k) {
    std::memcpy(table.entries[k], copy.entries[order[k]], kFrequencyCapacity);
  }
}

int CountFrequencies(const FrequencyTable& table) {
  int count = 0;
  while (count < kFrequencyTableCapacity && table.entries[count][0] != '\0') ++count;
  return count;
}

// --- Countries.

void ParseCountries(std::string_view bytes, std::vector<std::string>& names) {
  names.clear();
  ForEachLine(bytes, [&](std::string_view line) {
    if (names.size() >= size_t(kCountryCount)) return false;
    const std::string_view name = FirstField(line).substr(0, kCountryNameCapacity - 1);
    if (!name.empty()) names.emplace_back(name);
    return true;
  });
}

bool ReadCountries(std::vector<std::string>& names) {
  std::string bytes;
  if (!ReadDatabase(kCountriesFile, bytes)) return false;
  ParseCountries(bytes, names);
  return true;
}

}  // namespace zarvo
