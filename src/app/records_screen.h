// F3 on the title screen: the records table over the view. Up and Down pick a race, Enter
// watches its replay, Escape or F3 gives the title screen back. Where the table can be
// touched, a tap on a race picks it and a tap on the race picked watches it. Every edition shows it the
// same way; what it needs of the window is below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kelto1 {

class Kelto1;
class RecordsKeeper;

// The window the table shows in.
class RecordsWindow {
 public:
  virtual ~RecordsWindow() = default;
  // The machine the replays are watched on (its keys are read through it too).
  virtual Platform& screen() = 0;
  // The table's lines over the view, the first a heading, the line picked highlighted;
  // while it shows, no key types into the title screen's boxes. No lines: the view again.
  virtual void ShowPanel(std::vector<std::string> lines, int pick) = 0;
  // Takes the window's events, then waits up to a tick for more. False once the game is
  // to end.
  virtual bool Between(Kelto1& game) = 0;
  // Space paused or resumed the replay being watched.
  virtual void ShowReplayPaused(bool paused) = 0;
  // How a replay went, under the title screen's texts.
  virtual void ShowTitleLine(const std::string& line) = 0;
  // The line of the table tapped since this was last asked (its heading is line 0), or -1.
  virtual int TakeTappedLine() { return -1; }
  // Whether the table is used by touch: its help names taps then.
  virtual bool ByTouch() { return false; }
};

// Shows the table until the player leaves it. records: none shows an empty table.
void ShowRecords(RecordsWindow& window, Kelto1& game, RecordsKeeper* records);

// An edition's own window as the table's: Window is the edition's platform, with the
// table's calls of its own and its events between ticks (HandleEvents, WaitForEvents,
// ended); now is its clock in milliseconds and tick_ms the game's tick.
template <class Window>
class EditionRecordsWindow final : public RecordsWindow {
 public:
  EditionRecordsWindow(Window& window, uint64_t (*now)(), uint64_t tick_ms)
      : window_(window), now_(now), tick_ms_(tick_ms) {}
  Platform& screen() override { return window_; }
  void ShowPanel(std::vector<std::string> lines, int pick) override { window_.ShowPanel(std::move(lines), pick); }
  bool Between(Kelto1& game) override {
    window_.HandleEvents(game);
    if (window_.ended()) return false;
    window_.WaitForEvents(now_() + tick_ms_);
    return !window_.ended();
  }
  void ShowReplayPaused(bool paused) override { window_.ShowReplayPaused(paused); }
  void ShowTitleLine(const std::string& line) override { window_.ShowTitleLine(line); }

 private:
  Window& window_;
  uint64_t (*now_)();
  uint64_t tick_ms_;
};

}  // namespace kelto1
