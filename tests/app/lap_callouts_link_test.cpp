// The lap callouts in the program at simulated time: race control's laps reach the callouts with
// their lane, time, best lap and position; the tick hands them to a voice one after another; the
// announcements' cues hold them back; nothing is said before the start, during the scan and its
// check or after the end; the voices open only once the callouts are on; the record of a test run.
#include "app/lap_callouts_link.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "race/race_control.h"
#include "resources/resource_ids.h"
#include "tests/support/callout_fakes.h"
#include "tests/support/fakes.h"
#include "tests/support/race_fakes.h"
#include "tests/support/speech_fakes.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_race.h"
#include "text/catalogue.h"
#include "text/edition.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::FakePcmPlayer;
using testing::FakeSpeechVoice;
using testing::ReadBytes;
using testing::Wav16;
using testing::WriteBytes;

using FakeVoices = testing::FakeCalloutVoices;

// A WAV file of ms milliseconds of silence (mono, 16 bits, 8 kHz).
std::string SilenceMs(int ms) {
  return Wav16(std::vector<int16_t>(size_t(ms) * 8, 0), 8000);
}

const char kCalloutsOn[] =
    "ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSnon\r\nANNONCEPOSITIONoui\r\n";

class CalloutsInTheProgram : public ::testing::Test {
 protected:
  // A 5-minute staggered time run of three drivers, ready to start (countdown off), every sound
  // on; race control plays its cues through the callouts, as the program sets it up.
  void Setup(const char* settingsFile) {
    if (settingsFile != nullptr) WriteBytes(kCalloutSettingsFile, settingsFile);
    race = testing::MakeRace({{"ANNA", "000001"}, {"Éric", "000002"}, {"CLARA", "000003"}});
    std::memset(&race->run, 0, sizeof race->run);
    race->run.ready = true;
    race->params.durationMinutes = 5;
    race->params.countdownSeconds = 0;
    SplitDuration(race->params);
    circuits = std::make_unique<CircuitTable>();
    std::memset(circuits.get(), 0, sizeof(CircuitTable));
    sounds = testing::AllSoundsOn();
    list = std::make_unique<ParticipantsList>();
    std::memset(list.get(), 0, sizeof(ParticipantsList));
    ui = std::make_unique<testing::RecordingRaceUi>();
    link = std::make_unique<LapCalloutsLink>(race->run, clock, player);
    link->SetVoiceMaker(voices);
    link->StartUp(boxes);
    control = std::make_unique<RaceControl>(RaceControlWorld{
        *race, *circuits, sounds, *list, clock, link->CuePlayer(), boxes, *ui, decoder, archive});
    control->SetLapListener(link.get());
    control->PrepareClockTexts();
  }
  // One tick of timer 1 as the program runs it.
  void Tick() {
    clock.Advance(10);
    control->OnTick();
    link->Tick();
  }
  void RunFor(int ms) {
    for (int t = 0; t < ms; t += 10) Tick();
  }
  void RunUntil(int32_t raceTime) {
    while (RaceTime() < raceTime) Tick();
  }
  void Start() {
    control->OnStart();
    for (int i = 0; i < 100 && !race->run.raceRunning; ++i) Tick();
    ASSERT_TRUE(race->run.raceRunning);
    RunFor(1000);  // the cars reach the line (a crossing at race time 0 starts no clock)
  }
  int32_t RaceTime() { return int32_t(clock.TickCount() - race->run.raceStartTick); }
  // A passage at the current race time, read on the next tick.
  void Pass(const char* transponder) {
    decoder.QueueDecoderPassage(transponder, RaceTime());
    Tick();
  }

  testing::TempFolder folder;
  std::unique_ptr<Race> race;
  std::unique_ptr<CircuitTable> circuits;
  SoundSettings sounds;
  std::unique_ptr<ParticipantsList> list;
  testing::FakeClock clock;
  testing::RecordingSoundPlayer player;
  testing::RecordingMessageBoxes boxes;
  std::unique_ptr<testing::RecordingRaceUi> ui;
  testing::ScriptedDecoder decoder;
  testing::RecordingArchive archive;
  FakeVoices voices;
  std::unique_ptr<LapCalloutsLink> link;
  std::unique_ptr<RaceControl> control;
};

