// Typing into the frame-delay box and the editable vehicle selector.
#include "sdl/edit_boxes.h"

#include <gtest/gtest.h>

#include "fake_text_painter.h"
#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

class EditBoxesTest : public ::testing::Test {
 protected:
  bool Click(int x, int y) {
    WindowMessage m;
    m.type = WindowMessage::Type::MouseDown;
    m.x = x;
    m.y = y;
    return boxes.Deliver(m, game);
  }
  bool Click(const Rect& r) { return Click(r.x + r.w / 2, r.y + r.h / 2); }
  bool Press(EditKey key, const std::string& typed = "") {
    WindowMessage m;
    m.type = WindowMessage::Type::KeyDown;
    m.key = key;
    m.text = typed;
    return boxes.Deliver(m, game);
  }
  void Type(const std::string& s) {
    for (char c : s) Press(EditKey::Other, std::string(1, c));
  }
  void ClearFocusedBox() {
    Press(EditKey::End);
    for (int i = 0; i < 12; ++i) Press(EditKey::Backspace);
  }
  const std::string& Text(Element e) { return game.window[e].text; }
  const std::string& Painted(Element e) { return game.window.Painted(e).text; }
  Rect ListItem(int i) { return ComboListItem(i, ComboItemHeight(painter)); }

  HeadlessPlatform platform;
  Kelto1 game{platform};
  testing::FakeTextPainter painter;
  EditBoxes boxes{painter};
};

TEST_F(EditBoxesTest, TypedDelayIsTheBoxesTextOnScreenAndForTheNextFrame) {
  EXPECT_TRUE(Click(LayoutOf(Element::Gamewait).rect));
  EXPECT_EQ(boxes.focus(), Element::Gamewait);
  ClearFocusedBox();
  Type("15");
  EXPECT_EQ(Text(Element::Gamewait), "15");
  EXPECT_EQ(Painted(Element::Gamewait), "15");
  EXPECT_EQ(game.FrameDelayMs(), 15);
  Press(EditKey::Left);
  Press(EditKey::Delete);
  Press(EditKey::Home);
  Type("2");
  EXPECT_EQ(Text(Element::Gamewait), "21");
}

TEST_F(EditBoxesTest, AClickPutsTheCaretNearestToIt) {
  game.window[Element::Gamewait].text = "123";  // right-aligned: its end at the area's right
  const Rect area = TextArea(LayoutOf(Element::Gamewait));
  const int start = area.Right() - 18;
  Click(start + 7, area.y + 5);  // just past the middle of the "2"... nearer its left edge
  Type("x");
  EXPECT_EQ(Text(Element::Gamewait), "1x23");
}

TEST_F(EditBoxesTest, TheSelectorListOpensAtItsArrowAndChoosing) {
  const int repaints_before = platform.repaints[Element::CarSel];
  EXPECT_TRUE(Click(ComboButton()));
  EXPECT_TRUE(boxes.list_open());
  EXPECT_EQ(boxes.View(true).list_highlight, 0);  // "RacingCar", the text it holds
  EXPECT_TRUE(boxes.PointerAt(ListItem(2).x + 3, ListItem(2).y + 3));
  EXPECT_EQ(boxes.View(true).list_highlight, 2);
  EXPECT_TRUE(Click(ListItem(2)));
  EXPECT_FALSE(boxes.list_open());
  EXPECT_EQ(Text(Element::CarSel), "MotorBike");
  EXPECT_EQ(Painted(Element::CarSel), "MotorBike");  // the change event repainted it
  EXPECT_GT(platform.repaints[Element::CarSel], repaints_before);
}

TEST_F(EditBoxesTest, AClickElsewhereClosesTheListAndChangesNothing) {
  Click(ComboButton());
  EXPECT_TRUE(Click(400, 400));
  EXPECT_FALSE(boxes.list_open());
  EXPECT_EQ(Text(Element::CarSel), "RacingCar");
  // That click was spent on closing the list; the next one reaches the delay box.
  Click(LayoutOf(Element::Gamewait).rect);
  EXPECT_EQ(boxes.focus(), Element::Gamewait);
}

