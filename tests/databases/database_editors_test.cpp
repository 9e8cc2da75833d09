// The database editors' rules: adding and its refusals in their order, removal, the bound detail
// fields, pictures, what "Ok" writes, and the drivers editor's runs databases.
#include "databases/database_editors.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteBytes;

struct Editor {
  explicit Editor(EditorKind kind, const char* fileBytes = nullptr) {
    const char* files[] = {kCircuitsFile, kFrequenciesFile, kDriversFile, kCarsFile};
    if (fileBytes != nullptr) WriteBytes(files[static_cast<int>(kind)], fileBytes);
    WriteBytes(kCountriesFile, "Allemagne\r\nBelgique\r\nFrance\r\n");
    OpenEditor(*model, kind, boxes);
    boxes.shown.clear();  // a missing file's message (tested on its own)
  }
  AddResult Add(const char* text) { return AddEntry(*model, text, boxes); }
  std::string Names() const {
    std::string out;
    for (int i = 0; i < model->count; ++i) out += std::string(i ? "|" : "") + EntryName(*model, i);
    return out;
  }
  std::unique_ptr<DatabaseEditorModel> model = std::make_unique<DatabaseEditorModel>();
  RecordingMessageBoxes boxes;
};

// --- Adding.

TEST(EditorAdd, ExactDuplicatesForCircuitsAndCarsCaseInsensitiveForDrivers) {
  TempFolder folder;
  Editor circuits(EditorKind::kCircuits);
  EXPECT_EQ(circuits.Add("Alpha"), AddResult::kAdded);
  EXPECT_EQ(circuits.Add("alpha"), AddResult::kAdded);
  EXPECT_EQ(circuits.Add("Alpha"), AddResult::kNothing);
  // Equal sort keys: the record added last comes first, and is the one selected.
  EXPECT_EQ(circuits.Names(), "alpha|Alpha");
  EXPECT_EQ(circuits.model->selected, 0);

  Editor cars(EditorKind::kCars);
  EXPECT_EQ(cars.Add("Alpha"), AddResult::kAdded);
  EXPECT_EQ(cars.Add("alpha"), AddResult::kAdded);
  EXPECT_EQ(cars.model->count, 2);

  Editor drivers(EditorKind::kDrivers);
  EXPECT_EQ(drivers.Add("Alpha"), AddResult::kAdded);
  EXPECT_EQ(drivers.Add("alpha"), AddResult::kNothing);
  EXPECT_EQ(drivers.Add("ALPHA"), AddResult::kNothing);
  // Accented letters too: "Éric" and "éric" would be one runs database file.
  EXPECT_EQ(drivers.Add("Éric"), AddResult::kAdded);
  EXPECT_EQ(drivers.Add("éric"), AddResult::kNothing);
  EXPECT_EQ(drivers.Add("ÉRIC"), AddResult::kNothing);
  EXPECT_EQ(drivers.Add("Œdipe"), AddResult::kAdded);
  EXPECT_EQ(drivers.Add("œdipe"), AddResult::kNothing);
  EXPECT_EQ(drivers.Add("Eric"), AddResult::kAdded);    // another name, another file
  EXPECT_EQ(drivers.Names(), "Alpha|Eric|Œdipe|Éric");  // byte order: Œ is 0x8C, É 0xC9
  EXPECT_TRUE(drivers.boxes.shown.size() == 0u) << "duplicates are refused silently";
}

TEST(EditorAdd, NewEntrySelectedAtItsSortedPlaceWithEmptyDetails) {
  TempFolder folder;
  Editor e(EditorKind::kCircuits, "Mornay\t320\t\t0\t\t3\tLyon\t\t\r\nZeta\t\t\t0\t\t\t\t\t\r\n");
  ASSERT_EQ(e.Add("bravo"), AddResult::kAdded);
  EXPECT_EQ(e.Names(), "bravo|Mornay|Zeta");
  EXPECT_EQ(e.model->selected, 0);
  EXPECT_EQ(SelectionNumberText(*e.model), "1");
  EXPECT_EQ(FieldText(*e.model, IDC_CIRCUITS_LOCATION), "");
  SelectEntry(*e.model, 1);
  EXPECT_EQ(FieldText(*e.model, IDC_CIRCUITS_LOCATION), "Lyon");
  EXPECT_EQ(SelectionNumberText(*e.model), "2");
}

