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

TEST(Scaling, SharpFitFillsOneSideAndKeepsTheShape) {
  struct Case {
    int w, h;       // the output
    Rect placed;    // where the picture lands
    int prescale;   // the whole factor it is first blown up by
  } cases[] = {
      {1920, 1080, {369, 0, 1181, 1080}, 1},   // a common screen: 1.875 times
      {2560, 1440, {492, 0, 1575, 1440}, 2},
      {3840, 2160, {738, 0, 2363, 2160}, 3},
      {1260, 1152, {0, 0, 1260, 1152}, 2},     // an exact whole factor stays exact
      {1000, 2000, {0, 543, 1000, 914}, 1},    // a tall output: the width limits
      {631, 577, {0, 0, 631, 577}, 1},         // a pixel more each way
      {315, 288, {0, 0, 315, 288}, 1},         // smaller than the picture: shrunk
      {1, 1, {0, 0, 1, 1}, 1},
      {0, 700, {0, 0, 0, 0}, 1},               // no room at all: nothing drawn
  };
  for (const Case& c : cases) {
    const SharpFit fit = FitSharply(c.w, c.h);
    EXPECT_EQ(fit.placed.x, c.placed.x) << c.w << "x" << c.h;
    EXPECT_EQ(fit.placed.y, c.placed.y) << c.w << "x" << c.h;
    EXPECT_EQ(fit.placed.w, c.placed.w) << c.w << "x" << c.h;
    EXPECT_EQ(fit.placed.h, c.placed.h) << c.w << "x" << c.h;
    EXPECT_EQ(fit.prescale, c.prescale) << c.w << "x" << c.h;
    EXPECT_EQ(FitPicture(c.w, c.h, ScaleMode::Sharp).w, c.placed.w);
  }
  // The whole mode stays as it was.
  EXPECT_EQ(FitPicture(1920, 1080, ScaleMode::Whole).w, 630);
}

TEST(Scaling, SharpFitMapsWindowPointsBack) {
  const Rect placed = FitSharply(1920, 1080).placed;
  EXPECT_EQ(ToPicture(placed.x, 0, placed).x, 0);
  EXPECT_EQ(ToPicture(placed.Right() - 1, 1079, placed).x, 629);
  EXPECT_EQ(ToPicture(placed.Right() - 1, 1079, placed).y, 575);
  EXPECT_EQ(ToPicture(placed.x - 1, 0, placed).x, -1);
}

}  // namespace
}  // namespace kelto1
