// A first look at a Standard MIDI File before the synthesizer sees it: the header, every
// track chunk inside the file, and every event of every track well formed and ended. A
// damaged tune is refused here, once, instead of failing inside the player every time
// it is started.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelto1 {

// True when the file reads as a whole MIDI file; otherwise false, with a short reason
// ("no MIDI header", "track 2 ends early", ...) in why.
bool PlausibleMidi(const std::vector<uint8_t>& file, std::string* why = nullptr);

}  // namespace kelto1
