// Watching a replay in the window: the race plays at its own speed with its sounds, music
// and readouts, "REPLAY" in red where the version caption stands. Space pauses and
// resumes, the Right arrow plays at four times the speed while held, Escape leaves.
#pragma once

#include <cstdint>
#include <optional>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "replay/forwarding_platform.h"

namespace kelto1 {

class Kelto1;

// The machine as the replay's game sees it while a person watches: its clock runs
// faster while the Right arrow is held and stands still during a pause.
class ViewerPlatform final : public ForwardingPlatform {
 public:
  static constexpr uint32_t kFast = 4;
  explicit ViewerPlatform(Platform& screen);

  uint32_t GetTickCount() override;
  void Idle(uint32_t remaining_ms) override;
  void Repaint(const ShownWindow& shown, Element which) override;

  // The game whose window shows the mark.
  void Watch(Kelto1& game) { game_ = &game; }
  // Told when Space pauses or resumes, so that the window can say so.
  void OnPause(std::function<void(bool)> tell) { on_pause_ = std::move(tell); }
  // Before every frame: reads the viewer's keys, and waits there while paused.
  void BetweenFrames();
  bool leaving() const { return leaving_; }
  uint32_t speed() const { return speed_; }
  bool paused() const { return paused_; }

 private:
  void ReadKeys();
  void Mark();

  Kelto1* game_ = nullptr;
  std::function<void(bool)> on_pause_;
  uint32_t real_ = 0;     // the screen's clock at the last reading
  uint32_t virtual_ = 0;  // the replay's clock
  uint32_t speed_ = 1;
  uint32_t views_ = 0;    // views painted; at speed 4 only every 4th is shown
  bool paused_ = false;
  bool space_was_down_ = false;
  bool leaving_ = false;
};

struct WatchResult {
  bool played = false;    // false: the file could not be played (line says why)
  bool diverged = false;  // it played, but not as recorded
  std::string line;       // one line for the person watching
};

// A replay file's bytes, when it is one: nothing larger than a replay can be is read at
// all, and the file must decode. Otherwise nothing, and why.
std::optional<std::vector<uint8_t>> ReadReplayFile(FileStore& files, const std::string& path, std::string& why);

// Plays a replay file's bytes on the screen's machine until its end or Escape;
// on_pause, if given, is told when Space pauses and resumes.
WatchResult WatchReplay(Platform& screen, const std::vector<uint8_t>& file,
                        std::function<void(bool)> on_pause = {});
// F2 on the title screen: plays last.k1r from beside the settings, then gives the title
// screen back; a file that cannot be played, or a race that no longer plays as recorded,
// is told in the notice line of the title screen. Returns how it went.
// file: another replay than last.k1r (a race of the records table).
WatchResult ReplayFromTitle(Platform& screen, Kelto1& game, std::function<void(bool)> on_pause = {},
                            const std::string& file = {});

}  // namespace kelto1
