// The picture's whole-factor scaling and the way back from window points.
#include "frontend/scaling.h"

#include <gtest/gtest.h>

namespace kelto1 {
namespace {

TEST(Scaling, WholeFactorIsTheLargestThatFitsBothWays) {
  struct Case {
    int w, h, scale;
  } cases[] = {
      {630, 576, 1}, {629, 576, 0}, {630, 575, 0}, {1260, 1152, 2}, {1259, 1152, 1},
      {1920, 1080, 1}, {2560, 1440, 2}, {3840, 2160, 3}, {5000, 600, 1}, {0, 0, 0}, {-5, 900, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(WholeScaleThatFits(c.w, c.h), c.scale) << c.w << "x" << c.h;
}

TEST(Scaling, PictureIsCentredAtItsWholeFactor) {
  const Rect at1 = FitPicture(1920, 1080);
  EXPECT_EQ(at1.w, 630);
  EXPECT_EQ(at1.h, 576);
  EXPECT_EQ(at1.x, (1920 - 630) / 2);
  EXPECT_EQ(at1.y, (1080 - 576) / 2);
  const Rect at2 = FitPicture(1400, 1200);
  EXPECT_EQ(at2.w, 1260);
  EXPECT_EQ(at2.h, 1152);
  EXPECT_EQ(at2.x, 70);
  EXPECT_EQ(at2.y, 24);
}

TEST(Scaling, AWindowTooSmallShrinksThePictureKeepingItsShape) {
  const Rect r = FitPicture(315, 500);
  EXPECT_EQ(r.w, 315);
  EXPECT_EQ(r.h, 288);
  EXPECT_EQ(r.x, 0);
  EXPECT_EQ(r.y, (500 - 288) / 2);
}

TEST(Scaling, OpeningFactorLeavesRoomForTheFrame) {
  EXPECT_EQ(OpeningScale(1920, 1040), 1);
  EXPECT_EQ(OpeningScale(2560, 1400), 2);
  EXPECT_EQ(OpeningScale(3840, 2120), 3);
  EXPECT_EQ(OpeningScale(1260, 1152), 1);  // exactly twice the picture is not comfortable
  EXPECT_EQ(OpeningScale(800, 600), 1);    // never below one
}

TEST(Scaling, WindowPointsMapBackToPicturePixels) {
  const Rect placed = FitPicture(1400, 1200);  // twice, at (70, 24)
  struct Case {
    int wx, wy, px, py;
  } cases[] = {
      {70, 24, 0, 0}, {71, 25, 0, 0}, {72, 26, 1, 1}, {70 + 1259, 24 + 1151, 629, 575},
      {69, 23, -1, -1}, {70 + 1260, 24, 630, 0},
  };
  for (const Case& c : cases) {
    const Point p = ToPicture(c.wx, c.wy, placed);
    EXPECT_EQ(p.x, c.px) << c.wx;
    EXPECT_EQ(p.y, c.py) << c.wy;
  }
}

}  // namespace
}  // namespace kelto1
