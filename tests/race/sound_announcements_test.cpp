// The cue table: files, settings that gate them, waiting or not, and the language of spoken files.
#include "race/sound_announcements.h"

#include <gtest/gtest.h>

#include "tests/support/fakes.h"
#include "tests/support/test_race.h"
#include "text/fixed_text.h"

namespace zarvo {
namespace {

using testing::RecordingSoundPlayer;

TEST(CueTable, EveryCuePlaysItsFileWaitingOnlyForTheOpeningAndTheScanSignal) {
  struct Row {
    SoundCue cue;
    const char* file;
    bool wait;
  };
  const Row rows[] = {
      {SoundCue::kCountdownOpening, "sons/nokia-sms.wav", true},
      {SoundCue::kStart, "sons/foghorn.wav", false},
      {SoundCue::kPassage, "sons/beep1.wav", false},
      {SoundCue::kBestLap, "sons/youpi.wav", false},
      {SoundCue::kEarlyPassage, "sons/buzz.wav", false},
      {SoundCue::kEndOfRace, "sons/truckhorn.wav", false},
      {SoundCue::kScanSignal, "sons/nokia-sms.wav", true},
      {SoundCue::kCheckGood, "sons/nokia-sms.wav", false},
      {SoundCue::kCheckBad, "sons/buzz.wav", false},
      {SoundCue::kScanBeep, "sons/beep1.wav", false},
  };
  const SoundSettings settings = testing::AllSoundsOn();
  for (const Row& row : rows) {
    RecordingSoundPlayer player;
    SoundAnnouncer(settings, player).Cue(row.cue);
    ASSERT_EQ(player.played.size(), 1u);
    EXPECT_EQ(player.played[0].file, row.file);
    EXPECT_EQ(player.played[0].wait, row.wait) << row.file;
  }
}

TEST(CueTable, DriverFinishedNamesTheSlotAndTheLanguage) {
  SoundSettings settings = testing::AllSoundsOn();
  RecordingSoundPlayer player;
  SoundAnnouncer announcer(settings, player);
  announcer.Cue(SoundCue::kDriverFinished, 12);
  SetText(settings.language, kSoundFrench);
  announcer.Cue(SoundCue::kDriverFinished, 20);
  SetText(settings.language, "SONLANGUEanglais");  // not the exact English keyword
  announcer.Cue(SoundCue::kDriverFinished, 3);
  ASSERT_EQ(player.played.size(), 3u);
  EXPECT_EQ(player.played[0].file, "sons/FinCourseVoiture12GB.wav");
  EXPECT_EQ(player.played[1].file, "sons/FinCourseVoiture20.wav");
  EXPECT_EQ(player.played[2].file, "sons/FinCourseVoiture3.wav");
}

TEST(CueTable, EachSettingSilencesOnlyItsCuesAndOnlyTheExactKeywordEnables) {
  SoundSettings settings = testing::AllSoundsOn();
  SetText(settings.passage, kSoundPassageOff);
  SetText(settings.start, "SONDEPARTOUI");
  RecordingSoundPlayer player;
  SoundAnnouncer announcer(settings, player);
  announcer.Cue(SoundCue::kPassage);
  announcer.Cue(SoundCue::kEarlyPassage);
  announcer.Cue(SoundCue::kStart);
  EXPECT_TRUE(player.played.empty());
  announcer.Cue(SoundCue::kScanBeep);  // scan sounds have no setting
  announcer.Cue(SoundCue::kBestLap);
  ASSERT_EQ(player.played.size(), 2u);
  EXPECT_EQ(player.played[1].file, "sons/youpi.wav");
}

TEST(CountdownAnnouncements, OncePerRunInTheChosenLanguageAndNoneInAnother) {
  SoundSettings settings = testing::AllSoundsOn();
  RecordingSoundPlayer player;
  SoundAnnouncer announcer(settings, player);
  RunState run = {};
  for (int32_t s : {3600, 3600, 1800, 900, 300, 120, 60, 30, 10, 7, 5, 4, 3, 2, 1, 1}) {
    announcer.CountdownAnnouncements(run, s);
  }
  std::vector<std::string> files;
  for (const auto& p : player.played) files.push_back(p.file);
  EXPECT_EQ(files, (std::vector<std::string>{
                       "sons/60minutesGB.wav", "sons/30minutesGB.wav", "sons/15minutesGB.wav",
                       "sons/5minutesGB.wav", "sons/2minutesGB.wav", "sons/1minuteGB.wav",
                       "sons/30secondesGB.wav", "sons/10secondesGB.wav", "sons/cinqGB.wav",
                       "sons/quatreGB.wav", "sons/troisGB.wav", "sons/deuxGB.wav",
                       "sons/unGB.wav"}));

  RunState fresh = {};
  SetText(settings.language, "SONLANGUEAllemand");
  announcer.CountdownAnnouncements(fresh, 5);
  EXPECT_EQ(player.played.size(), 13u);
  SetText(settings.language, kSoundFrench);
  SetText(settings.countdown, kSoundCountdownOff);
  announcer.CountdownAnnouncements(fresh, 5);
  EXPECT_EQ(player.played.size(), 13u);
}

}  // namespace
}  // namespace zarvo
