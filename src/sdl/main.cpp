// kelto1: the game on the desktop. Start-up, the window shown, then the 20 ms timer
// that drives the idle loop, with the window's events handled between its ticks.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "sdl/sdl_platform.h"
#include "sdl/sdl_timer.h"
#include "shell/kelto1.h"

namespace {
constexpr uint64_t kTimerMs = 20;
}

int main(int, char**) {
#ifdef NDEBUG
  // A value out of its field's range is clamped in play, and told once on stderr.
  kelto1::SetRangeFaultMode(kelto1::RangeFaultMode::Clamp);
#endif
  std::string error;
  std::unique_ptr<kelto1::SdlPlatform> platform = kelto1::SdlPlatform::Create(error);
  if (!platform) {
    std::fprintf(stderr, "kelto1: %s\n", error.c_str());
    return 1;
  }
  platform->OpenAudio();
  auto game = std::make_unique<kelto1::Kelto1>(*platform);
  game->Form_Load();
  platform->PrepareSounds(*game);
  game->Repaint(kelto1::Element::Window);  // the window appears once start-up is done

  uint64_t next_tick = kelto1::TicksNow() + kTimerMs;
  while (!platform->ended()) {
    platform->HandleEvents(*game);
    const uint64_t now = kelto1::TicksNow();
    if (now < next_tick) {
      platform->WaitForEvents(next_tick);
      continue;
    }
    // A tick that comes while an earlier one still runs is not delivered: after a long
    // tick (a whole race) the next one follows at once, not a burst of them.
    next_tick = std::max(next_tick + kTimerMs, now);
    game->Timer1_Timer();
  }
  return 0;
}
