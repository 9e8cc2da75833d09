// The smartphone import: reading a phone run (and refusing what is not one), the working copy
// rebuilt from it, the lanes of the dialog and what "Validate" writes, and the whole import
// through the session commands down to the run loaded and archived.
#include "app/smartphone_import.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/session_controller.h"
#include "app/session_dialogs.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/session_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

struct Lane {
  std::string name;
  std::string transponder;
  std::vector<int> passages;  // passage times 1..L (0 is written first)
};

// A phone file as the phone's application writes it: header, list of 20 entries, run of 20 lane
// lines and the title, each field followed by a tab; unused entries "(NA)". laneLines counts the
// lane lines of the run when a test wants more than 20.
std::string PhoneFile(const std::vector<Lane>& lanes, const char* eol = "\r\n",
                      const char* title = "Start 2026/12/06 10:15:00 - Duration 0:05:00",
                      int headerCount = -1) {
  const int count = headerCount >= 0 ? headerCount : int(lanes.size());
  std::string out = "10000\tPHONE RUN\t" + std::to_string(count) + "\t1\t1\t";
  out += eol;
  out += std::string(eol) + "SessionListeParticipants\t" + eol;
  const size_t listLines = std::max<size_t>(lanes.size(), 20);
  for (size_t k = 0; k < listLines; ++k) {
    if (k < lanes.size()) {
      out += lanes[k].name + "\t" + lanes[k].transponder + "\t2.4Ghz\t\t\t\t\t" + eol;
    } else {
      out += std::string("(NA)\t\t\t\t\t\t\t") + eol;
    }
  }
  out += std::string("1\t1\t1\t1\t") + eol;  // what is left of a reserve
  out += std::string(eol) + "SessionRun1\t" + eol;
  for (size_t k = 0; k < listLines; ++k) {
    if (k >= lanes.size()) {
      out += std::string("(NA)\t0\t0\t1500000000\t0\t0\t1500000000\t") + eol;
      continue;
    }
    const Lane& lane = lanes[k];
    const int laps = int(lane.passages.size());
    int best = 0, worst = 0, last = 0, before = 0;
    for (int t : lane.passages) {
      const int lap = t - before;
      before = t;
      last = lap;
      if (best == 0 || lap < best) best = lap;
      if (lap > worst) worst = lap;
    }
    out += lane.name + "\t" + std::to_string(laps) + "\t" + std::to_string(last) + "\t" +
           std::to_string(best) + "\t" + std::to_string(worst) + "\t" +
           std::to_string(laps ? before / laps : 0) + "\t0\t";
    for (int t : lane.passages) out += std::to_string(t) + "\t";
    out += eol;
  }
  out += std::string(title) + "\t" + eol;
  out += std::string("\t1\t1\t1\t") + eol;
  return out;
}

std::vector<Lane> ThreeLanes() {
  return {{"ANNA", "004711", {30200, 61250, 92000}},
          {"BRUNO", "004712", {31000, 62500}},
          {"CARLA", "004713", {29900, 60000, 90500, 121000}}};
}

class SmartphoneImportTest : public ::testing::Test {
 protected:
  SmartphoneImportTest() {
    MakeDirectory(kSmartphoneCopyFolder);
    CreateWorkingCopy("CURRENT", boxes);
  }

  static void WriteDrivers(std::initializer_list<const char*> names) {
    std::string bytes;
    for (const char* name : names) bytes += std::string(name) + "\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n";
    WriteBytes(kDriversFile, bytes);
  }
  // Opens the import on the phone file, checking it was accepted.
  void Open(const std::string& phone) {
    WriteBytes(kSmartphoneCopyPath, phone);
    ASSERT_TRUE(OpenSmartphoneImport(model, boxes));
  }
  // The working copy read back with the session file's readers.
  struct Session {
    SessionHeader header;
    ParticipantsList list;
    std::unique_ptr<Race> run = std::make_unique<Race>();
  };
  Session ReadWorkingCopy() {
    Session s;
    EXPECT_TRUE(ReadSessionHeader(s.header, boxes));
    ClearParticipantsList(s.list);
    EXPECT_EQ(ReadParticipantsList(s.list, boxes), SectionRead::kRead);
    std::memset(s.run.get(), 0, sizeof(Race));
    EXPECT_EQ(ReadRunSection(1, *s.run, boxes), SectionRead::kRead);
    return s;
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& s : boxes.shown) texts.push_back(s.text);
    return texts;
  }

  testing::TempFolder folder;
  testing::RecordingMessageBoxes boxes;
  SmartphoneImportModel model;
};

