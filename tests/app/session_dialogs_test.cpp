// What the track, participants list and race parameters dialogs decide: what they read when they
// open, the rules of their boxes and buttons, and what they write on confirm.
#include "app/session_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/session_controller.h"
#include "databases/database_files.h"
#include "platform/files.h"
#include "session/session_file.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_folder.h"
#include "text/catalogue.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

class SessionDialogsTest : public ::testing::Test {
 protected:
  SessionDialogsTest() { CreateWorkingCopy("SEANCE TRAINING", boxes); }

  static void WriteCircuitsFile() {
    // name, length, record text, record, holder, minimum lap time, location, image
    WriteBytes(kCircuitsFile,
               "Oval\t120\t\t0\t\t1\tLyon\t\t\r\n"
               "Ring\t250\t18.250\t18250\tANNA\t7\tNantes\t\t\r\n");
  }
  static void WriteDriversFile() {
    // name, nine address and contact fields, transponder, an empty field, photo
    const std::string nine = "\t\t\t\t\t\t\t\t\t";
    WriteBytes(kDriversFile, "ANNA\t" + nine + "000001\t\t\t\r\n" +       //
                                 "BRUNO\t" + nine + "000002\t\t\t\r\n" +  //
                                 "CLARA\t" + nine + "000003\t\t\t\r\n" +  //
                                 "DORA\t" + nine + "000004\t\t\t\r\n");
  }
  SessionTrack FileTrack() {
    SessionTrack track = DefaultSessionTrack();
    EXPECT_EQ(ReadSessionTrack(track, boxes), SectionRead::kRead);
    return track;
  }
  std::unique_ptr<ParticipantsDialogModel> OpenParticipants() {
    auto model = std::make_unique<ParticipantsDialogModel>();
    OpenParticipantsModel(*model, boxes);
    return model;
  }
  std::vector<std::string> Names(const ParticipantsDialogModel& model) {
    std::vector<std::string> names;
    for (int k = 0; k < model.participantCount; ++k) {
      names.push_back(model.list.entries[k].driverName);
    }
    return names;
  }

  testing::TempFolder folder;
  testing::RecordingMessageBoxes boxes;
};

// ---- Track dialog.

TEST_F(SessionDialogsTest, TrackOpensOnTheSessionCircuitWithItsMinimumLapTime) {
  WriteCircuitsFile();
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, "Sunday");
  SetText(track.circuitName, "Ring");
  track.minimumLapSeconds = 5;
  WriteSessionTrack(track, boxes);

  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  EXPECT_EQ(model->circuitCount, 2);
  EXPECT_EQ(model->selectedCircuit, 1);
  EXPECT_STREQ(model->track.label, "Sunday");
  EXPECT_STREQ(model->minimumLapText, "5");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SessionDialogsTest, ACircuitRemovedFromTheDatabaseIsClearedAndConfirmedEmpty) {
  WriteCircuitsFile();
  SessionTrack track = DefaultSessionTrack();
  SetText(track.circuitName, "Gone");
  track.minimumLapSeconds = 4;
  WriteSessionTrack(track, boxes);

  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  EXPECT_EQ(model->selectedCircuit, -1);
  EXPECT_STREQ(model->track.circuitName, "");
  ASSERT_TRUE(ConfirmTrack(*model, boxes));
  EXPECT_STREQ(FileTrack().circuitName, "");
  EXPECT_EQ(FileTrack().minimumLapSeconds, 4);
}

TEST_F(SessionDialogsTest, ChoosingACircuitTakesItsMinimumLapTime) {
  WriteCircuitsFile();
  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  EXPECT_STREQ(model->minimumLapText, "2");
  TrackCircuitChosen(*model, 1);
  EXPECT_STREQ(model->track.circuitName, "Ring");
  EXPECT_STREQ(model->minimumLapText, "7");
  TrackCircuitChosen(*model, 0);  // the oval's own time is 1 s: below the floor
  EXPECT_EQ(model->track.minimumLapSeconds, 2);
  ConfirmTrack(*model, boxes);
  EXPECT_STREQ(FileTrack().circuitName, "Oval");
}

TEST_F(SessionDialogsTest, AMinimumLapTimeOfOneOrLessOrNoNumberIsTwoSeconds) {
  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  for (const char* typed : {"0", "1", "", "x", "01"}) {
    TrackMinimumLapTyped(*model, typed);
    EXPECT_EQ(model->track.minimumLapSeconds, 2) << typed;
  }
  TrackMinimumLapTyped(*model, "15");
  EXPECT_EQ(model->track.minimumLapSeconds, 15);
  TrackMinimumLapTyped(*model, "1234");  // the box holds three digits
  EXPECT_EQ(model->track.minimumLapSeconds, 123);
  ConfirmTrack(*model, boxes);
  EXPECT_EQ(FileTrack().minimumLapSeconds, 123);
}

