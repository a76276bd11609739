// Editing one line of UTF-8 text with a caret.
#include "frontend/line_edit.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(LineEdit, TypingGoesInAtTheCaret) {
  LineEdit e{"20", 1};
  e.Insert("5");
  EXPECT_EQ(e.text, "250");
  EXPECT_EQ(e.caret, 2u);
  e.End();
  e.Insert("ms");
  EXPECT_EQ(e.text, "250ms");
  e.Home();
  e.Insert("-");
  EXPECT_EQ(e.text, "-250ms");
  EXPECT_EQ(e.caret, 1u);
}

TEST(LineEdit, ControlCharactersAreNotTaken) {
  LineEdit e{"1", 1};
  e.Insert("2\t\r\n\x7f" "3");
  EXPECT_EQ(e.text, "123");
  EXPECT_EQ(e.caret, 3u);
}

TEST(LineEdit, BackspaceAndDeleteTakeWholeCharacters) {
  const std::string city = "新宿";  // two characters of three bytes each
  LineEdit e{city + "x", city.size()};
  e.Backspace();
  EXPECT_EQ(e.text, "新x");
  EXPECT_EQ(e.caret, 3u);
  e.Home();
  e.Delete();
  EXPECT_EQ(e.text, "x");
  EXPECT_EQ(e.caret, 0u);
  e.Backspace();  // nothing before the caret
  e.End();
  e.Delete();  // nothing after it
  EXPECT_EQ(e.text, "x");
}

TEST(LineEdit, ArrowsStepOverWholeCharacters) {
  LineEdit e{"a速b", 0};
  e.Right();
  EXPECT_EQ(e.caret, 1u);
  e.Right();
  EXPECT_EQ(e.caret, 4u);
  e.Right();
  e.Right();
  EXPECT_EQ(e.caret, 5u);
  e.Left();
  e.Left();
  EXPECT_EQ(e.caret, 1u);
  e.Left();
  e.Left();
  EXPECT_EQ(e.caret, 0u);
}

TEST(LineEdit, ACaretInsideACharacterMovesToItsStart) {
  LineEdit e{"a速b", 0};
  e.PlaceCaret(3);
  EXPECT_EQ(e.caret, 1u);
  e.PlaceCaret(99);
  EXPECT_EQ(e.caret, 5u);
  e.caret = 2;  // set from outside, mid-character
  e.Insert("!");
  EXPECT_EQ(e.text, "a!速b");
}

}  // namespace
}  // namespace kelto1

namespace kelto1 {
namespace {

TEST(LineEdit, TakesNoMoreThanItsLimitOfCharacters) {
  LineEdit edit{"ab", 2};
  edit.max_characters = 4;
  edit.Insert("\xC3\xA9\xC3\xA9\xC3\xA9");  // three two-byte characters, room for two
  EXPECT_EQ(edit.text, "ab\xC3\xA9\xC3\xA9");
  EXPECT_EQ(edit.caret, edit.text.size());
  EXPECT_EQ(CharacterCount(edit.text), 4u);
  edit.Insert("z");
  EXPECT_EQ(edit.text, "ab\xC3\xA9\xC3\xA9");
}

}  // namespace
}  // namespace kelto1