// ---- Reading a phone run.

TEST(PhoneRun, AThreeLaneFileReadsWithCrLfAndWithLfAlike) {
  for (const char* eol : {"\r\n", "\n"}) {
    PhoneRun run;
    ASSERT_EQ(ReadPhoneRun(PhoneFile(ThreeLanes(), eol), run), PhoneFileCheck::kReadable) << eol;
    EXPECT_EQ(run.header.participantCount, 3);
    EXPECT_STREQ(run.header.sessionName, "PHONE RUN");
    EXPECT_STREQ(run.list.entries[1].driverName, "BRUNO");
    EXPECT_STREQ(run.list.entries[1].transponder, "004712");
    EXPECT_STREQ(run.list.entries[1].frequencies[0], "2.4Ghz");
    EXPECT_STREQ(run.list.entries[3].driverName, kNoDriver);
    const ParticipantRecord& carla = run.table->slots[2];
    EXPECT_STREQ(carla.driverName, "CARLA");
    EXPECT_EQ(carla.lapCount, 4);
    EXPECT_EQ(carla.passageTimes[4], 121000);
    EXPECT_EQ(carla.bestLap, 29900);
    EXPECT_EQ(carla.averageLap, 30250);
    EXPECT_EQ(run.table->slots[5].bestLap, kEmptySlotTime);
    EXPECT_STREQ(run.table->run.runTitle, "Start 2026/12/06 10:15:00 - Duration 0:05:00");
  }
}

TEST(PhoneRun, FieldsAfterThePassageTimesAreNoSetupSheet) {
  std::string file = PhoneFile(ThreeLanes());
  const std::string lane1 = "ANNA\t3\t30750\t30200\t31050\t30666\t0\t30200\t61250\t92000\t";
  const size_t at = file.find(lane1, file.find("SessionRun1"));
  ASSERT_NE(at, std::string::npos);
  file.insert(at + lane1.size(), "Buggy\tNitro\t");
  PhoneRun run;
  ASSERT_EQ(ReadPhoneRun(file, run), PhoneFileCheck::kReadable);
  for (int i = 0; i < kSetupFieldCount; ++i) {
    EXPECT_STREQ(SetupField(run.table->slots[0].setup, i), "") << i;
  }
}

TEST(PhoneRun, WhatDoesNotFollowTheLayoutIsRefused) {
  const std::string good = PhoneFile(ThreeLanes());
  auto without = [&](const std::string& part) {
    std::string file = good;
    file.erase(file.find(part), part.size());
    return file;
  };
  struct Case {
    const char* what;
    std::string file;
    PhoneFileCheck check;
  } cases[] = {
      {"empty", "", PhoneFileCheck::kNoHeader},
      {"a text file", "Shopping list\r\nmilk\r\n", PhoneFileCheck::kNoHeader},
      {"header without counts", "10000\tPHONE RUN\t\r\n" + good.substr(good.find('\n') + 1),
       PhoneFileCheck::kNoHeader},
      {"a session without run",
       NewWorkingCopyBytes("X") + "\r\nSessionListeParticipants\t\r\n" + "ANNA\t\t\t\t\t\t\t\r\n",
       PhoneFileCheck::kNoRun},
      {"no list", without("SessionListeParticipants\t"), PhoneFileCheck::kNoParticipants},
      {"list cut before lane 3", good.substr(0, good.find("CARLA\t004713")),
       PhoneFileCheck::kNoRun},
      {"list of the used entries only",
       [&] {
         std::string f = good;
         const size_t from = f.find("(NA)\t\t");
         return f.erase(from, f.find("1\t1\t1\t1\t\r\n") - from);
       }(),
       PhoneFileCheck::kNoParticipants},
      {"run cut in lane 2", good.substr(0, good.find("\t62500", good.find("SessionRun1"))),
       PhoneFileCheck::kDamagedRun},
      {"lap count not a number",
       [&] {
         std::string f = good;
         f.replace(f.find("BRUNO\t2\t", f.find("SessionRun1")), 8, "BRUNO\ttwo\t");
         return f;
       }(),
       PhoneFileCheck::kDamagedRun},
      {"no title line", good.substr(0, good.find("Start 2026")), PhoneFileCheck::kDamagedRun},
      {"too large", good + std::string(kMaxPhoneFileBytes, '1'), PhoneFileCheck::kTooLarge},
  };
  for (const Case& c : cases) {
    PhoneRun run;
    EXPECT_EQ(ReadPhoneRun(c.file, run), c.check) << c.what;
  }
}

