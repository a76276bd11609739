// Tile drawing from the sheet, and the first screen of road laid at race start.
#include <array>

#include "course_fixture.h"

namespace kelto1::testing {
namespace {

using TileDrawingTest = CourseTest;

struct SheetCell {
  int tile, sx, sy;
};

TEST_F(TileDrawingTest, ATileIsCopiedFromItsCellOfTheEightColumnSheet) {
  const std::array<SheetCell, 4> cells = {{{0, 0, 0}, {9, 32, 32}, {127, 224, 480}, {44, 128, 160}}};
  for (const SheetCell& c : cells) {
    Picture target(100, 100, kClear);
    game.DrawTile(static_cast<uint8_t>(c.tile), 40, 50, target);
    EXPECT_EQ(target.At(40, 50), SheetPixel(c.sx, c.sy)) << "tile " << c.tile;
    EXPECT_EQ(target.At(71, 81), SheetPixel(c.sx + 31, c.sy + 31)) << "tile " << c.tile;
    EXPECT_EQ(target.At(39, 50), kClear) << "tile " << c.tile;
    EXPECT_EQ(target.At(72, 81), kClear) << "tile " << c.tile;
    EXPECT_EQ(target.At(40, 82), kClear) << "tile " << c.tile;
  }
}

TEST_F(TileDrawingTest, WhatFallsOutsideTheTargetIsClipped) {
  Picture target(64, 64, kClear);
  game.DrawTile(9, 48, -16, target);
  EXPECT_EQ(target.At(48, 0), SheetPixel(32, 48));
  EXPECT_EQ(target.At(63, 15), SheetPixel(47, 63));
  EXPECT_EQ(target.At(48, 16), kClear);
  game.DrawTile(9, 0, 64, target);  // wholly below: nothing changes
  EXPECT_EQ(target.At(0, 63), kClear);
}

TEST_F(TileDrawingTest, TheFirstScreenLaysEntries1To10LowerRowFirstFromTheBottomUp) {
  StartOnFirstScreen();
  const CourseState& c = game.course;
  EXPECT_EQ(c.CoursePos, 11);
  EXPECT_EQ(c.RowHalf, 0);
  // Row r of the build is at y = (18 - r) * 32: entry 1 + r / 2, its lower row first.
  for (int r = 0; r <= 18; ++r) {
    const int pattern = c.CourseSeq[1 + r / 2];
    const int first = r % 2 == 0 ? 16 : 0;
    for (int col = 0; col < 16; ++col) {
      ASSERT_EQ(TileAt(col, (18 - r) * 32), c.PatternRows[first + col][pattern]) << "row " << r << " col " << col;
    }
  }
  // The strip below the last row stays clear until the first scroll.
  for (int y = 608; y < 640; ++y) {
    for (int x = 0; x < 512; x += 7) ASSERT_EQ(game.Master.At(x, y), kClear) << x << "," << y;
  }
}

TEST_F(TileDrawingTest, TheFirstScreenFillsTheGridFromTheBottomWithLowerRowKerbsOnly) {
  StartOnFirstScreen();
  // The lower rows of patterns 0 and 1: side strip 14 15, central reserve 53 54 55.
  std::array<int, 17> lower_codes{};
  lower_codes[0] = 10;
  lower_codes[1] = 1;
  lower_codes[11] = 5;
  lower_codes[12] = 10;
  lower_codes[13] = 1;
  const auto& grid = game.course.TileGrid;
  for (int k = 0; k <= 36; ++k) {
    for (int col = 0; col <= 16; ++col) {
      const int expected = (k <= 18 && k % 2 == 0) ? lower_codes[col] : 0;
      ASSERT_EQ(grid[col][k], expected) << "row " << k << " col " << col;
    }
  }
}

TEST_F(TileDrawingTest, TheFirstScreenWritesANarrowingKerbOnAnyRowAndKeepsOtherCells) {
  game.ShowTitle();
  game.course.CourseSeq[2] = 35;       // rows r = 2 (lower) and 3 (upper): 14 14 48 / 14 14 56
  game.course.TileGrid[5][3] = 9;      // a cell no kerb of the first screen covers
  game.course.TileGrid[0][3] = 9;      // covered by tile 14, but on an upper row
  game.course.TileGrid[0][2] = 9;      // covered by tile 14 on a lower row
  game.BuildInitialRoad();
  const auto& grid = game.course.TileGrid;
  EXPECT_EQ(grid[2][3], 3) << "the narrowing kerb's upper half, although on an upper row";
  EXPECT_EQ(grid[2][2], 10) << "its lower half on the lower row";
  EXPECT_EQ(grid[5][3], 9);
  EXPECT_EQ(grid[0][3], 9);
  EXPECT_EQ(grid[0][2], 10);
}

}  // namespace
}  // namespace kelto1::testing
