// The game's state at the start of a race: everything a race carries over from before
// it. Taken just before the race start, put back into another game object to play the
// same race again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelto1 {

class Kelto1;

// The state, packed. The state structs are stored as their difference from a game that
// has only built its tables, so the tables cost nothing; pictures as runs of colour.
std::vector<uint8_t> CaptureRaceStart(const Kelto1& game);
// Puts a captured state into a game that has built its tables. False, with one line in
// error, when the bytes do not fit this game; the game is then left part-way.
bool RestoreRaceStart(Kelto1& game, const std::vector<uint8_t>& bytes, std::string& error);

// A hash over the race state without the pictures, cheap enough for every 100th frame.
uint32_t RaceHash(const Kelto1& game);

}  // namespace kelto1
