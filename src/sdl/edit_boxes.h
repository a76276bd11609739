// The two boxes the player types into: the frame delay `Gamewait` and the editable
// vehicle selector `CarSel` with its drop-down list. They take the window's messages
// once the game has returned; what they change is the element's text, nothing else.
#pragma once

#include <cstddef>

#include "sdl/screen_picture.h"
#include "sdl/text_painter.h"
#include "sdl/window_messages.h"

namespace kelto1 {

class Kelto1;

class EditBoxes {
 public:
  explicit EditBoxes(TextPainter& painter) : painter_(painter) {}

  // One message from the window's queue. Returns true when the picture changed.
  bool Deliver(const WindowMessage& message, Kelto1& game);
  // The pointer moved over the picture: lights the list item under it. Returns true
  // when the picture changed.
  bool PointerAt(int x, int y);
  // A box that has been hidden loses the keyboard, and the list closes with the selector.
  void Follow(const Kelto1& game);

  BoxView View(bool caret_on) const;
  Element focus() const { return focus_; }
  bool list_open() const { return list_open_; }

 private:
  bool Click(int x, int y, Kelto1& game);
  bool Key(const WindowMessage& message, Kelto1& game);
  bool Type(const std::string& text, Kelto1& game);
  void Focus(Element box, const Kelto1& game);
  void CaretAt(int x, const Kelto1& game);
  bool Choose(int item, Kelto1& game);
  void SetText(const std::string& text, Kelto1& game);
  int ItemAt(int x, int y);

  TextPainter& painter_;
  Element focus_ = Element::Count;
  size_t caret_ = 0;
  bool list_open_ = false;
  int highlight_ = -1;
};

// The list item the selector's text names, -1 for a text of its own.
int CarSelItemIndex(const std::string& text);

}  // namespace kelto1
