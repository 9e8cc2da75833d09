// The layout of a session file held in memory: building the header line and the section contents,
// finding and parsing sections, and planning the in-place rewrite of a section or of the header.
// Nothing here touches a file; session/session_file.h applies these to the working copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "race/race_model.h"

namespace zarvo {

// The first line of the file is the session header: always 50 characters and a line end.
constexpr int kHeaderLength = 50;
constexpr int kHeaderReservePairs = 25;

constexpr int kSessionNameCapacity = 32;  // the tree lets the user type 28 characters
constexpr int kSessionNameMaxTyped = 28;
constexpr int kMaxRunCount = 20;
constexpr int kSessionLabelCapacity = 50;  // the track dialog lets the user type 48 characters
constexpr int kCircuitNameCapacity = 40;
constexpr int kDefaultMinimumLapSeconds = 2;
// The range of a session track's minimum lap time: the track dialog stores at least 2 (it
// takes 0 or 1 for 2) and its box has 3 digits.
constexpr int kLeastMinimumLapSeconds = 2;
constexpr int kMaxMinimumLapSeconds = 999;

// A section is found by the first field of its title line, compared whole and exactly; at most
// 104 characters of a first field are looked at.
constexpr int kSectionTitleCapacity = 105;
// The run title as stored on the last line of a run section (the memory field is larger).
constexpr int kStoredRunTitleCapacity = 105;

// Every line whose first characters are these is a section title line; no data line may begin
// with them (driver names and session labels are refused when they contain the word).
constexpr const char kSectionTitlePrefix[] = "Session";

constexpr const char kParticipantsListTitle[] = "SessionListeParticipants";
constexpr const char kTrackTitle[] = "SessionPiste";
constexpr const char kRaceParametersTitle[] = "SessionCourseParam\xE8tres";  // è, Windows-1252

// Reserves, in "1\t" pairs, written under each section before its content.
constexpr int kParticipantsReservePairs = 1000;
constexpr int kTrackReservePairs = 50;
constexpr int kRaceParametersReservePairs = 65;
constexpr int kRunReservePairsPerSlot = 4981;  // 9962 characters per occupied slot
constexpr int kRunReservePairsBase = 883;      // the empty slots' short lines and the run title

// Node ids of the session tree; the header keeps the one selected last.
constexpr int32_t kSessionNodeId = 10000;
constexpr int32_t kTrackNodeId = 11000;
constexpr int32_t kDriversNodeId = 12000;  // driver k (1..20) is kDriversNodeId + k
constexpr int32_t kParametersNodeId = 13000;
constexpr int32_t kRunsNodeId = 14000;  // run n (1..20) is kRunsNodeId + n

struct SessionHeader {
  int32_t selectedNodeId;
  char sessionName[kSessionNameCapacity];
  int32_t participantCount;  // 0 to 20
  bool runsRecorded;         // a run section has been written: participants can't be removed
  int32_t runCount;          // 0 to 20; runs are numbered 1 to runCount
};

struct SessionTrack {
  char label[kSessionLabelCapacity];       // free text; never contains "Session"
  char circuitName[kCircuitNameCapacity];  // empty when no circuit is chosen
  int32_t minimumLapSeconds;               // at least 2
};

// A header for a new session: node 10000, the name, no participant, no run.
SessionHeader NewSessionHeader(const char* sessionName);
// Empty label and circuit, minimum lap time 2: what stands when the file has no track.
SessionTrack DefaultSessionTrack();

// "SessionRun%d" with the run number.
void FormatRunSectionTitle(int runNumber, char* out, size_t capacity);

// Occupied slots: driver name other than "(NA)".
int OccupiedSlotCount(const Race& race);
// The reserve of a run section written with that many occupied slots.
int RunReservePairs(int occupiedSlots);
// A run holds timing data when an occupied slot has a lap count, a passage time 0 or a best lap
// other than 0.
bool RunHoldsData(const Race& race);

// ---- Building. Texts are written bounded by their capacity; a tab or line end inside a text
// (which would break the line into other fields) is written as a blank.

// The 50 characters of line 1, without its line end: the five fields over the 25 reserve pairs.
std::string SessionHeaderLine(const SessionHeader& header);
// The 50-character line and CR LF: the whole file of a new working copy.
std::string NewWorkingCopyBytes(const char* sessionName);
std::string ParticipantsListContent(const ParticipantsList& list);
std::string SessionTrackContent(const SessionTrack& track);
std::string RaceParametersContent(const RaceParameters& params);
// The 20 slot lines of the participants table and the run title line.
std::string RunSectionContent(const Race& race);

// ---- Finding and parsing. Every reader accepts CR LF and LF, cuts an over-long text to its
// capacity (the rest of that field is skipped, so the following fields stay in place), reads a
// missing or non-numeric number as 0 unless it says otherwise, skips empty lines and stops at the
// next section's title line, so a short or damaged section never reads another's data.

struct SectionSpot {
  bool found;
  size_t titleStart;    // first character of the title line
  size_t dataStart;     // first character of the line after the title line
  bool titleLineEnded;  // false when the file ends on the title line itself
  // The section's room: from dataStart up to the empty line before the next title line, or to
  // the end of the file when no title line follows (last = true).
  size_t areaEnd;
  bool last;
};

// Looks for the line (line 1 excepted) whose first field is exactly the title.
SectionSpot FindSection(std::string_view file, std::string_view title);

// Fills every field of the header from line 1 (missing fields are 0 or empty). The counts are
// kept within 0..20.
void ParseSessionHeader(std::string_view file, SessionHeader& header);
// The readers of the sections return false when the section is missing; the outputs are then
// left as they were, so the caller's defaults stand.
bool ParseParticipantsList(std::string_view file, ParticipantsList& list);
// A minimum lap time that is not a number leaves the one given.
bool ParseSessionTrack(std::string_view file, SessionTrack& track);
// Numbers that are not numbers leave the values given; the others are kept within the ranges of
// the parameters dialog (1..720 min, 1..999 laps, 0..3600 s). The duration split is refreshed.
bool ParseRaceParameters(std::string_view file, RaceParameters& params);
// Fills the names, lap counts (at most 999), lap statistics, passage times and setup sheets of the
// slots whose lines are present, and the run title. Passage times after the lap count, the
// transponders and the other fields are left as the caller prepared them.
bool ParseRunSection(std::string_view file, int runNumber, Race& race);

// ---- Rewriting.

// One change to the file: either bytes written at an offset (in place; an offset at the end of the
// file appends), or the whole file replaced by bytes.
struct FileEdit {
  bool replaceWhole;
  size_t offset;
  std::string bytes;
};

// The change that rewrites the section: its reserve of reservePairs "1\t" pairs, then the content
// from the start of the data area. A missing section is appended after an empty line. An existing
// section keeps its place; its whole room is cleared with reserve pairs first, so nothing of an
// older, longer content stays behind. A content longer than the room of a section that other
// sections follow is given a larger reserve by rewriting the whole file with the section's room
// enlarged; every other byte keeps its value. The content must end with a line end.
FileEdit PlanSectionRewrite(std::string_view file, std::string_view title, int reservePairs,
                            std::string_view content);
// The change that writes the header on line 1: in place when line 1 has its 50 characters, else
// (a damaged or foreign file) the whole file with a proper line 1 followed by the rest.
FileEdit PlanHeaderRewrite(std::string_view file, const SessionHeader& header);
// The change that writes the selected node id over the first five digits of line 1; when line 1
// does not begin with five digits and a tab, the header is rewritten with the new id.
FileEdit PlanSelectedNodeIdRewrite(std::string_view file, int32_t nodeId);

void ApplyEdit(std::string& file, const FileEdit& edit);

}  // namespace zarvo
