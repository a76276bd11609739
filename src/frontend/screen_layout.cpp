// The window's layout table and the fonts it names.
#include "frontend/screen_layout.h"

#include <array>
#include <cmath>

namespace kelto1 {

namespace {

using enum Element;
constexpr uint32_t kBlack = colors::kBlack;
constexpr uint32_t kSign = colors::kSignGreen;

// Captions are drawn on the window itself, so every box lies over them; the banners
// lie over the view and the logo over the banners.
constexpr std::array<ElementLayout, 21> kLayout = {{
    // element   kind             x    y    w    h    font                     align          background
    {SCORElab1, ElementKind::Caption, {  0,   0,  97,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "HIGHEST_RANK"
    {SCORElab0, ElementKind::Caption, {  0,  56,  81,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "SPEED"
    {Label3,    ElementKind::Caption, { 56,  80,  57,  17}, Face::FixedSys13_5,     Align::Left,   kBlack},  // "km/h"
    {SCORElab4, ElementKind::Caption, {  0, 120,  81,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "CONDITION"
    {SCORElab3, ElementKind::Caption, {  0, 176,  73,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "RANK"
    {Label2,    ElementKind::Fill,    {  4, 232,  89,  57}, Face::None,             Align::Left,   kSign},  // the road sign
    {SCORElab2, ElementKind::Caption, {  0, 296,  73,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "TIME"
    {Spdlbl,    ElementKind::Caption, {  2, 336,  57,  25}, Face::Dialog,           Align::Left,   kBlack},  // "速度調整(WAIT)"
    {SCORElab5, ElementKind::Caption, {  0, 424,  73,  17}, Face::FixedSys9,        Align::Left,   kBlack},  // "Ver1.5"
    {HighSc,    ElementKind::TextBox, {  0,  16,  57,  18}, Face::FixedSys13_5,     Align::Right,  kBlack},
    {Text1,     ElementKind::TextBox, {  0,  72,  49,  27}, Face::PGothic18,        Align::Right,  kBlack},
    {HitP,      ElementKind::TextBox, {  0, 136,  89,  25}, Face::Gothic18,         Align::Centre, kBlack},
    {Rank,      ElementKind::TextBox, { 48, 168,  41,  25}, Face::PGothic15_75Bold, Align::Left,   kBlack},
    {CarSel,    ElementKind::Combo,   {  8, 200,  81,  20}, Face::Dialog,           Align::Left,   kBlack},
    {CityDisp,  ElementKind::TextBox, {  4, 256,  89,  33}, Face::PGothic12Bold,    Align::Centre, kSign},
    {Mtime,     ElementKind::TextBox, {  0, 312,  49,  18}, Face::FixedSys13_5,     Align::Left,   kBlack},
    {Gamewait,  ElementKind::EditBox, {  0, 360,  57,  18}, Face::Dialog,           Align::Right,  kBlack},
    {Display,   ElementKind::View,    {118,   0, kViewWidth, kViewHeight}, Face::None,             Align::Left,   kBlack},
    {GETREADY,  ElementKind::TextBox, {248, 192, 241,  16}, Face::PMincho11_25Bold, Align::Centre, kBlack},
    {COMMENT,   ElementKind::TextBox, {120, 216, 497,  16}, Face::PMincho11_25Bold, Align::Centre, kBlack},
    {GameTitle, ElementKind::Logo,    {160, 130, 391,  48}, Face::None,             Align::Left,   colors::kGrey},
}};

constexpr std::array<FontSpec, static_cast<size_t>(Face::Count)> kFonts = {{
    {Face::None, "", 0, false},
    {Face::Dialog, "ＭＳ Ｐゴシック", 9, false},
    {Face::FixedSys9, "FixedSys", 9, false},
    {Face::FixedSys13_5, "FixedSys", 13.5, false},
    {Face::PGothic18, "ＭＳ Ｐゴシック", 18, false},
    {Face::PGothic15_75Bold, "ＭＳ Ｐゴシック", 15.75, true},
    {Face::PGothic12Bold, "ＭＳ Ｐゴシック", 12, true},
    {Face::Gothic18, "ＭＳ ゴシック", 18, false},
    {Face::PMincho11_25Bold, "ＭＳ Ｐ明朝", 11.25, true},
}};

constexpr int kComboButtonWidth = 16;

}  // namespace

std::span<const ElementLayout> ScreenLayout() { return kLayout; }

const ElementLayout& LayoutOf(Element e) {
  for (const ElementLayout& l : kLayout)
    if (l.element == e) return l;
  return kLayout.back();  // every element has a row; this is never reached
}

const FontSpec& FontOf(Face face) { return kFonts[static_cast<size_t>(face)]; }

int PixelSize(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

Rect TextArea(const ElementLayout& layout) {
  const Rect& r = layout.rect;
  if (layout.kind == ElementKind::Caption) return r;
  int right = r.Right() - kTextMargin;
  if (layout.kind == ElementKind::Combo) right -= kComboButtonWidth;
  return {r.x + kTextMargin, r.y, right - r.x - kTextMargin, r.h};
}

int TextLeft(const ElementLayout& layout, int text_width) {
  const Rect area = TextArea(layout);
  switch (layout.align) {
    case Align::Left: return area.x;
    case Align::Right: return area.Right() - text_width;
    case Align::Centre: return area.x + (area.w - text_width) / 2;
  }
  return area.x;
}

Rect ComboButton() {
  const Rect& r = LayoutOf(Element::CarSel).rect;
  return {r.Right() - kComboButtonWidth - 1, r.y + 1, kComboButtonWidth, r.h - 2};
}

Rect ComboListItem(int index, int item_height) {
  const Rect& r = LayoutOf(Element::CarSel).rect;
  return {r.x + 1, r.Bottom() + 1 + index * item_height, r.w - 2, item_height};
}

Rect ComboList(int item_count, int item_height) {
  const Rect& r = LayoutOf(Element::CarSel).rect;
  return {r.x, r.Bottom(), r.w, item_count * item_height + 2};
}

}  // namespace kelto1
