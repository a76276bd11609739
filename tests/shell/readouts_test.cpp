// The condition colours and the clock.
#include "shell/game_fixture.h"

namespace kelto1 {
namespace {

using ReadoutsTest = GameTest;

TEST_F(ReadoutsTest, ConditionColourFollowsTheThresholds) {
  const struct { int32_t hit_points; uint32_t color; const char* text; } cases[] = {
      {350, colors::kGreen, "350"}, {349, colors::kYellow, "349"}, {100, colors::kYellow, "100"},
      {99, colors::kRed, "99"},     {-5, colors::kRed, "-5"},
  };
  for (const auto& c : cases) {
    game.vehicles.Vehicles[0].HitPoints = c.hit_points;
    game.ShowHitPoints();
    EXPECT_EQ(painted(Element::HitP).color, c.color) << c.hit_points;
    EXPECT_EQ(painted(Element::HitP).text, c.text);
  }
}

TEST_F(ReadoutsTest, ClockDropsOneUnitEveryHundredthCall) {
  box(Element::Mtime).text = "200";
  for (int i = 0; i < 99; ++i) game.ShowTime();
  EXPECT_EQ(box(Element::Mtime).text, "200");
  EXPECT_EQ(platform.repaints[Element::Mtime], 0);
  game.ShowTime();
  EXPECT_EQ(painted(Element::Mtime).text, "199");
  EXPECT_EQ(platform.repaints[Element::Mtime], 1);
  EXPECT_EQ(game.shell.RaceOver, 0);
}

TEST_F(ReadoutsTest, ClockReachingZeroDecidesTheRaceOnceAndStaysAtZero) {
  box(Element::Mtime).text = "1";
  for (int i = 0; i < 100; ++i) game.ShowTime();
  EXPECT_EQ(box(Element::Mtime).text, "0");
  EXPECT_EQ(game.shell.RaceOver, 1);
  for (int i = 0; i < 300; ++i) game.ShowTime();
  EXPECT_EQ(box(Element::Mtime).text, "0");
  // A bonus after the race was decided does not undo it.
  box(Element::Mtime).text = "80";
  for (int i = 0; i < 100; ++i) game.ShowTime();
  EXPECT_EQ(box(Element::Mtime).text, "79");
  EXPECT_EQ(game.shell.RaceOver, 1);
}

TEST_F(ReadoutsTest, FrameDelayKeepsTheLastValidValue) {
  box(Element::Gamewait).text = "15";
  EXPECT_EQ(game.FrameDelayMs(), 15);
  box(Element::Gamewait).text = "fast please";
  EXPECT_EQ(game.FrameDelayMs(), 15);
  box(Element::Gamewait).text = "7.5";
  EXPECT_EQ(game.FrameDelayMs(), 8);
}

}  // namespace
}  // namespace kelto1