TEST(EditorAdd, EmptyOrLeadingSpaceIsIgnoredSilentlyButForDrivers) {
  TempFolder folder;
  Editor circuits(EditorKind::kCircuits);
  EXPECT_EQ(circuits.Add(""), AddResult::kNothing);
  EXPECT_EQ(circuits.Add(" Alpha"), AddResult::kNothing);
  EXPECT_TRUE(circuits.boxes.shown.empty());
  EXPECT_EQ(circuits.model->count, 0);

  Editor drivers(EditorKind::kDrivers);
  EXPECT_EQ(drivers.Add(""), AddResult::kNothing);
  EXPECT_TRUE(drivers.boxes.shown.empty());
  EXPECT_EQ(drivers.Add(" Bob"), AddResult::kNothing);
  ASSERT_EQ(drivers.boxes.shown.size(), 1u);
  EXPECT_EQ(drivers.boxes.shown[0].text, TXT_DRIVER_NAME_LEADING_SPACE);
}

TEST(EditorAdd, FullListsRefuseSilently) {
  TempFolder folder;
  struct Case {
    EditorKind kind;
    int capacity;
  };
  for (Case c : {Case{EditorKind::kCircuits, 20}, Case{EditorKind::kFrequencies, 100},
                 Case{EditorKind::kDrivers, 300}, Case{EditorKind::kCars, 300}}) {
    Editor e(c.kind);
    for (int i = 0; i < c.capacity; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%06d", i);
      ASSERT_EQ(e.Add(name), AddResult::kAdded) << name;
    }
    EXPECT_EQ(e.Add("999999"), AddResult::kNothing);
    EXPECT_EQ(e.model->count, c.capacity);
    EXPECT_TRUE(e.boxes.shown.empty());
  }
}

TEST(EditorAdd, FrequencyNeedsExactlySixCharacters) {
  TempFolder folder;
  Editor e(EditorKind::kFrequencies);
  EXPECT_EQ(e.Add("27.14"), AddResult::kNothing);
  EXPECT_EQ(e.Add("2.4Ghz"), AddResult::kAdded);
  EXPECT_EQ(e.Add("2.4Ghz"), AddResult::kNothing);
  EXPECT_EQ(e.Add("27.145"), AddResult::kAdded);
  // A longer paste is cut as the box cuts it.
  EXPECT_EQ(e.Add("40.6851"), AddResult::kAdded);
  EXPECT_EQ(e.Names(), "2.4Ghz|27.145|40.685");
  EXPECT_TRUE(e.boxes.shown.empty());
}

// Each driver-name rule, in order, with its message; the name is not added.
TEST(EditorAdd, DriverNameRulesInTheirOrderWithTheirMessages) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers);
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {" Session (NA) a/b", TXT_DRIVER_NAME_LEADING_SPACE},
      {"Session (NA) a/b", TXT_DRIVER_NAME_FORBIDDEN_CHARACTER},
      {"a\\b", TXT_DRIVER_NAME_FORBIDDEN_CHARACTER},
      {"a|b", TXT_DRIVER_NAME_FORBIDDEN_CHARACTER},
      {"Le \"Rapide\"", TXT_DRIVER_NAME_FORBIDDEN_CHARACTER},
      {"Session (NA)", TXT_DRIVER_NAME_NO_DRIVER_WORD},
      {"MySession", TXT_DRIVER_NAME_SESSION_WORD},
  };
  for (const Case& c : cases) {
    e.boxes.shown.clear();
    EXPECT_EQ(e.Add(c.name), AddResult::kNothing) << c.name;
    ASSERT_EQ(e.boxes.shown.size(), 1u) << c.name;
    EXPECT_EQ(e.boxes.shown[0].caption, TXT_CAPTION_ERROR);
    EXPECT_EQ(e.boxes.shown[0].text, c.message) << c.name;
  }
  EXPECT_EQ(e.model->count, 0);
  // "session" in lower case is a name like any other.
  EXPECT_EQ(e.Add("session"), AddResult::kAdded);
