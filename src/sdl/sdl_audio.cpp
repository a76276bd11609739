// Sound for the desktop on SDL2_mixer: effects decoded once from their memory images and
// played on a single channel, and the tune played through FluidSynth for the music
// command strings. The synthesizer with its soundfont is made once per tune file and kept
// from race to race, so that starting a race costs no visible time.
#include "sdl/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "platform/disk_files.h"
#include "platform/midi_image.h"
#include "platform/music_commands.h"
#include "platform/wav_image.h"

namespace kelto1 {

namespace {

// Where Debian and its neighbours put a General MIDI soundfont, best first. The small
// TimGM6mb loads in a few tens of milliseconds; FluidR3 is 148 MB and takes seconds.
constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
    "/usr/share/soundfonts/default.sf2",
};

// One channel only: a new effect cuts off the one playing, as the game expects.
constexpr int kEffectChannel = 0;

// FluidSynth at full volume peaks well past full scale on the tune's drums; a quarter
// keeps its peaks near -4 dBFS and the tune about 10 dB under the effects.
constexpr int kMusicVolume = MIX_MAX_VOLUME / 4;

// A tune that has stopped again this soon after being started did not play at all.
constexpr uint64_t kShortestTuneMs = 250;

// An effect longer than a minute is no effect: decoded for the device it would take
// tens of megabytes and seconds of start-up, so it stays silent. The header tells its
// length before anything is decoded; the decoded size is checked as well.
constexpr double kLongestEffectSeconds = 60;
constexpr size_t kLargestDecodedEffect = 16u << 20;
// The largest bgm.mid read, as for the sound files.
constexpr size_t kLargestTuneFile = 16u << 20;

bool FileExists(const std::string& path) {
  SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
  if (!file) return false;
  SDL_RWclose(file);
  return true;
}

// The first soundfont that is there: those named in SDL_SOUNDFONTS (':' between them),
// then the usual places, then whatever SDL_mixer finds itself. Empty when there is none.
std::string FindSoundFont() {
  if (const char* named = SDL_getenv("SDL_SOUNDFONTS"); named && *named) {
    std::istringstream list(named);
    for (std::string path; std::getline(list, path, ':');)
      if (!path.empty() && FileExists(path)) return path;
  }
  for (const char* path : kSoundFonts)
    if (FileExists(path)) return path;
  if (const char* own = Mix_GetSoundFonts(); own && *own) {
    std::istringstream list(own);
    for (std::string path; std::getline(list, path, ';');)
      if (!path.empty() && FileExists(path)) return path;
  }
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

// FluidSynth writes every complaint about a tune to standard error, again at every
// start. Its messages are caught here instead; the last error is kept as the reason in
// our own line. SDL_mixer links the library, so this reaches the same instance. The
// synthesizer complains from the audio thread.
std::mutex fluid_mutex;
std::string fluid_error;
void CatchFluidMessage(int level, const char* message, void*) {
  if (level > 1 || !message) return;  // panics and errors; warnings come with good tunes too
  std::lock_guard<std::mutex> lock(fluid_mutex);
  fluid_error = message;
}
std::string TakeFluidError() {
  std::lock_guard<std::mutex> lock(fluid_mutex);
  return std::exchange(fluid_error, std::string());
}
void CatchFluidSynthMessages() {
  void* fluid = dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
  if (!fluid) fluid = dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL);
  if (!fluid) return;
  using Handler = void (*)(int, const char*, void*);
  auto set_log = reinterpret_cast<Handler (*)(int, Handler, void*)>(dlsym(fluid, "fluid_set_log_function"));
  if (!set_log) return;
  for (int level = 0; level <= 4; ++level) set_log(level, CatchFluidMessage, nullptr);
}

// What tells one version of a file from the next: its size and when it was written.
struct FileVersion {
  bool exists = false;
  off_t size = 0;
  struct timespec written {};
  bool operator==(const FileVersion& o) const {
    return exists == o.exists && size == o.size && written.tv_sec == o.written.tv_sec &&
           written.tv_nsec == o.written.tv_nsec;
  }
};
FileVersion VersionOf(const std::string& path) {
  FileVersion v;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return v;
  v.exists = true;
  v.size = st.st_size;
  v.written = st.st_mtim;
  return v;
}

}  // namespace

