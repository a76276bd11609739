// What a front end is given to show, and the little it may change: the seam between the
// game and the machine's screen. A front end reads the window from ShownWindow and hands
// the person's typing to BoxTexts; it never sees the game itself.
#pragma once

#include <cstdint>
#include <string>

#include "platform/picture.h"
#include "platform/window_elements.h"

namespace kelto1 {

// The race view: the game paints it at this size and every front end shows it so.
constexpr int kViewWidth = 512;
constexpr int kViewHeight = 576;

// The window at a repaint. The references are the game's own and stay valid for as long
// as the game runs, so a front end may keep them between repaints; what the screen shows
// is each element's painted state (`elements.Painted`), never its state of the moment.
struct ShownWindow {
  const WindowElements& elements;
  const Picture& view;      // the race view, as the game painted it last
  const Picture& logo;      // the title logo
  int32_t frame_delay_ms;   // the pause between frames in use (what pacing waits)
};

// The two boxes the person types into, the frame delay and the vehicle selector.
class BoxTexts {
 public:
  virtual ~BoxTexts() = default;
  // The box's text as the game holds it now.
  virtual const std::string& BoxText(Element box) const = 0;
  // The person changed the box's text: it is on screen at once, and the game reacts to
  // it as to any typing in that box (a changed selector is repainted with its colour).
  virtual void BoxTyped(Element box, const std::string& text) = 0;
};

}  // namespace kelto1