#if defined(ZARVO_EDITION_FR)
  EXPECT_STREQ(TXT_DRIVER_NAME_SESSION_WORD,
               "Erreur: le nom saisi ne doit pas contenir le mot 'Session'");
  EXPECT_STREQ(TXT_DRIVER_NAME_LEADING_SPACE,
               "Erreur: le premier caract\xE8re saisi ne doit pas \xEAtre un 'espace'");
#else
  EXPECT_STREQ(TXT_DRIVER_NAME_SESSION_WORD,
               "Error: the name entered must not contain the word 'Session'");
  EXPECT_STREQ(TXT_DRIVER_NAME_FORBIDDEN_CHARACTER,
               "Error: the name entered must not contain one of the 9 following special "
               "characters :\n \\ / : * ? '' < > |");
#endif
}

TEST(EditorAdd, PastedTabsLineEndsAndLengthNeverReachTheFile) {
  TempFolder folder;
  EXPECT_EQ(NewNameFromBox(EditorKind::kCircuits, "Mor\tnay\r\nsecond line"), "Mor nay");
  EXPECT_EQ(NewNameFromBox(EditorKind::kCars, std::string(40, 'c').c_str()), std::string(28, 'c'));
  EXPECT_EQ(NewNameFromBox(EditorKind::kDrivers, std::string(50, 'd').c_str()),
            std::string(38, 'd'));
  Editor e(EditorKind::kCircuits);
  ASSERT_EQ(e.Add("Mor\tnay\nX"), AddResult::kAdded);
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(ReadBytes(kCircuitsFile), "Mor nay\t\t\t0\t\t\t\t\t\r\n");
  // A pasted tab becomes a space, so a driver whose name then begins with one gets its message.
  Editor d(EditorKind::kDrivers);
  EXPECT_EQ(d.Add("\tBob"), AddResult::kNothing);
  ASSERT_EQ(d.boxes.shown.size(), 1u);
  EXPECT_EQ(d.boxes.shown[0].text, TXT_DRIVER_NAME_LEADING_SPACE);
}

// --- Removing.

TEST(EditorRemove, RemovesThatNameSelectsTheFirstThenAddsWhatTheNewBoxHolds) {
  TempFolder folder;
  Editor e(EditorKind::kFrequencies, "27.145\r\n40.685\r\n41.000\r\n");
  EXPECT_EQ(RemoveEntry(*e.model, 1, "", e.boxes), AddResult::kNothing);
  EXPECT_EQ(e.Names(), "27.145|41.000");
  EXPECT_EQ(e.model->selected, 0);
  EXPECT_EQ(RemoveEntry(*e.model, 0, "35.050", e.boxes), AddResult::kAdded);
  EXPECT_EQ(e.Names(), "35.050|41.000");
  EXPECT_EQ(RemoveEntry(*e.model, 5, "", e.boxes), AddResult::kNothing);
  EXPECT_EQ(e.model->count, 2);
}

TEST(EditorRemove, TheOnlyEntryLeavesAnEmptyListAndOkWritesAnEmptyFile) {
  TempFolder folder;
  Editor e(EditorKind::kCars, "Buggy\t\r\n");
  ASSERT_EQ(e.model->count, 1);
  RemoveEntry(*e.model, 0, "", e.boxes);
  EXPECT_EQ(e.model->count, 0);
  EXPECT_EQ(e.model->selected, -1);
  EXPECT_EQ(SelectionNumberText(*e.model), "");
  FieldTyped(*e.model, IDC_CARS_SETUP_FIRST, "ignored");  // nothing selected: nothing stored
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(ReadBytes(kCarsFile), "");
}

// --- Detail fields.

TEST(EditorFields, TransponderStoredOnlyWithSixDigits) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers, "Anna\t\t\t\t\t\t\t\t\t\t000123\t\t\t\r\n");
  FieldTyped(*e.model, IDC_DRIVERS_TRANSPONDER, "45678");
  EXPECT_EQ(FieldText(*e.model, IDC_DRIVERS_TRANSPONDER), "000123");
  FieldTyped(*e.model, IDC_DRIVERS_TRANSPONDER, "456789");
  EXPECT_EQ(FieldText(*e.model, IDC_DRIVERS_TRANSPONDER), "456789");
  FieldTyped(*e.model, IDC_DRIVERS_TRANSPONDER, "");
  FieldTyped(*e.model, IDC_DRIVERS_TRANSPONDER, "12a456");
  EXPECT_EQ(FieldText(*e.model, IDC_DRIVERS_TRANSPONDER), "456789");
}

