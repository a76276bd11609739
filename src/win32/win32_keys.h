// The keys of the window's keyboard messages: Windows' virtual-key numbers are the game's
// own, so only the keys the edit boxes act on need naming.
#pragma once

#include <cstdint>
#include <string>

#include "frontend/window_messages.h"

namespace kelto1 {

// What a key means to an edit box.
EditKey EditKeyOfVirtualKey(unsigned virtual_key);

// The key's name as the preferences file names keys ("Left", "LeftAlt", "P", "F12"),
// from a key message: its virtual key, whether it is an extended key (the right-hand Ctrl
// and Alt) and its scan code (which Shift). Empty for a key no binding can name.
std::string KeyNameOfVirtualKey(unsigned virtual_key, bool extended, unsigned scan_code);

// UTF-16 code units of typed characters to UTF-8, a pair at a time: feed each unit in
// turn; a whole character comes out once it is complete (a lone half gives U+FFFD).
class TypedCharacters {
 public:
  std::string Feed(uint16_t unit);

 private:
  uint16_t high_ = 0;
};

}  // namespace kelto1
