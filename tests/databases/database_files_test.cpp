// The reference database files: byte-exact formats, the reading rule for damaged files, the
// lists of the combo boxes and the sort of the editors.
#include "databases/database_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

template <typename T>
std::unique_ptr<T> Zeroed() {
  auto table = std::make_unique<T>();
  std::memset(table.get(), 0, sizeof(T));
  return table;
}

// --- Byte-exact formats.

const char kCircuitsFixture[] =
    "Mornay\t320\t18.532\t18532\tAlice Martin\t3\tLyon\tC:\\Images\\mornay.bmp\t\r\n"
    "Vallon des Pr\xE9s\t\t\t0\t\t2\t\t\t\r\n";

TEST(CircuitsFile, ReadsEveryFieldInPlace) {
  auto table = Zeroed<CircuitTable>();
  ParseCircuits(kCircuitsFixture, *table);
  const CircuitRecord& c = table->records[0];
  EXPECT_STREQ(c.name, "Mornay");
  EXPECT_STREQ(c.length, "320");
  EXPECT_STREQ(c.recordLapText, "18.532");
  EXPECT_EQ(c.recordLap, 18532);
  EXPECT_STREQ(c.recordHolder, "Alice Martin");
  EXPECT_STREQ(c.minimumLapTime, "3");
  EXPECT_STREQ(c.location, "Lyon");
  EXPECT_STREQ(c.imagePath, "C:\\Images\\mornay.bmp");
  EXPECT_STREQ(table->records[1].name, "Vallon des Pr\xE9s");
  EXPECT_EQ(table->records[1].recordLap, 0);
  EXPECT_EQ(CountCircuits(*table), 2);
}

TEST(CircuitsFile, RoundTripIsByteExactThroughTheDisk) {
  TempFolder folder;
  WriteBytes(kCircuitsFile, kCircuitsFixture);
  auto table = Zeroed<CircuitTable>();
  ASSERT_TRUE(ReadCircuits(*table));
  ASSERT_TRUE(WriteCircuits(*table));
  EXPECT_EQ(ReadBytes(kCircuitsFile), kCircuitsFixture);
}

TEST(CircuitsFile, ACircuitWithoutRecordStoresZeroAndEmptyRecordFields) {
  auto table = Zeroed<CircuitTable>();
  SetText(table->records[0].name, "Ouest");
  SetText(table->records[0].minimumLapTime, "2");
  EXPECT_EQ(FormatCircuits(*table), "Ouest\t\t\t0\t\t2\t\t\t\r\n");
}

TEST(CircuitsFile, TheRaceStopWritesEveryNamedCircuitWithItsNewRecord) {
  TempFolder folder;
  auto table = Zeroed<CircuitTable>();
  SetText(table->records[0].name, "A");
  SetText(table->records[2].name, "C");  // record 1 is free: skipped, not written as a blank line
  table->records[2].recordLap = 21004;
  SetText(table->records[2].recordLapText, "21.004");
  SetText(table->records[2].recordHolder, "Zo\xE9");
  table->records[2].hidden[0] = 7;  // never stored
  ASSERT_TRUE(WriteCircuits(*table));
  EXPECT_EQ(ReadBytes(kCircuitsFile),
            "A\t\t\t0\t\t\t\t\t\r\n"
            "C\t\t21.004\t21004\tZo\xE9\t\t\t\t\r\n");
}

TEST(DriversFile, ADriverWithOnlyANameIsTheNameAnd13Tabs) {
  auto table = Zeroed<DriverTable>();
  SetText(table->records[0].name, "Bruno");
  EXPECT_EQ(FormatDrivers(*table), "Bruno" + std::string(13, '\t') + "\r\n");
}

TEST(DriversFile, FieldTwelveIsAlwaysEmptyAndThePhotoComesAfterIt) {
  const std::string line =
      "Ana\t1 rue Haute\tBat. B\t69001\tLyon\tFrance\t0600\ta@b.fr\t1990\tL42\t012345\t\t"
      "photos\\ana.bmp\t\r\n";
  auto table = Zeroed<DriverTable>();
  ParseDrivers(line, *table);
  const DriverRecord& d = table->records[0];
  EXPECT_STREQ(d.address2, "Bat. B");
  EXPECT_STREQ(d.country, "France");
  EXPECT_STREQ(d.licenceNumber, "L42");
  EXPECT_STREQ(d.transponder, "012345");
  EXPECT_STREQ(d.photoPath, "photos\\ana.bmp");
  EXPECT_EQ(FormatDrivers(*table), line);
}