TEST_F(CalloutsInTheProgram, EachLapOfTheRunIsSaidWithItsTimeBestLapAndPositionInTurn) {
  Setup(kCalloutsOn);
  ASSERT_NE(voices.speech, nullptr);
  Start();
  // Each driver's first crossing starts his own clock: nothing to say yet.
  const int32_t anna = RaceTime();
  Pass("000001");
  const int32_t eric = RaceTime();
  Pass("000002");
  RunFor(500);
  EXPECT_TRUE(voices.speech->said.empty());
  EXPECT_EQ(link->callouts().counts().queued, 0);
  // ANNA's first lap, in the lead.
  RunUntil(anna + 21350);
  Pass("000001");
  RunFor(200);
  ASSERT_EQ(voices.speech->said.size(), 1u);
  EXPECT_EQ(voices.speech->said[0], ZT("ANNA, 21.35, first", "ANNA, 21,35, premier"));
  // Éric crosses while ANNA's callout is being said: his waits for the voice.
  RunUntil(eric + 21550);
  Pass("000002");
  RunFor(500);
  EXPECT_EQ(voices.speech->said.size(), 1u);
  EXPECT_EQ(link->callouts().Waiting(), 1);
  voices.speech->Finish();
  RunFor(200);
  ASSERT_EQ(voices.speech->said.size(), 2u);
  EXPECT_EQ(voices.speech->said[1], ZT("Éric, 21.55, second", "Éric, 21,55, deuxième"));
  voices.speech->Finish();
  // ANNA's second lap, quicker: a best lap.
  RunUntil(anna + 21350 + 20020);
  Pass("000001");
  RunFor(200);
  ASSERT_EQ(voices.speech->said.size(), 3u);
  EXPECT_EQ(voices.speech->said[2],
            ZT("ANNA, 20.02, best lap, first", "ANNA, 20,02, meilleur tour, premier"));
}

// With "only best laps", a common start calls out the laps that beat the driver's earlier ones
// (passage processing keeps a best lap only in a staggered start; the callouts take it from his
// laps in either kind of start).
TEST_F(CalloutsInTheProgram, OnlyBestLapsAreSaidInACommonStartToo) {
  Setup("ANNONCETOURSoui\r\nANNONCEMEILLEURSTOURSSEULSoui\r\nANNONCEPOSITIONnon\r\n");
  std::strcpy(race->params.startMode, "DEPARTGroupe");
  ASSERT_FALSE(IsStaggeredStart(race->params));
  ASSERT_NE(voices.speech, nullptr);
  Start();
  // Laps of 22, 21, 21.5, 20 and 20 s from the common start: the 2nd and 4th are new bests.
  int32_t at = 0;
  for (int32_t lap : {22000, 21000, 21500, 20000, 20000}) {
    at += lap;
    RunUntil(at);
    Pass("000001");
    RunFor(200);
    if (voices.speech->Speaking()) voices.speech->Finish();
  }
  ASSERT_EQ(race->slots[0].lapCount, 5);
  ASSERT_EQ(voices.speech->said.size(), 2u);
  EXPECT_EQ(voices.speech->said[0], ZT("ANNA, 21.00, best lap", "ANNA, 21,00, meilleur tour"));
  EXPECT_EQ(voices.speech->said[1], ZT("ANNA, 20.00, best lap", "ANNA, 20,00, meilleur tour"));
}

TEST_F(CalloutsInTheProgram, ACueThatPlaysHoldsTheCalloutUntilItHasEnded) {
  MakeDirectory("sons");
  WriteBytes("sons/beep1.wav", SilenceMs(600));  // the passage's cue
  Setup(kCalloutsOn);
  Start();
  Pass("000001");
  RunFor(21000);
  Pass("000001");  // a lap: the passage cue starts now, with its callout queued
  ASSERT_FALSE(player.played.empty());
  EXPECT_EQ(player.played.back().file, "sons/beep1.wav");
  RunFor(600);
  EXPECT_TRUE(voices.speech->said.empty()) << "said over the cue";
  RunFor(200);  // the cue's 600 ms and the margin have passed
  EXPECT_EQ(voices.speech->said.size(), 1u);
}

TEST_F(CalloutsInTheProgram, NothingIsSaidDuringTheScanAndItsCheckNorAfterTheEnd) {
  Setup(kCalloutsOn);
  control->OnMixedScan();
  control->OnScan(true);
  for (const char* t : {"000007", "000008", "000009"}) {
    RunFor(500);
    decoder.QueueDecoderPassage(t, 0);
    Tick();
  }
  ASSERT_TRUE(race->run.checkPhase);
  // The check records a lap of each car as it crosses: none is called out.
  for (const char* t : {"000007", "000008", "000009"}) {
    RunFor(3000);
    decoder.QueueDecoderPassage(t, 0);
    Tick();
  }
  ASSERT_FALSE(race->run.scanActive);
  EXPECT_GE(race->slots[0].lapCount, 1) << "the check recorded laps";
  RunFor(500);
  EXPECT_EQ(link->callouts().counts().queued, 0);
  EXPECT_TRUE(voices.speech->said.empty());
}

