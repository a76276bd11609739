// The window's layout as data: where each element sits, its font, alignment and
// background, in the client pixels of the 630 x 576 picture the front end draws.
#pragma once

#include <cstdint>
#include <span>

#include "platform/shown_window.h"
#include "platform/window_elements.h"

namespace kelto1 {

constexpr int kScreenWidth = 630;   // the readout strip and the view
constexpr int kScreenHeight = 576;
constexpr int kViewLeft = 118;

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
};

// The fonts the layout names, each with the size and weight it is asked for in.
enum class Face : uint8_t {
  None,
  Dialog,            // the system's dialog font, for the boxes that name none
  FixedSys9,         // "FixedSys" 9
  FixedSys13_5,      // "FixedSys" 13.5
  PGothic18,         // "ＭＳ Ｐゴシック" 18
  PGothic15_75Bold,  // "ＭＳ Ｐゴシック" 15.75 bold
  PGothic12Bold,     // "ＭＳ Ｐゴシック" 12 bold
  Gothic18,          // "ＭＳ ゴシック" 18
  PMincho11_25Bold,  // "ＭＳ Ｐ明朝" 11.25 bold
  Count,
};

struct FontSpec {
  Face face;
  const char* name;  // as the layout names it
  double points;
  bool bold;
};

enum class ElementKind : uint8_t {
  TextBox,   // one line of text on its own background
  EditBox,   // a text box the player types into
  Combo,     // the editable drop-down list
  Caption,   // text straight on the window, wrapped at its width
  Fill,      // a filled rectangle without text
  View,      // the Display picture
  Logo,      // the GameTitle picture, at its painted position
};

enum class Align : uint8_t { Left, Centre, Right };

struct ElementLayout {
  Element element;
  ElementKind kind;
  Rect rect;
  Face face;
  Align align;
  uint32_t background;
};

// Every element, back to front: later entries are drawn over earlier ones.
std::span<const ElementLayout> ScreenLayout();
const ElementLayout& LayoutOf(Element e);
const FontSpec& FontOf(Face face);
// Points at 96 dots per inch, in whole pixels.
int PixelSize(double points);

// Space kept between a box's edge and its text.
constexpr int kTextMargin = 2;

// The part of a box its text may use: the box less its margins (and less the
// selector's arrow button); a caption's whole rectangle.
Rect TextArea(const ElementLayout& layout);
// Where text of this width starts in a box or caption of this layout.
int TextLeft(const ElementLayout& layout, int text_width);

// The selector's parts: its arrow button and the list it drops.
Rect ComboButton();
Rect ComboListItem(int index, int item_height);
Rect ComboList(int item_count, int item_height);

}  // namespace kelto1
