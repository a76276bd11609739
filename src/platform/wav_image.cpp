// Checking a WAV image's chunks.
#include "platform/wav_image.h"

#include <cstring>

namespace kelto1 {

namespace {
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

struct WavShape {
  bool plausible = false;
  uint32_t rate = 0, frame_bytes = 0, data_bytes = 0;
};

WavShape ShapeOf(const std::vector<uint8_t>& image) {
  WavShape shape;
  // The game keeps one zero byte after every file; it is no part of the WAV.
  size_t size = image.size();
  if (size > 0 && image.back() == 0 && size % 2 == 1) --size;
  if (size < 12 || std::memcmp(image.data(), "RIFF", 4) != 0 || std::memcmp(image.data() + 8, "WAVE", 4) != 0)
    return shape;
  bool format_ok = false, have_data = false;
  size_t at = 12;
  while (at + 8 <= size) {
    const uint8_t* chunk = image.data() + at;
    const uint32_t length = Le32(chunk + 4);
    if (length > size - at - 8) return shape;  // a chunk reaching past the end
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (length < 16) return shape;
      const uint16_t tag = Le16(chunk + 8), channels = Le16(chunk + 10), bits = Le16(chunk + 22);
      const uint32_t rate = Le32(chunk + 12);
      format_ok = (tag == 1 || tag == 3) && channels >= 1 && channels <= 2 && rate >= 1000 && rate <= 192000 &&
                  (bits == 8 || bits == 16 || bits == 24 || bits == 32);
      shape.rate = rate;
      shape.frame_bytes = channels * (bits / 8u);
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      have_data = true;
      shape.data_bytes = length;
    }
    at += 8 + length + (length & 1);
  }
  shape.plausible = format_ok && have_data;
  return shape;
}

}  // namespace

bool PlausibleWav(const std::vector<uint8_t>& image) { return ShapeOf(image).plausible; }

double WavSeconds(const std::vector<uint8_t>& image) {
  const WavShape shape = ShapeOf(image);
  if (!shape.plausible || shape.frame_bytes == 0) return 0;
  return static_cast<double>(shape.data_bytes) / shape.frame_bytes / shape.rate;
}

}  // namespace kelto1
