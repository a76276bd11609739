// The two boxes the player types into: the frame delay `Gamewait` and the editable
// vehicle selector `CarSel` with its drop-down list. They take the window's messages
// once the game has returned; what they change is the element's text, nothing else.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/shown_window.h"
#include "frontend/screen_picture.h"
#include "frontend/text_painter.h"
#include "frontend/window_messages.h"

namespace kelto1 {

// What the boxes work on: the texts the game holds, and the window as last painted
// (a hidden box takes no typing).
struct BoxTarget {
  BoxTexts& texts;
  const WindowElements& window;
};

class EditBoxes {
 public:
  explicit EditBoxes(TextPainter& painter) : painter_(painter) {}

  // One message from the window's queue. Returns true when the picture changed.
  bool Deliver(const WindowMessage& message, const BoxTarget& target);
  // The pointer moved over the picture: lights the list item under it. Returns true
  // when the picture changed.
  bool PointerAt(int x, int y);
  // A box that has been hidden loses the keyboard, and the list closes with the selector.
  void Follow(const BoxTarget& target);

  BoxView View(bool caret_on) const;
  std::optional<Element> focus() const { return focus_; }
  bool list_open() const { return list_open_; }

 private:
  bool Click(int x, int y, const BoxTarget& target);
  bool Key(const WindowMessage& message, const BoxTarget& target);
  bool Type(const std::string& text, const BoxTarget& target);
  void Focus(Element box, const BoxTarget& target);
  void CaretAt(int x, const BoxTarget& target);
  bool Choose(int item, const BoxTarget& target);
  void SetText(const std::string& text, const BoxTarget& target);
  int ItemAt(int x, int y);

  TextPainter& painter_;
  std::optional<Element> focus_;  // none: no box has the keyboard
  size_t caret_ = 0;
  bool list_open_ = false;
  int highlight_ = -1;
};

// The list item the selector's text names, -1 for a text of its own.
int CarSelItemIndex(const std::string& text);

}  // namespace kelto1
