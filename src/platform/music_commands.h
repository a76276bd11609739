// The music command strings the game sends for its tune, understood for the one alias
// "midifile" and carried out by a player behind a small interface, so that the words
// can be checked without a sound card.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
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
  // Loads the tune file; false, with the reason in why, when it is missing or cannot
  // be played.
  virtual bool Load(const std::string& path, std::string& why) = 0;
  // Starts the loaded tune from its beginning, once through; false, with the reason,
  // when the tune turns out not to play.
  virtual bool PlayFromStart(std::string& why) = 0;
  // Whether the tune is sounding now (false once it has run out).
  virtual bool Playing() = 0;
  virtual void Stop() = 0;
  // Stops and forgets the loaded tune.
  virtual void Unload() = 0;
};

// Answers the few command texts the game sends. A tune that cannot be opened or played
// is told once, in one line, through report (each different problem once per run), and
// a tune that failed to play stays silent until it is opened again.
class MusicCommands {
 public:
  using Reporter = std::function<void(const std::string& line)>;
  explicit MusicCommands(TunePlayer& player, Reporter report = {}) : player_(player), report_(std::move(report)) {}

  // Carries out one command text; returns its error code. A status answer replaces
  // reply, cut to reply_length characters (nothing is written for a length of 0).
  //   open "<path>" type sequencer alias midifile   loads the tune (inside the quotes
  //                                                 a backslash takes the next " or
  //                                                 backslash as it is)
  //   play midifile from 0                          plays it from the beginning, once
  //   status midifile mode                          answers "playing" or "stopped"
  //   stop midifile                                 stops it
  //   close midifile                                stops and forgets it
  int32_t Send(const std::string& command, std::string& reply, int32_t reply_length);

  bool open() const { return open_; }
  // The open tune failed to play: play is refused until it is closed.
  bool silenced() const { return silenced_; }

 private:
  void Report(const std::string& line);

  TunePlayer& player_;
  Reporter report_;
  std::set<std::string> told_;
  std::string path_;  // of the open tune
  bool open_ = false;
  bool silenced_ = false;
};

// The path as a quoted word of an open command: between double quotes, each double
// quote and backslash in it after a backslash, so that any folder name reaches the
// player as it is.
inline std::string QuoteMusicPath(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace kelto1
