// Sound for the desktop (silent until the mixer is wired in).
#include "sdl/sdl_audio.h"

namespace kelto1 {

struct SdlAudio::Impl {};

SdlAudio::SdlAudio() : impl_(std::make_unique<Impl>()) {}
SdlAudio::~SdlAudio() = default;
bool SdlAudio::Open() { return false; }
void SdlAudio::PlayWav(const std::vector<uint8_t>&) {}
int32_t SdlAudio::MusicCommand(const std::string&, std::string&, int32_t) { return 263; }

}  // namespace kelto1
