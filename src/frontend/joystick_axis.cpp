// Joystick axis readings.
#include "frontend/joystick_axis.h"

#include <cstdlib>

namespace kelto1 {

uint32_t AxisToPosition(int32_t raw, int32_t rest_raw) {
  if (std::abs(raw - rest_raw) < kJoystickRestZone) raw = rest_raw;
  if (raw < -32768) raw = -32768;
  if (raw > 32767) raw = 32767;
  return static_cast<uint32_t>(raw + 32768);
}

}  // namespace kelto1
