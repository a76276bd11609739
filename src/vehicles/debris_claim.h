// Claiming a debris entry: every crash that throws up a cloud takes the first free
// entry of 0..9, or none when all ten are animating.
#pragma once

#include "shell/free_record.h"
#include "shell/kelto1.h"

namespace kelto1 {

// Returns the claimed entry, already active at its first frame with no length yet
// (a damage reaction gives it one), or nullptr. SlotFound says which it was.
inline DebrisEntry* ClaimDebris(Kelto1& g) {
  const int k = ClaimFreeRecord(g, g.traffic.Debris, 0, 9);
  if (k < 0) return nullptr;
  DebrisEntry& e = g.traffic.Debris[k];
  e.Active = 1;
  e.Frame = 0;
  e.Tick = 0;
  e.Frames = 0;
  return &e;
}

}  // namespace kelto1
