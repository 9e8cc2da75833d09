// The database editors' rules, shared by the four editors: what is added and refused, removal,
// the detail fields bound to the selected record, pictures, and what "Ok" writes.
#include "databases/database_editors.h"

#include <cstdio>
#include <cstring>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {

namespace {

// Removed drivers the deletion question names one by one; the others are counted.
constexpr int kQuestionListedDrivers = 12;

// The name field of record i and its capacity.
char* NameField(DatabaseEditorModel& m, int i, size_t& capacity) {
  switch (m.kind) {
    case EditorKind::kCircuits:
      capacity = sizeof m.circuits.records[i].name;
      return m.circuits.records[i].name;
    case EditorKind::kFrequencies:
      capacity = sizeof m.frequencies.entries[i];
      return m.frequencies.entries[i];
    case EditorKind::kDrivers:
      capacity = sizeof m.drivers.records[i].name;
      return m.drivers.records[i].name;
    case EditorKind::kCars:
      capacity = sizeof m.cars.records[i].name;
      return m.cars.records[i].name;
  }
  capacity = 0;
  return nullptr;
}

const char* Name(const DatabaseEditorModel& m, int i) {
  size_t capacity = 0;
  return NameField(const_cast<DatabaseEditorModel&>(m), i, capacity);
}

void ClearRecord(DatabaseEditorModel& m, int i) {
  switch (m.kind) {
    case EditorKind::kCircuits:
      std::memset(&m.circuits.records[i], 0, sizeof m.circuits.records[i]);
      break;
    case EditorKind::kFrequencies:
      std::memset(m.frequencies.entries[i], 0, sizeof m.frequencies.entries[i]);
      break;
    case EditorKind::kDrivers:
      std::memset(&m.drivers.records[i], 0, sizeof m.drivers.records[i]);
      break;
    case EditorKind::kCars:
      ClearCar(m.cars.records[i]);
      break;
  }
}

// The used records: those before the first empty name, at most the list's capacity.
int CountEntries(const DatabaseEditorModel& m) {
  int n = 0;
  switch (m.kind) {
    case EditorKind::kCircuits:
      n = CountCircuits(m.circuits);
      break;
    case EditorKind::kFrequencies:
      n = CountFrequencies(m.frequencies);
      break;
    case EditorKind::kDrivers:
      n = CountDrivers(m.drivers);
      break;
    case EditorKind::kCars:
      n = CountCars(m.cars);
      break;
  }
  return n > EditorCapacity(m.kind) ? EditorCapacity(m.kind) : n;
}

// Sorts the table and counts the list's entries.
void SortAndCount(DatabaseEditorModel& m) {
  switch (m.kind) {
    case EditorKind::kCircuits:
      SortCircuits(m.circuits);
      break;
    case EditorKind::kFrequencies:
      SortFrequencies(m.frequencies);
      break;
    case EditorKind::kDrivers:
      SortDrivers(m.drivers);
      break;
    case EditorKind::kCars:
      SortCars(m.cars);
      break;
  }
  m.count = CountEntries(m);
}

const char* FileOf(EditorKind kind) {
  switch (kind) {
    case EditorKind::kCircuits:
      return kCircuitsFile;
    case EditorKind::kFrequencies:
      return kFrequenciesFile;
    case EditorKind::kDrivers:
      return kDriversFile;
    case EditorKind::kCars:
      return kCarsFile;
  }
  return kCircuitsFile;
}

void ShowWithFileName(MessageBoxes& boxes, const char* format, EditorKind kind) {
  char text[512];
  std::snprintf(text, sizeof text, format, FileOf(kind));
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
}

const char* FileNotFoundText(EditorKind kind, bool writing) {
  switch (kind) {
    case EditorKind::kCircuits:
      return TXT_CIRCUITS_FILE_NOT_FOUND;
    case EditorKind::kFrequencies:
      return writing ? TXT_FREQUENCIES_FILE_NOT_WRITTEN : TXT_FREQUENCIES_FILE_NOT_FOUND;
    case EditorKind::kDrivers:
      return TXT_DRIVERS_FILE_NOT_FOUND;
    case EditorKind::kCars:
      return TXT_CARS_FILE_NOT_FOUND;
  }
  return TXT_CIRCUITS_FILE_NOT_FOUND;
}

// Tabs, line ends and other control characters never reach a stored text: a box's text is
// taken up to its first line end, the rest become spaces, then it is cut to limit bytes.
std::string Sanitised(const char* boxText, int limit) {
  std::string out;
  if (boxText == nullptr) return out;
  for (const char* p = boxText; *p != '\0' && *p != '\r' && *p != '\n'; ++p) {
    if (static_cast<int>(out.size()) >= limit) break;
    out += static_cast<unsigned char>(*p) < 0x20 ? ' ' : *p;
  }
  return out;
}

std::vector<EditorField> MakeCarFields() {
  std::vector<EditorField> fields;
  for (int i = 1; i < kSetupFieldCount; ++i) {
    fields.push_back({IDC_CARS_NAME + i, FieldKind::kText, SetupFieldCapacity(i) - 2});
  }
  return fields;
}

const EditorField* FindField(EditorKind kind, int controlId) {
  for (const EditorField& f : EditorFields(kind)) {
    if (f.controlId == controlId) return &f;
  }
  return nullptr;
}

// The text a detail control is bound to in record i, with its capacity.
char* FieldStorage(DatabaseEditorModel& m, int i, int controlId, size_t& capacity) {
#define ZARVO_FIELD(array)  \
  capacity = sizeof(array); \
  return array
  if (m.kind == EditorKind::kCircuits) {
    CircuitRecord& c = m.circuits.records[i];
    switch (controlId) {
      case IDC_CIRCUITS_LENGTH:
        ZARVO_FIELD(c.length);
      case IDC_CIRCUITS_RECORD:
        ZARVO_FIELD(c.recordLapText);
      case IDC_CIRCUITS_RECORD_HOLDER:
        ZARVO_FIELD(c.recordHolder);
      case IDC_CIRCUITS_MINIMUM_LAP:
        ZARVO_FIELD(c.minimumLapTime);
      case IDC_CIRCUITS_LOCATION:
        ZARVO_FIELD(c.location);
      default:
        break;
    }
  } else if (m.kind == EditorKind::kDrivers) {
    DriverRecord& d = m.drivers.records[i];
    switch (controlId) {
      case IDC_DRIVERS_ADDRESS:
        ZARVO_FIELD(d.address);
      case IDC_DRIVERS_ADDRESS2:
        ZARVO_FIELD(d.address2);
      case IDC_DRIVERS_ZIP_CODE:
        ZARVO_FIELD(d.zipCode);
      case IDC_DRIVERS_LOCATION:
        ZARVO_FIELD(d.location);
      case IDC_DRIVERS_COUNTRY:
        ZARVO_FIELD(d.country);
      case IDC_DRIVERS_PHONE:
        ZARVO_FIELD(d.phone);
      case IDC_DRIVERS_EMAIL:
        ZARVO_FIELD(d.email);
      case IDC_DRIVERS_BIRTHDAY:
        ZARVO_FIELD(d.birthday);
      case IDC_DRIVERS_LICENCE:
        ZARVO_FIELD(d.licenceNumber);
      case IDC_DRIVERS_TRANSPONDER:
        ZARVO_FIELD(d.transponder);
      default:
        break;
    }
  } else if (m.kind == EditorKind::kCars && controlId >= IDC_CARS_SETUP_FIRST &&
             controlId <= IDC_CARS_SETUP_LAST) {
    const int index = controlId - IDC_CARS_NAME;
    capacity = static_cast<size_t>(SetupFieldCapacity(index));
    return CarSetupField(m.cars.records[i], index);
  }
#undef ZARVO_FIELD
  capacity = 0;
  return nullptr;
}

// The runs stored in a driver's runs database; 0 when it cannot be read.
int StoredRuns(const char* driverName) {
  const std::string path = RunsDatabasePath(driverName);
  if (path.empty()) return 0;
  RunsListing listing;
  if (ListRuns(path.c_str(), listing) != RunsFileResult::kDone) return 0;
  return listing.entries.empty() ? 0 : static_cast<int>(listing.entries.size()) - 1;
}

// Whether a driver's runs database is still named by the table, or was there at opening: names
// are compared as the file system compares file names, since "Éric" and "éric" (a pair an older
// file may hold) share one file, which must not be deleted while one of them remains.
bool InTable(const DriverTable& table, const char* name) {
  for (const DriverRecord& d : table.records) {
    if (d.name[0] != '\0' && SameFileName(d.name, name)) return true;
  }
  return false;
}

bool ReadAtOpening(const DriverNameList& names, const char* name) {
  for (const auto& n : names.names) {
    if (n[0] != '\0' && SameFileName(n, name)) return true;
  }
  return false;
}

// The drivers editor's "Ok" on the runs databases, once the drivers file is written.
void KeepRunsDatabasesInStep(const DatabaseEditorModel& m, MessageBoxes& boxes) {
  std::vector<const char*> removed;
  std::vector<int> runs;
  for (const auto& name : m.namesAtOpening.names) {
    if (name[0] == '\0' || InTable(m.drivers, name)) continue;
    removed.push_back(name);
    runs.push_back(StoredRuns(name));
  }
  std::string listed;
  int holding = 0;
  for (size_t k = 0; k < removed.size(); ++k) {
    if (runs[k] == 0) continue;
    if (++holding > kQuestionListedDrivers) continue;
    char line[128];
    std::snprintf(line, sizeof line, TXT_RUNS_DATABASE_LINE, removed[k], runs[k]);
    listed += line;
  }
  bool deleteHolding = true;
  if (holding > 0) {
    if (holding > kQuestionListedDrivers) {
      char more[64];
      std::snprintf(more, sizeof more, TXT_RUNS_DATABASE_MORE, holding - kQuestionListedDrivers);
      listed += more;
    }
    std::string text(std::strlen(TXT_DELETE_RUNS_DATABASES_QUESTION) + listed.size(), '\0');
    const int n = std::snprintf(text.data(), text.size() + 1, TXT_DELETE_RUNS_DATABASES_QUESTION,
                                listed.c_str());
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    deleteHolding =
        boxes.Ask(TXT_CAPTION_QUESTION, text.c_str(), QuestionButtons::kYesNo) == Answer::kYes;
  }
  for (size_t k = 0; k < removed.size(); ++k) {
    if (runs[k] > 0 && !deleteHolding) continue;
    RemoveRunsDatabase(removed[k]);
  }
  for (const DriverRecord& d : m.drivers.records) {
    if (d.name[0] == '\0' || ReadAtOpening(m.namesAtOpening, d.name)) continue;
    if (!CreateRunsDatabase(d.name)) {
      boxes.Show(TXT_CAPTION_ERROR, TXT_RUNS_FILE_NOT_CREATED, MessageIcon::kError);
    }
  }
}

}  // namespace

