// Random driving and the range checks of the soak.
#include "app/soak.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>

#include "shell/readout_text.h"

namespace kelto1 {

namespace {

// Names are made only for a violation, so the check itself allocates nothing.
struct Range {
  const char* what;
  int index;  // the record's number, or -1
  long long value, lo, hi;
};

std::optional<RangeViolation> FirstOutside(std::initializer_list<Range> ranges) {
  for (const Range& r : ranges) {
    if (r.value >= r.lo && r.value <= r.hi) continue;
    std::string name = r.what;
    if (r.index >= 0) name.insert(name.find(' '), " " + std::to_string(r.index));
    return RangeViolation{name, r.value};
  }
  return std::nullopt;
}

}  // namespace

std::optional<RangeViolation> CheckRanges(const Kelto1& g, int max_speed_at_start) {
  if (RangeFaultCount() > 0)
    return RangeViolation{std::string("a ") + LastRangeFault().type_name + " field", LastRangeFault().value};
  const Vehicle& p = g.vehicles.Vehicles[0];
  // The driving holds |SteerVel| to Speed + 1 when it limits the steering (SteeringWatch
  // checks that where it happens); later in the frame a kerb or obstacle may push it
  // further by design (a forced swerve sets Speed + 2, a glancing hit adds 1 and takes 20
  // off the speed), but never past the fastest speed of the frame plus two.
  if (auto v = FirstOutside({
          {"player X", -1, p.X, -40, 500},
          {"player Speed", -1, p.Speed, 0, max_speed_at_start},
          {"player Throttle", -1, p.Throttle, -32, 10},
          {"player |SteerVel|", -1, std::abs(static_cast<long long>(p.SteerVel)), 0, std::max(max_speed_at_start, 160) + 2},
          {"player Travel", -1, p.Travel, 0, 19},
          {"ScrollSub", -1, g.vehicles.ScrollSub, 0, 31},
          {"draw queue", -1, g.vehicles.SpriteQueue[0], 0, 255},
      }))
    return v;
  for (int i = 1; i <= 28; ++i) {
    const Vehicle& v = g.vehicles.Vehicles[i];
    if (v.Active != 1) continue;
    const bool cross = v.Crossing == 1;
    if (auto r = FirstOutside({
            {"traffic Speed", i, v.Speed, -160, 160},
            {"traffic Throttle", i, v.Throttle, -16, 16},
            {"traffic SteerVel", i, cross ? v.SteerVel.get() : 0, -180, 180},
            {"traffic X", i, cross ? 0 : v.X.get(), -40, 510},
        }))
      return r;
  }
  for (int s = 0; s < 3; ++s) {
    const Signal& sig = g.traffic.Signals[s];
    if (sig.Active != 1) continue;
    if (auto r = FirstOutside({{"signal Phase", s, sig.Phase, 1, 3}, {"signal CrossLanes", s, sig.CrossLanes, 2, 3}}))
      return r;
  }
  int ahead = 0;
  for (int a = 0; a < 29; ++a) ahead += g.traffic.Rivals[a].Ahead == 1;
  const auto rank = ParseNumber(g.window[Element::Rank].text);
  if (!rank || *rank != 1 + ahead)
    return RangeViolation{"rank - 1 - rivals ahead", rank ? static_cast<long long>(*rank) - 1 - ahead : -999};
  return std::nullopt;
}

std::optional<RangeViolation> SteeringWatch::Check(const Vehicle& p) {
  // A contact earlier in the frame may have knocked the car backwards (Speed below 0);
  // the two clamps of the driving then leave exactly -(Speed + 1). Either way the bound
  // is |Speed + 1|.
  const long long steer = std::abs(static_cast<long long>(p.SteerVel));
  const long long bound = std::abs(static_cast<long long>(p.Speed) + 1);
  if (steer <= bound) return std::nullopt;
  return RangeViolation{"player |SteerVel| - |Speed + 1| after steering", steer - bound};
}

void SteeringWatch::Attach(Kelto1& game) {
  game.SetAfterSteering([this](const Kelto1& g) {
    if (!first_) first_ = Check(g.vehicles.Vehicles[0]);
  });
}

std::optional<RangeViolation> SteeringWatch::Take() {
  std::optional<RangeViolation> seen = first_;
  first_.reset();
  return seen;
}

void RandomDriver::HoldKeys(HeadlessPlatform& platform) {
  if (--steer_left_ <= 0) {
    const int r = Span(0, 9);
    steer_ = r < 5 ? 0 : (r < 7 ? vk::kLeft : vk::kRight);
    steer_left_ = steer_ == 0 ? Span(10, 200) : Span(3, 60);
  }
  if (--pedal_left_ <= 0) {
    const int r = Span(0, 9);
    pedal_ = r < 7 ? vk::kMenu : (r < 8 ? vk::kControl : 0);
    pedal_left_ = Span(10, 400);
  }
  platform.ReleaseAll();
  if (steer_) platform.Hold(steer_);
  if (pedal_) platform.Hold(pedal_);
}

std::string RandomDriver::NextCar() {
  static constexpr std::array<const char*, 7> kCars = {"RacingCar", "FamilyCar", "MotorBike", "KeiTrack",
                                                       "RoadStar",  "Track",     "racing car"};
  return kCars[static_cast<size_t>(car_++) % kCars.size()];
}

}  // namespace kelto1
