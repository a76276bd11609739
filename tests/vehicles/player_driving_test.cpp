// The player's driving: pedals, steering, limits, scrolling, readout and lane.
#include <cstring>
#include <memory>
#include <string>

#include "vehicle_test_support.h"

namespace kelto1 {
namespace {

using DrivingTest = VehicleTest;

TEST_F(DrivingTest, AcceleratingFromStandstillBuildsThrottleOneStepPerFrame) {
  platform.Hold(vk::kMenu);
  // Throttle climbs 1..10 (+2 held, -1 decay); the accumulator passes AccelStep 44
  // in frame 9 (1 + 2 + ... + 9 = 45) and again in frame 14 (1 + 10 x 5 = 51).
  for (int f = 1; f <= 14; ++f) {
    Frame();
    SCOPED_TRACE("frame " + std::to_string(f));
    EXPECT_EQ(player().Throttle, f < 10 ? f : 10);
    EXPECT_EQ(player().Speed, f < 9 ? 0 : f < 14 ? 1 : 2);
  }
  EXPECT_EQ(player().ThrottleAcc, 7);
}

TEST_F(DrivingTest, ThrottleIsLimitedBySpeedWithHalvesToEven) {
  struct Case {
    int speed, throttle;
  };
  // L = 10 - Speed / 30: 8.5 goes down to 8, 9.5 up to 10.
  const Case cases[] = {{0, 10}, {15, 10}, {45, 8}, {150, 5}, {200, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE("speed " + std::to_string(c.speed));
    player().MaxSpeed = 200;
    player().Speed = c.speed;
    player().Throttle = 10;
    player().ThrottleAcc = 0;
    platform.Hold(vk::kMenu);
    Frame();
    EXPECT_EQ(player().Throttle, c.throttle);
  }
}

TEST_F(DrivingTest, KnockedBackwardsTheEngineGivesNoMoreThanAtAStandstill) {
  // A car above that was itself knocked backwards (Speed -120) meets the standing
  // player end-on: the player's speed drops below 0 before the throttle is limited.
  PlaceCar(traffic(1), 190, 370, -120);
  traffic(1).Dir = 1;
  player().Mass = 1000;
  player().Speed = 0;
  player().Throttle = 10;
  platform.Hold(vk::kMenu);
  Frame();
  EXPECT_EQ(player().Throttle, 10);
  EXPECT_EQ(player().Speed, 0);
}

TEST_F(DrivingTest, AnAccumulatorEqualToItsThresholdDoesNotCarry) {
  player().Speed = 100;  // limit 6.67, applied as 7
  player().Throttle = 6;
  player().ThrottleAcc = 37;
  platform.Hold(vk::kMenu);
  Frame();
  EXPECT_EQ(player().ThrottleAcc, 44);
  EXPECT_EQ(player().Speed, 100);

  player().ThrottleAcc = -31;
  player().Throttle = 0;
  platform.ReleaseAll();
  platform.Hold(vk::kControl);
  Frame();
  EXPECT_EQ(player().ThrottleAcc, -32);
  EXPECT_EQ(player().Speed, 100);
}

struct SteerCarryCase {
  const char* name;
  int steer_vel, steer_acc;  // SteerVel before its decay of one
  int moved, acc_after;
};
void PrintTo(const SteerCarryCase& c, std::ostream* os) { *os << c.name; }

class SteerCarryTest : public DrivingTest, public ::testing::WithParamInterface<SteerCarryCase> {};

// The steering accumulator carries a pixel only once it passes SteerStep (40) either way;
// landing exactly on it moves nothing.
TEST_P(SteerCarryTest, CarriesOnlyPastTheSteerStep) {
  const SteerCarryCase c = GetParam();
  player().Speed = 50;
  player().SteerVel = c.steer_vel;
  player().SteerAcc = c.steer_acc;
  Frame();
  EXPECT_EQ(player().X - 190, c.moved);
  EXPECT_EQ(player().SteerAcc, c.acc_after);
}

INSTANTIATE_TEST_SUITE_P(Steering, SteerCarryTest,
                         ::testing::Values(SteerCarryCase{"RightReachesForty", 10, 31, 0, 40},
                                           SteerCarryCase{"RightPassesForty", 10, 32, 1, 1},
                                           SteerCarryCase{"RightPassesEighty", 10, 72, 2, 1},
                                           SteerCarryCase{"LeftReachesForty", -10, -31, 0, -40},
                                           SteerCarryCase{"LeftPassesForty", -10, -32, -1, -1},
                                           SteerCarryCase{"RightExactlyEighty", 10, 71, 1, 40}),
                         [](const ::testing::TestParamInfo<SteerCarryCase>& info) { return std::string(info.param.name); });

TEST_F(DrivingTest, WithNoPedalTheSpeedHoldsAndReleasingTheBrakeEndsBrakingAtOnce) {
  player().Speed = 80;
  player().Throttle = -20;
  for (int f = 0; f < 50; ++f) Frame();
  EXPECT_EQ(player().Throttle, 0);
  EXPECT_EQ(player().Speed, 80);
}

TEST_F(DrivingTest, BrakingAtAStandstillNeverMovesTheRoadBackwards) {
  player().Speed = 0;
  player().Travel = 0;
  player().ThrottleAcc = -32;  // at the threshold: the next braking frame carries
  player().Throttle = -10;
  game.vehicles.ScrollSub = 5;
  platform.Hold(vk::kControl);
  Frame();
  EXPECT_EQ(player().Speed, 0);
  EXPECT_EQ(player().Travel, 0);
  EXPECT_EQ(game.vehicles.ScrollSub, 5);
  EXPECT_EQ(game.vehicles.ScrollStep, 0);
  EXPECT_EQ(player().Throttle, -11);
  EXPECT_EQ(player().ThrottleAcc, -11);
  EXPECT_EQ(game.window[Element::Text1].text, "0");
}

TEST_F(DrivingTest, BrakingBottomsOutAtMinus32) {
  player().Speed = 150;
  platform.Hold(vk::kControl);
  for (int f = 0; f < 40; ++f) Frame();
  EXPECT_EQ(player().Throttle, -32);
}

TEST_F(DrivingTest, AStandingCarCreepsSidewaysOnePixelPerSteerStep) {
  platform.Hold(vk::kLeft);
  for (int f = 1; f <= 40; ++f) Frame();
  EXPECT_EQ(player().SteerVel, -1);
  EXPECT_EQ(player().X, 190);
  Frame();  // the accumulator reaches -41, past -SteerStep
  EXPECT_EQ(player().X, 189);
  EXPECT_EQ(player().SteerAcc, -1);
}

TEST_F(DrivingTest, SteeringIsHeldToSpeedPlusOne) {
  player().Speed = 20;
  player().SteerVel = 20;
  platform.Hold(vk::kRight);
  Frame();
  EXPECT_EQ(player().SteerVel, 21);
  platform.ReleaseAll();
  player().SteerVel = -40;
  Frame();
  EXPECT_EQ(player().SteerVel, -21);
}

TEST_F(DrivingTest, XStopsAtTheEdgesAndTheAccumulatorKeepsItsFraction) {
  struct Case {
    int key, start_x, steer, edge;
  };
  const Case cases[] = {{vk::kRight, 496, 60, 500}, {vk::kLeft, -36, -60, -40}};
  for (const Case& c : cases) {
    SCOPED_TRACE("towards " + std::to_string(c.edge));
    player().Speed = 100;
    player().X = c.start_x;
    player().SteerVel = c.steer;
    player().SteerAcc = 0;
    platform.ReleaseAll();
    platform.Hold(c.key);
    for (int f = 0; f < 20; ++f) {
      Frame();
      EXPECT_LE(std::abs(player().X - c.edge), 4);
      EXPECT_GE(player().SteerAcc, -40);
      EXPECT_LE(player().SteerAcc, 40);
    }
    EXPECT_EQ(player().X, c.edge);
    EXPECT_NE(player().SteerAcc, 0);
  }
}

TEST_F(DrivingTest, SpeedIsCappedAtTheVehiclesTopSpeed) {
  player().Speed = 150;
  platform.Hold(vk::kMenu);
  for (int f = 0; f < 100; ++f) Frame();
  EXPECT_EQ(player().Speed, 150);
  EXPECT_EQ(game.window[Element::Text1].text, "210");
}

TEST_F(DrivingTest, TheReadoutShowsTheBinaryProductRoundedDown) {
  struct Case {
    int speed;
    const char* text;
  };
  // 45 x 1.4 and 85 x 1.4 come out just below 63 and 119 in binary.
  const Case cases[] = {{0, "0"}, {1, "1"}, {45, "62"}, {85, "118"}, {100, "140"}, {150, "210"}, {200, "280"}};
  for (const Case& c : cases) {
    player().MaxSpeed = 200;
    player().Speed = c.speed;
    const int repaints = platform.repaints[Element::Text1];
    Frame();
    EXPECT_EQ(game.window[Element::Text1].text, c.text) << "speed " << c.speed;
    EXPECT_EQ(platform.repaints[Element::Text1], repaints + 1);
  }
}

// The twin takes the one scroller call by hand: both must end on the same road.
class ScrollTest : public VehicleTest {
 protected:
  ScrollTest() { Prepare(twin); }
  void SetUpBoth(int speed, int travel, int sub) {
    for (Kelto1* g : {&game, &twin}) {
      g->vehicles.Vehicles[0].Speed = speed;
      g->vehicles.Vehicles[0].Travel = travel;
      g->vehicles.ScrollSub = sub;
    }
  }
  bool SameRoad() const {
    return std::memcmp(&game.course, &twin.course, sizeof game.course) == 0 &&
           game.Master.pixels() == twin.Master.pixels() && game.random.state() == twin.random.state();
  }
  HeadlessPlatform twin_platform;
  Kelto1 twin{twin_platform};
};

TEST_F(ScrollTest, EveryTwentyUnitsMoveTheRoadOnePixel) {
  SetUpBoth(150, 19, 2);
  Frame();
  EXPECT_EQ(game.vehicles.ScrollStep, 8);  // 19 + 150 = 169: 8 pixels, 9 left over
  EXPECT_EQ(player().Travel, 9);
  EXPECT_EQ(game.vehicles.ScrollSub, 10);
  EXPECT_TRUE(SameRoad()) << "no tile row is due yet";
}

TEST_F(ScrollTest, ThirtyTwoPixelsLayOneTileRowAndKeepTheRemainder) {
  SetUpBoth(100, 0, 30);
  Frame();
  EXPECT_EQ(game.vehicles.ScrollStep, 5);
  EXPECT_EQ(game.vehicles.ScrollSub, 3);
  twin.ScrollCourse();
  EXPECT_TRUE(SameRoad());
}

TEST_F(ScrollTest, ARowIsLaidAtThirtyTwoNotThirtyOne) {
  SetUpBoth(20, 0, 30);
  Frame();
  EXPECT_EQ(game.vehicles.ScrollSub, 31);
  EXPECT_TRUE(SameRoad());
  Frame();
  EXPECT_EQ(game.vehicles.ScrollSub, 0);
  twin.ScrollCourse();
  EXPECT_TRUE(SameRoad());
}

TEST_F(DrivingTest, TheLaneIsTheHighestLineLessThan30PixelsRightOfTheCentre) {
  struct Case {
    int x, before, lane;
  };
  // Lines at 130, 225 and 316; the centre line is X + 32.
  const Case cases[] = {{190, 1, 2}, {300, 1, 3}, {255, 1, 3}, {254, 3, 2}, {68, 3, 3}, {69, 3, 1}};
  for (const Case& c : cases) {
    player().X = c.x;
    player().Lane = c.before;
    Frame();
    EXPECT_EQ(static_cast<int>(player().Lane), c.lane) << "x " << c.x;
  }
}

TEST_F(DrivingTest, ADecidedRaceBrakesWhateverTheControlsSay) {
  player().Speed = 100;
  game.shell.RaceOver = 1;
  game.shell.EndFrames = 10;
  platform.Hold(vk::kMenu);
  Frame();
  EXPECT_EQ(player().Throttle, -1);
  for (int f = 0; f < 300; ++f) Frame();
  EXPECT_EQ(player().Speed, 0);
  EXPECT_NE(game.window[Element::GETREADY].text, "GAME OVER");
}

TEST_F(DrivingTest, GameOverComesAtTheFourHundredthEndFrame) {
  game.shell.RaceOver = 1;
  for (int end_frames : {399, 401, 400}) {
    game.shell.EndFrames = end_frames;
    Frame();
    EXPECT_EQ(game.window[Element::GETREADY].text == "GAME OVER", end_frames == 400) << end_frames;
  }
  EXPECT_EQ(game.shell.TitlePending, 1);
}

TEST_F(DrivingTest, TheCooldownCountsDownToZero) {
  player().HitCooldown = 2;
  Frame();
  EXPECT_EQ(player().HitCooldown, 1);
  Frame();
  Frame();
  EXPECT_EQ(player().HitCooldown, 0);
}

TEST_F(DrivingTest, ContactsSeeLastFramesSteeringBeforeTheInput) {
  // A car to the right, steering 10 into it: the contact turns 10 into -2, then Left
  // adds -2 and the decay gives -3. Applying the input first would meet 8 instead.
  PlaceCar(traffic(1), 230, 420, 0);
  player().Mass = 1000;
  player().Speed = 50;
  player().SteerVel = 10;
  platform.Hold(vk::kLeft);
  Frame();
  EXPECT_EQ(player().SteerVel, -3);
  EXPECT_EQ(traffic(1).SteerVel, 9);
}

TEST_F(DrivingTest, AfterARaceLostTheOldBrakeThrottleIsClearedInTheFirstFrame) {
  player().Throttle = -32;
  player().Speed = 0;
  Frame();
  EXPECT_EQ(player().Throttle, 0);
  EXPECT_EQ(player().Speed, 0);
}

}  // namespace
}  // namespace kelto1