int NewNameLimit(EditorKind kind) {
  switch (kind) {
    case EditorKind::kCircuits:
    case EditorKind::kDrivers:
      return 38;
    case EditorKind::kCars:
      return 28;
    case EditorKind::kFrequencies:
      return 6;
  }
  return 0;
}

int EditorCapacity(EditorKind kind) {
  switch (kind) {
    case EditorKind::kCircuits:
      return kCircuitCapacity;
    case EditorKind::kFrequencies:
      return kFrequencyTableCapacity;
    case EditorKind::kDrivers:
      return kDriverCapacity;
    case EditorKind::kCars:
      return kCarCapacity;
  }
  return 0;
}

const std::vector<EditorField>& EditorFields(EditorKind kind) {
  static const std::vector<EditorField> circuits = {
      {IDC_CIRCUITS_LENGTH, FieldKind::kDigits, 4},
      {IDC_CIRCUITS_RECORD, FieldKind::kReadOnly, 0},
      {IDC_CIRCUITS_RECORD_HOLDER, FieldKind::kReadOnly, 0},
      {IDC_CIRCUITS_MINIMUM_LAP, FieldKind::kDigits, 3},
      {IDC_CIRCUITS_LOCATION, FieldKind::kText, 38},
  };
  static const std::vector<EditorField> drivers = {
      {IDC_DRIVERS_ADDRESS, FieldKind::kText, 38},
      {IDC_DRIVERS_ADDRESS2, FieldKind::kText, 38},
      {IDC_DRIVERS_ZIP_CODE, FieldKind::kText, 13},
      {IDC_DRIVERS_LOCATION, FieldKind::kText, 38},
      {IDC_DRIVERS_COUNTRY, FieldKind::kCountry, kCountryNameCapacity - 1},
      {IDC_DRIVERS_PHONE, FieldKind::kText, 18},
      {IDC_DRIVERS_EMAIL, FieldKind::kText, 38},
      {IDC_DRIVERS_LICENCE, FieldKind::kText, 18},
      {IDC_DRIVERS_BIRTHDAY, FieldKind::kText, 18},
      {IDC_DRIVERS_TRANSPONDER, FieldKind::kTransponder, 6},
  };
  static const std::vector<EditorField> cars = MakeCarFields();
  static const std::vector<EditorField> none;
  switch (kind) {
    case EditorKind::kCircuits:
      return circuits;
    case EditorKind::kDrivers:
      return drivers;
    case EditorKind::kCars:
      return cars;
    case EditorKind::kFrequencies:
      break;
  }
  return none;
}