TEST_F(EditBoxesTest, TrackIsReachedByTypingItIntoTheSelector) {
  Click(ComboTextArea());
  EXPECT_EQ(boxes.focus(), Element::CarSel);
  ClearFocusedBox();
  EXPECT_EQ(Text(Element::CarSel), "");
  Type("Track");
  EXPECT_EQ(Text(Element::CarSel), "Track");
  EXPECT_EQ(Painted(Element::CarSel), "Track");
  EXPECT_EQ(CarSelItemIndex("Track"), -1);
}

TEST_F(EditBoxesTest, UpAndDownStepThroughTheItems) {
  Click(ComboTextArea());
  Press(EditKey::Down);
  EXPECT_EQ(Text(Element::CarSel), "FamilyCar");
  Press(EditKey::Up);
  Press(EditKey::Up);  // no item before the first
  EXPECT_EQ(Text(Element::CarSel), "RacingCar");
  game.window[Element::CarSel].text = "Track";
  Press(EditKey::Down);  // a text of its own steps to the first item
  EXPECT_EQ(Text(Element::CarSel), "RacingCar");
}

TEST_F(EditBoxesTest, AHiddenBoxLosesTheKeyboard) {
  Click(LayoutOf(Element::Gamewait).rect);
  game.window[Element::Gamewait].visible = false;  // a race starts
  game.Repaint(Element::Gamewait);
  Type("9");
  EXPECT_EQ(boxes.focus(), Element::Count);
  EXPECT_EQ(Text(Element::Gamewait), "0");
  EXPECT_FALSE(Click(LayoutOf(Element::Gamewait).rect));  // nothing to click on
}

TEST_F(EditBoxesTest, WithoutAFocusedBoxKeysChangeNothing) {
  EXPECT_FALSE(Press(EditKey::Backspace));
  Type("5");
  EXPECT_EQ(Text(Element::Gamewait), "0");
  EXPECT_EQ(Text(Element::CarSel), "RacingCar");
}

TEST_F(EditBoxesTest, TabMovesBetweenTheTwoBoxes) {
  Click(LayoutOf(Element::Gamewait).rect);
  Press(EditKey::Tab);
  EXPECT_EQ(boxes.focus(), Element::CarSel);
  Press(EditKey::Tab);
  EXPECT_EQ(boxes.focus(), Element::Gamewait);
}

}  // namespace
}  // namespace kelto1

