// The game's state at the start of a race: the values a race can start from. Taken just
// before the race start, put back into another game object to play the same race again.
// A replay is a file from a stranger, so every value is checked against the range the
// game itself can give it before the first frame; what every race starts alike (the
// tables, the readouts the title screen resets, the pictures) is rebuilt, never read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelto1 {

class Kelto1;

// The values, packed for a replay file of the current format.
std::vector<uint8_t> CaptureRaceStart(const Kelto1& game);
// Puts a captured state into a game that has built its tables and nothing else: the
// game's own title screen rebuilds what every race starts alike, then the file's values
// go in. format_version is the replay file's: files of format 1 held every state struct
// whole, and keep only the same values from it, under the same checks. False, with one
// line in error, when a value is one the game cannot reach; the game is then left
// part-way and must not be played.
bool RestoreRaceStart(Kelto1& game, const std::vector<uint8_t>& bytes, uint32_t format_version,
                      std::string& error);
// The selector's text as a replay may carry it: what typing into the box can give.
bool IsBoxText(const std::string& text);

// A hash over the race state without the pictures, cheap enough for every 100th frame.
uint32_t RaceHash(const Kelto1& game);

}  // namespace kelto1
