// State owned by the vehicles: every vehicle record, the player's scroll counters, the
// collision factors and the sprite tables with the per-frame draw queue.
#pragma once

#include <array>

#include "shell/numbers.h"

namespace kelto1 {

// One vehicle: record 0 is the player, 1..28 are traffic slots.
struct Vehicle {
  Byte Active;
  Byte Blinking;
  Byte BlinkTimer;
  Byte BlinkSide;
  Byte BlinkCount;
  Byte BlinkLit;
  Byte NextLane;
  Int32 Speed;
  Int16 MaxSpeed;
  Int16 Travel;
  Byte AccelStep;
  Byte BrakeStep;
  Byte SteerStep;
  Int16 ChangeOdds;
  Byte Lane;
  Int16 LaneHold;
  Byte Crossing;
  Int16 Width;
  Int16 Mass;
  Int16 Length;
  Int32 HitPoints;
  Int16 Dir;
  Int16 LaneShift;
  Byte WeaveRange;
  Int16 OffsetX;
  Int16 WeaveOdds;
  Byte Sprite;
  Int16 HitCooldown;
  Byte IsRival;
  Byte RivalNo;
  Int16 X;
  Int16 Y;
  Int16 SteerAcc;
  Int16 ThrottleAcc;
  Int16 SteerVel;
  Int16 Throttle;
};

struct VehicleState {
  std::array<Vehicle, 29> Vehicles;
  Byte ScrollStep;   // pixels the road moved in this frame
  Byte ScrollSub;    // 0..31: the view's offset within the current tile row
  Int16 DamageTaken;
  Int16 PrevPlayerX;
  float MassRatio = 0;
  float KeepSelf = 0;
  float KeepOther = 0;

  std::array<Int16, 120> SpriteSize;      // width, height in cells of each sprite
  std::array<Int16, 251> SpriteCells;     // the cells of all sprites, one after another
  std::array<Int16, 60> SpriteFirstCell;  // where each sprite's cells begin
  std::array<Int16, 766> SpriteQueue;     // count at 0, then (sprite, x, y) per entry
  Int16 FillIndex;
};

}  // namespace kelto1
