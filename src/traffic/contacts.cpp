// Consequences within one traffic vehicle's update: contacts between traffic vehicles,
// wrecks, the rivals' passing and the rank, and the damage reaction.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "shell/readout_text.h"
#include "traffic/traffic_steps.h"
#include "vehicles/contact_sides.h"
#include "vehicles/debris_claim.h"
#include "vehicles/sprite_numbers.h"

namespace kelto1::traffic_steps {

namespace {

constexpr int kPassSound = 5;    // the player passes a rival
constexpr int kPassedSound = 4;  // a rival passes the player

// A cloud where the two met, moving the way the vehicle was moving. It starts without
// frames: only a damage reaction in this frame makes it visible.
void StartContactDebris(Kelto1& g, const Vehicle& v, const Vehicle& other) {
  DebrisEntry* d = ClaimDebris(g);
  if (!d) return;
  d->X = Narrow<int16_t>(RoundHalfEven((other.X + v.X) / 2.0));
  d->Y = Narrow<int16_t>(RoundHalfEven((other.Y + v.Y) / 2.0));
  d->VX = v.SteerVel;
  d->VY = v.Throttle;
}

// The coefficients are held in single precision (equal masses keep 0.95 as a float, a
// little below 0.95) and used in double precision products. Not the player's WeighMasses:
// traffic divides in double precision and replaces a quotient of 0 only after the
// coefficients are worked out, and races depend on both differences.
void SetMassCoefficients(Kelto1& g, const Vehicle& v, const Vehicle& other) {
  VehicleState& s = g.vehicles;
  s.MassRatio = static_cast<float>(static_cast<double>(other.Mass) / v.Mass);
  const double ratio = s.MassRatio;
  s.KeepSelf = static_cast<float>(std::max(0.0, 1.0 - std::pow(1.0 / ratio, 2) / 20.0));
  s.KeepOther = static_cast<float>(std::max(0.0, 1.0 - ratio * ratio / 20.0));
  if (s.MassRatio == 0) s.MassRatio = 1;
}

// The lighter vehicle takes the larger share of the base damage d.
void ShareDamage(Kelto1& g, Vehicle& v, Vehicle& other, long long d) {
  const double ratio = g.vehicles.MassRatio;
  v.HitPoints = Narrow<int32_t>(RoundHalfEven(v.HitPoints - d * ratio));
  other.HitPoints = Narrow<int32_t>(RoundHalfEven(other.HitPoints - d / ratio));
}

void SideContact(Kelto1& g, Vehicle& v, Vehicle& other) {
  if ((other.X - v.X) * (other.SteerVel - v.SteerVel) >= 0) return;  // moving apart
  const long long closing = other.SteerVel - v.SteerVel;
  ShareDamage(g, v, other, Int(closing * closing / 1000.0));
  const int s = v.SteerVel;
  v.SteerVel = Narrow<int16_t>(RoundHalfEven(other.SteerVel * static_cast<double>(g.vehicles.KeepSelf)));
  other.SteerVel = Narrow<int16_t>(RoundHalfEven(static_cast<double>(g.vehicles.KeepOther) * s));
  v.SteerVel -= 2 * Sgn(static_cast<long long>(other.X - v.X));
}

void EndOnContact(Kelto1& g, Vehicle& v, Vehicle& other) {
  const long long closing = static_cast<long long>(other.Speed) - v.Speed;
  if ((other.Y - v.Y) * closing <= 0) return;  // not closing along the road
  ShareDamage(g, v, other, Int(static_cast<double>(closing * closing) / 100.0));
  const long long s = v.Speed;
  v.Speed = Narrow<int32_t>(RoundHalfEven(static_cast<double>(g.vehicles.KeepSelf) * closing + s));
  other.Speed = Narrow<int32_t>(
      RoundHalfEven(static_cast<double>(g.vehicles.KeepOther) * (s - other.Speed) + other.Speed));
  v.Throttle -= 2 * Sgn(static_cast<long long>(other.Y - v.Y));
}

// The rank lives only as the readout's text; it moves by whole steps.
void ChangeRank(Kelto1& g, int step) {
  AddToReadout(g.window[Element::Rank].text, step);
  g.Repaint(Element::Rank);
}

}  // namespace

void StartDamageCount(Kelto1& g, int i) {
  g.vehicles.DamageTaken = Saturate16(g.vehicles.Vehicles[i].HitPoints);
}

void TouchVehicle(Kelto1& g, int i, int n) {
  Vehicle& v = g.vehicles.Vehicles[i];
  if (v.Sprite == sprite::kThrownRider || n == 0) return;
  Vehicle& other = g.vehicles.Vehicles[n];
  if (other.Active != 1 || n == i || !Overlapping(v, other)) return;
  StartContactDebris(g, v, other);
  SetMassCoefficients(g, v, other);
  if (MeetSideBySide(v, other)) {
    SideContact(g, v, other);
  } else {
    EndOnContact(g, v, other);
  }
}

void CheckWreck(Kelto1& g, int i) {
  Vehicle& v = g.vehicles.Vehicles[i];
  if (v.HitPoints >= 0) return;
  v.HitPoints = 0;
  v.MaxSpeed = 0;
  if (v.Sprite == sprite::kMotorbike) v.Sprite = sprite::kThrownRider;
}

void KeepRivalBooks(Kelto1& g, int i) {
  const Vehicle& v = g.vehicles.Vehicles[i];
  if (v.IsRival != 1) return;
  Rival& r = g.traffic.Rivals[v.RivalNo - 1];
  const int player_y = g.vehicles.Vehicles[0].Y;
  if (r.OnRoad == 1 && v.Active == 1 && r.Ahead == 1 && player_y < v.Y) {
    ChangeRank(g, -1);
    r.Ahead = 0;
    g.PlaySound(kPassSound);
  }
  if (r.OnRoad == 1 && v.Active == 1 && r.Ahead == 0 && player_y > v.Y) {
    ChangeRank(g, +1);
    r.Ahead = 1;
    g.PlaySound(kPassedSound);
  }
  if (r.OnRoad == 1 && v.Active == 0) {
    // Off the road again, just ahead of or just behind the player's place on the course.
    r.OnRoad = 0;
    r.Pos = v.Y < 0 ? g.course.CoursePos + 1 : g.course.CoursePos - 1;
  }
}

void ReactToTrafficDamage(Kelto1& g, int i) {
  Vehicle& v = g.vehicles.Vehicles[i];
  g.vehicles.DamageTaken = Saturate16(static_cast<long long>(g.vehicles.DamageTaken) - v.HitPoints);
  const int damage = g.vehicles.DamageTaken;
  if (v.HitCooldown != 0 || damage <= 1) return;
  const uint8_t frames = damage < 8 ? 3 : 4;
  for (int k = 0; k <= 9; ++k) g.traffic.Debris[k].Frames = frames;
  v.HitCooldown = 6;
}

}  // namespace kelto1::traffic_steps
