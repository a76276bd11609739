// The game's one random number generator. It is never seeded, so every run of the
// program draws the same sequence.
#pragma once

#include <cstdint>

namespace kelto1 {

class Random {
 public:
  static constexpr uint32_t kStartState = 0x50000;

  // Rnd: the next uniform number in [0, 1).
  double Next() {
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<double>(state_) / 16777216.0;
  }
  uint32_t state() const { return state_; }
  void set_state(uint32_t s) { state_ = s & 0xFFFFFFu; }

 private:
  uint32_t state_ = kStartState;
};

}  // namespace kelto1
