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
