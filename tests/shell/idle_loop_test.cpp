// Start-up, the idle tick, the title screen, the race start and game over.
#include "shell/game_fixture.h"

namespace kelto1 {
namespace {

class IdleLoopTest : public GameTest {
 protected:
  void SetUp() override {
    game.Form_Load();
    game.Repaint(Element::Window);
  }
  // One idle tick; a race it starts is cut short after one frame.
  long Tick() {
    long frames = 0;
    game.SetAfterFrame([&](Kelto1&) { ++frames; return false; });
    game.Timer1_Timer();
    return frames;
  }
};

TEST_F(IdleLoopTest, StartUpCentresTheWindowAndAsksForATitle) {
  EXPECT_TRUE(platform.window_centred);
  EXPECT_EQ(game.shell.TitlePending, 1);
  EXPECT_FALSE(painted(Element::GETREADY).visible);
}

TEST_F(IdleLoopTest, FirstTickShowsTheTitleWithoutAnyKey) {
  EXPECT_EQ(Tick(), 0);
  EXPECT_EQ(game.shell.TitlePending, 0);
  EXPECT_TRUE(painted(Element::GETREADY).visible);
  EXPECT_EQ(painted(Element::GETREADY).text, "PUSH [Ctrl] TO START");
  EXPECT_EQ(painted(Element::GETREADY).color, colors::kLightYellow);
  EXPECT_TRUE(painted(Element::GameTitle).visible);
  EXPECT_EQ(painted(Element::GameTitle).left, 160);
  EXPECT_EQ(painted(Element::GameTitle).top, 130);
  EXPECT_TRUE(painted(Element::COMMENT).visible);
  EXPECT_EQ(painted(Element::Mtime).text, "200");
  EXPECT_EQ(painted(Element::Rank).text, "30");
  EXPECT_EQ(painted(Element::Text1).text, "0");
  EXPECT_EQ(game.traffic.Rivals[0].Pos, 130);
  EXPECT_EQ(game.traffic.Rivals[28].Pos, 970);
  EXPECT_EQ(game.traffic.Rivals[28].Speed, 44);
  EXPECT_EQ(game.traffic.Rivals[1].Speed, 31);
  EXPECT_EQ(game.course.Lanes[4].X, 490);
}

TEST_F(IdleLoopTest, CtrlStartsARaceAndAltHeldBlocksIt) {
  Tick();
  platform.Hold(vk::kControl);
  platform.Hold(vk::kMenu);
  EXPECT_EQ(Tick(), 0) << "Alt held down blocks the start";
  platform.Release(vk::kMenu);
  platform.Tap(vk::kMenu);  // a press made since the last reading is cleared first
  EXPECT_EQ(Tick(), 1);
  EXPECT_FALSE(painted(Element::Gamewait).visible);
  EXPECT_FALSE(painted(Element::Spdlbl).visible);
  EXPECT_FALSE(painted(Element::COMMENT).visible);
  EXPECT_FALSE(game.window[Element::GETREADY].visible);
  EXPECT_GE(platform.now_ms, 2000u) << "the banner stays for two seconds";
  EXPECT_EQ(platform.music_commands.back(), "status midifile mode");
}

TEST_F(IdleLoopTest, TickDiscardsStaleKeyboardMessages) {
  platform.pending_key_messages = 10;
  Tick();
  EXPECT_EQ(platform.discarded_key_messages, 4);
}

TEST_F(IdleLoopTest, EscapeInTheIdleLoopSavesAndEnds) {
  Tick();
  platform.Tap(vk::kEscape);
  Tick();
  EXPECT_TRUE(game.Ended());
  EXPECT_TRUE(platform.ended);
  EXPECT_EQ(platform.files.files.at("/game/car.dat").size(), 10u);
  EXPECT_EQ(platform.music_commands.back(), "close midifile");
}

struct VehicleRow {
  const char* text;
  int sprite, offset_x, width, length, accel, brake, steer, max_speed, hit_points, mass;
};

TEST_F(IdleLoopTest, SelectorTextChoosesTheVehicleExactly) {
  const VehicleRow rows[] = {
      {"RacingCar", 15, 0, 58, 92, 38, 30, 36, 200, 800, 1000},
      {"FamilyCar", 1, 0, 50, 92, 64, 32, 48, 140, 700, 1000},
      {"MotorBike", 52, 16, 12, 58, 32, 32, 28, 150, 200, 500},
      {"KeiTrack", 16, 0, 48, 82, 70, 36, 46, 100, 500, 500},
      {"Track", 20, 0, 62, 126, 60, 40, 64, 80, 2000, 2500},
      {"RoadStar", 10, 0, 44, 84, 44, 32, 40, 150, 700, 800},
      {"racingcar", 10, 0, 44, 84, 44, 32, 40, 150, 700, 800},
      {"RacingCar ", 10, 0, 44, 84, 44, 32, 40, 150, 700, 800},
      {"", 10, 0, 44, 84, 44, 32, 40, 150, 700, 800},
  };
  for (const VehicleRow& r : rows) {
    game.vehicles.Vehicles[0].Speed = 77;
    game.vehicles.Vehicles[0].Throttle = -32;
    box(Element::CarSel).text = r.text;
    game.StartRace();
    const Vehicle& p = game.vehicles.Vehicles[0];
    SCOPED_TRACE(r.text);
    EXPECT_EQ(p.Sprite, r.sprite);
    EXPECT_EQ(p.OffsetX, r.offset_x);
    EXPECT_EQ(p.Width, r.width);
    EXPECT_EQ(p.Length, r.length);
    EXPECT_EQ(p.AccelStep, r.accel);
    EXPECT_EQ(p.BrakeStep, r.brake);
    EXPECT_EQ(p.SteerStep, r.steer);
    EXPECT_EQ(p.MaxSpeed, r.max_speed);
    EXPECT_EQ(p.HitPoints, r.hit_points);
    EXPECT_EQ(p.Mass, r.mass);
    EXPECT_EQ(p.X, 190);
    EXPECT_EQ(p.Y, 420);
    EXPECT_EQ(p.Speed, 0);
    EXPECT_EQ(p.Throttle, -32) << "the throttle of the last race carries over";
    EXPECT_EQ(painted(Element::HitP).text, std::to_string(r.hit_points));
  }
}

TEST_F(IdleLoopTest, MotorBikeStartsWithItsConditionInTheTitleGreen) {
  Tick();
  box(Element::CarSel).text = "MotorBike";
  game.StartRace();
  EXPECT_EQ(painted(Element::HitP).text, "200");
  EXPECT_EQ(painted(Element::HitP).color, colors::kGreen);
}

TEST_F(IdleLoopTest, BestRankKeepsTheSmallerNumberAndZeroMeansNoneYet) {
  const struct { const char* best; const char* rank; const char* after; } cases[] = {
      {"0", "30", "30"},    // a first run is recorded
      {"0", "1", "1"},
      {"9", "12", "9"},     // a worse rank never replaces a better one, however it is written
      {"12", "9", "9"},
      {"30", "25", "25"},
      {"7", "7", "7"},      // equal: no change
      {"", "14", "14"},     // a box without a number holds no best yet
      {"best", "3", "3"},
      {"2", "10", "2"},
  };
  for (const auto& c : cases) {
    box(Element::HighSc).text = c.best;
    box(Element::Rank).text = c.rank;
    game.GameOver();
    EXPECT_EQ(painted(Element::HighSc).text, c.after) << "best \"" << c.best << "\", final rank " << c.rank;
  }
}

TEST_F(IdleLoopTest, GameOverBannerStaysRedOnScreenUntilRepainted) {
  game.GameOver();
  EXPECT_EQ(painted(Element::GETREADY).text, "GAME OVER");
  EXPECT_EQ(painted(Element::GETREADY).color, colors::kRed);
  EXPECT_EQ(box(Element::GETREADY).color, colors::kLightYellow);
  EXPECT_TRUE(painted(Element::Gamewait).visible);
  EXPECT_EQ(game.shell.TitlePending, 1);
  for (uint32_t px : game.Display.pixels()) ASSERT_EQ(px, colors::kBlack);
}

}  // namespace
}  // namespace kelto1
