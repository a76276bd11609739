// The soak: random, human-like driving over many races, with the game's ranges
// checked after every frame.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {

struct RangeViolation {
  std::string variable;
  long long value = 0;
};

// The first range the game state breaks after a frame, if any. max_speed_at_start is the
// player's MaxSpeed when the frame began (a pick-up later in the frame may lower it).
std::optional<RangeViolation> CheckRanges(const Kelto1& game, int max_speed_at_start);

// Watches the player's steering right after the driving step has limited it, where
// |SteerVel| <= Speed + 1 always holds (|Speed + 1| when a contact has knocked the car
// backwards); CheckRanges can only allow more, as the kerbs and obstacles act later in
// the frame. Keeps the first breach until it is taken.
class SteeringWatch {
 public:
  // Installs the watch on the game; the watch must outlive the game's races.
  void Attach(Kelto1& game);
  // The rule itself, for one state of the player's vehicle.
  static std::optional<RangeViolation> Check(const Vehicle& player);
  std::optional<RangeViolation> Take();

 private:
  std::optional<RangeViolation> first_;
};

// Holds steering and pedals for random spans, as a person would.
class RandomDriver {
 public:
  explicit RandomDriver(uint64_t seed) : rng_(seed) {}
  void HoldKeys(HeadlessPlatform& platform);
  // The vehicle for the next race: every type by turns, then now and then a stray text.
  std::string NextCar();

 private:
  // A whole number in [lo, hi] by our own arithmetic: the standard's distributions may draw
  // differently in each C++ library, and every edition must drive the same race for a seed.
  // The engine's 64 bits dwarf the few hundred values asked for, so the remainder's bias
  // is below one in 10^16.
  int Span(int lo, int hi) { return lo + static_cast<int>(rng_() % static_cast<uint64_t>(hi - lo + 1)); }
  std::mt19937_64 rng_;
  int steer_ = 0, steer_left_ = 0;
  int pedal_ = 0, pedal_left_ = 0;
  int car_ = 0;
};

}  // namespace kelto1