TEST_F(SessionDialogsTest, ALabelHoldingTheWordSessionIsClearedButLowerCaseIsAccepted) {
  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  EXPECT_FALSE(TrackLabelTyped(*model, "My Sessio"));
  EXPECT_STREQ(model->track.label, "My Sessio");
  EXPECT_TRUE(TrackLabelTyped(*model, "My Session"));
  EXPECT_STREQ(model->track.label, "");
  EXPECT_FALSE(TrackLabelTyped(*model, "my session"));
  EXPECT_STREQ(model->track.label, "my session");
  EXPECT_FALSE(TrackLabelTyped(*model, std::string(60, 'a').c_str()));
  EXPECT_EQ(std::strlen(model->track.label), 48u);
}

TEST_F(SessionDialogsTest, TrackReportsAMissingCircuitsDatabaseAndWorkingCopy) {
  RemoveFile(kWorkingCopyPath);
  auto model = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*model, boxes);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].text, TXT_CIRCUITS_FILE_NOT_FOUND);
  EXPECT_EQ(boxes.shown[1].text, TXT_SESSION_FILE_NOT_FOUND);
  EXPECT_EQ(model->circuitCount, 0);
}

// ---- Participants list dialog.

TEST_F(SessionDialogsTest, AddingADriverCopiesHisTransponderAndLeavesNoFrequency) {
  WriteDriversFile();
  auto model = OpenParticipants();
  EXPECT_EQ(model->driverCount, 4);
  EXPECT_EQ(model->participantCount, 0);
  ASSERT_TRUE(AddParticipant(*model, 1));
  const ParticipantEntry& entry = model->list.entries[0];
  EXPECT_STREQ(entry.driverName, "BRUNO");
  EXPECT_STREQ(entry.transponder, "000002");
  for (const auto& frequency : entry.frequencies) EXPECT_STREQ(frequency, "");
  EXPECT_EQ(model->header.participantCount, 1);
}

TEST_F(SessionDialogsTest, ADriverAlreadyInTheListOrATwentyFirstIsNotAdded) {
  WriteDriversFile();
  auto model = OpenParticipants();
  EXPECT_TRUE(AddParticipant(*model, 0));
  EXPECT_FALSE(AddParticipant(*model, 0));
  EXPECT_FALSE(AddParticipant(*model, -1));  // nothing selected
  for (int k = 1; k < kSlotCount; ++k) {
    SetText(model->list.entries[k].driverName, ("D" + std::to_string(k)).c_str());
  }
  model->participantCount = kSlotCount;
  EXPECT_FALSE(AddParticipant(*model, 2));
  EXPECT_EQ(model->participantCount, kSlotCount);
}

// An older drivers file may name one driver twice in accented cases: one runs database file.
TEST_F(SessionDialogsTest, TwoNamesOfOneRunsDatabaseFileAreNotBothAdded) {
  WriteBytes(kDriversFile, "ÉRIC\t\r\néric\t\r\nERIC\t\r\n");
  auto model = OpenParticipants();
  EXPECT_TRUE(AddParticipant(*model, 0));
  EXPECT_FALSE(AddParticipant(*model, 1));
  EXPECT_TRUE(AddParticipant(*model, 2));  // no accent: another file
}

TEST_F(SessionDialogsTest, ADatabaseNameThatWouldBreakTheSessionFileIsNotAdded) {
  WriteBytes(kDriversFile, "SessionPiste\t\r\n(NA)\t\r\nANNA\t\r\n");
  auto model = OpenParticipants();
  EXPECT_FALSE(AddParticipant(*model, 0));
  EXPECT_FALSE(AddParticipant(*model, 1));
  EXPECT_TRUE(AddParticipant(*model, 2));
}

TEST_F(SessionDialogsTest, RemovingTheSecondOfThreeKeepsTheOthersInOrder) {
  WriteDriversFile();
  auto model = OpenParticipants();
  AddParticipant(*model, 0);
  AddParticipant(*model, 1);
  AddParticipant(*model, 2);
  SetText(model->list.entries[2].frequencies[0], "27.145");
  ASSERT_TRUE(RemoveParticipant(*model, 1));
  EXPECT_EQ(Names(*model), (std::vector<std::string>{"ANNA", "CLARA"}));
  EXPECT_STREQ(model->list.entries[1].frequencies[0], "27.145");
  EXPECT_STREQ(model->list.entries[2].driverName, kNoDriver);
  EXPECT_STREQ(model->list.entries[19].driverName, kNoDriver);
  EXPECT_EQ(model->header.participantCount, 2);
  EXPECT_FALSE(RemoveParticipant(*model, 5));
}

TEST_F(SessionDialogsTest, ValidateWritesTheCountAndTheListAndReopensTheSame) {
  WriteDriversFile();
  auto model = OpenParticipants();
  AddParticipant(*model, 3);
  AddParticipant(*model, 0);
  ASSERT_TRUE(ConfirmParticipants(*model, boxes));
  SessionHeader header;
  ReadSessionHeader(header, boxes);
  EXPECT_EQ(header.participantCount, 2);
  EXPECT_STREQ(header.sessionName, "SEANCE TRAINING");
  auto reopened = OpenParticipants();
  EXPECT_EQ(Names(*reopened), (std::vector<std::string>{"DORA", "ANNA"}));
  EXPECT_TRUE(reopened->removeAllowed);
}

