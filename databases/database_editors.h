// The four database editors (circuits "BASECIRCUITS", frequencies "BASEFREQUENCIES", drivers
// "BASEPILOTES", cars "BASEVOITURES") as one pattern without their controls: a "New" box with
// "Add", the sorted list with "Remove", the number of the selected entry, detail fields bound to
// the selected record, pictures, and "Ok" that writes the file (and, for the drivers, keeps the
// runs databases in step). The Win32 procedure (databases/database_editor_win32.cpp) only moves
// data between its controls and this model.
//
// List position i is table record i: the table is kept sorted after every change, so the list
// is always alphabetical.
#pragma once

#include <string>
#include <vector>

#include "databases/database_records.h"
#include "databases/editor_pictures.h"
#include "platform/message_boxes.h"

namespace zarvo {

enum class EditorKind { kCircuits, kFrequencies, kDrivers, kCars };

// Characters the "New" box accepts, and how many entries the list holds.
int NewNameLimit(EditorKind kind);    // 38 circuits and drivers, 28 cars, 6 frequencies
int EditorCapacity(EditorKind kind);  // 20, 100, 300, 300

// What a detail box is bound to.
enum class FieldKind {
  kText,         // any text: stored as typed (tabs and line ends become spaces)
  kDigits,       // digits: anything else is dropped from what is stored
  kReadOnly,     // shown, never typed into (the circuit's record)
  kTransponder,  // stored only when the box holds exactly six digits
  kCountry,      // a drop-down list of the countries: the chosen entry is stored
};

struct EditorField {
  int controlId;
  FieldKind kind;
  int limit;  // characters the box accepts (0: read-only)
};

// The detail fields of an editor (none for the frequencies). For the cars: the 48 setup fields,
// controls 3207 to 3254 in the order of the setup sheet, each limited to its capacity - 2.
const std::vector<EditorField>& EditorFields(EditorKind kind);

// The picture of the selected record, in dialog client pixels: the bitmap is drawn scaled into
// draw; a double-click inside hit chooses or clears it. None for the frequencies.
struct PictureArea {
  bool present;
  int x, y, width, height;                   // where the bitmap is drawn
  int hitLeft, hitTop, hitRight, hitBottom;  // inclusive
};
PictureArea EditorPicture(EditorKind kind);
bool InPictureArea(EditorKind kind, int x, int y);

struct DatabaseEditorModel {
  EditorKind kind = EditorKind::kCircuits;
  // Only the table of the editor's kind is used.
  CircuitTable circuits;
  DriverTable drivers;
  CarTable cars;
  FrequencyTable frequencies;
  // Drivers: the names of the drivers file as read at opening, and the country list.
  DriverNameList namesAtOpening;
  std::vector<std::string> countries;
  // The current folder when the editor opened (the program folder): the picture's file dialog
  // may change it, the files are written relative to it.
  std::string folderAtOpening;
  // The editor's file is there but could not be read: "Ok" writes nothing over it.
  bool fileUnreadable = false;
  int count = 0;      // entries of the list
  int selected = -1;  // list position of the selected entry; -1 when the list is empty
};

// Opening: reads the editor's file (and, for the drivers, the countries first); a missing file
// shows its message and leaves an empty list that "Ok" writes; a file that is there but cannot be
// read (TXT_DATABASE_FILE_UNREADABLE) leaves an empty list too, and is then never written over.
// Selects the first entry.
void OpenEditor(DatabaseEditorModel& model, EditorKind kind, MessageBoxes& boxes);

// The name shown at a list position; the number box's text for the selection ("1" for the first,
// empty when the list is empty).
const char* EntryName(const DatabaseEditorModel& model, int position);
std::string SelectionNumberText(const DatabaseEditorModel& model);
void SelectEntry(DatabaseEditorModel& model, int position);

// The name a "New" box text stands for: the box's first line, each tab or other control
// character turned into a space, cut to the box's limit. A file line or a section key can never
// receive a tab or a line end from a paste.
std::string NewNameFromBox(EditorKind kind, const char* boxText);

// "Add" with the "New" box's text. Checks, in this order: empty or beginning with a space
// (nothing; the drivers editor shows its message for the space); circuits and cars: an existing
// name, exactly; frequencies: not exactly six characters, or an existing entry; drivers: the
// driver name rules with their messages (databases/driver_names.h), then an existing name
// ignoring case as the file system does (platform/file_names.h: "Éric" is "éric"); then a full
// list. All refusals are silent but the drivers' rules.
// When added: the name is stored in the first free record with every other field empty, the
// table sorted, and the new entry selected; the "New" box must then be emptied.
enum class AddResult { kNothing, kAdded };
AddResult AddEntry(DatabaseEditorModel& model, const char* boxText, MessageBoxes& boxes);

// "Remove" with the entry at position selected in the list: every record of that exact name is
// cleared, the table sorted, the first entry selected, then "Add" runs with the "New" box's text
// (the result says whether it added, and so whether the box must be emptied). Nothing when the
// position is not an entry.
AddResult RemoveEntry(DatabaseEditorModel& model, int position, const char* boxText,
                      MessageBoxes& boxes);

// What a detail box shows for the selected record, and what typing into it stores there
// (nothing when the list is empty).
std::string FieldText(const DatabaseEditorModel& model, int controlId);
void FieldTyped(DatabaseEditorModel& model, int controlId, const char* boxText);

// Circuits' "Clear": the record lap text, its holder, the record lap and its hidden values.
void ClearRecordLap(DatabaseEditorModel& model);

// The selected record's picture path (empty when none or the list is empty).
const char* ImagePath(const DatabaseEditorModel& model);
void SetImagePath(DatabaseEditorModel& model, const char* path);  // cut to 259 bytes

// The picture chosen for the selected record (nothing when the list is empty or no path can be
// stored); true when its path was set.
bool PictureChosen(DatabaseEditorModel& model, const std::string& chosen, MessageBoxes& boxes);

// Makes the folder of the opening the current folder again (the file dialog may have changed
// it); "Ok" does it before writing, the dialog when it closes.
void RestoreFolder(const DatabaseEditorModel& model);

// "Ok": writes the editor's file with the list's entries; a failure shows the editor's message
// (the old file stays). A file that could not be read at opening is not written
// (TXT_DATABASE_FILE_KEPT), nor are the runs databases touched. The drivers editor then keeps the
// runs databases in step: it deletes the database of every driver read at opening who is no longer
// in the list and creates one for every new driver (a file that exists already is kept as it is). A
// removed name whose file another name of the list still names ("Éric" removed, "éric" kept) keeps
// its file. Databases that hold runs are deleted only after one question naming them with their run
// counts; "No" keeps those files. After a failed write no runs database is touched: the drivers
// file still names them. False when the file could not be written.
bool ConfirmEditor(DatabaseEditorModel& model, MessageBoxes& boxes);

}  // namespace zarvo
