// Fuzzing the sound and music loading path: whatever the sound files and the tune hold,
// and whatever words reach the music command layer, the game loads, plays and carries on.
// The first byte chooses what the rest of the input is.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "platform/music_commands.h"
#include "shell/kelto1.h"

#ifdef KELTO1_FUZZ_WITH_MIXER
#include <SDL.h>

#include "sdl/sdl_audio.h"
#endif

namespace {

using namespace kelto1;

// A player that accepts any tune whose first bytes look like a MIDI file.
class FakeTunePlayer : public TunePlayer {
 public:
  bool Load(const std::string& path, std::string&) override { return !path.empty() && path.back() != '/'; }
  bool PlayFromStart(std::string&) override {
    playing_ = true;
    return true;
  }
  bool Playing() override { return playing_; }
  void Stop() override { playing_ = false; }
  void Unload() override { playing_ = false; }

 private:
  bool playing_ = false;
};

void SoundFiles(const uint8_t* data, size_t size) {
  static HeadlessPlatform platform;
  static Kelto1 game(platform);
  const char* names[] = {"crbit.wav", "crsh.wav", "crwal.wav", "PwrUp1.wav", "PwrLost.wav", "pass.wav"};
  // The input is cut into six files, one after another.
  const size_t part = size / 6;
  for (size_t i = 0; i < 6; ++i) {
    const uint8_t* begin = data + i * part;
    const uint8_t* end = i == 5 ? data + size : begin + part;
    platform.files.files[std::string("/game/") + names[i]] = std::vector<uint8_t>(begin, end);
  }
  game.LoadSounds();
  for (int i = 0; i < 14; ++i) {
    if (game.sounds.SoundData[i].empty() || game.sounds.SoundData[i].back() != 0) std::abort();
    game.audio.SoundCooldown[i] = 0;
    game.PlaySound(i);
  }
#ifdef KELTO1_FUZZ_WITH_MIXER
  // The desktop decodes each buffer with the mixer; a damaged one must stay silent.
  static SdlAudio* audio = [] {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto* a = new SdlAudio();
    a->Open();
    return a;
  }();
  for (int i = 0; i < 6; ++i) audio->PlayWav(game.sounds.SoundData[i]);
#endif
}

void MusicWords(const uint8_t* data, size_t size) {
  static FakeTunePlayer player;
  static MusicCommands commands(player);
  std::string text(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  // Several commands, one a line, with reply buffers of the length the game uses.
  while (start <= text.size()) {
    size_t nl = text.find('\n', start);
    std::string command = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    std::string reply(16, ' ');
    const int32_t length = static_cast<int32_t>(command.size() % 17);
    const int32_t code = commands.Send(command, reply, length);
    if (code < 0 || reply.size() > 16) std::abort();
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (data[0] & 1) {
    SoundFiles(data + 1, size - 1);
  } else {
    MusicWords(data + 1, size - 1);
  }
  return 0;
}
