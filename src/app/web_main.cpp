// kelto1 in a web page: the game on the browser's machine, driven by the same 20 ms timer
// as on the desktop. Its waits give the browser its turn (Asyncify), so the game's loops
// run as they are. Escape cannot close a page: the game saves its settings and ends, and
// a new game starts at the title.
#include <emscripten.h>

#include <algorithm>
#include <memory>

#include "shell/kelto1.h"
#include "web/web_platform.h"

namespace {
constexpr uint32_t kTimerMs = 20;
}

int main() {
  kelto1::WebPlatform platform;
  for (;;) {
    auto game = std::make_unique<kelto1::Kelto1>(platform);
    game->Form_Load();
    game->Repaint(kelto1::Element::Window);
    uint32_t next_tick = platform.GetTickCount() + kTimerMs;
    while (!platform.ended()) {
      const uint32_t now = platform.GetTickCount();
      if (static_cast<int32_t>(next_tick - now) > 0) {
        platform.Idle(next_tick - now);
        continue;
      }
      next_tick = std::max(next_tick + kTimerMs, now);
      game->Timer1_Timer();
    }
    game.reset();
    platform.StartAgain();
  }
}
