// Sound for the desktop: effects from memory on one channel, and the music command
// strings for the background tune, on SDL2_mixer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelto1 {

class SdlAudio {
 public:
  SdlAudio();
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // Opens the audio device and prepares the MIDI player. Without a device, soundfont or
  // tune the game runs silently, after at most one line on standard error.
  bool Open();
  // True when the device is open and a soundfont and MIDI player are there for the tune.
  bool MusicAvailable() const;
  // Makes the synthesizer and the tune ready ahead of the first race; the file is
  // looked at again when the game opens it.
  void PrepareTune(const std::string& path);
  // Decodes an effect now rather than at its first play.
  void PrepareWav(const std::vector<uint8_t>& image);
  // Starts a WAV image from memory; a new effect replaces the one playing. An empty or
  // damaged image is silent.
  void PlayWav(const std::vector<uint8_t>& image);
  // The player's volumes (0..100 per cent) and the mute; at nothing, nothing is mixed.
  void SetLevels(int music_percent, int effects_percent, bool muted);
  // A paused race holds the tune and the effect where they are.
  void SetPaused(bool paused);
  // The music command strings for the alias "midifile"; returns the error code
  // (0 = success, 263 = alias not open) and fills reply.
  int32_t MusicCommand(const std::string& command, std::string& reply, int32_t reply_length);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kelto1
