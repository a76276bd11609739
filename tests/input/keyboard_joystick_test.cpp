// The four readers and their direction codes.
#include "shell/game_fixture.h"

namespace kelto1 {
namespace {

using InputTest = GameTest;

TEST_F(InputTest, KeysGiveTheirCodesAndTheFirstTestWins) {
  int16_t steer = -1, pedal = -1;
  game.ReadSteerKeys(steer);
  game.ReadPedalKeys(pedal);
  EXPECT_EQ(steer, 0);
  EXPECT_EQ(pedal, 0);
  platform.Hold(vk::kLeft);
  platform.Hold(vk::kRight);
  platform.Hold(vk::kMenu);
  platform.Hold(vk::kControl);
  game.ReadSteerKeys(steer);
  game.ReadPedalKeys(pedal);
  EXPECT_EQ(steer, dir::kLeft);
  EXPECT_EQ(pedal, dir::kAccelerate);
  platform.ReleaseAll();
  platform.Hold(vk::kRight);
  platform.Hold(vk::kControl);
  game.ReadSteerKeys(steer);
  game.ReadPedalKeys(pedal);
  EXPECT_EQ(steer, dir::kRight);
  EXPECT_EQ(pedal, dir::kBrake);
}

TEST_F(InputTest, TapBetweenTwoQueriesIsReportedOnce) {
  platform.Tap(vk::kLeft);
  int16_t steer = 0;
  game.ReadSteerKeys(steer);
  EXPECT_EQ(steer, dir::kLeft);
  game.ReadSteerKeys(steer);
  EXPECT_EQ(steer, 0);
}

TEST_F(InputTest, JoystickSteersWithoutDeadZoneAroundItsRestPosition) {
  platform.joystick_present = true;
  platform.joystick.x = 32768;
  int16_t result = -1;
  game.InitJoystick(result);
  EXPECT_EQ(result, 0);
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
    int16_t buttons = -1, err = -1;
    game.ReadJoystick(0, game.input.Joy, buttons, err);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(buttons, c.value) << c.mask;
    EXPECT_EQ(game.ReadJoystickPedals(), c.code) << c.mask;
  }
}

TEST_F(InputTest, NoJoystickAnswersNothingAndLeavesRestAtZero) {
  int16_t result = 0;
  game.InitJoystick(result);
  EXPECT_NE(result, 0);
  EXPECT_EQ(game.input.RestX, 0);
  EXPECT_EQ(game.ReadJoystickSteer(), 0);
  EXPECT_EQ(game.ReadJoystickPedals(), 0);
}

}  // namespace
}  // namespace kelto1