TEST(PhoneRun, MoreThanTwentyLanesAndMoreThan999LapsAreBounded) {
  std::vector<Lane> lanes;
  for (int k = 1; k <= 25; ++k) {
    char name[16];
    std::snprintf(name, sizeof name, "DRIVER%02d", k);
    lanes.push_back({name, "", {30000}});
  }
  for (int lap = 2; lap <= 1200; ++lap) lanes[0].passages.push_back(lap * 30000);
  PhoneRun run;
  ASSERT_EQ(ReadPhoneRun(PhoneFile(lanes), run), PhoneFileCheck::kReadable);
  EXPECT_EQ(run.header.participantCount, 20);
  EXPECT_STREQ(run.table->slots[19].driverName, "DRIVER20");
  EXPECT_EQ(run.table->slots[0].lapCount, kMaxLapCount);
  EXPECT_EQ(run.table->slots[0].passageTimes[kMaxLapCount], 999 * 30000);
  // The title is the line after the 25 lane lines, not lane 21.
  EXPECT_STREQ(run.table->run.runTitle, "Start 2026/12/06 10:15:00 - Duration 0:05:00");
  const std::string copy = ImportedWorkingCopy(run);
  EXPECT_EQ(copy.find("DRIVER21"), std::string::npos);
}

TEST(PhoneRun, NamesThatCouldNotBeADriversBecomeLaneNames) {
  std::vector<Lane> lanes = {{"Club SessionRun1", "", {30000}},
                             {"..\\..\\Windows\\x", "", {30000}},
                             {"CON", "", {30000}},
                             {" Leading", "", {30000}},
                             {"", "", {30000}},
                             {"BEA (NA)", "", {30000}},
                             {"\xC9lodie", "", {30000}}};
  PhoneRun run;
  ASSERT_EQ(ReadPhoneRun(PhoneFile(lanes), run), PhoneFileCheck::kReadable);
  for (int k = 1; k <= 6; ++k) {
    char expected[32];
    std::snprintf(expected, sizeof expected, TXT_IMPORT_UNNAMED_LANE, k);
    EXPECT_STREQ(run.list.entries[k - 1].driverName, expected);
    EXPECT_STREQ(run.table->slots[k - 1].driverName, expected);
  }
  EXPECT_STREQ(run.list.entries[6].driverName, "\xC9lodie");
  for (const ParticipantEntry& e : run.list.entries) {
    if (SameText(e.driverName, kNoDriver)) continue;
    const std::string path = RunsDatabasePath(e.driverName);
    EXPECT_EQ(path.rfind(std::string(kRunsFolder) + "/", 0), 0u) << e.driverName;
    EXPECT_EQ(path.find("\\"), std::string::npos);
  }
  // No line of the rebuilt copy is taken for a section other than the two written.
  const std::string copy = ImportedWorkingCopy(run);
  EXPECT_EQ(FindSection(copy, "SessionRun1").titleStart, copy.find("\r\nSessionRun1\t") + 2);
}

