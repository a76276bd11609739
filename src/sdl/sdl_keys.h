// SDL's keys in the game's terms: virtual-key numbers for the key state, and the keys
// that mean something to an edit box.
#pragma once

#include <SDL.h>

#include "frontend/window_messages.h"

namespace kelto1 {

// The virtual-key number of a key by its place on the keyboard, -1 for keys the game
// never asks about. Either Alt is VK_MENU, either Ctrl VK_CONTROL.
int VirtualKeyOf(SDL_Scancode key);
EditKey EditKeyOf(SDL_Keycode key);

}  // namespace kelto1
