// Finding and parsing sections in memory: exact titles, defaults for missing sections, bounded
// fields, damaged files, and the "run holds data" judgement.
#include "session/session_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::MakeRace;

const std::string kHeader =
    "10000\tSEANCE TRAINING\t0\t0\t0\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t1\t\r\n";

std::string RunLine(const char* name, const char* rest) {
  return std::string(name) + "\t" + rest + std::string(49, '\t') + "\r\n";
}

std::string EmptySlotLines(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += RunLine("(NA)", "0\t0\t1500000000\t0\t0\t1500000000\t");
  return out;
}

ParticipantsList EmptyList() {
  ParticipantsList list;
  std::memset(&list, 0, sizeof list);
  for (ParticipantEntry& e : list.entries) SetText(e.driverName, kNoDriver);
  return list;
}

// A session of every section, built through the rewrite plans.
std::string ExampleFile() {
  std::string file = kHeader;
  ParticipantsList list = EmptyList();
  SetText(list.entries[0].driverName, "ANNA");
  SetText(list.entries[0].transponder, "004711");
  ApplyEdit(file, PlanSectionRewrite(file, kParticipantsListTitle, kParticipantsReservePairs,
                                     ParticipantsListContent(list)));
  SessionTrack track = DefaultSessionTrack();
  SetText(track.label, "Club");
  SetText(track.circuitName, "Home");
  track.minimumLapSeconds = 9;
  ApplyEdit(file,
            PlanSectionRewrite(file, kTrackTitle, kTrackReservePairs, SessionTrackContent(track)));
  RaceParameters params;
  SetDefaultRaceParameters(params);
  SetText(params.durationMode, kDurationLaps);
  params.lapTarget = 25;
  ApplyEdit(file, PlanSectionRewrite(file, kRaceParametersTitle, kRaceParametersReservePairs,
                                     RaceParametersContent(params)));
  auto race = MakeRace({{"ANNA", "004711"}});
  race->slots[0].lapCount = 2;
  race->slots[0].bestLap = 30200;
  race->slots[0].passageTimes[1] = 30200;
  race->slots[0].passageTimes[2] = 61250;
  SetText(race->slots[0].setup.carName, "Buggy");
  SetText(race->run.runTitle, ".");
  ApplyEdit(file,
            PlanSectionRewrite(file, "SessionRun1", RunReservePairs(1), RunSectionContent(*race)));
  return file;
}

// ---- Finding sections.

TEST(FindSection, TitleIsTheWholeFirstFieldComparedExactly) {
  const std::string file = kHeader + "\r\nSessionRun10\t\r\n" +
                           RunLine("TEN", "0\t0\t0\t0\t0\t0\t") + "\r\nSessionRun1 \t\r\n" +
                           RunLine("BLANK", "0\t0\t0\t0\t0\t0\t");
  EXPECT_FALSE(FindSection(file, "SessionRun1").found);
  auto race = MakeRace({{"KEPT", ""}});
  EXPECT_FALSE(ParseRunSection(file, 1, *race));
  EXPECT_STREQ(race->slots[0].driverName, "KEPT");

  const std::string withRun1 =
      file + "\r\nSessionRun1\tsome\tother\tfields\t\r\n" + RunLine("ONE", "0\t0\t0\t0\t0\t0\t");
  const SectionSpot spot = FindSection(withRun1, "SessionRun1");
  ASSERT_TRUE(spot.found);
  EXPECT_EQ(withRun1.compare(spot.dataStart, 4, "ONE\t"), 0);
  ASSERT_TRUE(ParseRunSection(withRun1, 1, *race));
  EXPECT_STREQ(race->slots[0].driverName, "ONE");
}

TEST(FindSection, LinesEndingWithLineFeedAloneAreRead) {
  std::string file = ExampleFile();
  for (size_t i = file.find("\r\n"); i != std::string::npos; i = file.find("\r\n", i))
    file.erase(i, 1);
  ParticipantsList list = EmptyList();
  ASSERT_TRUE(ParseParticipantsList(file, list));
  EXPECT_STREQ(list.entries[0].transponder, "004711");
  auto race = MakeRace({});
  ASSERT_TRUE(ParseRunSection(file, 1, *race));
  EXPECT_EQ(race->slots[0].passageTimes[2], 61250);
  EXPECT_STREQ(race->slots[0].setup.carName, "Buggy");
  EXPECT_STREQ(race->run.runTitle, ".");
}