TEST(PhoneRun, TheRebuiltSessionHasTheImportedRunEvenWhenThePhoneCountsNone) {
  std::string file = PhoneFile(ThreeLanes());
  file.replace(0, file.find('\r'), "14001\tPHONE RUN\t3\t0\t0\t");
  PhoneRun run;
  ASSERT_EQ(ReadPhoneRun(file, run), PhoneFileCheck::kReadable);
  const std::string copy = ImportedWorkingCopy(run);
  SessionHeader header;
  ParseSessionHeader(copy, header);
  EXPECT_EQ(header.selectedNodeId, 14001);
  EXPECT_EQ(header.participantCount, 3);
  EXPECT_TRUE(header.runsRecorded);  // the run is written: its drivers stay in the list
  EXPECT_EQ(header.runCount, 1);
  EXPECT_EQ(copy.find('\r'), size_t(kHeaderLength));
}

// ---- The copy of the chosen file.

TEST_F(SmartphoneImportTest, TheChosenFileIsCopiedWholeAndAGigabyteIsNeverRead) {
  const std::string phone = PhoneFile(ThreeLanes());
  WriteBytes("phone.trng2", phone);
  EXPECT_EQ(CopyChosenPhoneFile("phone.trng2"), PhoneFileCopy::kCopied);
  EXPECT_EQ(ReadBytes(kSmartphoneCopyPath), phone);
  EXPECT_EQ(CopyChosenPhoneFile("missing.trng2"), PhoneFileCopy::kNotOpened);

  // A sparse file of a gigabyte and a byte: only its size is looked at.
  std::FILE* huge = std::fopen("huge.trng2", "wb");
  ASSERT_NE(huge, nullptr);
  ASSERT_EQ(std::fseek(huge, (long(1) << 30), SEEK_SET), 0);
  ASSERT_EQ(std::fputc('1', huge), '1');
  std::fclose(huge);
  EXPECT_EQ(CopyChosenPhoneFile("huge.trng2"), PhoneFileCopy::kTooLarge);
  EXPECT_EQ(ReadBytes(kSmartphoneCopyPath), phone);  // the earlier copy is left as it was

  std::string limit = phone + std::string(kMaxPhoneFileBytes - phone.size(), '1');
  WriteBytes("limit.trng2", limit);
  EXPECT_EQ(CopyChosenPhoneFile("limit.trng2"), PhoneFileCopy::kCopied);
  WriteBytes("over.trng2", limit + "1");
  EXPECT_EQ(CopyChosenPhoneFile("over.trng2"), PhoneFileCopy::kTooLarge);
}

// ---- The working copy and the lanes when the dialog opens.

TEST_F(SmartphoneImportTest, OpeningRebuildsTheWorkingCopyWithThePhoneNamesAndEmptySetupSheets) {
  WriteDrivers({"ZOE", "ANNE", "BOB"});
  Open(PhoneFile(ThreeLanes()));
  EXPECT_TRUE(boxes.shown.empty());
  const Session s = ReadWorkingCopy();
  EXPECT_STREQ(s.header.sessionName, "PHONE RUN");
  EXPECT_EQ(s.header.participantCount, 3);
  EXPECT_EQ(s.header.runCount, 1);
  EXPECT_STREQ(s.list.entries[0].driverName, "ANNA");
  EXPECT_STREQ(s.list.entries[0].transponder, "004711");
  EXPECT_STREQ(s.run->slots[0].driverName, "ANNA");
  EXPECT_EQ(s.run->slots[0].lapCount, 3);
  EXPECT_EQ(s.run->slots[0].passageTimes[3], 92000);
  EXPECT_STREQ(s.run->run.runTitle, "Start 2026/12/06 10:15:00 - Duration 0:05:00");
  // The lane line of ANNA ends with the 49 empty texts of an empty setup sheet.
  const std::string copy = ReadBytes(kWorkingCopyPath);
  EXPECT_NE(copy.find("\t92000\t" + std::string(49, '\t') + "\r\n"), std::string::npos);
  // The run's reserve is the one of three participants: 15826 pairs.
  const SectionSpot run = FindSection(copy, "SessionRun1");
  EXPECT_EQ(run.areaEnd - run.dataStart, size_t(2 * 15826 + 2));

  for (int k = 1; k <= kImportLaneCount; ++k) {
    EXPECT_EQ(model.laneVisible[k - 1], k <= 3) << k;
    EXPECT_EQ(model.laneAssigned[k - 1], k > 3) << k;
  }
  EXPECT_STREQ(LaneDriverName(model, 2), "BRUNO");
  EXPECT_STREQ(LaneDriverName(model, 4), kNoDriver);
}