TEST(DriversFile, RoundTripIsByteExactThroughTheDisk) {
  TempFolder folder;
  const std::string bytes =
      "Ana\t\t\t\t\tFrance\t\t\t\t\t012345\t\t\t\r\n"
      "\xC9lodie\tQuai\t\t\t\t\t\t\t\t\t\t\t\t\r\n";
  WriteBytes(kDriversFile, bytes);
  auto table = Zeroed<DriverTable>();
  ASSERT_TRUE(ReadDrivers(*table));
  ASSERT_TRUE(WriteDrivers(*table));
  EXPECT_EQ(ReadBytes(kDriversFile), bytes);
}

TEST(DriversFile, DriverNamesAreTheFirstFieldOfEveryLine) {
  TempFolder folder;
  WriteBytes(kDriversFile, "Ana\tx\ty\r\nBruno\t\r\n\r\nCarla");
  auto names = Zeroed<DriverNameList>();
  ASSERT_TRUE(ReadDriverNames(*names));
  EXPECT_STREQ(names->names[0], "Ana");
  EXPECT_STREQ(names->names[1], "Bruno");
  EXPECT_STREQ(names->names[2], "Carla");
  EXPECT_STREQ(names->names[3], "");
}

// A car line with field k (1-based) holding "fk".
std::string NumberedCarLine() {
  std::string line;
  for (int k = 1; k <= 50; ++k) line += "f" + std::to_string(k) + "\t";
  return line + "\r\n";
}

TEST(CarsFile, FiftyFieldsFromNameToImagePath) {
  auto table = Zeroed<CarTable>();
  ParseCars(NumberedCarLine(), *table);
  const CarRecord& car = table->records[0];
  EXPECT_STREQ(car.name, "f1");
  EXPECT_STREQ(car.carName, "f2");
  EXPECT_STREQ(car.clutchGear, "f8");
  EXPECT_STREQ(car.wheelbase, "f26");
  EXPECT_STREQ(car.throttleServo, "f49");
  EXPECT_STREQ(car.imagePath, "f50");
  for (int i = 1; i < kSetupFieldCount; ++i) {
    EXPECT_EQ(CarSetupField(car, i), "f" + std::to_string(i + 1)) << i;
  }
  EXPECT_EQ(FormatCars(*table), NumberedCarLine());
}

TEST(CarsFile, RoundTripIsByteExactThroughTheDisk) {
  TempFolder folder;
  const std::string bytes = NumberedCarLine() + "Kart\t" + std::string(49, '\t') + "\r\n";
  WriteBytes(kCarsFile, bytes);
  auto table = Zeroed<CarTable>();
  ASSERT_TRUE(ReadCars(*table));
  EXPECT_EQ(CountCars(*table), 2);
  ASSERT_TRUE(WriteCars(*table));
  EXPECT_EQ(ReadBytes(kCarsFile), bytes);
}

TEST(CarsFile, ACarSetupFillsSheetFields2To49AndKeepsTheTrackConditions) {
  auto table = Zeroed<CarTable>();
  ParseCars(NumberedCarLine(), *table);
  SetupSheet sheet;
  std::memset(&sheet, 0, sizeof sheet);
  SetText(sheet.trackConditions, "Sec");
  CopyCarSetupToSheet(table->records[0], sheet);
  EXPECT_STREQ(sheet.trackConditions, "Sec");
  for (int i = 1; i < kSetupFieldCount; ++i) {
    EXPECT_EQ(SetupField(sheet, i), "f" + std::to_string(i + 1)) << i;
  }
}

TEST(FrequenciesFile, OneFrequencyALineWithoutTab) {
  TempFolder folder;
  const std::string bytes = "27.145\r\n2.4Ghz\r\n40.685\r\n";
  WriteBytes(kFrequenciesFile, bytes);
  auto table = Zeroed<FrequencyTable>();
  ASSERT_TRUE(ReadFrequencies(*table));
  EXPECT_STREQ(table->entries[1], "2.4Ghz");
  EXPECT_EQ(CountFrequencies(*table), 3);
  ASSERT_TRUE(WriteFrequencies(*table));
  EXPECT_EQ(ReadBytes(kFrequenciesFile), bytes);
}

