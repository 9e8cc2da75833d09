// The driver details dialog's rules at simulated time: the entry it edits, the six-digit rule,
// the scan with each device's collector and the lamp's phases, and what "OK" and the close box
// leave in the working copy.
#include "decoder/driver_details_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/driver_details_session.h"
#include "databases/database_files.h"
#include "decoder/frames.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

#if defined(ZARVO_EDITION_FR)
#define ED(english, french) french
#else
#define ED(english, french) english
#endif

namespace zarvo {
namespace {

using testing::B;
using testing::Bytes;
using testing::FakeClock;
using testing::FakeSerialPort;
using testing::ReadBytes;
using testing::RecordingMessageBoxes;
using testing::TempFolder;
using testing::WriteBytes;

Bytes OrixPassage(int transponder, int32_t time = 5000) {
  uint8_t frame[kOrixPassageLength];
  EncodePassage(transponder, time, frame);
  return Bytes(frame, frame + kOrixPassageLength);
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class DriverDetailsTest : public ::testing::Test {
 protected:
  DriverDetailsTest() {
    RecordingMessageBoxes quiet;
    CreateWorkingCopy("PRACTICE", quiet);
    SessionHeader header = NewSessionHeader("PRACTICE");
    header.selectedNodeId = 12002;
    header.participantCount = 2;
    WriteSessionHeader(header, quiet);
    ParticipantsList list;
    ClearParticipantsList(list);
    SetText(list.entries[0].driverName, "ANNA");
    SetText(list.entries[0].transponder, "004711");
    SetText(list.entries[1].driverName, "BRUNO");
    SetText(list.entries[1].transponder, "000017");
    SetText(list.entries[1].frequencies[0], "27.145");
    SetText(list.entries[1].frequencies[3], "40.685");
    WriteParticipantsList(list, quiet);
    WriteSessionTrack(SessionTrack{"Samedi", "Ring", 5}, quiet);
    WriteBytes(kFrequenciesFile, "26.995\r\n27.145\r\n40.685\r\n");
    SetDevice("ZarvoOrix");
  }
  void SetDevice(const char* key) {
    WriteBytes(kInterfaceSettingsFile, std::string("COM1\t1\t") + key + "\r\n");
  }
  void Open() {
    OpenDriverDetails(model, session, boxes);
    port.Open("COM1");
  }
  // One timer tick 10 ms after the previous one.
  DetailsTick Tick() {
    clock.Advance(10);
    return DetailsTimerTick(model, port, clock);
  }
  const char* Transponder() const { return DetailsEntry(model)->transponder; }

  TempFolder folder;
  WorkingCopyDetails session;
  FakeClock clock;
  FakeSerialPort port{&clock};
  RecordingMessageBoxes boxes;
  DriverDetailsModel model;
};

TEST_F(DriverDetailsTest, OpensOnTheEntryOfTheSelectedDriverNodeWithItsFrequencies) {
  Open();
  EXPECT_TRUE(boxes.shown.empty());
  ASSERT_NE(DetailsEntry(model), nullptr);
  EXPECT_EQ(model.entry, 1);
  EXPECT_STREQ(DetailsEntry(model)->driverName, "BRUNO");
  EXPECT_STREQ(Transponder(), "000017");
  EXPECT_EQ(model.frequencyCount, 3);
  EXPECT_EQ(DetailsFrequencyLine(model, 0), 1);
  EXPECT_EQ(DetailsFrequencyLine(model, 1), -1);
  EXPECT_EQ(DetailsFrequencyLine(model, 3), 2);
  EXPECT_STREQ(model.deviceKey, "ZarvoOrix");
  EXPECT_EQ(model.lampState, 0);
  EXPECT_FALSE(model.scanning);
}

TEST_F(DriverDetailsTest, OnlySixTypedDigitsBecomeTheTransponder) {
  Open();
  EXPECT_FALSE(DetailsTransponderTyped(model, "12345"));
  EXPECT_STREQ(Transponder(), "000017");
  EXPECT_TRUE(DetailsTransponderTyped(model, "123456"));
  EXPECT_STREQ(Transponder(), "123456");
  EXPECT_FALSE(DetailsTransponderTyped(model, "1234567"));
  EXPECT_FALSE(DetailsTransponderTyped(model, "12\t456"));  // a pasted tab would break the file
  EXPECT_FALSE(DetailsTransponderTyped(model, ""));
  EXPECT_STREQ(Transponder(), "123456");
}

TEST_F(DriverDetailsTest, AChosenFrequencyIsStoredInItsPlace) {
  Open();
  DetailsFrequencyChosen(model, 1, 0);
  DetailsFrequencyChosen(model, 4, 2);
  DetailsFrequencyChosen(model, 2, 7);  // no such line
  EXPECT_STREQ(DetailsEntry(model)->frequencies[1], "26.995");
  EXPECT_STREQ(DetailsEntry(model)->frequencies[4], "40.685");
  EXPECT_STREQ(DetailsEntry(model)->frequencies[2], "");
}

TEST_F(DriverDetailsTest, TheVexaScanTakesEveryTwoBytesAndTheLastCarWins) {
  SetDevice("Zarvo");
  Open();
  port.Queue(B({0x99, 0x99}));  // pending before the scan: thrown away
  DetailsScanDown(model, port, clock);
  EXPECT_EQ(model.lampState, 1);
  EXPECT_EQ(port.Pending(), 0u);
  port.Queue(B({0x04, 0xD2}));  // 1234
  EXPECT_TRUE(Tick().transponderRead);
  EXPECT_STREQ(Transponder(), "001234");
  port.Queue(B({0x00, 0x07, 0x01}));  // 7, then half of the next number
  Tick();
  EXPECT_STREQ(Transponder(), "000007");
  port.Queue(B({0x00}));  // 256
  Tick();
  EXPECT_STREQ(Transponder(), "000256");
  // Two cars in two reads before one tick: the later one wins.
  port.Queue(B({0x00, 0x05}));
  port.Queue(B({0x00, 0x06}));
  Tick();
  EXPECT_STREQ(Transponder(), "000006");
}

TEST_F(DriverDetailsTest, TheOrixScanSkipsGarbageBeforeTheHeaderAndJoinsSplitFrames) {
  Open();
  DetailsScanDown(model, port, clock);
  port.Queue(Join({B({0x00, 0x12, 0xFF, 0x04}), OrixPassage(1234)}));
  EXPECT_TRUE(Tick().transponderRead);
  EXPECT_STREQ(Transponder(), "001234");
  // Two bytes that a Vexa would report are no passage of the Orix decoder.
  port.Queue(B({0x00, 0x09}));
  EXPECT_FALSE(Tick().transponderRead);
  const Bytes frame = OrixPassage(65535);
  port.Queue(Bytes(frame.begin(), frame.begin() + 6));
  EXPECT_FALSE(Tick().transponderRead);
  port.Queue(Bytes(frame.begin() + 6, frame.end()));
  EXPECT_TRUE(Tick().transponderRead);
  EXPECT_STREQ(Transponder(), "065535");
  // Two cars in one read: the last one wins.
  port.Queue(Join({OrixPassage(1001), OrixPassage(1002)}));
  Tick();
  EXPECT_STREQ(Transponder(), "001002");
}

TEST_F(DriverDetailsTest, TheLampCyclesThroughItsFourPicturesInHundredthsOfASecond) {
  Open();
  FakeSerialPort silent;  // its reads take no time: the ticks come exactly every 10 ms
  silent.Open("COM1");
  DetailsScanDown(model, silent, clock);
  std::vector<std::pair<int, int>> changes;  // (hundredths since Scan, new state)
  for (int hundredths = 1; hundredths <= 190; ++hundredths) {
    clock.Advance(10);
    if (DetailsTimerTick(model, silent, clock).lampChanged) {
      changes.push_back({hundredths, model.lampState});
    }
  }
  const std::vector<std::pair<int, int>> expected = {{21, 2},  {42, 3},  {63, 4},  {84, 0},
                                                     {85, 1},  {105, 2}, {126, 3}, {147, 4},
                                                     {168, 0}, {169, 1}, {189, 2}};
  EXPECT_EQ(changes, expected);
  EXPECT_STREQ(DetailsLampFile(1), "images/voyantScanPuce1.bmp");
  EXPECT_STREQ(DetailsLampFile(4), "images/voyantScanPuce4.bmp");
  EXPECT_EQ(DetailsLampFile(0), nullptr);
}

TEST_F(DriverDetailsTest, ALateTickStartsANewLampCycleInsteadOfStoppingIt) {
  Open();
  DetailsScanDown(model, port, clock);
  clock.Advance(3000);  // a message box held the timer
  EXPECT_TRUE(DetailsTimerTick(model, port, clock).lampChanged);
  EXPECT_EQ(model.lampState, 0);
  EXPECT_TRUE(Tick().lampChanged);
  EXPECT_EQ(model.lampState, 1);
}

TEST_F(DriverDetailsTest, ScanUpStopsReadingIntoTheEntryAndEmptiesTheCollector) {
  Open();
  DetailsScanDown(model, port, clock);
  const Bytes frame = OrixPassage(4321);
  port.Queue(Bytes(frame.begin(), frame.begin() + 5));
  Tick();
  DetailsScanUp(model);
  EXPECT_EQ(model.lampState, 0);
  port.Queue(Bytes(frame.begin() + 5, frame.end()));
  EXPECT_FALSE(Tick().transponderRead);
  EXPECT_EQ(port.Pending(), 0u);  // pending input is thrown away while not scanning
  EXPECT_EQ(model.orixCollector.Held(), 0);
  EXPECT_STREQ(Transponder(), "000017");
}

TEST_F(DriverDetailsTest, APortThatFailsDuringTheScanStopsIt) {
  Open();
  DetailsScanDown(model, port, clock);
  Tick();
  port.Close();  // the adapter is pulled
  const DetailsTick tick = Tick();
  EXPECT_TRUE(tick.portFailed);
  EXPECT_TRUE(tick.lampChanged);
  EXPECT_FALSE(model.scanning);
  EXPECT_EQ(model.lampState, 0);
  EXPECT_FALSE(Tick().portFailed);  // reported once; not scanning any more
}

TEST_F(DriverDetailsTest, OkWritesTheListAndKeepsTheOtherSections) {
  Open();
  DetailsScanDown(model, port, clock);
  port.Queue(OrixPassage(1234));
  Tick();
  DetailsFrequencyChosen(model, 1, 0);
  ConfirmDriverDetails(model, session, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  ParticipantsList list;
  ASSERT_EQ(ReadParticipantsList(list, boxes), SectionRead::kRead);
  EXPECT_STREQ(list.entries[1].transponder, "001234");
  EXPECT_STREQ(list.entries[1].frequencies[1], "26.995");
  EXPECT_STREQ(list.entries[0].transponder, "004711");
  SessionTrack track = {};
  ASSERT_EQ(ReadSessionTrack(track, boxes), SectionRead::kRead);
  EXPECT_STREQ(track.label, "Samedi");
  const std::string file = ReadBytes(kWorkingCopyPath);
  EXPECT_NE(file.find("BRUNO\t001234\t27.145\t26.995\t\t40.685\t\t\r\n"), std::string::npos);
}

TEST_F(DriverDetailsTest, TheCloseBoxAfterAScanLeavesTheSessionFileByteForByte) {
  const std::string before = ReadBytes(kWorkingCopyPath);
  Open();
  DetailsScanDown(model, port, clock);
  port.Queue(OrixPassage(1234));
  Tick();
  ASSERT_STREQ(Transponder(), "001234");
  DetailsScanUp(model);
  // The close box ends the dialog without ConfirmDriverDetails.
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
}

TEST_F(DriverDetailsTest, MissingFilesAndSectionAreReportedAndNothingIsWritten) {
  RemoveFile(kFrequenciesFile);
  RemoveFile(kInterfaceSettingsFile);
  RecordingMessageBoxes quiet;
  CreateWorkingCopy("EMPTY", quiet);  // a header and no participants list
  WriteSelectedNodeId(12001, quiet);
  const std::string before = ReadBytes(kWorkingCopyPath);
  Open();
  std::vector<std::string> texts;
  for (const auto& shown : boxes.shown) texts.push_back(shown.text);
  const std::vector<std::string> expected = {
      ED("Error: Frequencies database file not found",
         "Erreur: impossible d'ouvrir la base de données Frequences"),
      ED("Error: Title of participants list not found",
         "Erreur: liste de participants non trouvée"),
      ED("Error: Interface file not found",
         "Erreur: impossible d'ouvrir le fichier Interface Port COM")};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(DetailsEntry(model), nullptr);
  EXPECT_STREQ(model.deviceKey, kDeviceVexa);
  EXPECT_FALSE(DetailsTransponderTyped(model, "123456"));
  ConfirmDriverDetails(model, session, boxes);
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
}

TEST_F(DriverDetailsTest, AListRemovedWhileTheDialogIsOpenIsReportedAtOk) {
  Open();
  RecordingMessageBoxes quiet;
  CreateWorkingCopy("OTHER", quiet);
  ConfirmDriverDetails(model, session, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, ED("Error: Title of participants list not found",
                                    "Erreur: liste des participants non trouvée"));
  RemoveFile(kWorkingCopyPath);
  ConfirmDriverDetails(model, session, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text,
            ED("Error: Session file not found", "Erreur: impossible d'ouvrir le fichier Session"));
}

TEST_F(DriverDetailsTest, AHeaderNodeThatIsNoDriverEditsNothing) {
  RecordingMessageBoxes quiet;
  WriteSelectedNodeId(12021, quiet);
  Open();
  EXPECT_EQ(DetailsEntry(model), nullptr);
  DetailsScanDown(model, port, clock);
  port.Queue(OrixPassage(1234));
  EXPECT_FALSE(Tick().transponderRead);
}


// The dialog over a session that is no file: what it reads and writes goes through its port only.
class ScriptedDetailsSession : public DetailsSession {
 public:
  Read ReadParticipants(ParticipantsList& out, int& outEntry, MessageBoxes&) override {
    ++reads;
    if (read == Read::kRead) out = list;
    outEntry = entry;
    return read;
  }
  Write WriteParticipants(const ParticipantsList& in) override {
    written.push_back(in);
    return write;
  }

  ParticipantsList list;
  int entry = -1;
  Read read = Read::kRead;
  Write write = Write::kWritten;
  int reads = 0;
  std::vector<ParticipantsList> written;
};

class DriverDetailsPortTest : public ::testing::Test {
 protected:
  DriverDetailsPortTest() {
    ClearParticipantsList(session.list);
    SetText(session.list.entries[3].driverName, "CLARA");
    SetText(session.list.entries[3].transponder, "000303");
    session.entry = 3;
    WriteBytes(kFrequenciesFile, "27.145\r\n");
    WriteBytes(kInterfaceSettingsFile, "COM1\t1\tZarvoOrix\r\n");
  }
  TempFolder folder;
  ScriptedDetailsSession session;
  RecordingMessageBoxes boxes;
  DriverDetailsModel model;
};

TEST_F(DriverDetailsPortTest, TheEntryTheSessionNamesIsEditedAndOkWritesTheWholeListBack) {
  OpenDriverDetails(model, session, boxes);
  EXPECT_EQ(session.reads, 1);
  ASSERT_NE(DetailsEntry(model), nullptr);
  EXPECT_STREQ(DetailsEntry(model)->driverName, "CLARA");
  ASSERT_TRUE(DetailsTransponderTyped(model, "123456"));
  DetailsFrequencyChosen(model, 2, 0);
  EXPECT_TRUE(session.written.empty());  // nothing before "OK"
  ConfirmDriverDetails(model, session, boxes);
  ASSERT_EQ(session.written.size(), 1u);
  EXPECT_STREQ(session.written[0].entries[3].transponder, "123456");
  EXPECT_STREQ(session.written[0].entries[3].frequencies[2], "27.145");
  EXPECT_STREQ(session.written[0].entries[0].driverName, kNoDriver);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DriverDetailsPortTest, ASessionThatCannotBeReadIsNeverWrittenAndAddsNoBoxOfItsOwn) {
  session.read = DetailsSession::Read::kNoSession;
  OpenDriverDetails(model, session, boxes);
  EXPECT_EQ(DetailsEntry(model), nullptr);
  EXPECT_TRUE(boxes.shown.empty());  // the session's port says why
  EXPECT_FALSE(DetailsTransponderTyped(model, "123456"));
  ConfirmDriverDetails(model, session, boxes);
  EXPECT_TRUE(session.written.empty());
}

TEST_F(DriverDetailsPortTest, ASessionWithoutAListIsSaidAtOpeningAndNothingIsWritten) {
  session.read = DetailsSession::Read::kNoList;
  OpenDriverDetails(model, session, boxes);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAILS_NO_LIST_OPENING);
  EXPECT_EQ(DetailsEntry(model), nullptr);
  ConfirmDriverDetails(model, session, boxes);
  EXPECT_TRUE(session.written.empty());
}

TEST_F(DriverDetailsPortTest, AnEntryOutsideTheTwentySlotsEditsNothing) {
  session.entry = kSlotCount;
  OpenDriverDetails(model, session, boxes);
  EXPECT_EQ(DetailsEntry(model), nullptr);
  EXPECT_EQ(model.entry, -1);
}

TEST_F(DriverDetailsPortTest, EachWriteOutcomeHasItsMessage) {
  OpenDriverDetails(model, session, boxes);
  session.write = DetailsSession::Write::kNoList;
  ConfirmDriverDetails(model, session, boxes);
  session.write = DetailsSession::Write::kNotWritten;
  ConfirmDriverDetails(model, session, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DETAILS_NO_LIST_SAVING);
  EXPECT_EQ(boxes.shown[1].text, TXT_SESSION_FILE_NOT_FOUND);
  EXPECT_EQ(session.written.size(), 2u);
}

}  // namespace
}  // namespace zarvo
