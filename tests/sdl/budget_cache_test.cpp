// The store of rendered texts: kept within its budget of bytes, the least recently used
// let go first, everything let go exactly once.
#include "sdl/budget_cache.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelto1 {
namespace {

TEST(BudgetCache, StaysWithinItsBudgetLettingTheLeastRecentlyUsedGo) {
  std::map<int, int> released;  // value -> times released
  {
    BudgetCache<std::string, int> cache(1000, [&](int& v) { ++released[v]; });
    for (int i = 0; i < 10000; ++i) {
      if (!cache.Find("readout")) cache.Put("readout", -1, 10);  // drawn every frame
      cache.Put("text " + std::to_string(i), i, 300);
      EXPECT_LE(cache.bytes(), 1000u) << i;
    }
    EXPECT_NE(cache.Find("readout"), nullptr);  // in use, so kept
    EXPECT_NE(cache.Find("text 9999"), nullptr);
    EXPECT_EQ(cache.Find("text 9996"), nullptr);
    EXPECT_EQ(released.count(9999), 0u);
  }
  for (int i = 0; i < 10000; ++i) EXPECT_EQ(released[i], 1) << i;
  EXPECT_EQ(released[-1], 1);
}

TEST(BudgetCache, KeepsTheNewestEvenWhenItAloneIsOverTheBudget) {
  int released = 0;
  BudgetCache<int, int> cache(100, [&](int&) { ++released; });
  cache.Put(1, 1, 60);
  EXPECT_EQ(cache.Put(2, 2, 500), 2);
  EXPECT_EQ(cache.size(), 1u);
  EXPECT_EQ(released, 1);
  ASSERT_NE(cache.Find(2), nullptr);
  cache.Put(3, 3, 10);  // the big one goes as soon as something newer comes
  EXPECT_EQ(cache.Find(2), nullptr);
  EXPECT_EQ(cache.bytes(), 10u);
}

}  // namespace
}  // namespace kelto1
