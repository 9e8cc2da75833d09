// The interface dialog's rules at simulated time: what it shows of the stored settings, and what
// "Connect" finds, shows and stores for each device, a missing port and a vanishing one.
#include "decoder/interface_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "decoder/frames.h"
#include "resources/resource_ids.h"
#include "tests/support/fake_serial_port.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"

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

const Bytes kIdentify(kIdentifyRequest, kIdentifyRequest + kOrixRequestLength);

Bytes IdentifyAnswer(uint8_t kind, int id) {
  uint8_t frame[kOrixAnswerLength];
  EncodeIdentifyAnswer(kind, id, frame);
  return Bytes(frame, frame + kOrixAnswerLength);
}

class InterfaceDialogTest : public ::testing::Test {
 protected:
  void Open(const char* fileBytes) {
    if (fileBytes != nullptr) WriteBytes(kInterfaceSettingsFile, fileBytes);
    OpenInterfaceModel(model, boxes);
  }
  // "Connect" on the port list's line, both halves, as the dialog runs them.
  void Connect(int line) {
    attemptShown.clear();
    if (!BeginInterfaceConnect(model, line, port)) return;
    attemptShown = model.status;
    const int64_t before = clock.NowMs();
    FinishInterfaceConnect(model, line, port, clock, boxes);
    waitedMs = clock.NowMs() - before;
  }
  // The device answers the identify request with that frame after delayMs.
  void AnswerIdentify(const Bytes& answer, int64_t delayMs = 2) {
    port.onWrite = [this, answer, delayMs](const Bytes& written) {
      if (written == kIdentify) port.QueueAt(clock.NowMs() + delayMs, answer);
    };
  }

  TempFolder folder;
  FakeClock clock;
  FakeSerialPort port{&clock};
  RecordingMessageBoxes boxes;
  InterfaceDialogModel model = {};
  std::string attemptShown;
  int64_t waitedMs = 0;
};

TEST(InterfacePortList, HoldsCom1ToCom99AndFindsNamesExactly) {
  char name[kPortNameCapacity];
  InterfacePortName(0, name);
  EXPECT_STREQ(name, "COM1");
  InterfacePortName(98, name);
  EXPECT_STREQ(name, "COM99");
  InterfacePortName(99, name);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(InterfacePortIndex("COM4"), 3);
  EXPECT_EQ(InterfacePortIndex("COM99"), 98);
  EXPECT_EQ(InterfacePortIndex("com4"), -1);
  EXPECT_EQ(InterfacePortIndex("COM04"), -1);
  EXPECT_EQ(InterfacePortIndex(""), -1);
}

TEST_F(InterfaceDialogTest, AStoredConnectedWiredOrixOpensWithItsRadioPortAndGreenLamp) {
  Open("COM4\t1\tZarvoOrix\r\n");
  EXPECT_EQ(model.checkedRadio, IDC_INTERFACE_ORIX);
  EXPECT_EQ(InterfaceSelectedPort(model), 3);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kGreen);
  EXPECT_STREQ(InterfaceLampFile(InterfaceLampOf(model)), "images/voyantVert.bmp");
  EXPECT_STREQ(model.status,
               ED(" Interface Orix ready to operate.", " Interface Orix prête à fonctionner."));
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_TRUE(port.opened.empty());  // opening the dialog does not touch the port
}

TEST_F(InterfaceDialogTest, TheOpeningStatusFollowsTheKeyAndTheFlag) {
  struct Case {
    const char* file;
    int radio;
    const char* status;
    InterfaceLamp lamp;
  };
  const Case cases[] = {
      {"COM1\t1\tZarvo\r\n", IDC_INTERFACE_VEXA,
       ED(" Interface Vexa ready to operate.", " Interface Vexa prête à fonctionner."),
       InterfaceLamp::kGreen},
      {"COM1\t1\tZarvoOrixBluetooth\r\n", IDC_INTERFACE_ORIX_BLUETOOTH,
       ED(" Interface Orix Bluetooth ready to operate.",
          " Interface Orix Bluetooth prête à fonctionner."),
       InterfaceLamp::kGreen},
      {"COM1\t0\tZarvo\r\n", IDC_INTERFACE_VEXA,
       ED(" COM Port is not open !", " Port COM non ouvert !"), InterfaceLamp::kRed},
      // An unknown key is taken for the wired decoder, as its radio shows.
      {"COM1\t1\tSomething\r\n", IDC_INTERFACE_ORIX,
       ED(" Interface Orix ready to operate.", " Interface Orix prête à fonctionner."),
       InterfaceLamp::kGreen},
  };
  for (const Case& c : cases) {
    Open(c.file);
    EXPECT_EQ(model.checkedRadio, c.radio) << c.file;
    EXPECT_STREQ(model.status, c.status) << c.file;
    EXPECT_EQ(InterfaceLampOf(model), c.lamp) << c.file;
  }
}

