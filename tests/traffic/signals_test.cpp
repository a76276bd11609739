// UpdateSignals: the red, green and yellow cycle, the heads above the view, and cross
// traffic sent while red.
#include <gtest/gtest.h>

#include "traffic/traffic_steps.h"
#include "traffic_fixture.h"
#include "case_names.h"

namespace kelto1::traffic_test {
namespace {

// In a frame a signal draws the cross-traffic test; a car sent draws its weave range,
// weave odds, change odds, cruise speed and picture, then its side and its lane.
constexpr int kDrawTest = 0, kDrawMaxSpeed = 4, kDrawSprite = 5, kDrawSide = 6, kDrawLane = 7;

class TrafficSignalTest : public TrafficTest {
 protected:
  Signal& PlaceSignal(int lanes, int phase, int count, int y = 100) {
    Signal& s = game.traffic.Signals[0];
    s.Active = 1;
    s.Y = y;
    s.CrossLanes = lanes;
    s.Phase = phase;
    s.Count = count;
    return s;
  }
  void Frame() {
    game.vehicles.SpriteQueue[0] = 0;
    game.UpdateSignals();
  }
  // How many draws a frame took, from the state it started with.
  int DrawsTaken(uint32_t start) {
    Random r;
    r.set_state(start);
    for (int n = 0; n <= 20; ++n) {
      if (r.state() == game.random.state()) return n;
      r.Next();
    }
    return -1;
  }
};

struct CycleCase {
  int lanes;
  int red, green, yellow;  // frames each phase lasts
};
void PrintTo(const CycleCase& c, std::ostream* os) {
  *os << "lanes " << c.lanes << " red " << c.red << " green " << c.green << " yellow " << c.yellow;
}

class TrafficCycleTest : public TrafficSignalTest, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(TrafficCycleTest, PhasesLastOneFrameMoreThanTheirCount) {
  const CycleCase c = GetParam();
  game.course.SignalOdds = 0;
  Signal& s = PlaceSignal(c.lanes, 3, 0);  // yellow ends in the first frame
  std::vector<std::pair<int, int>> runs;  // phase, frames
  for (int f = 0; f < 3 * 2703; ++f) {
    Frame();
    if (runs.empty() || runs.back().first != s.Phase) runs.push_back({s.Phase, 0});
    runs.back().second += 1;
  }
  ASSERT_GE(runs.size(), 6u);
  const std::vector<std::pair<int, int>> cycle = {{1, c.red}, {2, c.green}, {3, c.yellow}};
  for (size_t k = 0; k + 1 < runs.size(); ++k) EXPECT_EQ(runs[k], cycle[k % 3]) << "run " << k;
  EXPECT_EQ(c.red + c.green + c.yellow, 2703);
}

INSTANTIATE_TEST_SUITE_P(Lanes, TrafficCycleTest,
                         ::testing::Values(CycleCase{2, 1001, 1501, 201}, CycleCase{3, 1501, 1001, 201}),
                         CaseName());

TEST_F(TrafficSignalTest, ARedSignalAtCountZeroTurnsGreenInItsFirstFrame) {
  game.course.SignalOdds = 0;
  for (int lanes : {2, 3}) {
    Signal& s = PlaceSignal(lanes, 1, 0);
    Frame();
    EXPECT_EQ(s.Phase, 2);
    EXPECT_EQ(s.Count, (5 - lanes) * 500);
  }
}

TEST_F(TrafficSignalTest, TheSignalMovesWithTheRoad) {
  game.course.SignalOdds = 0;
  Signal& s = PlaceSignal(2, 2, 500, -2048);
  game.vehicles.ScrollStep = 7;
  Frame();
  EXPECT_EQ(s.Y, -2041);
}

struct HeadCase {
  int y, head_y;
};
void PrintTo(const HeadCase& c, std::ostream* os) { *os << "y " << c.y << " head_y " << c.head_y; }

class TrafficHeadTest : public ::testing::TestWithParam<HeadCase> {};

TEST_P(TrafficHeadTest, AheadOfTheViewTheHeadSlidesDownTheTop32Pixels) {
  EXPECT_EQ(traffic_steps::SignalHeadY(GetParam().y), GetParam().head_y);
}

INSTANTIATE_TEST_SUITE_P(Heads, TrafficHeadTest,
                         ::testing::Values(HeadCase{-2048, -33}, HeadCase{-1984, -32}, HeadCase{-992, -16},
                                           HeadCase{-31, 0}, HeadCase{-1, 0}, HeadCase{0, 0}, HeadCase{300, 300},
                                           HeadCase{600, 600}),
                         CaseName());

TEST_F(TrafficSignalTest, EachSlotDrawsItsHeadInItsOwnColumn) {
  game.course.SignalOdds = 0;
  const int ys[3] = {-1984, -992, 40};
  const int phases[3] = {1, 2, 3};
  for (int k = 0; k < 3; ++k) {
    Signal& s = game.traffic.Signals[k];
    s.Active = 1;
    s.Y = ys[k];
    s.CrossLanes = 2;
    s.Phase = phases[k];
    s.Count = 50;
  }
  Frame();
  EXPECT_EQ(Queue(), (std::vector<Queued>{{25, 0, -32}, {26, 64, -16}, {27, 128, 40}}));
}

struct WindowCase {
  int lanes, phase, count;  // Count after this frame's step
  bool sent;
};
void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << "lanes " << c.lanes << " phase " << c.phase << " count " << c.count << " sent " << c.sent;
}

class TrafficCrossWindowTest : public TrafficSignalTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(TrafficCrossWindowTest, NeverInTheFirst50FramesOfRedNorAt100OrLess) {
  const WindowCase c = GetParam();
  game.course.SignalOdds = 2;  // hit when the test draw is 0.5 or more
  PlaceSignal(c.lanes, c.phase, c.count + 1);
  const uint32_t start = StateWhere([](Random& g) { return Take(g, 1)[kDrawTest] >= 0.5; });
  game.random.set_state(start);
  Frame();
  EXPECT_EQ(ActiveTraffic(), c.sent ? 1 : 0);
  EXPECT_EQ(DrawsTaken(start), c.sent ? 8 : 1);
}

INSTANTIATE_TEST_SUITE_P(Window, TrafficCrossWindowTest,
                         ::testing::Values(WindowCase{2, 1, 950, false}, WindowCase{2, 1, 949, true},
                                           WindowCase{3, 1, 1450, false}, WindowCase{3, 1, 1449, true},
                                           WindowCase{2, 1, 101, true}, WindowCase{2, 1, 100, false},
                                           WindowCase{2, 2, 500, false}, WindowCase{2, 3, 150, false}),
                         CaseName());

TEST_F(TrafficSignalTest, OverWholeCyclesCrossTrafficComesOnlyInsideTheWindow) {
  game.course.SignalOdds = 3;
  Signal& s = PlaceSignal(3, 3, 0);
  int sent = 0;
  for (int f = 0; f < 2 * 2703; ++f) {
    Frame();
    if (ActiveTraffic() == 0) continue;
    ++sent;
    EXPECT_EQ(s.Phase, 1);
    EXPECT_LT(s.Count, 1450);
    EXPECT_GT(s.Count, 100);
    for (int i = 1; i <= 28; ++i) V(i).Active = 0;
  }
  EXPECT_GT(sent, 100);
}

struct CrossCase {
  bool from_right;
  int lane;
};
void PrintTo(const CrossCase& c, std::ostream* os) { *os << "from_right " << c.from_right << " lane " << c.lane; }

class TrafficCrossVehicleTest : public TrafficSignalTest, public ::testing::WithParamInterface<CrossCase> {};

TEST_P(TrafficCrossVehicleTest, SidesAndLanesOfTheCrossingRoad) {
  const CrossCase c = GetParam();
  game.course.SignalOdds = 2;
  PlaceSignal(3, 1, 501);
  const uint32_t state = StateWhere([&](Random& g) {
    auto d = Take(g, kDrawLane + 1);
    return d[kDrawTest] >= 0.5 && (Int(d[kDrawSide] * 2) == 0) == c.from_right && Int(3 * d[kDrawLane]) == c.lane;
  });
  const auto d = DrawsFrom(state, kDrawLane + 1);
  game.random.set_state(state);
  Frame();

  const Vehicle& v = V(1);
  ASSERT_EQ(v.Active, 1);
  const int max_speed = Int(d[kDrawMaxSpeed] * 20) + 160;
  const int sprite = Int(d[kDrawSprite] * 3) * 2 + 32;
  EXPECT_EQ(v.Crossing, 1);
  EXPECT_EQ(v.Dir, 1);
  EXPECT_EQ(v.Speed, 0);
  EXPECT_EQ(v.Width, 92);
  EXPECT_EQ(v.Length, 51);
  EXPECT_EQ(v.Mass, 1000);
  EXPECT_EQ(v.HitPoints, 1000);
  EXPECT_EQ(v.AccelStep, 48);
  EXPECT_EQ(v.BrakeStep, 32);
  EXPECT_EQ(v.SteerStep, 48);
  EXPECT_EQ(v.WeaveRange, Int(d[1] * 10));
  EXPECT_EQ(v.WeaveOdds, Int(d[2] * 100));
  EXPECT_EQ(v.ChangeOdds, Int(d[3] * 1000) + 200);
  if (c.from_right) {
    EXPECT_EQ(v.X, 600);
    EXPECT_EQ(v.Y, 100 + 32 + 96 * c.lane);
    EXPECT_EQ(v.MaxSpeed, -max_speed);
    EXPECT_EQ(v.SteerVel, -110);
    EXPECT_EQ(v.Sprite, sprite + 1);
  } else {
    EXPECT_EQ(v.X, -200);
    EXPECT_EQ(v.Y, 100 - 64 - 96 * c.lane);
    EXPECT_EQ(v.MaxSpeed, max_speed);
    EXPECT_EQ(v.SteerVel, 110);  // Count 500
    EXPECT_EQ(v.Sprite, sprite);
  }
}

INSTANTIATE_TEST_SUITE_P(Sides, TrafficCrossVehicleTest,
                         ::testing::Values(CrossCase{false, 0}, CrossCase{false, 2}, CrossCase{true, 0},
                                           CrossCase{true, 1}),
                         CaseName());

TEST_F(TrafficSignalTest, CarsSentLateInRedCrossFaster) {
  game.course.SignalOdds = 2;
  const std::pair<int, int> cases[] = {{949, 20}, {500, 110}, {1449, 100}, {101, 180}};
  for (auto [count, steer] : cases) {
    V(1).Active = 0;
    PlaceSignal(3, 1, count + 1);
    const uint32_t state = StateWhere([](Random& g) {
      auto d = Take(g, kDrawSide + 1);
      return d[kDrawTest] >= 0.5 && Int(d[kDrawSide] * 2) == 1;  // from the left
    });
    game.random.set_state(state);
    Frame();
    EXPECT_EQ(V(1).SteerVel, steer) << "Count " << count;
  }
}

TEST_F(TrafficSignalTest, ACarThatWouldLandOnAnotherIsNotSent) {
  game.course.SignalOdds = 2;
  PlaceSignal(2, 1, 501);
  Vehicle& blocker = PlaceCar(1, 3, -200, 0);  // over the whole crossing
  blocker.Width = 2000;
  blocker.Length = 600;
  game.random.set_state(StateWhere([](Random& g) { return Take(g, 1)[kDrawTest] >= 0.5; }));
  Frame();
  EXPECT_EQ(V(2).Active, 0);
  EXPECT_EQ(V(2).Crossing, 1) << "it was filled in, then withdrawn";
  EXPECT_EQ(ActiveTraffic(), 1);
}

TEST_F(TrafficSignalTest, NothingIsSentWhenAllSlotsAreBusy) {
  game.course.SignalOdds = 2;
  PlaceSignal(2, 1, 501);
  for (int i = 1; i <= 28; ++i) PlaceCar(i, 3, -900 + 60 * i, 0);
  const uint32_t start = StateWhere([](Random& g) { return Take(g, 1)[kDrawTest] >= 0.5; });
  game.random.set_state(start);
  Frame();
  EXPECT_EQ(DrawsTaken(start), 1);
  for (int i = 1; i <= 28; ++i) EXPECT_EQ(V(i).Crossing, 0);
}

TEST_F(TrafficSignalTest, EveryActiveSignalDrawsOncePerFrame) {
  game.course.SignalOdds = 0;
  PlaceSignal(2, 2, 500);
  game.traffic.Signals[2] = game.traffic.Signals[0];
  const uint32_t start = game.random.state();
  Frame();
  EXPECT_EQ(DrawsTaken(start), 2);
}

}  // namespace
}  // namespace kelto1::traffic_test
