// State owned by the traffic and the roadside: signals, rivals, pick-ups and debris.
#pragma once

#include <array>

#include "shell/numbers.h"

namespace kelto1 {

struct Signal {
  Byte Active;
  Int16 Y;
  Byte CrossLanes;  // 2 or 3
  Byte Phase;       // 1 red, 2 green, 3 yellow
  Int16 Count;      // frames left in the phase
};

// A rival while it races off the road; record a - 1 is rival a.
struct Rival {
  Byte OnRoad;
  Byte Slot;  // the traffic slot it was last placed in; never read back, kept in the hashed state
  Byte Ahead;
  Int32 Pos;
  Int16 Speed;
  Int16 Travel;
};

struct Pickup {
  Byte Active;
  Byte Carrier;
  Int16 OffX;
  Int16 OffY;
  Byte Kind;  // 1..10
};

struct DebrisEntry {
  Byte Active;
  Int16 X;
  Int16 Y;
  Int16 FracX;
  Int16 FracY;
  Int16 VX;
  Int16 VY;
  Byte Frame;
  Byte Tick;
  Byte Frames;
};

struct TrafficState {
  std::array<Signal, 3> Signals;
  std::array<Rival, 30> Rivals;
  std::array<Pickup, 6> Pickups;
  std::array<DebrisEntry, 16> Debris;  // 0..9 used
};

}  // namespace kelto1
