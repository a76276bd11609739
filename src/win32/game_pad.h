// Today's game pads (XInput) on the joystick query the game asks: the left stick steers,
// A is button 1 (accelerate) and B button 2 (brake), as the desktop maps a controller.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace kelto1 {

// XInput's button bits for A and B.
constexpr uint16_t kPadButtonA = 0x1000;
constexpr uint16_t kPadButtonB = 0x2000;

// The pad's left stick (-32768..32767, rest at 0) and buttons as the position query answers.
JoyPosition PadToPosition(int16_t left_stick_x, uint16_t buttons);

}  // namespace kelto1
