// The window's message queue: what the game's flushes take and what the boxes get.
#include "frontend/window_messages.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

WindowMessage Key(WindowMessage::Type type, EditKey key = EditKey::Other) {
  WindowMessage m;
  m.type = type;
  m.key = key;
  return m;
}

WindowMessage Click(int x, int y) {
  WindowMessage m;
  m.type = WindowMessage::Type::MouseDown;
  m.x = x;
  m.y = y;
  return m;
}

TEST(MessageQueue, AFlushTakesTheFirstKeyboardMessageAndLeavesClicks) {
  MessageQueue q;
  q.Post(Click(1, 2));
  q.Post(Key(WindowMessage::Type::KeyDown));
  q.PostText("7");
  q.Post(Key(WindowMessage::Type::KeyUp));
  ASSERT_TRUE(q.DiscardFirstKeyboardMessage());  // the press of "7", and its character with it
  EXPECT_EQ(q.size(), 2u);
  auto first = q.Take();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->type, WindowMessage::Type::MouseDown);
  EXPECT_EQ(first->x, 1);
  auto second = q.Take();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->type, WindowMessage::Type::KeyUp);
  EXPECT_FALSE(q.DiscardFirstKeyboardMessage());
  EXPECT_TRUE(q.empty());
}

TEST(MessageQueue, AKeystrokeIsTwoMessagesSoFourFlushesTakeTwoKeystrokes) {
  MessageQueue q;
  for (const char* digit : {"1", "2", "3"}) {
    q.Post(Key(WindowMessage::Type::KeyDown));
    q.PostText(digit);
    q.Post(Key(WindowMessage::Type::KeyUp));
  }
  for (int i = 0; i < 4; ++i) q.DiscardFirstKeyboardMessage();
  auto left = q.Take();
  ASSERT_TRUE(left);
  EXPECT_EQ(left->text, "3");
}

TEST(MessageQueue, CharactersJoinThePressThatTypedThem) {
  MessageQueue q;
  q.Post(Key(WindowMessage::Type::KeyDown, EditKey::Backspace));
  q.PostText("x");  // an editing key types nothing: this came from elsewhere
  q.Post(Key(WindowMessage::Type::KeyDown));
  q.PostText("5");
  q.PostText("6");  // a second text for the same press stands alone
  ASSERT_EQ(q.size(), 4u);
  EXPECT_TRUE(q.Take()->text.empty());
  auto stray = q.Take();
  EXPECT_EQ(stray->type, WindowMessage::Type::Char);
  EXPECT_EQ(stray->text, "x");
  EXPECT_EQ(q.Take()->text, "5");
  EXPECT_EQ(q.Take()->type, WindowMessage::Type::Char);
}

TEST(MessageQueue, AFullQueueTakesNoMore) {
  MessageQueue q;
  for (size_t i = 0; i < MessageQueue::kLimit + 5; ++i) q.Post(Key(WindowMessage::Type::KeyDown, EditKey::Left));
  q.PostText("late");
  EXPECT_EQ(q.size(), MessageQueue::kLimit);
  q.DiscardFirstKeyboardMessage();
  q.PostText("room again");
  EXPECT_EQ(q.size(), MessageQueue::kLimit);
}

}  // namespace
}  // namespace kelto1
