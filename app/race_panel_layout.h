// Positions of the main window's controls: the race panel (Start, Stop, Clear, the twenty lap
// buttons, the clock, countdown and transponder groups), the session tree and the results scroll
// bar. Computed from the screen size W x H in integer arithmetic, each term truncated.
#pragma once

#include "display/results_layout.h"

namespace zarvo {

constexpr int kLapButtonCount = 20;

struct ControlPlace {
  int x;
  int y;
  int width;
  int height;
};

struct RacePanelLayout {
  ControlPlace startButton;       // 2001
  ControlPlace startLabel;        // 2004
  ControlPlace stopButton;        // 2002
  ControlPlace stopLabel;         // 2005
  ControlPlace clearButton;       // 2003
  ControlPlace clearLabel;        // 2006
  ControlPlace lapGroup;          // group box around the lap buttons
  ControlPlace lapButtons[kLapButtonCount];  // 2201..2220: button k is lapButtons[k - 1]
  ControlPlace clockGroup;        // 2221 "Race duration / Clock"
  ControlPlace countdownGroup;    // 2222 "Countdown"
  ControlPlace transponderGroup;  // 2223 "Transponders mode"
  ControlPlace personalChips;     // 2101
  ControlPlace mixedScan;         // 2102
  ControlPlace scanButton;        // 2103
  ControlPlace scanState;         // 2104
};

RacePanelLayout ComputeRacePanelLayout(int screenWidth, int screenHeight);

// The session tree, placed again on every resize of the main window.
ControlPlace SessionTreePlace(int clientHeight);

// The results scroll bar: at x 200, along the rows area of the table, 15 width units wide.
ControlPlace ResultsScrollBarPlace(const ResultsLayout& layout, int screenWidth);

}  // namespace zarvo
