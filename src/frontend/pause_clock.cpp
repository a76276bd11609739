// The paused game's clock.
#include "frontend/pause_clock.h"

namespace kelto1 {

uint64_t PauseClock::GameTime(uint64_t machine_ms) const {
  const uint64_t now = paused_ ? paused_at_ : machine_ms;
  return now >= left_out_ ? now - left_out_ : 0;
}

void PauseClock::Pause(uint64_t machine_ms) {
  if (paused_) return;
  paused_ = true;
  paused_at_ = machine_ms;
}

void PauseClock::Resume(uint64_t machine_ms) {
  if (!paused_) return;
  paused_ = false;
  if (machine_ms > paused_at_) left_out_ += machine_ms - paused_at_;
}

}  // namespace kelto1
