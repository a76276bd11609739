// Typing into the frame-delay box and the vehicle selector.
#include "sdl/edit_boxes.h"

#include <cstdlib>

#include "sdl/line_edit.h"
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

constexpr int kItems = static_cast<int>(kCarSelItems.size());

bool Editable(Element e) { return e == Element::Gamewait || e == Element::CarSel; }

bool Shown(const Kelto1& game, Element e) { return game.window.Painted(e).visible; }

}  // namespace

int CarSelItemIndex(const std::string& text) {
  for (int i = 0; i < kItems; ++i)
    if (text == kCarSelItems[i]) return i;
  return -1;
}

BoxView EditBoxes::View(bool caret_on) const {
  BoxView v;
  v.focus = focus_;
  v.caret = caret_;
  v.caret_on = caret_on && focus_ != Element::Count;
  v.list_open = list_open_;
  v.list_highlight = highlight_;
  return v;
}

void EditBoxes::Follow(const Kelto1& game) {
  if (focus_ != Element::Count && !Shown(game, focus_)) focus_ = Element::Count;
  if (list_open_ && !Shown(game, Element::CarSel)) list_open_ = false;
}

bool EditBoxes::Deliver(const WindowMessage& m, Kelto1& game) {
  Follow(game);
  switch (m.type) {
    case WindowMessage::Type::MouseDown: return Click(m.x, m.y, game);
    case WindowMessage::Type::KeyDown: return Key(m, game);
    case WindowMessage::Type::Char: return Type(m.text, game);
    case WindowMessage::Type::KeyUp: return false;
  }
  return false;
}

bool EditBoxes::PointerAt(int x, int y) {
  if (!list_open_) return false;
  const int item = ItemAt(x, y);
  if (item < 0 || item == highlight_) return false;
  highlight_ = item;
  return true;
}

int EditBoxes::ItemAt(int x, int y) {
  const int height = ComboItemHeight(painter_);
  for (int i = 0; i < kItems; ++i)
    if (ComboListItem(i, height).Contains(x, y)) return i;
  return -1;
}

bool EditBoxes::Click(int x, int y, Kelto1& game) {
  if (list_open_) {
    // A click while the list is down only closes it, choosing the item it lands on.
    list_open_ = false;
    const int item = ItemAt(x, y);
    if (item >= 0) Choose(item, game);
    return true;
  }
  const Element before = focus_;
  if (Shown(game, Element::Gamewait) && LayoutOf(Element::Gamewait).rect.Contains(x, y)) {
    Focus(Element::Gamewait, game);
    CaretAt(x, game);
    return true;
  }
  if (Shown(game, Element::CarSel) && ComboButton().Contains(x, y)) {
    Focus(Element::CarSel, game);
    list_open_ = true;
    highlight_ = CarSelItemIndex(game.window[Element::CarSel].text);
    return true;
  }
  if (Shown(game, Element::CarSel) && LayoutOf(Element::CarSel).rect.Contains(x, y)) {
    Focus(Element::CarSel, game);
    CaretAt(x, game);
    return true;
  }
  return focus_ != before;
}

void EditBoxes::Focus(Element box, const Kelto1& game) {
  if (focus_ == box) return;
  focus_ = box;
  caret_ = game.window[box].text.size();
}

void EditBoxes::CaretAt(int x, const Kelto1& game) {
  const ElementLayout& layout = LayoutOf(focus_);
  const std::string& text = game.window[focus_].text;
  const int left = BoxTextLeft(layout, text, &caret_, painter_);
  size_t best = 0;
  int best_distance = std::abs(x - left);
  for (size_t at = NextCharacter(text, 0); at <= text.size(); at = NextCharacter(text, at)) {
    const int distance = std::abs(x - (left + painter_.Width(layout.face, text.substr(0, at))));
    if (distance < best_distance) {
      best = at;
      best_distance = distance;
    }
    if (at == text.size()) break;
  }
  caret_ = best;
}

bool EditBoxes::Key(const WindowMessage& m, Kelto1& game) {
  if (!Editable(focus_)) return false;
  if (m.key == EditKey::Tab) {
    const Element other = focus_ == Element::Gamewait ? Element::CarSel : Element::Gamewait;
    if (!Shown(game, other)) return false;
    list_open_ = false;
    Focus(other, game);
    return true;
  }
  if (focus_ == Element::CarSel && (m.key == EditKey::Up || m.key == EditKey::Down)) {
    const int now = CarSelItemIndex(game.window[Element::CarSel].text);
    int next = now < 0 ? 0 : now + (m.key == EditKey::Down ? 1 : -1);
    if (next < 0 || next >= kItems) return false;
    return Choose(next, game);
  }
  if (m.key == EditKey::Enter) {
    const bool was_open = list_open_;
    list_open_ = false;
    return was_open;
  }
  LineEdit edit{game.window[focus_].text, caret_};
  switch (m.key) {
    case EditKey::Backspace: edit.Backspace(); break;
    case EditKey::Delete: edit.Delete(); break;
    case EditKey::Left: edit.Left(); break;
    case EditKey::Right: edit.Right(); break;
    case EditKey::Home: edit.Home(); break;
    case EditKey::End: edit.End(); break;
    default: return Type(m.text, game);
  }
  caret_ = edit.caret;
  if (edit.text != game.window[focus_].text) SetText(edit.text, game);
  return true;
}

bool EditBoxes::Type(const std::string& text, Kelto1& game) {
  if (!Editable(focus_) || text.empty()) return false;
  LineEdit edit{game.window[focus_].text, caret_};
  edit.Insert(text);
  caret_ = edit.caret;
  if (edit.text == game.window[focus_].text) return false;
  SetText(edit.text, game);
  return true;
}

bool EditBoxes::Choose(int item, Kelto1& game) {
  highlight_ = item;
  Focus(Element::CarSel, game);
  SetText(kCarSelItems[item], game);
  caret_ = game.window[Element::CarSel].text.size();
  return true;
}

void EditBoxes::SetText(const std::string& text, Kelto1& game) {
  game.window[focus_].text = text;
  if (focus_ == Element::CarSel) {
    game.CarSel_Change();  // repaints the selector
    return;
  }
  game.window.PaintedForEdit(focus_).text = text;
}

}  // namespace kelto1
