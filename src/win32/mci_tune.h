// The tune on Windows: the game's MIDI file played by the system's MIDI sequencer through
// MCI command strings, so Windows' own General MIDI synthesizer plays it. The strings go
// out through a sender, so what is asked can be checked without a sound card.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/music_commands.h"

namespace kelto1 {

class MciTune final : public TunePlayer {
 public:
  // Sends one MCI command string; returns its error code (0 = success) and puts a
  // status answer into reply.
  using Sender = std::function<uint32_t(const std::string& command, std::string& reply)>;
  // The sequencer's alias for the game's tune.
  static constexpr const char* kAlias = "kelto1tune";

  explicit MciTune(Sender send) : send_(std::move(send)) {}
  bool Load(const std::string& path, std::string& why) override;
  bool PlayFromStart(std::string& why) override;
  bool Playing() override;
  void Stop() override;
  void Unload() override;
  // Held (a paused race, the sound off, the music at nothing): the tune stops where it is
  // and goes on from there when let go. Meanwhile it answers as it was, so the game does
  // not start it again; a start asked for meanwhile starts it when let go.
  void Hold(bool held);

 private:
  uint32_t Send(const std::string& command);
  bool ModePlaying();

  Sender send_;
  bool open_ = false;
  bool held_ = false;
  bool sounding_ = false;       // while held: the tune was playing, or was asked to start
  bool start_when_let_go_ = false;
};

// The path as MCI takes it: Windows separators throughout, between double quotes.
// Empty for a path MCI cannot quote (one holding a double quote).
std::string MciQuotedPath(const std::string& path);

}  // namespace kelto1
