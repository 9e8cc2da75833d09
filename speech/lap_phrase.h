// The phrase of a lap callout, in the edition's language: a text for a speech voice ("Éric,
// 21.35, best lap, second") and the snippets the built-in voice joins ("lane 3, 21.35, ...").
// The lap time is rounded to hundredths; over a minute the minutes (and hours) come first as
// words: "1 minute 2.40".
#pragma once

#include <cstddef>
#include <cstdint>

namespace zarvo {

constexpr int kCalloutLaneCount = 20;  // the lanes of the results table, one per lap button
constexpr int kCalloutNameCapacity = 40;

// One lap of one participant, as passage processing has just recorded it.
struct LapEvent {
  int slot;  // 1..20: the "Lane" column of the results table, his manual lap button
  char driverName[kCalloutNameCapacity];  // Windows-1252; empty: the lane is said instead
  int32_t lapTime;                        // ms
  int32_t lapNumber;                      // his laps so far, this one included; 1 = first lap
  bool newBest;                           // the lap improved his best (never a first lap)
  int position;                           // 1..20 in the standings after the lap; 0 = unknown
};

// A lap event with every field set; the name is cut to its capacity.
LapEvent MakeLapEvent(int slot, const char* driverName, int32_t lapTime, int32_t lapNumber,
                      bool newBest, int position);

// Whether a lap can be called out at all: a lap recorded (lap number 1 or more), of a lane 1..20,
// of 0 ms to under 60 hours once rounded.
bool CanCallOut(const LapEvent& lap);
// Whether the phrase names the lap as a best lap: a new best that is not a first lap.
bool SaysBestLap(const LapEvent& lap);

// The text a speech voice is given: name (or "Lane 3"), time, then "best lap" and the position
// when they apply. False (and an empty text) when the lap cannot be called out; a text longer
// than the capacity is cut.
bool LapPhraseText(const LapEvent& lap, bool sayPosition, char* out, size_t capacity);

// The snippets of the built-in voice: numbers, words and pauses. Numbers run 0..99 (the English
// files stop at 59: its hundredths are said digit by digit); positions 1..20; a few words.
enum SnippetId : int16_t {
  kSnippetNumber0 = 0,    // kSnippetNumber0 + n says n (0..99)
  kSnippetRank1 = 100,    // kSnippetRank1 + p - 1 says the position p (1..20)
  kSnippetDecimal = 120,  // "point" / "virgule"
  kSnippetMinute,         // "minute"
  kSnippetMinutes,        // "minutes"
  kSnippetHour,           // "hour" / "heure"
  kSnippetHours,          // "hours" / "heures"
  kSnippetLane,           // "lane" / "ligne"
  kSnippetBestLap,        // "best lap" / "meilleur tour"
  kSnippetFeminine1,      // "une": French counts minutes and hours in the feminine
  kSnippetFeminine21,     // "vingt et une"
  kSnippetFeminine31,
  kSnippetFeminine41,
  kSnippetFeminine51,
  kSnippetCount,
  kSnippetPause = -1,  // a short silence between the parts of the phrase
};

constexpr int kMaxPhraseSnippets = 24;

struct SnippetSequence {
  SnippetId items[kMaxPhraseSnippets];
  int count;
};

// The built-in voice's phrase: lane, time, best lap, position, with pauses between them. False
// (and an empty sequence) when the lap cannot be called out.
bool LapPhraseSnippets(const LapEvent& lap, bool sayPosition, SnippetSequence& out);

// Whether the edition's built-in voice has a file for the snippet (the English numbers stop at
// 59, the feminine forms are French only).
bool EditionHasSnippet(SnippetId id);
// The file of a snippet, e.g. "sons/voix/21GB.wav" (English) or "sons/voix/21.wav" (French);
// false for a pause or an id the edition has no file for.
bool SnippetFile(SnippetId id, char* out, size_t capacity);

// The folder of the snippets, relative to the program folder.
constexpr const char kSnippetFolder[] = "sons/voix/";

}  // namespace zarvo