// --- Damaged files: the reading rule.

TEST(DamagedDatabaseFiles, LineFeedsAloneReadAsCrLf) {
  auto crlf = Zeroed<CircuitTable>();
  auto lf = Zeroed<CircuitTable>();
  ParseCircuits(kCircuitsFixture, *crlf);
  std::string bytes = kCircuitsFixture;
  for (size_t at; (at = bytes.find('\r')) != std::string::npos;) bytes.erase(at, 1);
  ParseCircuits(bytes, *lf);
  EXPECT_EQ(std::memcmp(crlf.get(), lf.get(), sizeof(CircuitTable)), 0);
  EXPECT_EQ(FormatCircuits(*lf), kCircuitsFixture);
}

TEST(DamagedDatabaseFiles, ALastLineWithoutLineEndIsRead) {
  auto table = Zeroed<FrequencyTable>();
  ParseFrequencies("27.145\r\n40.685", *table);
  EXPECT_STREQ(table->entries[1], "40.685");
  auto drivers = Zeroed<DriverTable>();
  ParseDrivers("Ana\t\t\t\t\t\t\t\t\t\t012345", *drivers);
  EXPECT_STREQ(drivers->records[0].transponder, "012345");
}

TEST(DamagedDatabaseFiles, AShortLineDoesNotRunIntoTheNextLine) {
  auto table = Zeroed<CircuitTable>();
  ParseCircuits("Mornay\t320\r\nVallon\t410\t\t0\t\t2\t\t\t\r\n", *table);
  EXPECT_STREQ(table->records[0].name, "Mornay");
  EXPECT_STREQ(table->records[0].length, "320");
  EXPECT_STREQ(table->records[0].recordLapText, "");
  EXPECT_STREQ(table->records[1].name, "Vallon");
  EXPECT_STREQ(table->records[1].length, "410");
  EXPECT_STREQ(table->records[1].minimumLapTime, "2");
}

TEST(DamagedDatabaseFiles, OverlongFieldsAreCutAndTheirNeighboursKept) {
  auto table = Zeroed<CircuitTable>();
  const std::string longName(100, 'N');
  ParseCircuits(longName + "\t123456789\t\t0\t\t12345\tLyon\t\t\r\n", *table);
  const CircuitRecord& c = table->records[0];
  EXPECT_EQ(std::string(c.name), longName.substr(0, 39));
  EXPECT_STREQ(c.length, "1234");
  EXPECT_STREQ(c.minimumLapTime, "123");
  EXPECT_STREQ(c.location, "Lyon");
  EXPECT_EQ(c.name[39], '\0');

  auto frequencies = Zeroed<FrequencyTable>();
  ParseFrequencies("27.145MHz-long\r\n", *frequencies);
  EXPECT_STREQ(frequencies->entries[0], "27.145");
}

TEST(DamagedDatabaseFiles, BlankLinesAndNamelessLinesAreSkipped) {
  auto table = Zeroed<DriverTable>();
  ParseDrivers("\r\nAna\t\r\n\tlost address\t\r\n\r\nBruno\t\r\n", *table);
  EXPECT_STREQ(table->records[0].name, "Ana");
  EXPECT_STREQ(table->records[1].name, "Bruno");
  EXPECT_EQ(CountDrivers(*table), 2);
}

TEST(DamagedDatabaseFiles, ExtraFieldsAreIgnored) {
  auto table = Zeroed<FrequencyTable>();
  ParseFrequencies("27.145\t40.685\r\n", *table);
  EXPECT_STREQ(table->entries[0], "27.145");
  EXPECT_EQ(CountFrequencies(*table), 1);
  auto circuits = Zeroed<CircuitTable>();
  ParseCircuits("A\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\r\n", *circuits);
  EXPECT_STREQ(circuits->records[0].imagePath, "7");
}

TEST(DamagedDatabaseFiles, RecordLapThatIsNotANumberIsZeroAndHugeOnesAreHeld) {
  auto table = Zeroed<CircuitTable>();
  ParseCircuits("A\t\t\tabc\t\r\nB\t\t\t99999999999\t\r\nC\t\t\t-12x\t\r\n", *table);
  EXPECT_EQ(table->records[0].recordLap, 0);
  EXPECT_EQ(table->records[1].recordLap, INT32_MAX);
  EXPECT_EQ(table->records[2].recordLap, -12);
}

