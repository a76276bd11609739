// The joystick's X axis as the game's position query reports it.
#include "frontend/joystick_axis.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(JoystickAxis, TheWholeAxisSpansThePositionScale) {
  EXPECT_EQ(AxisToPosition(-32768, 0), 0u);
  EXPECT_EQ(AxisToPosition(32767, 0), 65535u);
  EXPECT_EQ(AxisToPosition(0, 0), 32768u);
  EXPECT_EQ(AxisToPosition(-12000, 0), 20768u);
}

TEST(JoystickAxis, ReadingsNearTheRestAreTheRestItself) {
  // The game steers at any difference from the rest it took at start-up.
  const int32_t rest = -200;
  const uint32_t at_rest = AxisToPosition(rest, rest);
  EXPECT_EQ(at_rest, 32568u);
  EXPECT_EQ(AxisToPosition(rest + kJoystickRestZone - 1, rest), at_rest);
  EXPECT_EQ(AxisToPosition(rest - kJoystickRestZone + 1, rest), at_rest);
  EXPECT_GT(AxisToPosition(rest + kJoystickRestZone, rest), at_rest);
  EXPECT_LT(AxisToPosition(rest - kJoystickRestZone, rest), at_rest);
}

}  // namespace
}  // namespace kelto1