TEST_F(SmartphoneImportTest, ARefusedFileLeavesTheWorkingCopyAsItWas) {
  const std::string before = ReadBytes(kWorkingCopyPath);
  EXPECT_FALSE(OpenSmartphoneImport(model, boxes));
  WriteBytes(kSmartphoneCopyPath, PhoneFile(ThreeLanes()).substr(0, 900));
  EXPECT_FALSE(OpenSmartphoneImport(model, boxes));
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{TXT_IMPORT_FILE_NOT_FOUND, TXT_IMPORT_NOT_A_PHONE_FILE}));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
}

TEST_F(SmartphoneImportTest, WithoutADriversDatabaseTheListsAreEmptyAndOnlyCancelRemains) {
  Open(PhoneFile(ThreeLanes()));
  EXPECT_EQ(Shown(), (std::vector<std::string>{TXT_DRIVERS_FILE_NOT_FOUND}));
  EXPECT_EQ(model.databaseCount, 0);
  EXPECT_FALSE(ChooseLaneDriver(model, 1, "ANNA"));
  EXPECT_FALSE(ConfirmSmartphoneImport(model, boxes));
}

TEST_F(SmartphoneImportTest, TheListsOfferOnlyNamesADriverMayHave) {
  WriteDrivers({"ZOE", "Session X", "A/B", "ANNE", "ZOE"});
  Open(PhoneFile(ThreeLanes()));
  ASSERT_EQ(model.databaseCount, 2);
  EXPECT_STREQ(model.database->names[0], "ZOE");
  EXPECT_STREQ(model.database->names[1], "ANNE");
  EXPECT_FALSE(ChooseLaneDriver(model, 1, "Session X"));
  EXPECT_FALSE(ChooseLaneDriver(model, 1, "NOBODY"));
  EXPECT_FALSE(model.laneAssigned[0]);
}

// ---- Choosing and validating.

TEST_F(SmartphoneImportTest, ValidateWaitsForEveryVisibleLaneAndRefusesDuplicates) {
  WriteDrivers({"ZOE", "ANNE", "BOB", "BRUNO"});
  Open(PhoneFile(ThreeLanes()));
  const std::string opened = ReadBytes(kWorkingCopyPath);
  EXPECT_FALSE(ImportCanValidate(model));  // three lanes unassigned

  ASSERT_TRUE(ChooseLaneDriver(model, 1, "ZOE"));
  ASSERT_TRUE(ChooseLaneDriver(model, 2, "ZOE"));
  ASSERT_TRUE(ChooseLaneDriver(model, 3, "ANNE"));
  EXPECT_FALSE(ImportCanValidate(model));  // ZOE twice
  EXPECT_FALSE(ConfirmSmartphoneImport(model, boxes));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), opened);
  EXPECT_TRUE(boxes.shown.empty());

  // BRUNO from the database while lane 2's phone name is still BRUNO.
  ASSERT_TRUE(ChooseLaneDriver(model, 1, "BRUNO"));
  ASSERT_TRUE(ChooseLaneDriver(model, 2, "BRUNO"));
  EXPECT_FALSE(ImportCanValidate(model));
  ASSERT_TRUE(ChooseLaneDriver(model, 2, "BOB"));
  EXPECT_TRUE(ImportCanValidate(model));
  EXPECT_FALSE(ChooseLaneDriver(model, 4, "ZOE"));  // hidden
}

TEST_F(SmartphoneImportTest, NamesOfOneRunsDatabaseFileAreOneNameTwice) {
  WriteDrivers({"ÉRIC", "éric", "ANNE"});
  Open(PhoneFile(ThreeLanes()));
  ASSERT_TRUE(ChooseLaneDriver(model, 1, "ÉRIC"));
  ASSERT_TRUE(ChooseLaneDriver(model, 2, "éric"));
  ASSERT_TRUE(ChooseLaneDriver(model, 3, "ANNE"));
  EXPECT_FALSE(ImportCanValidate(model));
}