TEST(DamagedDatabaseFiles, MoreLinesThanTheTableHoldsAreIgnored) {
  std::string bytes;
  for (int i = 0; i < 30; ++i) bytes += "C" + std::to_string(i) + "\t\r\n";
  auto table = Zeroed<CircuitTable>();
  ParseCircuits(bytes, *table);
  EXPECT_EQ(CountCircuits(*table), kCircuitCapacity);
  EXPECT_STREQ(table->records[19].name, "C19");
  EXPECT_STREQ(table->records[kCircuitCapacity].name, "");  // the spare record stays empty
}

TEST(DamagedDatabaseFiles, AnEmptyFileIsAnEmptyTable) {
  TempFolder folder;
  WriteBytes(kCarsFile, "");
  auto table = Zeroed<CarTable>();
  SetText(table->records[0].name, "stale");
  ASSERT_TRUE(ReadCars(*table));
  EXPECT_EQ(CountCars(*table), 0);
}

TEST(DamagedDatabaseFiles, BinaryBytesStayInsideTheirFields) {
  const char raw[] = "\x01\xFF\x80\t\x00\x00zz\t\x7F\r\r\r\nB\t";
  const std::string bytes(raw, sizeof raw - 1);
  auto table = Zeroed<DriverTable>();
  ParseDrivers(bytes, *table);
  EXPECT_STREQ(table->records[0].name, "\x01\xFF\x80");
  EXPECT_STREQ(table->records[0].address, "");  // the text ends at its zero byte
  const char zeros[sizeof(DriverRecord::address)] = {};
  EXPECT_EQ(std::memcmp(table->records[0].address, zeros, sizeof zeros), 0);  // nothing after it
  EXPECT_STREQ(table->records[0].address2, "\x7F\r\r");
  EXPECT_STREQ(table->records[1].name, "B");
}

TEST(MissingDatabaseFiles, AReaderReturnsFalseAndLeavesTheTableAsItWas) {
  TempFolder folder;
  auto table = Zeroed<CircuitTable>();
  SetText(table->records[0].name, "kept");
  EXPECT_FALSE(ReadCircuits(*table));
  EXPECT_STREQ(table->records[0].name, "kept");
  auto frequencies = Zeroed<FrequencyTable>();
  EXPECT_FALSE(ReadFrequencies(*frequencies));
  std::vector<std::string> countries;
  EXPECT_FALSE(ReadCountries(countries));
}

TEST(DatabaseWriters, TabsAndLineEndsInsideATextBecomeSpaces) {
  auto table = Zeroed<DriverTable>();
  SetText(table->records[0].name, "Ana\tB");
  SetText(table->records[0].location, "L\r\nyon");
  auto reread = Zeroed<DriverTable>();
  ParseDrivers(FormatDrivers(*table), *reread);
  EXPECT_STREQ(reread->records[0].name, "Ana B");
  EXPECT_STREQ(reread->records[0].location, "L  yon");
  EXPECT_EQ(CountDrivers(*reread), 1);
}

TEST(DatabaseWriters, AFailedWriteLeavesTheOldFileWhole) {
  TempFolder folder;
  WriteBytes(kFrequenciesFile, "27.145\r\n");
  // The temporary file cannot be created: a folder holds its name.
  ASSERT_TRUE(MakeDirectory((std::string(kFrequenciesFile) + ".tmp~").c_str()));
  auto table = Zeroed<FrequencyTable>();
  SetText(table->entries[0], "40.685");
  EXPECT_FALSE(WriteFrequencies(*table));
  EXPECT_EQ(ReadBytes(kFrequenciesFile), "27.145\r\n");
}

// --- Lists of the combo boxes.

TEST(CarChooser, EmptyEntryThenDataResetThenTheCarsInFileOrder) {
  TempFolder folder;
  WriteBytes(kCarsFile, "Zeta\t\r\nalpha\t\r\n" + std::string(40, 'X') + "\t\r\n");
  std::vector<std::string> entries;
  ASSERT_TRUE(ReadCarChooserEntries(entries));
  const std::vector<std::string> expected = {"", TXT_CAR_DATA_RESET, "Zeta", "alpha",
                                             std::string(29, 'X')};
  EXPECT_EQ(entries, expected);
}

