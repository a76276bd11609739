// The music command strings the game sends for its tune, understood for the one alias
// "midifile" and carried out by a player behind a small interface, so that the words
// can be checked without a sound card.
#pragma once

#include <cstdint>
#include <string>

namespace kelto1 {

// Error codes of the command strings (0 = success).
namespace music_error {
constexpr int32_t kUnknownKeyword = 259;    // a known command with words it does not take
constexpr int32_t kUnknownCommand = 261;    // a command that is not understood at all
constexpr int32_t kAliasNotOpen = 263;      // the alias named is not open
constexpr int32_t kCannotLoad = 275;        // the tune file is missing or unplayable
constexpr int32_t kAliasAlreadyOpen = 289;  // open of an alias that is open already
}  // namespace music_error

// What plays the tune: one tune at a time.
class TunePlayer {
 public:
  virtual ~TunePlayer() = default;
  // Loads the tune file; false when it is missing or cannot be played.
  virtual bool Load(const std::string& path) = 0;
  // Starts the loaded tune from its beginning, once through.
  virtual void PlayFromStart() = 0;
  // Whether the tune is sounding now (false once it has run out).
  virtual bool Playing() = 0;
  virtual void Stop() = 0;
  // Stops and forgets the loaded tune.
  virtual void Unload() = 0;
};

class MusicCommands {
 public:
  explicit MusicCommands(TunePlayer& player) : player_(player) {}

  // Carries out one command text; returns its error code. A status answer replaces
  // reply, cut to reply_length characters (nothing is written for a length of 0).
  //   open "<path>" type sequencer alias midifile   loads the tune
  //   play midifile from 0                          plays it from the beginning, once
  //   status midifile mode                          answers "playing" or "stopped"
  //   stop midifile                                 stops it
  //   close midifile                                stops and forgets it
  int32_t Send(const std::string& command, std::string& reply, int32_t reply_length);

  bool open() const { return open_; }

 private:
  TunePlayer& player_;
  bool open_ = false;
};

}  // namespace kelto1