TEST_F(SmartphoneImportTest, ValidateWritesTheChosenNamesAndKeepsTransponderFrequenciesAndLaps) {
  WriteDrivers({"ZOE", "ANNE", "BOB"});
  Open(PhoneFile(ThreeLanes()));
  ChooseLaneDriver(model, 1, "ZOE");
  ChooseLaneDriver(model, 2, "BOB");
  ChooseLaneDriver(model, 3, "ANNE");
  ASSERT_TRUE(ConfirmSmartphoneImport(model, boxes));
  const Session s = ReadWorkingCopy();
  const char* names[3] = {"ZOE", "BOB", "ANNE"};
  const char* transponders[3] = {"004711", "004712", "004713"};
  for (int k = 0; k < 3; ++k) {
    EXPECT_STREQ(s.list.entries[k].driverName, names[k]);
    EXPECT_STREQ(s.list.entries[k].transponder, transponders[k]);
    EXPECT_STREQ(s.list.entries[k].frequencies[0], "2.4Ghz");
    EXPECT_STREQ(s.run->slots[k].driverName, names[k]);
  }
  EXPECT_EQ(s.run->slots[2].lapCount, 4);
  EXPECT_EQ(s.run->slots[1].passageTimes[2], 62500);
  EXPECT_STREQ(s.list.entries[3].driverName, kNoDriver);
  EXPECT_STREQ(s.run->run.runTitle, "Start 2026/12/06 10:15:00 - Duration 0:05:00");
}

TEST_F(SmartphoneImportTest, LanesBeyondElevenKeepThePhoneNamesAndCountForDuplicates) {
  std::vector<Lane> lanes;
  static const char* kPc[] = {"P01", "P02", "P03", "P04", "P05", "P06",
                              "P07", "P08", "P09", "P10", "P11"};
  for (int k = 1; k <= 13; ++k) {
    char name[16];
    std::snprintf(name, sizeof name, "PHONE%02d", k);
    lanes.push_back({name, "", {30000 + k}});
  }
  WriteDrivers(
      {"P01", "P02", "P03", "P04", "P05", "P06", "P07", "P08", "P09", "P10", "P11", "PHONE12"});
  Open(PhoneFile(lanes));
  for (bool visible : model.laneVisible) EXPECT_TRUE(visible);
  for (int k = 1; k <= kImportLaneCount; ++k) ASSERT_TRUE(ChooseLaneDriver(model, k, kPc[k - 1]));
  ASSERT_TRUE(ChooseLaneDriver(model, 1, "PHONE12"));
  EXPECT_FALSE(ImportCanValidate(model));  // lane 12 is still PHONE12 from the phone
  ASSERT_TRUE(ChooseLaneDriver(model, 1, "P01"));
  ASSERT_TRUE(ConfirmSmartphoneImport(model, boxes));
  const Session s = ReadWorkingCopy();
  EXPECT_STREQ(s.list.entries[10].driverName, "P11");
  EXPECT_STREQ(s.list.entries[11].driverName, "PHONE12");
  EXPECT_STREQ(s.run->slots[12].driverName, "PHONE13");
  EXPECT_EQ(s.run->slots[12].passageTimes[1], 30013);
}

// ---- The whole import through the session commands.

