// A running hash of every race view as it was painted, sprites and all (the state hash
// cannot see them: the next frame's road has been copied over them by then).
#pragma once

#include <cstdint>

#include "platform/picture.h"
#include "shell/fnv1a.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace kelto1 {

// How the views are hashed. Replays of format 1 hashed them with FNV-1a lanes; XXH3 takes
// a small part of that time, which matters at sixty views a second.
enum class ViewHashKind { Fnv1aLanes, Xxh3 };

class ViewHash {
 public:
  explicit ViewHash(ViewHashKind kind = ViewHashKind::Xxh3) : kind_(kind) { Reset(); }

  void Add(const Picture& view) {
    if (kind_ == ViewHashKind::Xxh3) {
      // Each view is hashed with the hash so far as its seed, so the order of the views
      // counts as well as their pixels.
      // The rows are taken in place, as runs of rows that lie one after another in
      // memory (a picture's rows are a ring, which may wrap once).
      XXH3_state_t state;
      XXH3_INITSTATE(&state);
      XXH3_64bits_reset_withSeed(&state, h_);
      const size_t width = static_cast<size_t>(view.width());
      for (int y = 0; y < view.height();) {
        const uint32_t* first = view.Row(y);
        int rows = 1;
        while (y + rows < view.height() && view.Row(y + rows) == first + width * static_cast<size_t>(rows)) ++rows;
        XXH3_64bits_update(&state, first, width * static_cast<size_t>(rows) * sizeof(uint32_t));
        y += rows;
      }
      h_ = XXH3_64bits_digest(&state);
      return;
    }
    // FNV-1a's steps over two pixels at a time, in four independent lanes so that the
    // multiplications overlap.
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
  void Reset() { h_ = Fnv1a64::kOffsetBasis; }
  ViewHashKind kind() const { return kind_; }

 private:
  ViewHashKind kind_;
  uint64_t h_ = Fnv1a64::kOffsetBasis;
};

}  // namespace kelto1