TEST(EditorFields, EveryKeystrokeStoresIntoTheSelectedRecordWithinItsLimit) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers,
           "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nBruno\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  SelectEntry(*e.model, 1);
  FieldTyped(*e.model, IDC_DRIVERS_ZIP_CODE, "38000-XXXXXXXXXXXX");
  FieldTyped(*e.model, IDC_DRIVERS_EMAIL, "bruno@club\tfr");
  FieldTyped(*e.model, IDC_DRIVERS_COUNTRY, "France");
  EXPECT_EQ(FieldText(*e.model, IDC_DRIVERS_COUNTRY), "France");
  EXPECT_EQ(e.model->drivers.records[1].zipCode, std::string("38000-XXXXXXX"));  // 13
  EXPECT_EQ(e.model->drivers.records[0].zipCode, std::string(""));
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(ReadBytes(kDriversFile),
            "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n"
            "Bruno\t\t\t38000-XXXXXXX\t\tFrance\t\tbruno@club fr\t\t\t\t\t\t\r\n");

  // Circuits: digits only in the length and minimum lap time; the record is read-only.
  Editor c(EditorKind::kCircuits, "Mornay\t320\t18.532\t18532\tAlice\t3\tLyon\t\t\r\n");
  FieldTyped(*c.model, IDC_CIRCUITS_LENGTH, "4a56");
  FieldTyped(*c.model, IDC_CIRCUITS_RECORD, "1.000");
  EXPECT_EQ(FieldText(*c.model, IDC_CIRCUITS_LENGTH), "456");
  EXPECT_EQ(FieldText(*c.model, IDC_CIRCUITS_RECORD), "18.532");
  c.model->circuits.records[0].hidden[2] = 7;
  ClearRecordLap(*c.model);
  EXPECT_EQ(c.model->circuits.records[0].hidden[2], 0);
  ASSERT_TRUE(ConfirmEditor(*c.model, c.boxes));
  EXPECT_EQ(ReadBytes(kCircuitsFile), "Mornay\t456\t\t0\t\t3\tLyon\t\t\r\n");
}

TEST(EditorFields, CarsBindTheFortyEightSetupFieldsInSheetOrder) {
  TempFolder folder;
  const auto& fields = EditorFields(EditorKind::kCars);
  ASSERT_EQ(fields.size(), 48u);
  EXPECT_EQ(fields.front().controlId, 3207);
  EXPECT_EQ(fields.front().limit, 28);  // car name
  EXPECT_EQ(fields[6].limit, 38);       // clutch gear
  EXPECT_EQ(fields[10].limit, 13);      // ratio
  EXPECT_EQ(fields[1].limit, 18);       // engine
  EXPECT_EQ(fields.back().controlId, 3254);
  Editor e(EditorKind::kCars);
  ASSERT_EQ(e.Add("Buggy"), AddResult::kAdded);
  for (const EditorField& f : fields) {
    FieldTyped(*e.model, f.controlId, std::to_string(f.controlId).c_str());
  }
  SetImagePath(*e.model, "C:\\images\\buggy.bmp");
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  std::string expected = "Buggy\t";
  for (int id = 3207; id <= 3254; ++id) expected += std::to_string(id) + "\t";
  expected += "C:\\images\\buggy.bmp\t\r\n";
  EXPECT_EQ(ReadBytes(kCarsFile), expected);
}