namespace kelto1 {
namespace {

TEST_F(EditBoxesTest, TheBoxesTakeAtMost255Characters) {
  Click(LayoutOf(Element::CarSel).rect);
  ClearFocusedBox();
  for (int i = 0; i < 10000; ++i) Press(EditKey::Other, "x");
  EXPECT_EQ(Text(Element::CarSel), std::string(255, 'x'));
  // Full, typing in the middle takes nothing; after a Backspace one character goes in,
  // counted as a character however many bytes it has.
  Press(EditKey::Home);
  Press(EditKey::Other, "y");
  EXPECT_EQ(Text(Element::CarSel), std::string(255, 'x'));
  Press(EditKey::End);
  Press(EditKey::Backspace);
  Press(EditKey::Other, "\xE3\x81\x82\xE3\x81\x84");  // two Japanese characters
  EXPECT_EQ(Text(Element::CarSel), std::string(254, 'x') + "\xE3\x81\x82");

  Click(LayoutOf(Element::Gamewait).rect);
  for (int i = 0; i < 600; ++i) Press(EditKey::Other, "9");
  EXPECT_EQ(Text(Element::Gamewait).size(), 255u);
}

// The window's queue and the boxes as the desktop runs them: keys typed on the title
// screen are kept from the idle ticks' flushes; keys that piled up during a race are
// flushed exactly as before.
class TypingAndFlushesTest : public EditBoxesTest {
 protected:
  void PostKey(MessageQueue& q, EditKey key, const std::string& typed = "") {
    WindowMessage down;
    down.type = WindowMessage::Type::KeyDown;
    down.key = key;
    q.Post(down);
    if (!typed.empty()) q.PostText(typed);
    WindowMessage up;
    up.type = WindowMessage::Type::KeyUp;
    up.key = key;
    q.Post(up);
  }
  // A race of `frames` frames steered with Left and Right held (key repeats), with a
  // letter typed now and then; one message flushed every sixth frame, as the game does.
  void Race(MessageQueue& q, int frames) {
    for (int f = 1; f <= frames; ++f) {
      if (f % 3 == 0) PostKey(q, f % 2 ? EditKey::Left : EditKey::Right);
      if (f % 50 == 0) PostKey(q, EditKey::Other, std::string(1, static_cast<char>('a' + f / 50 % 26)));
      if (f % 7 == 0) PostKey(q, EditKey::Down);
      if (f % 6 == 0) q.DiscardFirstKeyboardMessage();
    }
  }
  void Deliver(MessageQueue& q) {
    while (auto m = q.Take()) boxes.Deliver(*m, game);
  }
};

TEST_F(TypingAndFlushesTest, KeysTypedOnTheTitleScreenOutlastTheIdleFlushes) {
  Click(LayoutOf(Element::Gamewait).rect);
  MessageQueue q;
  q.KeepTyping(true);  // between the ticks: the title screen shows
  PostKey(q, EditKey::End);
  for (int i = 0; i < 3; ++i) PostKey(q, EditKey::Backspace);
  PostKey(q, EditKey::Other, "5");
  for (int tick = 0; tick < 3; ++tick)
    for (int i = 0; i < 4; ++i) q.DiscardFirstKeyboardMessage();
  Deliver(q);
  EXPECT_EQ(Text(Element::Gamewait), "5");
}

TEST_F(TypingAndFlushesTest, WhatPiledUpInARaceIsFlushedAsBefore) {
  for (const int frames : {6, 400, 2500}) {
    // The selector focused on the title screen, then a race: the same keys go through
    // a queue as the desktop keeps it and one that keeps nothing from the flushes.
    std::string left_by[2];
    for (int kept = 0; kept < 2; ++kept) {
      game.window[Element::CarSel].text = "RacingCar";
      Click(LayoutOf(Element::CarSel).rect);
      MessageQueue q;
      if (kept) {
        q.KeepTyping(true);
        PostKey(q, EditKey::Other, "x");  // typed just before Ctrl
        Deliver(q);
        q.KeepTyping(false);  // the race starts
      } else {
        PostKey(q, EditKey::Other, "x");
        Deliver(q);
      }
      Race(q, frames);
      if (kept) q.KeepTyping(true);  // back at the title screen
      Deliver(q);
      left_by[kept] = Text(Element::CarSel);
    }
    EXPECT_EQ(left_by[1], left_by[0]) << frames << " frames";
  }
}

TEST(MessageQueue, KeptMessagesArePassedOverByTheFlushes) {
  MessageQueue q;
  WindowMessage race_key;
  q.Post(race_key);
  q.KeepTyping(true);
  WindowMessage typed;
  typed.text = "5";
  q.Post(typed);
  q.KeepTyping(false);
  q.Post(race_key);
  EXPECT_TRUE(q.DiscardFirstKeyboardMessage());
  EXPECT_TRUE(q.DiscardFirstKeyboardMessage());
  EXPECT_FALSE(q.DiscardFirstKeyboardMessage());
  auto left = q.Take();
  ASSERT_TRUE(left);
  EXPECT_EQ(left->text, "5");
  EXPECT_TRUE(q.empty());
}

}  // namespace
}  // namespace kelto1
