// FNV-1a, the one hash the game uses for its state, its recorded tables and its views.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelto1 {

template <class Word, Word kStart, Word kPrimeOf>
class Fnv1a {
 public:
  static constexpr Word kOffsetBasis = kStart;
  static constexpr Word kPrime = kPrimeOf;

  void Bytes(const void* data, size_t n) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h_ = static_cast<Word>((h_ ^ p[i]) * kPrime);
  }
  Word value() const { return h_; }

 private:
  Word h_ = kStart;
};

using Fnv1a64 = Fnv1a<uint64_t, 0xCBF29CE484222325ull, 0x100000001B3ull>;
using Fnv1a32 = Fnv1a<uint32_t, 2166136261u, 16777619u>;

}  // namespace kelto1
