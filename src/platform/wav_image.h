// A first look at a WAV image before any decoder sees it: only plain PCM files whose
// every chunk lies inside the image are passed on. A damaged file stays silent instead
// of asking the decoder for gigabytes.
#pragma once

#include <cstdint>
#include <vector>

namespace kelto1 {

bool PlausibleWav(const std::vector<uint8_t>& image);
// How long a plausible image plays, in seconds, from its header alone; 0 otherwise.
double WavSeconds(const std::vector<uint8_t>& image);

}  // namespace kelto1
