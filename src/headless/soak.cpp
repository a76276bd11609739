// Random driving and the range checks of the soak.
#include "headless/soak.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "shell/readout_text.h"

namespace kelto1 {

namespace {

std::optional<RangeViolation> Outside(const std::string& name, long long v, long long lo, long long hi) {
  if (v < lo || v > hi) return RangeViolation{name, v};
  return std::nullopt;
}

}  // namespace

std::optional<RangeViolation> CheckRanges(const Kelto1& g, int max_speed_at_start) {
  if (RangeFaultCount() > 0)
    return RangeViolation{std::string("a ") + LastRangeFault().type_name + " field", LastRangeFault().value};
  const Vehicle& p = g.vehicles.Vehicles[0];
  const std::array<std::optional<RangeViolation>, 7> player = {
      Outside("player X", p.X, -40, 500),
      Outside("player Speed", p.Speed, 0, max_speed_at_start),
      Outside("player Throttle", p.Throttle, -32, 10),
      // The driving holds |SteerVel| to Speed + 1 when it limits the steering; later in
      // the frame a kerb or obstacle may push it further by design (a forced swerve sets
      // Speed + 2, a glancing hit adds 1 and takes 20 off the speed), but never past the
      // fastest speed of the frame plus two.
      Outside("player |SteerVel|", std::abs(static_cast<long long>(p.SteerVel)), 0,
              std::max(max_speed_at_start, 160) + 2),
      Outside("player Travel", p.Travel, 0, 19),
      Outside("ScrollSub", g.vehicles.ScrollSub, 0, 31),
      Outside("draw queue", g.vehicles.SpriteQueue[0], 0, 255),
  };
  for (const auto& v : player)
    if (v) return v;
  for (int i = 1; i <= 28; ++i) {
    const Vehicle& v = g.vehicles.Vehicles[i];
    if (v.Active != 1) continue;
    const std::string slot = "traffic " + std::to_string(i) + " ";
    if (auto r = Outside(slot + "Speed", v.Speed, -160, 160)) return r;
    if (auto r = Outside(slot + "Throttle", v.Throttle, -16, 16)) return r;
    if (v.Crossing == 1) {
      if (auto r = Outside(slot + "SteerVel", v.SteerVel, -180, 180)) return r;
    } else if (auto r = Outside(slot + "X", v.X, -40, 510)) {
      return r;
    }
  }
  for (int s = 0; s < 3; ++s) {
    const Signal& sig = g.traffic.Signals[s];
    if (sig.Active != 1) continue;
    if (auto r = Outside("signal " + std::to_string(s) + " Phase", sig.Phase, 1, 3)) return r;
    if (auto r = Outside("signal " + std::to_string(s) + " CrossLanes", sig.CrossLanes, 2, 3)) return r;
  }
  int ahead = 0;
  for (int a = 0; a < 29; ++a) ahead += g.traffic.Rivals[a].Ahead == 1;
  const auto rank = ParseNumber(g.window[Element::Rank].text);
  if (!rank || *rank != 1 + ahead) return RangeViolation{"rank - 1 - rivals ahead", rank ? static_cast<long long>(*rank) - 1 - ahead : -999};
  return std::nullopt;
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
