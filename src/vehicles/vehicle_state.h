// State owned by the vehicles: every vehicle record, the player's scroll counters, the
// collision factors and the sprite tables with the per-frame draw queue.
#pragma once

#include <array>

#include "shell/numbers.h"

namespace kelto1 {

// One vehicle: record 0 is the player, 1..28 are traffic slots.
struct Vehicle {
  Byte Active;  // 1: the record is in use (moved, drawn, collided with); 0: free
  Byte Blinking;  // traffic: its turn signal is running
  Byte BlinkTimer;  // traffic: frames since the signal last toggled
  Byte BlinkSide;  // traffic: 0 left arrow, 1 right arrow
  Byte BlinkCount;  // traffic: toggles so far
  Byte BlinkLit;  // traffic: 1 while the arrow shows
  Byte NextLane;  // traffic: the lane it moves to at the third toggle
  Int32 Speed;  // forward speed units; oncoming traffic negative
  Int16 MaxSpeed;  // player: top speed; traffic: cruise speed
  Int16 Travel;  // distance not yet scrolled (player: 0..19 between frames)
  Byte AccelStep;  // ThrottleAcc above it: Speed + 1 (smaller: quicker)
  Byte BrakeStep;  // ThrottleAcc below minus it: Speed - 1 (smaller: harder)
  Byte SteerStep;  // SteerAcc past plus or minus it: X moves 1 pixel
  Int16 ChangeOdds;  // traffic: chance of a lane or cruise change
  Byte Lane;  // lane 1..4 (the player's 1..3)
  Int16 LaneHold;  // traffic: frames before another lane change
  Byte Crossing;  // traffic: 1 for cross traffic at a signalled crossing
  Int16 Width;  // collision width in pixels, centred on X + 32
  Int16 Mass;  // weight in contacts between vehicles
  Int16 Length;  // collision length in pixels, down from Y
  Int32 HitPoints;  // condition (the player's shows in HitP); run out, the vehicle is wrecked
  Int16 Dir;  // +1 up the road like the player, -1 oncoming
  Int16 LaneShift;  // traffic: extra sideways offset on its lane
  Byte WeaveRange;  // traffic: how far it weaves
  Int16 OffsetX;  // player: sprite offset (16 for a one-cell sprite); traffic: weave offset
  Int16 WeaveOdds;  // traffic: chance of a new weave offset
  Byte Sprite;  // the sprite it is drawn with
  Int16 HitCooldown;  // frames in which a new hit makes no new damage reaction
  Byte IsRival;  // 1 for one of the 29 rivals
  Byte RivalNo;  // which rival, 1..29
  Int16 X;  // left edge of its 64-pixel sprite column (centre line X + 32)
  Int16 Y;  // its top edge
  Int16 SteerAcc;  // the part of X not yet a whole pixel
  Int16 ThrottleAcc;  // the part of Speed not yet a whole unit
  Int16 SteerVel;  // added to SteerAcc each frame; positive to the right
  Int16 Throttle;  // added to ThrottleAcc each frame; negative brakes
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
