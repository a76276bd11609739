// The window's picture: only what the game painted, each element where the layout puts it.
#include "frontend/screen_picture.h"

#include <gtest/gtest.h>

#include "fake_text_painter.h"
#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

class ScreenPictureTest : public ::testing::Test {
 protected:
  // A repaint as the game makes it: the element's state goes on screen.
  void Repaint(Element e) {
    game.window.MarkPainted(e);
    screen.Repainted(game.Shown(), e);
  }
  uint32_t At(int x, int y) {
    screen.Compose(game.Shown(), BoxView{}, text);
    return screen.picture().At(x, y);
  }
  bool InkIn(const Rect& r, uint32_t color) {
    screen.Compose(game.Shown(), BoxView{}, text);
    for (int y = r.y; y < r.Bottom(); ++y)
      for (int x = r.x; x < r.Right(); ++x)
        if (screen.picture().At(x, y) == color) return true;
    return false;
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
  ScreenPicture screen;
  testing::FakeTextPainter text;
};

TEST_F(ScreenPictureTest, TheRoadSignIsGreenBehindThePlaceName) {
  game.window[Element::CityDisp].text = "新宿";
  Repaint(Element::Window);
  EXPECT_EQ(At(10, 240), colors::kSignGreen);  // the sign above the name's box
  EXPECT_EQ(At(6, 286), colors::kSignGreen);   // the name's own box, same green
  EXPECT_EQ(At(3, 240), colors::kBlack);       // left of the sign
  // "新宿" is 24 wide in the stand-in font, centred in the box's 85-pixel text area.
  const Rect area = TextArea(LayoutOf(Element::CityDisp));
  EXPECT_TRUE(InkIn({area.x + (area.w - 24) / 2, 256, 24, 33}, colors::kWhite));
}

TEST_F(ScreenPictureTest, TextChangesOnlyAtItsRepaint) {
  Repaint(Element::Window);
  const Rect mtime = LayoutOf(Element::Mtime).rect;
  game.window[Element::Mtime].text = "";
  EXPECT_TRUE(InkIn(mtime, colors::kLightYellow));  // "200" is still what was painted
  Repaint(Element::Mtime);
  EXPECT_FALSE(InkIn(mtime, colors::kLightYellow));
}

TEST_F(ScreenPictureTest, ReadoutsSitInTheirBoxesWithTheirAlignment) {
  game.window[Element::HighSc].text = "12";   // right
  game.window[Element::Rank].text = "30";     // left
  game.window[Element::HitP].text = "700";    // centred
  game.window[Element::HitP].color = colors::kYellow;
  Repaint(Element::Window);
  const Rect high = LayoutOf(Element::HighSc).rect;
  EXPECT_EQ(At(high.Right() - kTextMargin - 1, high.y + high.h / 2), colors::kWhite);
  EXPECT_EQ(At(high.x + kTextMargin, high.y + high.h / 2), colors::kBlack);
  const Rect rank = LayoutOf(Element::Rank).rect;
  EXPECT_EQ(At(rank.x + kTextMargin, rank.y + rank.h / 2), colors::kLightYellow);
  const Rect hitp = LayoutOf(Element::HitP).rect;
  EXPECT_EQ(At(hitp.x + hitp.w / 2, hitp.y + hitp.h / 2), colors::kYellow);
  EXPECT_EQ(At(hitp.x + kTextMargin, hitp.y + hitp.h / 2), colors::kBlack);
}

TEST_F(ScreenPictureTest, TheViewShowsTheImageOfItsLastRepaint) {
  Repaint(Element::Window);
  game.Display.Set(10, 20, 0x123456);
  EXPECT_EQ(At(kViewLeft + 10, 20), colors::kBlack);
  Repaint(Element::Display);
  game.Display.Set(10, 20, 0x654321);  // drawn after the repaint: shows next time
  EXPECT_EQ(At(kViewLeft + 10, 20), 0x123456u);
}

TEST_F(ScreenPictureTest, ThingsHiddenOverTheViewGoWhenTheViewIsRepainted) {
  game.window[Element::GameTitle].visible = true;
  game.window[Element::GETREADY].visible = true;
  game.window[Element::GETREADY].text = "PUSH [Ctrl] TO START";
  Repaint(Element::Window);
  const ElementState& logo = game.window[Element::GameTitle];
  const uint32_t logo_corner = game.GameTitle.At(0, 0);
  EXPECT_EQ(At(logo.left, logo.top), logo_corner);
  const Rect banner = LayoutOf(Element::GETREADY).rect;
  EXPECT_TRUE(InkIn(banner, colors::kLightYellow));

  game.window[Element::GameTitle].visible = false;
  game.window[Element::GETREADY].visible = false;
  Repaint(Element::Mtime);  // a readout's repaint does not uncover the view
  EXPECT_EQ(At(logo.left, logo.top), logo_corner);
  Repaint(Element::Display);
  EXPECT_EQ(At(logo.left, logo.top), colors::kBlack);
  EXPECT_FALSE(InkIn(banner, colors::kLightYellow));
}

TEST_F(ScreenPictureTest, TheLogoStandsAtItsPaintedPlaceOverTheBanners) {
  game.window[Element::COMMENT].visible = true;
  game.window[Element::COMMENT].text = std::string(80, 'x');
  game.window[Element::GameTitle].visible = true;
  game.window[Element::GameTitle].left = 200;
  game.window[Element::GameTitle].top = 210;  // over the notice's line
  Repaint(Element::Window);
  game.window[Element::GameTitle].left = 300;  // not painted yet
  for (int x = 200; x < 200 + 391; x += 50) EXPECT_EQ(At(x, 222), game.GameTitle.At(x - 200, 12));
}

TEST_F(ScreenPictureTest, AViewOnlyRepaintDrawsWhatAWholeOneWould) {
  game.window[Element::GameTitle].visible = true;
  game.window[Element::GETREADY].visible = true;
  game.window[Element::GETREADY].text = "PLAYER 1 GET READY";
  Repaint(Element::Window);
  ScreenPicture whole;
  whole.Repainted(game.Shown(), Element::Window);
  const Overlay paused{true, "", {}, -1};
  for (int frame = 0; frame < 4; ++frame) {
    game.Display.Set(frame, frame, 0x010101 * (frame + 1));
    game.window[Element::Mtime].text = std::to_string(200 - frame);
    if (frame == 2) {
      Repaint(Element::Mtime);
      whole.Repainted(game.Shown(), Element::Mtime);
    }
    if (frame == 3) game.window[Element::GETREADY].visible = false;
    Repaint(Element::Display);
    whole.Repainted(game.Shown(), Element::Display);
    screen.Compose(game.Shown(), BoxView{}, text, frame == 1 ? paused : Overlay{});
    // The same repaints, each composed whole: a readout's repaint makes it draw all.
    whole.Repainted(game.Shown(), Element::Mtime);
    whole.Compose(game.Shown(), BoxView{}, text, frame == 1 ? paused : Overlay{});
    EXPECT_EQ(screen.picture().pixels(), whole.picture().pixels()) << "frame " << frame;
  }
}

// The screen keeps its own copy of the picture and is sent only what each compose
// changed: through a race's frames, a readout's repaint, a pause, the banner going and the
// title coming back, that copy must always equal the picture, and a race's plain frame
// must not send the whole picture.
TEST_F(ScreenPictureTest, TheChangesSentKeepTheScreensCopyEqualToThePicture) {
  Picture copy(kScreenWidth, kScreenHeight);
  auto send = [&] {
    size_t area = 0;
    for (const PicturePatch& p : screen.changes()) {
      area += static_cast<size_t>(p.rect.w) * static_cast<size_t>(p.rect.h);
      for (int y = 0; y < p.rect.h; ++y)
        for (int x = 0; x < p.rect.w; ++x)
          copy.Set(p.rect.x + x, p.rect.y + y, p.first[static_cast<size_t>(y) * p.stride + x]);
    }
    return area;
  };
  const size_t whole = static_cast<size_t>(kScreenWidth) * kScreenHeight;
  game.window[Element::GETREADY].visible = true;
  game.window[Element::GETREADY].text = "PLAYER 1 GET READY";
  Repaint(Element::Window);
  screen.Compose(game.Shown(), BoxView{}, text);
  EXPECT_EQ(send(), whole);
  const Overlay paused{true, "", {}, -1};
  for (int frame = 0; frame < 12; ++frame) {
    // The road scrolls: the view's rows become a ring that wraps in memory.
    game.Display.ScrollDown(7);
    for (int x = 0; x < kViewWidth; x += 5) game.Display.Set(x, (frame * 37) % kViewHeight, 0x102030 * (frame + 1));
    if (frame == 2) game.window[Element::GETREADY].visible = false;  // the banner goes
    if (frame % 3 == 1) {
      game.window[Element::Mtime].text = std::to_string(200 - frame);
      Repaint(Element::Mtime);
    }
    if (frame == 9) {
      game.window[Element::GameTitle].visible = true;
      Repaint(Element::GameTitle);
    }
    Repaint(Element::Display);
    const bool pause = frame == 5 || frame == 6;
    screen.Compose(game.Shown(), BoxView{}, text, pause ? paused : Overlay{});
    const size_t area = send();
    EXPECT_EQ(copy.pixels(), screen.picture().pixels()) << "frame " << frame;
    if (frame >= 3 && frame <= 8 && !pause && frame != 7) {
      EXPECT_LT(area, whole) << "frame " << frame << " sent the whole picture";
    }
  }
  // Nothing repainted: nothing to send.
  screen.Compose(game.Shown(), BoxView{}, text);
  EXPECT_EQ(send(), 0u);
  screen.ChangeAll();
  screen.Compose(game.Shown(), BoxView{}, text);
  EXPECT_EQ(send(), whole);
}

// The records table's columns are as wide as their widest cell: however long a date,
// a distance or a face's letters, no cell runs into the next, and every race's cells
// start under their heading.
TEST_F(ScreenPictureTest, TheRecordsTablesColumnsNeverRunIntoEachOther) {
  Repaint(Element::Window);
  Overlay table;
  table.panel = {"\tRECORDS\tRANK\tPLACES\tDISTANCE\tCAR / PLACE",
                 "1\t2026-12-11 06:30:59 and more\t30\t38\t123456789012345\tMotorBike / 新宿",
                 "20\t2026-12-11 06:30\t9999999\t7\t1\tX / Y", "",
                 "\tUp, Down: pick   Enter: watch   Esc, F3: back"};
  screen.Compose(game.Shown(), BoxView{}, text, table);
  const Picture& p = screen.picture();
  // The runs of ink along the middle of line i of the table: where each starts.
  auto runs = [&](int i) {
    const int y = kPanelRect.y + 2 + 6 + i * (testing::FakeTextPainter::kHeight + 4) + 7;
    std::vector<int> starts;
    bool inked = false;
    for (int x = kPanelRect.x + 2; x < kPanelRect.Right() - 2; ++x) {
      const bool ink = p.At(x, y) != colors::kBlack;
      if (ink && !inked) starts.push_back(x);
      inked = ink;
    }
    return starts;
  };
  const std::vector<int> heading = runs(0), first = runs(1), second = runs(2);
  ASSERT_EQ(heading.size(), 5u);
  ASSERT_EQ(first.size(), 6u) << "cells of the first race ran together";
  ASSERT_EQ(second.size(), 6u) << "cells of the second race ran together";
  for (size_t c = 1; c < 6; ++c) {
    EXPECT_EQ(first[c], heading[c - 1]) << "column " << c;
    EXPECT_EQ(second[c], heading[c - 1]) << "column " << c;
  }
  // The help spans the columns from the first heading's place.
  const std::vector<int> help = runs(4);
  ASSERT_EQ(help.size(), 1u);
  EXPECT_EQ(help[0], heading[0]);
}

// A tap on the records table finds the line it lands on: the rows start 6 below the
// inside of the grey frame (at y 32), are inset 4 from its sides (x 132 to 615), and stop
// at the last whole line that fits above the frame's bottom (550).
TEST(PanelLineAtTest, FindsTheLineUnderAPoint) {
  struct Case {
    int x, y, line_height, line;
  };
  const Case cases[] = {
      // The rows lie 2 pixels of frame and 4 of black inside the table's rectangle.
      {kPanelRect.x + 6, 32, 20, 0},             // the heading's top left corner
      {kPanelRect.Right() - 7, 51, 20, 0},       // its bottom right corner
      {kPanelRect.x + 5, 40, 20, -1},            // left of the rows, on the frame's black
      {kPanelRect.Right() - 6, 40, 20, -1},      // right of them
      {300, 31, 20, -1},   // above the heading
      {300, 52, 20, 1},    // the first race's top
      {300, 71, 20, 1},    // and bottom
      {300, 72, 20, 2},
      {300, 531, 20, 24},  // the last line that fits whole
      {300, 532, 20, -1},  // the one after it is not drawn
      {300, 549, 20, -1},
      {300, 600, 20, -1},  // below the table
      {300, 40, 0, -1},    // no line height: no line
      {300, 40, 600, -1},  // a line taller than the table: none drawn
      {300, 49, 17, 1},    // another face: 32 + 17 = 49
  };
  for (const Case& c : cases)
    EXPECT_EQ(PanelLineAt(c.x, c.y, c.line_height), c.line) << "at " << c.x << "," << c.y << " lines of " << c.line_height;
}

// The line a tap finds is the line drawn there: every pixel of the picked race's dark blue
// lies on that race's line.
TEST_F(ScreenPictureTest, ATapFindsTheRecordsLineDrawnUnderIt) {
  Repaint(Element::Window);
  for (int pick : {0, 2}) {
    Overlay table;
    table.panel = {"\tRECORDS\tRANK", "1\ta\t1", "2\tb\t2", "3\tc\t3", "", "\thelp"};
    table.panel_pick = pick;
    screen.Compose(game.Shown(), BoxView{}, text, table);
    int blue = 0, elsewhere = 0;
    for (int y = kPanelRect.y; y < kPanelRect.Bottom(); ++y)
      for (int x = kPanelRect.x; x < kPanelRect.Right(); ++x)
        if (screen.picture().At(x, y) == 0x000080) {
          ++blue;
          if (PanelLineAt(x, y, PanelLineHeight(text)) != pick + 1) ++elsewhere;
        }
    EXPECT_GT(blue, 0) << "pick " << pick;
    EXPECT_EQ(elsewhere, 0) << "pick " << pick;
  }
}

TEST_F(ScreenPictureTest, PausedShowsOverTheViewAndTheTitleLineOnlyOnTheTitleScreen) {
  Repaint(Element::Window);
  const Overlay both{true, "F2 REPLAY", {}, -1};
  screen.Compose(game.Shown(), BoxView{}, text, both);
  auto ink = [&](const Rect& r, uint32_t color) {
    for (int y = r.y; y < r.Bottom(); ++y)
      for (int x = r.x; x < r.Right(); ++x)
        if (screen.picture().At(x, y) == color) return true;
    return false;
  };
  EXPECT_TRUE(ink(kPausedRect, colors::kLightYellow));
  EXPECT_FALSE(ink(kTitleLineRect, kTitleLineColor));  // no title screen
  game.window[Element::GameTitle].visible = true;
  Repaint(Element::GameTitle);
  screen.Compose(game.Shown(), BoxView{}, text, both);
  EXPECT_TRUE(ink(kTitleLineRect, kTitleLineColor));
  screen.Compose(game.Shown(), BoxView{}, text, Overlay{});
  EXPECT_FALSE(ink(kPausedRect, colors::kLightYellow));
  EXPECT_FALSE(ink(kTitleLineRect, kTitleLineColor));
  // The line stays clear of the game's own texts on the title screen.
  for (Element e : {Element::GETREADY, Element::COMMENT}) {
    const Rect r = LayoutOf(e).rect;
    EXPECT_TRUE(r.Bottom() <= kTitleLineRect.y || r.y >= kTitleLineRect.Bottom());
  }
}

TEST_F(ScreenPictureTest, HiddenBoxesAndCaptionsAreNotDrawn) {
  Repaint(Element::Window);
  const Rect wait = LayoutOf(Element::Gamewait).rect;
  const Rect label = LayoutOf(Element::Spdlbl).rect;
  EXPECT_TRUE(InkIn(wait, colors::kLightCyan));
  EXPECT_TRUE(InkIn(label, colors::kWhite));
  game.window[Element::Gamewait].visible = false;
  game.window[Element::Spdlbl].visible = false;
  Repaint(Element::Spdlbl);
  Repaint(Element::Gamewait);
  EXPECT_FALSE(InkIn(wait, colors::kLightCyan));
  EXPECT_FALSE(InkIn(label, colors::kWhite));
}

TEST_F(ScreenPictureTest, CaptionsBreakBetweenJapaneseCharactersAndBeforeABracket) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(WrapCaption("速度調整(WAIT)", 57, Face::Dialog, text), (Lines{"速度調整", "(WAIT)"}));
  EXPECT_EQ(WrapCaption("速度調整(WAIT)", 40, Face::Dialog, text), (Lines{"速度調", "整", "(WAIT)"}));
  EXPECT_EQ(WrapCaption("HIGHEST_RANK", 97, Face::FixedSys9, text), (Lines{"HIGHEST_RANK"}));
  EXPECT_EQ(WrapCaption("two words", 30, Face::FixedSys9, text), (Lines{"two", "words"}));
  EXPECT_EQ(WrapCaption("unbreakable", 30, Face::FixedSys9, text), (Lines{"unbreakable"}));
}

TEST_F(ScreenPictureTest, TheBoxBeingTypedIntoKeepsItsCaretInSight) {
  const ElementLayout& wait = LayoutOf(Element::Gamewait);
  const Rect area = TextArea(wait);
  const std::string text15(15, '9');  // 90 wide, more than the box
  size_t end = text15.size(), start = 0;
  EXPECT_EQ(BoxTextLeft(wait, "15", nullptr, text), area.Right() - 12);
  EXPECT_EQ(BoxTextLeft(wait, text15, nullptr, text), area.x);  // too long: its start shows
  EXPECT_EQ(BoxTextLeft(wait, text15, &start, text), area.x);
  EXPECT_EQ(BoxTextLeft(wait, text15, &end, text) + 90, area.Right() - 1);
}

}  // namespace
}  // namespace kelto1
