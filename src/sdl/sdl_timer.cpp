// The tick counter and sleeping.
#include "sdl/sdl_timer.h"

#include <SDL.h>

#include <algorithm>

namespace kelto1 {

uint64_t TicksNow() { return SDL_GetTicks64(); }

void SleepFor(uint32_t ms, uint32_t longest) {
  if (ms > 0) SDL_Delay(std::min(ms, longest));
}

}  // namespace kelto1
