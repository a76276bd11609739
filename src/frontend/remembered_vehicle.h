// The vehicle the player chose last, put back in the selector at the next start. The game's
// own first choice is not the player's: nothing is remembered until the player picks one
// of the selector's items.
#pragma once

#include <string>

#include "platform/shown_window.h"

namespace kelto1 {

class RememberedVehicle {
 public:
  // Between the game's ticks, on the title screen. The first time, the remembered vehicle
  // (empty: none) is put in the selector; afterwards a new item chosen there becomes the
  // remembered one. True when it did (the choices are to be saved).
  bool Follow(BoxTexts& texts, std::string& remembered);
  // A new game: the remembered vehicle is offered to it again.
  void Reset() { offered_ = false; }

 private:
  bool offered_ = false;
  std::string first_;  // the selector's text when the game first showed it
};

}  // namespace kelto1
