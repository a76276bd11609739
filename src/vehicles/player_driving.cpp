// The player's driving: controls, dynamics, scrolling and the speed readout.
#include <algorithm>
#include <string>

#include "shell/kelto1.h"
#include "vehicles/carries.h"

namespace kelto1 {

namespace {

constexpr int kTravelPerPixel = 20;
constexpr int kRowPixels = 32;
constexpr int kMinX = -40;
constexpr int kMaxX = 500;
constexpr int kThrottleFloor = -32;

struct Controls {
  bool left = false;
  bool right = false;
  bool accelerate = false;
  bool brake = false;
};

// The joystick has the first word; the keys answer only when it says nothing.
Controls ReadControls(Kelto1& g) {
  Controls c;
  int16_t steer = g.ReadJoystickSteer();
  if (steer == dir::kNone) steer = g.ReadSteerKeys();
  c.left = steer == dir::kLeft;
  c.right = steer == dir::kRight;
  int16_t pedal = g.ReadJoystickPedals();
  if (pedal == dir::kNone) pedal = g.ReadPedalKeys();
  c.accelerate = pedal == dir::kAccelerate;
  c.brake = pedal == dir::kBrake;
  return c;
}

void ApplyControls(Vehicle& p, const Controls& c) {
  if (c.left) p.SteerVel -= 2;
  if (c.right) p.SteerVel += 2;
  if (c.accelerate) p.Throttle += 2;
  if (c.brake) p.Throttle -= 2;
}

// A standing car may still creep sideways at 1; faster cars steer harder.
void DecaySteering(Vehicle& p) {
  p.SteerVel -= Sgn(static_cast<long long>(p.SteerVel));
  if (p.SteerVel > p.Speed) p.SteerVel = p.Speed + 1;
  if (p.SteerVel < -p.Speed) p.SteerVel = -(p.Speed + 1);
}

// The faster the car, the less throttle the engine has left to give. A crash into a
// vehicle that was itself knocked backwards can leave the car's speed below 0 here; the
// engine then gives what it gives at a standstill, never more than 10.
void DecayThrottle(Vehicle& p, bool brake) {
  p.Throttle -= Sgn(static_cast<long long>(p.Throttle));
  const double limit = 10 - std::max<int32_t>(p.Speed, 0) / 30.0;
  if (limit < p.Throttle) p.Throttle = RoundHalfEven(limit);
  if (p.Throttle < kThrottleFloor) p.Throttle = kThrottleFloor;
  if (!brake && p.Throttle < 0) p.Throttle = 0;
}

// The accumulators carry only once they pass their thresholds; a threshold of 0
// (a record no race has set up) carries nothing rather than spinning for ever.
// The player's car always drifts with its steering, and stays inside the road's sides
// and under its top speed (traffic is kept in bounds by its own rules).
void CarryAccumulators(Vehicle& p) {
  p.SteerAcc += p.SteerVel;
  p.ThrottleAcc += p.Throttle;
  CarryWholeSteps(p);
  if (p.X > kMaxX) p.X = kMaxX;
  if (p.X < kMinX) p.X = kMinX;
  if (p.Speed > p.MaxSpeed) p.Speed = p.MaxSpeed;
}

// One new tile row per frame at most: no car is fast enough to need two.
void ScrollRoad(Kelto1& g, Vehicle& p) {
  VehicleState& v = g.vehicles;
  p.Travel += p.Speed;
  while (p.Travel >= kTravelPerPixel) {
    p.Travel -= kTravelPerPixel;
    v.ScrollSub += 1;
    v.ScrollStep += 1;
  }
  if (v.ScrollSub >= kRowPixels) {
    g.ScrollCourse();
    v.ScrollSub -= kRowPixels;
  }
  // Braking at a standstill must not roll the road backwards.
  if (p.Travel < 0) {
    p.Travel = 0;
    p.Speed = 0;
  }
  if (p.Speed < 0) p.Speed = 0;
}

// The product is taken as it comes out in binary, so 45 reads 62, not 63.
void ShowSpeed(Kelto1& g, const Vehicle& p) {
  g.window[Element::Text1].text = std::to_string(Int(p.Speed * 1.4));
  g.Repaint(Element::Text1);
}

// The highest of lanes 1..3 whose line lies less than 30 pixels right of the centre.
void FindLane(const CourseState& course, Vehicle& p) {
  for (int i = 1; i <= 3; ++i) {
    if (course.Lanes[i].X - (p.X + 32) < 30) p.Lane = i;
  }
}

}  // namespace

void Kelto1::DrivePlayer() {
  Vehicle& p = vehicles.Vehicles[0];
  vehicles.ScrollStep = 0;
  if (shell.RaceOver == 1 && shell.EndFrames == 400) GameOver();
  p.HitCooldown -= 1;
  if (p.HitCooldown < 0) p.HitCooldown = 0;
  // The condition at the start of the frame, in full: FUEL pick-ups may take it past
  // what the 16-bit damage count holds.
  PlayerHitPointsAtStart = p.HitPoints;
  vehicles.DamageTaken = Saturate16(p.HitPoints);

  Controls controls = ReadControls(*this);
  // Contacts work on last frame's velocities, before this frame's input.
  CollideWithTraffic();
  if (shell.RaceOver == 1) {
    // A decided race brakes the car to a stop, whatever the controls say.
    controls.accelerate = false;
    controls.brake = true;
  }
  ApplyControls(p, controls);
  DecaySteering(p);
  if (after_steering_) after_steering_(*this);
  DecayThrottle(p, controls.brake);

  vehicles.PrevPlayerX = p.X;
  CheckPlayerTiles();
  CarryAccumulators(p);
  ScrollRoad(*this, p);
  ShowSpeed(*this, p);
  FindLane(course, p);
  ReactToDamage();
}

}  // namespace kelto1