class SmartphoneImportCommandTest : public ::testing::Test {
 protected:
  SmartphoneImportCommandTest() {
    race = std::make_unique<Race>();
    std::memset(race.get(), 0, sizeof(Race));
    SetDefaultRaceParameters(race->params);
    circuits = std::make_unique<CircuitTable>();
    ClearCircuits(*circuits);
    sounds = testing::AllSoundsOn();
    session = std::make_unique<SessionState>();
    ui = std::make_unique<testing::RecordingRaceUi>(race.get());
    raceControl = std::make_unique<RaceControl>(
        RaceControlWorld{*race, *circuits, sounds, session->participants, clock, player, boxes, *ui,
                         decoder, archive});
    controller = std::make_unique<SessionController>(
        SessionWorld{*session, *race, *circuits, *raceControl, *ui, tree, window, files, dialogs,
                     boxes, folder.path()});
    controller->StartUp();
    controller->BuildTree();
    // The dialog as the user works it: lanes 1 to 3 given database drivers, then Validate.
    dialogs.import = [this] {
      auto model = std::make_unique<SmartphoneImportModel>();
      if (!OpenSmartphoneImport(*model, boxes)) return false;
      ChooseLaneDriver(*model, 1, "ZOE");
      ChooseLaneDriver(*model, 2, "BOB");
      ChooseLaneDriver(*model, 3, "ANNE");
      EXPECT_TRUE(ConfirmSmartphoneImport(*model, boxes));
      return true;
    };
    std::string drivers;
    for (const char* name : {"ZOE", "ANNE", "BOB"}) {
      drivers += std::string(name) + "\t\t\t\t\t\t\t\t\t\t\t\t\t\r\n";
    }
    WriteBytes(kDriversFile, drivers);
  }
  void Import(const std::string& phone) {
    WriteBytes("phone.trng2", phone);
    files.openAnswers = {std::string("phone.trng2")};
    boxes.answers = {Answer::kNo};
    controller->ImportSmartphone();
  }
  void Select(int32_t id) {
    controller->OnTreeSelectionChanging();
    tree.selected = id;
    controller->OnTreeSelectionChanged();
  }

  testing::TempFolder folder;
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  SoundSettings sounds;
  std::unique_ptr<SessionState> session;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  std::unique_ptr<RaceControl> raceControl;
  testing::FakeSessionTree tree;
  testing::RecordingSessionWindow window;
  testing::ScriptedFileDialogs files;
  testing::ScriptedSessionDialogs dialogs;
  std::unique_ptr<SessionController> controller;
};

TEST_F(SmartphoneImportCommandTest, TheImportedRunLoadsWithItsLapsAndIsArchivedWhenLeft) {
  MakeDirectory(kRunsFolder);
  WriteBytes(RunsDatabasePath("BOB").c_str(), "1\t0\t\r\n");
  Import(PhoneFile(ThreeLanes()));
  EXPECT_EQ(tree.LabelOf(kSessionNodeId), "PHONE RUN");
  EXPECT_EQ(tree.LabelOf(kDriversNodeId + 2), "BOB");
  EXPECT_TRUE(tree.Has(kRunsNodeId + 1));
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));

  Select(kRunsNodeId + 1);
  EXPECT_EQ(race->participantCount, 3);
  const ParticipantRecord& bob = race->slots[1];
  EXPECT_STREQ(bob.driverName, "BOB");
  EXPECT_STREQ(bob.transponder, "004712");
  EXPECT_EQ(bob.lapCount, 2);
  EXPECT_EQ(bob.bestLap, 31000);
  EXPECT_STREQ(race->run.runTitle, "Start 2026/12/06 10:15:00 - Duration 0:05:00");
  EXPECT_STREQ(race->standings[0].driverName, "ANNE");  // four laps lead

  Select(kTrackNodeId);
  RunsListing listing;
  ASSERT_EQ(ListRuns(RunsDatabasePath("BOB").c_str(), listing), RunsFileResult::kDone);
  ASSERT_EQ(listing.entries.size(), 2u);  // the empty first entry and the run
  EXPECT_EQ(listing.entries[1], "Start 2026/12/06 10:15:00 - Duration 0:05:00");
}

TEST_F(SmartphoneImportCommandTest, CancelKeepsThePhoneNamesAndSaveWaitsForSaveAs) {
  dialogs.import = [this] {
    auto model = std::make_unique<SmartphoneImportModel>();
    if (!OpenSmartphoneImport(*model, boxes)) return false;
    ChooseLaneDriver(*model, 1, "ZOE");  // chosen, then "Cancel": nothing of it is written
    return true;
  };
  Import(PhoneFile(ThreeLanes()));
  EXPECT_EQ(tree.LabelOf(kDriversNodeId + 1), "ANNA");
  Select(kRunsNodeId + 1);
  EXPECT_STREQ(race->slots[0].driverName, "ANNA");
  EXPECT_EQ(race->slots[0].lapCount, 3);
  EXPECT_FALSE(controller->Save());
  EXPECT_FALSE(ui->menuEnabled.at(IDM_SAVE));
  files.saveAnswers = {std::string("imported")};
  ASSERT_TRUE(controller->SaveAs());
  EXPECT_TRUE(ui->menuEnabled.at(IDM_SAVE));
  EXPECT_NE(ReadBytes("imported.trng").find("ANNA\t3\t30750\t30200\t31050\t30666\t0\t"),
            std::string::npos);
}