TEST_F(CalloutsInTheProgram, TheEndSilencesTheVoiceAndDropsWhatWaits) {
  Setup(kCalloutsOn);
  Start();
  Pass("000001");
  Pass("000002");
  RunFor(21000);
  Pass("000001");
  Pass("000002");
  RunFor(200);
  ASSERT_EQ(voices.speech->said.size(), 1u);
  ASSERT_EQ(link->callouts().Waiting(), 1);
  const int stopsBefore = voices.speech->stops;
  control->OnStop();
  Tick();
  EXPECT_EQ(link->callouts().Waiting(), 0);
  EXPECT_GT(voices.speech->stops, stopsBefore) << "the callout being said is cut short";
  voices.speech->Finish();
  RunFor(1000);
  EXPECT_EQ(voices.speech->said.size(), 1u);
  // A passage after the end is timed by nothing and said by nothing.
  decoder.QueueDecoderPassage("000003", 30000);
  RunFor(500);
  EXPECT_EQ(voices.speech->said.size(), 1u);
}

TEST_F(CalloutsInTheProgram, WithoutASpeechVoiceTheBuiltInVoiceSaysTheLane) {
  voices.speechStatus = VoiceStatus::kUnavailable;
  Setup(kCalloutsOn);
  Start();
  Pass("000002");
  RunFor(21000);
  Pass("000002");
  RunFor(200);
  ASSERT_NE(voices.output, nullptr);
  EXPECT_EQ(voices.output->played.size(), 1u);
  EXPECT_TRUE(voices.speech->said.empty());
  EXPECT_EQ(link->callouts().counts().said, 1);
}

// The same run on race control with the system's player itself, and through the callouts (on or
// off): every cue plays alike, in the same order.
TEST_F(CalloutsInTheProgram, TheCuesPlayExactlyAsWithoutCallouts) {
  std::vector<std::string> runs[3];
  for (int kind = 0; kind < 3; ++kind) {
    player.played.clear();
    Setup(kind == 2 ? kCalloutsOn : nullptr);
    if (kind == 0) {  // race control on the player itself
      control = std::make_unique<RaceControl>(RaceControlWorld{
          *race, *circuits, sounds, *list, clock, player, boxes, *ui, decoder, archive});
      control->PrepareClockTexts();
    }
    Start();
    Pass("000001");
    Pass("000002");
    RunFor(21000);
    Pass("000001");
    Pass("000002");
    RunFor(19000);
    Pass("000001");  // a best lap
    RunFor(2000);
    control->OnStop();
    RunFor(100);
    for (const auto& p : player.played) runs[kind].push_back(p.file + (p.wait ? " wait" : ""));
  }
  EXPECT_GE(runs[0].size(), 6u);
  EXPECT_EQ(runs[1], runs[0]) << "callouts off";
  EXPECT_EQ(runs[2], runs[0]) << "callouts on";
  EXPECT_GE(link->callouts().counts().queued, 3);
}

TEST_F(CalloutsInTheProgram, OffByDefaultNoVoiceOpensUntilTheyAreTurnedOn) {
  Setup(nullptr);  // no settings file
  EXPECT_FALSE(link->VoicesOpen());
  EXPECT_EQ(voices.speechOpened + voices.outputOpened + voices.snippetLoads, 0);
  EXPECT_TRUE(boxes.shown.empty()) << "a missing file is no error";
  Start();
  Pass("000001");
  RunFor(21000);
  Pass("000001");
  RunFor(3000);
  EXPECT_EQ(link->callouts().counts().queued, 0);
  // Turned on later (the dialog's file), the voices open once.
  WriteBytes(kCalloutSettingsFile, kCalloutsOn);
  EXPECT_EQ(link->LoadSettings(), CalloutFileRead::kRead);
  link->LoadSettings();
  EXPECT_TRUE(link->VoicesOpen());
  EXPECT_EQ(voices.speechOpened, 1);
  EXPECT_EQ(voices.outputOpened, 1);
  EXPECT_EQ(voices.snippetLoads, 1);
}

TEST_F(CalloutsInTheProgram, ADamagedSettingsFileIsReportedAtStartUpAndLeavesTheCalloutsOff) {
  Setup("ANNONCETOURSoui\r\n");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, TXT_CALLOUT_SETTINGS_DAMAGED);
  EXPECT_FALSE(link->settings().announceLaps);
  EXPECT_FALSE(link->VoicesOpen());
}