// ---- Missing sections and values from the run.

TEST(SessionReaders, MissingTrackAndParametersLeaveTheDefaults) {
  SessionTrack track = DefaultSessionTrack();
  RaceParameters params;
  SetDefaultRaceParameters(params);
  EXPECT_FALSE(ParseSessionTrack(kHeader, track));
  EXPECT_FALSE(ParseRaceParameters(kHeader, params));
  EXPECT_STREQ(track.label, "");
  EXPECT_EQ(track.minimumLapSeconds, 2);
  EXPECT_STREQ(params.classificationKey, kRankLapsAndTime);
  EXPECT_STREQ(params.durationMode, kDurationTime);
  EXPECT_EQ(params.durationMinutes, 1);
  EXPECT_EQ(params.lapTarget, 1);
  EXPECT_EQ(params.countdownSeconds, 5);
  EXPECT_STREQ(params.startMode, kStartStaggered);
  EXPECT_STREQ(params.endRuleTime, kEndTimeFinishLap);
  EXPECT_STREQ(params.endRuleLaps, kEndLapsAllLaps);
}

TEST(SessionReaders, EverySectionOfTheExampleReadsBack) {
  const std::string file = ExampleFile();
  SessionTrack track = DefaultSessionTrack();
  ASSERT_TRUE(ParseSessionTrack(file, track));
  EXPECT_STREQ(track.label, "Club");
  EXPECT_STREQ(track.circuitName, "Home");
  EXPECT_EQ(track.minimumLapSeconds, 9);
  RaceParameters params;
  SetDefaultRaceParameters(params);
  ASSERT_TRUE(ParseRaceParameters(file, params));
  EXPECT_STREQ(params.durationMode, kDurationLaps);
  EXPECT_EQ(params.lapTarget, 25);
  EXPECT_STREQ(params.endRuleLaps, kEndLapsAllLaps);
}

// A damaged minimum lap time must not turn the early-crossing filter into one that accepts every
// second crossing: below 2 s it reads 2 s, as the track dialog stores it.
TEST(SessionReaders, ADamagedMinimumLapTimeIsBoundedToWhatTheDialogHolds) {
  const struct {
    const char* stored;
    int32_t read;
  } cases[] = {{"9999999999", 999}, {"2147483", 999}, {"-5", 2},  {"-9999999999", 2},
               {"0", 2},            {"1", 2},          {"2", 2},  {"45", 45}};
  for (const auto& c : cases) {
    const std::string file =
        std::string(kHeader) + "\r\nSessionPiste\t\r\nClub\tHome\t" + c.stored + "\t\r\n";
    SessionTrack track = DefaultSessionTrack();
    ASSERT_TRUE(ParseSessionTrack(file, track)) << c.stored;
    EXPECT_EQ(track.minimumLapSeconds, c.read) << c.stored;
  }
}

TEST(SessionReaders, RunShowsItsOwnNamesOverTheParticipantsList) {
  const std::string file = kHeader + "\r\nSessionRun2\t\r\n" +
                           RunLine("RENAMED", "0\t0\t0\t0\t0\t0\t") + EmptySlotLines(19) + "\t\r\n";
  auto race = MakeRace({{"ANNA", "004711"}});
  ASSERT_TRUE(ParseRunSection(file, 2, *race));
  EXPECT_STREQ(race->slots[0].driverName, "RENAMED");
  EXPECT_STREQ(race->slots[0].transponder, "004711");
  EXPECT_STREQ(race->run.runTitle, "");
}

