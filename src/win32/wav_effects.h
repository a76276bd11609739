// The sound effects on Windows: the WAV image in memory handed to the system's own player,
// asynchronously, as the game always asked. A new effect replaces the one playing; an
// image that is not a plain PCM file is never handed over and only ends the one before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace kelto1 {

class WavEffects {
 public:
  // Plays a WAV image from memory, asynchronously (nullptr: stops the effect playing).
  // The image must stay where it is while it plays.
  using Player = std::function<void(const uint8_t* image)>;

  explicit WavEffects(Player play) : play_(std::move(play)) {}
  // The image must outlive its sound: the game's own images stay put for its whole run.
  void Play(const std::vector<uint8_t>& image);
  // The effects' loudness, per cent: at 0 none is played, below 100 each plays from a
  // copy with its samples made quieter (made once per image and level).
  void SetLevel(int percent);

 private:
  Player play_;
  int level_ = 100;
  std::map<const uint8_t*, std::vector<uint8_t>> quieter_;
};

// A copy of a plain PCM WAV image (8 or 16 bits a sample) with every sample at percent of
// its loudness; other images are copied as they are.
std::vector<uint8_t> QuieterWav(const std::vector<uint8_t>& image, int percent);

}  // namespace kelto1
