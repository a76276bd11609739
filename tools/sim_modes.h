// The runner's other modes: the random-input soak, the frame-cost benchmark and the road
// rows laid from a plan (for the road preview).
#pragma once

#include <cstdint>
#include <iosfwd>

namespace kelto1 {

// Plays `frames` race frames with random driving, a new race whenever one ends; with
// `check`, verifies the game's ranges after every frame. Returns the exit code.
int RunSoak(uint64_t seed, long frames, bool check);
// Times whole frames of a busy race against the bare road copy and prints the figures.
int RunBench(long frames);
// Lays the road a plan asks for, as the scroller lays it, and prints its tile rows, one
// line of 16 tile numbers per row, the first laid first. Plan lines:
//   section S [TIMES]                the patterns of section S, as the course expands it
//   decoration ROW MODE ROWS [PHASE] decoration MODE (3..12) for ROWS rows
//   building ROW KIND                building KIND (1 or 2)
//   bushes                           the central reserve gets its bushes
// Scenery starts at the first row at or after ROW (0 = the first laid) where the game
// would let it start. Returns the exit code (2 and one line on stderr for a bad plan).
int RunRoadRows(std::istream& plan);

}  // namespace kelto1
