// Traffic driving: every traffic vehicle for one frame, in slot order, each completely
// before the next, so later vehicles see the earlier ones already moved.
#include <algorithm>
#include <cstdlib>

#include "traffic/traffic_steps.h"
#include "vehicles/sprite_numbers.h"
#include "vehicles/carries.h"

namespace kelto1 {

namespace {

using traffic_steps::VehicleLook;

constexpr int kRed = 1;
constexpr int kYellow = 3;

// What one vehicle's update remembers while it runs.
struct VehicleUpdate {
  int i;
  int16_t old_x;
  uint8_t old_lane;
  bool braked = false;
};

bool OnRoad(const Vehicle& v) { return v.Crossing == 0; }

// Whether `lane` still exists at the point the vehicle looks ahead to: 300 pixels and
// four pixels per speed unit beyond its top.
bool LaneReachesLookAhead(const Kelto1& g, const Vehicle& v, int lane) {
  const long long ahead = (v.Y - 300) - 4LL * v.Speed;
  const Lane& l = g.course.Lanes[lane];
  return l.Top <= ahead && ahead <= l.Bottom;
}

void LeaveEndingLane(const Kelto1& g, Vehicle& v) {
  const bool may_end = v.Lane == 1 || (v.Lane == 2 && v.Dir == 1);
  if (may_end && !LaneReachesLookAhead(g, v, v.Lane)) v.Lane += 1;
}

// Road traffic steers to its lane line with its shift and weave; cross traffic steers its
// sideways speed to its cruise speed.
void Steer(const Kelto1& g, Vehicle& v) {
  long long error = v.MaxSpeed - v.SteerVel;
  if (OnRoad(v)) error = g.course.Lanes[v.Lane].X + v.LaneShift + v.OffsetX - (v.X + 32);
  v.SteerVel += 2 * Sgn(error);
}

// Nobody moves into a lane where a vehicle runs alongside (only the lane numbers are
// compared, not the widths), off the road, or into a lane that ends ahead.
void TryLaneChange(Kelto1& g, int i) {
  auto& vehicles = g.vehicles.Vehicles;
  Vehicle& v = vehicles[i];
  v.LaneHold = 100;
  const int saved = v.Lane;
  v.Lane = Int(g.Rnd() * 2) == 1 ? saved + 1 : saved - 1;
  for (int n = 0; n <= 28; ++n) {
    const Vehicle& other = vehicles[n];
    const int t = other.Y < v.Y ? other.Length : v.Length;
    if (n != i && other.Active == 1 && std::abs(other.Y - v.Y) < t + 4 && other.Lane == v.Lane) v.Lane = saved;
  }
  if (v.Lane == 4 || v.Lane == 0) v.Lane = saved;
  if (!LaneReachesLookAhead(g, v, v.Lane)) v.Lane = saved;
}

// Oncoming vehicles never change lane: the draw times -1 is never 1.
void MaybeChangeLane(Kelto1& g, int i) {
  Vehicle& v = g.vehicles.Vehicles[i];
  const double r = g.Rnd();
  if (Int(r * v.ChangeOdds) * v.Dir == 1 && v.LaneHold == 0 && OnRoad(v) && v.Speed > 10) TryLaneChange(g, i);
}

void MaybeChangeCruise(Kelto1& g, Vehicle& v) {
  const double r = g.Rnd();
  if (Int(r * v.ChangeOdds) != 1 || !OnRoad(v)) return;
  long long cruise = Int(g.Rnd() * 20) + v.MaxSpeed - 8;
  if (v.Dir * cruise < 40) cruise = 40 * v.Dir;
  if (v.Dir * cruise > 300) cruise = 300 * v.Dir;
  v.MaxSpeed = cruise;
}

void MaybeWeave(Kelto1& g, Vehicle& v) {
  const double r = g.Rnd();
  if (Int(r * v.WeaveOdds) != 1 || !OnRoad(v)) return;
  v.OffsetX = Int(g.Rnd() * v.WeaveRange);
  if (Int(g.Rnd() * 2) == 1) v.OffsetX = Narrow<int16_t>(-v.OffsetX);
}

// A red signal whose crossing lies above the vehicle's top.
bool RedSignalAhead(const Kelto1& g, const Vehicle& v) {
  bool red = false;
  for (const Signal& s : g.traffic.Signals) {
    if (s.Active == 1 && s.Phase == kRed && v.Y - s.Y > 0) red = true;
  }
  return red;
}

// Following and swerving around vehicle n when it is close ahead and slower.
void Follow(Kelto1& g, VehicleUpdate& u, int n, int t) {
  Vehicle& v = g.vehicles.Vehicles[u.i];
  const Vehicle& other = g.vehicles.Vehicles[n];
  if (!OnRoad(v) || v.MaxSpeed == 0) return;
  const int dir = v.Dir;
  const long long gap = static_cast<long long>(v.Y - other.Y) * dir;
  const long long closing = std::llabs(static_cast<long long>(other.Speed) - v.Speed);
  const int across = std::abs(other.X - v.X);
  const bool ahead = other.Active == 1 && n != u.i && 0 < gap && gap < 10 * closing + 200 &&
                     across < (other.Width + v.Width + 4) / 2.0 &&
                     static_cast<long long>(other.Speed) * dir < static_cast<long long>(dir) * v.Speed;
  if (!ahead) return;

  const int go = RedSignalAhead(g, v) ? 0 : 1;
  int change = 0;
  if (static_cast<long long>(other.Speed) * dir > 10 && across < 20 && other.MaxSpeed != 0) change = -4 * dir;
  if (other.MaxSpeed != 0 && other.Speed > 30) {
    change = -4 * dir;
    u.braked = true;
  }
  if (go == 0 && other.MaxSpeed != 0) {
    change = -4 * dir;
    u.braked = true;
  }
  if (go == 1 && other.MaxSpeed == 0) change = 0;  // a parked or wrecked car is passed, not followed
  v.Throttle += change;

  const int side = Sgn(static_cast<long long>(other.X - v.X));
  const int apart = std::abs(other.Y - v.Y);
  if (dir == -1 && apart < 2 * t && static_cast<long long>(other.Speed) * dir < 5) v.SteerVel -= 4 * go * side;
  if (other.MaxSpeed == 0 || (other.Speed < 10 && dir == 1)) {
    v.SteerVel -= 4 * side;
    // Nudged a pixel sideways when nearly stopped behind it, but not while a red light holds it.
    if (apart < 2 * t && v.Speed < 2) v.X -= go * side;
  }
}

void MeetOtherVehicles(Kelto1& g, VehicleUpdate& u) {
  const auto& vehicles = g.vehicles.Vehicles;
  for (int n = 0; n <= 28; ++n) {
    const Vehicle& v = vehicles[u.i];
    // Following needs the other vehicle within (both widths + 4) / 2 sideways, and a
    // contact needs it closer still: most pairs are a lane or more apart and end here.
    if (2 * std::abs(vehicles[n].X - v.X) >= vehicles[n].Width + v.Width + 4) continue;
    const int t = vehicles[n].Y < v.Y ? vehicles[n].Length : v.Length;
    Follow(g, u, n, t);
    traffic_steps::TouchVehicle(g, u.i, n);
  }
}

// A red light stops traffic in the approach zone and holds every car driving up the road
// to about 50 wherever it is; yellow slows traffic near the stop line.
void BrakeForSignals(Kelto1& g, VehicleUpdate& u) {
  Vehicle& v = g.vehicles.Vehicles[u.i];
  for (const Signal& s : g.traffic.Signals) {
    if (s.Active != 1) continue;
    const long long d = static_cast<long long>(v.Y - s.Y) * v.Dir;
    const int lanes = s.CrossLanes;
    if (s.Phase == kRed && ((100 * lanes < d && d < 250 * lanes - 50) || v.Speed > 50)) {
      v.Throttle -= 4 * v.Dir;
      u.braked = true;
      v.SteerVel -= Sgn(static_cast<long long>(v.SteerVel));
    }
    if (s.Phase == kYellow && 250 * lanes - 100 < d && d < 250 * lanes + 100) {
      v.Throttle -= 2 * v.Dir;
      u.braked = true;
    }
  }
}

void DecayControls(Vehicle& v) {
  v.SteerVel -= Sgn(static_cast<long long>(v.SteerVel));
  if (OnRoad(v)) {  // no faster sideways than along
    const long long limit = (static_cast<long long>(v.Speed) + 1) * v.Dir;
    if (v.SteerVel > limit) v.SteerVel = limit;
    if (v.SteerVel < -limit) v.SteerVel = -limit;
  }
  if (v.Throttle != 0) v.Throttle -= Sgn(static_cast<long long>(v.Throttle));
  long long throttle = v.Throttle;
  const double limit = 7 - v.Dir * static_cast<double>(v.Speed) / 30;
  if (v.Dir * throttle > limit) throttle = RoundHalfEven(limit * v.Dir);
  v.Throttle = std::clamp<long long>(throttle, -16, 16);
}

void CarryAccumulators(Vehicle& v) {
  if (v.MaxSpeed != 0) v.SteerAcc += v.SteerVel;  // parked and wrecked cars do not drift
  v.ThrottleAcc += v.Throttle;
  CarryWholeSteps(v);
}

void KeepInBounds(Vehicle& v) {
  if (OnRoad(v)) {
    v.X = std::clamp<int>(v.X, -40, 510);
  } else {
    if (v.X > 610 || v.X < -210) v.Active = 0;  // it has crossed the road
    v.Speed -= Sgn(static_cast<long long>(v.Speed));
    v.SteerVel = std::clamp<int>(v.SteerVel, -180, 180);
  }
  v.Speed = std::clamp<int32_t>(v.Speed, -160, 160);
}

void Move(Kelto1& g, Vehicle& v) {
  DecayControls(v);
  CarryAccumulators(v);
  KeepInBounds(v);
  v.Travel += static_cast<long long>(v.Dir) * v.Speed;
  while (v.Travel >= 20) {
    v.Travel -= 20;
    v.Y -= v.Dir;
  }
  v.Y += g.vehicles.ScrollStep;
  if (v.Y < -992 || v.Y > 1568) v.Active = 0;  // too far ahead or behind
  if (v.Travel < 0) {  // a vehicle never drives backwards
    v.Travel = 0;
    v.Speed = 0;
  }
}

// A lane change waits for the turn signal: the vehicle keeps its lane until the third
// blink and signals until the eighth. Rivals change at once.
void RunTurnSignal(Vehicle& v, uint8_t old_lane) {
  if (v.Lane != old_lane && v.Blinking == 0 && v.Sprite != sprite::kRival) {
    v.BlinkSide = v.Lane > old_lane ? 1 : 0;
    v.NextLane = v.Lane;
    v.Lane = old_lane;
    v.Blinking = 1;
    v.BlinkTimer = 1;
    v.BlinkLit = 1;
    v.BlinkCount = 0;
  }
  if (v.Blinking != 1) return;
  v.BlinkTimer += 1;
  if (v.BlinkTimer <= 40) return;
  v.BlinkTimer = 0;
  v.BlinkCount += 1;
  if (v.BlinkCount == 3) v.Lane = v.NextLane;
  if (v.BlinkCount == 8) v.Blinking = 0;
  v.BlinkLit = v.BlinkLit == 1 ? 0 : 1;
}

void Draw(Kelto1& g, const VehicleUpdate& u, const VehicleLook& look) {
  const Vehicle& v = g.vehicles.Vehicles[u.i];
  const int x = v.X - 16 * v.Crossing;  // a car crossing is three cells wide
  if (v.Sprite == sprite::kMotorbike || v.Sprite == sprite::kThrownRider) {  // one cell wide: centred
    g.QueueSprite(look.sprite, Narrow<int16_t>(x + 16), look.y);
    return;
  }
  g.QueueSprite(look.sprite, Narrow<int16_t>(x), look.y);
  if (look.out_of_view || !OnRoad(v) || v.Dir != 1 || v.HitPoints <= 0) return;
  const int16_t tail = Narrow<int16_t>(v.Y + v.Length);
  if (u.braked) g.QueueSprite(sprite::kBrakeLights, Narrow<int16_t>(v.X + 16), tail);
  if (v.Blinking == 1 && v.BlinkLit == 1) {
    g.QueueSprite(Narrow<uint8_t>(sprite::kLeftArrow + v.BlinkSide), Narrow<int16_t>(v.X + 32 * v.BlinkSide),
                  Narrow<int16_t>(tail - 4));
  }
}

void MoveOne(Kelto1& g, int i) {
  Vehicle& v = g.vehicles.Vehicles[i];
  if (v.Active != 1) {
    // An empty slot keeps its place in the queue with two entries wholly above the view.
    g.QueueSprite(1, 0, -100);
    g.QueueSprite(1, 0, -100);
    return;
  }
  VehicleUpdate u{i, v.X, v.Lane};
  v.HitCooldown = std::max(0, v.HitCooldown - 1);
  traffic_steps::StartDamageCount(g, i);

  LeaveEndingLane(g, v);
  if (v.Dir == -1) v.Lane = 4;
  Steer(g, v);
  if (OnRoad(v)) v.Throttle += 2 * Sgn(static_cast<long long>(v.MaxSpeed - v.Speed));  // cruise control
  if (v.LaneHold > 0) v.LaneHold -= 1;
  MaybeChangeLane(g, i);
  MaybeChangeCruise(g, v);
  MaybeWeave(g, v);
  MeetOtherVehicles(g, u);
  g.CheckVehicleTiles(Narrow<uint8_t>(i), u.old_x);
  traffic_steps::CheckWreck(g, i);
  BrakeForSignals(g, u);
  Move(g, v);

  const VehicleLook look = traffic_steps::LookOf(v);
  traffic_steps::KeepRivalBooks(g, i);
  RunTurnSignal(v, u.old_lane);
  Draw(g, u, look);
  traffic_steps::ReactToTrafficDamage(g, i);
}

}  // namespace

namespace traffic_steps {

// Markers sit on the top or bottom edge, in three colours by distance.
VehicleLook LookOf(const Vehicle& v) {
  VehicleLook look{v.Sprite, v.Y, false};
  const int bottom = v.Y + v.Length;
  if (-330 < bottom && bottom < 0) look = {7, 0, true};
  if (-660 < bottom && bottom < -330) look = {6, 0, true};
  if (bottom < -660) look = {5, 0, true};
  if (kViewHeight < v.Y && v.Y < 906) look = {7, 560, true};
  if (906 < v.Y && v.Y < 1236) look = {6, 560, true};
  if (v.Y > 1236) look = {5, 560, true};
  return look;
}

}  // namespace traffic_steps

void Kelto1::MoveTraffic() {
  for (int i = 1; i <= 28; ++i) MoveOne(*this, i);
}

}  // namespace kelto1