TEST_F(SmartphoneImportCommandTest, TheImportedDriversCannotBeRemovedSinceTheirRunIsRecorded) {
  std::string phone = PhoneFile(ThreeLanes());
  phone.replace(0, phone.find('\r'), "10000\tPHONE RUN\t3\t0\t1\t");  // the phone says none
  Import(phone);
  EXPECT_TRUE(session->header.runsRecorded);
  auto model = std::make_unique<ParticipantsDialogModel>();
  OpenParticipantsModel(*model, boxes);
  EXPECT_EQ(model->participantCount, 3);
  EXPECT_FALSE(model->removeAllowed);
  EXPECT_FALSE(RemoveParticipant(*model, 1));
}

// "Yes" to saving the current session, which has no file yet: it is saved under the name chosen,
// and stays the open session with that name when the phone file is then refused.
TEST_F(SmartphoneImportCommandTest, ASessionSavedBeforeARefusedPhoneFileIsThatFilesSession) {
  controller->AddRun();
  WriteBytes("phone.trng2", "10000\tPHONE RUN\t3\t1\t1\t\r\n\r\nSessionRun1\t\r\nANNA\t3\t");
  files.openAnswers = {std::string("phone.trng2")};
  files.saveAnswers = {std::string("kept")};
  boxes.answers = {Answer::kYes};
  controller->ImportSmartphone();
  EXPECT_EQ(boxes.shown.back().text, TXT_IMPORT_NOT_A_PHONE_FILE);
  EXPECT_EQ(ReadBytes("kept.trng"), ReadBytes(kWorkingCopyPath));
  EXPECT_TRUE(session->hasSavedFile);
  EXPECT_TRUE(ui->menuEnabled.at(IDM_SAVE));
  ASSERT_FALSE(window.titles.empty());
  EXPECT_EQ(window.titles.back(), std::string(kFileWindowTitlePrefix) + "kept.trng");
  // "Save" now writes that file.
  controller->AddRun();
  ASSERT_TRUE(controller->Save());
  EXPECT_EQ(ReadBytes("kept.trng"), ReadBytes(kWorkingCopyPath));
}

// A file larger than any phone run is refused by its size, before anything is copied.
TEST_F(SmartphoneImportCommandTest, AFileOverTheSizeOfAnyPhoneRunIsRefusedBeforeItIsCopied) {
  const std::string before = ReadBytes(kWorkingCopyPath);
  std::string phone = PhoneFile(ThreeLanes());
  phone += std::string(kMaxPhoneFileBytes + 1 - phone.size(), '1');
  Import(phone);
  EXPECT_EQ(boxes.shown.back().text, TXT_IMPORT_NOT_A_PHONE_FILE);
  EXPECT_FALSE(FileExists(kSmartphoneCopyPath));
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_TRUE(window.titles.empty());
}

TEST_F(SmartphoneImportCommandTest, ADamagedFileIsRefusedAndTheSessionStays) {
  controller->AddRun();
  const std::string before = ReadBytes(kWorkingCopyPath);
  const std::vector<std::string> treeBefore = tree.Lines();
  Import("10000\tPHONE RUN\t3\t1\t1\t\r\n\r\nSessionRun1\t\r\nANNA\t3\t");
  EXPECT_EQ(boxes.shown.back().text, TXT_IMPORT_NOT_A_PHONE_FILE);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
  EXPECT_EQ(tree.Lines(), treeBefore);
  EXPECT_TRUE(window.titles.empty());
}

}  // namespace
}  // namespace zarvo