TEST(SessionReaders, ShortSectionNeverReadsTheNextSectionAsData) {
  const std::string file = kHeader +
                           "\r\nSessionListeParticipants\t\r\nANNA\t004711\t\t\t\t\t\t\r\n" +
                           "\r\nSessionPiste\t\r\nClub\t\t5\t\r\n";
  ParticipantsList list = EmptyList();
  SetText(list.entries[1].driverName, "UNTOUCHED");
  ASSERT_TRUE(ParseParticipantsList(file, list));
  EXPECT_STREQ(list.entries[0].driverName, "ANNA");
  EXPECT_STREQ(list.entries[1].driverName, "UNTOUCHED");
}

// ---- Bounded fields and damaged files.

TEST(DamagedSessionFile, OverlongFieldIsCutAndTheNextFieldStaysInPlace) {
  const std::string longName(120, 'N');
  const std::string file = kHeader + "\r\nSessionListeParticipants\t\r\n" + longName +
                           "\t0047119999\t27.145\t\t\t\t\t\r\nNOTABS AT ALL ON THIS LINE " +
                           longName + "\r\nBOB\t000042\t\t\t\t\t\t\r\n";
  ParticipantsList list = EmptyList();
  ASSERT_TRUE(ParseParticipantsList(file, list));
  EXPECT_EQ(std::string(list.entries[0].driverName), std::string(39, 'N'));
  EXPECT_STREQ(list.entries[0].transponder, "004711");
  EXPECT_STREQ(list.entries[0].frequencies[0], "27.145");
  EXPECT_EQ(std::strlen(list.entries[1].driverName), 39u);
  EXPECT_STREQ(list.entries[1].transponder, "");
  EXPECT_STREQ(list.entries[2].driverName, "BOB");
  EXPECT_STREQ(list.entries[2].transponder, "000042");
}

TEST(DamagedSessionFile, HeaderValuesAreKeptWithinTheirRanges) {
  SessionHeader header;
  ParseSessionHeader("12005\t" + std::string(60, 'S') + "\t99\t7\t-3\t\r\n", header);
  EXPECT_EQ(header.selectedNodeId, 12005);
  EXPECT_EQ(std::string(header.sessionName), std::string(31, 'S'));
  EXPECT_EQ(header.participantCount, 20);
  EXPECT_TRUE(header.runsRecorded);
  EXPECT_EQ(header.runCount, 0);
  ParseSessionHeader("garbage", header);
  EXPECT_EQ(header.selectedNodeId, 0);
  EXPECT_STREQ(header.sessionName, "");
}

TEST(DamagedSessionFile, ParametersOutOfRangeAreClampedAndNonNumbersKeepTheDefaults) {
  const std::string file = kHeader + "\r\nSessionCourseParam\xE8tres\t\r\n" +
                           "CLASSEMENTMeilleurTour\tDUREESERIETemps\t99999\tlots\t-5\t\r\n";
  RaceParameters params;
  SetDefaultRaceParameters(params);
  ASSERT_TRUE(ParseRaceParameters(file, params));
  EXPECT_STREQ(params.classificationKey, kRankBestLap);
  EXPECT_EQ(params.durationMinutes, 720);
  EXPECT_EQ(params.durationHours, 12);
  EXPECT_EQ(params.lapTarget, 1);
  EXPECT_EQ(params.countdownSeconds, 0);
  EXPECT_STREQ(params.startMode, "");
}

TEST(DamagedSessionFile, RunLineWithAnImpossibleLapCountStaysInTheTable) {
  std::string times;
  for (int k = 0; k < 1500; ++k) times += std::to_string(k * 1000) + "\t";
  const std::string file = kHeader + "\r\nSessionRun1\t\r\n" +
                           RunLine("MANY", ("1499\t1\t2\t3\t4\t" + times).c_str()) +
                           RunLine("FEW", "50\t1\t2\t3\t4\t0\t1000\t") + "X\t99999999999\r\n";
  auto race = MakeRace({});
  ASSERT_TRUE(ParseRunSection(file, 1, *race));
  EXPECT_EQ(race->slots[0].lapCount, 999);
  EXPECT_EQ(race->slots[0].passageTimes[999], 999000);
  EXPECT_EQ(race->slots[0].averageLap, 4);
  EXPECT_EQ(race->slots[1].lapCount, 50);
  EXPECT_EQ(race->slots[1].passageTimes[1], 1000);
  EXPECT_STREQ(race->slots[2].driverName, "X");
  EXPECT_EQ(race->slots[2].lapCount, 999);  // a number beyond 32 bits saturates, then is bounded
}

