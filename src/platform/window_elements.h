// The window's elements as the game sees them: text boxes, captions, the selector and
// pictures. Each keeps its current state and the state last painted on screen; only a
// repaint copies one into the other, so the screen changes exactly when the game repaints.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelto1 {

enum class Element : uint8_t {
  HighSc,    // the best rank so far
  Text1,     // the speed in km/h
  HitP,      // the player's condition, coloured by how much is left
  Rank,      // the rank in this race
  CityDisp,  // the place name on the road sign
  Mtime,     // the time left
  Gamewait,  // the frame delay box the player types into
  GETREADY,
  COMMENT,
  CarSel,
  SCORElab0,  // "SPEED"
  SCORElab1,  // "HIGHEST_RANK"
  SCORElab2,  // "TIME"
  SCORElab3,  // "RANK"
  SCORElab4,  // "CONDITION"
  SCORElab5,  // "Ver1.5"
  Label3,     // "km/h"
  Spdlbl,     // "速度調整(WAIT)"
  Label2,     // the green road sign behind the place name
  Display,
  GameTitle,
  Window,  // not an element: a repaint of the whole window
};

// The number of elements: Element::HighSc .. Element::GameTitle.
constexpr int kElementCount = static_cast<int>(Element::GameTitle) + 1;

namespace colors {
constexpr uint32_t kLightYellow = 0xFFFFC0;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kLightCyan = 0xC0FFFF;
constexpr uint32_t kSignGreen = 0x00C000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0xC0C0C0;
}  // namespace colors

struct ElementState {
  std::string text;
  uint32_t color = colors::kWhite;
  bool visible = true;
  int16_t left = 0;
  int16_t top = 0;
};

struct WindowElement {
  ElementState now;
  ElementState painted;
};

// The selector's list items, in order.
constexpr std::array<const char*, 5> kCarSelItems = {"RacingCar", "FamilyCar", "MotorBike", "KeiTrack", "RoadStar"};

class WindowElements {
 public:
  WindowElements();  // the design-time state of every element

  ElementState& operator[](Element e) { return elements_[static_cast<size_t>(e)].now; }
  const ElementState& operator[](Element e) const { return elements_[static_cast<size_t>(e)].now; }
  const ElementState& Painted(Element e) const { return elements_[static_cast<size_t>(e)].painted; }
  ElementState& PaintedForEdit(Element e) { return elements_[static_cast<size_t>(e)].painted; }

  // Copies the current state of one element, or of all of them, to the screen's state.
  void MarkPainted(Element e);
  // Showing or hiding an element takes effect at once, as a child window's does; its
  // text and colour reach the screen only with its next repaint.
  void SetVisible(Element e, bool visible) {
    auto& el = elements_[static_cast<size_t>(e)];
    el.now.visible = el.painted.visible = visible;
  }

 private:
  std::array<WindowElement, kElementCount> elements_;
};

}  // namespace kelto1
