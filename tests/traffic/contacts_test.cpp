// Contacts between traffic vehicles, wrecks, the traffic damage reaction, and the rank
// kept by the rivals' passing.
#include <gtest/gtest.h>

#include "shell/readout_text.h"
#include "traffic/traffic_steps.h"
#include "traffic_fixture.h"
#include "case_names.h"

namespace kelto1::traffic_test {
namespace {

using traffic_steps::TouchVehicle;

class TrafficContactTest : public TrafficTest {
 protected:
  // Vehicle 1 close behind vehicle 2 on lane 2.
  void EndOn(int mass1, int mass2, int speed1, int speed2) {
    Vehicle& a = PlaceCar(1, 2, 300, speed1);
    Vehicle& b = PlaceCar(2, 2, 220, speed2);
    a.Mass = mass1;
    b.Mass = mass2;
  }
  int ActiveDebris() {
    int n = 0;
    for (int k = 0; k <= 9; ++k) n += game.traffic.Debris[k].Active == 1;
    return n;
  }
};

TEST_F(TrafficContactTest, EqualMassesEndOnHundredIntoFifty) {
  EndOn(1000, 1000, 100, 50);
  TouchVehicle(game, 1, 2);
  EXPECT_FLOAT_EQ(game.vehicles.KeepSelf, 0.95f);
  EXPECT_LT(static_cast<double>(game.vehicles.KeepSelf), 0.95) << "held in single precision";
  EXPECT_EQ(V(1).Speed, 53);  // just beyond 52.5
  EXPECT_EQ(V(2).Speed, 97);  // just below 97.5
  EXPECT_EQ(V(1).HitPoints, 975);
  EXPECT_EQ(V(2).HitPoints, 975);
  EXPECT_EQ(V(1).Throttle, 2) << "pushed back from the car ahead";

  const DebrisEntry& d = game.traffic.Debris[0];
  EXPECT_EQ(d.Active, 1);
  EXPECT_EQ(d.X, V(1).X);
  EXPECT_EQ(d.Y, 260);
  EXPECT_EQ(d.VY, 0) << "the throttle before the push";
  EXPECT_EQ(d.Frames, 0);

  // The other vehicle's update sees them separating: debris only.
  TouchVehicle(game, 2, 1);
  EXPECT_EQ(V(1).Speed, 53);
  EXPECT_EQ(V(2).Speed, 97);
  EXPECT_EQ(V(2).HitPoints, 975);
  EXPECT_EQ(ActiveDebris(), 2);
}

TEST_F(TrafficContactTest, EqualMassesEndOnThroughAWholeFrame) {
  EndOn(1000, 1000, 100, 50);
  game.MoveTraffic();
  EXPECT_EQ(V(1).Speed, 53);
  EXPECT_EQ(V(2).Speed, 97);
  EXPECT_EQ(V(1).HitPoints, 975);
  EXPECT_EQ(V(2).HitPoints, 975);
  // Both lost 25, but only the one whose own update met the other reacts: vehicle 2 was
  // hit before its update began.
  EXPECT_EQ(V(1).HitCooldown, 6);
  EXPECT_EQ(V(2).HitCooldown, 0);
  EXPECT_EQ(ActiveDebris(), 2);
  // The reaction lengthens every entry; the cloud of vehicle 2's touch comes after it
  // and ends unseen.
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(game.traffic.Debris[k].Frames, k == 1 ? 0 : 4) << k;
}

// End on, but not closing along the road: the speeds are not exchanged, nobody is pushed
// and nobody is hurt; only the cloud of the touch is left.
TEST_F(TrafficContactTest, EndOnNotClosingChangesNothing) {
  const struct {
    const char* what;
    int speed1, speed2;  // vehicle 1 behind vehicle 2
    int toucher;         // whose update meets the other
  } cases[] = {
      {"same speed, from behind", 60, 60, 1},
      {"same speed, from ahead", 60, 60, 2},
      {"the one ahead pulls away", 50, 100, 1},
      {"the one behind falls back, seen from ahead", 50, 100, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (auto& d : game.traffic.Debris) d.Active = 0;
    EndOn(1000, 1000, c.speed1, c.speed2);
    V(1).Throttle = 3;
    V(2).Throttle = 3;
    TouchVehicle(game, c.toucher, 3 - c.toucher);
    EXPECT_EQ(V(1).Speed, c.speed1);
    EXPECT_EQ(V(2).Speed, c.speed2);
    EXPECT_EQ(V(1).HitPoints, 1000);
    EXPECT_EQ(V(2).HitPoints, 1000);
    EXPECT_EQ(V(1).Throttle, 3);
    EXPECT_EQ(V(2).Throttle, 3);
    EXPECT_EQ(ActiveDebris(), 1);
  }
}

struct MassCase {
  int mass1, mass2;  // vehicle 1 runs into vehicle 2
  float ratio, keep_self, keep_other;
  int hp1, hp2, speed1, speed2;
};
void PrintTo(const MassCase& c, std::ostream* os) {
  *os << "mass1 " << c.mass1 << " mass2 " << c.mass2 << " ratio " << c.ratio << " keep_self " << c.keep_self
      << " keep_other " << c.keep_other << " hp1 " << c.hp1 << " hp2 " << c.hp2 << " speed1 " << c.speed1
      << " speed2 " << c.speed2;
}

class TrafficMassTest : public TrafficContactTest, public ::testing::WithParamInterface<MassCase> {};

TEST_P(TrafficMassTest, TheLighterTakesTheLargerShare) {
  const MassCase c = GetParam();
  EndOn(c.mass1, c.mass2, 100, 50);
  for (int i : {1, 2}) {
    V(i).Width = V(i).Mass == 500 ? 12 : 62;
    V(i).HitPoints = V(i).Mass == 2500 ? 3000 : 1000;
  }
  TouchVehicle(game, 1, 2);
  EXPECT_FLOAT_EQ(game.vehicles.MassRatio, c.ratio);
  EXPECT_FLOAT_EQ(game.vehicles.KeepSelf, c.keep_self);
  EXPECT_FLOAT_EQ(game.vehicles.KeepOther, c.keep_other);
  EXPECT_EQ(V(1).HitPoints, c.hp1);
  EXPECT_EQ(V(2).HitPoints, c.hp2);
  EXPECT_EQ(V(1).Speed, c.speed1);
  EXPECT_EQ(V(2).Speed, c.speed2);
}

INSTANTIATE_TEST_SUITE_P(
    Masses, TrafficMassTest,
    ::testing::Values(
        // A motorbike running into a lorry: five times the base damage of 25, nearly the
        // lorry's speed; the lorry keeps its own.
        MassCase{500, 2500, 5.0f, 0.998f, 0.0f, 875, 2995, 50, 50},
        // A lorry running into a motorbike: a fifth of the damage, and the bike takes on
        // nearly all of the lorry's speed.
        MassCase{2500, 500, 0.2f, 0.0f, 0.998f, 2995, 875, 100, 100},
        // 1000 - 62.5 rounds to the even 938.
        MassCase{1000, 2500, 2.5f, 0.992f, 0.6875f, 938, 2990, 50, 84}),
                         CaseName());

TEST_F(TrafficContactTest, SideContactExchangesSteeringWhenClosing) {
  Vehicle& a = PlaceCar(1, 2, 300, 60);
  Vehicle& b = PlaceCar(2, 2, 300, 60);
  b.X = a.X + 40;
  a.SteerVel = 40;  // moving right into b
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(a.HitPoints, 999);  // Int(40^2 / 1000) = 1
  EXPECT_EQ(b.HitPoints, 999);
  EXPECT_EQ(a.SteerVel, -2) << "takes b's 0, then pushed away";
  EXPECT_EQ(b.SteerVel, 38) << "0.95 x 40 just under 38";
}

TEST_F(TrafficContactTest, SideContactMovingApartLeavesOnlyDebris) {
  Vehicle& a = PlaceCar(1, 2, 300, 60);
  Vehicle& b = PlaceCar(2, 2, 300, 60);
  b.X = a.X + 40;
  a.SteerVel = -5;
  b.SteerVel = 5;
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(a.SteerVel, -5);
  EXPECT_EQ(b.SteerVel, 5);
  EXPECT_EQ(a.HitPoints, 1000);
  EXPECT_EQ(ActiveDebris(), 1);
}

TEST_F(TrafficContactTest, NoContactAtHalfTheWidthsApartNorAtTheLength) {
  Vehicle& a = PlaceCar(1, 2, 300, 100);
  Vehicle& b = PlaceCar(2, 2, 300, 50);
  b.Width = 53;
  b.X = a.X + 52;  // (51 + 53) / 2 = 52: touching needs less
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(ActiveDebris(), 0);
  b.X = a.X + 51;
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(ActiveDebris(), 1);

  b.X = a.X;
  b.Y = a.Y - 92;  // a's length would do, but b is higher: its own length 92 counts
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(ActiveDebris(), 1);
}

TEST_F(TrafficContactTest, ThePlayerAndAThrownRiderAreNotMetHere) {
  Vehicle& a = PlaceCar(1, 2, 420, 100);
  a.X = V(0).X;
  TouchVehicle(game, 1, 0);
  EXPECT_EQ(ActiveDebris(), 0);
  EXPECT_EQ(V(0).HitPoints, 700);

  Vehicle& rider = PlaceCar(2, 2, 300, 0);
  rider.Sprite = 53;
  Vehicle& b = PlaceCar(3, 2, 320, 60);
  TouchVehicle(game, 2, 3);
  EXPECT_EQ(ActiveDebris(), 0) << "a thrown-down rider touches nothing in its own update";
  TouchVehicle(game, 3, 2);
  EXPECT_EQ(ActiveDebris(), 1) << "others still meet it";
  EXPECT_LT(b.HitPoints, 1000);
}

TEST_F(TrafficContactTest, WithAllDebrisBusyTheContactStillCounts) {
  for (int k = 0; k <= 9; ++k) game.traffic.Debris[k].Active = 1;
  EndOn(1000, 1000, 100, 50);
  TouchVehicle(game, 1, 2);
  EXPECT_EQ(V(1).Speed, 53);
  EXPECT_EQ(game.traffic.Debris[10].Active, 0) << "entries 10..15 are never used";
}

struct WreckCase {
  int sprite;
  int hit_points;
  int sprite_after;
  bool wrecked;
};
void PrintTo(const WreckCase& c, std::ostream* os) {
  *os << "sprite " << c.sprite << " hit_points " << c.hit_points << " sprite_after " << c.sprite_after << " wrecked "
      << c.wrecked;
}

class TrafficWreckTest : public TrafficContactTest, public ::testing::WithParamInterface<WreckCase> {};

TEST_P(TrafficWreckTest, BelowZeroTheVehicleStops) {
  const WreckCase c = GetParam();
  Vehicle& v = PlaceCar(1, 2, 300, 60);
  v.Sprite = c.sprite;
  v.HitPoints = c.hit_points;
  traffic_steps::CheckWreck(game, 1);
  EXPECT_EQ(v.Sprite, c.sprite_after);
  EXPECT_EQ(v.MaxSpeed, c.wrecked ? 0 : 60);
  EXPECT_EQ(v.HitPoints, c.wrecked ? 0 : c.hit_points);
}

INSTANTIATE_TEST_SUITE_P(Wrecks, TrafficWreckTest,
                         ::testing::Values(WreckCase{52, -1, 53, true}, WreckCase{52, 0, 52, false},
                                           WreckCase{20, -500, 20, true}, WreckCase{1, 5, 1, false}),
                         CaseName());

TEST_F(TrafficContactTest, AWreckedMotorbikeBrakesToAStop) {
  Vehicle& bike = PlaceCar(1, 3, 300, 100);
  bike.Sprite = 52;
  bike.Width = 12;
  bike.HitPoints = -3;
  for (int f = 0; f < 400; ++f) game.MoveTraffic();
  EXPECT_EQ(bike.Active, 1);
  EXPECT_EQ(bike.Sprite, 53);
  EXPECT_EQ(bike.Speed, 0);
  EXPECT_EQ(bike.HitPoints, 0);
}

struct DamageCase {
  int damage;
  int cooldown;
  int frames;  // debris length afterwards; -1 = untouched
};
void PrintTo(const DamageCase& c, std::ostream* os) {
  *os << "damage " << c.damage << " cooldown " << c.cooldown << " frames " << c.frames;
}

class TrafficDamageReactionTest : public TrafficContactTest, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(TrafficDamageReactionTest, DebrisLengthByDamage) {
  const DamageCase c = GetParam();
  for (int k = 0; k <= 9; ++k) game.traffic.Debris[k].Frames = 9;
  Vehicle& v = PlaceCar(1, 2, 300, 60);
  v.HitCooldown = c.cooldown;
  traffic_steps::StartDamageCount(game, 1);
  v.HitPoints -= c.damage;
  traffic_steps::ReactToTrafficDamage(game, 1);
  EXPECT_EQ(game.vehicles.DamageTaken, c.damage);
  const bool reacts = c.frames != -1;
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(game.traffic.Debris[k].Frames, reacts ? c.frames : 9) << k;
  EXPECT_EQ(v.HitCooldown, reacts ? 6 : c.cooldown);
}

INSTANTIATE_TEST_SUITE_P(Damage, TrafficDamageReactionTest,
                         ::testing::Values(DamageCase{1, 0, -1}, DamageCase{2, 0, 3}, DamageCase{7, 0, 3},
                                           DamageCase{8, 0, 4}, DamageCase{49, 0, 4}, DamageCase{50, 0, 4},
                                           DamageCase{-100, 0, -1},  // a gain
                                           DamageCase{50, 2, -1}),
                         CaseName());

TEST_F(TrafficContactTest, APileUpBeyondSixteenBitsStillReacts) {
  Vehicle& v = PlaceCar(1, 2, 300, 60);
  v.HitPoints = -40000;  // knocked far down by others before its own update
  traffic_steps::StartDamageCount(game, 1);
  EXPECT_EQ(game.vehicles.DamageTaken, -32768);
  v.HitPoints = 3000;
  traffic_steps::StartDamageCount(game, 1);
  v.HitPoints = -40000;
  traffic_steps::ReactToTrafficDamage(game, 1);
  EXPECT_EQ(game.vehicles.DamageTaken, 32767);
  EXPECT_EQ(v.HitCooldown, 6);
}

// ---- The rank ------------------------------------------------------------------------

class TrafficRankTest : public TrafficContactTest {
 protected:
  Vehicle& PlaceRival(int slot, int a, int y, int ahead) {
    Vehicle& v = PlaceCar(slot, 3, y, 0);
    v.IsRival = 1;
    v.RivalNo = a;
    v.Sprite = 14;
    Rival& r = game.traffic.Rivals[a - 1];
    r.OnRoad = 1;
    r.Slot = slot;
    r.Ahead = ahead;
    return v;
  }
  const std::vector<uint8_t>* Sound(int i) { return &game.sounds.SoundData[i]; }
};

TEST_F(TrafficRankTest, ARivalPassingAndPassedBack) {
  game.window[Element::Rank].text = "20";
  Vehicle& v = PlaceRival(1, 3, 440, 0);  // behind the player (Y 420)
  game.MoveTraffic();
  EXPECT_EQ(game.window[Element::Rank].text, "20");
  EXPECT_TRUE(platform.played_sounds.empty());

  v.Y = 400;  // it has passed the player
  game.MoveTraffic();
  EXPECT_EQ(game.window[Element::Rank].text, "21");
  EXPECT_EQ(game.traffic.Rivals[2].Ahead, 1);
  v.Y = 430;  // the player has passed it back
  game.MoveTraffic();
  EXPECT_EQ(game.window[Element::Rank].text, "20");
  EXPECT_EQ(game.traffic.Rivals[2].Ahead, 0);

  ASSERT_EQ(platform.played_sounds.size(), 2u);
  EXPECT_EQ(platform.played_sounds[0], Sound(4));
  EXPECT_EQ(platform.played_sounds[1], Sound(5));
  EXPECT_EQ(platform.repaints[Element::Rank], 2);
  EXPECT_EQ(game.window.Painted(Element::Rank).text, "20");
}

TEST_F(TrafficRankTest, LevelWithThePlayerNothingChanges) {
  PlaceRival(1, 3, 420, 0);
  PlaceRival(2, 4, 420, 1);
  game.MoveTraffic();
  EXPECT_EQ(game.window[Element::Rank].text, "30");
  EXPECT_TRUE(platform.played_sounds.empty());
}

// A long stretch of racing with the real reset, spawning and traffic: the road scrolls
// fast and then stops, again and again, so rivals are caught up and passed, and pass the
// player in turn. The rank never drifts from 1 + the rivals ahead.
TEST_F(TrafficRankTest, TheRankIsAlwaysOnePlusTheRivalsAhead) {
  game.ShowTitle();
  Vehicle& p = V(0);
  p.Active = 1;
  p.Y = 420;
  game.course.CoursePos = 300;
  int scrolled = 0, passes = 0, passed = 0;
  auto rank = [&] { return ParseWholeNumber(game.window[Element::Rank].text).value_or(-1); };
  for (int frame = 0; frame < 20000; ++frame) {
    const int scroll = (frame / 1500) % 2 == 0 ? 8 : 0;
    p.Speed = scroll * 20;
    game.vehicles.ScrollStep = scroll;
    scrolled += scroll;
    if (scrolled >= 64) {  // one course entry per 64 pixels
      scrolled -= 64;
      game.course.CoursePos += 1;
    }
    const int before = rank();
    game.UpdateSignals();
    game.SpawnTraffic();
    game.MoveTraffic();
    game.TickSoundCooldowns();
    game.CollectPickups();
    game.vehicles.SpriteQueue[0] = 0;
    passes += rank() < before;
    passed += rank() > before;
    int ahead = 0;
    for (int a = 1; a <= 29; ++a) ahead += game.traffic.Rivals[a - 1].Ahead == 1;
    ASSERT_EQ(rank(), 1 + ahead) << "frame " << frame;
  }
  EXPECT_GT(passes, 5);
  EXPECT_GT(passed, 5);
}

}  // namespace
}  // namespace kelto1::traffic_test
