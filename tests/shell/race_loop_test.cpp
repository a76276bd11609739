// The race loop: its end phase, pacing and keyboard flushes, and Escape mid-race.
#include <algorithm>
#include <vector>

#include "app/sim_session.h"
#include "shell/game_fixture.h"

namespace kelto1 {
namespace {

using RaceLoopTest = GameTest;

TEST_F(RaceLoopTest, PaceFrameFlushesOneKeyMessageOnEverySixthCall) {
  platform.pending_key_messages = 100;
  game.shell.FlushCount = 0;
  std::vector<int> flushed_at;
  for (int call = 1; call <= 18; ++call) {
    int before = platform.discarded_key_messages;
    game.PaceFrame();
    if (platform.discarded_key_messages != before) flushed_at.push_back(call);
  }
  EXPECT_EQ(flushed_at, (std::vector<int>{6, 12, 18}));
}

TEST_F(RaceLoopTest, WaitLastsAtLeastTheDelayAndZeroReturnsAtOnce) {
  game.Wait(0);
  game.Wait(-5);
  EXPECT_EQ(platform.now_ms, 0u);
  game.Wait(20);
  EXPECT_EQ(platform.now_ms, 20u);
  box(Element::Gamewait).text = "15";
  game.PaceFrame();
  EXPECT_EQ(platform.now_ms, 35u);
}

TEST_F(RaceLoopTest, PacingUsesAtMostASecondAndKeepsWhatWasTyped) {
  struct Case {
    const char* typed;
    uint32_t waited_ms;
  };
  const Case cases[] = {{"0", 0},       {"20", 20},     {"1000", 1000},         {"1001", 1000},
                        {"600000", 1000}, {"99999999", 1000}, {"2147483647", 1000}, {"-5", 0},
                        {"-2147483648", 0}};
  for (const Case& c : cases) {
    box(Element::Gamewait).text = c.typed;
    const uint32_t before = platform.now_ms;
    game.PaceFrame();
    EXPECT_EQ(platform.now_ms - before, c.waited_ms) << c.typed;
    EXPECT_EQ(box(Element::Gamewait).text, c.typed);
  }
  // The settings file keeps the number as it was typed.
  game.LoadSettings();
  box(Element::Gamewait).text = "600000";
  game.PaceFrame();
  game.SaveSettings();
  const auto saved = platform.files.Read(game.SettingsPath);
  ASSERT_TRUE(saved);
  EXPECT_EQ(std::vector<uint8_t>(saved->begin(), saved->begin() + 4), (std::vector<uint8_t>{0xC0, 0x27, 0x09, 0x00}));
}

// A machine that sleeps in pieces of 10 ms, as the desktop does, and on which the person
// asks to stop at a given time.
class StopAskedPlatform : public HeadlessPlatform {
 public:
  void Idle(uint32_t remaining_ms) override { now_ms += remaining_ms < 10 ? remaining_ms : 10; }
  bool QuitWanted() override { return now_ms >= stop_at_ms; }
  uint32_t stop_at_ms = UINT32_MAX;
};

TEST(Wait, ARequestToStopEndsAnyWaitAtOnce) {
  const struct {
    int32_t wait_ms;
    uint32_t stop_at_ms, ends_at_ms;
  } cases[] = {{600000, 35, 40}, {2000, 0, 0}, {2000, 1990, 1990}, {2000, 5000, 2000}, {20, 5000, 20}};
  for (const auto& c : cases) {
    StopAskedPlatform platform;
    Kelto1 game{platform};
    platform.stop_at_ms = c.stop_at_ms;
    game.Wait(c.wait_ms);
    EXPECT_EQ(platform.now_ms, c.ends_at_ms) << c.wait_ms << " ms, stop asked at " << c.stop_at_ms;
  }
}

TEST(RaceTimeline, DecidedByTimeGameOverAt400AndReturnAfter1000) {
  SimSession s;
  s.StartProgram();
  // An empty road: no traffic can push the car along or bring a TIME item by.
  s.keys_for_frame = [&](long, HeadlessPlatform& p) {
    p.ReleaseAll();
    Kelto1& g = s.game();
    g.course.Kind1Odds = g.course.Kind2Odds = g.course.Kind3Odds = g.course.SignalOdds = 0;
  };
  long game_over_frame = 0;
  s.platform().on_repaint = [&](const ShownWindow& shown, Element e) {
    if (e == Element::GETREADY && shown.elements.Painted(Element::GETREADY).text == "GAME OVER" && !game_over_frame)
      game_over_frame = s.frame() + 1;
  };
  long decided = 0;
  s.after_frame = [&](long frame) {
    if (!decided && s.game().shell.RaceOver == 1) decided = frame;
  };
  const long frames = s.RunRace(0);
  EXPECT_EQ(decided, 20000);
  EXPECT_EQ(game_over_frame, decided + 400);
  EXPECT_EQ(frames, decided + 1000);
  EXPECT_EQ(s.game().shell.EndFrames, 1000);
  EXPECT_EQ(s.game().shell.TitlePending, 1);
}

TEST(RaceTimeline, EscapeEndsTheProgramBeforeThatFramesSpritesAreDrawn) {
  SimSession s;
  s.StartProgram();
  s.SetDemo({{2, {}}, {1, {vk::kEscape}}});
  int display_refreshes = 0;
  s.platform().on_repaint = [&](const ShownWindow&, Element e) {
    if (e == Element::Display && s.in_race_frame()) ++display_refreshes;
  };
  EXPECT_EQ(s.RunRace(0), 2);
  EXPECT_EQ(display_refreshes, 2);
  EXPECT_TRUE(s.game().Ended());
  EXPECT_TRUE(s.platform().files.files.count("/game/car.dat"));
  EXPECT_EQ(s.platform().music_commands.back(), "close midifile");
}

TEST(RaceTimeline, SameDemoGivesTheSameRace) {
  auto run = [] {
    SimSession s;
    s.StartProgram();
    s.SetDemo({{300, {vk::kMenu}}, {60, {vk::kMenu, vk::kLeft}}, {100, {vk::kControl}}, {80, {vk::kRight}}});
    s.RunRace(600);
    return s.game().StateHash();
  };
  EXPECT_EQ(run(), run());
}

TEST(Demo, ParsesCountsAndKeys) {
  std::string error;
  auto steps = ParseDemo("# warm up\n10 -\n5 ALT+LEFT\n\n3 CTRL\n", &error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].frames, 5);
  EXPECT_EQ(steps[1].keys, (std::vector<int>{vk::kMenu, vk::kLeft}));
  ParseDemo("ten ALT\n", &error);
  EXPECT_NE(error, "");
  error.clear();
  ParseDemo("10 JUMP\n", &error);
  EXPECT_NE(error.find("unknown key"), std::string::npos);
}


// One frame with a signal, a car, a debris cloud and a pick-up on the road shows the order
// of the frame's steps twice over: in the sprite queue (stacking order) and in which step
// took which draw of the generator.
TEST(RaceFrame, StepsRunInTheirFixedOrder) {
  // Draw 1 is the signal's, 2..4 the spawning's three request tests, 5..7 the car's lane,
  // cruise and weave tests, 8 the wreck-smoke chance. Draw 1 sends no cross traffic,
  // draw 4 would: a signal drawing after the spawning sends a car across.
  auto sends = [](double r) { return static_cast<long long>(r * 10) == 1; };
  uint32_t start = 0;
  for (uint32_t st = 1; st < (1u << 24); ++st) {
    Random r;
    r.set_state(st);
    std::vector<double> d;
    for (int k = 0; k < 8; ++k) d.push_back(r.Next());
    if (!sends(d[0]) && sends(d[3]) && !sends(d[1]) && !sends(d[2])) {
      start = st;
      break;
    }
  }
  ASSERT_NE(start, 0u);

  SimSession s;
  s.StartProgram();
  Kelto1& g = s.game();
  s.keys_for_frame = [&](long frame, HeadlessPlatform& p) {
    p.ReleaseAll();
    if (frame != 1) return;
    g.course.Kind1Odds = g.course.Kind2Odds = g.course.Kind3Odds = 0;  // spawning only draws
    g.course.SignalOdds = 10;
    for (Rival& r : g.traffic.Rivals) r.Speed = 0;  // no rival comes on
    for (int i = 1; i <= 28; ++i) g.vehicles.Vehicles[i].Active = 0;
    Signal& sig = g.traffic.Signals[0];
    sig.Active = 1;
    sig.Phase = 1;  // red, inside the window for cross traffic
    sig.Count = 500;
    sig.CrossLanes = 2;
    sig.Y = -300;
    Vehicle& car = g.vehicles.Vehicles[1];
    car = Vehicle{};
    car.Active = 1;
    car.Dir = 1;
    car.Lane = 3;
    car.X = g.course.Lanes[3].X - 32;
    car.Y = 300;
    car.Speed = 40;
    car.MaxSpeed = 40;
    car.Width = 51;
    car.Length = 92;
    car.Mass = 1000;
    car.HitPoints = 1000;
    car.AccelStep = car.BrakeStep = car.SteerStep = 48;
    car.Sprite = 1;
    DebrisEntry& cloud = g.traffic.Debris[0];
    cloud = DebrisEntry{};
    cloud.Active = 1;
    cloud.X = 100;
    cloud.Y = 200;
    cloud.Frames = 4;
    Pickup& item = g.traffic.Pickups[0];
    item.Active = 1;
    item.Carrier = 1;
    item.Kind = 2;
    item.OffX = 16;
    item.OffY = -32;
    g.random.set_state(start);
  };
  struct Entry {
    int sprite, x, y;
    bool operator==(const Entry&) const = default;
  };
  std::vector<Entry> queue;
  s.platform().on_repaint = [&](const ShownWindow&, Element e) {
    if (e != Element::Display || !s.in_race_frame() || !queue.empty()) return;
    const auto& q = s.game().vehicles.SpriteQueue;
    for (int n = 1; n <= q[0]; ++n) queue.push_back({q[3 * n - 2], q[3 * n - 1], q[3 * n]});
  };
  ASSERT_EQ(s.RunRace(1), 1);

  const Vehicle& car = g.vehicles.Vehicles[1];
  const Vehicle& player = g.vehicles.Vehicles[0];
  ASSERT_EQ(car.Y, 298) << "the car drove on 40 / 20 pixels";
  ASSERT_EQ(player.Speed, 0);
  std::vector<Entry> want;
  want.push_back({25, 0, -5});  // the red head of signal 0; -300 ahead shows at -5
  want.push_back({1, car.X, 298});
  for (int k = 0; k < 2 * 27; ++k) want.push_back({1, 0, -100});  // empty slots 2..28
  want.push_back({player.Sprite, player.X + player.OffsetX, player.Y});
  want.push_back({38, 100, 200});  // the cloud's first frame
  want.push_back({43, car.X + 16, 298 - 32});  // the TIME label riding on the car
  EXPECT_EQ(queue.size(), want.size());
  for (size_t k = 0; k < std::min(queue.size(), want.size()); ++k) {
    EXPECT_EQ(queue[k], want[k]) << "queue entry " << k << ": sprite " << queue[k].sprite;
  }

  for (int i = 2; i <= 28; ++i) EXPECT_EQ(g.vehicles.Vehicles[i].Active, 0) << "no cross traffic in slot " << i;
  Random expected;
  expected.set_state(start);
  for (int k = 0; k < 8; ++k) expected.Next();
  EXPECT_EQ(g.random.state(), expected.state()) << "eight draws in the frame";
}

}  // namespace
}  // namespace kelto1
