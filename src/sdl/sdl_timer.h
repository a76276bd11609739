// Time on the desktop: the millisecond tick counter and sleeps. A sleep goes right to
// its end rather than spinning through the last millisecond: the system's timers wake
// well within a millisecond, and a frame a fraction late costs nothing, as the next
// deadline counts from the one before, not from when the frame was shown.
#pragma once

#include <cstdint>

namespace kelto1 {

uint64_t TicksNow();
// Sleeps ms, or `longest` if that is shorter.
void SleepFor(uint32_t ms, uint32_t longest);

}  // namespace kelto1
