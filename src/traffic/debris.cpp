// Crash debris clouds: they drift from the point of impact, slow down and grow
// through up to four frames; a wrecked car keeps smoking once the race is lost.
#include "shell/kelto1.h"
#include "vehicles/debris_claim.h"
#include "vehicles/sprite_numbers.h"

namespace kelto1 {

namespace {

constexpr int kEntries = 10;          // entries 0..9 are the ones in play
constexpr int kSubPixels = 32;        // accumulator units per pixel of drift
constexpr int kTicksPerFrame = 10;    // frames each animation frame stays up

// Moves a position by whole pixels once its accumulator passes a pixel either way.
void Carry(Int16& position, Int16& fraction) {
  while (fraction > kSubPixels) {
    position += 1;
    fraction -= kSubPixels;
  }
  while (fraction < -kSubPixels) {
    position -= 1;
    fraction += kSubPixels;
  }
}

void Animate(Kelto1& g, DebrisEntry& e) {
  e.FracX += e.VX;
  e.FracY += e.VY;
  e.VX -= Sgn(static_cast<long long>(e.VX));
  e.VY -= Sgn(static_cast<long long>(e.VY));
  Carry(e.X, e.FracX);
  Carry(e.Y, e.FracY);
  e.Tick += 1;
  if (e.Tick >= kTicksPerFrame) {
    e.Tick = 0;
    e.Frame += 1;
  }
  if (e.Frame >= e.Frames) {
    e.Active = 0;
    return;
  }
  g.QueueSprite(Narrow<uint8_t>(sprite::kFirstCloud + e.Frame), e.X, e.Y);
}

}  // namespace

void Kelto1::AnimateDebris() {
  for (int d = 0; d < kEntries; ++d) {
    DebrisEntry& e = traffic.Debris[d];
    if (e.Active == 1) Animate(*this, e);
  }
}

void Kelto1::SpawnWreckDebris() {
  const Vehicle& p = vehicles.Vehicles[0];
  // The chance is drawn every frame, wrecked or not.
  const double chance = Rnd();
  if (!(Int(chance * 3) == 1 && p.HitPoints <= 0 && shell.RaceOver == 1)) return;

  DebrisEntry* e = ClaimDebris(*this);
  if (!e) return;
  e->X = Int(Rnd() * p.Width) + p.X - 16;
  e->Y = Int(Rnd() * p.Length) + p.Y - 32;
  e->VX = Int(Rnd() * 96) - 48;
  e->VY = Int(Rnd() * 96) - 48;
  e->Frames = 4;  // smoke always shows its full four frames
}

}  // namespace kelto1
