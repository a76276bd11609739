// The frame limiter's deadlines.
#include "frontend/frame_pacer.h"

#include <algorithm>
#include <cmath>

namespace kelto1 {

uint64_t FramePacer::ShowAt(uint64_t now_ms, int32_t frame_delay_ms) {
  const double now = static_cast<double>(now_ms);
  const double period = kFrameMs + std::max(frame_delay_ms, 0);
  double next = started_ ? deadline_ + period : now;
  if (now > next + period) next = now;
  started_ = true;
  deadline_ = next;
  // The tick counter counts whole milliseconds; a deadline within a rounding error of
  // a whole tick belongs to that tick.
  return static_cast<uint64_t>(std::ceil(next - 1e-6));
}

}  // namespace kelto1
