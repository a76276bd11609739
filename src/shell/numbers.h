// Whole-number fields of fixed width, and the game's rounding rules.
// A value that would leave its field's range is a fault, never a silent wrap-around.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace kelto1 {

// What happens when a value does not fit its field. Tests and the soak runner abort
// with a message naming the value; the game as shipped clamps and says so once.
enum class RangeFaultMode { Abort, Clamp };
void SetRangeFaultMode(RangeFaultMode mode);
// Called with the field's type name and the value that did not fit; returns the
// clamped value in Clamp mode.
long long RangeFault(const char* type_name, long long value, long long lo, long long hi);
// Counts the faults seen in Clamp mode, and tells the last one (the soak's --check).
long long RangeFaultCount();
struct RangeFaultRecord {
  const char* type_name = "";
  long long value = 0;
};
RangeFaultRecord LastRangeFault();

template <class T>
struct FieldName;
template <>
struct FieldName<uint8_t> {
  static constexpr const char* value = "byte";
};
template <>
struct FieldName<int16_t> {
  static constexpr const char* value = "16-bit";
};
template <>
struct FieldName<int32_t> {
  static constexpr const char* value = "32-bit";
};

template <class T>
constexpr T Narrow(long long v) {
  constexpr long long lo = std::numeric_limits<T>::min();
  constexpr long long hi = std::numeric_limits<T>::max();
  if (v < lo || v > hi) return static_cast<T>(RangeFault(FieldName<T>::value, v, lo, hi));
  return static_cast<T>(v);
}

// A field of the game state that keeps its own width: it reads as a plain number and
// every store into it is range-checked.
template <class T>
class Fixed {
 public:
  constexpr Fixed() = default;
  // Stores read like plain assignments.
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  constexpr Fixed(I v) : v_(Narrow<T>(static_cast<long long>(v))) {}  // NOLINT
  template <class U>
  constexpr Fixed(Fixed<U> v) : v_(Narrow<T>(static_cast<long long>(v.get()))) {}  // NOLINT
  // A real number must be rounded or cut down on purpose before it is stored.
  template <class F, std::enable_if_t<std::is_floating_point_v<F>, int> = 0>
  Fixed(F) = delete;
  constexpr operator T() const { return v_; }          // NOLINT
  constexpr T get() const { return v_; }
  Fixed& operator+=(long long d) { v_ = Narrow<T>(static_cast<long long>(v_) + d); return *this; }
  Fixed& operator-=(long long d) { v_ = Narrow<T>(static_cast<long long>(v_) - d); return *this; }
  Fixed& operator++() { return *this += 1; }
  Fixed& operator--() { return *this -= 1; }
  void operator++(int) { *this += 1; }
  void operator--(int) { *this -= 1; }

 private:
  T v_ = 0;
};

using Byte = Fixed<uint8_t>;
using Int16 = Fixed<int16_t>;
using Int32 = Fixed<int32_t>;

// Int: the largest whole number not above x.
inline long long Int(double x) { return static_cast<long long>(std::floor(x)); }

// Nearest whole number, halves to the even neighbour (the rounding of every
// conversion from a real to a whole number).
inline long long RoundHalfEven(double x) {
  double lower = std::floor(x);
  double diff = x - lower;
  long long n = static_cast<long long>(lower);
  if (diff > 0.5) return n + 1;
  if (diff < 0.5) return n;
  return (n % 2 == 0) ? n : n + 1;
}

// A 16-bit count of something held in a wider field: a frame's damage is counted in 16
// bits, while a condition may go further than that (a pile-up, many FUEL pick-ups). The
// damage reaction only needs to know how big the damage is, so the count stops at the
// ends of the range instead of failing.
inline int16_t Saturate16(long long v) {
  if (v > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
  if (v < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
  return static_cast<int16_t>(v);
}

inline int Sgn(long long v) { return (v > 0) - (v < 0); }
inline int Sgn(double v) { return (v > 0) - (v < 0); }

}  // namespace kelto1
