// State owned by the sound effects.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "shell/numbers.h"

namespace kelto1 {

struct AudioState {
  std::array<Byte, 14> SoundCooldown;  // frames until each sound may start again
};

// The whole WAV files in memory, each followed by one zero byte. Filled at start-up.
struct SoundBuffers {
  std::array<std::vector<uint8_t>, 14> SoundData;
};

}  // namespace kelto1
