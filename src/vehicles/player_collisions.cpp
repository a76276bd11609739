// The player against traffic, and the damage reaction of a frame.
#include <cmath>
#include <cstdlib>

#include "shell/kelto1.h"
#include "vehicles/debris_claim.h"
#include "vehicles/sprite_numbers.h"
#include "vehicles/contact_sides.h"

namespace kelto1 {

namespace {

constexpr int kHitCooldown = 6;

bool Overlaps(const Vehicle& p, const Vehicle& v) {
  const int lim = v.Y < p.Y ? v.Length : p.Length;  // the length of the higher vehicle
  const float half_widths = static_cast<float>(v.Width + p.Width) / 2.0f;
  return static_cast<float>(std::abs(v.X - p.X)) < half_widths && std::abs(v.Y - p.Y) < lim &&
         v.Active == 1 && v.Sprite != sprite::kThrownRider;
}

// The cloud starts between the two, with the player's motion.
void StartContactDebris(Kelto1& g, const Vehicle& p, const Vehicle& v) {
  DebrisEntry* e = ClaimDebris(g);
  if (!e) return;
  e->X = RoundHalfEven((v.X + p.X) / 2.0);
  e->Y = RoundHalfEven((v.Y + p.Y) / 2.0);
  e->VX = p.SteerVel;
  e->VY = p.Throttle;
}

// The heavier the other vehicle, the more of its motion the player takes over and
// the less of the player's it takes; a quotient of 0 counts as equal masses. Kept apart
// from traffic's SetMassCoefficients: the player's contact divides in single precision
// and replaces a quotient of 0 first, and races depend on both differences.
void WeighMasses(VehicleState& s, const Vehicle& p, const Vehicle& v) {
  s.MassRatio = static_cast<float>(v.Mass) / static_cast<float>(p.Mass);
  if (s.MassRatio == 0.0f) s.MassRatio = 1.0f;
  const double inverse = 1.0f / s.MassRatio;
  const double ratio = s.MassRatio;
  s.KeepSelf = static_cast<float>(1 - inverse * inverse / 20);
  if (s.KeepSelf < 0.0f) s.KeepSelf = 0.0f;
  s.KeepOther = static_cast<float>(1 - ratio * ratio / 20);
  if (s.KeepOther < 0.0f) s.KeepOther = 0.0f;
}

// The lighter of the two takes the larger share of the damage.
void ShareDamage(const VehicleState& s, Vehicle& p, Vehicle& v, long long d) {
  const double ratio = s.MassRatio;
  p.HitPoints = RoundHalfEven(p.HitPoints - ratio * static_cast<double>(d));
  v.HitPoints = RoundHalfEven(v.HitPoints - static_cast<double>(d) / ratio);
}

// Side by side: the steering velocities are exchanged, weighted by the masses.
void SideContact(const VehicleState& s, Vehicle& p, Vehicle& v) {
  const long long closing = static_cast<long long>(v.SteerVel - p.SteerVel) * (v.X - p.X);
  if (closing >= 0) return;
  const double gap = std::abs(v.SteerVel - p.SteerVel);
  ShareDamage(s, p, v, Int(gap * gap / 1000));
  const int old = p.SteerVel;
  p.SteerVel = RoundHalfEven(v.SteerVel * static_cast<double>(s.KeepSelf));
  v.SteerVel = RoundHalfEven(old * static_cast<double>(s.KeepOther));
  p.SteerVel -= 2 * Sgn(static_cast<long long>(v.X - p.X));
}

// Nose to tail: the speeds are exchanged; an oncoming car stops the player dead.
void EndOnContact(const VehicleState& s, Vehicle& p, Vehicle& v) {
  const long long closing = (static_cast<long long>(v.Speed) - p.Speed) * (v.Y - p.Y);
  if (closing <= 0) return;
  const long long old = p.Speed;
  p.Speed = RoundHalfEven(static_cast<double>(s.KeepSelf) * (static_cast<double>(v.Speed) - p.Speed) + p.Speed);
  v.Speed = RoundHalfEven(static_cast<double>(s.KeepOther) * (static_cast<double>(old) - v.Speed) + v.Speed);
  p.Throttle -= 2 * Sgn(static_cast<long long>(v.Y - p.Y));
  const double gap = std::fabs(static_cast<double>(v.Speed) - p.Speed);
  ShareDamage(s, p, v, Int(gap * gap / 100));
  if (v.Dir == -1) {
    p.SteerVel -= 2 * Sgn(static_cast<long long>(v.X - p.X));
    p.Speed = 1;
  }
}

void Collide(Kelto1& g, Vehicle& p, Vehicle& v) {
  if (!Overlaps(p, v)) return;
  StartContactDebris(g, p, v);
  VehicleState& s = g.vehicles;
  WeighMasses(s, p, v);
  if (MeetSideBySide(p, v)) {
    SideContact(s, p, v);
  } else {
    EndOnContact(s, p, v);
  }
}

// Every entry gets the length, so the clouds this frame started become visible.
void SetDebrisLength(Kelto1& g, uint8_t frames) {
  for (int d = 0; d <= 9; ++d) g.traffic.Debris[d].Frames = frames;
}

}  // namespace

void Kelto1::CollideWithTraffic() {
  Vehicle& p = vehicles.Vehicles[0];
  for (int j = 1; j <= 28; ++j) Collide(*this, p, vehicles.Vehicles[j]);
}

void Kelto1::ReactToDamage() {
  Vehicle& p = vehicles.Vehicles[0];
  // Only the frame's damage is held in 16 bits, and a count beyond them stops at their ends.
  vehicles.DamageTaken =
      Saturate16(static_cast<long long>(PlayerHitPointsAtStart) - static_cast<long long>(p.HitPoints));
  if (vehicles.DamageTaken != 0) {
    if (p.HitPoints < 0 && shell.RaceOver == 0) shell.RaceOver = 1;
    ShowHitPoints();
  }
  if (p.HitCooldown != 0) return;
  const int damage = vehicles.DamageTaken;
  if (damage <= 1) return;  // a scrape of one point, or a gain, makes no noise
  if (damage <= 7) {
    SetDebrisLength(*this, 3);
    PlaySound(0);
  } else if (damage <= 49) {
    SetDebrisLength(*this, 4);
    PlaySound(1);
  } else {
    SetDebrisLength(*this, 4);
    PlaySound(2);
  }
  p.HitCooldown = kHitCooldown;
}

}  // namespace kelto1