TEST_F(InterfaceDialogTest, AMissingFileIsReportedAndLeavesNoRadioNoPortAndARedLamp) {
  Open(nullptr);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, ED("Error", "Erreur"));
  EXPECT_EQ(boxes.shown[0].text, ED("Error: Interface file not found",
                                    "Erreur: impossible d'ouvrir le fichier interface Port COM"));
  EXPECT_EQ(model.checkedRadio, 0);
  EXPECT_EQ(InterfaceSelectedPort(model), -1);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kRed);
  // "Connect" then creates the file.
  AnswerIdentify(IdentifyAnswer(kOrixKindWired, 5));
  Connect(0);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM1\t1\tZarvoOrix\r\n");
}

TEST_F(InterfaceDialogTest, ARadioChangesOnlyTheKeyHeldByTheDialog) {
  Open("COM2\t1\tZarvoOrix\r\n");
  InterfaceRadioChosen(model, IDC_INTERFACE_ORIX_BLUETOOTH);
  EXPECT_STREQ(model.deviceKey, kDeviceOrixBluetooth);
  EXPECT_EQ(model.checkedRadio, IDC_INTERFACE_ORIX_BLUETOOTH);
  InterfaceRadioChosen(model, IDC_INTERFACE_VEXA);
  EXPECT_STREQ(model.deviceKey, kDeviceVexa);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM2\t1\tZarvoOrix\r\n");
  EXPECT_TRUE(port.writes.empty());
}

TEST_F(InterfaceDialogTest, ConnectFindsAWiredOrixShowsItsIdAndStoresIt) {
  Open("COM1\t0\tZarvo\r\n");
  port.Open("COM1");
  AnswerIdentify(IdentifyAnswer(kOrixKindWired, 4242));
  Connect(1);
  EXPECT_STREQ(attemptShown.c_str(),
               ED(" COM Port opening attempt :\r\n", " Tentative d'ouverture du port COM:\r\n"));
  ASSERT_EQ(port.opened.size(), 2u);
  EXPECT_EQ(port.opened[1], "COM2");
  ASSERT_EQ(port.writes.size(), 1u);
  EXPECT_EQ(port.writes[0], kIdentify);
  EXPECT_STREQ(
      model.status,
      ED(" COM Port opening attempt :\r\n COM Port opened correctly, OK !\r\n Decoder Orix "
         "id.#004242 connected !\r\n Software ready to operate !",
         " Tentative d'ouverture du port COM:\r\n Ouverture du port COM OK !\r\n Décodeur "
         "Orix n°004242 connecté.\r\n Logiciel prêt à fonctionner."));
  EXPECT_EQ(model.checkedRadio, IDC_INTERFACE_ORIX);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kGreen);
  EXPECT_EQ(InterfaceSelectedPort(model), 1);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM2\t1\tZarvoOrix\r\n");
  EXPECT_TRUE(port.IsOpen());  // the program's port from now on
  EXPECT_LT(waitedMs, 10);     // the answer ends the wait
}

TEST_F(InterfaceDialogTest, ConnectFindsABluetoothOrixAfterGarbageAndForeignAnswers) {
  Open("COM3\t1\tZarvoOrix\r\n");
  port.onWrite = [this](const Bytes& written) {
    if (written != kIdentify) return;
    port.QueueAt(clock.NowMs() + 1, B({0x00, 0x13, 0xFF}));
    port.QueueAt(clock.NowMs() + 2, B({0xFF, 0xFF, 0xFF, 0x01, 0x07, 0x00, 0x01}));  // not a kind
    Bytes answer = IdentifyAnswer(kOrixKindBluetooth, 77);
    port.QueueAt(clock.NowMs() + 3, Bytes(answer.begin(), answer.begin() + 3));
    port.QueueAt(clock.NowMs() + 4, Bytes(answer.begin() + 3, answer.end()));
  };
  Connect(2);
  EXPECT_STREQ(
      model.status,
      ED(" COM Port opening attempt :\r\n COM Port opened correctly, OK !\r\n Decoder Orix "
         "Bluetooth id.#000077 connected !\r\n Software ready to operate !",
         " Tentative d'ouverture du port COM:\r\n Ouverture du port COM OK !\r\n Décodeur "
         "Orix Bluetooth n°000077 connecté.\r\n Logiciel prêt à fonctionner."));
  EXPECT_EQ(model.checkedRadio, IDC_INTERFACE_ORIX_BLUETOOTH);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM3\t1\tZarvoOrixBluetooth\r\n");
}

