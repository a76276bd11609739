// State owned by the course: the tables built at start-up, the road scroller's position,
// the lanes, the section traffic parameters and the tile grid of the laid road.
#pragma once

#include <array>

#include "shell/numbers.h"

namespace kelto1 {

// A lane line and the stretch of road where the lane exists (Top < y < Bottom).
struct Lane {
  Int16 Top;
  Int16 Bottom;
  Byte TopMoving;
  Byte BottomMoving;
  Int16 X;
};

struct CourseState {
  // Tables, filled once at start-up.
  std::array<std::array<Byte, 256>, 32> PatternRows;   // (byte 0..31, pattern 0..255)
  std::array<std::array<Byte, 101>, 18> SectionRows;   // (position 0..17, section 0..100)
  std::array<std::array<Byte, 2>, 1001> CourseSteps;   // (step 0..1000, section / repeats)
  std::array<Byte, 10001> CourseSeq;                   // the expanded course
  Int16 CourseLength;
  Int16 StepCount;
  Int16 LoadRow;
  std::array<Byte, 128> TileAttr;
  std::array<Int16, 13> SceneryTiles;

  // The road scroller.
  Int16 CoursePos;
  Byte RowHalf;
  Byte PlaceIndex;
  Byte PlaceSteps;
  Byte RoadWidth;
  std::array<Lane, 6> Lanes;  // 1..4 used
  Byte Kind1Limit;  // up-the-road traffic comes only while fewer than this are on the road
  Int16 Kind1Odds;  // about 1 in this many frames: traffic driving up the road
  Int16 Kind2Odds;  // about 1 in this many frames: oncoming traffic
  Int16 Kind3Odds;  // about 1 in this many frames: a parked car
  Int16 SignalOdds;
  Int16 PickupOdds;
  Byte TrafficKinds;
  Int16 SceneryMode;
  Int16 SceneryTimer;
  Int16 SceneryPhase;
  Int16 SlotFound;  // scratch of every first-free-record search

  std::array<std::array<Byte, 37>, 17> TileGrid;  // (column 0..16, row 0..36)
};

}  // namespace kelto1
