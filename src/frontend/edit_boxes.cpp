// Typing into the frame-delay box and the vehicle selector.
#include "frontend/edit_boxes.h"

#include <cstdlib>
#include <optional>

#include "frontend/line_edit.h"

namespace kelto1 {

namespace {

constexpr int kItems = static_cast<int>(kCarSelItems.size());

bool Editable(std::optional<Element> e) { return e == Element::Gamewait || e == Element::CarSel; }

bool Shown(const BoxTarget& target, Element e) { return target.window.Painted(e).visible; }

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
  v.caret_on = caret_on && focus_.has_value();
  v.list_open = list_open_;
  v.list_highlight = highlight_;
  return v;
}

void EditBoxes::Follow(const BoxTarget& target) {
  if (focus_ && !Shown(target, *focus_)) focus_.reset();
  if (list_open_ && !Shown(target, Element::CarSel)) list_open_ = false;
}

bool EditBoxes::Deliver(const WindowMessage& m, const BoxTarget& target) {
  Follow(target);
  switch (m.type) {
    case WindowMessage::Type::MouseDown: return Click(m.x, m.y, target);
    case WindowMessage::Type::KeyDown: return Key(m, target);
    case WindowMessage::Type::Char: return Type(m.text, target);
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

bool EditBoxes::Click(int x, int y, const BoxTarget& target) {
  if (list_open_) {
    // A click while the list is down only closes it, choosing the item it lands on.
    list_open_ = false;
    const int item = ItemAt(x, y);
    if (item >= 0) Choose(item, target);
    return true;
  }
  const std::optional<Element> before = focus_;
  if (Shown(target, Element::Gamewait) && LayoutOf(Element::Gamewait).rect.Contains(x, y)) {
    Focus(Element::Gamewait, target);
    CaretAt(x, target);
    return true;
  }
  if (Shown(target, Element::CarSel) && ComboButton().Contains(x, y)) {
    Focus(Element::CarSel, target);
    list_open_ = true;
    highlight_ = CarSelItemIndex(target.texts.BoxText(Element::CarSel));
    return true;
  }
  if (Shown(target, Element::CarSel) && LayoutOf(Element::CarSel).rect.Contains(x, y)) {
    Focus(Element::CarSel, target);
    CaretAt(x, target);
    return true;
  }
  return focus_ != before;
}

void EditBoxes::Focus(Element box, const BoxTarget& target) {
  if (focus_ == box) return;
  focus_ = box;
  caret_ = target.texts.BoxText(box).size();
}

void EditBoxes::CaretAt(int x, const BoxTarget& target) {
  const ElementLayout& layout = LayoutOf(*focus_);
  const std::string& text = target.texts.BoxText(*focus_);
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

bool EditBoxes::Key(const WindowMessage& m, const BoxTarget& target) {
  if (!Editable(focus_)) return false;
  if (m.key == EditKey::Tab) {
    const Element other = *focus_ == Element::Gamewait ? Element::CarSel : Element::Gamewait;
    if (!Shown(target, other)) return false;
    list_open_ = false;
    Focus(other, target);
    return true;
  }
  if (focus_ == Element::CarSel && (m.key == EditKey::Up || m.key == EditKey::Down)) {
    const int now = CarSelItemIndex(target.texts.BoxText(Element::CarSel));
    int next = now < 0 ? 0 : now + (m.key == EditKey::Down ? 1 : -1);
    if (next < 0 || next >= kItems) return false;
    return Choose(next, target);
  }
  if (m.key == EditKey::Enter) {
    const bool was_open = list_open_;
    list_open_ = false;
    return was_open;
  }
  LineEdit edit{target.texts.BoxText(*focus_), caret_};
  switch (m.key) {
    case EditKey::Backspace: edit.Backspace(); break;
    case EditKey::Delete: edit.Delete(); break;
    case EditKey::Left: edit.Left(); break;
    case EditKey::Right: edit.Right(); break;
    case EditKey::Home: edit.Home(); break;
    case EditKey::End: edit.End(); break;
    default: return Type(m.text, target);
  }
  caret_ = edit.caret;
  if (edit.text != target.texts.BoxText(*focus_)) SetText(edit.text, target);
  return true;
}

bool EditBoxes::Type(const std::string& text, const BoxTarget& target) {
  if (!Editable(focus_) || text.empty()) return false;
  LineEdit edit{target.texts.BoxText(*focus_), caret_};
  edit.Insert(text);
  caret_ = edit.caret;
  if (edit.text == target.texts.BoxText(*focus_)) return false;
  SetText(edit.text, target);
  return true;
}

bool EditBoxes::Choose(int item, const BoxTarget& target) {
  highlight_ = item;
  Focus(Element::CarSel, target);
  SetText(kCarSelItems[item], target);
  caret_ = target.texts.BoxText(Element::CarSel).size();
  return true;
}

void EditBoxes::SetText(const std::string& text, const BoxTarget& target) { target.texts.BoxTyped(*focus_, text); }

}  // namespace kelto1
