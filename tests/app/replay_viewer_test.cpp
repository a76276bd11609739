// Watching a replay: the viewer's clock, its speed and pause keys, the views it lets
// through at four times the speed, the REPLAY mark, and Escape.
#include "app/replay_viewer.h"

#include <gtest/gtest.h>

#include "app/sim_session.h"
#include "replay/replay_file.h"

namespace kelto1 {
namespace {

std::vector<uint8_t> ShortRace() {
  SimSession s;
  s.StartProgram();
  s.SetDemo({{200, {vk::kMenu}}, {30, {vk::kMenu, vk::kLeft}}});
  s.RunRace(300);
  return s.game().recorder.last_file();
}

TEST(ReplayViewer, ClockRunsFourTimesAsFastWithRightHeldAndStandsStillWhilePaused) {
  HeadlessPlatform screen;
  screen.now_ms = 1000;
  ViewerPlatform viewer(screen);
  const uint32_t t0 = viewer.GetTickCount();
  screen.now_ms += 10;
  EXPECT_EQ(viewer.GetTickCount() - t0, 10u);
  screen.Hold(vk::kRight);
  viewer.GetTickCount();  // the key is seen here
  const uint32_t t1 = viewer.GetTickCount();
  screen.now_ms += 10;
  EXPECT_EQ(viewer.GetTickCount() - t1, 40u);
  screen.Release(vk::kRight);
  viewer.GetTickCount();
  // A tap of Space pauses; the clock stands still until the next tap.
  screen.Tap(vk::kSpace);
  const uint32_t t2 = viewer.GetTickCount();
  EXPECT_TRUE(viewer.paused());
  screen.now_ms += 500;
  EXPECT_EQ(viewer.GetTickCount(), t2);
  screen.Tap(vk::kSpace);
  viewer.GetTickCount();
  EXPECT_FALSE(viewer.paused());
  screen.now_ms += 7;
  EXPECT_EQ(viewer.GetTickCount() - t2, 7u);
}

TEST(ReplayViewer, AtFourTimesOneViewInFourReachesTheScreenAndTheMarkIsOnScreenOnly) {
  HeadlessPlatform screen;
  ViewerPlatform viewer(screen);
  Kelto1 game(screen);
  viewer.Watch(game);
  for (int i = 0; i < 8; ++i) viewer.Repaint(game.Shown(), Element::Display);
  EXPECT_EQ(screen.repaints[Element::Display], 8);
  screen.Hold(vk::kRight);
  viewer.GetTickCount();
  for (int i = 0; i < 8; ++i) viewer.Repaint(game.Shown(), Element::Display);
  viewer.Repaint(game.Shown(), Element::HitP);
  EXPECT_EQ(screen.repaints[Element::Display], 10);
  EXPECT_EQ(screen.repaints[Element::HitP], 1);
  EXPECT_EQ(game.window.Painted(Element::SCORElab5).text, "REPLAY");
  EXPECT_EQ(game.window.Painted(Element::SCORElab5).color, colors::kRed);
  EXPECT_EQ(game.window[Element::SCORElab5].text, "Ver1.5");  // the game's state is its own
}

TEST(ReplayViewer, WatchingPlaysToTheEndOrLeavesOnEscapeAndRefusesBadFiles) {
  const std::vector<uint8_t> file = ShortRace();
  {
    HeadlessPlatform screen;
    const WatchResult r = WatchReplay(screen, file);
    EXPECT_TRUE(r.played);
    EXPECT_FALSE(r.diverged);
    EXPECT_EQ(r.line, "replay played as recorded (300 frames)");
    EXPECT_TRUE(screen.files.files.empty());
  }
  {
    HeadlessPlatform screen;
    long asked = 0;
    screen.on_repaint = [&](const ShownWindow&, Element e) {
      if (e == Element::Display && ++asked == 50) screen.Hold(vk::kEscape);
    };
    const WatchResult r = WatchReplay(screen, file);
    EXPECT_TRUE(r.played);
    EXPECT_EQ(r.line, "replay left at frame 50");
  }
  {
    HeadlessPlatform screen;
    const WatchResult r = WatchReplay(screen, std::vector<uint8_t>(file.begin(), file.begin() + 30));
    EXPECT_FALSE(r.played);
    EXPECT_NE(r.line.find("truncated"), std::string::npos) << r.line;
  }
}

// F2 on the title screen: what the notice line says when last.k1r is missing, cannot be
// a replay by its size alone (refused without decoding), or is damaged.
TEST(ReplayViewer, FromTheTitleABadLastReplayIsToldInTheNotice) {
  const struct {
    const char* name;
    size_t size;  // 0: no file at all
    const char* told;
  } cases[] = {
      {"missing", 0, "no replay yet (/game/last.k1r cannot be read)"},
      {"larger than any replay", kMaxReplayFileSize + 1, "/game/last.k1r: too large to be a replay"},
      {"not a replay", 30, "/game/last.k1r: not a Kelto1 replay"},
  };
  for (const auto& c : cases) {
    SimSession s;
    s.StartProgram();
    if (c.size != 0) s.platform().files.files["/game/last.k1r"] = std::vector<uint8_t>(c.size, 'K');
    ReplayFromTitle(s.platform(), s.game());
    // The notice line is the line told, shortened in its middle to fit the window.
    const std::string& notice = s.game().window[Element::COMMENT].text;
    const std::string told = c.told;
    const size_t cut = notice.find("\xE2\x80\xA6");
    if (cut == std::string::npos) {
      EXPECT_EQ(notice.rfind(told, 0), 0u) << c.name << ": " << notice;
    } else {
      EXPECT_EQ(told.rfind(notice.substr(0, cut), 0), 0u) << c.name << ": " << notice;
      EXPECT_GE(cut, 20u) << c.name << ": " << notice;
    }
  }
}

}  // namespace
}  // namespace kelto1
