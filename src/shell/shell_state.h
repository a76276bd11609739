// State owned by the game shell: the race loop, the idle loop and the readouts.
#pragma once

#include <string>

#include "shell/numbers.h"

namespace kelto1 {

struct ShellState {
  Int16 RaceOver;      // 1 once the race is decided
  Int16 EndFrames;     // 0..1000: frames since RaceOver became 1
  Int16 FlushCount;    // 0..5: PaceFrame calls since the last keyboard flush
  Byte TitlePending;   // the next idle tick shows the title screen
  Byte StartPending;   // a race starts in this idle tick
  Int16 TimeTick;      // 0..99: ShowTime calls since the clock last dropped
  Int32 LastWaitMs;    // the last frame delay the Gamewait box held as a number
  Byte Ended;          // Escape has ended the program
};

// The contents of "car.dat" and where it lives. Not race state.
struct Settings {
  Int32 WaitMs;
  Int32 BestRank;
  std::string Memo;  // carried through byte for byte
};

}  // namespace kelto1
