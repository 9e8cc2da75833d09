// Live classification: the two ranking rules, the split of times and the time texts of the
// results rows. Pure computation on fixed arrays; nothing is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

#include "race/race_model.h"

namespace zarvo {

// Fills standings[0..n-1] by laps (more first), then own-clock total (smaller first), then last
// lap; on a complete tie the later slot ranks first. Entries n..19 keep their contents.
void RankByLapsAndTime(const ParticipantRecord (&slots)[kSlotCount], int n,
                       StandingsEntry (&standings)[kSlotCount]);

// Fills standings[0..n-1] by best lap (smaller first), then last lap; participants without a lap
// come after all who have one; on a complete tie the later slot ranks first.
void RankByBestLap(const ParticipantRecord (&slots)[kSlotCount], int n,
                   StandingsEntry (&standings)[kSlotCount]);

// Hours, minutes, seconds and milliseconds of t (t >= 0; divisions truncate).
TimeParts SplitTime(int32_t t);

// Splits total, last, best, worst and average of standings[0..n-1] into their time parts.
void SplitTimes(StandingsEntry (&standings)[kSlotCount], int n);

// "%d:%02d:%02d.%03d" when the hours are not 0, "%d:%02d.%03d" when the minutes are not 0,
// else "%d.%03d". Returns out.
char* FormatThreeForm(const TimeParts& parts, char* out, size_t capacity);

// The total-time form: the minutes are always shown ("0:45.120", "1:02:03.004").
char* FormatTotalTime(const TimeParts& parts, char* out, size_t capacity);

// The race clock form of the loss and recovery messages: three-form with the milliseconds
// rounded down to a multiple of 100.
char* FormatClockTenths(int32_t t, char* out, size_t capacity);

// The slot text (format " %d ") or the laps text (format "%d") of a row.
void FormatCount(const char* format, int32_t value, char* out, size_t capacity);

// Writes rows[0..n-1] from standings[0..n-1]: names, slot and laps texts, time texts, flags.
void FormatRows(const StandingsEntry (&standings)[kSlotCount], int n,
                ResultsRow (&rows)[kSlotCount]);

}  // namespace zarvo
