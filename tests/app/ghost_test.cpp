// The ghost: where it is drawn relative to the player, the marker when it is off the view,
// and that it is only drawn, never part of the race.
#include <gtest/gtest.h>

#include <functional>

#include "app/ghost.h"
#include "app/sim_session.h"
#include "replay/replay_file.h"

namespace kelto1 {
namespace {

bool SamePicture(const Picture& a, const Picture& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.At(x, y) != b.At(x, y)) return false;
  return true;
}

TEST(GhostPlacement, OnTheViewWhereItIsOnTheRoadElseAMarkerAtTheEdgeItIsBeyond) {
  using Where = GhostPlacement::Where;
  struct Case {
    int64_t ghost_progress, progress;
    int16_t ghost_y;
    int height;
    Where where;
    int y;  // on the view
    int metres;
  } cases[] = {
      {1000, 1000, 400, 64, Where::OnView, 400, 0},     // level with the player
      {1100, 1000, 400, 64, Where::OnView, 300, 12},    // 100 pixels ahead: higher up
      {1000, 1100, 400, 64, Where::OnView, 500, 12},    // behind: lower down
      {1463, 1000, 400, 64, Where::OnView, -63, 57},    // its last row still shows at the top
      {1464, 1000, 400, 64, Where::Ahead, 0, 58},       // gone over the top edge
      {1000, 1175, 400, 64, Where::OnView, 575, 21},    // its first row at the bottom
      {1000, 1176, 400, 64, Where::Behind, 0, 22},      // gone below the bottom edge
      {90000, 1000, 400, 32, Where::Ahead, 0, 11125},
  };
  for (const Case& c : cases) {
    GhostFrame g;
    g.progress = c.ghost_progress;
    g.x = 200;
    g.y = c.ghost_y;
    const GhostPlacement at = PlaceGhost(g, c.progress, c.height);
    EXPECT_EQ(at.where, c.where) << c.ghost_progress << " vs " << c.progress;
    if (c.where == Where::OnView) {
      EXPECT_EQ(at.y, c.y) << c.ghost_progress << " vs " << c.progress;
    }
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(at.metres(), c.metres) << c.ghost_progress << " vs " << c.progress;
  }
}

// Keys for a motorbike race that weaves and brakes now and then.
void Drive(long frame, HeadlessPlatform& p) {
  p.ReleaseAll();
  p.Hold(frame % 90 < 75 ? vk::kMenu : vk::kControl);
  if (frame % 200 < 30) p.Hold(vk::kLeft);
  if (frame % 300 > 260) p.Hold(vk::kRight);
}

TEST(GhostRace, TheGhostOfTheSameKeysDrivesExactlyWhereThePlayerIs) {
  SimSession first;
  first.StartProgram();
  first.game().window[Element::CarSel].text = "MotorBike";
  first.keys_for_frame = Drive;
  first.RunRace(3000);
  std::string why;
  const std::optional<std::vector<GhostFrame>> track = TraceGhost(first.game().recorder.last_file(), why);
  ASSERT_TRUE(track) << why;
  ASSERT_EQ(track->size(), 3000u);

  SimSession again;
  again.StartProgram();
  again.game().window[Element::CarSel].text = "MotorBike";
  again.keys_for_frame = Drive;
  RoadProgress progress;
  int64_t last = -1;
  long checked = 0;
  again.after_frame = [&](long frame) {
    const Kelto1& g = again.game();
    const Vehicle& car = g.vehicles.Vehicles[0];
    const int64_t now = progress.Update(g);
    EXPECT_GE(now, last) << "the road went back at frame " << frame;
    last = now;
    const GhostFrame& ghost = (*track)[static_cast<size_t>(frame) - 1];
    const GhostPlacement at = PlaceGhost(ghost, now, 64);
    ASSERT_EQ(at.where, GhostPlacement::Where::OnView) << frame;
    EXPECT_EQ(at.x, car.X + car.OffsetX) << frame;
    EXPECT_EQ(at.y, car.Y) << frame;
    EXPECT_EQ(ghost.sprite, car.Sprite) << frame;
    ++checked;
  };
  again.RunRace(3000);
  EXPECT_EQ(checked, 3000);
  EXPECT_GT(last, 32 * 20) << "the race should have gone some way up the road";
}

TEST(GhostRace, AFileThatIsNoRaceGivesNoGhostAndSaysWhy) {
  std::string why;
  EXPECT_FALSE(TraceGhost({'K', '1', 'R', 'P', 0, 0}, why));
  EXPECT_FALSE(why.empty());
  why.clear();
  EXPECT_FALSE(GhostTracing::Start({'K', '1', 'R', 'P', 0, 0}, why));
  EXPECT_FALSE(why.empty());
}

// Traced beside the window, or all at once where there are no threads, the ghost is the
// same, frame for frame; a tracing that is dropped half-way stops rather than holding the
// program, and one traced at once lets the caller have its turn as it goes.
TEST(GhostRace, TracingOnAThreadOrAtOnceGivesTheSameGhost) {
  SimSession s;
  s.StartProgram();
  s.keys_for_frame = Drive;
  s.RunRace(2000);
  const std::vector<uint8_t> file = s.game().recorder.last_file();
  std::string why;
  const std::optional<std::vector<GhostFrame>> track = TraceGhost(file, why);
  ASSERT_TRUE(track) << why;
  int turns = 0;
  const struct {
    const char* how;
    std::function<std::unique_ptr<GhostTracing>()> trace;
  } ways[] = {
      {"on a thread", [&] { return GhostTracing::Start(file, why); }},
      {"at once", [&] { return GhostTracing::TraceNow(file, why, [&] { ++turns; }); }},
  };
  for (const auto& way : ways) {
    std::unique_ptr<GhostTracing> tracing = way.trace();
    ASSERT_TRUE(tracing) << way.how << ": " << why;
    EXPECT_TRUE(tracing->Finish()) << way.how;
    ASSERT_EQ(tracing->ready(), track->size()) << way.how;
    for (size_t i = 0; i < track->size(); ++i) {
      const GhostFrame& a = tracing->at(i);
      const GhostFrame& b = (*track)[i];
      ASSERT_TRUE(a.progress == b.progress && a.x == b.x && a.y == b.y && a.sprite == b.sprite)
          << way.how << ": frame " << i + 1;
    }
  }
  // A turn once the file is unpacked, one once the race is ready, then every few frames.
  EXPECT_EQ(turns, 2 + static_cast<int>(track->size() / GhostTracing::kFramesBetween));
  EXPECT_FALSE(GhostTracing::TraceNow({'K', '1', 'R', 'P', 0, 0}, why));
  for (int i = 0; i < 3; ++i) GhostTracing::Start(file, why).reset();
}

// The overlay draws into a copy: the game's own view, its state and its replay are those
// of a race without a ghost.
TEST(GhostRace, ARaceWithAGhostIsTheSameRace) {
  SimSession plain;
  plain.StartProgram();
  plain.keys_for_frame = Drive;
  plain.RunRace(1200);
  std::string why;
  std::optional<std::vector<GhostFrame>> track = TraceGhost(plain.game().recorder.last_file(), why);
  ASSERT_TRUE(track) << why;
  // Half a race behind itself, so that the ghost is on the view and elsewhere than the car.
  track->erase(track->begin(), track->begin() + 40);

  SimSession ghosted;
  GhostPainter painter(std::move(*track));
  long differing = 0;
  ghosted.platform().on_repaint = [&](const ShownWindow& shown, Element which) {
    if (which != Element::Display || !ghosted.in_race_frame()) return;
    const Picture before = ghosted.game().Display;
    const Picture& drawn = painter.Compose(ghosted.game(), ghosted.game().recorder.race_frame());
    EXPECT_EQ(&shown.view, &ghosted.game().Display);
    EXPECT_TRUE(SamePicture(ghosted.game().Display, before)) << "the ghost was drawn into the game's own view";
    differing += !SamePicture(drawn, before);
  };
  ghosted.StartProgram();
  ghosted.keys_for_frame = Drive;
  ghosted.RunRace(1200);
  EXPECT_GT(differing, 100) << "the ghost was hardly ever drawn";
  EXPECT_EQ(ghosted.game().StateHash(), plain.game().StateHash());
  EXPECT_EQ(ghosted.game().recorder.last_file(), plain.game().recorder.last_file());
}

}  // namespace
}  // namespace kelto1
