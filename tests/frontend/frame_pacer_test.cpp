// The frame limiter's deadlines: a sixtieth of a second plus the frame delay.
#include "frontend/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelto1 {
namespace {

// Shows `frames` frames that each take `work_ms` before asking, and returns the ticks
// at which they were shown.
std::vector<uint64_t> ShowFrames(FramePacer& pacer, int frames, int delay, uint64_t work_ms, uint64_t start = 5000) {
  std::vector<uint64_t> shown;
  uint64_t now = start;
  for (int i = 0; i < frames; ++i) {
    now += work_ms + static_cast<uint64_t>(std::max(delay, 0));  // the game's own wait is in the frame
    now = std::max(now, pacer.ShowAt(now, delay));
    shown.push_back(now);
  }
  return shown;
}

TEST(FramePacer, SixtyFramesTakeOneSecondWhateverTheWork) {
  for (uint64_t work : {0u, 3u, 12u}) {
    FramePacer pacer;
    const auto shown = ShowFrames(pacer, 61, 0, work);
    EXPECT_EQ(shown.back() - shown.front(), 1000u) << "work " << work;
    for (size_t i = 1; i < shown.size(); ++i) {
      EXPECT_GE(shown[i] - shown[i - 1], 16u);
      EXPECT_LE(shown[i] - shown[i - 1], 17u);
    }
  }
}

TEST(FramePacer, TheFrameDelayComesOnTopOfTheSixtieth) {
  struct Case {
    int delay;
    uint64_t per_sixty_frames;
  } cases[] = {{10, 1600}, {20, 2200}, {-5, 1000}};
  for (const Case& c : cases) {
    FramePacer pacer;
    const auto shown = ShowFrames(pacer, 61, c.delay, 2);
    EXPECT_EQ(shown.back() - shown.front(), c.per_sixty_frames) << "delay " << c.delay;
  }
}

TEST(FramePacer, ASlowFrameStartsTheCountAfreshInsteadOfRushing) {
  FramePacer pacer;
  ShowFrames(pacer, 10, 0, 1);
  const uint64_t late = 20000;  // long after the last deadline
  EXPECT_EQ(pacer.ShowAt(late, 0), late);
  EXPECT_EQ(pacer.ShowAt(late + 1, 0), late + 17);  // 16.67 after the fresh start, rounded up
}

TEST(FramePacer, AFrameSlightlyLateIsShownAtOnceAndTheNextKeepsTheBeat) {
  FramePacer pacer;
  EXPECT_EQ(pacer.ShowAt(1000, 0), 1000u);
  EXPECT_EQ(pacer.ShowAt(1020, 0), 1017u);  // due at 1016.7: already late, shown now
  EXPECT_EQ(pacer.ShowAt(1021, 0), 1034u);  // due at 1033.3
}

}  // namespace
}  // namespace kelto1
