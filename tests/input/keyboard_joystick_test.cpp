// The four readers and their direction codes.
#include "shell/game_fixture.h"

namespace kelto1 {
namespace {

using InputTest = GameTest;

TEST_F(InputTest, KeysGiveTheirCodesAndTheFirstTestWins) {
  EXPECT_EQ(game.ReadSteerKeys(), 0);
  EXPECT_EQ(game.ReadPedalKeys(), 0);
  platform.Hold(vk::kLeft);
  platform.Hold(vk::kRight);
  platform.Hold(vk::kMenu);
  platform.Hold(vk::kControl);
  EXPECT_EQ(game.ReadSteerKeys(), dir::kLeft);
  EXPECT_EQ(game.ReadPedalKeys(), dir::kAccelerate);
  platform.ReleaseAll();
  platform.Hold(vk::kRight);
  platform.Hold(vk::kControl);
  EXPECT_EQ(game.ReadSteerKeys(), dir::kRight);
  EXPECT_EQ(game.ReadPedalKeys(), dir::kBrake);
}

TEST_F(InputTest, TapBetweenTwoQueriesIsReportedOnce) {
  platform.Tap(vk::kLeft);
  EXPECT_EQ(game.ReadSteerKeys(), dir::kLeft);
  EXPECT_EQ(game.ReadSteerKeys(), 0);
}

TEST_F(InputTest, JoystickSteersWithoutDeadZoneAroundItsRestPosition) {
  platform.joystick_present = true;
  platform.joystick.x = 32768;
  EXPECT_EQ(game.InitJoystick(), 0);
  EXPECT_EQ(game.input.RestX, 32768);
  const struct { uint32_t x; int16_t code; } cases[] = {{32767, dir::kLeft}, {32768, 0}, {32769, dir::kRight}, {0, dir::kLeft}};
  for (const auto& c : cases) {
    platform.joystick.x = c.x;
    EXPECT_EQ(game.ReadJoystickSteer(), c.code) << c.x;
  }
}

TEST_F(InputTest, JoystickButtonsGiveTwiceTheMask) {
  platform.joystick_present = true;
  const struct { uint32_t mask; int16_t value; int16_t code; } cases[] = {
      {0, 0, 0}, {1, 2, dir::kAccelerate}, {2, 4, dir::kBrake}, {3, 6, 0}, {2048, 0, 0}, {1u << 20, 0, 0},
  };
  for (const auto& c : cases) {
    platform.joystick.buttons = c.mask;
    platform.joystick.z = 40000;
    const JoyReading r = game.ReadJoystick(0);
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.buttons, c.value) << c.mask;
    EXPECT_EQ(game.ReadJoystickPedals(), c.code) << c.mask;
  }
}

TEST_F(InputTest, NoJoystickAnswersNothingAndLeavesRestAtZero) {
  EXPECT_NE(game.InitJoystick(), 0);
  EXPECT_EQ(game.input.RestX, 0);
  EXPECT_EQ(game.ReadJoystickSteer(), 0);
  EXPECT_EQ(game.ReadJoystickPedals(), 0);
}

}  // namespace
}  // namespace kelto1
