// The player against traffic, the damage reaction and the race lost by damage.
#include <string>

#include "app/sim_session.h"
#include "vehicle_test_support.h"

namespace kelto1 {
namespace {

class CollisionTest : public VehicleTest {
 protected:
  CollisionTest() { player().Mass = 1000; }  // as heavy as the test cars
  // One contact pass followed by the frame's damage reaction.
  void Collide() {
    game.PlayerHitPointsAtStart = player().HitPoints;
    game.CollideWithTraffic();
    game.ReactToDamage();
  }
  int ActiveDebris() const {
    int n = 0;
    for (const DebrisEntry& e : game.traffic.Debris) n += e.Active == 1;
    return n;
  }
  // The sound last handed to the machine, or -1.
  int LastSound() const {
    if (platform.played_sounds.empty()) return -1;
    for (int i = 0; i < 14; ++i)
      if (platform.played_sounds.back() == &game.sounds.SoundData[i]) return i;
    return -2;
  }
};

TEST_F(CollisionTest, SideContactExchangesSteeringWeightedByMass) {
  PlaceCar(traffic(1), 230, 420, 50);
  player().Speed = 50;
  player().SteerVel = 10;
  player().Throttle = 3;
  Collide();
  // Equal masses keep 0.95 of the other's motion, held just below 0.95.
  EXPECT_EQ(game.vehicles.KeepOther, 0.95f);
  EXPECT_LT(static_cast<double>(game.vehicles.KeepOther), 0.95);
  EXPECT_EQ(player().SteerVel, -2);
  EXPECT_EQ(traffic(1).SteerVel, 9);
  EXPECT_EQ(player().HitPoints, 700);  // Int(100 / 1000) = 0
  EXPECT_EQ(traffic(1).HitPoints, 700);
  const DebrisEntry& e = game.traffic.Debris[0];
  EXPECT_EQ(e.Active, 1);
  EXPECT_EQ(e.X, 210);
  EXPECT_EQ(e.Y, 420);
  EXPECT_EQ(e.VX, 10);
  EXPECT_EQ(e.VY, 3);
  EXPECT_EQ(e.Frames, 0);
  EXPECT_TRUE(platform.played_sounds.empty());
}

TEST_F(CollisionTest, SideContactMovingApartOnlyThrowsDebris) {
  PlaceCar(traffic(1), 230, 420, 50);
  traffic(1).SteerVel = 12;
  player().SteerVel = 10;
  Collide();
  EXPECT_EQ(player().SteerVel, 10);
  EXPECT_EQ(traffic(1).SteerVel, 12);
  EXPECT_EQ(ActiveDebris(), 1);
}

TEST_F(CollisionTest, TouchingNeedsLessThanHalfTheWidthsAndTheHigherOnesLength) {
  struct Case {
    int x, y;
    bool touch;
  };
  // Widths 44 and 50: 47 apart is no touch. Lengths: the car above is 92 long,
  // the player below it 84.
  const Case cases[] = {{237, 420, false}, {236, 420, true}, {143, 420, false}, {144, 420, true},
                        {190, 328, false}, {190, 329, true}, {190, 504, false}, {190, 503, true}};
  for (const Case& c : cases) {
    for (auto& e : game.traffic.Debris) e.Active = 0;
    PlaceCar(traffic(1), c.x, c.y, 0);
    game.CollideWithTraffic();
    EXPECT_EQ(ActiveDebris(), c.touch ? 1 : 0) << c.x << "," << c.y;
  }
}

TEST_F(CollisionTest, EndOnContactExchangesSpeeds) {
  PlaceCar(traffic(1), 190, 330, 50);  // ahead of the player, slower
  player().Speed = 150;
  Collide();
  EXPECT_EQ(player().Speed, 55);
  EXPECT_EQ(traffic(1).Speed, 145);
  EXPECT_EQ(player().Throttle, 2);
  EXPECT_EQ(player().HitPoints, 700 - 81);  // Int(90^2 / 100)
  EXPECT_EQ(traffic(1).HitPoints, 700 - 81);
  // 81 points in one frame: the heavy crash, long debris and the cooldown.
  EXPECT_EQ(LastSound(), 2);
  for (int d = 0; d <= 9; ++d) EXPECT_EQ(game.traffic.Debris[d].Frames, 4);
  EXPECT_EQ(player().HitCooldown, 6);
  EXPECT_EQ(game.window[Element::HitP].text, "619");
}

TEST_F(CollisionTest, ACarCatchingUpFromBehindPushesThePlayer) {
  PlaceCar(traffic(1), 190, 480, 120);
  player().Speed = 40;
  game.CollideWithTraffic();
  EXPECT_EQ(player().Speed, 116);  // 0.95 x 80 + 40 = 115.99998
  EXPECT_EQ(traffic(1).Speed, 44);  // 0.95 x -80 + 120 = 44.00001
  EXPECT_EQ(player().Throttle, -2);
}

TEST_F(CollisionTest, EndOnContactNotClosingChangesNothing) {
  PlaceCar(traffic(1), 190, 330, 150);  // ahead and faster
  player().Speed = 100;
  game.CollideWithTraffic();
  EXPECT_EQ(player().Speed, 100);
  EXPECT_EQ(traffic(1).Speed, 150);
  EXPECT_EQ(ActiveDebris(), 1);
}

TEST_F(CollisionTest, AHeadOnCrashStopsThePlayerAlmostDead) {
  PlaceCar(traffic(1), 200, 330, -60);
  traffic(1).Dir = -1;
  player().Speed = 100;
  game.CollideWithTraffic();
  EXPECT_EQ(player().Speed, 1);
  EXPECT_EQ(traffic(1).Speed, 92);  // 0.95 x 160 - 60
  EXPECT_EQ(player().SteerVel, -2);  // pushed away from the car on its right
  EXPECT_EQ(player().Throttle, 2);
  // Damage from the exchanged speeds, -52 and 92: Int(144^2 / 100) = 207.
  EXPECT_EQ(player().HitPoints, 700 - 207);
  EXPECT_EQ(traffic(1).HitPoints, 700 - 207);
}

TEST_F(CollisionTest, MassCoefficients) {
  struct Case {
    int player_mass, other_mass;
    float ratio, keep_self, keep_other;
  };
  const Case cases[] = {
      {1000, 1000, 1.0f, 0.95f, 0.95f}, {1000, 2500, 2.5f, 0.992f, 0.6875f}, {500, 2500, 5.0f, 0.998f, 0.0f},
      {2500, 500, 0.2f, 0.0f, 0.998f},  {1000, 0, 1.0f, 0.95f, 0.95f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.player_mass) + " against " + std::to_string(c.other_mass));
    PlaceCar(traffic(1), 230, 420, 0);
    traffic(1).Mass = c.other_mass;
    player().Mass = c.player_mass;
    game.CollideWithTraffic();
    EXPECT_FLOAT_EQ(game.vehicles.MassRatio, c.ratio);
    EXPECT_FLOAT_EQ(game.vehicles.KeepSelf, c.keep_self);
    EXPECT_FLOAT_EQ(game.vehicles.KeepOther, c.keep_other);
  }
}

TEST_F(CollisionTest, TheLighterVehicleTakesTheLargerShareOfTheDamage) {
  // A motorbike steering 60 into a lorry: d = Int(3600 / 1000) = 3.
  player().Width = 12;
  player().Mass = 500;
  player().HitPoints = 200;
  player().SteerVel = 60;
  player().Speed = 80;
  PlaceCar(traffic(1), 220, 420, 80);
  traffic(1).Width = 62;
  traffic(1).Mass = 2500;
  traffic(1).HitPoints = 2000;
  game.CollideWithTraffic();
  EXPECT_EQ(player().HitPoints, 200 - 15);
  EXPECT_EQ(traffic(1).HitPoints, 1999);  // a fifth of it: 2000 - 0.6
  EXPECT_EQ(player().SteerVel, -2);
  EXPECT_EQ(traffic(1).SteerVel, 0);  // the lorry keeps none of the bike's motion
}

TEST_F(CollisionTest, HitPointsRoundHalvesToEven) {
  // Mass ratio 2, d = Int(71^2 / 1000) = 5: the car loses 2.5.
  player().SteerVel = 71;
  player().Speed = 80;
  PlaceCar(traffic(1), 230, 420, 80);
  traffic(1).Mass = 2000;
  traffic(1).HitPoints = 701;
  game.CollideWithTraffic();
  EXPECT_EQ(traffic(1).HitPoints, 698);  // 698.5 goes to the even neighbour
  EXPECT_EQ(player().HitPoints, 690);
}

TEST_F(CollisionTest, ThrownRidersAndFreeSlotsArePassedThrough) {
  PlaceCar(traffic(3), 190, 330, 50);
  traffic(3).Sprite = 53;
  PlaceCar(traffic(4), 190, 330, 50);
  traffic(4).Active = 0;
  player().Speed = 150;
  Collide();
  EXPECT_EQ(player().Speed, 150);
  EXPECT_EQ(ActiveDebris(), 0);
}

TEST_F(CollisionTest, EveryVehicleTouchedStartsItsOwnDebrisAndSeesTheValuesLeftBefore) {
  PlaceCar(traffic(2), 190, 330, 50);
  PlaceCar(traffic(7), 190, 340, 50);
  player().Speed = 150;
  game.CollideWithTraffic();
  EXPECT_EQ(ActiveDebris(), 2);
  // Slot 2 took the player to 55; slot 7 at 50 then barely closes: 55 - 0.95 x 5.
  EXPECT_EQ(traffic(2).Speed, 145);
  EXPECT_EQ(player().Speed, 50);
  EXPECT_EQ(traffic(7).Speed, 55);
}

struct ReactionCase {
  int damage, cooldown;
  int sound;   // -1: none
  int frames;  // 9: left as it was
  int cooldown_after;
};
void PrintTo(const ReactionCase& c, std::ostream* os) {
  *os << "damage " << c.damage << " cooldown " << c.cooldown << " sound " << c.sound << " frames " << c.frames
      << " cooldown_after " << c.cooldown_after;
}

class ReactionTest : public CollisionTest, public ::testing::WithParamInterface<ReactionCase> {};

TEST_P(ReactionTest, DamageBands) {
  const ReactionCase& c = GetParam();
  for (auto& e : game.traffic.Debris) e.Frames = 9;
  player().HitCooldown = c.cooldown;
  game.PlayerHitPointsAtStart = 700;
  player().HitPoints = 700 - c.damage;
  const int repaints = platform.repaints[Element::HitP];
  game.ReactToDamage();
  EXPECT_EQ(game.vehicles.DamageTaken, c.damage);
  EXPECT_EQ(LastSound(), c.sound);
  for (int d = 0; d <= 15; ++d) EXPECT_EQ(game.traffic.Debris[d].Frames, d <= 9 ? c.frames : 9) << d;
  EXPECT_EQ(player().HitCooldown, c.cooldown_after);
  EXPECT_EQ(platform.repaints[Element::HitP], repaints + (c.damage != 0 ? 1 : 0));
  if (c.damage != 0) {
    EXPECT_EQ(game.window[Element::HitP].text, std::to_string(700 - c.damage));
  }
  EXPECT_EQ(game.shell.RaceOver, 0);
}

std::string ReactionName(const ::testing::TestParamInfo<ReactionCase>& info) {
  const ReactionCase& c = info.param;
  std::string name = c.damage < 0 ? "Gain" + std::to_string(-c.damage) : "Damage" + std::to_string(c.damage);
  if (c.cooldown != 0) name += "Cooling" + std::to_string(c.cooldown);
  return name;
}

INSTANTIATE_TEST_SUITE_P(Bands, ReactionTest,
                         ::testing::Values(ReactionCase{0, 0, -1, 9, 0}, ReactionCase{1, 0, -1, 9, 0},
                                           ReactionCase{-30, 0, -1, 9, 0}, ReactionCase{2, 0, 0, 3, 6},
                                           ReactionCase{7, 0, 0, 3, 6}, ReactionCase{8, 0, 1, 4, 6},
                                           ReactionCase{49, 0, 1, 4, 6}, ReactionCase{50, 0, 2, 4, 6},
                                           ReactionCase{699, 0, 2, 4, 6}, ReactionCase{81, 3, -1, 9, 3},
                                           ReactionCase{5, 1, -1, 9, 1}),
                         ReactionName);

// FUEL pick-ups add to the condition without a limit, so it can pass what 16 bits hold;
// the damage of the frame is still worked out from the whole value, and only the
// damage count stops at the ends of the 16-bit range.
TEST_F(CollisionTest, ConditionsBeyondSixteenBitsStillReactToDamage) {
  const struct {
    const char* what;
    int start, after;
    int damage, sound, frames;
    uint8_t race_over;
  } cases[] = {
      {"a knock at 32900", 32900, 32880, 20, 1, 4, 0},
      {"a scrape at 32900", 32900, 32899, 1, -1, 9, 0},
      {"a crash at 32900", 32900, 32700, 200, 2, 4, 0},
      {"a knock at -33000", -33000, -33005, 5, 0, 3, 1},
      {"from 32900 to -33000", 32900, -33000, 32767, 2, 4, 1},
      {"a gain from -33000 to 32900", -33000, 32900, -32768, -1, 9, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (auto& e : game.traffic.Debris) e.Frames = 9;
    platform.played_sounds.clear();
    game.audio.SoundCooldown.fill(0);
    game.shell.RaceOver = 0;
    player().HitCooldown = 0;
    game.PlayerHitPointsAtStart = c.start;
    player().HitPoints = c.after;
    game.ReactToDamage();
    EXPECT_EQ(game.vehicles.DamageTaken, c.damage);
    EXPECT_EQ(LastSound(), c.sound);
    EXPECT_EQ(game.traffic.Debris[0].Frames, c.frames);
    EXPECT_EQ(player().HitCooldown, c.sound >= 0 ? 6 : 0);
    EXPECT_EQ(game.shell.RaceOver, c.race_over);
    EXPECT_EQ(game.window[Element::HitP].text, std::to_string(c.after));
  }
}

// The same through a whole driving step: the frame starts at 32900 and an obstacle
// under the car costs it some of that.
TEST_F(CollisionTest, AFrameStartingAbove32767HitsAnObstacleLikeAnyOther) {
  for (int32_t start : {32900, -33000}) {
    SCOPED_TRACE(start);
    Prepare(game);
    for (auto& column : game.course.TileGrid) column.fill(2);
    platform.played_sounds.clear();
    game.audio.SoundCooldown.fill(0);
    game.shell.RaceOver = 0;
    player().HitCooldown = 0;
    player().HitPoints = start;
    player().Speed = 150;
    game.DrivePlayer();
    const int damage = start - player().HitPoints;
    ASSERT_GT(damage, 49) << "the obstacle did not cost enough to be heard";
    EXPECT_EQ(game.vehicles.DamageTaken, damage);
    EXPECT_EQ(LastSound(), 2);
    EXPECT_EQ(player().HitCooldown, 6);
  }
}

TEST_F(CollisionTest, ASoundStillCoolingDownIsSkippedButTheReactionHappens) {
  game.audio.SoundCooldown[1] = 4;
  game.PlayerHitPointsAtStart = 700;
  player().HitPoints = 680;
  game.ReactToDamage();
  EXPECT_EQ(LastSound(), -1);
  EXPECT_EQ(game.traffic.Debris[0].Frames, 4);
  EXPECT_EQ(player().HitCooldown, 6);
}

TEST_F(CollisionTest, FallingBelowZeroDecidesTheRace) {
  game.PlayerHitPointsAtStart = 5;
  player().HitPoints = -3;
  game.ReactToDamage();
  EXPECT_EQ(game.shell.RaceOver, 1);
  EXPECT_EQ(game.window[Element::HitP].text, "-3");
  EXPECT_EQ(game.window[Element::HitP].color, colors::kRed);

  // Exactly 0 is still a car that runs.
  game.shell.RaceOver = 0;
  game.PlayerHitPointsAtStart = 5;
  player().HitPoints = 0;
  player().HitCooldown = 0;
  game.ReactToDamage();
  EXPECT_EQ(game.shell.RaceOver, 0);
}

// A whole race lost by damage: decided in one frame, over 400 frames later, ended
// 1000 frames later, with the game-over screen shown exactly once.
TEST(RaceLostByDamage, IsDecidedOnceAndRunsOutItsThousandFrames) {
  SimSession session;
  session.StartProgram();
  Kelto1& game = session.game();
  long decided = 0, game_over_frame = 0;
  int game_over_shown = 0;
  session.platform().on_repaint = [&](const ShownWindow& shown, Element which) {
    if (which == Element::GETREADY && session.in_race_frame() && shown.elements[Element::GETREADY].text == "GAME OVER") {
      ++game_over_shown;
      game_over_frame = session.frame() + 1;
    }
  };
  session.after_frame = [&](long frame) {
    if (frame == 1) {
      // Obstacles everywhere and a car nearly wrecked: the next frame's hit costs 112.
      for (auto& column : game.course.TileGrid) column.fill(2);
      game.vehicles.Vehicles[0].HitPoints = 50;
      game.vehicles.Vehicles[0].Speed = 150;
    }
    if (decided == 0 && game.shell.RaceOver == 1) decided = frame;
  };
  const long frames = session.RunRace(5000);
  EXPECT_EQ(decided, 2);
  EXPECT_EQ(game.window[Element::Mtime].text, "190") << "the clock did not decide it";
  EXPECT_EQ(game_over_shown, 1);
  EXPECT_EQ(game_over_frame, decided + 400);
  EXPECT_EQ(frames, decided + 1000);
  EXPECT_LT(game.vehicles.Vehicles[0].HitPoints, 0);
  EXPECT_EQ(game.vehicles.Vehicles[0].Speed, 0);
}

}  // namespace
}  // namespace kelto1
