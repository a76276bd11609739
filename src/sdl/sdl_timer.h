// Time on the desktop: the millisecond tick counter and sleeps that leave only the last
// millisecond to a busy wait, so waits keep the counter's resolution without keeping
// a processor busy.
#pragma once

#include <cstdint>

namespace kelto1 {

uint64_t TicksNow();
// Sleeps through all but the last millisecond of ms, at most `longest` at a time.
void SleepMostOf(uint32_t ms, uint32_t longest);

}  // namespace kelto1