TEST(EditorPictures, AreasAndPaths) {
  EXPECT_TRUE(InPictureArea(EditorKind::kCircuits, 541, 51));
  EXPECT_TRUE(InPictureArea(EditorKind::kCircuits, 754, 199));
  EXPECT_FALSE(InPictureArea(EditorKind::kCircuits, 540, 100));
  EXPECT_FALSE(InPictureArea(EditorKind::kDrivers, 600, 180));
  EXPECT_TRUE(InPictureArea(EditorKind::kCars, 361, 61));
  EXPECT_FALSE(InPictureArea(EditorKind::kCars, 640, 100));
  EXPECT_FALSE(InPictureArea(EditorKind::kFrequencies, 600, 100));
  TempFolder folder;
  Editor e(EditorKind::kCircuits);
  SetImagePath(*e.model, "C:\\x.bmp");  // nothing selected
  EXPECT_STREQ(ImagePath(*e.model), "");
  e.Add("Mornay");
  SetImagePath(*e.model, std::string(300, 'p').c_str());
  EXPECT_EQ(std::string(ImagePath(*e.model)).size(), 259u);
  SetImagePath(*e.model, "");
  EXPECT_STREQ(ImagePath(*e.model), "");
}

std::string RunsFile(const char* driver) {
  return RunsDatabasePath(driver);
}

// A runs database holding one stored run.
void WriteArchiveWithOneRun(const char* driver) {
  MakeDirectory(kRunsFolder);
  std::string slot = "Start 2026/12/07 10:00:00 - Duration 0:05:00\t";
  slot += driver;
  slot += "\t0\t0\t";
  while (slot.size() < static_cast<size_t>(kRunSlotContentLength)) slot += "1\t";
  slot.resize(kRunSlotContentLength);
  WriteBytes(RunsFile(driver).c_str(), std::string("1\t0\t\r\n") + slot + "\r\n");
}

// A picture chosen in a folder whose name Windows-1252 cannot hold, on a volume without short
// names (as this one): a copy in the program folder is stored, made once for the same bytes.
TEST(EditorPictures, APathOutsideWindows1252IsStoredAsACopyThatOpens) {
  TempFolder folder;
  // "Zawody Łódź/Łódź Ωμέγα.bmp", as the file dialog gives it.
  const std::string polish = Utf8ToPath(
      "Zawody \xC5\x81\xC3\xB3"
      "d\xC5\xBA");
  const std::string chosen = polish + "/" +
                             Utf8ToPath(
                                 "\xC5\x81\xC3\xB3"
                                 "d\xC5\xBA \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1.bmp");
  ASSERT_TRUE(MakeDirectory(polish.c_str()));
  WriteBytes(chosen.c_str(), "BM picture");
  Editor e(EditorKind::kDrivers);
  e.Add("Anna");
  ASSERT_TRUE(PictureChosen(*e.model, chosen, e.boxes));
  const std::string stored = ImagePath(*e.model);
  EXPECT_EQ(stored, "Base données images/_ód_ _____.bmp");
  EXPECT_TRUE(PathIsPlainCp1252(stored));
  EXPECT_EQ(ReadBytes(stored.c_str()), "BM picture");
  // The same picture again: the same copy. Another picture of that name: a copy of its own.
  e.Add("Bruno");
  ASSERT_TRUE(PictureChosen(*e.model, chosen, e.boxes));
  EXPECT_EQ(std::string(ImagePath(*e.model)), stored);
  WriteBytes(chosen.c_str(), "BM another");
  ASSERT_TRUE(PictureChosen(*e.model, chosen, e.boxes));
  EXPECT_EQ(std::string(ImagePath(*e.model)), "Base données images/_ód_ _____ (2).bmp");
  EXPECT_EQ(ReadBytes(ImagePath(*e.model)), "BM another");
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_NE(ReadBytes(kDriversFile).find("\tBase données images/_ód_ _____ (2).bmp\t\r\n"),
            std::string::npos);
  EXPECT_TRUE(e.boxes.shown.empty());
}

