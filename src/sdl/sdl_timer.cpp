// The tick counter and sleeping.
#include "sdl/sdl_timer.h"

#include <SDL.h>

#include <algorithm>

namespace kelto1 {

uint64_t TicksNow() { return SDL_GetTicks64(); }

void SleepUntil(uint64_t tick) {
  for (uint64_t now = TicksNow(); now < tick; now = TicksNow())
    if (tick - now > 1) SDL_Delay(static_cast<uint32_t>(tick - now - 1));
}

void SleepMostOf(uint32_t ms, uint32_t longest) {
  if (ms > 1) SDL_Delay(std::min(ms - 1, longest));
}

}  // namespace kelto1
