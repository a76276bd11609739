// Crash debris: drift, lifetimes and the smoke of a wrecked car.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

class DebrisTest : public ::testing::Test {
 protected:
  DebrisTest() { game.BuildSpriteTables(); }

  DebrisEntry& Start(int d, int x, int y, int vx, int vy, int frames) {
    DebrisEntry& e = game.traffic.Debris[d];
    e.Active = 1;
    e.X = x;
    e.Y = y;
    e.VX = vx;
    e.VY = vy;
    e.Frames = frames;
    return e;
  }

  struct Queued {
    int sprite, x, y;
  };
  // One frame of animation; what it queued.
  std::vector<Queued> Animate() {
    game.vehicles.SpriteQueue[0] = 0;
    game.AnimateDebris();
    std::vector<Queued> q;
    for (int k = 1; k <= game.vehicles.SpriteQueue[0]; ++k)
      q.push_back({game.vehicles.SpriteQueue[3 * k - 2], game.vehicles.SpriteQueue[3 * k - 1],
                   game.vehicles.SpriteQueue[3 * k]});
    return q;
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

TEST_F(DebrisTest, ACloudDriftsAndSlowsDown) {
  DebrisEntry& e = Start(0, 100, 200, 40, -40, 4);
  std::vector<Queued> q = Animate();
  ASSERT_EQ(q.size(), 1u);
  EXPECT_EQ(q[0].x, 101);  // 40 units: one pixel, 8 left over
  EXPECT_EQ(q[0].y, 199);
  EXPECT_EQ(e.FracX, 8);
  EXPECT_EQ(e.FracY, -8);
  EXPECT_EQ(e.VX, 39);
  EXPECT_EQ(e.VY, -39);

  int x = q[0].x;
  for (int f = 2; f <= 39; ++f) {
    q = Animate();
    ASSERT_EQ(q.size(), 1u) << "frame " << f;
    EXPECT_GE(q[0].x, x) << "frame " << f;
    x = q[0].x;
  }
  // 40 + 39 + ... + 2 = 819 units over the 39 frames shown: 25 pixels and 19 over.
  EXPECT_EQ(x, 125);
  EXPECT_EQ(e.FracX, 19);
  EXPECT_EQ(e.VX, 1);
}

TEST_F(DebrisTest, AnAccumulatorOfExactly32DoesNotCarry) {
  DebrisEntry& e = Start(0, 100, 200, 32, -32, 4);
  Animate();
  EXPECT_EQ(e.X, 100);
  EXPECT_EQ(e.Y, 200);
  EXPECT_EQ(e.FracX, 32);
  EXPECT_EQ(e.FracY, -32);
  Animate();  // 32 + 31: now it carries
  EXPECT_EQ(e.X, 101);
  EXPECT_EQ(e.Y, 199);
}

TEST_F(DebrisTest, LengthsGiveTheirLifetimesAndFrames) {
  struct Case {
    int frames, shown;
  };
  const Case cases[] = {{0, 0}, {1, 9}, {3, 29}, {4, 39}};
  for (const Case& c : cases) {
    SCOPED_TRACE("length " + std::to_string(c.frames));
    DebrisEntry& e = Start(2, 50, 60, 0, 0, c.frames);
    e.Frame = 0;
    e.Tick = 0;
    std::vector<int> sprites;
    for (int f = 0; f < 60; ++f)
      for (const Queued& q : Animate()) sprites.push_back(q.sprite);
    EXPECT_EQ(static_cast<int>(sprites.size()), c.shown);
    EXPECT_EQ(e.Active, 0);
    // Frame 0 for 9 frames, then 10 frames each: sprites 38, 39, 40, 41.
    for (size_t k = 0; k < sprites.size(); ++k) EXPECT_EQ(sprites[k], 38 + static_cast<int>((k + 1) / 10)) << k;
  }
}

TEST_F(DebrisTest, ShorteningAnEntryBelowItsFrameEndsItAtTheNextStep) {
  DebrisEntry& e = Start(0, 50, 60, 0, 0, 4);
  for (int f = 0; f < 25; ++f) Animate();
  EXPECT_EQ(e.Frame, 2);
  e.Frames = 1;
  EXPECT_TRUE(Animate().empty());
  EXPECT_EQ(e.Active, 0);
}

TEST_F(DebrisTest, EntriesAreDrawnInSlotOrderAndOnlyTheFirstTenLive) {
  Start(4, 40, 0, 0, 0, 4);
  Start(1, 10, 0, 0, 0, 4);
  Start(12, 120, 0, 0, 0, 4);
  std::vector<Queued> q = Animate();
  ASSERT_EQ(q.size(), 2u);
  EXPECT_EQ(q[0].x, 10);
  EXPECT_EQ(q[1].x, 40);
  EXPECT_EQ(game.traffic.Debris[12].Tick, 0);
}

class WreckTest : public DebrisTest {
 protected:
  WreckTest() {
    Vehicle& p = game.vehicles.Vehicles[0];
    p.X = 190;
    p.Y = 420;
    p.Width = 44;
    p.Length = 84;
    p.HitPoints = -10;
    game.shell.RaceOver = 1;
  }
  // The generator's state after n more draws.
  uint32_t After(int n) const {
    Random r = game.random;
    for (int k = 0; k < n; ++k) r.Next();
    return r.state();
  }
};

TEST_F(WreckTest, AWreckSmokesAboutOneFrameInThreeWithFiveDraws) {
  int spawned = 0;
  for (int f = 0; f < 300; ++f) {
    Random peek = game.random;
    const bool due = Int(peek.Next() * 3) == 1;
    const uint32_t one = After(1), five = After(5);
    game.SpawnWreckDebris();
    EXPECT_EQ(game.random.state(), due ? five : one);
    if (!due) continue;
    ++spawned;
    const DebrisEntry& e = game.traffic.Debris[0];
    EXPECT_EQ(e.Active, 1);
    EXPECT_GE(e.X, 190 - 16);
    EXPECT_LT(e.X, 190 - 16 + 44);
    EXPECT_GE(e.Y, 420 - 32);
    EXPECT_LT(e.Y, 420 - 32 + 84);
    EXPECT_GE(e.VX, -48);
    EXPECT_LT(e.VX, 48);
    EXPECT_GE(e.VY, -48);
    EXPECT_LT(e.VY, 48);
    EXPECT_EQ(e.Frames, 4);
    EXPECT_EQ(e.Frame, 0);
    EXPECT_EQ(e.Tick, 0);
    EXPECT_EQ(game.course.SlotFound, 1);
    game.traffic.Debris[0].Active = 0;
  }
  EXPECT_GT(spawned, 60);
  EXPECT_LT(spawned, 140);
}

TEST_F(WreckTest, NoSmokeFromACarStillInOnePieceOrARaceStillRunning) {
  struct Case {
    int hit_points, race_over;
    bool smokes;
  };
  const Case cases[] = {{0, 1, true}, {1, 1, false}, {-10, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.hit_points) + " / " + std::to_string(c.race_over));
    game.vehicles.Vehicles[0].HitPoints = c.hit_points;
    game.shell.RaceOver = c.race_over;
    for (auto& e : game.traffic.Debris) e.Active = 0;
    bool any = false;
    for (int f = 0; f < 30; ++f) {
      const uint32_t one = After(1);
      game.SpawnWreckDebris();
      if (game.traffic.Debris[0].Active == 1) {
        any = true;
      } else {
        EXPECT_EQ(game.random.state(), one) << "the chance is drawn every frame";
      }
      game.traffic.Debris[0].Active = 0;
    }
    EXPECT_EQ(any, c.smokes);
  }
}

TEST_F(WreckTest, ABusyListTakesNoSmoke) {
  for (int d = 0; d <= 9; ++d) Start(d, 0, 0, 0, 0, 4);
  int due_frames = 0;
  for (int f = 0; f < 30; ++f) {
    Random peek = game.random;
    const bool due = Int(peek.Next() * 3) == 1;
    const uint32_t one = After(1);
    game.course.SlotFound = 1;
    game.SpawnWreckDebris();
    EXPECT_EQ(game.random.state(), one) << "no place, no further draws";
    EXPECT_EQ(game.course.SlotFound, due ? 0 : 1) << "only a due smoke searches";
    due_frames += due;
  }
  EXPECT_GT(due_frames, 0);
  for (int d = 10; d <= 15; ++d) EXPECT_EQ(game.traffic.Debris[d].Active, 0);
}

}  // namespace
}  // namespace kelto1