TEST(EditorPictures, APlainPathIsStoredAsChosenAndAFailedCopyStoresNothing) {
  TempFolder folder;
  Editor e(EditorKind::kCars);
  e.Add("Kyosho");
  ASSERT_TRUE(PictureChosen(*e.model, "C:\\Photos\\Mûre.bmp", e.boxes));
  EXPECT_STREQ(ImagePath(*e.model), "C:\\Photos\\Mûre.bmp");
  EXPECT_FALSE(FileExists(kCopiedPicturesFolder));
  // A picture that cannot be read (gone meanwhile) cannot be copied: said, and nothing changes.
  EXPECT_FALSE(PictureChosen(*e.model, Utf8ToPath("\xCE\xA9.bmp"), e.boxes));
  ASSERT_EQ(e.boxes.shown.size(), 1u);
  EXPECT_EQ(e.boxes.shown[0].text, TXT_PICTURE_NOT_COPIED);
  EXPECT_STREQ(ImagePath(*e.model), "C:\\Photos\\Mûre.bmp");
  // A plain path too long for an image path is copied too, rather than cut.
  const std::string longFolder(250, 'p');
  ASSERT_TRUE(MakeDirectory(longFolder.c_str()));
  const std::string longPath = longFolder + "/grand.bmp";
  WriteBytes(longPath.c_str(), "BM");
  ASSERT_TRUE(PictureChosen(*e.model, longPath, e.boxes));
  EXPECT_STREQ(ImagePath(*e.model), "Base données images/grand.bmp");
}

// --- Opening and "Ok".

TEST(EditorFiles, MissingFilesAreReportedAndOkCreatesThem) {
  TempFolder folder;
  RecordingMessageBoxes boxes;
  auto m = std::make_unique<DatabaseEditorModel>();
  OpenEditor(*m, EditorKind::kDrivers, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, TXT_COUNTRIES_FILE_NOT_FOUND);
  EXPECT_EQ(boxes.shown[1].text, TXT_DRIVERS_FILE_NOT_FOUND);
  EXPECT_EQ(m->count, 0);
  AddEntry(*m, "Anna", boxes);
  ASSERT_TRUE(ConfirmEditor(*m, boxes));
  EXPECT_EQ(ReadBytes(kDriversFile), "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");

  OpenEditor(*m, EditorKind::kFrequencies, boxes);
  EXPECT_EQ(boxes.shown.back().text, TXT_FREQUENCIES_FILE_NOT_FOUND);
}

// A file that is there but cannot be read: here a folder of that name (a locked file, or one the
// account may not read, behave alike), or a file larger than a database read takes.
TEST(EditorFiles, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
  const char* files[] = {kCircuitsFile, kFrequenciesFile, kDriversFile, kCarsFile};
  for (EditorKind kind :
       {EditorKind::kCircuits, EditorKind::kFrequencies, EditorKind::kDrivers, EditorKind::kCars}) {
    TempFolder folder;
    const char* file = files[static_cast<int>(kind)];
    MakeDirectory(file);
    WriteBytes((std::string(file) + "/inside").c_str(), "kept");
    WriteBytes(kCountriesFile, "France\r\n");
    RecordingMessageBoxes boxes;
    auto m = std::make_unique<DatabaseEditorModel>();
    OpenEditor(*m, kind, boxes);
    char opening[512];
    std::snprintf(opening, sizeof opening, TXT_DATABASE_FILE_UNREADABLE, file);
    ASSERT_EQ(boxes.shown.size(), 1u) << file;
    EXPECT_EQ(boxes.shown[0].text, opening);
    EXPECT_EQ(boxes.shown[0].caption, TXT_CAPTION_ERROR);
    EXPECT_EQ(m->count, 0);
    AddEntry(*m, kind == EditorKind::kFrequencies ? "27.145" : "Anna", boxes);
    EXPECT_FALSE(ConfirmEditor(*m, boxes));
    char kept[512];
    std::snprintf(kept, sizeof kept, TXT_DATABASE_FILE_KEPT, file);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, kept);
    EXPECT_EQ(ReadBytes((std::string(file) + "/inside").c_str()), "kept");
    EXPECT_FALSE(FileExists(RunsFile("Anna").c_str())) << "no runs database either";
  }
}

TEST(EditorFiles, ADriversFileTooLargeToReadKeepsItsBytesAndItsArchives) {
  TempFolder folder;
  {
    std::FILE* f = OpenFile(kDriversFile, "wb");  // 17 MB, sparse: quick to make
    ASSERT_NE(f, nullptr);
    std::fputs("Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n", f);
    std::fseek(f, 17L << 20, SEEK_SET);
    std::fputc('\n', f);
    std::fclose(f);
  }
  WriteArchiveWithOneRun("Anna");
  const std::string archive = ReadBytes(RunsFile("Anna").c_str());
  Editor e(EditorKind::kDrivers);
  EXPECT_EQ(e.model->count, 0);
  e.Add("Bruno");
  EXPECT_FALSE(ConfirmEditor(*e.model, e.boxes));
  std::string head;
  ASSERT_FALSE(ReadWholeFile(kDriversFile, head, 1 << 10));  // still the large file
  EXPECT_EQ(ReadBytes(RunsFile("Anna").c_str()), archive);
  EXPECT_FALSE(FileExists(RunsFile("Bruno").c_str()));
}