struct SdlAudio::Impl : TunePlayer {
  bool device_open = false;
  bool midi_ready = false;  // a soundfont and a MIDI player are there
  std::set<std::string> told;
  // The tune as made for the synthesizer, kept after close for the next open of the
  // same version of the same file.
  Mix_Music* tune = nullptr;
  std::string tune_path;
  FileVersion tune_version;
  bool tune_open = false;
  uint64_t started_at = 0;
  // The player's levels (per cent) and the race's pause: a sound at no volume is not
  // mixed at all, the tune is held where it is instead.
  int music_level = 100, effects_level = 100;
  bool muted = false, paused = false;
  bool MusicHeld() const { return paused || muted || music_level == 0; }
  bool EffectsSilent() const { return muted || effects_level == 0; }
  void ApplyLevels() {
    if (!device_open) return;
    Mix_VolumeMusic(kMusicVolume * music_level / 100);
    Mix_Volume(kEffectChannel, MIX_MAX_VOLUME * effects_level / 100);
    if (MusicHeld()) Mix_PauseMusic();
    else Mix_ResumeMusic();
    if (paused || EffectsSilent()) Mix_Pause(kEffectChannel);
    else Mix_Resume(kEffectChannel);
    if (EffectsSilent()) Mix_HaltChannel(kEffectChannel);
  }
  // Effects decoded once each, shared by every image with the same bytes; an image is
  // found again by where it lies and how long it is, as the game keeps its images
  // unchanged in place. Null = silent.
  std::map<std::pair<const uint8_t*, size_t>, Mix_Chunk*> effects;
  std::map<std::pair<size_t, size_t>, Mix_Chunk*> decoded;  // by length and hash of the bytes
  MusicCommands commands{*this, [this](const std::string& line) { Note(line); }};

  ~Impl() override { Close(); }

  // Each sound problem is told once, in one line.
  void Note(const std::string& line) {
    if (!told.insert(line).second) return;
    std::fprintf(stderr, "kelto1: %s\n", line.c_str());
  }

  bool PrepareMidi() {
    // FluidSynth plays silence rather than fail without a soundfont, so look first.
    const std::string font = FindSoundFont();
    if (font.empty()) {
      Note("no General MIDI soundfont (package timgm6mb-soundfont); the races run without music");
      return false;
    }
    Mix_SetSoundFonts(font.c_str());
    if ((Mix_Init(MIX_INIT_MID) & MIX_INIT_MID) == 0) {
      Note(std::string("no MIDI player (") + Mix_GetError() + "); the races run without music");
      return false;
    }
    CatchFluidSynthMessages();
    return true;
  }

