// Composing the window's picture from the painted states of the game's elements.
#include "frontend/screen_picture.h"

#include <algorithm>


namespace kelto1 {

namespace {

constexpr uint32_t kFrameGrey = 0x808080;
constexpr uint32_t kButtonFace = colors::kGrey;
constexpr uint32_t kListHighlight = 0x000080;

size_t Index(Element e) { return static_cast<size_t>(e); }

// The elements that lie over the view: a repaint of the view wipes those that have
// been hidden since they were last painted.
constexpr std::array<Element, 3> kOverView = {Element::GETREADY, Element::COMMENT, Element::GameTitle};

Rect Intersect(const Rect& a, const Rect& b) {
  const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
  const int x1 = std::min(a.Right(), b.Right()), y1 = std::min(a.Bottom(), b.Bottom());
  return {x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void FrameRect(Picture& canvas, const Rect& r, uint32_t top_left, uint32_t bottom_right) {
  FillRect(canvas, {r.x, r.y, r.w, 1}, top_left);
  FillRect(canvas, {r.x, r.y, 1, r.h}, top_left);
  FillRect(canvas, {r.x, r.Bottom() - 1, r.w, 1}, bottom_right);
  FillRect(canvas, {r.Right() - 1, r.y, 1, r.h}, bottom_right);
}

void DrawComboButton(Picture& canvas) {
  const Rect b = ComboButton();
  FillRect(canvas, b, kButtonFace);
  FrameRect(canvas, b, colors::kWhite, kFrameGrey);
  // A small arrow pointing down, in the middle of the button.
  const int cx = b.x + b.w / 2, cy = b.y + b.h / 2 - 1;
  for (int row = 0; row < 4; ++row) FillRect(canvas, {cx - 3 + row, cy + row - 1, 7 - 2 * row, 1}, colors::kBlack);
}

bool IsWide(uint32_t code_point) { return code_point >= 0x2E80; }

// Splits a caption into pieces that may not be broken: a run of narrow characters, one
// wide character, a blank; an opening bracket starts a new piece.
std::vector<std::string> CaptionPieces(const std::string& text) {
  std::vector<std::string> pieces;
  size_t i = 0;
  bool last_narrow_run = false;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    len = std::min(len, text.size() - i);
    uint32_t cp = c;
    if (len == 3) cp = ((c & 0x0Fu) << 12) | ((text[i + 1] & 0x3Fu) << 6) | (text[i + 2] & 0x3Fu);
    if (len == 4) cp = 0x10000;
    const std::string ch = text.substr(i, len);
    const bool narrow = !IsWide(cp) && ch != " " && ch != "(";
    if (narrow && last_narrow_run) {
      pieces.back() += ch;
    } else {
      pieces.push_back(ch);
    }
    last_narrow_run = narrow || ch == "(";
    i += len;
  }
  return pieces;
}

}  // namespace

void FillRect(Picture& canvas, const Rect& r, uint32_t color) {
  const Rect c = Intersect(r, {0, 0, canvas.width(), canvas.height()});
  for (int y = c.y; y < c.Bottom(); ++y) std::fill_n(canvas.Row(y) + c.x, c.w, color);
}

int BoxTextLeft(const ElementLayout& layout, const std::string& text, const size_t* caret, TextPainter& painter) {
  const int width = painter.Width(layout.face, text);
  const Rect area = TextArea(layout);
  int left = TextLeft(layout, width);
  if (width > area.w) left = area.x;  // a text too long for its box shows its start
  if (!caret) return left;
  const int caret_x = left + painter.Width(layout.face, text.substr(0, std::min(*caret, text.size())));
  if (caret_x > area.Right() - 1) left -= caret_x - (area.Right() - 1);
  if (caret_x < area.x) left += area.x - caret_x;
  return left;
}

std::vector<std::string> WrapCaption(const std::string& text, int width, Face face, TextPainter& painter) {
  std::vector<std::string> lines(1);
  for (const std::string& piece : CaptionPieces(text)) {
    std::string longer = lines.back() + piece;
    if (lines.back().empty() || painter.Width(face, longer) <= width) {
      lines.back() = std::move(longer);
    } else if (piece != " ") {
      lines.push_back(piece);
    }
  }
  for (std::string& line : lines)
    while (!line.empty() && line.back() == ' ') line.pop_back();
  return lines;
}

int ComboItemHeight(TextPainter& painter) { return painter.LineHeight(Face::Dialog) + 2; }

namespace {
// The table's black inside its grey frame, and the rows' inset into it.
constexpr Rect kPanelInside{kPanelRect.x + 2, kPanelRect.y + 2, kPanelRect.w - 4, kPanelRect.h - 4};
constexpr int kPanelTop = 6;
constexpr int kPanelRowInset = 4;
}  // namespace

int PanelLineHeight(TextPainter& painter) { return painter.LineHeight(kPanelFace) + 4; }

Rect PanelRow(int line, int line_height) {
  return {kPanelInside.x + kPanelRowInset, kPanelInside.y + kPanelTop + line * line_height,
          kPanelInside.w - 2 * kPanelRowInset, line_height};
}

int PanelLineAt(int x, int y, int line_height) {
  if (line_height <= 0) return -1;
  const Rect first = PanelRow(0, line_height);
  if (x < first.x || x >= first.Right() || y < first.y) return -1;
  const int line = (y - first.y) / line_height;
  // Only whole lines are drawn: none past the table's bottom.
  if (PanelRow(line, line_height).Bottom() > kPanelInside.Bottom()) return -1;
  return line;
}

ScreenPicture::ScreenPicture() : canvas_(kScreenWidth, kScreenHeight), view_(kViewWidth, kViewHeight) {}

void ScreenPicture::Start(const ShownWindow& shown) {
  if (started_) return;
  for (int i = 0; i < kElementCount; ++i) shown_[i] = shown.elements.Painted(static_cast<Element>(i)).visible;
  view_.CopyImageFrom(shown.view);
  started_ = true;
}

void ScreenPicture::Repainted(const ShownWindow& shown, Element which) {
  Start(shown);
  if (which == Element::Window) {
    all_changed_ = true;
    for (int i = 0; i < kElementCount; ++i) shown_[i] = shown.elements.Painted(static_cast<Element>(i)).visible;
    view_.CopyImageFrom(shown.view);
    return;
  }
  const bool was_shown = shown_[Index(which)];
  shown_[Index(which)] = shown.elements.Painted(which).visible;
  if (which != Element::Display) {
    // A box that stays on screen and that nothing lies over is drawn again alone; any
    // other change (a caption, something shown or hidden) redraws everything.
    const Rect over_view = Intersect(LayoutOf(which).rect, LayoutOf(Element::Display).rect);
    if (was_shown != shown_[Index(which)]) all_changed_ = true;
    else if (over_view.w > 0 && over_view.h > 0) view_changed_ = true;  // drawn again with the view
    else if (RedrawnAlone(which)) boxes_changed_[Index(which)] = true;
    else all_changed_ = true;
    return;
  }
  view_changed_ = true;
  view_.CopyImageFrom(shown.view);
  for (Element e : kOverView)
    if (!shown.elements[e].visible) shown_[Index(e)] = false;
}

bool ScreenPicture::RedrawnAlone(Element e) {
  const ElementLayout& mine = LayoutOf(e);
  if (mine.kind != ElementKind::TextBox && mine.kind != ElementKind::EditBox && mine.kind != ElementKind::Combo)
    return false;
  // Boxes fill their whole rectangle, hiding what lies under them; what is drawn after
  // them must not reach into it.
  bool after = false;
  for (const ElementLayout& other : ScreenLayout()) {
    if (after && Intersect(other.rect, mine.rect).w > 0 && Intersect(other.rect, mine.rect).h > 0) return false;
    after |= other.element == e;
  }
  return true;
}

bool ScreenPicture::AnythingOverView() const {
  const Rect view = LayoutOf(Element::Display).rect;
  bool over = false;
  for (const ElementLayout& layout : ScreenLayout()) {
    if (over && OnScreen(layout.element) &&
        (layout.kind == ElementKind::Logo || (Intersect(layout.rect, view).w > 0 && Intersect(layout.rect, view).h > 0)))
      return true;
    over |= layout.element == Element::Display;
  }
  return false;
}

void ScreenPicture::FreshenView() {
  if (!view_left_out_) return;
  const Rect r = LayoutOf(Element::Display).rect;
  BitBlt(canvas_, r.x, r.y, r.w, r.h, view_, 0, 0, RasterOp::SRCCOPY);
  view_left_out_ = false;
}

const Picture& ScreenPicture::picture() {
  FreshenView();
  return canvas_;
}

void ScreenPicture::AddPatch(const Picture& from, int from_x, int from_y, const Rect& at) {
  // A picture's rows are a ring: one patch for each run of rows that follow one another
  // in memory.
  const size_t width = static_cast<size_t>(from.width());
  for (int y = 0; y < at.h;) {
    const uint32_t* first = from.Row(from_y + y) + from_x;
    int rows = 1;
    while (y + rows < at.h && from.Row(from_y + y + rows) == first - from_x + width * static_cast<size_t>(rows)) ++rows;
    changes_.push_back({{at.x, at.y + y, at.w, rows}, first, from.width()});
    y += rows;
  }
}

void ScreenPicture::Compose(const ShownWindow& shown, const BoxView& boxes, TextPainter& text,
                            const Overlay& overlay) {
  Start(shown);
  const bool all = all_changed_ || !(boxes == last_boxes_) || !(overlay == last_overlay_);
  const bool view = view_changed_;
  const std::array<bool, kElementCount> changed_boxes = boxes_changed_;
  all_changed_ = view_changed_ = false;
  boxes_changed_ = {};
  last_boxes_ = boxes;
  last_overlay_ = overlay;
  changes_.clear();
  const Picture& canvas = canvas_;
  const bool list_open = boxes.list_open && OnScreen(Element::CarSel);
  const bool overlaid = !overlay.panel.empty() || overlay.paused ||
                        (!overlay.title_line.empty() && OnScreen(Element::GameTitle));
  if (!all && !list_open && !overlaid && (!view || !AnythingOverView())) {
    // A race's frame: the readouts that changed are drawn, and the view goes to the
    // screen from its copy without being drawn into the picture.
    for (const ElementLayout& layout : ScreenLayout()) {
      if (!changed_boxes[Index(layout.element)] || !OnScreen(layout.element)) continue;
      DrawElement(layout, shown, boxes, text);
      const Rect r = Intersect(layout.rect, {0, 0, canvas_.width(), canvas_.height()});
      AddPatch(canvas, r.x, r.y, r);
    }
    if (view) {
      view_left_out_ = true;
      AddPatch(view_, 0, 0, LayoutOf(Element::Display).rect);
    }
    return;
  }
  FreshenView();
  AddPatch(canvas, 0, 0, {0, 0, canvas_.width(), canvas_.height()});
  if (all) {
    canvas_.Clear();
    for (const ElementLayout& layout : ScreenLayout())
      if (OnScreen(layout.element)) DrawElement(layout, shown, boxes, text);
  } else {
    for (const ElementLayout& layout : ScreenLayout())
      if (changed_boxes[Index(layout.element)] && OnScreen(layout.element)) DrawElement(layout, shown, boxes, text);
  }
  if (!all && view) {
    // Only the view changed: it covers whatever lies under it, so it and what is drawn
    // after it over its rectangle are enough.
    const Rect view = LayoutOf(Element::Display).rect;
    bool over = false;
    for (const ElementLayout& layout : ScreenLayout()) {
      over |= layout.element == Element::Display;
      const Rect& r = layout.rect;
      const bool touches = r.x < view.Right() && view.x < r.Right() && r.y < view.Bottom() && view.y < r.Bottom();
      if (over && OnScreen(layout.element) && (touches || layout.kind == ElementKind::Logo))
        DrawElement(layout, shown, boxes, text);
    }
  }
  DrawOverlay(overlay, text);
  if (!boxes.list_open || !OnScreen(Element::CarSel)) return;
  const int item_height = ComboItemHeight(text);
  const Rect list = ComboList(static_cast<int>(kCarSelItems.size()), item_height);
  FillRect(canvas_, list, colors::kBlack);
  FrameRect(canvas_, list, kFrameGrey, kFrameGrey);
  const uint32_t ink = shown.elements.Painted(Element::CarSel).color;
  for (int i = 0; i < static_cast<int>(kCarSelItems.size()); ++i) {
    const Rect item = ComboListItem(i, item_height);
    const bool lit = i == boxes.list_highlight;
    if (lit) FillRect(canvas_, item, kListHighlight);
    text.Draw(canvas_, item, Face::Dialog, kCarSelItems[i], lit ? colors::kWhite : ink, item.x + kTextMargin,
              item.y + 1);
  }
}

void ScreenPicture::DrawElement(const ElementLayout& layout, const ShownWindow& shown, const BoxView& boxes,
                                TextPainter& text) {
  const ElementState& state = shown.elements.Painted(layout.element);
  const Rect& r = layout.rect;
  switch (layout.kind) {
    case ElementKind::Fill:
      FillRect(canvas_, r, state.color);
      break;
    case ElementKind::View:
      BitBlt(canvas_, r.x, r.y, r.w, r.h, view_, 0, 0, RasterOp::SRCCOPY);
      break;
    case ElementKind::Logo:
      BitBlt(canvas_, state.left, state.top, shown.logo.width(), shown.logo.height(), shown.logo, 0, 0,
             RasterOp::SRCCOPY);
      break;
    case ElementKind::Caption: {
      const int line_height = text.LineHeight(layout.face);
      int y = r.y;
      for (const std::string& line : WrapCaption(state.text, r.w, layout.face, text)) {
        text.Draw(canvas_, r, layout.face, line, state.color, r.x, y);
        y += line_height;
      }
      break;
    }
    case ElementKind::TextBox:
    case ElementKind::EditBox:
    case ElementKind::Combo: {
      FillRect(canvas_, r, layout.background);
      const bool typing = boxes.focus == layout.element;
      const Rect area = TextArea(layout);
      const int line_height = text.LineHeight(layout.face);
      const int y = r.y + (r.h - line_height) / 2;
      const int left = BoxTextLeft(layout, state.text, typing ? &boxes.caret : nullptr, text);
      text.Draw(canvas_, Intersect(r, {area.x - 1, r.y, area.w + 2, r.h}), layout.face, state.text, state.color, left,
                y);
      if (typing && boxes.caret_on) {
        const size_t caret = std::min(boxes.caret, state.text.size());
        const int x = left + text.Width(layout.face, state.text.substr(0, caret));
        FillRect(canvas_, Intersect({x, y, 1, line_height}, r), state.color);
      }
      if (layout.kind != ElementKind::TextBox) FrameRect(canvas_, r, kFrameGrey, kFrameGrey);
      if (layout.kind == ElementKind::Combo) DrawComboButton(canvas_);
      break;
    }
  }
}

void ScreenPicture::DrawPanel(const Overlay& overlay, TextPainter& text) {
  // Black over the view, framed in grey, the heading in white and the races in the
  // readouts' light yellow; the race picked stands out in light cyan on dark blue.
  FillRect(canvas_, kPanelRect, 0x808080);
  FillRect(canvas_, kPanelInside, colors::kBlack);
  const Face face = kPanelFace;
  const int line_height = PanelLineHeight(text);
  // Cells are separated by tabs. Each column starts a gap after the widest cell of the
  // column before it, counting only the lines that fill every column (the heading and the
  // races), so the table lines up in any face and a long line of help spans the columns.
  const auto cells = [](const std::string& words) {
    std::vector<std::string> out;
    for (size_t start = 0;;) {
      const size_t tab = words.find('\t', start);
      out.push_back(words.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
      if (tab == std::string::npos) return out;
      start = tab + 1;
    }
  };
  constexpr int kGap = 8;
  size_t columns = 0;
  for (const std::string& line : overlay.panel) columns = std::max(columns, cells(line).size());
  std::vector<int> widths(columns, 0);
  for (const std::string& line : overlay.panel) {
    const std::vector<std::string> row = cells(line);
    if (row.size() != columns) continue;
    for (size_t c = 0; c < columns; ++c) widths[c] = std::max(widths[c], text.Width(face, row[c]));
  }
  std::vector<int> starts(columns, 0);
  for (size_t c = 1; c < columns; ++c) starts[c] = starts[c - 1] + widths[c - 1] + kGap;
  for (size_t i = 0; i < overlay.panel.size(); ++i) {
    const Rect row = PanelRow(static_cast<int>(i), line_height);
    if (row.Bottom() > kPanelInside.Bottom()) break;
    const bool picked = overlay.panel_pick >= 0 && static_cast<size_t>(overlay.panel_pick) + 1 == i;
    const int y = row.y;
    if (picked) FillRect(canvas_, row, 0x000080);
    const uint32_t color = i == 0 ? colors::kWhite : picked ? 0xC0FFFF : colors::kLightYellow;
    const std::vector<std::string> line = cells(overlay.panel[i]);
    for (size_t c = 0; c < line.size(); ++c) text.Draw(canvas_, row, face, line[c], color, row.x + 4 + starts[c], y + 2);
  }
}

void ScreenPicture::DrawOverlay(const Overlay& overlay, TextPainter& text) {
  auto line = [&](const Rect& r, const std::string& words, uint32_t color) {
    FillRect(canvas_, r, colors::kBlack);
    const int width = text.Width(Face::PMincho11_25Bold, words);
    const int y = r.y + (r.h - text.LineHeight(Face::PMincho11_25Bold)) / 2;
    text.Draw(canvas_, r, Face::PMincho11_25Bold, words, color, r.x + (r.w - width) / 2, y);
  };
  if (!overlay.panel.empty()) DrawPanel(overlay, text);
  if (overlay.paused) line(kPausedRect, "PAUSED", colors::kLightYellow);
  if (!overlay.title_line.empty() && overlay.panel.empty() && OnScreen(Element::GameTitle))
    line(kTitleLineRect, overlay.title_line, kTitleLineColor);
}

}  // namespace kelto1
