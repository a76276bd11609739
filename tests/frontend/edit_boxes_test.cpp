// Typing into the frame-delay box and the editable vehicle selector.
#include "frontend/edit_boxes.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

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
    return boxes.Deliver(m, target);
  }
  bool Click(const Rect& r) { return Click(r.x + r.w / 2, r.y + r.h / 2); }
  // The selector's text, left of its arrow button.
  static Rect SelectorText() {
    const Rect& r = LayoutOf(Element::CarSel).rect;
    return {r.x, r.y, ComboButton().x - r.x, r.h};
  }
  bool Press(EditKey key, const std::string& typed = "") {
    WindowMessage m;
    m.type = WindowMessage::Type::KeyDown;
    m.key = key;
    m.text = typed;
    return boxes.Deliver(m, target);
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
  BoxTarget target{game, game.window};
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
  Click(SelectorText());
  EXPECT_EQ(boxes.focus(), Element::CarSel);
  ClearFocusedBox();
  EXPECT_EQ(Text(Element::CarSel), "");
  Type("Track");
  EXPECT_EQ(Text(Element::CarSel), "Track");
  EXPECT_EQ(Painted(Element::CarSel), "Track");
  EXPECT_EQ(CarSelItemIndex("Track"), -1);
}

TEST_F(EditBoxesTest, UpAndDownStepThroughTheItems) {
  Click(SelectorText());
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
  EXPECT_EQ(boxes.focus(), std::nullopt);
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
// flushed exactly as the game's flushes always took them, the first keyboard message
// each time.
class TypingAndFlushesTest : public EditBoxesTest {
 protected:
  static std::vector<WindowMessage> Keystroke(EditKey key, const std::string& typed = "") {
    WindowMessage down;
    down.type = WindowMessage::Type::KeyDown;
    down.key = key;
    down.text = typed;
    WindowMessage up = down;
    up.type = WindowMessage::Type::KeyUp;
    up.text.clear();
    return {down, up};
  }
  // What a race of `frames` frames leaves in the window's queue: Left and Right held
  // (key repeats), Down now and then, a letter typed now and then, and one message
  // flushed every sixth frame. `flush` takes the first keyboard message.
  template <class Post, class Flush>
  static void Race(int frames, Post post, Flush flush) {
    for (int f = 1; f <= frames; ++f) {
      std::vector<WindowMessage> keys;
      if (f % 3 == 0) keys = Keystroke(f % 2 ? EditKey::Left : EditKey::Right);
      if (f % 50 == 0) keys = Keystroke(EditKey::Other, std::string(1, static_cast<char>('a' + f / 50 % 26)));
      if (f % 7 == 0) keys = Keystroke(EditKey::Down);
      for (const WindowMessage& m : keys) post(m);
      if (f % 6 == 0) flush();
    }
  }
  void Deliver(MessageQueue& q) {
    while (auto m = q.Take()) boxes.Deliver(*m, target);
  }
  // The selector focused at "RacingCar", the caret at its end.
  void FocusSelector() {
    game.window[Element::CarSel].text = "RacingCar";
    Click(LayoutOf(Element::CarSel).rect);
    Press(EditKey::End);
  }
};

TEST_F(TypingAndFlushesTest, KeysTypedOnTheTitleScreenOutlastTheIdleFlushes) {
  Click(LayoutOf(Element::Gamewait).rect);
  MessageQueue q;
  q.KeepTyping(true);  // between the ticks: the title screen shows
  for (const auto& m : Keystroke(EditKey::End)) q.Post(m);
  for (int i = 0; i < 3; ++i)
    for (const auto& m : Keystroke(EditKey::Backspace)) q.Post(m);
  for (const auto& m : Keystroke(EditKey::Other, "5")) q.Post(m);
  for (int tick = 0; tick < 3; ++tick)
    for (int i = 0; i < 4; ++i) q.DiscardFirstKeyboardMessage();
  Deliver(q);
  EXPECT_EQ(Text(Element::Gamewait), "5");
}

TEST_F(TypingAndFlushesTest, WhatPiledUpInARaceIsFlushedAsBefore) {
  for (const int frames : {60, 400, 2500}) {
    // As the flushes always took them: a plain queue, its first keyboard message gone
    // at every flush.
    std::deque<WindowMessage> plain;
    Race(
        frames, [&](const WindowMessage& m) { plain.push_back(m); },
        [&] {
          for (auto it = plain.begin(); it != plain.end(); ++it)
            if (it->IsKeyboard()) {
              plain.erase(it);
              break;
            }
        });
    FocusSelector();
    const size_t unflushed = plain.size() + static_cast<size_t>(frames / 6);
    for (const WindowMessage& m : plain) boxes.Deliver(m, target);
    const std::string expected = Text(Element::CarSel);

    // The desktop's queue: the title screen, then the race, then the title again.
    FocusSelector();
    MessageQueue q;
    q.KeepTyping(true);
    q.KeepTyping(false);  // Ctrl: the race starts
    Race(frames, [&](const WindowMessage& m) { q.Post(m); }, [&] { q.DiscardFirstKeyboardMessage(); });
    q.KeepTyping(true);
    EXPECT_EQ(q.size() + static_cast<size_t>(frames / 6), unflushed) << frames << " frames";
    Deliver(q);
    EXPECT_EQ(Text(Element::CarSel), expected) << frames << " frames";
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