  Mix_Chunk* Decode(const std::vector<uint8_t>& image) {
    const auto key = std::make_pair(image.data(), image.size());
    if (auto found = effects.find(key); found != effects.end()) return found->second;
    Mix_Chunk* chunk = nullptr;
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    const auto content = std::make_pair(image.size(), std::hash<std::string_view>{}(bytes));
    if (auto same = decoded.find(content); same != decoded.end()) {
      chunk = same->second;
    } else {
      const bool too_long = WavSeconds(image) > kLongestEffectSeconds;
      if (too_long) Note("a sound effect lasts over a minute; it stays silent");
      if (!too_long && PlausibleWav(image) && image.size() <= static_cast<size_t>(INT_MAX)) {
        // We close the memory stream ourselves: the mixer does not free it on every
        // failure path when asked to.
        if (SDL_RWops* rw = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()))) {
          chunk = Mix_LoadWAV_RW(rw, 0);
          SDL_RWclose(rw);
        }
      }
      if (chunk && chunk->alen > kLargestDecodedEffect) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
        Note("a sound effect lasts over a minute; it stays silent");
      }
      decoded.emplace(content, chunk);
    }
    effects.emplace(key, chunk);
    return chunk;
  }

  void Close() {
    if (!device_open) return;
    Mix_HaltChannel(-1);
    Forget();
    for (auto& [bytes, chunk] : decoded)
      if (chunk) Mix_FreeChunk(chunk);
    decoded.clear();
    effects.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device_open = false;
  }

  // The tune made for the synthesizer, from the cache when the file is unchanged.
  bool Prepare(const std::string& path, std::string& why) {
    if (!device_open || !midi_ready) {
      why = "no MIDI player";
      return false;
    }
    const FileVersion version = VersionOf(path);
    if (tune && path == tune_path && version == tune_version) return true;
    Forget();
    if (!version.exists) {
      why = "it is missing";
      return false;
    }
    // A tune is a few kilobytes of notes; a file far larger is something else, and is
    // not read into memory at all.
    bool too_big = false;
    const std::optional<std::vector<uint8_t>> bytes = DiskFileStore().ReadAtMost(path, kLargestTuneFile, too_big);
    if (too_big) {
      why = "it is larger than 16 MB";
      return false;
    }
    if (!PlausibleMidi(bytes.value_or(std::vector<uint8_t>{}), &why)) return false;
    tune = Mix_LoadMUS(path.c_str());
    if (!tune) {
      why = Mix_GetError();
      return false;
    }
    tune_path = path;
    tune_version = version;
    return true;
  }

  void Forget() {
    if (!tune) return;
    Mix_HaltMusic();
    Mix_FreeMusic(tune);
    tune = nullptr;
    tune_open = false;
  }

  // ---- TunePlayer ----------------------------------------------------------------
  bool Load(const std::string& path, std::string& why) override {
    tune_open = Prepare(path, why);
    return tune_open;
  }
  bool PlayFromStart(std::string& why) override {
    if (!tune_open) return true;
    // A tune the synthesizer cannot read "plays", complains and stops again at once.
    const uint64_t now = SDL_GetTicks64();
    const std::string complaint = TakeFluidError();
    if (started_at != 0 && !Mix_PlayingMusic() && (!complaint.empty() || now - started_at < kShortestTuneMs)) {
      why = complaint.empty() ? "it stops as soon as it starts" : "FluidSynth: " + complaint;
      return false;
    }
    if (Mix_PlayMusic(tune, 0) != 0) {  // once through; the game restarts it itself
      why = Mix_GetError();
      return false;
    }
    started_at = now;
    if (MusicHeld()) Mix_PauseMusic();
    return true;
  }
  // A tune held by the pause or the mute is still playing, as far as the game knows.
  bool Playing() override { return tune_open && (Mix_PlayingMusic() || Mix_PausedMusic()); }
  void Stop() override {
    if (tune_open) Mix_HaltMusic();
  }
  void Unload() override {
    if (!tune_open) return;
    Mix_HaltMusic();
    tune_open = false;
    started_at = 0;
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
  a.ApplyLevels();
  a.midi_ready = a.PrepareMidi();
  return true;
}

bool SdlAudio::MusicAvailable() const { return impl_->device_open && impl_->midi_ready; }

void SdlAudio::PrepareTune(const std::string& path) {
  std::string why;
  impl_->Prepare(path, why);  // a problem is told when the game opens the tune
}

void SdlAudio::PrepareWav(const std::vector<uint8_t>& image) {
  if (impl_->device_open) impl_->Decode(image);
}

void SdlAudio::PlayWav(const std::vector<uint8_t>& image) {
  if (!impl_->device_open || impl_->EffectsSilent()) return;
  Mix_Chunk* chunk = impl_->Decode(image);
  // A silent image still ends the effect before it, as any new effect does.
  if (!chunk) {
    Mix_HaltChannel(kEffectChannel);
    return;
  }
  Mix_PlayChannel(kEffectChannel, chunk, 0);
}

void SdlAudio::SetLevels(int music_percent, int effects_percent, bool muted) {
  impl_->music_level = std::clamp(music_percent, 0, 100);
  impl_->effects_level = std::clamp(effects_percent, 0, 100);
  impl_->muted = muted;
  impl_->ApplyLevels();
}

void SdlAudio::SetPaused(bool paused) {
  impl_->paused = paused;
  impl_->ApplyLevels();
}

int32_t SdlAudio::MusicCommand(const std::string& command, std::string& reply, int32_t reply_length) {
  return impl_->commands.Send(command, reply, reply_length);
}

}  // namespace kelto1
