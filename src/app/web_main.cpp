// kelto1 in a web page: the game on the browser's machine, driven by the same 20 ms timer
// as on the desktop. Its waits give the browser its turn (Asyncify), so the game's loops
// run as they are. Escape cannot close a page: the game saves its settings and ends, and
// a new game starts at the title. F2 on the title screen replays the last race, and F3
// shows the records table, both kept in the browser's storage beside the settings; the
// best race's ghost drives beside the player.
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/race_extras.h"
#include "app/records_screen.h"
#include "app/replay_viewer.h"
#include "shell/kelto1.h"
#include "shell/numbers.h"
#include "web/page_calls.h"
#include "web/web_platform.h"

namespace {
constexpr uint32_t kTimerMs = 20;
kelto1::BoxTexts* g_boxes = nullptr;  // the game running now
kelto1::WebPlatform* g_platform = nullptr;
bool g_touch = false;  // told before the game started

// The records table in the page.
class PageRecordsWindow final : public kelto1::RecordsWindow {
 public:
  explicit PageRecordsWindow(kelto1::WebPlatform& platform) : platform_(platform) {}
  kelto1::Platform& screen() override { return platform_; }
  void ShowPanel(std::vector<std::string> lines, int pick) override { platform_.ShowPanel(std::move(lines), pick); }
  bool Between(kelto1::Kelto1& game) override {
    platform_.BetweenTicks(game);
    if (platform_.ended()) return false;
    platform_.Idle(kTimerMs);
    return !platform_.ended();
  }
  void ShowReplayPaused(bool paused) override { platform_.ShowReplayPaused(paused); }
  void ShowTitleLine(const std::string& line) override { platform_.ShowTitleLine(line); }
  int TakeTappedLine() override { return platform_.TakeTappedLine(); }

 private:
  kelto1::WebPlatform& platform_;
};

}  // namespace

// The page's controls over the selector (9) and the delay box (6): the person typed there.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_box_typed(int element, const char* text) {
  const auto box = static_cast<kelto1::Element>(element);
  if (g_boxes && (box == kelto1::Element::CarSel || box == kelto1::Element::Gamewait)) {
    g_boxes->BoxTyped(box, text);
    g_platform->Present();
  }
}

// The page's own keys and controls: "pause", "mute" or "ghost".
extern "C" EMSCRIPTEN_KEEPALIVE void k1_action(const char* name) {
  if (const std::optional<kelto1::Action> action = kelto1::ActionNamed(name); action && g_platform)
    g_platform->Do(*action);
}

// The volume controls, per cent.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_volumes(int music, int effects) {
  if (g_platform) g_platform->SetVolumes(music, effects);
}

// The page found a touch screen: its buttons are named, the keys are not shown.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_touch() {
  g_touch = true;
  if (g_platform) g_platform->UseTouch();
}

// A tap (or a click) on the picture, in the picture's pixels.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_tap(int x, int y) {
  if (g_platform) g_platform->Tapped(x, y);
}

// The page hidden, or the window gone to the background.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_page_left() {
  if (g_platform) g_platform->PageLeft();
}

int main() {
#ifdef NDEBUG
  // As on the desktop: a value out of its field's range is clamped in play and told once,
  // so a hostile replay or stored record costs a line, never the page.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Clamp);
#endif
  kelto1::WebPlatform platform;
  g_platform = &platform;
  if (g_touch) platform.UseTouch();
  // The ghost is drawn on the way to the screen, below the recorder, so no race sees it.
  // The page has no threads: a ghost is traced at once, the browser getting its turn as
  // it goes.
  kelto1::RaceExtras extras(platform);
  extras.TraceHere([] { emscripten_sleep(0); });
  extras.ghost().ShownWhen([&] { return platform.ghost_shown(); });
  for (;;) {
    auto game = std::make_unique<kelto1::Kelto1>(extras.platform());
    g_boxes = game.get();
    // Where the car is across the road, for the page's test of steering by touch.
    game->SetAfterFrame([](kelto1::Kelto1& g) {
      k1_report("car_x", std::to_string(static_cast<int>(g.vehicles.Vehicles[0].X)).c_str());
      return true;
    });
    game->Form_Load();
    game->Repaint(kelto1::Element::Window);
    bool extras_started = false;
    uint32_t next_tick = platform.GetTickCount() + kTimerMs;
    while (!platform.ended()) {
      platform.BetweenTicks(*game);
      // Asked every pass, as on the desktop, so that a press made during a race is used
      // up before the title screen shows.
      if (platform.GetAsyncKeyState(kelto1::vk::kF2) != 0 && game->window[kelto1::Element::GameTitle].visible) {
        const kelto1::WatchResult watched =
            kelto1::ReplayFromTitle(platform, *game, [&](bool paused) { platform.ShowReplayPaused(paused); });
        if (watched.played && !watched.diverged) platform.ShowTitleLine(watched.line);
      }
      if (platform.GetAsyncKeyState(kelto1::vk::kF3) != 0 && game->window[kelto1::Element::GameTitle].visible) {
        PageRecordsWindow window(platform);
        kelto1::ShowRecords(window, *game, extras.records());
      }
      const uint32_t now = platform.GetTickCount();
      if (static_cast<int32_t>(next_tick - now) > 0) {
        platform.Idle(next_tick - now);
        continue;
      }
      next_tick = std::max(next_tick + kTimerMs, now);
      game->Timer1_Timer();
      // The records and the best race's ghost from the first tick on: the title shows
      // while the ghost is traced (a long race takes seconds), the page drawing and
      // taking its events all the while. The time it took is told for the page's test.
      const double extras_from = k1_now_ms();
      const bool first = !extras_started;
      if (first) extras.Start(*game, "");
      else extras.AfterTick(*game);
      extras_started = true;
      if (const double took = k1_now_ms() - extras_from; first || took >= 1)
        k1_report("ghost_ms", std::to_string(static_cast<int>(took)).c_str());
    }
    g_boxes = nullptr;
    game.reset();
    platform.StartAgain();
  }
}
