#include "win32/wav_effects.h"

#include <algorithm>

#include "platform/wav_image.h"

namespace kelto1 {

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

}  // namespace

std::vector<uint8_t> QuieterWav(const std::vector<uint8_t>& image, int percent) {
  std::vector<uint8_t> out = image;
  if (!PlausibleWav(image)) return out;
  percent = std::clamp(percent, 0, 100);
  int bits = 0;
  // The chunks after "RIFF", its size and "WAVE"; PlausibleWav found them all inside.
  for (size_t at = 12; at + 8 <= out.size();) {
    const uint32_t size = Le32(out, at + 4);
    const size_t body = at + 8;
    const size_t end = std::min<size_t>(out.size(), body + size);
    if (std::equal(out.begin() + at, out.begin() + at + 4, "fmt ") && size >= 16) bits = out[body + 14] | (out[body + 15] << 8);
    if (std::equal(out.begin() + at, out.begin() + at + 4, "data")) {
      if (bits == 8) {
        for (size_t i = body; i < end; ++i) out[i] = static_cast<uint8_t>(128 + (out[i] - 128) * percent / 100);
      } else if (bits == 16) {
        for (size_t i = body; i + 1 < end; i += 2) {
          const int sample = static_cast<int16_t>(out[i] | (out[i + 1] << 8)) * percent / 100;
          out[i] = static_cast<uint8_t>(sample & 0xFF);
          out[i + 1] = static_cast<uint8_t>((sample >> 8) & 0xFF);
        }
      }
    }
    at = body + size + (size & 1);
  }
  return out;
}

void WavEffects::SetLevel(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == level_) return;
  // The copies may be playing: the sound stops before they go.
  play_(nullptr);
  quieter_.clear();
  level_ = percent;
}

void WavEffects::Play(const std::vector<uint8_t>& image) {
  if (!PlausibleWav(image)) {
    play_(nullptr);
    return;
  }
  if (level_ == 0) return;
  if (level_ == 100) {
    play_(image.data());
    return;
  }
  auto copy = quieter_.find(image.data());
  if (copy == quieter_.end()) copy = quieter_.emplace(image.data(), QuieterWav(image, level_)).first;
  play_(copy->second.data());
}

}  // namespace kelto1
