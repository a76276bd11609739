// The race loop: its end phase, pacing and keyboard flushes, and Escape mid-race.
#include "headless/sim_session.h"
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
  s.platform().on_repaint = [&](const Kelto1& g, Element e) {
    if (e == Element::GETREADY && g.window.Painted(Element::GETREADY).text == "GAME OVER" && !game_over_frame)
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
  s.platform().on_repaint = [&](const Kelto1&, Element e) {
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

}  // namespace
}  // namespace kelto1
