// A joystick axis on the scale of the game's position query.
#pragma once

#include <cstdint>

namespace kelto1 {

// The axis reading (-32768..32767) on the position query's scale (0..65535). Readings
// within a small distance of the stick's rest are reported as the rest itself, as a
// calibrated driver does, so a worn stick does not steer on its own.
uint32_t AxisToPosition(int32_t raw, int32_t rest_raw);

constexpr int32_t kJoystickRestZone = 3000;  // of 32768 either way

}  // namespace kelto1
