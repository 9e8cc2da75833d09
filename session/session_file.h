// The session file on disk: the working copy "Private/Session.trng" in the current directory
// (the program folder), rewritten section by section in place; saved ".trng" files and the crash
// copy "VaZivivIvar.trng" are whole-file copies of it.
// Every operation opens the file, does its work and closes it. Failures are shown as a box titled
// "Error" through the MessageBoxes given, and the operation then changes nothing in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/message_boxes.h"
#include "race/race_model.h"
#include "session/session_format.h"

namespace zarvo {

constexpr const char kWorkingCopyFolder[] = "Private";
constexpr const char kWorkingCopyPath[] = "Private/Session.trng";
constexpr const char kCrashCopyPath[] = "VaZivivIvar.trng";
constexpr const char kDefaultSessionName[] = "SEANCE TRAINING";

// A larger file is not taken for a session (a full session of long runs is under 10 MB).
constexpr size_t kMaxSessionFileBytes = size_t(64) << 20;

enum class SectionRead {
  kRead,     // the section was found and read
  kMissing,  // the file has no such section: the outputs are as they were
  kNoFile,   // the working copy cannot be opened ("Error: Session file not found" was shown)
};

enum class SectionWrite {
  kWritten,
  kNoFile,   // the working copy cannot be opened
  kMissing,  // only for UpdateParticipantsList: the section does not exist, nothing was written
  kFailed,   // the file could not be written
};

// Creates (or replaces) the working copy with a header only: node 10000, the name, 0, 0, 0.
// Creates the folder "Private" when it is missing. The file is replaced whole, through a
// temporary file, and given a new stamp.
bool CreateWorkingCopy(const char* sessionName, MessageBoxes& boxes);

// ---- The working copy's stamp: 16 hex digits and CR LF in "Private/Session.id", beside the
// working copy, new whenever the working copy is replaced by another session (created, loaded,
// imported), kept as it is by every change within the session. The run journal names the working
// copy its run was timed in by it, so that a recovery never writes a run into another session.
constexpr const char kWorkingCopyStampPath[] = "Private/Session.id";
constexpr size_t kSessionStampLength = 16;

// Replaces the working copy whole with bytes (through a temporary file) and gives it a new stamp.
// The old stamp is removed first: a crash in between leaves a working copy without a stamp, never
// one with the stamp of the session it replaced.
bool ReplaceWorkingCopy(std::string_view bytes);
// The stamp in the file; empty when there is none or the file does not hold one.
std::string ReadWorkingCopyStamp();
// The stamp last written or read in the current folder (the file is read when none is known for
// that folder).
std::string WorkingCopyStamp();
// Writes the stamp into the file (a working copy rebuilt for a session that had one).
bool WriteWorkingCopyStamp(const std::string& stamp);
// 16 upper-case hex digits, different at every call.
std::string NewSessionStamp();

// Line 1 of the working copy. False (and the message) when the file cannot be opened.
bool ReadSessionHeader(SessionHeader& header, MessageBoxes& boxes);
// Rewrites line 1; the rest of the file keeps every byte.
bool WriteSessionHeader(const SessionHeader& header, MessageBoxes& boxes);
// Writes the id over the first five characters of line 1.
bool WriteSelectedNodeId(int32_t nodeId, MessageBoxes& boxes);

// Rewrites the section (appended when missing) with a reserve of reservePairs "1\t" pairs and the
// content over it; every other section keeps its content. On failure shows "Error: Session file
// not found" when the file cannot be opened, missingTitleText when it cannot be written.
bool RewriteSection(const char* title, int reservePairs, std::string_view content,
                    const char* missingTitleText, MessageBoxes& boxes);

// The 20 entries of "SessionListeParticipants". A missing section is not shown: the callers that
// need the list show TXT_SESSION_NO_PARTICIPANTS_TITLE themselves.
SectionRead ReadParticipantsList(ParticipantsList& list, MessageBoxes& boxes);
bool WriteParticipantsList(const ParticipantsList& list, MessageBoxes& boxes);
// Rewrites the list only where the section already exists (the driver details dialog); shows
// nothing, the dialog has its own messages.
SectionWrite UpdateParticipantsList(const ParticipantsList& list);

// "SessionPiste": label, circuit name, minimum lap time.
SectionRead ReadSessionTrack(SessionTrack& track, MessageBoxes& boxes);
bool WriteSessionTrack(const SessionTrack& track, MessageBoxes& boxes);

// "SessionCourseParamètres": the eight race parameters. Start from SetDefaultRaceParameters.
SectionRead ReadRaceParameters(RaceParameters& params, MessageBoxes& boxes);
bool WriteRaceParameters(const RaceParameters& params, MessageBoxes& boxes);

// "SessionRun%d" of run n (1..20): the participants table and the run title (race.run.runTitle).
// Read: the table must be prepared first (names from the list, reset); a missing section leaves
// it so. Write: the reserve is 4981 pairs per occupied slot plus 883.
SectionRead ReadRunSection(int runNumber, Race& race, MessageBoxes& boxes);
bool WriteRunSection(int runNumber, const Race& race, MessageBoxes& boxes);

// Replaces the destination with a copy of the source (saving and loading sessions), through a
// temporary file; a copy onto the working copy gives it a new stamp. Failures are not shown; the
// result says whether the copy was made.
bool CopySessionFile(const char* source, const char* destination);
// At start-up, before the working copy is created again: keeps the previous working copy as the
// crash copy. Nothing happens (false) when there is no working copy yet.
bool KeepCrashCopy();

}  // namespace zarvo
