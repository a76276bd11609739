// One run of the game on the headless machine, as the runner and the tests drive it:
// start-up, the title screen, a race started with Ctrl, and scripted keys per frame.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {

// Keys held for a number of race frames.
struct DemoStep {
  int frames = 0;
  std::vector<int> keys;  // virtual keys
};

// Reads "COUNT KEYS" lines (KEYS "-" or LEFT, RIGHT, ALT, CTRL, ESC joined by '+');
// blank lines and lines starting with '#' are skipped. Sets error on a bad line.
std::vector<DemoStep> ParseDemo(const std::string& text, std::string* error);

class SimSession {
 public:
  SimSession();
  Kelto1& game() { return *game_; }
  HeadlessPlatform& platform() { return platform_; }

  // Start-up and the first idle tick, which shows the title screen.
  void StartProgram();
  // Keys for the race frames to come, from race frame 1 on; none once they run out.
  void SetDemo(std::vector<DemoStep> demo) { demo_ = std::move(demo); }
  // Presses Ctrl in the next idle tick and runs the race until it returns or until
  // max_frames race frames have run (0 = no limit). Returns the frames run.
  long RunRace(long max_frames);
  // Race frames run so far in the current race.
  long frame() const { return frame_; }
  // True from the start of a race frame to its end.
  bool in_race_frame() const { return in_frame_; }
  // Called after every race frame with its number.
  std::function<void(long)> after_frame;
  // When set, chooses the keys of every race frame instead of the demo.
  std::function<void(long, HeadlessPlatform&)> keys_for_frame;
  // Leaves the race loop after the current frame.
  void Stop() { stop_ = true; }

 private:
  void HoldKeysForFrame(long frame);

  HeadlessPlatform platform_;
  std::unique_ptr<Kelto1> game_;
  std::vector<DemoStep> demo_;
  long frame_ = 0;
  bool in_frame_ = false;
  bool stop_ = false;
  long max_frames_ = 0;
};

}  // namespace kelto1
