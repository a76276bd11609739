#include "win32/game_pad.h"

#include "frontend/joystick_axis.h"

namespace kelto1 {

JoyPosition PadToPosition(int16_t left_stick_x, uint16_t buttons) {
  JoyPosition p;
  p.x = AxisToPosition(left_stick_x, 0);
  p.y = 32768;
  p.buttons = ((buttons & kPadButtonA) ? 1u : 0u) | ((buttons & kPadButtonB) ? 2u : 0u);
  return p;
}

}  // namespace kelto1