TEST(CarChooser, WithoutCarsFileOnlyTheFirstTwoEntries) {
  TempFolder folder;
  std::vector<std::string> entries = {"stale"};
  EXPECT_FALSE(ReadCarChooserEntries(entries));
  const std::vector<std::string> expected = {"", TXT_CAR_DATA_RESET};
  EXPECT_EQ(entries, expected);
}

TEST(CarChooser, ChoosingACarTakesTheSetupOfItsLastLine) {
  TempFolder folder;
  WriteBytes(kCarsFile, "Buggy\tOld\tE1\t\r\nKart\tK\t\r\nBuggy\tNew\tE2\t\r\n");
  SetupSheet sheet;
  std::memset(&sheet, 0, sizeof sheet);
  SetText(sheet.trackConditions, "Humide");
  SetText(sheet.radio, "was set");
  EXPECT_EQ(ApplyCarSetupFromFile("Buggy", sheet), CarLookup::kFound);
  EXPECT_STREQ(sheet.carName, "New");
  EXPECT_STREQ(sheet.engine, "E2");
  EXPECT_STREQ(sheet.radio, "");
  EXPECT_STREQ(sheet.trackConditions, "Humide");
}

TEST(CarChooser, ACarThatIsNoLongerInTheFileLeavesTheSheetUnchanged) {
  TempFolder folder;
  SetupSheet sheet;
  std::memset(&sheet, 0, sizeof sheet);
  SetText(sheet.carName, "Mine");
  EXPECT_EQ(ApplyCarSetupFromFile("Buggy", sheet), CarLookup::kFileNotOpened);
  WriteBytes(kCarsFile, "Kart\tK\t\r\n");
  EXPECT_EQ(ApplyCarSetupFromFile("Buggy", sheet), CarLookup::kNotFound);
  EXPECT_STREQ(sheet.carName, "Mine");
}

TEST(Countries, NamesInFileOrderCutToTheirCapacityAtMost208) {
  std::string bytes = "Allemagne\r\n\r\n" + std::string(50, 'P') + "\r\n";
  for (int i = 0; i < 300; ++i) bytes += "Pays" + std::to_string(i) + "\n";
  std::vector<std::string> names;
  ParseCountries(bytes, names);
  ASSERT_EQ(names.size(), size_t(kCountryCount));
  EXPECT_EQ(names[0], "Allemagne");
  EXPECT_EQ(names[1], std::string(34, 'P'));
  EXPECT_EQ(names[2], "Pays0");
}

TEST(Countries, TheShippedFileHolds208FrenchNamesInWindows1252) {
  const std::string path = std::string(ZARVO_SOURCE_DIR) + "/data/" + kCountriesFile;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path.c_str(), bytes, 1 << 20)) << path;
  std::vector<std::string> names;
  ParseCountries(bytes, names);
  ASSERT_EQ(names.size(), 208u);
  EXPECT_NE(std::find(names.begin(), names.end(), "France"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "\xC9tats-Unis"), names.end());  // É
  size_t lines = 0;
  for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  EXPECT_EQ(lines, 208u);  // every line ends with CR LF
  EXPECT_EQ(bytes.find('\t'), std::string::npos);
  EXPECT_EQ(bytes.find("\xC3"), std::string::npos);  // no UTF-8 sequence for an accented letter
  for (const std::string& name : names) EXPECT_LE(name.size(), 34u) << name;
}

// --- The sort of the editors.

std::vector<std::string> DriverNamesOf(const DriverTable& table, int n) {
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.emplace_back(table.records[i].name);
  return names;
}

TEST(DatabaseSort, EqualNamesComeOutHighestIndexFirstThenTheFreeRecords) {
  auto table = Zeroed<DriverTable>();
  SetText(table->records[0].name, "bravo");
  SetText(table->records[1].name, "Alpha");
  SetText(table->records[3].name, "alpha");
  SetText(table->records[1].phone, "from record 1");
  SetText(table->records[3].phone, "from record 3");
  SortDrivers(*table);
  const std::vector<std::string> expected = {"alpha", "Alpha", "bravo", ""};
  EXPECT_EQ(DriverNamesOf(*table, 4), expected);
  EXPECT_STREQ(table->records[0].phone, "from record 3");
  EXPECT_STREQ(table->records[1].phone, "from record 1");
}

