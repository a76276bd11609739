// The paused game's clock: it stands still while paused and leaves the pauses out after.
#include "frontend/pause_clock.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(PauseClock, PausesAreLeftOutOfTheGamesTime) {
  PauseClock clock;
  EXPECT_EQ(clock.GameTime(1000), 1000u);
  clock.Pause(1000);
  EXPECT_TRUE(clock.paused());
  EXPECT_EQ(clock.GameTime(1500), 1000u);  // stands still
  clock.Pause(1600);                      // a second pause key while paused changes nothing
  clock.Resume(4000);
  EXPECT_EQ(clock.GameTime(4000), 1000u);
  EXPECT_EQ(clock.GameTime(4017), 1017u);
  clock.Toggle(5000);
  clock.Toggle(5500);
  clock.Resume(9000);  // not paused: nothing to leave out
  EXPECT_EQ(clock.GameTime(9000), 9000u - 3000u - 500u);
}

}  // namespace
}  // namespace kelto1
