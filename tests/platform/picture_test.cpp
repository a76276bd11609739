// The raster operations the road, the scroll and the sprites stand on.
#include <gtest/gtest.h>

#include "shell/masked_sheet.h"
#include "platform/picture.h"

namespace kelto1 {
namespace {

// A picture whose every pixel names its own position.
Picture Numbered(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) p.Set(x, y, static_cast<uint32_t>(y * 1000 + x));
  return p;
}

TEST(BitBlt, CopiesAndCombinesPixelByPixel) {
  Picture target(4, 1, 0x0F0F0F);
  Picture source(4, 1, 0xF0F0FF);
  BitBlt(target, 0, 0, 1, 1, source, 0, 0, RasterOp::SRCCOPY);
  BitBlt(target, 1, 0, 1, 1, source, 0, 0, RasterOp::SRCPAINT);
  BitBlt(target, 2, 0, 1, 1, source, 0, 0, RasterOp::SRCAND);
  EXPECT_EQ(target.At(0, 0), 0xF0F0FFu);
  EXPECT_EQ(target.At(1, 0), 0xFFFFFFu);
  EXPECT_EQ(target.At(2, 0), 0x00000Fu);
  EXPECT_EQ(target.At(3, 0), 0x0F0F0Fu);
}

struct ClipCase {
  const char* name;
  int x, y;           // where a 4 x 4 source lands in an 8 x 8 target
  int drawn;          // pixels that must change
};

TEST(BitBlt, ClipsOnEverySide) {
  const ClipCase cases[] = {
      {"inside", 2, 2, 16},        {"left", -2, 2, 8},          {"top", 2, -3, 4},
      {"right", 6, 2, 8},          {"bottom", 2, 7, 4},         {"corner", -3, -3, 1},
      {"wholly outside", 8, 0, 0}, {"far above", 0, -40, 0},
  };
  for (const ClipCase& c : cases) {
    Picture target(8, 8, 0);
    Picture source(4, 4, 0xABCDEF);
    BitBlt(target, c.x, c.y, 4, 4, source, 0, 0, RasterOp::SRCCOPY);
    int changed = 0;
    for (uint32_t px : target.pixels()) changed += px == 0xABCDEFu;
    EXPECT_EQ(changed, c.drawn) << c.name;
  }
}

TEST(BitBlt, ClippedSourceStartsAtTheMatchingPixel) {
  Picture source = Numbered(4, 4);
  Picture target(8, 8, 0xFFFFFFFF);
  BitBlt(target, -1, -2, 4, 4, source, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(target.At(0, 0), 2001u);  // source (1, 2)
  EXPECT_EQ(target.At(2, 1), 3003u);  // source (3, 3)
  EXPECT_EQ(target.At(3, 0), 0xFFFFFFFFu);
}

TEST(BitBlt, ScrollShiftWithinOnePictureMovesTheRoadDownIntact) {
  // The road scroll: 512 x 608 from (0, 0) to (0, 32) inside the 512 x 640 picture.
  Picture master = Numbered(512, 640);
  BitBlt(master, 0, 32, 512, 608, master, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(master.At(5, 0), 5u) << "rows 0..31 keep their pixels";
  EXPECT_EQ(master.At(5, 31), 31005u);
  EXPECT_EQ(master.At(5, 32), 5u);
  EXPECT_EQ(master.At(511, 639), 607511u);
}

TEST(BitBlt, UpwardAndSidewaysOverlapAlsoReadBeforeWriting) {
  Picture p = Numbered(16, 16);
  BitBlt(p, 0, 0, 16, 12, p, 0, 4, RasterOp::SRCCOPY);
  EXPECT_EQ(p.At(3, 0), 4003u);
  EXPECT_EQ(p.At(3, 11), 15003u);
  Picture q = Numbered(16, 1);
  BitBlt(q, 2, 0, 14, 1, q, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(q.At(2, 0), 0u);
  EXPECT_EQ(q.At(15, 0), 13u);
}

TEST(BitBlt, TileAtTheRightEdgeIsWholeAndBelowThePictureIsNotDrawn) {
  Picture master(512, 640, 0);
  Picture tile(32, 32, 0x123456);
  BitBlt(master, 480, 0, 32, 32, tile, 0, 0, RasterOp::SRCCOPY);
  BitBlt(master, 0, 640, 32, 32, tile, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(master.At(480, 0), 0x123456u);
  EXPECT_EQ(master.At(511, 31), 0x123456u);
  EXPECT_EQ(master.At(0, 639), 0u);
}

}  // namespace
}  // namespace kelto1

namespace kelto1 {
namespace {

// A road picture of random colours.
Picture RandomRoad(int w, int h, uint32_t& seed) {
  Picture road(w, h);
  for (uint32_t& px : road.pixels()) px = (seed = seed * 1664525u + 1013904223u) >> 8;
  return road;
}

TEST(MaskedSheet, DrawsTheSamePictureAsTheTwoTransfers) {
  uint32_t seed = 777;
  auto next = [&] { seed = seed * 1664525u + 1013904223u; return seed >> 8; };
  // A 512 x 512 sheet whose cells have ragged opaque spans, some rows empty, and here
  // and there, outside the shape, a sheet pixel that is not white or a mask pixel that is
  // not black (they still change the road they are drawn over, so they must be drawn).
  Picture mask(512, 512, 0), sheet(512, 512, 0xFFFFFF);
  for (int y = 0; y < 512; ++y) {
    const int b = static_cast<int>(next() % 40), e = b + static_cast<int>(next() % 20);
    for (int x = 0; x < 512; ++x) {
      if (x % 32 >= b && x % 32 < e) {
        mask.Set(x, y, 0xFFFFFF);
        sheet.Set(x, y, next() & 0xFFFFFF);
      } else if (next() % 97 == 0) {
        sheet.Set(x, y, 0xF0F0F0);
      } else if (next() % 89 == 0) {
        mask.Set(x, y, 0x00FF00);  // a mask that is neither black nor white lightens
      }
    }
  }
  MaskedSheet cells;
  auto check_all = [&](const char* what) {
    cells.Update(mask, sheet);
    for (int cell : {0, 17, 100, 255}) {
      const int sx = (cell % 16) * 32, sy = (cell / 16) * 32;
      for (int x : {-31, -9, 0, 13, 470, 500}) {
        for (int y : {-20, 0, 5, 560, 570}) {
          Picture road = RandomRoad(512, 576, seed);
          Picture two = road;
          BitBlt(two, x, y, 32, 32, mask, sx, sy, RasterOp::SRCPAINT);
          BitBlt(two, x, y, 32, 32, sheet, sx, sy, RasterOp::SRCAND);
          cells.Draw(road, x, y, cell);
          ASSERT_EQ(road.pixels(), two.pixels()) << what << ": cell " << cell << " at " << x << "," << y;
        }
      }
    }
  };
  check_all("as made");
  for (int x = 0; x < 512; ++x) {
    mask.Set(x, 3, 0xFFFFFF);
    sheet.Set(x, 3, 0x123456);
  }
  check_all("after the mask and the sheet changed");
  sheet.Set(40, 70, 0x0000FF);  // outside the shape, in cell 17
  check_all("after only the sheet changed");
}

TEST(MaskedSheet, CellsOutsideTheSheetAndMismatchedPicturesDrawNothing) {
  Picture mask(512, 64, 0xFFFFFF), sheet(512, 64, 0x123456);
  MaskedSheet cells;
  cells.Update(mask, sheet);
  uint32_t seed = 5;
  const Picture road = RandomRoad(64, 64, seed);
  for (int cell : {-1, 32, 1000}) {
    Picture drawn = road;
    cells.Draw(drawn, 0, 0, cell);
    EXPECT_EQ(drawn.pixels(), road.pixels()) << cell;
  }
  Picture other_size(256, 64, 0x654321);
  cells.Update(mask, other_size);
  Picture drawn = road;
  cells.Draw(drawn, 0, 0, 0);
  EXPECT_EQ(drawn.pixels(), road.pixels());
}

// The road's scroll turns its ring of rows; everything read or drawn afterwards must see
// the same picture as after the plain copy onto itself.
TEST(ScrollDown, GivesThePictureOfTheCopyOntoItselfForEveryLaterUse) {
  uint32_t seed = 99;
  Picture mask(512, 512, 0), sheet(512, 512, 0xFFFFFF);
  for (int y = 0; y < 32; ++y)
    for (int x = 4; x < 28; ++x) {
      mask.Set(x, y, 0xFFFFFF);
      sheet.Set(x, y, 0x0000C0 + static_cast<uint32_t>(x + y));
    }
  MaskedSheet cells;
  cells.Update(mask, sheet);
  for (int rows : {32, 1, 300, 320, 400, 639, 640, 0}) {
    Picture ring = RandomRoad(512, 640, seed);
    Picture copied = ring;
    BitBlt(copied, 0, rows, 512, 640 - rows, copied, 0, 0, RasterOp::SRCCOPY);
    ring.ScrollDown(rows);
    ASSERT_EQ(ring.pixels(), copied.pixels()) << rows;
    // Scroll again several times, then read, draw and copy across the seam of the ring.
    for (int k = 0; k < 25; ++k) {
      BitBlt(copied, 0, 32, 512, 608, copied, 0, 0, RasterOp::SRCCOPY);
      ring.ScrollDown(32);
    }
    for (Picture* p : {&ring, &copied}) {
      BitBlt(*p, 100, 620, 32, 32, sheet, 0, 0, RasterOp::SRCCOPY);
      for (int y = -16; y < 640; y += 9) cells.Draw(*p, (y * 7) % 500, y, 0);  // some straddle the seam
      cells.Draw(*p, 500, 10, 0);
      p->Set(7, 639, 0xABCDEF);
    }
    Picture view_ring(512, 576), view_copied(512, 576);
    BitBlt(view_ring, 0, 0, 512, 576, ring, 0, 50, RasterOp::SRCCOPY);
    BitBlt(view_copied, 0, 0, 512, 576, copied, 0, 50, RasterOp::SRCCOPY);
    ASSERT_EQ(view_ring.pixels(), view_copied.pixels()) << rows;
    for (int y : {0, 31, 32, 333, 639}) ASSERT_EQ(ring.At(3, y), copied.At(3, y)) << rows << " row " << y;
    const Picture assigned = ring;
    ASSERT_EQ(assigned.pixels(), copied.pixels()) << rows;
  }
}

}  // namespace
}  // namespace kelto1