TEST(EditorFiles, AFailedWriteIsReportedAndTouchesNoRunsDatabase) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers, "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  MakeDirectory(kRunsFolder);
  WriteBytes(
      "Base donn\xE9"
      "es runs/Anna.bdr",
      kNewRunsFileHeader);
  RemoveEntry(*e.model, 0, "Bruno", e.boxes);
  // The drivers file cannot be replaced: a folder stands in its way.
  RemoveFile(kDriversFile);
  MakeDirectory(kDriversFile);
  EXPECT_FALSE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(e.boxes.shown.back().text, TXT_DRIVERS_FILE_NOT_FOUND);
  EXPECT_TRUE(
      FileExists("Base donn\xE9"
                 "es runs/Anna.bdr"));
  EXPECT_FALSE(
      FileExists("Base donn\xE9"
                 "es runs/Bruno.bdr"));
}

TEST(EditorFiles, OkWritesIntoTheFolderOfTheOpeningWhereverTheFileDialogWent) {
  TempFolder folder;
  Editor e(EditorKind::kFrequencies);
  e.Add("27.145");
  MakeDirectory("images");
  ASSERT_TRUE(SetCurrentFolder("images"));  // as a file dialog leaves it
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(CurrentFolder(), folder.path());
  EXPECT_EQ(ReadBytes(kFrequenciesFile), "27.145\r\n");
  EXPECT_FALSE(FileExists((std::string("images/") + kFrequenciesFile).c_str()));
}

// --- Runs databases after "Ok" in the drivers editor.

TEST(EditorRunsDatabases, CreatesForNewDriversDeletesEmptyArchivesOfRemovedOnes) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers,
           "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nBruno\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  MakeDirectory(kRunsFolder);
  WriteBytes(RunsFile("Anna").c_str(), kNewRunsFileHeader);
  WriteBytes(RunsFile("Bruno").c_str(), kNewRunsFileHeader);
  RemoveEntry(*e.model, 0, "Carla", e.boxes);  // Anna out, Carla in
  ASSERT_EQ(e.Names(), "Bruno|Carla");
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_FALSE(FileExists(RunsFile("Anna").c_str()));
  EXPECT_EQ(ReadBytes(RunsFile("Bruno").c_str()), kNewRunsFileHeader);
  EXPECT_EQ(ReadBytes(RunsFile("Carla").c_str()), "0\t0\t\r\n");
  EXPECT_TRUE(e.boxes.shown.empty()) << "an empty archive goes without a question";
}

TEST(EditorRunsDatabases, RemovedAndAddedAgainUnderTheSameNameKeepsTheArchive) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers, "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  WriteArchiveWithOneRun("Anna");
  const std::string before = ReadBytes(RunsFile("Anna").c_str());
  RemoveEntry(*e.model, 0, "", e.boxes);
  ASSERT_EQ(e.Add("Anna"), AddResult::kAdded);
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(ReadBytes(RunsFile("Anna").c_str()), before);
  EXPECT_TRUE(e.boxes.shown.empty());
}

// An older drivers file may hold two names that differ only by accented case: they share one
// runs database file, which removing one of them must not delete.
TEST(EditorRunsDatabases, RemovingOneOfTwoNamesOfOneFileKeepsThatFile) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers,
           "Éric\t\t\t\t\t\t\t\t\t\t\t\t\t\r\néric\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  ASSERT_EQ(e.model->count, 2);
  WriteArchiveWithOneRun("éric");
  const std::string before = ReadBytes(RunsFile("éric").c_str());
  RemoveEntry(*e.model, 0, "", e.boxes);  // "Éric"
  ASSERT_EQ(e.Names(), "éric");
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_TRUE(e.boxes.shown.empty()) << "no question: no archive is deleted";
  EXPECT_EQ(ReadBytes(RunsFile("éric").c_str()), before);

  // A name changed only in its accented case keeps the archive too (one file for Windows).
  Editor again(EditorKind::kDrivers);
  RemoveEntry(*again.model, 0, "ÉRIC", again.boxes);
  ASSERT_EQ(again.Names(), "ÉRIC");
  ASSERT_TRUE(ConfirmEditor(*again.model, again.boxes));
  EXPECT_TRUE(again.boxes.shown.empty());
  EXPECT_EQ(ReadBytes(RunsFile("éric").c_str()), before);
  EXPECT_FALSE(FileExists(RunsFile("ÉRIC").c_str())) << "on this file system: no second file";
}

