// A whole run in real time: the decoder simulator plays a wired Orix decoder with four cars on a
// pseudo-terminal; race control, driven by a 10 ms tick, starts the run through the decoder's
// handshake, times the laps until every car has driven the lap target, and at the end the runs
// are in the drivers' runs databases and the new lap record in the circuits database.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "app/race_links.h"
#include "app/session_controller.h"
#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "databases/runs_database.h"
#include "decoder/decoder_link.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/serial_port.h"
#include "race/race_control.h"
#include "tests/integration/child_process.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/temp_folder.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

constexpr const char* kDrivers[4] = {"ANNA", "BRUNO", "CHLOE", "DAVID"};
constexpr const char* kTransponders[4] = {"001001", "001002", "001003", "001004"};
constexpr int kLapTarget = 3;

class RealTimeRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDirectory("Base données runs"));
    for (const char* name : kDrivers) {
      ASSERT_TRUE(CreateRunsDatabase(name));
      ASSERT_EQ(SetArchivingFlag(RunsDatabasePath(name).c_str(), true), RunsFileResult::kDone);
    }
    CircuitTable circuits = {};
    SetText(circuits.records[0].name, "Moulin");
    SetText(circuits.records[0].minimumLapTime, "2");
    circuits.records[0].recordLap = 9000;
    SetText(circuits.records[0].recordLapText, "9.000");
    SetText(circuits.records[0].recordHolder, "OLD RECORD");
    ASSERT_TRUE(WriteCircuits(circuits));
    ASSERT_TRUE(WriteFileReplacing(kInterfaceSettingsFile, "COM1\t1\tZarvoOrix\r\n"));
  }
  void TearDown() override {
    if (HasFailure()) std::printf("--- simulator output\n%s---\n", simulator.Log().c_str());
    simulator.Stop();
  }

  TempFolder folder;
  ChildProcess simulator;
};

TEST_F(RealTimeRun, FourOrixCarsDriveALapRunIntoTheRunsAndCircuitsDatabases) {
  ASSERT_TRUE(simulator.Start({ZARVO_SIMULATOR, "--verbose", "--pty", folder.File("com1"),
                               "--mode", "orix", "--id", "31", "--refuse-start", "1",
                               "--transponders", "1001-1004", "--lap", "3000-4000",
                               "--stagger", "300", "--laps", "6"},
                              folder.File("simulator.log")));
  for (int waited = 0; waited < 5000 && simulator.Log().find("line open") == std::string::npos;
       waited += 10) {
    SystemClock().Sleep(10);
  }

  // The program's objects, as the main window holds them.
  auto race = std::make_unique<Race>();
  std::memset(race.get(), 0, sizeof(Race));
  auto circuits = std::make_unique<CircuitTable>();
  ASSERT_TRUE(ReadCircuits(*circuits));
  SoundSettings sounds = {};
  ParticipantsList list = {};
  for (int s = 0; s < kSlotCount; ++s) {
    ParticipantEntry& entry = list.entries[s];
    SetText(entry.driverName, s < 4 ? kDrivers[s] : kNoDriver);
    if (s < 4) SetText(entry.transponder, kTransponders[s]);
    SetText(race->slots[s].driverName, entry.driverName);
    SetText(race->slots[s].transponder, entry.transponder);
  }
  SetDefaultRaceParameters(race->params);
  SetText(race->params.durationMode, kDurationLaps);
  race->params.lapTarget = kLapTarget;
  race->params.countdownSeconds = 1;
  race->params.circuitIndex = 0;
  ResetTable(*race);
  RebuildStandings(*race);
  RebuildRows(*race);
  race->run.ready = true;

  Clock& clock = SystemClock();
  std::unique_ptr<SerialPort> port = MakePosixSerialPort(folder.path());
  testing::RecordingMessageBoxes boxes;
  DecoderLink link(clock, *port, boxes);
  const IdentifyResult identified = link.IdentifyAtStartUp();
  ASSERT_EQ(identified.outcome, IdentifyOutcome::kOrixWired);
  EXPECT_EQ(identified.decoderId, 31);

  testing::RecordingSoundPlayer player;
  testing::RecordingRaceUi ui(race.get());
  DecoderLinkChannel channel(link);
  SessionState session = {};
  const char caption[] = " SEANCE TRAINING - Run1 ";
  const char circuitName[] = "Moulin";
  SetText(session.runCaption, caption);
  SetText(session.track.circuitName, circuitName);
  CircuitsFileGuard circuitsFile;
  SessionRunArchive archive(session, boxes, circuitsFile);
  RaceControl control(RaceControlWorld{*race, *circuits, sounds, list, clock, player, boxes, ui,
                                       channel, archive});
  control.PrepareClockTexts();

  // The 10 ms timer: a first tick, "Start", then ticks until the run has ended by itself.
  control.OnTick();
  control.OnStart();
  const uint32_t begin = clock.TickCount();
  uint32_t next = begin;
  bool started = false;
  while (clock.TickCount() - begin < 40000) {
    control.OnTick();
    started = started || race->run.raceRunning;
    if (started && !race->run.raceRunning) break;
    next += 10;
    const int32_t wait = static_cast<int32_t>(next - clock.TickCount());
    if (wait > 0) clock.Sleep(static_cast<uint32_t>(wait));
  }
  ASSERT_TRUE(started) << "the decoder acknowledged the second start request";
  ASSERT_FALSE(race->run.raceRunning) << "the run ended when every car had driven its laps";
  EXPECT_NE(simulator.Log().find("sent start refusal"), std::string::npos);

  // Every driver's run is in his runs database, with its laps and the time of each (the archive
  // keeps the passage times; the best lap is the shortest of them).
  int32_t bestOfRun = kNoRunBest;
  std::string bestDriver;
  for (int s = 0; s < 4; ++s) {
    const std::string path = RunsDatabasePath(kDrivers[s]);
    RunsListing listing;
    ASSERT_EQ(ListRuns(path.c_str(), listing), RunsFileResult::kDone) << kDrivers[s];
    ASSERT_EQ(listing.entries.size(), 2u) << kDrivers[s];
    EXPECT_EQ(listing.entries[1], race->run.runTitle);
    ArchivedRun archived;
    ASSERT_EQ(ReadRun(path.c_str(), race->run.runTitle, archived, boxes), RunsFileResult::kDone);
    const ParticipantRecord& p = archived.participant;
    EXPECT_EQ(p.lapCount, kLapTarget) << kDrivers[s];
    EXPECT_STREQ(archived.runCaption, caption);
    EXPECT_STREQ(archived.trackName, circuitName);
    for (int lap = 1; lap <= kLapTarget; ++lap) {
      const int32_t lapTime = p.passageTimes[lap] - p.passageTimes[lap - 1];
      EXPECT_GE(lapTime, 2900) << kDrivers[s] << " lap " << lap;
      EXPECT_LE(lapTime, 4100) << kDrivers[s] << " lap " << lap;
      if (lapTime < bestOfRun) {
        bestOfRun = lapTime;
        bestDriver = kDrivers[s];
      }
    }
  }

  // The run's best lap is the circuit's new record, written to the circuits database.
  CircuitTable stored = {};
  ASSERT_TRUE(ReadCircuits(stored));
  EXPECT_EQ(stored.records[0].recordLap, bestOfRun);
  EXPECT_EQ(std::string(stored.records[0].recordHolder), bestDriver);
  EXPECT_TRUE(boxes.shown.size() == 1u) << "only the identification message";
}

}  // namespace
}  // namespace zarvo