TEST_F(CalloutsInTheProgram, RaceControlLocksTheItemDuringARun) {
  Setup(nullptr);
  control->OnStart();
  EXPECT_FALSE(ui->menuEnabled.at(IDM_LAP_CALLOUTS));
  Tick();
  control->OnStop();
  EXPECT_TRUE(ui->menuEnabled.at(IDM_LAP_CALLOUTS));
}

// ---- The record of a test run.

TEST(CalloutRecord, ALineGivesTheLaneTheLapAndTheSnippetsByTheirFileNames) {
  SnippetSequence sequence;
  ASSERT_TRUE(LapPhraseSnippets(MakeLapEvent(3, "", 21350, 4, true, 2), true, sequence));
  EXPECT_EQ(
      CalloutLogLine(1500, MakeLapEvent(3, "", 21350, 4, true, 2), CalloutVoice::kBuiltIn, sequence,
                     ""),
      ZT("1500\t3\t4\tbuiltin\tligneGB 3GB | 21GB virguleGB 3GB 5GB | meilleurTourGB | rang2GB",
         "1500\t3\t4\tbuiltin\tligne 3 | 21 virgule 35 | meilleurTour | rang2"));
  SnippetSequence none;
  none.count = 0;
  EXPECT_EQ(CalloutLogLine(20, MakeLapEvent(1, "Zoë", 61000, 2, false, 0), CalloutVoice::kSpeech,
                           none, "Zoë, 1:01"),
            "20\t1\t2\tspeech\tZoë, 1:01");
}

TEST(CalloutRecord, EachCalloutSaidIsOneLineOfTheFileTimedFromItsStart) {
  testing::TempFolder folder;
  testing::FakeClock clock;
  CalloutSettings settings;
  settings.announceLaps = true;
  FakeSpeechVoice speech;
  speech.status = VoiceStatus::kUnavailable;
  FakePcmPlayer output;
  SnippetBank bank;
  for (int id = 0; id < kSnippetCount; ++id) bank.Set(SnippetId(id), Wav16({7, 7}));
  LapCallouts callouts(settings, speech, output, bank);
  {
    CalloutLog log(clock, "callouts.log");
    callouts.SetRecorder(&log);
    callouts.SetRunTimed(true);
    clock.Advance(250);
    callouts.Lap(clock.TickCount(), MakeLapEvent(5, "", 9070, 2, false, 1));
    callouts.Tick(clock.TickCount());
    output.Finish();
    clock.Advance(1000);
    callouts.Lap(clock.TickCount(), MakeLapEvent(12, "", 10000, 3, false, 2));
    callouts.Tick(clock.TickCount());
    log.Flush();
    EXPECT_EQ(log.LinesLeftOut(), 0);
  }
  const std::string lines = ReadBytes("callouts.log");
  EXPECT_EQ(lines, ZT("# at_ms\tlane\tlap\tvoice\tsaid\r\n"
                      "250\t5\t2\tbuiltin\tligneGB 5GB | 9GB virguleGB 0GB 7GB\r\n"
                      "1250\t12\t3\tbuiltin\tligneGB 12GB | 10GB virguleGB 0GB 0GB\r\n",
                      "# at_ms\tlane\tlap\tvoice\tsaid\r\n"
                      "250\t5\t2\tbuiltin\tligne 5 | 9 virgule 0 7\r\n"
                      "1250\t12\t3\tbuiltin\tligne 12 | 10 virgule 0 0\r\n"));
}

TEST(CalloutRecord, TheRecordedOutputPlaysForTheSoundsLengthWithOrWithoutADevice) {
  testing::FakeClock clock;
  auto device = std::make_unique<FakePcmPlayer>();
  FakePcmPlayer* fake = device.get();
  TimedPcmOutput output(clock, std::move(device));
  PcmSound sound{PcmFormat{8000, 1, 16}, std::string(size_t(8000) * 2 * 3 / 2, '\0')};  // 1.5 s
  ASSERT_TRUE(output.Play(std::move(sound)));
  EXPECT_EQ(fake->played.size(), 1u) << "the device gets the sound too";
  fake->Finish();  // a device without output ends at once
  clock.Advance(1490);
  EXPECT_TRUE(output.Playing());
  clock.Advance(20);
  EXPECT_FALSE(output.Playing());
  EXPECT_FALSE(output.Play(PcmSound{PcmFormat{8000, 1, 16}, ""})) << "nothing to play";
  ASSERT_TRUE(output.Play(PcmSound{PcmFormat{8000, 1, 16}, std::string(16000, '\0')}));
  output.Stop();
  EXPECT_FALSE(output.Playing());
  EXPECT_EQ(fake->stops, 1);
}

}  // namespace
}  // namespace zarvo