PictureArea EditorPicture(EditorKind kind) {
  switch (kind) {
    case EditorKind::kCircuits:
      return {true, 541, 51, 217, 148, 541, 51, 754, 199};
    case EditorKind::kDrivers:
      return {true, 541, 31, 217, 148, 541, 31, 754, 179};
    case EditorKind::kCars:
      return {true, 361, 70, 278, 170, 361, 61, 639, 239};
    case EditorKind::kFrequencies:
      break;
  }
  return {false, 0, 0, 0, 0, 0, 0, -1, -1};
}

bool InPictureArea(EditorKind kind, int x, int y) {
  const PictureArea a = EditorPicture(kind);
  return a.present && x >= a.hitLeft && x <= a.hitRight && y >= a.hitTop && y <= a.hitBottom;
}

void OpenEditor(DatabaseEditorModel& m, EditorKind kind, MessageBoxes& boxes) {
  m.kind = kind;
  m.folderAtOpening = CurrentFolder();
  m.countries.clear();
  std::memset(&m.namesAtOpening, 0, sizeof m.namesAtOpening);
  bool read = false;
  switch (kind) {
    case EditorKind::kCircuits:
      ClearCircuits(m.circuits);
      read = ReadCircuits(m.circuits);
      break;
    case EditorKind::kFrequencies:
      ClearFrequencies(m.frequencies);
      read = ReadFrequencies(m.frequencies);
      break;
    case EditorKind::kDrivers:
      if (!ReadCountries(m.countries)) {
        boxes.Show(TXT_CAPTION_ERROR, TXT_COUNTRIES_FILE_NOT_FOUND, MessageIcon::kError);
      }
      ClearDrivers(m.drivers);
      read = ReadDrivers(m.drivers);
      break;
    case EditorKind::kCars:
      ClearCars(m.cars);
      read = ReadCars(m.cars);
      break;
  }
  // A missing file is created by "Ok"; one that is there but could not be read is never
  // replaced by the empty table the editor then shows.
  m.fileUnreadable = !read && PathExists(FileOf(kind));
  if (m.fileUnreadable) {
    ShowWithFileName(boxes, TXT_DATABASE_FILE_UNREADABLE, kind);
  } else if (!read) {
    boxes.Show(TXT_CAPTION_ERROR, FileNotFoundText(kind, false), MessageIcon::kError);
  }
  // The list shows the file's order (the editors write it sorted); the next change sorts it.
  m.count = CountEntries(m);
  if (kind == EditorKind::kDrivers) {
    for (int i = 0; i < kDriverCapacity; ++i) {
      SetText(m.namesAtOpening.names[i], m.drivers.records[i].name);
    }
  }
  m.selected = m.count > 0 ? 0 : -1;
}

