// The soak's checks: the steering rule where the driving guarantees it.
#include <gtest/gtest.h>

#include "app/soak.h"
#include "vehicles/vehicle_test_support.h"

namespace kelto1 {
namespace {

TEST(SteeringWatch, TheRuleIsSteeringAtMostSpeedPlusOne) {
  const struct {
    const char* what;
    int speed, steer_vel;
    bool breach;
  } cases[] = {
      {"standing, creeping at 1", 0, 1, false},  {"standing, at 2", 0, 2, true},
      {"at 20, steering 21", 20, 21, false},     {"at 20, steering -21", 20, -21, false},
      {"at 20, steering 22", 20, 22, true},      {"at 20, steering -22", 20, -22, true},
      // Knocked backwards by a contact, the clamps leave -(Speed + 1).
      {"at -4, steering 3", -4, 3, false},       {"at -4, steering -3", -4, -3, false},
      {"at -4, steering 4", -4, 4, true},        {"at -1, steering 1", -1, 1, true},
  };
  for (const auto& c : cases) {
    Vehicle p{};
    p.Speed = c.speed;
    p.SteerVel = c.steer_vel;
    EXPECT_EQ(SteeringWatch::Check(p).has_value(), c.breach) << c.what;
  }
}

// The watch sees the steering before a kerb acts on it: a kerb bounce later in the same
// frame may leave more than Speed + 1, which the watch must not count.
class SteeringWatchTest : public VehicleTest {};

TEST_F(SteeringWatchTest, AfterAContactKnocksTheCarBackTheLimitIsMinusSpeedMinusOne) {
  SteeringWatch watch;
  watch.Attach(game);
  for (int speed : {-1, -4, -9}) {
    for (int steer : {-30, 0, 30}) {
      player().Speed = speed;
      player().SteerVel = steer;
      game.SetAfterSteering([&](const Kelto1& g) {
        EXPECT_EQ(g.vehicles.Vehicles[0].SteerVel, -(speed + 1)) << "speed " << speed << ", steering " << steer;
        EXPECT_FALSE(SteeringWatch::Check(g.vehicles.Vehicles[0]));
      });
      Frame();
    }
  }
}

TEST_F(SteeringWatchTest, WatchesRightAfterTheSteeringStepOnly) {
  SteeringWatch watch;
  watch.Attach(game);
  int calls = 0;
  player().Speed = 20;
  player().SteerVel = 40;
  platform.Hold(vk::kRight);
  Frame();
  EXPECT_EQ(player().SteerVel, 21);
  EXPECT_FALSE(watch.Take());

  // A wall to the car's left throws it right at 0.7 of its pace plus one: 15 at speed 0.
  for (auto& column : game.course.TileGrid) column.fill(1);
  player().Speed = 1;
  player().SteerVel = -20;
  platform.ReleaseAll();
  Frame();
  EXPECT_GT(player().SteerVel, player().Speed + 1) << "the kerb did not bounce the car";
  EXPECT_FALSE(watch.Take()) << "the bounce is not the driving's steering";

  game.SetAfterSteering([&](const Kelto1&) { ++calls; });
  Frame();
  EXPECT_EQ(calls, 1) << "once per driving step";
}

}  // namespace
}  // namespace kelto1