TEST_F(SessionDialogsTest, OnceARunIsRecordedParticipantsCanOnlyBeAdded) {
  WriteDriversFile();
  auto model = OpenParticipants();
  AddParticipant(*model, 0);
  ConfirmParticipants(*model, boxes);
  SessionHeader header;
  ReadSessionHeader(header, boxes);
  header.runsRecorded = true;
  WriteSessionHeader(header, boxes);

  auto reopened = OpenParticipants();
  EXPECT_FALSE(reopened->removeAllowed);
  EXPECT_FALSE(RemoveParticipant(*reopened, 0));
  EXPECT_TRUE(AddParticipant(*reopened, 1));
  EXPECT_EQ(reopened->participantCount, 2);
}

TEST_F(SessionDialogsTest, ParticipantsReportAMissingDriversDatabase) {
  auto model = OpenParticipants();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_DRIVERS_FILE_NOT_FOUND);
  EXPECT_EQ(model->driverCount, 0);
}

// ---- Race parameters dialog.

TEST_F(SessionDialogsTest, MinutesAndLapsAreHeldToTheirRange) {
  RaceParametersDialogModel model;
  OpenRaceParametersModel(model, boxes);
  TypedNumber typed = DurationMinutesTyped(model, "900");
  EXPECT_EQ(typed.value, 720);
  EXPECT_TRUE(typed.rewriteBox);
  EXPECT_EQ(model.params.durationHours, 12);
  typed = DurationMinutesTyped(model, "0");
  EXPECT_EQ(model.params.durationMinutes, 1);
  EXPECT_FALSE(typed.rewriteBox);  // the box keeps the 0
  DurationMinutesTyped(model, "9a");
  EXPECT_EQ(model.params.durationMinutes, 1);
  DurationMinutesTyped(model, "95");
  EXPECT_EQ(model.params.durationMinutesPart, 35);

  typed = LapTargetTyped(model, "0");
  EXPECT_EQ(model.params.lapTarget, 1);
  EXPECT_FALSE(typed.rewriteBox);
  LapTargetTyped(model, "999");
  EXPECT_EQ(model.params.lapTarget, 999);
}

TEST_F(SessionDialogsTest, ACountdownAbove3600IsShownAs3600AndZeroIsAllowed) {
  RaceParametersDialogModel model;
  OpenRaceParametersModel(model, boxes);
  TypedNumber typed = CountdownTyped(model, "5000");
  EXPECT_EQ(typed.value, 3600);
  EXPECT_TRUE(typed.rewriteBox);
  typed = CountdownTyped(model, "0");
  EXPECT_EQ(model.params.countdownSeconds, 0);
  EXPECT_FALSE(typed.rewriteBox);
}

TEST_F(SessionDialogsTest, ParametersOpenOnTheDefaultsAndValidateWritesTheEightValues) {
  RaceParametersDialogModel model;
  OpenRaceParametersModel(model, boxes);
  EXPECT_STREQ(model.params.classificationKey, kRankLapsAndTime);
  EXPECT_EQ(DurationControlsOf(model.params), DurationControls::kMinutes);
  EXPECT_EQ(model.params.durationMinutes, 1);
  EXPECT_EQ(model.params.countdownSeconds, 5);
  EXPECT_TRUE(boxes.shown.empty());
  SetText(model.params.classificationKey, kRankBestLap);
  SetText(model.params.durationMode, kDurationLaps);
  LapTargetTyped(model, "25");
  CountdownTyped(model, "10");
  ASSERT_TRUE(ConfirmRaceParameters(model, boxes));

  RaceParametersDialogModel reopened;
  OpenRaceParametersModel(reopened, boxes);
  EXPECT_STREQ(reopened.params.classificationKey, kRankBestLap);
  EXPECT_EQ(DurationControlsOf(reopened.params), DurationControls::kLaps);
  EXPECT_EQ(reopened.params.lapTarget, 25);
  EXPECT_EQ(reopened.params.countdownSeconds, 10);
  EXPECT_STREQ(reopened.params.startMode, kStartStaggered);
}

TEST_F(SessionDialogsTest, AnUnknownDurationModeLeavesTheTemplateAsItIs) {
  RaceParameters params;
  SetDefaultRaceParameters(params);
  SetText(params.durationMode, "DUREESERIEAutre");
  EXPECT_EQ(DurationControlsOf(params), DurationControls::kAsTemplate);
}

// Opening a dialog and leaving it without confirming changes no byte of the working copy.
TEST_F(SessionDialogsTest, OpeningTheDialogsWritesNothing) {
  WriteCircuitsFile();
  WriteDriversFile();
  const std::string before = ReadBytes(kWorkingCopyPath);
  auto track = std::make_unique<TrackDialogModel>();
  OpenTrackModel(*track, boxes);
  TrackLabelTyped(*track, "typed");
  auto participants = OpenParticipants();
  AddParticipant(*participants, 0);
  RaceParametersDialogModel parameters;
  OpenRaceParametersModel(parameters, boxes);
  CountdownTyped(parameters, "30");
  EXPECT_EQ(ReadBytes(kWorkingCopyPath), before);
}

}  // namespace
}  // namespace zarvo
