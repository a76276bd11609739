// The window's queue of input messages. While the game is busy (a tick, a whole race)
// keys and clicks wait here; the game's flushes take keyboard messages out unread, and
// whatever is left reaches the boxes once the game returns. The flushes are there for
// keys that piled up while the player drove; keys typed while the title screen shows
// are kept for the boxes, whatever the frame delay.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace kelto1 {

// Keys that mean something to an edit box.
enum class EditKey : unsigned char { Other, Backspace, Delete, Left, Right, Home, End, Up, Down, Enter, Tab };

struct WindowMessage {
  enum class Type : unsigned char { KeyDown, KeyUp, Char, MouseDown };
  Type type = Type::KeyDown;
  EditKey key = EditKey::Other;
  std::string text;  // the characters a key press typed (UTF-8), or those of a Char
  int x = 0, y = 0;  // a click, in picture pixels
  bool kept = false;  // typed on the title screen: the game's flushes pass it over

  bool IsKeyboard() const { return type != Type::MouseDown; }
};

class MessageQueue {
 public:
  // As many messages as a window's queue holds; more are lost, as keys held through a
  // long race would otherwise pile up without end.
  static constexpr size_t kLimit = 10000;

  void Post(WindowMessage m) {
    m.kept = keep_typing_;
    if (messages_.size() < kLimit) messages_.push_back(std::move(m));
  }
  // Whether what is typed from now on is kept from the game's flushes: on while the
  // title screen shows, off while a race runs.
  void KeepTyping(bool on) { keep_typing_ = on; }
  // The characters of a key press arrive after it: they belong to the latest press
  // that has none yet, or stand alone when there is none (text from an input method).
  void PostText(const std::string& text);
  // Removes the first keyboard message that is not kept, leaving clicks in place;
  // false when none.
  bool DiscardFirstKeyboardMessage();
  std::optional<WindowMessage> Take();
  size_t size() const { return messages_.size(); }
  bool empty() const { return messages_.empty(); }

 private:
  std::deque<WindowMessage> messages_;
  bool keep_typing_ = false;
};

}  // namespace kelto1
