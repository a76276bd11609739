// Sound effects: fourteen WAV images in memory, each with its own cooldown.
#include <array>
#include <map>
#include <string>

#include "shell/kelto1.h"

namespace kelto1 {

namespace {

struct SoundRow {
  const char* file;
  uint8_t cooldown;  // frames before the sound may start again
};

// "pass.wav" fills nine buffers; of those only buffer 5 is ever requested.
constexpr std::array<SoundRow, 14> kSounds = {{
    {"crbit.wav",    20},  // a light hit
    {"crsh.wav",     30},  // a crash
    {"crwal.wav",    20},  // a heavy crash
    {"PwrUp1.wav",   20},  // a good pick-up
    {"PwrLost.wav",  20},  // a bad pick-up, or a rival passing the player
    {"pass.wav",     20},  // the player passing a rival
    {"pass.wav",     50},
    {"pass.wav",    100},
    {"pass.wav",     20},
    {"pass.wav",     20},
    {"pass.wav",     40},
    {"pass.wav",     10},
    {"pass.wav",     20},
    {"pass.wav",     20},
}};

// A sound effect is a short noise; a file larger than this is something else, and
// holding it nine times over would take gigabytes.
constexpr size_t kLargestSoundFile = 16u << 20;

}  // namespace

void Kelto1::LoadSounds() {
  FileStore& files = platform.Files();
  const std::string folder = platform.ProgramFolder();
  // Each file is read once: "pass.wav" fills nine buffers from one reading.
  std::map<std::string, std::vector<uint8_t>> images;
  for (size_t i = 0; i < kSounds.size(); ++i) {
    const std::string path = folder + "/" + kSounds[i].file;
    auto known = images.find(path);
    if (known == images.end()) {
      bool too_big = false;
      std::optional<std::vector<uint8_t>> image = files.ReadAtMost(path, kLargestSoundFile, too_big);
      // A missing file is made empty, then read like any other; it stays silent. An
      // installed game's shared folder is left alone, even when it could be written.
      if (!image && !too_big && files.FolderWritable(folder) && files.CreateEmpty(path)) image = files.ReadAtMost(path, kLargestSoundFile, too_big);
      if (!image) {
        platform.Note("kelto1: " + (too_big ? path + " is larger than 16 MB" : "cannot read " + path) +
                      "; that sound stays silent");
        image.emplace();
      }
      image->push_back(0);  // the whole file and one zero byte
      known = images.emplace(path, std::move(*image)).first;
    }
    sounds.SoundData[i] = known->second;
  }
}

void Kelto1::PlaySound(int32_t index) {
  if (index < 0 || index > 13) return;
  if (audio.SoundCooldown[index] != 0) return;  // dropped, not queued
  platform.PlaySoundFromMemory(sounds.SoundData[index]);
  audio.SoundCooldown[index] = kSounds[index].cooldown;
}

void Kelto1::TickSoundCooldowns() {
  for (auto& c : audio.SoundCooldown)
    if (c > 0) c -= 1;
}

}  // namespace kelto1
