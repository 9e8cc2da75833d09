// The sound cues that the timing core raises; the sound announcements turn them into files.
#pragma once

namespace zarvo {

enum class SoundCue {
  kCountdownOpening,  // "Start" pressed (waiting)
  kStart,             // the run starts
  kPassage,           // a lap recorded that is not announced as a best lap
  kBestLap,           // a lap that improves the participant's best
  kEarlyPassage,      // a passage rejected by the minimum lap time
  kDriverFinished,    // the passage that finishes a participant (with his slot number)
  kEndOfRace,         // a running run is stopped
  kScanSignal,        // scan started, cancelled or complete (waiting)
  kCheckGood,         // check completed in slot order
  kCheckBad,          // check completed out of order
  kScanBeep,          // a transponder assigned in a scan, or a lap of the check
};

}  // namespace zarvo
