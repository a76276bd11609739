// Taking a free record: the first one of the range whose Active is 0, the shared flag
// telling whether there was one.
#include "shell/free_record.h"

#include <gtest/gtest.h>

#include "headless/headless_platform.h"
#include "vehicles/debris_claim.h"

namespace kelto1 {
namespace {

class FreeRecordTest : public ::testing::Test {
 protected:
  void Busy(int first, int last) {
    for (int k = first; k <= last; ++k) game.traffic.Debris[k].Active = 1;
  }
  HeadlessPlatform platform;
  Kelto1 game{platform};
};

TEST_F(FreeRecordTest, TheFirstFreeOfTheRangeIsTaken) {
  Busy(0, 3);
  EXPECT_EQ(ClaimFreeRecord(game, game.traffic.Debris, 0, 9), 4);
  EXPECT_EQ(game.course.SlotFound, 1);
  EXPECT_EQ(FirstFreeRecord(game.traffic.Debris, 5, 9), 5);  // the range's own first
}

TEST_F(FreeRecordTest, TheLastRecordIsTakenWhenOnlyItIsFree) {
  Busy(0, 8);
  DebrisEntry* e = ClaimDebris(game);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e, &game.traffic.Debris[9]);
  EXPECT_EQ(e->Active, 1);
  EXPECT_EQ(game.course.SlotFound, 1);
}

TEST_F(FreeRecordTest, NoneFreeClaimsNothingAndSaysSo) {
  Busy(0, 9);
  game.course.SlotFound = 1;
  EXPECT_EQ(ClaimDebris(game), nullptr);
  EXPECT_EQ(game.course.SlotFound, 0);
  EXPECT_EQ(FirstFreeRecord(game.traffic.Debris, 0, 9), -1);
}

}  // namespace
}  // namespace kelto1
