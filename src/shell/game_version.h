// The game's version, as its build names it ("1.5.0"): printed by --version and written
// into every replay.
#pragma once

namespace kelto1 {

const char* GameVersion();

}  // namespace kelto1
