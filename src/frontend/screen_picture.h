// The picture the window shows, made from what the game last painted: every element's
// painted state, the view as it was at its last repaint, and the boxes' caret and list.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/shown_window.h"
#include "frontend/screen_layout.h"
#include "frontend/text_painter.h"

namespace kelto1 {

// What the edit boxes add to the picture.
struct BoxView {
  std::optional<Element> focus;  // none: no box has the keyboard
  size_t caret = 0;
  bool caret_on = false;
  bool list_open = false;
  int list_highlight = -1;

  bool operator==(const BoxView&) const = default;
};

// What the front end itself shows over the game's picture.
struct Overlay {
  bool paused = false;  // "PAUSED" over the view
  // One dim line below the title screen's texts (the keys to know, or how the replay
  // went), shown only while the title screen is.
  std::string title_line;
  // A table over the view (the records), its first line a heading; the line picked is
  // drawn highlighted (-1: none).
  std::vector<std::string> panel;
  int panel_pick = -1;

  bool operator==(const Overlay&) const = default;
};

// Where the front end's own lines go: over the view's middle, and below the title
// screen's notice, clear of the game's texts.
constexpr Rect kPausedRect{248, 280, 241, 16};
constexpr Rect kTitleLineRect{120, 240, 497, 16};
constexpr uint32_t kTitleLineColor = 0x909090;
// The records table lies over the view, clear of the readouts.
constexpr Rect kPanelRect{120, 24, 508, 528};
// The face of the records table's lines.
constexpr Face kPanelFace = Face::PMincho11_25Bold;

// A part of the picture that the last compose changed, for a front end that keeps the
// picture on the screen's side and sends it only what changed: rect.h rows of rect.w
// pixels, the first at `first`, each `stride` pixels after the one before.
struct PicturePatch {
  Rect rect;
  const uint32_t* first;
  int stride;
};

class ScreenPicture {
 public:
  ScreenPicture();

  // A repaint of the game: takes the view's image at this moment, and notes which
  // elements are on screen now.
  void Repainted(const ShownWindow& shown, Element which);
  // Draws the picture. When only the view and boxes that nothing lies over have been
  // repainted since the last time, only they (and what lies over the view) are drawn
  // again.
  void Compose(const ShownWindow& shown, const BoxView& boxes, TextPainter& text, const Overlay& overlay = {});

  // The whole picture as last composed.
  const Picture& picture();
  // What the last compose changed, valid until the next repaint: the whole picture, or
  // during a race only the view (taken straight from the view's copy, which saves drawing
  // it into the picture first) and the readouts that changed.
  const std::vector<PicturePatch>& changes() const { return changes_; }
  // The screen lost what it was sent: the next compose draws and reports everything.
  void ChangeAll() { all_changed_ = true; }
  bool OnScreen(Element e) const { return shown_[static_cast<size_t>(e)]; }

 private:
  void Start(const ShownWindow& shown);
  void DrawElement(const ElementLayout& layout, const ShownWindow& shown, const BoxView& boxes, TextPainter& text);
  void DrawOverlay(const Overlay& overlay, TextPainter& text);
  void DrawPanel(const Overlay& overlay, TextPainter& text);
  static bool RedrawnAlone(Element e);
  // Whether anything on screen is drawn over the view.
  bool AnythingOverView() const;
  // Puts the view into the picture where a compose left it out.
  void FreshenView();
  void AddPatch(const Picture& from, int from_x, int from_y, const Rect& at);

  Picture canvas_;
  Picture view_;
  std::array<bool, kElementCount> shown_{};
  bool started_ = false;
  // What changed since the last compose: everything, the view, single boxes.
  bool all_changed_ = true;
  bool view_changed_ = false;
  std::array<bool, kElementCount> boxes_changed_{};
  BoxView last_boxes_;
  Overlay last_overlay_;
  // The picture's view rectangle is older than view_: the screen got the view from it.
  bool view_left_out_ = false;
  std::vector<PicturePatch> changes_;
};

// Where a box's text starts: its alignment, and for the box being typed into, moved
// along so that the caret stays inside the box.
int BoxTextLeft(const ElementLayout& layout, const std::string& text, const size_t* caret, TextPainter& painter);
// The caption's text broken into lines that fit its width: between Japanese characters,
// at blanks, and before an opening bracket.
std::vector<std::string> WrapCaption(const std::string& text, int width, Face face, TextPainter& painter);
// The height of one item of the selector's list.
int ComboItemHeight(TextPainter& painter);
// The height of one line of the records table, and where its line `line` is drawn (the
// first is its heading). A point in the picture lies on line PanelLineAt(x, y, height),
// or on none (-1): outside the rows or past the last that fits in the table.
int PanelLineHeight(TextPainter& painter);
Rect PanelRow(int line, int line_height);
int PanelLineAt(int x, int y, int line_height);

void FillRect(Picture& canvas, const Rect& r, uint32_t color);

}  // namespace kelto1
