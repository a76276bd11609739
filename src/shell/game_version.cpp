// The version number comes from the one place the build keeps it.
#include "shell/game_version.h"

#include "kelto1_version.h"

namespace kelto1 {

const char* GameVersion() { return KELTO1_VERSION; }

}  // namespace kelto1
