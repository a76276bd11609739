// SpawnTraffic: the requests and their order, the rivals coming onto the road, the
// models, lanes, parked and oncoming vehicles, settling among traffic and pick-ups.
#include <gtest/gtest.h>

#include "traffic_fixture.h"
#include "case_names.h"

namespace kelto1::traffic_test {
namespace {

// With the rivals standing still and no model draws, a request's draws come in this
// order: the three request tests, the default row, the lane, the model, then (oncoming)
// the x offset and the coin for the second lane, and the pick-up test.
constexpr int kDrawKind2 = 0, kDrawKind3 = 1, kDrawKind1 = 2, kDrawLane = 7, kDrawModel = 8;
constexpr int kDrawOncomingX = 9, kDrawCoin = 10;
constexpr int kNoPickupOdds = 32767;

class TrafficSpawnTest : public TrafficTest {
 protected:
  TrafficSpawnTest() {
    game.course.Kind1Odds = 0;  // Int(r x 0) is never 1: no request
    game.course.Kind2Odds = 0;
    game.course.Kind3Odds = 0;
    game.course.Kind1Limit = 20;
    game.course.TrafficKinds = 1;  // model 0
    game.course.PickupOdds = kNoPickupOdds;
    game.course.CoursePos = 100;
  }

  // A parking bay pattern 12 entries ahead, bays at columns 4 and 9.
  void LayBays() {
    const int pattern = 5;
    game.course.CourseSeq[game.course.CoursePos + 12] = pattern;
    game.course.PatternRows[4][pattern] = 15;
    game.course.PatternRows[9][pattern] = 37;
  }

  void Spawn(uint32_t state) {
    game.random.set_state(state);
    game.SpawnTraffic();
  }
};

struct RequestCase {
  bool hit2, hit3, hit1;
  int kind1_limit;
  const char* expected;  // "oncoming", "parked", "up" or "none"
};
void PrintTo(const RequestCase& c, std::ostream* os) {
  *os << "hit2 " << c.hit2 << " hit3 " << c.hit3 << " hit1 " << c.hit1 << " kind1_limit " << c.kind1_limit
      << " expected " << c.expected;
}

class TrafficRequestOrderTest : public TrafficSpawnTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(TrafficRequestOrderTest, TheLaterTestWins) {
  const RequestCase c = GetParam();
  game.course.Kind1Odds = game.course.Kind2Odds = game.course.Kind3Odds = 2;  // hit when r >= 0.5
  game.course.Kind1Limit = c.kind1_limit;
  V(0).Speed = 100;
  LayBays();
  Spawn(StateWhere([&](Random& r) {
    auto d = Take(r, 3);
    return (d[kDrawKind2] >= 0.5) == c.hit2 && (d[kDrawKind3] >= 0.5) == c.hit3 && (d[kDrawKind1] >= 0.5) == c.hit1;
  }));