const char* EntryName(const DatabaseEditorModel& m, int position) {
  if (position < 0 || position >= m.count) return "";
  return Name(m, position);
}

std::string SelectionNumberText(const DatabaseEditorModel& m) {
  return m.selected >= 0 ? std::to_string(m.selected + 1) : std::string();
}

void SelectEntry(DatabaseEditorModel& m, int position) {
  if (position >= 0 && position < m.count) m.selected = position;
}

std::string NewNameFromBox(EditorKind kind, const char* boxText) {
  return Sanitised(boxText, NewNameLimit(kind));
}

AddResult AddEntry(DatabaseEditorModel& m, const char* boxText, MessageBoxes& boxes) {
  const std::string name = NewNameFromBox(m.kind, boxText);
  if (name.empty()) return AddResult::kNothing;
  if (m.kind == EditorKind::kDrivers) {
    const DriverNameProblem problem = CheckDriverName(name.c_str());
    if (problem != DriverNameProblem::kNone) {
      const char* text = DriverNameProblemText(problem);
      if (text != nullptr) boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
      return AddResult::kNothing;
    }
    for (int i = 0; i < m.count; ++i) {
      // Two names that make one runs database file ("Éric", "éric") are one driver.
      if (SameFileName(Name(m, i), name)) return AddResult::kNothing;
    }
  } else {
    if (name[0] == ' ') return AddResult::kNothing;
    if (m.kind == EditorKind::kFrequencies && name.size() != 6) return AddResult::kNothing;
    for (int i = 0; i < m.count; ++i) {
      if (SameText(Name(m, i), name.c_str())) return AddResult::kNothing;
    }
  }
  if (m.count >= EditorCapacity(m.kind)) return AddResult::kNothing;

  const int record = m.count;  // the first free record: the used ones come first
  ClearRecord(m, record);
  size_t capacity = 0;
  char* field = NameField(m, record, capacity);
  SetText(field, capacity, name.c_str());
  SortAndCount(m);
  // Equal sort keys put the higher record first, so the first exact match is the new entry.
  m.selected = 0;
  for (int i = 0; i < m.count; ++i) {
    if (SameText(Name(m, i), name.c_str())) {
      m.selected = i;
      break;
    }
  }
  return AddResult::kAdded;
}