TEST(DatabaseSort, OnlyAToZAreFoldedAndAccentedBytesSortByTheirValue) {
  auto table = Zeroed<DriverTable>();
  const char* names[] = {"\xE9ric", "Zo\xE9", "\xC9lodie", "emile", "Yann", "zz"};
  for (int i = 0; i < 6; ++i) SetText(table->records[i].name, names[i]);
  SortDrivers(*table);
  // e (0x65) < y < z < É (0xC9) < é (0xE9): no accented name is lost or moved before z.
  const std::vector<std::string> expected = {"emile", "Yann",      "Zo\xE9",
                                             "zz",    "\xC9lodie", "\xE9ric"};
  EXPECT_EQ(DriverNamesOf(*table, 6), expected);
  EXPECT_EQ(CountDrivers(*table), 6);
}

TEST(DatabaseSort, NamesMadeOfManyZAreNeitherLostNorPutAfterFreeRecords) {
  auto table = Zeroed<CircuitTable>();
  const std::string taken(39, 'z');
  const std::string ceiling = std::string(38, 'z') + "y";
  SetText(table->records[5].name, taken.c_str());
  SetText(table->records[9].name, ceiling.c_str());
  SetText(table->records[12].name, "a");
  SortCircuits(*table);
  EXPECT_STREQ(table->records[0].name, "a");
  EXPECT_EQ(table->records[1].name, ceiling);
  EXPECT_EQ(table->records[2].name, taken);
  EXPECT_EQ(CountCircuits(*table), 3);
}

TEST(DatabaseSort, FreeRecordsFollowTheUsedOnesHighestIndexFirst) {
  auto table = Zeroed<CircuitTable>();
  SetText(table->records[4].name, "Nord");
  SetText(table->records[2].location, "left in free record 2");
  SetText(table->records[19].location, "left in free record 19");
  SortCircuits(*table);
  EXPECT_STREQ(table->records[0].name, "Nord");
  EXPECT_STREQ(table->records[1].location, "left in free record 19");
  EXPECT_STREQ(table->records[17].location, "left in free record 2");  // 19..5, 3, 2
}

TEST(DatabaseSort, ATableWithoutRecordsSortsToItself) {
  auto table = Zeroed<CarTable>();
  auto before = Zeroed<CarTable>();
  SortCars(*table);
  EXPECT_EQ(std::memcmp(table.get(), before.get(), sizeof(CarTable)), 0);
}

TEST(DatabaseSort, HiddenCircuitNumbersTravelWithTheirRecord) {
  auto table = Zeroed<CircuitTable>();
  SetText(table->records[0].name, "Nord");
  table->records[0].recordLap = 30000;
  table->records[0].hidden[3] = 44;
  SetText(table->records[1].name, "Est");
  SortCircuits(*table);
  EXPECT_STREQ(table->records[1].name, "Nord");
  EXPECT_EQ(table->records[1].recordLap, 30000);
  EXPECT_EQ(table->records[1].hidden[3], 44);
  EXPECT_EQ(table->records[0].hidden[3], 0);
}

TEST(DatabaseSort, AFullTableKeepsEveryRecordOnce) {
  auto table = Zeroed<CarTable>();
  for (int i = 0; i < kCarCapacity; ++i) {
    SetText(table->records[i].name, ("car" + std::to_string(999 - i)).c_str());
  }
  SortCars(*table);
  for (int i = 0; i < kCarCapacity; ++i) {
    EXPECT_EQ(table->records[i].name, "car" + std::to_string(700 + i));
  }
}

TEST(DatabaseSort, FrequenciesSortByTheirWholeText) {
  auto table = Zeroed<FrequencyTable>();
  SetText(table->entries[0], "40.685");
  SetText(table->entries[2], "27.145");
  SetText(table->entries[3], "2.4GHZ");
  SetText(table->entries[4], "2.4Ghz");
  SortFrequencies(*table);
  EXPECT_STREQ(table->entries[0], "2.4Ghz");  // equal keys: the higher index first
  EXPECT_STREQ(table->entries[1], "2.4GHZ");
  EXPECT_STREQ(table->entries[2], "27.145");
  EXPECT_STREQ(table->entries[3], "40.685");
  EXPECT_EQ(CountFrequencies(*table), 4);
}

}  // namespace
}  // namespace zarvo