TEST(EditorRunsDatabases, RenamedDriverLosesTheArchiveOnlyAfterYes) {
  for (Answer answer : {Answer::kNo, Answer::kYes}) {
    TempFolder folder;
    Editor e(EditorKind::kDrivers, "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
    WriteArchiveWithOneRun("Anna");
    const std::string before = ReadBytes(RunsFile("Anna").c_str());
    RemoveEntry(*e.model, 0, "Anne", e.boxes);
    e.boxes.answers.push_back(answer);
    ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
    ASSERT_EQ(e.boxes.shown.size(), 1u);
    EXPECT_TRUE(e.boxes.shown[0].question);
    EXPECT_EQ(e.boxes.shown[0].caption, TXT_CAPTION_QUESTION);
    char line[64];
    std::snprintf(line, sizeof line, TXT_RUNS_DATABASE_LINE, "Anna", 1);
    EXPECT_NE(e.boxes.shown[0].text.find(line), std::string::npos) << e.boxes.shown[0].text;
    if (answer == Answer::kNo) {
      EXPECT_EQ(ReadBytes(RunsFile("Anna").c_str()), before);
    } else {
      EXPECT_FALSE(FileExists(RunsFile("Anna").c_str()));
    }
    EXPECT_EQ(ReadBytes(RunsFile("Anne").c_str()), "0\t0\t\r\n");
    // The drivers file is written whatever the answer.
    EXPECT_EQ(ReadBytes(kDriversFile), "Anne\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
  }
}

TEST(EditorRunsDatabases, AnExistingFileOfANewDriverIsKeptAndUsed) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers);
  WriteArchiveWithOneRun("Dora");  // kept from earlier, or copied in by hand
  const std::string before = ReadBytes(RunsFile("Dora").c_str());
  ASSERT_EQ(e.Add("Dora"), AddResult::kAdded);
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  EXPECT_EQ(ReadBytes(RunsFile("Dora").c_str()), before);
}

TEST(EditorRunsDatabases, AnArchiveThatCannotBeCreatedIsReportedOncePerDriver) {
  TempFolder folder;
  Editor e(EditorKind::kDrivers);
  WriteBytes(kRunsFolder, "a file where the folder should be");
  e.Add("Anna");
  e.Add("Bruno");
  ASSERT_TRUE(ConfirmEditor(*e.model, e.boxes));
  ASSERT_EQ(e.boxes.shown.size(), 2u);
  EXPECT_EQ(e.boxes.shown[0].text, TXT_RUNS_FILE_NOT_CREATED);
  EXPECT_EQ(e.boxes.shown[1].caption, TXT_CAPTION_ERROR);
  // The drivers themselves are stored.
  EXPECT_EQ(ReadBytes(kDriversFile),
            "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\nBruno\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n");
}

TEST(EditorRunsDatabases, CancelLeavesEveryFileAsItWas) {
  TempFolder folder;
  const char drivers[] = "Anna\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n";
  Editor e(EditorKind::kDrivers, drivers);
  WriteArchiveWithOneRun("Anna");
  RemoveEntry(*e.model, 0, "Bruno", e.boxes);
  FieldTyped(*e.model, IDC_DRIVERS_PHONE, "0102");
  e.model.reset();  // the dialog closed without "Ok"
  EXPECT_EQ(ReadBytes(kDriversFile), drivers);
  EXPECT_TRUE(FileExists(RunsFile("Anna").c_str()));
  EXPECT_FALSE(FileExists(RunsFile("Bruno").c_str()));
}

}  // namespace
}  // namespace zarvo
