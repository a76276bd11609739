// Sound for the desktop on SDL2_mixer: effects decoded once from their memory images and
// played on a single channel, and the tune played through FluidSynth for the music
// command strings.
#include "sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <map>
#include <sstream>
#include <utility>

#include "platform/music_commands.h"
#include "platform/wav_image.h"

namespace kelto1 {

namespace {

// Where Debian and its neighbours put a General MIDI soundfont, best first.
constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
    "/usr/share/soundfonts/default.sf2",
};

// One channel only: a new effect cuts off the one playing, as the game expects.
constexpr int kEffectChannel = 0;

// FluidSynth at full volume peaks well past full scale on the tune's drums; a quarter
// keeps its peaks near -4 dBFS and the tune about 10 dB under the effects.
constexpr int kMusicVolume = MIX_MAX_VOLUME / 4;

bool FileExists(const std::string& path) {
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (!file) return false;
  SDL_RWclose(file);
  return true;
}

// The first soundfont that is there: those named in SDL_SOUNDFONTS (':' between them),
// then the usual places. Empty when there is none.
std::string FindSoundFont() {
  if (const char* named = SDL_getenv("SDL_SOUNDFONTS"); named && *named) {
    std::istringstream list(named);
    for (std::string path; std::getline(list, path, ':');)
      if (!path.empty() && FileExists(path)) return path;
  }
  for (const char* path : kSoundFonts)
    if (FileExists(path)) return path;
  return {};
}

// Without a sound card ALSA prints a screenful of its own complaints while SDL looks
// for a device; our one line says it better. The library stays loaded for SDL to use.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
void SilenceAlsaComplaints() {
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  auto set_handler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set_handler) set_handler(QuietAlsa);
}

}  // namespace

struct SdlAudio::Impl : TunePlayer {
  bool device_open = false;
  bool midi_ready = false;  // a soundfont and a MIDI player are there
  bool noted = false;
  Mix_Music* tune = nullptr;
  // Each effect image decoded once, found again by where it lies and how long it is:
  // the game keeps its images unchanged in place for the whole run. Null = silent.
  std::map<std::pair<const uint8_t*, size_t>, Mix_Chunk*> effects;
  MusicCommands commands{*this};

  ~Impl() override { Close(); }

  // Sound problems are told once, in one line, however many there are.
  void Note(const std::string& line) {
    if (noted) return;
    noted = true;
    std::fprintf(stderr, "kelto1: %s\n", line.c_str());
  }

  bool PrepareMidi() {
    // FluidSynth plays silence rather than fail without a soundfont, so look first.
    const std::string font = FindSoundFont();
    if (font.empty()) {
      Note("no General MIDI soundfont (package fluid-soundfont-gm); the races run without music");
      return false;
    }
    Mix_SetSoundFonts(font.c_str());
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
      Note(std::string("no MIDI player (") + Mix_GetError() + "); the races run without music");
      return false;
    }
    return true;
  }

  Mix_Chunk* Decode(const std::vector<uint8_t>& image) {
    const auto key = std::make_pair(image.data(), image.size());
    if (auto found = effects.find(key); found != effects.end()) return found->second;
    Mix_Chunk* chunk = nullptr;
    if (PlausibleWav(image) && image.size() <= static_cast<size_t>(INT_MAX)) {
      // We close the memory stream ourselves: the mixer does not free it on every
      // failure path when asked to.
      if (SDL_RWops* rw = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()))) {
        chunk = Mix_LoadWAV_RW(rw, 0);
        SDL_RWclose(rw);
      }
    }
    effects.emplace(key, chunk);
    return chunk;
  }

  void Close() {
    if (!device_open) return;
    Mix_HaltChannel(-1);
    Unload();
    for (auto& [key, chunk] : effects)
      if (chunk) Mix_FreeChunk(chunk);
    effects.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_open = false;
  }

  // ---- TunePlayer ----------------------------------------------------------------
  bool Load(const std::string& path) override {
    if (!device_open || !midi_ready) return false;
    tune = Mix_LoadMUS(path.c_str());
    if (!tune) Note("cannot play " + path + " (" + Mix_GetError() + "); the races run without music");
    return tune != nullptr;
  }
  void PlayFromStart() override {
    if (tune) Mix_PlayMusic(tune, 0);  // once through; the game restarts it itself
  }
  bool Playing() override { return tune && Mix_PlayingMusic(); }
  void Stop() override {
    if (tune) Mix_HaltMusic();
  }
  void Unload() override {
    if (!tune) return;
    Mix_HaltMusic();
    Mix_FreeMusic(tune);
    tune = nullptr;
  }
};

SdlAudio::SdlAudio() : impl_(std::make_unique<Impl>()) {}
SdlAudio::~SdlAudio() = default;

bool SdlAudio::Open() {
  Impl& a = *impl_;
  if (a.device_open) return true;
  SilenceAlsaComplaints();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    a.Note(std::string("no sound (") + SDL_GetError() + "); the game runs silently");
    return false;
  }
  if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
    a.Note(std::string("no sound (") + Mix_GetError() + "); the game runs silently");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  a.device_open = true;
  Mix_AllocateChannels(1);
  Mix_VolumeMusic(kMusicVolume);
  a.midi_ready = a.PrepareMidi();
  return true;
}

bool SdlAudio::MusicAvailable() const { return impl_->device_open && impl_->midi_ready; }

void SdlAudio::PlayWav(const std::vector<uint8_t>& image) {
  if (!impl_->device_open) return;
  Mix_Chunk* chunk = impl_->Decode(image);
  // A silent image still ends the effect before it, as any new effect does.
  if (!chunk) {
    Mix_HaltChannel(kEffectChannel);
    return;
  }
  Mix_PlayChannel(kEffectChannel, chunk, 0);
}

int32_t SdlAudio::MusicCommand(const std::string& command, std::string& reply, int32_t reply_length) {
  return impl_->commands.Send(command, reply, reply_length);
}

}  // namespace kelto1
