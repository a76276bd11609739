// Bookkeeping of the asynchronous key state.
#include "frontend/key_state.h"

namespace kelto1 {

void KeyState::Press(int virtual_key) {
  if (!Valid(virtual_key)) return;
  keys_[virtual_key].down = true;
  keys_[virtual_key].pressed = true;
}

void KeyState::Release(int virtual_key) {
  if (Valid(virtual_key)) keys_[virtual_key].down = false;
}

void KeyState::ReleaseAll() {
  for (Key& k : keys_) k.down = false;
}

int16_t KeyState::Query(int virtual_key) {
  if (!Valid(virtual_key)) return 0;
  Key& k = keys_[virtual_key];
  const uint16_t state = (k.down ? 0x8000u : 0u) | (k.pressed ? 1u : 0u);
  k.pressed = false;
  return static_cast<int16_t>(state);
}


bool KeyState::Pending(int virtual_key) const {
  return Valid(virtual_key) && (keys_[virtual_key].down || keys_[virtual_key].pressed);
}

}  // namespace kelto1
