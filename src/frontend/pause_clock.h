// Pausing a race without changing it. The game only ever learns the time and the keys
// by asking the machine; while the race is paused the front end simply does not answer
// (it shows the window and waits), and the time it answers afterwards leaves out the
// pause. The game then sees the same answers as in a race never paused.
#pragma once

#include <cstdint>

namespace kelto1 {

class PauseClock {
 public:
  // The game's time for the machine's time now: the machine's less every pause so far.
  // While paused it stands still at the moment the pause began.
  uint64_t GameTime(uint64_t machine_ms) const;

  void Pause(uint64_t machine_ms);
  void Resume(uint64_t machine_ms);
  void Toggle(uint64_t machine_ms) { paused_ ? Resume(machine_ms) : Pause(machine_ms); }
  bool paused() const { return paused_; }

 private:
  bool paused_ = false;
  uint64_t paused_at_ = 0;
  uint64_t left_out_ = 0;  // the length of the pauses that ended
};

}  // namespace kelto1
