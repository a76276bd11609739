// Test machines for the music: a tune player that plays nothing but keeps count, and a
// headless machine whose music command strings go through the real command layer.
#pragma once

#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "platform/music_commands.h"

namespace kelto1::testing {

// Loads only files that exist in the memory store; a test ends the tune with Finish(),
// and makes every start fail with plays_fail.
class FakeTune : public TunePlayer {
 public:
  explicit FakeTune(MemoryFileStore& files) : files_(files) {}

  bool Load(const std::string& path, std::string& why) override {
    load_paths.push_back(path);
    loaded = files_.files.count(path) != 0;
    if (!loaded) why = "it is missing";
    return loaded;
  }
  bool PlayFromStart(std::string& why) override {
    ++starts;
    if (plays_fail) {
      why = "the synthesizer refuses it";
      return false;
    }
    playing = true;
    return true;
  }
  bool Playing() override { return playing; }
  void Stop() override { playing = false; }
  void Unload() override {
    ++unloads;
    playing = false;
    loaded = false;
  }
  void Finish() { playing = false; }

  std::vector<std::string> load_paths;
  bool loaded = false;
  bool playing = false;
  bool plays_fail = false;
  int starts = 0;
  int unloads = 0;

 private:
  MemoryFileStore& files_;
};

class MusicLayerPlatform : public HeadlessPlatform {
 public:
  int32_t SendMusicCommand(const std::string& command, std::string& reply, int32_t reply_length) override {
    music_commands.push_back(command);
    times_ms.push_back(now_ms);
    const int32_t code = layer.Send(command, reply, reply_length);
    codes.push_back(code);
    return code;
  }

  FakeTune tune{files};
  MusicCommands layer{tune, [this](const std::string& line) { reports.push_back(line); }};
  std::vector<std::string> reports;  // the layer's lines for the person running the game
  std::vector<int32_t> codes;        // the answer to each command, in order
  std::vector<uint32_t> times_ms;    // the clock when each was sent
};

}  // namespace kelto1::testing
