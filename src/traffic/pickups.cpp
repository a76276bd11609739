// Pick-up items riding on traffic: the player touches a label and takes its effect.
#include <algorithm>

#include "shell/readout_text.h"
#include "shell/kelto1.h"
#include "vehicles/sprite_numbers.h"

namespace kelto1 {

namespace {

constexpr int kGoodSound = 3;
constexpr int kBadSound = 4;

// A step of the player's vehicle moved by `change`, kept within lo..hi.
void Adjust(Byte& step, int change, int lo, int hi) { step = std::clamp(step + change, lo, hi); }
void Adjust(Int16& value, int change, int lo, int hi) { value = std::clamp(value + change, lo, hi); }

// The clock lives only as the readout's text; it shows the new value at its next repaint.
void AddTime(Kelto1& g, int units) {
  AddToReadout(g.window[Element::Mtime].text, units);
}

// Six kinds help, the four mirrored labels hurt. Smaller steps mean quicker acceleration,
// harder braking and quicker steering.
void ApplyKind(Kelto1& g, int kind) {
  Vehicle& p = g.vehicles.Vehicles[0];
  switch (kind) {
    case 1:
      p.HitPoints += 100;
      g.ShowHitPoints();
      break;
    case 2: AddTime(g, 100); break;
    case 3: Adjust(p.AccelStep, -2, 10, 255); break;
    case 4: Adjust(p.BrakeStep, -2, 16, 255); break;
    case 5: Adjust(p.SteerStep, -2, 16, 255); break;
    case 6: Adjust(p.MaxSpeed, +4, INT16_MIN, 300); break;
    case 7: Adjust(p.AccelStep, +2, 0, 200); break;
    case 8: Adjust(p.BrakeStep, +2, 0, 200); break;
    case 9: Adjust(p.SteerStep, +2, 0, 200); break;
    case 10: Adjust(p.MaxSpeed, -4, 100, INT16_MAX); break;
    default: break;
  }
}

// The whole 32-pixel label width counts across; along the road the label counts from 24
// pixels above the player's top down to its bottom.
bool TouchesPlayer(const Kelto1& g, int lx, int ly) {
  const Vehicle& p = g.vehicles.Vehicles[0];
  const double left = p.X + (64 - p.Width) / 2.0;
  const double right = left + p.Width;
  const int top = p.Y;
  const int bottom = p.Y + p.Length;
  return lx + 32 > left && lx < right && ly + 24 > top && ly < bottom;
}

}  // namespace

void Kelto1::CollectPickups() {
  for (int k = 0; k <= 5; ++k) {
    Pickup& item = traffic.Pickups[k];
    if (item.Active != 1) continue;
    const Vehicle& carrier = vehicles.Vehicles[item.Carrier];
    const int lx = carrier.X + item.OffX;
    const int ly = carrier.Y + item.OffY;
    // The touch comes before the carrier check: an item is still taken in the frame its
    // carrier leaves the road.
    if (TouchesPlayer(*this, lx, ly)) {
      PlaySound(item.Kind <= 6 ? kGoodSound : kBadSound);
      ApplyKind(*this, item.Kind);
      item.Active = 0;
    }
    if (carrier.Active == 0) item.Active = 0;
    // Drawn once more in the frame it is taken or dropped.
    QueueSprite(Narrow<uint8_t>(sprite::kFirstLabel + item.Kind), Narrow<int16_t>(lx), Narrow<int16_t>(ly));
  }
}

}  // namespace kelto1
