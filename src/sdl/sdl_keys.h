// SDL's keys in the game's terms: virtual-key numbers for the key state, and the keys
// that mean something to an edit box.
#pragma once

#include <SDL.h>

#include "frontend/window_messages.h"

namespace kelto1 {

// The virtual-key number of a key by its place on the keyboard that is not the player's
// to bind (Escape, Space, F2, Up and Down), -1 for the others: the driving keys come
// from the key bindings.
int VirtualKeyOf(SDL_Scancode key);
EditKey EditKeyOf(SDL_Keycode key);

}  // namespace kelto1
