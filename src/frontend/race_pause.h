// A paused race is the same race. The game learns the time and the keys only by asking
// the machine; while the race is paused the front end does not answer (it shows the
// window and waits), the time it answers afterwards leaves the pause out, and no key
// pressed during the pause is seen as pressed. The game then gets the answers it would
// have got had the player never paused.
#pragma once

#include <cstdint>

#include "frontend/key_state.h"
#include "frontend/pause_clock.h"

namespace kelto1 {

class RacePause {
 public:
  explicit RacePause(KeyState& keys) : keys_(keys) {}

  uint64_t GameTime(uint64_t machine_ms) const { return clock_.GameTime(machine_ms); }
  bool paused() const { return clock_.paused(); }
  void Pause(uint64_t machine_ms) { clock_.Pause(machine_ms); }
  void Resume(uint64_t machine_ms) { clock_.Resume(machine_ms); }

  // The player's keys, through the pause: a key held into the pause stays held, a key
  // let go is let go at once (the game sees it go at the moment the pause began), a
  // key pressed while paused is not seen.
  void Press(int virtual_key);
  void Release(int virtual_key) { keys_.Release(virtual_key); }

 private:
  KeyState& keys_;
  PauseClock clock_;
};

}  // namespace kelto1
