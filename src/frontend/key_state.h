// The asynchronous key state: for every virtual key, whether it is down now and
// whether it was pressed since the game last asked about it.
#pragma once

#include <array>
#include <cstdint>

namespace kelto1 {

class KeyState {
 public:
  void Press(int virtual_key);
  void Release(int virtual_key);
  // Every key up, as when the window loses the keyboard; taps already seen still count.
  void ReleaseAll();
  // Non-zero when the key is down now (0x8000) or was pressed since the previous query
  // of that key (bit 0); the query clears the record of the press.
  int16_t Query(int virtual_key);
  // Whether Query would answer non-zero now, without clearing anything.
  bool Pending(int virtual_key) const;

 private:
  struct Key {
    bool down = false;
    bool pressed = false;
  };
  static bool Valid(int virtual_key) { return virtual_key >= 0 && virtual_key < 256; }
  std::array<Key, 256> keys_{};
};

}  // namespace kelto1