  const std::string expected = c.expected;
  if (expected == "none") {
    EXPECT_EQ(ActiveTraffic(), 0);
    return;
  }
  const Vehicle& v = V(1);
  ASSERT_EQ(v.Active, 1);
  if (expected == "oncoming") {
    EXPECT_EQ(v.Dir, -1);
    EXPECT_EQ(v.Lane, 4);
    EXPECT_EQ(v.Sprite, 2);
    EXPECT_LT(v.Speed, 0);
  } else if (expected == "parked") {
    EXPECT_EQ(v.Dir, 1);
    EXPECT_EQ(v.MaxSpeed, 0);
    EXPECT_EQ(v.X, 32 * 9 + 28);  // the last bay wins
  } else {
    EXPECT_EQ(v.Dir, 1);
    EXPECT_GE(v.MaxSpeed, 50);
    EXPECT_EQ(v.Sprite, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Requests, TrafficRequestOrderTest,
                         ::testing::Values(RequestCase{false, false, false, 20, "none"},
                                           RequestCase{true, false, false, 20, "oncoming"},
                                           RequestCase{false, true, false, 20, "parked"},
                                           RequestCase{true, true, false, 20, "parked"},
                                           RequestCase{true, false, true, 20, "up"},
                                           RequestCase{false, true, true, 20, "up"},
                                           RequestCase{true, true, true, 20, "up"},
                                           // Kind 1 only while fewer vehicles than its limit run.
                                           RequestCase{true, true, true, 0, "parked"}),
                         CaseName());

TEST_F(TrafficSpawnTest, ARivalOverridesAllThreeRequests) {
  game.course.Kind1Odds = game.course.Kind2Odds = game.course.Kind3Odds = 2;
  Rival& r = game.traffic.Rivals[0];
  r.Ahead = 1;
  r.Speed = 30;
  r.Travel = 610;
  r.Pos = game.course.CoursePos - 2;
  Spawn(StateWhere([](Random& g) {
    auto d = Take(g, 3);
    return d[0] >= 0.5 && d[1] >= 0.5 && d[2] >= 0.5;
  }));
  EXPECT_EQ(V(1).IsRival, 1);
  EXPECT_EQ(V(1).RivalNo, 1);
  EXPECT_EQ(V(1).Sprite, 14);
  EXPECT_EQ(V(1).Dir, 1);
  EXPECT_EQ(ActiveTraffic(), 1);
}

struct RivalCarryCase {
  int pos_before;  // relative to CoursePos; the carry adds 1
  int ahead;
  int travel_before;
  bool comes_on;
};
void PrintTo(const RivalCarryCase& c, std::ostream* os) {
  *os << "pos_before " << c.pos_before << " ahead " << c.ahead << " travel_before " << c.travel_before << " comes_on "
      << c.comes_on;
}

class TrafficRivalCarryTest : public TrafficSpawnTest, public ::testing::WithParamInterface<RivalCarryCase> {};

TEST_P(TrafficRivalCarryTest, MeetsThePlayerOnlyAtACarryPastCoursePos) {
  const RivalCarryCase c = GetParam();
  Rival& r = game.traffic.Rivals[4];  // rival 5
  r.Speed = 40;
  r.Travel = c.travel_before;
  r.Ahead = c.ahead;
  r.Pos = game.course.CoursePos + c.pos_before;
  game.SpawnTraffic();
  const bool carried = c.travel_before + 40 >= 640;
  EXPECT_EQ(r.Pos, game.course.CoursePos + c.pos_before + (carried ? 1 : 0));
  EXPECT_EQ(r.Travel, c.travel_before + 40 - (carried ? 640 : 0));
  EXPECT_EQ(r.OnRoad, c.comes_on ? 1 : 0);
  EXPECT_EQ(V(1).Active, c.comes_on ? 1 : 0);
  if (c.comes_on) {
    EXPECT_EQ(V(1).RivalNo, 5);
  }
}

INSTANTIATE_TEST_SUITE_P(Carries, TrafficRivalCarryTest,
                         ::testing::Values(RivalCarryCase{-1, 1, 600, false},  // reaches exactly CoursePos
                                           RivalCarryCase{-1, 0, 600, false},
                                           RivalCarryCase{-2, 1, 600, true},   // caught up by the player
                                           RivalCarryCase{-2, 0, 600, false},
                                           RivalCarryCase{0, 0, 600, true},    // catches the player up
                                           RivalCarryCase{0, 1, 600, false},
                                           RivalCarryCase{-50, 1, 599, false}  // no carry, no test
                                           ),
                         CaseName());

TEST_F(TrafficSpawnTest, OnlyTheFirstRivalMeetingThePlayerComesOnInAFrame) {
  for (int a : {3, 7}) {
    Rival& r = game.traffic.Rivals[a - 1];
    r.Ahead = 1;
    r.Speed = 40;
    r.Travel = 600;
    r.Pos = 10;
  }
  game.SpawnTraffic();
  EXPECT_EQ(game.traffic.Rivals[2].OnRoad, 1);
  EXPECT_EQ(game.traffic.Rivals[6].OnRoad, 0);
  EXPECT_EQ(game.traffic.Rivals[6].Pos, 11);  // it still advanced
  EXPECT_EQ(ActiveTraffic(), 1);
}

TEST_F(TrafficSpawnTest, NoRivalComesOnWhenAllSlotsAreBusy) {
  for (int i = 1; i <= 28; ++i) PlaceCar(i, 3, -900 + 40 * i, 60);
  Rival& r = game.traffic.Rivals[0];
  r.Ahead = 1;
  r.Speed = 40;
  r.Travel = 600;
  r.Pos = 10;
  game.SpawnTraffic();
  EXPECT_EQ(r.OnRoad, 0);
  EXPECT_EQ(r.Pos, 11);
}

struct RivalPlaceCase {
  int a;
  int ahead;
};
void PrintTo(const RivalPlaceCase& c, std::ostream* os) { *os << "a " << c.a << " ahead " << c.ahead; }

class TrafficRivalPlacementTest : public TrafficSpawnTest, public ::testing::WithParamInterface<RivalPlaceCase> {};

TEST_P(TrafficRivalPlacementTest, AheadAtMinus900AndFiveSlowerElseBehindAt1476) {
  const auto [a, ahead] = GetParam();
  game.course.PickupOdds = 1;  // every ordinary vehicle would carry an item
  Rival& r = game.traffic.Rivals[a - 1];
  r.Ahead = ahead;
  r.Speed = 40;
  r.Travel = 600;
  r.Pos = game.course.CoursePos - (ahead ? 2 : 0);
  PlaceCar(1, 3, 300, 60);  // the rival takes the next free slot
  game.SpawnTraffic();

  const Vehicle& v = V(2);
  EXPECT_EQ(v.Active, 1);
  EXPECT_EQ(v.IsRival, 1);
  EXPECT_EQ(v.RivalNo, a);
  EXPECT_EQ(r.Slot, 2);
  EXPECT_EQ(r.OnRoad, 1);
  EXPECT_EQ(v.MaxSpeed, 3 * a + 100);
  EXPECT_EQ(v.Speed, ahead ? 3 * a + 95 : 3 * a + 100);
  EXPECT_EQ(v.Y, ahead ? -900 : 1476);
  EXPECT_EQ(v.Sprite, 14);
  EXPECT_EQ(v.Width, 58);
  EXPECT_EQ(v.Length, 92);
  EXPECT_EQ(v.Mass, 1000);
  EXPECT_EQ(v.AccelStep, 32);
  EXPECT_EQ(v.SteerStep, 32);
  EXPECT_EQ(v.Dir, 1);
  EXPECT_GE(v.ChangeOdds, 50);
  EXPECT_LT(v.ChangeOdds, 150);
  for (const Pickup& p : game.traffic.Pickups) EXPECT_EQ(p.Active, 0) << "a rival carries no item";
}

INSTANTIATE_TEST_SUITE_P(Rivals, TrafficRivalPlacementTest,
                         ::testing::Values(RivalPlaceCase{1, 1}, RivalPlaceCase{1, 0}, RivalPlaceCase{17, 1},
                                           RivalPlaceCase{29, 1}, RivalPlaceCase{29, 0}),
                         CaseName());

// The rival is made anew after each of the 29 vehicles checked, so its change odds come
// from the last of 29 draws; the pick-up test is drawn after them.
TEST_F(TrafficSpawnTest, ARivalIsMadeOncePerVehicleChecked) {
  Rival& r = game.traffic.Rivals[0];
  r.Ahead = 1;
  r.Speed = 40;
  r.Travel = 600;
  r.Pos = 10;
  const uint32_t state = game.random.state();
  const auto d = DrawsFrom(state, 40);
  game.SpawnTraffic();
  const int first_rival_draw = kDrawModel + 1;
  EXPECT_EQ(V(1).ChangeOdds, Int(d[first_rival_draw + 28] * 100) + 50);
  Random after;
  after.set_state(state);
  for (int k = 0; k < first_rival_draw + 29 + 1; ++k) after.Next();
  EXPECT_EQ(game.random.state(), after.state());
}

TEST_F(TrafficSpawnTest, ARivalIsNeverWithdrawnButAnOrdinaryVehicleIs) {
  // Blockers across the whole road where new vehicles appear, above and below the view.
  for (int slot : {1, 2}) {
    Vehicle& b = PlaceCar(slot, 2, slot == 1 ? -900 : 1476, 0);
    b.Width = 2000;
    b.MaxSpeed = 0;
  }
  Rival& r = game.traffic.Rivals[0];
  r.Ahead = 1;
  r.Speed = 40;
  r.Travel = 600;
  r.Pos = 10;
  game.SpawnTraffic();
  EXPECT_EQ(V(3).Active, 1);
  EXPECT_EQ(V(3).IsRival, 1);

  game.course.Kind1Odds = 2;
  game.random.set_state(StateWhere([](Random& g) { return Take(g, 3)[kDrawKind1] >= 0.5; }));
  game.SpawnTraffic();
  EXPECT_EQ(V(4).Active, 0);
  EXPECT_EQ(V(4).Y, V(0).Speed > V(4).MaxSpeed ? -900 : 1476);
}

struct ParkCase {
  int player_speed;
  bool motorbike;
  bool parked;
};
void PrintTo(const ParkCase& c, std::ostream* os) {
  *os << "player_speed " << c.player_speed << " motorbike " << c.motorbike << " parked " << c.parked;
}

class TrafficParkedTest : public TrafficSpawnTest, public ::testing::WithParamInterface<ParkCase> {};

TEST_P(TrafficParkedTest, ParksOnlyWhileThePlayerMoves) {
  const ParkCase c = GetParam();
  game.course.Kind3Odds = 2;
  game.course.TrafficKinds = 11;
  V(0).Speed = c.player_speed;
  LayBays();
  Spawn(StateWhere([&](Random& g) {
    auto d = Take(g, kDrawModel + 1);
    return d[kDrawKind3] >= 0.5 && Int(d[kDrawModel] * 11) == (c.motorbike ? 10 : 0);
  }));
  const Vehicle& v = V(1);
  ASSERT_EQ(v.Active, 1);
  if (c.parked) {
    EXPECT_EQ(v.MaxSpeed, 0);
    EXPECT_EQ(v.Speed, 0);
    EXPECT_EQ(v.HitPoints, 0);
    EXPECT_EQ(v.ChangeOdds, 0);
    EXPECT_EQ(v.X, 316);
    EXPECT_EQ(v.Y, -900);  // never below the view
  } else {
    EXPECT_GE(v.MaxSpeed, 50);
    EXPECT_EQ(v.Speed, v.MaxSpeed);
    EXPECT_EQ(v.X, game.course.Lanes[v.Lane].X - 32);
  }
}

INSTANTIATE_TEST_SUITE_P(Parking, TrafficParkedTest,
                         ::testing::Values(ParkCase{0, false, false}, ParkCase{100, false, true},
                                           ParkCase{1, false, true}, ParkCase{100, true, false}),
                         CaseName());

TEST_F(TrafficSpawnTest, NoBayAheadLeavesAnOrdinaryVehicle) {
  game.course.Kind3Odds = 2;
  V(0).Speed = 100;
  Spawn(StateWhere([](Random& g) { return Take(g, 3)[kDrawKind3] >= 0.5; }));
  EXPECT_GE(V(1).MaxSpeed, 50);
  EXPECT_EQ(V(1).Dir, 1);
}

struct OncomingCase {
  int model;
  bool oncoming;
  int sprite;
};
void PrintTo(const OncomingCase& c, std::ostream* os) {
  *os << "model " << c.model << " oncoming " << c.oncoming << " sprite " << c.sprite;
}

class TrafficOncomingModelTest : public TrafficSpawnTest, public ::testing::WithParamInterface<OncomingCase> {};

TEST_P(TrafficOncomingModelTest, LongCarsAndMotorbikesDriveUpTheRoad) {
  const OncomingCase c = GetParam();
  game.course.Kind2Odds = 2;
  game.course.TrafficKinds = 11;
  V(0).Speed = 200;
  Spawn(StateWhere([&](Random& g) {
    auto d = Take(g, kDrawModel + 1);
    return d[kDrawKind2] >= 0.5 && Int(d[kDrawModel] * 11) == c.model;
  }));
  const Vehicle& v = V(1);
  ASSERT_EQ(v.Active, 1);
  EXPECT_EQ(v.Sprite, c.sprite);
  EXPECT_EQ(v.Dir, c.oncoming ? -1 : 1);
  EXPECT_EQ(v.Speed, v.MaxSpeed);
  if (c.oncoming) {
    EXPECT_EQ(v.Lane, 4);
    EXPECT_LT(v.MaxSpeed, 0);
    EXPECT_EQ(v.Y, -900);
  } else {
    EXPECT_GT(v.MaxSpeed, 0);
  }
  if (c.model == 7) {
    EXPECT_EQ(v.Lane, 3);  // the long car keeps to lane 3
  }
}

INSTANTIATE_TEST_SUITE_P(Models, TrafficOncomingModelTest,
                         ::testing::Values(OncomingCase{0, true, 2}, OncomingCase{6, true, 21},
                                           OncomingCase{7, false, 22}, OncomingCase{10, false, 52}),
                         CaseName());

TEST_F(TrafficSpawnTest, ModelColumnsOverrideTheDefaultRow) {
  // The long car: its own draws come after the model number, in the default row's order.
  game.course.Kind1Odds = 2;
  game.course.TrafficKinds = 11;
  const uint32_t state = StateWhere([](Random& g) {
    auto d = Take(g, kDrawModel + 1);
    return d[kDrawKind1] >= 0.5 && Int(d[kDrawModel] * 11) == 7;
  });
  const auto d = DrawsFrom(state, kDrawModel + 5);
  Spawn(state);
  const Vehicle& v = V(1);
  EXPECT_EQ(v.Sprite, 22);
  EXPECT_EQ(v.Width, 55);
  EXPECT_EQ(v.Length, 126);
  EXPECT_EQ(v.Mass, 2000);
  EXPECT_EQ(v.HitPoints, 2000);
  EXPECT_EQ(v.AccelStep, 48);
  EXPECT_EQ(v.SteerStep, 52);
  EXPECT_EQ(v.BrakeStep, 32);
  EXPECT_EQ(v.WeaveRange, Int(d[9] * 3));
  EXPECT_EQ(v.WeaveOdds, Int(d[10] * 200));
  EXPECT_EQ(v.ChangeOdds, Int(d[11] * 1000) + 1200);
  EXPECT_EQ(v.MaxSpeed, Int(d[12] * 20) + 100);
}

TEST_F(TrafficSpawnTest, DefaultRowDrawsWeaveThenChangeThenSpeed) {
  game.course.Kind1Odds = 2;
  const uint32_t state = StateWhere([](Random& g) { return Take(g, 3)[kDrawKind1] >= 0.5; });
  const auto d = DrawsFrom(state, kDrawModel + 1);
  Spawn(state);
  const Vehicle& v = V(1);
  EXPECT_EQ(v.WeaveRange, Int(d[3] * 10));
  EXPECT_EQ(v.WeaveOdds, Int(d[4] * 100));
  EXPECT_EQ(v.ChangeOdds, Int(d[5] * 1000) + 200);
  EXPECT_EQ(v.MaxSpeed, Int(d[6] * 40) + 50);
  EXPECT_EQ(v.Lane, Int(d[kDrawLane] * 3) + 1);
  EXPECT_EQ(v.Width, 51);
  EXPECT_EQ(v.Length, 92);
}

struct SecondLaneCase {
  int lane4_x;
  bool coin;
  int shift;
};
void PrintTo(const SecondLaneCase& c, std::ostream* os) {
  *os << "lane4_x " << c.lane4_x << " coin " << c.coin << " shift " << c.shift;
}

class TrafficSecondOncomingLaneTest : public TrafficSpawnTest, public ::testing::WithParamInterface<SecondLaneCase> {};

TEST_P(TrafficSecondOncomingLaneTest, OnlyTheWideRoadHasIt) {
  const SecondLaneCase c = GetParam();
  game.course.Kind2Odds = 2;
  game.course.Lanes[4].X = c.lane4_x;
  const uint32_t state = StateWhere([&](Random& g) {
    auto d = Take(g, kDrawCoin + 1);
    return d[kDrawKind2] >= 0.5 && (d[kDrawCoin] >= 0.5) == c.coin;
  });
  const auto d = DrawsFrom(state, kDrawCoin + 1);
  Spawn(state);
  EXPECT_EQ(V(1).LaneShift, c.shift);
  EXPECT_EQ(V(1).X, c.lane4_x - Int(d[kDrawOncomingX] * 32) + c.shift);
}

INSTANTIATE_TEST_SUITE_P(Lanes, TrafficSecondOncomingLaneTest,
                         ::testing::Values(SecondLaneCase{420, true, 80}, SecondLaneCase{420, false, 0},
                                           SecondLaneCase{490, true, 0}, SecondLaneCase{419, true, 0}),
                         CaseName());

// The coin for the second lane is drawn on every road, so the draws after it (here the
// pick-up test) do not depend on the road's width.
TEST_F(TrafficSpawnTest, TheSecondLaneCoinIsDrawnOnEveryRoad) {
  game.course.Kind2Odds = 2;
  const uint32_t state = StateWhere([](Random& g) {
    auto d = Take(g, kDrawCoin + 2);
    return d[kDrawKind2] >= 0.5 && Int(d[kDrawCoin + 1] * kNoPickupOdds) != 0;
  });
  Random after;
  after.set_state(state);
  for (int k = 0; k < kDrawCoin + 2; ++k) after.Next();
  for (int lane4_x : {420, 490}) {
    V(1).Active = 0;
    game.course.Lanes[4].X = lane4_x;
    Spawn(state);
    EXPECT_EQ(game.random.state(), after.state()) << "Lanes(4).X = " << lane4_x;
  }
}

struct LaneCase {
  int asked;  // the lane draw, 1..3
  int player_speed;
  int lane;
};
void PrintTo(const LaneCase& c, std::ostream* os) {
  *os << "asked " << c.asked << " player_speed " << c.player_speed << " lane " << c.lane;
}

class TrafficSpawnLaneTest : public TrafficSpawnTest, public ::testing::WithParamInterface<LaneCase> {};

// Lanes 1 and 2 exist here only below the top of the view: a vehicle placed above the
// view cannot take them, one placed below it can.
TEST_P(TrafficSpawnLaneTest, ALaneIsTakenOnlyWhereItExistsAtTheSpawnPosition) {
  const LaneCase c = GetParam();
  game.course.Lanes[1].Top = 0;
  game.course.Lanes[2].Top = 0;
  game.course.Kind1Odds = 2;
  V(0).Speed = c.player_speed;
  Spawn(StateWhere([&](Random& g) {
    auto d = Take(g, kDrawLane + 1);
    return d[kDrawKind1] >= 0.5 && Int(d[kDrawLane] * 3) + 1 == c.asked;
  }));
  EXPECT_EQ(V(1).Lane, c.lane);
  EXPECT_EQ(V(1).X, game.course.Lanes[c.lane].X - 32);
}

INSTANTIATE_TEST_SUITE_P(Lanes, TrafficSpawnLaneTest,
                         ::testing::Values(LaneCase{1, 200, 3}, LaneCase{1, 0, 1}, LaneCase{2, 200, 3},
                                           LaneCase{2, 0, 2}, LaneCase{3, 0, 3}),
                         CaseName());

TEST_F(TrafficSpawnTest, ANewVehicleTakesTheSpeedOfASlowerOneCloseAhead) {
  game.course.Kind1Odds = 2;
  Vehicle& slow = PlaceCar(1, 2, 1476 - 150, 10);
  slow.Width = 400;  // in front of every lane
  slow.Length = 100;
  Spawn(StateWhere([](Random& g) { return Take(g, 3)[kDrawKind1] >= 0.5; }));
  ASSERT_EQ(V(2).Y, 1476);
  EXPECT_EQ(V(2).Active, 1);
  EXPECT_EQ(V(2).Speed, 10);
  EXPECT_GE(V(2).MaxSpeed, 50);
}

struct SettleCase {
  const char* name;
  int behind;  // how far ahead of the new car the slow one is
  int across;  // its X minus the new car's X
  int width;   // its width; the new car is 51 wide
  int speed;   // the new car's speed after settling
};
void PrintTo(const SettleCase& c, std::ostream* os) { *os << c.name; }

class TrafficSettleTest : public TrafficSpawnTest, public ::testing::WithParamInterface<SettleCase> {};

// A new car at 60 meets a car at 10 ahead of it. The pair is clear, and the new car
// keeps its speed, once the gap reaches 4 x 50 + 200 = 400, or the sideways distance
// reaches half the widths plus 4 (52.5 beside a car 50 wide, 53 beside one 51 wide),
// or the other car is not ahead at all; equality counts as clear.
TEST_P(TrafficSettleTest, TakesTheSlowerSpeedOnlyInsideTheGap) {
  const SettleCase c = GetParam();
  game.course.Kind1Odds = 2;
  const uint32_t state = StateWhere([](Random& g) {
    const auto d = Take(g, kDrawLane + 1);
    return d[kDrawKind1] >= 0.5 && Int(d[6] * 40) + 50 == 60 && Int(d[kDrawLane] * 3) + 1 == 2;
  });
  const int new_x = game.course.Lanes[2].X - 32;
  Vehicle& slow = PlaceCar(1, 2, 1476 - c.behind, 10);
  slow.Width = c.width;
  slow.Length = 20;
  slow.X = new_x + c.across;
  Spawn(state);
  ASSERT_EQ(V(2).Y, 1476);
  ASSERT_EQ(V(2).X, new_x);
  ASSERT_EQ(V(2).MaxSpeed, 60);
  EXPECT_EQ(V(2).Speed, c.speed);
}

INSTANTIATE_TEST_SUITE_P(Settling, TrafficSettleTest,
                         ::testing::Values(SettleCase{"GapExactly400", 400, 0, 50, 60},
                                           SettleCase{"Gap399", 399, 0, 50, 10},
                                           SettleCase{"Gap1", 1, 40, 50, 10},
                                           SettleCase{"Level", 0, 0, 50, 60},
                                           SettleCase{"Across53BesideWidth50", 100, 53, 50, 60},
                                           SettleCase{"Across52BesideWidth50", 100, 52, 50, 10},
                                           SettleCase{"AcrossMinus52BesideWidth50", 100, -52, 50, 10},
                                           SettleCase{"AcrossExactly53BesideWidth51", 100, 53, 51, 60},
                                           SettleCase{"AcrossMinus53BesideWidth51", 100, -53, 51, 60},
                                           SettleCase{"Across52BesideWidth51", 100, 52, 51, 10}),
                         [](const ::testing::TestParamInfo<SettleCase>& info) { return std::string(info.param.name); });

TEST_F(TrafficSpawnTest, AWithdrawnVehicleDropsItsItemInTheSameFrame) {
  game.course.Kind1Odds = 2;
  game.course.PickupOdds = 1;
  Vehicle& b = PlaceCar(1, 2, 1476 - 50, 0);
  b.Width = 400;
  b.Length = 100;
  Spawn(StateWhere([](Random& g) { return Take(g, 3)[kDrawKind1] >= 0.5; }));
  EXPECT_EQ(V(2).Active, 0);
  ASSERT_EQ(game.traffic.Pickups[0].Active, 1);
  EXPECT_EQ(game.traffic.Pickups[0].Carrier, 2);
  game.CollectPickups();
  EXPECT_EQ(game.traffic.Pickups[0].Active, 0);
}

struct PickupCase {
  int place;
  int off_x, off_y;
};
void PrintTo(const PickupCase& c, std::ostream* os) {
  *os << "place " << c.place << " off_x " << c.off_x << " off_y " << c.off_y;
}

class TrafficPickupPlacementTest : public TrafficSpawnTest, public ::testing::WithParamInterface<PickupCase> {};

TEST_P(TrafficPickupPlacementTest, FourPlacesAroundASaloonOfWidth51) {
  const PickupCase c = GetParam();
  game.course.Kind1Odds = 2;
  game.course.PickupOdds = 1;  // every ordinary vehicle carries one
  // The pick-up test (certain with odds 1) comes before the kind and the place.
  const int kDrawKind = kDrawModel + 2, kDrawPlace = kDrawModel + 3;
  const uint32_t state = StateWhere([&](Random& g) {
    auto d = Take(g, kDrawPlace + 1);
    return d[kDrawKind1] >= 0.5 && Int(d[kDrawPlace] * 4) + 1 == c.place;
  });
  const auto d = DrawsFrom(state, kDrawPlace + 1);
  Spawn(state);
  ASSERT_EQ(V(1).Width, 51);
  const Pickup& p = game.traffic.Pickups[0];
  EXPECT_EQ(p.Active, 1);
  EXPECT_EQ(p.Carrier, 1);
  EXPECT_EQ(p.Kind, Int(d[kDrawKind] * 10) + 1);
  EXPECT_EQ(p.OffX, c.off_x);
  EXPECT_EQ(p.OffY, c.off_y);
}

INSTANTIATE_TEST_SUITE_P(Places, TrafficPickupPlacementTest,
                         ::testing::Values(PickupCase{1, 16, -32}, PickupCase{2, 16, 92},
                                           PickupCase{3, -16, 46},  // 10 - 25.5 rounds to even
                                           PickupCase{4, 54, 46}),
                         CaseName());

TEST_F(TrafficSpawnTest, NoItemWhenAllSixAreInPlay) {
  game.course.Kind1Odds = 2;
  game.course.PickupOdds = 1;
  for (Pickup& p : game.traffic.Pickups) p.Active = 1;
  Spawn(StateWhere([](Random& g) { return Take(g, 3)[kDrawKind1] >= 0.5; }));
  EXPECT_EQ(V(1).Active, 1);
  for (const Pickup& p : game.traffic.Pickups) EXPECT_EQ(p.Carrier, 0);
}

}  // namespace
}  // namespace kelto1::traffic_test
