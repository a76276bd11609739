// MoveTraffic: lane changes and the turn signal, following, signals, motion, removal,
// markers and drawing.
#include <gtest/gtest.h>

#include "traffic/traffic_steps.h"
#include "traffic_fixture.h"
#include "case_names.h"

namespace kelto1::traffic_test {
namespace {

class TrafficDrivingTest : public TrafficTest {
 protected:
  // Runs one frame of traffic with the road scrolling by `scroll` pixels.
  void Frame(int scroll = 0) {
    game.vehicles.ScrollStep = scroll;
    game.vehicles.SpriteQueue[0] = 0;
    game.MoveTraffic();
  }
  Signal& PlaceSignal(int k, int y, int lanes, int phase) {
    Signal& s = game.traffic.Signals[k];
    s.Active = 1;
    s.Y = y;
    s.CrossLanes = lanes;
    s.Phase = phase;
    s.Count = 500;
    return s;
  }
};

struct DirCase {
  int dir;
  bool tries;
};
void PrintTo(const DirCase& c, std::ostream* os) { *os << "dir " << c.dir << " tries " << c.tries; }

class TrafficLaneChangeTryTest : public TrafficDrivingTest, public ::testing::WithParamInterface<DirCase> {};

TEST_P(TrafficLaneChangeTryTest, OncomingVehiclesNeverTryALaneChange) {
  const DirCase c = GetParam();
  Vehicle& v = PlaceCar(1, c.dir == 1 ? 2 : 4, c.dir == 1 ? 300 : -900, 60 * c.dir);
  v.Dir = c.dir;
  v.ChangeOdds = 2;  // Int(r x 2) is 1 in half the frames
  bool tried = false;
  for (int f = 0; f < 200 && !tried; ++f) {
    Frame(c.dir == 1 ? 3 : 0);
    tried = v.LaneHold > 0;
    if (c.dir == -1) {
      ASSERT_EQ(v.Lane, 4);
    }
  }
  EXPECT_EQ(tried, c.tries);
}

INSTANTIATE_TEST_SUITE_P(Directions, TrafficLaneChangeTryTest, ::testing::Values(DirCase{1, true}, DirCase{-1, false}),
                         CaseName());

struct LaneChangeCase {
  int lane;
  bool up;            // the direction draw: one lane up (higher number) or down
  int occupant_gap;   // y distance of a vehicle in the target lane; 0 = none
  bool lane2_ends;    // lane 2 ends within the look-ahead
  int next_lane;      // 0 = the change is cancelled
};
void PrintTo(const LaneChangeCase& c, std::ostream* os) {
  *os << "lane " << c.lane << " up " << c.up << " occupant_gap " << c.occupant_gap << " lane2_ends " << c.lane2_ends
      << " next_lane " << c.next_lane;
}

class TrafficLaneChangeTest : public TrafficDrivingTest, public ::testing::WithParamInterface<LaneChangeCase> {};

TEST_P(TrafficLaneChangeTest, CancelledOffTheRoadIntoTrafficOrAnEndingLane) {
  const LaneChangeCase c = GetParam();
  Vehicle& v = PlaceCar(1, c.lane, 300, 60);
  v.ChangeOdds = 2;
  if (c.occupant_gap != 0) PlaceCar(2, c.lane + (c.up ? 1 : -1), 300 + c.occupant_gap, 60);
  // The look-ahead point is 300 + 4 x 60 pixels above the vehicle's top.
  if (c.lane2_ends) game.course.Lanes[2].Top = 300 - 300 - 240 + 1;
  game.random.set_state(StateWhere([&](Random& g) {
    auto d = Take(g, 2);
    return Int(d[0] * 2) == 1 && (Int(d[1] * 2) == 1) == c.up;
  }));
  Frame(3);
  EXPECT_EQ(v.LaneHold, 100) << "the change was tried";
  EXPECT_EQ(v.Lane, c.lane) << "a change waits for the turn signal; a cancelled one never comes";
  EXPECT_EQ(v.Blinking, c.next_lane != 0 ? 1 : 0);
  if (c.next_lane != 0) {
    EXPECT_EQ(v.NextLane, c.next_lane);
    EXPECT_EQ(v.BlinkSide, c.up ? 1 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Changes, TrafficLaneChangeTest,
                         ::testing::Values(LaneChangeCase{1, false, 0, false, 0},  // into lane 0
                                           LaneChangeCase{3, true, 0, false, 0},   // into lane 4
                                           LaneChangeCase{1, true, 0, false, 2},
                                           LaneChangeCase{3, false, 0, false, 2},
                                           LaneChangeCase{1, true, 0, true, 0},
                                           LaneChangeCase{1, true, 95, false, 0},  // within its length + 4
                                           LaneChangeCase{1, true, 96, false, 2}),
                         CaseName());

TEST_F(TrafficDrivingTest, TheTurnSignalTakesTheLaneAtFrame121AndStopsAt326) {
  Vehicle& v = PlaceCar(1, 1, 100, 100);
  v.ChangeOdds = 2;
  game.random.set_state(StateWhere([](Random& g) {
    auto d = Take(g, 2);
    return Int(d[0] * 2) == 1 && Int(d[1] * 2) == 1;
  }));
  for (int frame = 0; frame <= 330; ++frame) {
    Frame(5);  // the road moves as fast as the car: it stays in view
    v.ChangeOdds = 0;
    ASSERT_EQ(v.Lane, frame < 121 ? 1 : 2) << "frame " << frame;
    ASSERT_EQ(v.Blinking, frame < 326 ? 1 : 0) << "frame " << frame;
    if (frame <= 120) {
      const bool shown = frame <= 38 || frame >= 80;
      ASSERT_EQ(v.BlinkLit, shown ? 1 : 0) << "frame " << frame;
    }
  }
  EXPECT_EQ(v.BlinkCount, 8);
}

TEST_F(TrafficDrivingTest, RivalsChangeLaneAtOnce) {
  Vehicle& v = PlaceCar(1, 1, 100, 100);
  v.Sprite = 14;
  v.ChangeOdds = 2;
  game.random.set_state(StateWhere([](Random& g) {
    auto d = Take(g, 2);
    return Int(d[0] * 2) == 1 && Int(d[1] * 2) == 1;
  }));
  Frame(5);
  EXPECT_EQ(v.Lane, 2);
  EXPECT_EQ(v.Blinking, 0);
}

TEST_F(TrafficDrivingTest, AnEndingLaneIsLeftOneFrameAfterTheSignalStarts) {
  Vehicle& v = PlaceCar(1, 1, 300, 60);
  game.course.Lanes[1].Top = 0;  // lane 1 exists only below the top of the view
  Frame(3);
  EXPECT_EQ(v.Lane, 1);
  EXPECT_EQ(v.Blinking, 1);
  EXPECT_EQ(v.NextLane, 2);
  Frame(3);
  EXPECT_EQ(v.Lane, 2);  // the end-of-lane test repeats while the signal runs
}

struct SignalCase {
  int lanes;
  int phase;
  int dir;
  int distance;  // of the vehicle's top behind the crossing, in its direction of travel
  int speed;
  bool brakes;
};
void PrintTo(const SignalCase& c, std::ostream* os) {
  *os << "lanes " << c.lanes << " phase " << c.phase << " dir " << c.dir << " distance " << c.distance << " speed "
      << c.speed << " brakes " << c.brakes;
}

class TrafficSignalBrakeTest : public TrafficDrivingTest, public ::testing::WithParamInterface<SignalCase> {};

TEST_P(TrafficSignalBrakeTest, RedAndYellowZones) {
  const SignalCase c = GetParam();
  PlaceSignal(0, 0, c.lanes, c.phase);
  Vehicle& v = PlaceCar(1, c.dir == 1 ? 3 : 4, c.distance * c.dir, c.speed * c.dir);
  v.Dir = c.dir;
  Frame();
  // Cruise control adds nothing at cruise speed; a brake of 4 (red) or 2 (yellow)
  // decays by one in the same frame.
  const int brake = c.phase == 1 ? 4 : 2;
  EXPECT_EQ(v.Throttle, c.brakes ? -(brake - 1) * c.dir : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, TrafficSignalBrakeTest,
    ::testing::Values(
        // Red, two cross lanes: 200 < d < 450.
        SignalCase{2, 1, 1, 200, 40, false}, SignalCase{2, 1, 1, 201, 40, true}, SignalCase{2, 1, 1, 449, 40, true},
        SignalCase{2, 1, 1, 450, 40, false},
        // Red, three cross lanes: 300 < d < 700.
        SignalCase{3, 1, 1, 300, 40, false}, SignalCase{3, 1, 1, 301, 40, true}, SignalCase{3, 1, 1, 699, 40, true},
        SignalCase{3, 1, 1, 700, 40, false},
        // Above 50 a car driving up brakes wherever it is, also beyond the crossing; an
        // oncoming one only in the zone.
        SignalCase{2, 1, 1, 1000, 51, true}, SignalCase{2, 1, 1, -300, 51, true}, SignalCase{2, 1, 1, 1000, 50, false},
        SignalCase{2, 1, -1, 900, 60, false}, SignalCase{2, 1, -1, 300, 60, true},
        // Yellow: 250 L - 100 < d < 250 L + 100.
        SignalCase{2, 3, 1, 400, 40, false}, SignalCase{2, 3, 1, 401, 40, true}, SignalCase{2, 3, 1, 599, 60, true},
        SignalCase{3, 3, 1, 849, 40, true}, SignalCase{3, 3, 1, 850, 40, false},
        // Green holds nobody.
        SignalCase{2, 2, 1, 300, 60, false}),
                         CaseName());

TEST_F(TrafficDrivingTest, ACarHeldByARedLightStopsInTheZoneAndGoesOnWhenGreen) {
  Signal& s = PlaceSignal(0, 0, 2, 1);
  Vehicle& v = PlaceCar(1, 3, 440, 60);
  for (int f = 0; f < 400; ++f) {
    Frame();
    s.Y = 0;  // the crossing stays where it is
    s.Count = 500;
  }
  EXPECT_EQ(v.Speed, 0);
  EXPECT_GT(v.Y, 200);
  s.Phase = 2;
  for (int f = 0; f < 600; ++f) Frame(3);
  EXPECT_EQ(v.Active, 1);
  EXPECT_EQ(v.Speed, 60);
}

struct FollowCase {
  int other_speed;
  int other_max;
  bool red_ahead;
  int throttle;  // after the frame
  int steer;     // sign of the steering velocity
};
void PrintTo(const FollowCase& c, std::ostream* os) {
  *os << "other_speed " << c.other_speed << " other_max " << c.other_max << " red_ahead " << c.red_ahead
      << " throttle " << c.throttle << " steer " << c.steer;
}

class TrafficFollowTest : public TrafficDrivingTest, public ::testing::WithParamInterface<FollowCase> {};

TEST_P(TrafficFollowTest, BrakesBehindSlowTrafficAndSwervesAroundParkedCars) {
  const FollowCase c = GetParam();
  Vehicle& v = PlaceCar(1, 2, 300, 60);
  Vehicle& other = PlaceCar(2, 2, 300 - 150, c.other_speed);
  other.MaxSpeed = c.other_max;
  other.X = v.X + 10;  // a little to the right
  if (c.red_ahead) PlaceSignal(0, 0, 2, 1).Y = 100;  // between them, above the follower
  Frame();
  EXPECT_EQ(v.Throttle, c.throttle);
  EXPECT_EQ(Sgn(static_cast<long long>(v.SteerVel)), c.steer);
}

INSTANTIATE_TEST_SUITE_P(
    Following, TrafficFollowTest,
    ::testing::Values(FollowCase{40, 40, false, -3, 0},   // slower and close: brakes
                      FollowCase{20, 20, false, -3, 0},   // slower still, less than 20 pixels aside
                      FollowCase{0, 0, false, 0, -1},     // parked: swerves left, keeps its speed
                      FollowCase{5, 5, false, 0, -1},     // nearly stopped: swerves too
                      FollowCase{0, 0, true, -3, -1}),
                         CaseName());   // parked, red light ahead: only the red brakes

TEST_F(TrafficDrivingTest, ANearlyStoppedCarIsNudgedAsideButNotWhileARedLightHoldsIt) {
  for (bool red : {false, true}) {
    Vehicle& v = PlaceCar(1, 2, 300, 1);
    Vehicle& parked = PlaceCar(2, 2, 300 - 100, 0);
    parked.X = v.X + 10;
    if (red) PlaceSignal(0, 100, 2, 1);
    const int x = v.X;
    Frame();
    EXPECT_EQ(v.X, red ? x : x - 1) << (red ? "red" : "no red");
  }
}

struct RemovalCase {
  int y;
  int scroll;
  bool stays;
};
void PrintTo(const RemovalCase& c, std::ostream* os) {
  *os << "y " << c.y << " scroll " << c.scroll << " stays " << c.stays;
}

class TrafficRemovalTest : public TrafficDrivingTest, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(TrafficRemovalTest, TopsAtMinus992And1568Stay) {
  const RemovalCase c = GetParam();
  Vehicle& v = PlaceCar(1, 3, c.y, 0);
  Frame(c.scroll);
  EXPECT_EQ(v.Y, c.y + c.scroll);
  EXPECT_EQ(v.Active, c.stays ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Edges, TrafficRemovalTest,
                         ::testing::Values(RemovalCase{-992, 0, true}, RemovalCase{-993, 0, false},
                                           RemovalCase{1568, 0, true}, RemovalCase{1569, 0, false},
                                           RemovalCase{1566, 2, true}, RemovalCase{1566, 3, false}),
                         CaseName());

TEST_F(TrafficDrivingTest, ARivalLeavingTheRoadGoesBackJustAheadOrBehind) {
  game.course.CoursePos = 500;
  for (int y : {-993, 1569}) {
    Vehicle& v = PlaceCar(1, 3, y, 0);
    v.IsRival = 1;
    v.RivalNo = 4;
    v.Sprite = 14;
    Rival& r = game.traffic.Rivals[3];
    r.OnRoad = 1;
    r.Ahead = y < 0 ? 1 : 0;
    Frame();
    EXPECT_EQ(v.Active, 0);
    EXPECT_EQ(r.OnRoad, 0);
    EXPECT_EQ(r.Pos, y < 0 ? 501 : 499);
  }
  EXPECT_EQ(game.window[Element::Rank].text, "30") << "leaving the road does not change the rank";
}

TEST_F(TrafficDrivingTest, CrossTrafficLeavesAtTheSidesAndKeepsItsSpeedAcross) {
  Vehicle& v = PlaceCar(1, 3, 200, 0);
  v.Crossing = 1;
  v.Width = 92;
  v.Length = 51;
  v.X = 608;
  v.MaxSpeed = 170;
  v.SteerVel = 170;
  v.Speed = 3;
  Frame();
  EXPECT_EQ(v.Speed, 2) << "pulled towards 0";
  EXPECT_EQ(v.X, 611);
  EXPECT_EQ(v.Active, 0);
  EXPECT_EQ(v.Y, 200) << "no motion along the road";
}

TEST_F(TrafficDrivingTest, SpeedAndThrottleStayWithinTheirClamps) {
  Vehicle& v = PlaceCar(1, 3, 300, 200);
  v.MaxSpeed = 300;
  v.Throttle = 40;
  Frame();
  EXPECT_EQ(v.Speed, 160);
  Vehicle& w = PlaceCar(2, 3, 600, 0);
  w.Throttle = -40;
  w.MaxSpeed = 0;
  Frame();
  EXPECT_EQ(w.Throttle, -16);
}

TEST_F(TrafficDrivingTest, AVehicleNeverDrivesBackwards) {
  Vehicle& v = PlaceCar(1, 3, 300, -5);  // knocked back in a crash
  v.MaxSpeed = 0;
  Frame();
  EXPECT_EQ(v.Speed, 0);
  EXPECT_EQ(v.Travel, 0);
  EXPECT_EQ(v.Y, 300);
}

struct CarryCase {
  int steer_acc, throttle_acc;
  int moved, sped_up;
};
void PrintTo(const CarryCase& c, std::ostream* os) {
  *os << "steer_acc " << c.steer_acc << " throttle_acc " << c.throttle_acc << " moved " << c.moved << " sped_up "
      << c.sped_up;
}

class TrafficCarryTest : public TrafficDrivingTest, public ::testing::WithParamInterface<CarryCase> {};

// Accumulators carry only when they pass their thresholds (48 here), not when they reach
// them.
TEST_P(TrafficCarryTest, StrictThresholds) {
  const CarryCase c = GetParam();
  Vehicle& v = PlaceCar(1, 3, 300, 60);
  v.SteerVel = 3;  // 2 after its decay
  v.SteerAcc = c.steer_acc;
  v.ThrottleAcc = c.throttle_acc;
  const int x = v.X;
  Frame();
  EXPECT_EQ(v.X - x, c.moved);
  EXPECT_EQ(v.Speed - 60, c.sped_up);
}

INSTANTIATE_TEST_SUITE_P(Carries, TrafficCarryTest,
                         ::testing::Values(CarryCase{46, 48, 0, 0}, CarryCase{47, 49, 1, 1}),
                         CaseName());

struct MarkerCase {
  int y, length;
  int sprite, picture_y;
  bool out_of_view;
};
void PrintTo(const MarkerCase& c, std::ostream* os) {
  *os << "y " << c.y << " length " << c.length << " sprite " << c.sprite << " picture_y " << c.picture_y
      << " out_of_view " << c.out_of_view;
}

class TrafficMarkerTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(TrafficMarkerTest, MarkersAtTheEdgesByDistance) {
  const MarkerCase c = GetParam();
  Vehicle v;
  v.Sprite = 3;
  v.Y = c.y;
  v.Length = c.length;
  const traffic_steps::VehicleLook look = traffic_steps::LookOf(v);
  EXPECT_EQ(look.sprite, c.sprite);
  EXPECT_EQ(look.y, c.picture_y);
  EXPECT_EQ(look.out_of_view, c.out_of_view);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrafficMarkerTest,
                         ::testing::Values(MarkerCase{-92, 92, 3, -92, false},  // bottom exactly at 0: no row
                                           MarkerCase{-93, 92, 7, 0, true},
                                           MarkerCase{-422, 92, 3, -422, false},  // bottom -330: no row
                                           MarkerCase{-423, 92, 6, 0, true},
                                           MarkerCase{-752, 92, 3, -752, false},  // bottom -660: no row
                                           MarkerCase{-753, 92, 5, 0, true},
                                           MarkerCase{576, 92, 3, 576, false},
                                           MarkerCase{577, 92, 7, 560, true},
                                           MarkerCase{905, 92, 7, 560, true},
                                           MarkerCase{906, 92, 3, 906, false},
                                           MarkerCase{907, 92, 6, 560, true},
                                           MarkerCase{1236, 92, 3, 1236, false},
                                           MarkerCase{1237, 92, 5, 560, true}),
                         CaseName());

class TrafficDrawingTest : public TrafficDrivingTest {};

TEST_F(TrafficDrawingTest, EmptySlotsQueueTwoEntriesAboveTheView) {
  Frame();
  const auto q = Queue();
  ASSERT_EQ(q.size(), 56u);
  for (const auto& e : q) EXPECT_EQ(e, (Queued{1, 0, -100}));
}

TEST_F(TrafficDrawingTest, BrakeLightsAndTheArrowSitAtTheTail) {
  Vehicle& v = PlaceCar(1, 3, 300, 60);
  v.Blinking = 1;
  v.BlinkLit = 1;
  v.BlinkSide = 1;
  v.BlinkTimer = 5;
  v.NextLane = 3;
  PlaceSignal(0, 0, 2, 1);  // 300 behind a red light: in the zone
  Frame();
  const auto q = Queue();
  ASSERT_GE(q.size(), 3u);
  const int x = v.X, tail = v.Y + v.Length;
  EXPECT_EQ(q[0], (Queued{1, x, v.Y}));
  EXPECT_EQ(q[1], (Queued{56, x + 16, tail}));
  EXPECT_EQ(q[2], (Queued{55, x + 32, tail - 4}));
}

TEST_F(TrafficDrawingTest, MotorbikesAreCentredAndCrossingCarsShifted) {
  Vehicle& bike = PlaceCar(1, 3, 300, 60);
  bike.Sprite = 52;
  bike.Width = 12;
  Vehicle& cross = PlaceCar(2, 1, 100, 0);
  cross.Crossing = 1;
  cross.Sprite = 32;
  cross.MaxSpeed = 170;
  cross.X = 0;
  Frame();
  const auto q = Queue();
  ASSERT_GE(q.size(), 2u);
  EXPECT_EQ(q[0], (Queued{52, bike.X + 16, bike.Y}));
  EXPECT_EQ(q[1], (Queued{32, cross.X - 16, cross.Y}));
}

TEST_F(TrafficDrawingTest, AVehicleOutOfViewShowsOnlyItsMarker) {
  Vehicle& v = PlaceCar(1, 3, 700, 60);
  PlaceSignal(0, 0, 2, 1);  // braking, yet no brake lights on a marker
  Frame();
  const auto q = Queue();
  ASSERT_GE(q.size(), 2u);
  EXPECT_EQ(q[0], (Queued{7, v.X, 560}));
  EXPECT_EQ(q[1], (Queued{1, 0, -100})) << "the next slot follows at once";
}


// Every frame a vehicle draws for a lane change, then for a cruise change, then for a
// weave, each followed by its own further draws when it fires. Here the lane change is
// held back (its draw is still made), the cruise change fires with the second draw and
// the weave with the fourth; taken in another order the values land elsewhere.
TEST_F(TrafficDrivingTest, EachVehicleDrawsLaneThenCruiseThenWeave) {
  const uint32_t start = StateWhere([](Random& r) {
    const auto d = Take(r, 6);
    return Int(d[1] * 10) == 1 && Int(d[2] * 20) == 17 && Int(d[3] * 10) == 1 && Int(d[4] * 20) == 9 &&
           Int(d[5] * 2) == 1;
  });
  Vehicle& v = PlaceCar(1, 2, 200, 100);
  v.LaneHold = 50;
  v.ChangeOdds = 10;
  v.WeaveOdds = 10;
  v.WeaveRange = 20;
  game.random.set_state(start);
  Frame();
  EXPECT_EQ(v.MaxSpeed, 100 + 17 - 8) << "the cruise change takes the third draw";
  EXPECT_EQ(v.OffsetX, -9) << "the weave takes the fifth draw, turned by the sixth";
  EXPECT_EQ(v.LaneHold, 49);
  Random after;
  after.set_state(start);
  for (int k = 0; k < 6; ++k) after.Next();
  EXPECT_EQ(game.random.state(), after.state()) << "six draws in all";
}

struct CruiseCase {
  const char* name;
  int dir, max_speed, step;  // step: Int(draw x 20) of the new cruise
  int cruise;
};
void PrintTo(const CruiseCase& c, std::ostream* os) { *os << c.name; }

class TrafficCruiseTest : public TrafficDrivingTest, public ::testing::WithParamInterface<CruiseCase> {};

// A new cruise speed is -8..+11 from the old one, kept to 40..300 in the vehicle's
// direction; a wrecked car (cruise 0) drives on at 40 once it changes.
TEST_P(TrafficCruiseTest, ChangesByMinus8ToPlus11WithinFortyAndThreeHundred) {
  const CruiseCase c = GetParam();
  const uint32_t start = StateWhere([&](Random& r) {
    const auto d = Take(r, 3);
    return Int(d[1] * 10) == 1 && Int(d[2] * 20) == c.step;
  });
  Vehicle& v = PlaceCar(1, c.dir == 1 ? 3 : 4, 300, c.dir * 20);
  v.Dir = c.dir;
  v.MaxSpeed = c.max_speed;
  v.ChangeOdds = 10;
  game.random.set_state(start);
  Frame();
  EXPECT_EQ(v.MaxSpeed, c.cruise);
}

INSTANTIATE_TEST_SUITE_P(Cruise, TrafficCruiseTest,
                         ::testing::Values(CruiseCase{"Plain", 1, 100, 13, 105},
                                           CruiseCase{"ExactlyForty", 1, 48, 0, 40},
                                           CruiseCase{"WreckRestartsAtForty", 1, 0, 0, 40},
                                           CruiseCase{"WreckHighDrawStillForty", 1, 0, 19, 40},
                                           CruiseCase{"CappedAt300", 1, 295, 19, 300},
                                           CruiseCase{"Exactly300", 1, 290, 18, 300},
                                           CruiseCase{"OncomingPlain", -1, -100, 4, -104},
                                           CruiseCase{"OncomingUpToMinus40", -1, -30, 10, -40},
                                           CruiseCase{"OncomingDownToMinus300", -1, -298, 2, -300}),
                         [](const ::testing::TestParamInfo<CruiseCase>& info) { return std::string(info.param.name); });

struct SidewaysCase {
  const char* name;
  int dir, speed, steer_vel;
  int after;
};
void PrintTo(const SidewaysCase& c, std::ostream* os) { *os << c.name; }

class TrafficSidewaysTest : public TrafficDrivingTest, public ::testing::WithParamInterface<SidewaysCase> {};

// After its decay the sideways speed of road traffic is held to (Speed + 1) x Dir either
// way; cross traffic is not held to it.
TEST_P(TrafficSidewaysTest, NoFasterSidewaysThanAlong) {
  const SidewaysCase c = GetParam();
  Vehicle& v = PlaceCar(1, c.dir == 1 ? 3 : 4, 300, c.speed);
  v.Dir = c.dir;
  v.MaxSpeed = c.speed;
  v.SteerVel = c.steer_vel;
  Frame();
  EXPECT_EQ(v.SteerVel, c.after);
}

INSTANTIATE_TEST_SUITE_P(Limit, TrafficSidewaysTest,
                         ::testing::Values(SidewaysCase{"RightCut", 1, 10, 30, 11},
                                           SidewaysCase{"LeftCut", 1, 10, -30, -11},
                                           SidewaysCase{"RightAtTheLimit", 1, 10, 12, 11},
                                           SidewaysCase{"RightOnePastTheLimit", 1, 10, 13, 11},
                                           SidewaysCase{"LeftOnePastTheLimit", 1, 10, -13, -11},
                                           SidewaysCase{"RightBelow", 1, 10, 11, 10},
                                           SidewaysCase{"StandingDrifts", 1, 0, 5, 1},
                                           SidewaysCase{"OncomingRight", -1, -10, 30, 9},
                                           SidewaysCase{"OncomingLeft", -1, -10, -30, -9}),
                         [](const ::testing::TestParamInfo<SidewaysCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelto1::traffic_test
