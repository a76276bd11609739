// When a race frame may be shown: one sixtieth of a second plus the game's own frame
// delay after the previous one, on the millisecond tick counter. Deadlines keep their
// fractions, so frames of 17, 17 and 16 ms average exactly 60 a second.
#pragma once

#include <cstdint>

namespace kelto1 {

class FramePacer {
 public:
  static constexpr double kFrameMs = 1000.0 / 60.0;

  // The tick at which the frame being finished now may be shown. A frame that comes
  // late by more than a whole frame starts the count afresh instead of hurrying the
  // frames after it.
  uint64_t ShowAt(uint64_t now_ms, int32_t frame_delay_ms);

 private:
  bool started_ = false;
  double deadline_ = 0;
};

}  // namespace kelto1
