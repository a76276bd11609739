// Shared set-up of the traffic tests: a game with the lanes of a fresh race, a player's
// vehicle standing in view, vehicles placed by hand, and control over the random draws.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1::traffic_test {

// The first generator state whose coming draws satisfy `wanted` (handed a generator at
// that state). The game draws in a fixed order, so a test states which draw must fall
// where.
inline uint32_t StateWhere(const std::function<bool(Random&)>& wanted) {
  for (uint32_t s = 0; s < (1u << 24); ++s) {
    Random r;
    r.set_state(s);
    if (wanted(r)) return s;
  }
  ADD_FAILURE() << "no generator state gives the draws asked for";
  return 0;
}

// The next n draws from a state.
inline std::vector<double> DrawsFrom(uint32_t state, int n) {
  Random r;
  r.set_state(state);
  std::vector<double> out;
  for (int k = 0; k < n; ++k) out.push_back(r.Next());
  return out;
}

// The next n draws of a generator, for the conditions handed to StateWhere.
inline std::vector<double> Take(Random& r, int n) {
  std::vector<double> out;
  for (int k = 0; k < n; ++k) out.push_back(r.Next());
  return out;
}

class TrafficTest : public ::testing::Test {
 protected:
  TrafficTest() {
    const int16_t lane_x[5] = {0, 130, 225, 316, 490};
    for (int l = 1; l <= 4; ++l) {
      Lane& lane = game.course.Lanes[l];
      lane.X = lane_x[l];
      lane.Top = -1984;
      lane.Bottom = 1568;
    }
    Vehicle& p = V(0);
    p.Active = 1;
    p.X = 190;
    p.Y = 420;
    p.Width = 44;
    p.Length = 84;
    p.Mass = 800;
    p.HitPoints = 700;
    p.Sprite = 10;
    p.Lane = 2;
    p.AccelStep = 44;
    p.BrakeStep = 32;
    p.SteerStep = 40;
    p.MaxSpeed = 150;
  }

  Vehicle& V(int i) { return game.vehicles.Vehicles[i]; }

  // A plain saloon driving up `lane` at its cruise speed, with no random habits (no lane,
  // cruise or weave changes).
  Vehicle& PlaceCar(int slot, int lane, int y, int speed) {
    Vehicle& v = V(slot);
    v = Vehicle{};
    v.Active = 1;
    v.Dir = 1;
    v.Lane = lane;
    v.X = game.course.Lanes[lane].X - 32;
    v.Y = y;
    v.Speed = speed;
    v.MaxSpeed = speed;
    v.Width = 51;
    v.Length = 92;
    v.Mass = 1000;
    v.HitPoints = 1000;
    v.AccelStep = 48;
    v.BrakeStep = 32;
    v.SteerStep = 48;
    v.Sprite = 1;
    return v;
  }

  struct Queued {
    int sprite, x, y;
    bool operator==(const Queued&) const = default;
  };
  std::vector<Queued> Queue() {
    std::vector<Queued> out;
    const auto& q = game.vehicles.SpriteQueue;
    for (int k = 1; k <= q[0]; ++k) out.push_back({q[3 * k - 2], q[3 * k - 1], q[3 * k]});
    return out;
  }

  int ActiveTraffic() {
    int n = 0;
    for (int i = 1; i <= 28; ++i) n += V(i).Active == 1;
    return n;
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

}  // namespace kelto1::traffic_test
