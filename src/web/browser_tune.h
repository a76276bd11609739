// The tune in the page: the game's MIDI file, rendered and encoded at build time, is
// played from the Ogg file of the same name beside the page.
#pragma once

#include "platform/music_commands.h"

namespace kelto1 {

class BrowserTune final : public TunePlayer {
 public:
  bool Load(const std::string& path, std::string& why) override;
  bool PlayFromStart(std::string& why) override;
  bool Playing() override;
  void Stop() override;
  void Unload() override;

 private:
  bool loaded_ = false;
};

// The URL of the rendered tune for a MIDI file's path: its name with .ogg.
std::string RenderedTuneUrl(const std::string& path);

}  // namespace kelto1
