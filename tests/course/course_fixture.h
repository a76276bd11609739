// A game with its course tables built and a tile sheet whose pixels name their own
// position, so that every pixel of Master tells which tile was drawn there.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1::testing {

// Pixel (x, y) of the synthetic sheet holds x in its red byte and y in the low 16 bits.
inline uint32_t SheetPixel(int x, int y) { return (static_cast<uint32_t>(x) << 16) | static_cast<uint32_t>(y); }
// No sheet pixel has this value: Master's background, so that clear road can be told apart.
constexpr uint32_t kClear = 0xFFFFFF;

inline void MakeSyntheticSheet(Picture& sheet) {
  sheet.Resize(256, 512, 0);
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 256; ++x) sheet.Set(x, y, SheetPixel(x, y));
  }
}

class CourseTest : public ::testing::Test {
 protected:
  CourseTest() {
    MakeSyntheticSheet(game.PatternSL);
    game.Master.Resize(512, 640, kClear);
    game.BuildCourseTables();
  }

  // The state a race starts from: the title screen's resets, then the first screen of road.
  void StartOnFirstScreen() {
    game.ShowTitle();
    game.BuildInitialRoad();
  }

  // The tile id drawn into Master's tile cell whose top-left pixel is (x, y), or -1
  // when the cell holds no tile (or not a whole tile).
  int TileAt(const Picture& picture, int x, int y) const {
    const uint32_t p = picture.At(x, y);
    if (p == kClear) return -1;
    const int sx = static_cast<int>(p >> 16);
    const int sy = static_cast<int>(p & 0xFFFF);
    if (sx % 32 != 0 || sy % 32 != 0) return -1;
    const uint32_t last = picture.At(x + 31, y + 31);
    if (last != SheetPixel(sx + 31, sy + 31)) return -1;
    return (sy / 32) * 8 + sx / 32;
  }
  int TileAt(int col, int y) const { return TileAt(game.Master, col * 32, y); }

  // The tile of the pattern row the scroller lays next, at column col.
  int NextPatternTile(int col) const {
    const CourseState& c = game.course;
    return c.PatternRows[(c.RowHalf ^ 1) * 16 + col][c.CourseSeq[c.CoursePos]];
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

}  // namespace kelto1::testing