AddResult RemoveEntry(DatabaseEditorModel& m, int position, const char* boxText,
                      MessageBoxes& boxes) {
  if (position < 0 || position >= m.count) return AddResult::kNothing;
  const std::string name = Name(m, position);
  const int size = m.kind == EditorKind::kCircuits ? kCircuitCapacity : EditorCapacity(m.kind);
  for (int i = 0; i < size; ++i) {
    if (SameText(Name(m, i), name.c_str())) ClearRecord(m, i);
  }
  SortAndCount(m);
  m.selected = m.count > 0 ? 0 : -1;
  return AddEntry(m, boxText, boxes);
}

std::string FieldText(const DatabaseEditorModel& m, int controlId) {
  if (m.selected < 0) return std::string();
  size_t capacity = 0;
  const char* text =
      FieldStorage(const_cast<DatabaseEditorModel&>(m), m.selected, controlId, capacity);
  if (text == nullptr) return std::string();
  return std::string(text, strnlen(text, capacity));
}

void FieldTyped(DatabaseEditorModel& m, int controlId, const char* boxText) {
  const EditorField* field = FindField(m.kind, controlId);
  if (m.selected < 0 || field == nullptr || field->kind == FieldKind::kReadOnly) return;
  size_t capacity = 0;
  char* storage = FieldStorage(m, m.selected, controlId, capacity);
  if (storage == nullptr) return;
  std::string text = Sanitised(boxText, field->limit);
  switch (field->kind) {
    case FieldKind::kDigits: {
      std::string digits;
      for (char c : text) {
        if (c >= '0' && c <= '9') digits += c;
      }
      text = digits;
      break;
    }
    case FieldKind::kTransponder:
      if (text.size() != 6) return;
      for (char c : text) {
        if (c < '0' || c > '9') return;
      }
      break;
    case FieldKind::kText:
    case FieldKind::kCountry:
    case FieldKind::kReadOnly:
      break;
  }
  SetText(storage, capacity, text.c_str());
}

