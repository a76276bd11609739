// kelto1 in a web page: the game on the browser's machine, driven by the same 20 ms timer
// as on the desktop. Its waits give the browser its turn (Asyncify), so the game's loops
// run as they are. Escape cannot close a page: the game saves its settings and ends, and
// a new game starts at the title. F2 on the title screen replays the last race, which
// the game keeps in the browser's storage beside its settings.
#include <emscripten.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/replay_viewer.h"
#include "shell/kelto1.h"
#include "shell/numbers.h"
#include "web/page_calls.h"
#include "web/web_platform.h"

namespace {
constexpr uint32_t kTimerMs = 20;
kelto1::BoxTexts* g_boxes = nullptr;  // the game running now
kelto1::WebPlatform* g_platform = nullptr;
}  // namespace

// The page's controls over the selector (9) and the delay box (6): the person typed there.
extern "C" EMSCRIPTEN_KEEPALIVE void k1_box_typed(int element, const char* text) {
  const auto box = static_cast<kelto1::Element>(element);
  if (g_boxes && (box == kelto1::Element::CarSel || box == kelto1::Element::Gamewait)) {
    g_boxes->BoxTyped(box, text);
    g_platform->Present();
  }
}

int main() {
#ifdef NDEBUG
  // As on the desktop: a value out of its field's range is clamped in play and told once,
  // so a hostile replay or stored record costs a line, never the page.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Clamp);
#endif
  kelto1::WebPlatform platform;
  g_platform = &platform;
  for (;;) {
    auto game = std::make_unique<kelto1::Kelto1>(platform);
    g_boxes = game.get();
    // Where the car is across the road, for the page's test of steering by touch.
    game->SetAfterFrame([](kelto1::Kelto1& g) {
      k1_report("car_x", std::to_string(static_cast<int>(g.vehicles.Vehicles[0].X)).c_str());
      return true;
    });
    game->Form_Load();
    game->Repaint(kelto1::Element::Window);
    uint32_t next_tick = platform.GetTickCount() + kTimerMs;
    while (!platform.ended()) {
      // Asked every pass, as on the desktop, so that a press made during a race is used
      // up before the title screen shows.
      if (platform.GetAsyncKeyState(kelto1::vk::kF2) != 0 && game->window[kelto1::Element::GameTitle].visible)
        kelto1::ReplayFromTitle(platform, *game);
      const uint32_t now = platform.GetTickCount();
      if (static_cast<int32_t>(next_tick - now) > 0) {
        platform.Idle(next_tick - now);
        continue;
      }
      next_tick = std::max(next_tick + kTimerMs, now);
      game->Timer1_Timer();
    }
    g_boxes = nullptr;
    game.reset();
    platform.StartAgain();
  }
}
