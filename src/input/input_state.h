// State owned by the keyboard and joystick readers.
#pragma once

#include <cstdint>

#include "shell/numbers.h"

namespace kelto1 {

// What the joystick position query left: the low half of the stick's X and its buttons.
// Z and ButtonMask record the query's answer and nothing reads them back; they stay
// because the saved races' state hashes cover these bytes.
struct JoyInfo {
  uint16_t JoyWord0 = 0;
  uint32_t Z = 0;
  uint32_t ButtonMask = 0;
  Int32 JoyX;
};

struct InputState {
  JoyInfo Joy;
  Int32 RestX;          // the stick's X at start-up
  int16_t JoyCaps = 0;  // the capability query's answer; only its result code matters
};

}  // namespace kelto1