void ClearRecordLap(DatabaseEditorModel& m) {
  if (m.kind != EditorKind::kCircuits || m.selected < 0) return;
  CircuitRecord& c = m.circuits.records[m.selected];
  ClearText(c.recordLapText);
  ClearText(c.recordHolder);
  c.recordLap = 0;
  std::memset(c.hidden, 0, sizeof c.hidden);
}

const char* ImagePath(const DatabaseEditorModel& m) {
  if (m.selected < 0) return "";
  switch (m.kind) {
    case EditorKind::kCircuits:
      return m.circuits.records[m.selected].imagePath;
    case EditorKind::kDrivers:
      return m.drivers.records[m.selected].photoPath;
    case EditorKind::kCars:
      return m.cars.records[m.selected].imagePath;
    case EditorKind::kFrequencies:
      break;
  }
  return "";
}

void SetImagePath(DatabaseEditorModel& m, const char* path) {
  if (m.selected < 0) return;
  const std::string text = Sanitised(path, kImagePathCapacity - 1);
  switch (m.kind) {
    case EditorKind::kCircuits:
      SetText(m.circuits.records[m.selected].imagePath, text.c_str());
      break;
    case EditorKind::kDrivers:
      SetText(m.drivers.records[m.selected].photoPath, text.c_str());
      break;
    case EditorKind::kCars:
      SetText(m.cars.records[m.selected].imagePath, text.c_str());
      break;
    case EditorKind::kFrequencies:
      break;
  }
}

bool PictureChosen(DatabaseEditorModel& m, const std::string& chosen, MessageBoxes& boxes) {
  if (m.selected < 0) return false;
  const std::string stored = PicturePathToStore(chosen, boxes);
  if (stored.empty()) return false;
  SetImagePath(m, stored.c_str());
  return true;
}

void RestoreFolder(const DatabaseEditorModel& m) {
  if (!m.folderAtOpening.empty()) SetCurrentFolder(m.folderAtOpening.c_str());
}

bool ConfirmEditor(DatabaseEditorModel& m, MessageBoxes& boxes) {
  RestoreFolder(m);
  if (m.fileUnreadable) {
    ShowWithFileName(boxes, TXT_DATABASE_FILE_KEPT, m.kind);
    return false;
  }
  bool written = false;
  switch (m.kind) {
    case EditorKind::kCircuits:
      written = WriteCircuits(m.circuits);
      break;
    case EditorKind::kFrequencies:
      written = WriteFrequencies(m.frequencies);
      break;
    case EditorKind::kDrivers:
      written = WriteDrivers(m.drivers);
      break;
    case EditorKind::kCars:
      written = WriteCars(m.cars);
      break;
  }
  if (!written) {
    boxes.Show(TXT_CAPTION_ERROR, FileNotFoundText(m.kind, true), MessageIcon::kError);
    return false;
  }
  if (m.kind == EditorKind::kDrivers) KeepRunsDatabasesInStep(m, boxes);
  return true;
}

}  // namespace zarvo
