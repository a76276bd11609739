// A running hash of every race view as it was painted, sprites and all (the state hash
// cannot see them: the next frame's road has been copied over them by then).
#pragma once

#include <cstdint>

#include "platform/picture.h"
#include "shell/fnv1a.h"

namespace kelto1 {

class ViewHash {
 public:
  void Add(const Picture& view) {
    // FNV-1a's steps over two pixels at a time, in four independent lanes so that the
    // multiplications overlap: a whole view each frame would cost too much byte by byte.
    constexpr uint64_t kPrime = Fnv1a64::kPrime;
    uint64_t a = h_, b = h_ ^ 1, c = h_ ^ 2, d = h_ ^ 3;
    const auto pair = [](const uint32_t* p) { return static_cast<uint64_t>(p[0]) << 32 | p[1]; };
    for (int y = 0; y < view.height(); ++y) {
      const uint32_t* row = view.Row(y);
      int x = 0;
      for (; x + 8 <= view.width(); x += 8) {
        a = (a ^ pair(row + x)) * kPrime;
        b = (b ^ pair(row + x + 2)) * kPrime;
        c = (c ^ pair(row + x + 4)) * kPrime;
        d = (d ^ pair(row + x + 6)) * kPrime;
      }
      for (; x < view.width(); ++x) a = (a ^ row[x]) * kPrime;
    }
    h_ = ((a * 31 + b) * 31 + c) * 31 + d;
  }
  uint64_t value() const { return h_; }
  void Reset() { h_ = kStart; }

 private:
  static constexpr uint64_t kStart = Fnv1a64::kOffsetBasis;
  uint64_t h_ = kStart;
};

}  // namespace kelto1
