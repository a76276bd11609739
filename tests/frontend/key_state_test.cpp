// The asynchronous key state: down now, or pressed since the last query of that key.
#include "frontend/key_state.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace kelto1 {
namespace {

TEST(KeyState, AHeldKeyIsReportedOnEveryQuery) {
  KeyState keys;
  keys.Press(vk::kLeft);
  for (int i = 0; i < 3; ++i) EXPECT_NE(keys.Query(vk::kLeft), 0);
  keys.Release(vk::kLeft);
  EXPECT_EQ(keys.Query(vk::kLeft), 0);
}

TEST(KeyState, ATapBetweenQueriesIsReportedOnceByTheNextQuery) {
  KeyState keys;
  keys.Press(vk::kControl);
  keys.Release(vk::kControl);
  EXPECT_NE(keys.Query(vk::kControl), 0);
  EXPECT_EQ(keys.Query(vk::kControl), 0);
}

TEST(KeyState, AQueryClearsThePressOfThatKeyOnly) {
  KeyState keys;
  keys.Press(vk::kMenu);
  keys.Release(vk::kMenu);
  keys.Press(vk::kControl);
  keys.Release(vk::kControl);
  // The idle loop reads Alt eleven times to forget an earlier Alt tap.
  for (int i = 0; i < 11; ++i) keys.Query(vk::kMenu);
  EXPECT_EQ(keys.Query(vk::kMenu), 0);
  EXPECT_NE(keys.Query(vk::kControl), 0);
}

TEST(KeyState, LosingTheKeyboardLetsGoOfHeldKeysButKeepsTaps) {
  KeyState keys;
  keys.Press(vk::kMenu);
  keys.ReleaseAll();
  EXPECT_NE(keys.Query(vk::kMenu), 0);  // it was pressed since the last query
  EXPECT_EQ(keys.Query(vk::kMenu), 0);
  EXPECT_FALSE(keys.Pending(vk::kMenu));  // and it is no longer held
}

TEST(KeyState, KeysOutsideTheTableAreNeverDown) {
  KeyState keys;
  keys.Press(-1);
  keys.Press(256);
  EXPECT_EQ(keys.Query(-1), 0);
  EXPECT_EQ(keys.Query(256), 0);
}

}  // namespace
}  // namespace kelto1