TEST_F(InterfaceDialogTest, NoAnswerWithin1500MsIsTheVexaWithFlag1) {
  Open("COM5\t1\tZarvoOrix\r\n");
  port.QueueAt(clock.NowMs() + 1600, IdentifyAnswer(kOrixKindWired, 1));  // too late
  Connect(4);
  EXPECT_GE(waitedMs, 1500);
  EXPECT_LE(waitedMs, 1502);
  EXPECT_STREQ(
      model.status,
      ED(" COM Port opening attempt :\r\n COM Port opened correctly, OK !\r\n Interface "
         "Vexa ready to operate !\r\n Software ready to operate !",
         " Tentative d'ouverture du port COM:\r\n Ouverture du port COM OK !\r\n Interface "
         "Vexa prête à fonctionner.\r\n Logiciel prêt à fonctionner."));
  EXPECT_EQ(model.checkedRadio, IDC_INTERFACE_VEXA);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kGreen);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM5\t1\tZarvo\r\n");
}

TEST_F(InterfaceDialogTest, APortThatDoesNotExistStoresFlag0AndZarvoWithARedLamp) {
  Open("COM1\t1\tZarvoOrixBluetooth\r\n");
  port.Open("COM1");
  port.openSucceeds = false;
  Connect(6);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_TRUE(port.writes.empty());
  EXPECT_STREQ(model.status,
               ED(" COM Port opening attempt :\r\n Could not open the COM Port.",
                  " Tentative d'ouverture du port COM:\r\n Echec à l'ouverture du port COM !"));
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kRed);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM7\t0\tZarvo\r\n");
}

TEST_F(InterfaceDialogTest, AReadThatFailsDuringTheWaitIsReportedAsALostDevice) {
  Open("COM1\t1\tZarvoOrix\r\n");
  // The adapter is pulled just after the request went out: the next read fails.
  port.onWrite = [this](const Bytes&) { port.Close(); };
  Connect(0);
  EXPECT_LT(waitedMs, 5);
  EXPECT_STREQ(model.status,
               ED(" COM Port opening attempt :\r\n COM Port opened correctly, OK !\r\n Could not "
                  "read from the COM Port: the device was lost.\r\n No device identified.",
                  " Tentative d'ouverture du port COM:\r\n Ouverture du port COM OK !\r\n Echec "
                  "à la lecture du port COM : le décodeur a été perdu.\r\n Aucun décodeur "
                  "identifié."));
  EXPECT_EQ(model.connected, 0);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kRed);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM1\t0\tZarvo\r\n");
}

TEST_F(InterfaceDialogTest, ARequestThatCannotBeWrittenIsReportedAsSuch) {
  Open("COM1\t1\tZarvoOrix\r\n");
  port.writesSucceed = false;  // the device went before the request
  Connect(1);
  EXPECT_STREQ(model.status,
               ED(" COM Port opening attempt :\r\n COM Port opened correctly, OK !\r\n Could not "
                  "write to the COM Port: the request was not sent.\r\n No device identified.",
                  " Tentative d'ouverture du port COM:\r\n Ouverture du port COM OK !\r\n Echec "
                  "à l'écriture sur le port COM : la demande n'a pas été envoyée.\r\n Aucun "
                  "décodeur identifié."));
  EXPECT_LT(waitedMs, 2);
  EXPECT_EQ(model.connected, 0);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kRed);
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM2\t0\tZarvo\r\n");
  EXPECT_TRUE(port.IsOpen()) << "the chosen port stays the program's, as after any Connect";
}

TEST_F(InterfaceDialogTest, ConnectWithoutAPortSelectedKeepsTheOpenPortAndStoresNothing) {
  Open("COM1\t1\tZarvoOrix\r\n");
  ASSERT_TRUE(port.Open("COM1"));  // the program's port, found at start-up
  Connect(-1);
  EXPECT_TRUE(port.IsOpen()) << "the program keeps its decoder";
  EXPECT_EQ(port.opened.size(), 1u);
  EXPECT_TRUE(port.writes.empty());
  EXPECT_EQ(model.connected, 1);
  EXPECT_EQ(InterfaceLampOf(model), InterfaceLamp::kGreen);
  EXPECT_STREQ(model.status, ED(" No COM Port chosen: choose one in the list.",
                                " Aucun port COM choisi : choisissez-en un dans la liste."));
  EXPECT_EQ(ReadBytes(kInterfaceSettingsFile), "COM1\t1\tZarvoOrix\r\n");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(InterfaceDialogTest, AFileThatCannotBeWrittenIsReported) {
  Open("COM1\t1\tZarvoOrix\r\n");
  AnswerIdentify(IdentifyAnswer(kOrixKindWired, 1));
  BeginInterfaceConnect(model, 0, port);
  FinishInterfaceConnect(model, 0, port, clock, boxes, "no-such-folder/settings.rg");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_INTERFACE_FILE_MISSING);
  EXPECT_EQ(model.connected, 1);
}

}  // namespace
}  // namespace zarvo
