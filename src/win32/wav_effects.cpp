#include "win32/wav_effects.h"

#include "platform/wav_image.h"

namespace kelto1 {

void WavEffects::Play(const std::vector<uint8_t>& image) {
  play_(PlausibleWav(image) ? image.data() : nullptr);
}

}  // namespace kelto1
