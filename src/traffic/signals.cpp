// Traffic signals: the red, green and yellow cycle, the signal heads at the top of the
// view, and the cross traffic a red signal sends over the road.
#include <algorithm>
#include <cstdlib>

#include "traffic/traffic_steps.h"
#include "vehicles/sprite_numbers.h"

namespace kelto1 {

namespace {

constexpr int kRed = 1;
constexpr int kGreen = 2;
constexpr int16_t kCrossSpeedCap = 180;

// Frames the phase after the ending one lasts (one more than this, counted down to -1).
// Red is longer where the crossing road is wider; green takes what red leaves of 2000.
int NextPhaseLength(const Signal& s) {
  if (s.Phase == kRed) return (5 - s.CrossLanes) * 500;
  if (s.Phase == kGreen) return 200;
  return s.CrossLanes * 500;
}

void AdvancePhase(Signal& s) {
  s.Count -= 1;
  if (s.Count >= 0) return;
  s.Count = NextPhaseLength(s);
  s.Phase += 1;
  if (s.Phase >= 4) s.Phase = kRed;
}

// Cross traffic waits until red has lasted 50 frames and stops 100 frames before green.
bool SendsCrossTraffic(const Kelto1& g, const Signal& s, double r) {
  return Int(r * g.course.SignalOdds) == 1 && s.Count < s.CrossLanes * 500 - 50 && s.Phase == kRed &&
         s.Count > 100;
}

// A car seen broadside, on the crossing road's reference line at the left edge; the
// random fields are drawn in the order they are filled.
void FillCrossVehicle(Kelto1& g, Vehicle& v, const Signal& s) {
  v.Crossing = 1;
  v.AccelStep = 48;
  v.BrakeStep = 32;
  v.SteerStep = 48;
  v.Active = 1;
  v.X = -200;
  v.Y = Narrow<int16_t>(s.Y - 64);
  v.SteerAcc = 0;
  v.ThrottleAcc = 0;
  v.Throttle = 0;
  // Cars sent late in the red phase start faster: they have less time to cross.
  v.SteerVel = Narrow<int16_t>(std::min<long long>(RoundHalfEven(std::abs(1000 - s.Count) / 5.0 + 10), kCrossSpeedCap));
  v.IsRival = 0;
  v.Width = 92;
  v.Length = 51;
  v.LaneHold = 0;
  v.WeaveRange = Int(g.Rnd() * 10);
  v.OffsetX = 0;
  v.WeaveOdds = Int(g.Rnd() * 100);
  v.Dir = 1;
  v.HitPoints = 1000;
  v.Mass = 1000;
  v.LaneShift = 0;
  v.ChangeOdds = Int(g.Rnd() * 1000) + 200;
  v.MaxSpeed = Int(g.Rnd() * 20) + 160;
  v.Speed = 0;
  v.Sprite = Int(g.Rnd() * 3) * 2 + 32;
}

// The crossing road's lanes lie 96 pixels apart: traffic going right above the
// reference line, traffic going left below it.
void ChooseCrossLane(Kelto1& g, Vehicle& v, const Signal& s) {
  const bool from_right = Int(g.Rnd() * 2) == 0;
  const int j = Int(s.CrossLanes * g.Rnd());
  if (!from_right) {
    v.Y = Narrow<int16_t>(s.Y - 64 - 96 * j);
    return;
  }
  v.Y = Narrow<int16_t>(s.Y + 32 + 96 * j);
  v.X = 600;
  v.MaxSpeed = Narrow<int16_t>(-v.MaxSpeed);
  v.SteerVel = Narrow<int16_t>(-v.SteerVel);
  v.Sprite += 1;
}

void SendCrossVehicle(Kelto1& g, const Signal& s) {
  auto& vehicles = g.vehicles.Vehicles;
  const int i = ClaimFreeRecord(g, vehicles, 1, 28);
  if (i < 0) return;
  Vehicle& v = vehicles[i];
  FillCrossVehicle(g, v, s);
  ChooseCrossLane(g, v, s);
  // A car that would appear on top of another one is not sent; its slot stays free.
  for (int n = 0; n <= 28; ++n) {
    if (n != i && vehicles[n].Active == 1 && traffic_steps::Overlapping(v, vehicles[n])) v.Active = 0;
  }
}

}  // namespace

namespace traffic_steps {

int16_t SignalHeadY(int16_t y) {
  if (y >= 0) return y;
  return Narrow<int16_t>(RoundHalfEven((y + 1984) / 1984.0 * 32 - 32));
}

}  // namespace traffic_steps

void Kelto1::UpdateSignals() {
  for (int k = 0; k <= 2; ++k) {
    Signal& s = traffic.Signals[k];
    if (s.Active != 1) continue;
    AdvancePhase(s);
    s.Y += vehicles.ScrollStep;
    QueueSprite(Narrow<uint8_t>(sprite::kFirstSignalHead + s.Phase), Narrow<int16_t>(64 * k),
                traffic_steps::SignalHeadY(s.Y));
    const double r = Rnd();  // drawn every frame, whatever the phase
    if (SendsCrossTraffic(*this, s, r)) SendCrossVehicle(*this, s);
  }
}

}  // namespace kelto1
