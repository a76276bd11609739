// kelto1 in a web page: the game on the browser's machine, driven by the same 20 ms timer
// as on the desktop. Its waits give the browser its turn (Asyncify), so the game's loops
// run as they are. Escape cannot close a page: the game saves its settings and ends, and
// a new game starts at the title. F2 on the title screen replays the last race, and F3
// shows the records table, both kept in the browser's storage beside the settings; the
// best race's ghost drives beside the player.
#include <emscripten.h>
#include <emscripten/fiber.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>
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
constexpr double kSliceMs = 8;  // the most a slice of the work on the side takes of a wait
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
  bool ByTouch() override { return platform_.touch(); }

 private:
  kelto1::WebPlatform& platform_;
};

// Work beside the title's ticks, on a fiber of its own: the records and the best race's
// ghost. A long race's ghost takes seconds to trace and the page has no threads, so it is
// traced a slice at a time in the waits between ticks, and the title never waits for it.
class SideWork {
 public:
  SideWork() : stack_(kStackBytes), side_unwound_(kUnwoundBytes), main_unwound_(kUnwoundBytes) {
    emscripten_fiber_init_from_current_context(&main_, main_unwound_.data(), main_unwound_.size());
    emscripten_fiber_init(&side_, &SideWork::Run, this, stack_.data(), stack_.size(), side_unwound_.data(),
                          side_unwound_.size());
  }
  bool busy() const { return static_cast<bool>(job_); }
  // The job starts at the next slice.
  void Begin(std::function<void()> job) { job_ = std::move(job); }
  // Goes on with the job until its next break after until_ms (page time), or its end.
  void Slice(double until_ms) {
    if (!job_) return;
    until_ = until_ms;
    emscripten_fiber_swap(&main_, &side_);
  }
  void Finish() {
    while (busy()) Slice(0);
  }
  // Called by the job where it may break off: the slice ends once its time is up.
  void MayBreak() {
    if (k1_now_ms() >= until_) emscripten_fiber_swap(&side_, &main_);
  }

 private:
  static constexpr size_t kStackBytes = 1 << 20;
  static constexpr size_t kUnwoundBytes = 1 << 16;
  static void Run(void* self) {
    auto& work = *static_cast<SideWork*>(self);
    for (;;) {  // a fiber never returns
      if (work.job_) work.job_();
      work.job_ = nullptr;
      emscripten_fiber_swap(&work.side_, &work.main_);
    }
  }
  std::vector<char> stack_, side_unwound_, main_unwound_;
  emscripten_fiber_t main_{}, side_{};
  std::function<void()> job_;
  double until_ = 0;
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
  // The page has no threads: a ghost is traced on the side, slice by slice, and taken
  // into use once it is whole.
  static SideWork side;
  kelto1::RaceExtras extras(platform);
  extras.TraceHere([] { side.MayBreak(); });
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
    // For the page's test and the benchmark: how long the records and the ghost took
    // from the tick that asked for them, and the longest the title was held up by them.
    double work_from = 0, held_ms = 0;
    bool told = false;
    const auto done = [&] {
      if (const double took = k1_now_ms() - work_from; took >= 1 || !told) {
        k1_report("ghost_ms", std::to_string(static_cast<int>(took)).c_str());
        k1_report("held_ms", std::to_string(static_cast<int>(held_ms)).c_str());
        told = true;
      }
    };
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
        // Half of the wait goes to the work on the side, the rest to the browser.
        if (side.busy()) {
          const double from = k1_now_ms();
          side.Slice(from + std::min<double>(kSliceMs, (next_tick - now) / 2.0));
          held_ms = std::max(held_ms, k1_now_ms() - from);
          if (!side.busy()) done();
        }
        platform.Idle(std::max<int32_t>(1, static_cast<int32_t>(next_tick - platform.GetTickCount())));
        continue;
      }
      next_tick = std::max(next_tick + kTimerMs, now);
      game->Timer1_Timer();
      // The records and the best race's ghost from the first tick on, and after every
      // tick (a race that ended may be a new best), on the side; a tick while that is still
      // busy leaves it be. Most ticks have nothing to do: the first slice ends them.
      if (!side.busy()) {
        const bool first = !extras_started;
        extras_started = true;
        kelto1::Kelto1& g = *game;
        side.Begin([&extras, &g, first] {
          if (first) extras.Start(g, "");
          else extras.AfterTick(g);
        });
        work_from = k1_now_ms();
        held_ms = 0;
        side.Slice(work_from + kSliceMs);
        held_ms = k1_now_ms() - work_from;
        if (!side.busy()) done();
      }
    }
    // The game ends here: what it left on the side is finished first.
    side.Finish();
    g_boxes = nullptr;
    game.reset();
    platform.StartAgain();
  }
}
