// The page's keys as the game's virtual keys, from the browser's key events.
#pragma once

#include <string>

#include "frontend/key_state.h"
#include "frontend/race_pause.h"

namespace kelto1 {

// The virtual key of a KeyboardEvent.code, or 0 for a key the game does not use.
int VirtualKeyOf(const std::string& code);

// Listens to the page's key events and keeps their state. The game's keys are taken from
// the browser (no menu for Alt, no scrolling for the arrows); every other key is left to it.
class BrowserKeys {
 public:
  void Listen();
  KeyState& state() { return state_; }
  // Keys pressed while a race is paused are not seen by it.
  RacePause& pause() { return pause_; }
  const RacePause& pause() const { return pause_; }
  // Every key forgotten, pressed or not (a new game starts with none pending).
  void Forget() { state_ = KeyState{}; }

 private:
  KeyState state_;
  RacePause pause_{state_};
};

}  // namespace kelto1