// Every prefix of a complete file reads without harm; a prefix that holds a whole section reads
// that section as the complete file does.
TEST(DamagedSessionFile, FileTruncatedAnywhereReadsWhatItHolds) {
  const std::string file = ExampleFile();
  ParticipantsList fullList = EmptyList();
  ASSERT_TRUE(ParseParticipantsList(file, fullList));
  auto fullRun = MakeRace({});
  ASSERT_TRUE(ParseRunSection(file, 1, *fullRun));
  const size_t listEnd = file.find("(NA)\t\t\t\t\t\t\t\r\n1\t") + 13;
  const size_t runEnd = file.find(".\t\r\n") + 4;
  for (size_t n = 0; n <= file.size(); n += (n < 3000 || n > file.size() - 12000) ? 1 : 97) {
    const std::string_view part(file.data(), n);
    SessionHeader header;
    ParseSessionHeader(part, header);
    ParticipantsList list = EmptyList();
    ParseParticipantsList(part, list);
    for (const ParticipantEntry& e : list.entries) ASSERT_LT(strnlen(e.driverName, 40), 40u);
    if (n >= listEnd) {
      ASSERT_EQ(std::memcmp(&list, &fullList, sizeof list), 0) << n;
    }
    SessionTrack track = DefaultSessionTrack();
    ParseSessionTrack(part, track);
    RaceParameters params;
    SetDefaultRaceParameters(params);
    ParseRaceParameters(part, params);
    auto race = MakeRace({});
    ParseRunSection(part, 1, *race);
    ASSERT_LE(race->slots[0].lapCount, kMaxLapCount);
    if (n >= runEnd) {
      ASSERT_EQ(std::memcmp(race->slots, fullRun->slots, sizeof race->slots), 0) << n;
      ASSERT_STREQ(race->run.runTitle, ".");
    }
  }
}

TEST(DamagedSessionFile, GarbageReadsWithoutHarm) {
  std::mt19937 random(5);
  const char alphabet[] = "\t\r\n1-0123456789SessionRun ListeParticipants\xE8\xFF";
  for (int round = 0; round < 300; ++round) {
    std::string file = kHeader;
    if (round % 2 == 0) file += "\r\nSessionRun1\t\r\n";
    if (round % 3 == 0) file += "\r\nSessionListeParticipants\t\r\n";
    const size_t length = random() % 4000;
    for (size_t i = 0; i < length; ++i) file += alphabet[random() % (sizeof alphabet - 1)];
    ParticipantsList list = EmptyList();
    ParseParticipantsList(file, list);
    auto race = MakeRace({});
    ParseRunSection(file, 1, *race);
    for (const ParticipantRecord& p : race->slots) {
      ASSERT_LT(strnlen(p.driverName, sizeof p.driverName), sizeof p.driverName);
      ASSERT_GE(p.lapCount, 0);
      ASSERT_LE(p.lapCount, kMaxLapCount);
    }
    ASSERT_LT(strnlen(race->run.runTitle, sizeof race->run.runTitle),
              size_t(kStoredRunTitleCapacity));
  }
}

// ---- The "run holds data" judgement.

TEST(RunHoldsData, OnlyTimingDataOfOccupiedSlotsCounts) {
  auto race = MakeRace({{"ANNA", "004711"}, {"BOB", "000042"}});
  EXPECT_FALSE(RunHoldsData(*race));
  race->slots[5].lapCount = 3;  // an empty slot
  EXPECT_FALSE(RunHoldsData(*race));
  race->slots[1].bestLap = 30000;
  EXPECT_TRUE(RunHoldsData(*race));
  race->slots[1].bestLap = 0;
  race->slots[0].passageTimes[0] = 1;
  EXPECT_TRUE(RunHoldsData(*race));
  race->slots[0].passageTimes[0] = 0;
  race->slots[0].lapCount = 1;
  EXPECT_TRUE(RunHoldsData(*race));
}

}  // namespace
}  // namespace zarvo
