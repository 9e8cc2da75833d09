// The phrase of a lap in the edition's language: the text a speech voice is given and the
// snippets of the built-in voice, the rounding to hundredths, minutes and hours, first and best
// laps, the position, and the laps that cannot be said.
#include "speech/lap_phrase.h"

#include <gtest/gtest.h>

#include <string>

#include "text/edition.h"

namespace zarvo {
namespace {

std::string Text(const LapEvent& lap, bool sayPosition = false) {
  char out[160];
  if (!LapPhraseText(lap, sayPosition, out, sizeof out)) return "<refused>:" + std::string(out);
  return out;
}

// The snippets written out: numbers as digits, positions as "#p", pauses as "|".
std::string Snippets(const LapEvent& lap, bool sayPosition = false) {
  SnippetSequence seq;
  if (!LapPhraseSnippets(lap, sayPosition, seq)) {
    return "<refused>:" + std::to_string(seq.count);
  }
  static const char* const kWords[] = {"decimal", "minute", "minutes", "hour", "hours", "lane",
                                       "best",    "une",    "21f",     "31f",  "41f",   "51f"};
  std::string out;
  for (int i = 0; i < seq.count; ++i) {
    const int id = seq.items[i];
    if (!out.empty()) out += ' ';
    if (id == kSnippetPause) {
      out += '|';
    } else if (id < kSnippetRank1) {
      out += std::to_string(id - kSnippetNumber0);
    } else if (id < kSnippetDecimal) {
      out += "#" + std::to_string(id - kSnippetRank1 + 1);
    } else {
      out += kWords[id - kSnippetDecimal];
    }
  }
  return out;
}

LapEvent Lap(int32_t ms, int lapNumber = 5, bool best = false, int position = 0) {
  return MakeLapEvent(3, "Éric", ms, lapNumber, best, position);
}

TEST(LapPhrase, NameAndTimeInHundredthsWithTheEditionsDecimalSign) {
  EXPECT_EQ(Text(Lap(21350)), ZT("Éric, 21.35", "Éric, 21,35"));
  EXPECT_EQ(Snippets(Lap(21350)), ZT("lane 3 | 21 decimal 3 5", "lane 3 | 21 decimal 35"));
  // Hundredths under ten keep their zero.
  EXPECT_EQ(Text(Lap(9050)), ZT("Éric, 9.05", "Éric, 9,05"));
  EXPECT_EQ(Snippets(Lap(9050)), "lane 3 | 9 decimal 0 5");
  EXPECT_EQ(Text(Lap(0)), ZT("Éric, 0.00", "Éric, 0,00"));
}

TEST(LapPhrase, TheNameKeepsItsWindows1252LettersAndAnEmptyNameSaysTheLane) {
  const LapEvent accents = MakeLapEvent(12, "Zoë Lefèvre-Gaëlle", 30000, 2, false, 0);
  EXPECT_EQ(Text(accents),
            ZT("Zo\xEB Lef\xE8vre-Ga\xEBlle, 30.00", "Zo\xEB Lef\xE8vre-Ga\xEBlle, 30,00"));
  // The built-in voice cannot say names: it says the lane, the results table's first column.
  EXPECT_EQ(Snippets(accents), "lane 12 | 30 decimal 0 0");
  const LapEvent nameless = MakeLapEvent(7, "", 21350, 2, false, 0);
  EXPECT_EQ(Text(nameless), ZT("Lane 7, 21.35", "Ligne 7, 21,35"));
}

TEST(LapPhrase, RoundsToTheNearestHundredthHalvesUp) {
  EXPECT_EQ(Text(Lap(21994)), ZT("Éric, 21.99", "Éric, 21,99"));
  EXPECT_EQ(Text(Lap(21995)), ZT("Éric, 22.00", "Éric, 22,00"));
  EXPECT_EQ(Snippets(Lap(21995)), "lane 3 | 22 decimal 0 0");
  EXPECT_EQ(Text(Lap(21344)), ZT("Éric, 21.34", "Éric, 21,34"));
  EXPECT_EQ(Text(Lap(21345)), ZT("Éric, 21.35", "Éric, 21,35"));
  // Rounding up may carry into the minutes.
  EXPECT_EQ(Text(Lap(59995)), ZT("Éric, 1 minute 0.00", "Éric, une minute 0,00"));
}

TEST(LapPhrase, OverAMinuteTheMinutesComeFirstAsWords) {
  EXPECT_EQ(Text(Lap(62400)), ZT("Éric, 1 minute 2.40", "Éric, une minute 2,40"));
  EXPECT_EQ(Snippets(Lap(62400)),
            ZT("lane 3 | 1 minute 2 decimal 4 0", "lane 3 | une minute 2 decimal 40"));
  EXPECT_EQ(Text(Lap(125070)), ZT("Éric, 2 minutes 5.07", "Éric, 2 minutes 5,07"));
  EXPECT_EQ(Snippets(Lap(125070)), "lane 3 | 2 minutes 5 decimal 0 7");
  // French counts minutes in the feminine: "vingt et une minutes".
  EXPECT_EQ(Snippets(Lap(21 * 60000 + 5070)),
            ZT("lane 3 | 21 minutes 5 decimal 0 7", "lane 3 | 21f minutes 5 decimal 0 7"));
  EXPECT_EQ(Snippets(Lap(51 * 60000)),
            ZT("lane 3 | 51 minutes 0 decimal 0 0", "lane 3 | 51f minutes 0 decimal 0 0"));
  EXPECT_EQ(Snippets(Lap(11 * 60000)), "lane 3 | 11 minutes 0 decimal 0 0");
}

TEST(LapPhrase, OverAnHourTheHoursComeFirstAndEmptyMinutesAreLeftOut) {
  EXPECT_EQ(Text(Lap(3723040)),
            ZT("Éric, 1 hour 2 minutes 3.04", "Éric, une heure 2 minutes 3,04"));
  EXPECT_EQ(Snippets(Lap(3723040)), ZT("lane 3 | 1 hour 2 minutes 3 decimal 0 4",
                                       "lane 3 | une hour 2 minutes 3 decimal 0 4"));
  EXPECT_EQ(Text(Lap(2 * 3600000 + 7000)), ZT("Éric, 2 hours 7.00", "Éric, 2 heures 7,00"));
  EXPECT_EQ(Snippets(Lap(2 * 3600000 + 7000)), "lane 3 | 2 hours 7 decimal 0 0");
}

TEST(LapPhrase, ABestLapIsNamedAfterTheTimeButNeverAFirstLap) {
  EXPECT_EQ(Text(Lap(21350, 4, true)), ZT("Éric, 21.35, best lap", "Éric, 21,35, meilleur tour"));
  EXPECT_EQ(Snippets(Lap(21350, 4, true)),
            ZT("lane 3 | 21 decimal 3 5 | best", "lane 3 | 21 decimal 35 | best"));
  // A first lap is said like any lap, and never as a best lap, even when flagged so.
  EXPECT_EQ(Text(Lap(21350, 1, true)), ZT("Éric, 21.35", "Éric, 21,35"));
  EXPECT_FALSE(SaysBestLap(Lap(21350, 1, true)));
  EXPECT_TRUE(SaysBestLap(Lap(21350, 2, true)));
  EXPECT_FALSE(SaysBestLap(Lap(21350, 2, false)));
}

TEST(LapPhrase, ThePositionComesLastWhenAskedForAndKnown) {
  EXPECT_EQ(Text(Lap(21350, 4, false, 2), true),
            ZT("Éric, 21.35, second", "Éric, 21,35, deuxième"));
  EXPECT_EQ(Text(Lap(21350, 4, true, 1), true),
            ZT("Éric, 21.35, best lap, first", "Éric, 21,35, meilleur tour, premier"));
  EXPECT_EQ(Text(Lap(21350, 4, false, 20), true),
            ZT("Éric, 21.35, twentieth", "Éric, 21,35, vingtième"));
  EXPECT_EQ(Text(Lap(21350, 4, false, 17), true),
            ZT("Éric, 21.35, seventeenth", "Éric, 21,35, dix-septième"));
  EXPECT_EQ(Snippets(Lap(21350, 4, true, 2), true),
            ZT("lane 3 | 21 decimal 3 5 | best | #2", "lane 3 | 21 decimal 35 | best | #2"));
  // Not asked for, or not known: no position.
  EXPECT_EQ(Text(Lap(21350, 4, false, 2), false), ZT("Éric, 21.35", "Éric, 21,35"));
  EXPECT_EQ(Text(Lap(21350, 4, false, 0), true), ZT("Éric, 21.35", "Éric, 21,35"));
  EXPECT_EQ(Text(Lap(21350, 4, false, 21), true), ZT("Éric, 21.35", "Éric, 21,35"));
}

TEST(LapPhrase, WhatIsNoLapOrCannotBeSaidIsRefused) {
  // The crossing that starts a staggered participant's clock records no lap.
  EXPECT_EQ(Text(Lap(21350, 0)), "<refused>:");
  EXPECT_EQ(Snippets(Lap(21350, 0)), "<refused>:0");
  EXPECT_EQ(Text(Lap(-1)), "<refused>:");
  EXPECT_EQ(Text(MakeLapEvent(0, "Éric", 21350, 2, false, 0)), "<refused>:");
  EXPECT_EQ(Text(MakeLapEvent(21, "Éric", 21350, 2, false, 0)), "<refused>:");
  EXPECT_EQ(Text(MakeLapEvent(20, "Éric", 21350, 2, false, 0)), ZT("Éric, 21.35", "Éric, 21,35"));
  // Up to 59:59:59.99 once rounded; 60 hours and more (and the largest time) are refused.
  EXPECT_EQ(Text(Lap(215999994)),
            ZT("Éric, 59 hours 59 minutes 59.99", "Éric, 59 heures 59 minutes 59,99"));
  EXPECT_EQ(Text(Lap(215999995)), "<refused>:");
  EXPECT_EQ(Text(Lap(INT32_MAX)), "<refused>:");
}

TEST(LapPhrase, ATextLongerThanItsRoomIsCutAndTerminated) {
  char out[8];
  ASSERT_TRUE(LapPhraseText(Lap(21350), false, out, sizeof out));
  EXPECT_EQ(std::string(out), "Éric, 2");
  // A name filling its whole field is still read only to its capacity.
  LapEvent full = Lap(21350);
  for (char& c : full.driverName) c = 'A';
  char text[160];
  ASSERT_TRUE(LapPhraseText(full, false, text, sizeof text));
  EXPECT_EQ(std::string(text),
            std::string(kCalloutNameCapacity - 1, 'A') + ZT(", 21.35", ", 21,35"));
}

// Whatever the time, the phrase names only snippets the edition ships and never fills its room.
TEST(LapPhrase, EveryLapTimeUsesOnlyTheEditionsSnippets) {
  std::vector<int32_t> times;
  for (int32_t ms = 0; ms < 4000000; ms += 997) times.push_back(ms);
  for (int32_t ms = 0; ms < 1000; ++ms) times.push_back(21000 + ms);
  for (int h = 1; h < 60; ++h) times.push_back(h * 3600000 + 51 * 60000 + 59994);
  for (int32_t ms : times) {
    SnippetSequence seq;
    ASSERT_TRUE(LapPhraseSnippets(Lap(ms, 3, true, 20), true, seq)) << ms;
    ASSERT_LT(seq.count, kMaxPhraseSnippets) << ms;
    for (int i = 0; i < seq.count; ++i) {
      if (seq.items[i] == kSnippetPause) continue;
      ASSERT_TRUE(EditionHasSnippet(seq.items[i])) << ms << " uses " << seq.items[i];
    }
  }
}

TEST(SnippetFiles, EachSnippetHasItsFileInTheVoiceFolderOfTheEdition) {
  char path[64];
  ASSERT_TRUE(SnippetFile(SnippetId(kSnippetNumber0 + 21), path, sizeof path));
  EXPECT_STREQ(path, ZT("sons/voix/21GB.wav", "sons/voix/21.wav"));
  ASSERT_TRUE(SnippetFile(SnippetId(kSnippetRank1 + 1), path, sizeof path));
  EXPECT_STREQ(path, ZT("sons/voix/rang2GB.wav", "sons/voix/rang2.wav"));
  ASSERT_TRUE(SnippetFile(kSnippetBestLap, path, sizeof path));
  EXPECT_STREQ(path, ZT("sons/voix/meilleurTourGB.wav", "sons/voix/meilleurTour.wav"));
  ASSERT_TRUE(SnippetFile(kSnippetDecimal, path, sizeof path));
  EXPECT_STREQ(path, ZT("sons/voix/virguleGB.wav", "sons/voix/virgule.wav"));
  // English says its hundredths digit by digit and has no feminine forms.
  EXPECT_EQ(SnippetFile(SnippetId(kSnippetNumber0 + 60), path, sizeof path), ZT(false, true));
  EXPECT_EQ(SnippetFile(SnippetId(kSnippetNumber0 + 99), path, sizeof path), ZT(false, true));
  EXPECT_EQ(SnippetFile(kSnippetFeminine21, path, sizeof path), ZT(false, true));
  EXPECT_FALSE(SnippetFile(kSnippetPause, path, sizeof path));
  EXPECT_STREQ(path, "");
  EXPECT_FALSE(SnippetFile(kSnippetCount, path, sizeof path));
  char small[10];
  EXPECT_FALSE(SnippetFile(kSnippetBestLap, small, sizeof small));
}

}  // namespace
}  // namespace zarvo
