// The sprite tables, the draw queue and the masked drawing over the road.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <stb/stb_image.h>

#include "headless/headless_platform.h"
#include "shell/kelto1.h"

namespace kelto1 {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

class SpritesTest : public ::testing::Test {
 protected:
  SpritesTest() {
    game.BuildSpriteTables();
    // Synthetic sheets: everything transparent unless a test paints it.
    game.Pattern.Resize(512, 512, kWhite);
    game.Masking.Resize(512, 512, kBlack);
  }

  // Paints one sheet cell: opaque where `opaque` says so, with the colour `colour` gives.
  template <class Opaque, class Colour>
  void PaintCell(int cell, Opaque opaque, Colour colour) {
    const int cx = (cell % 16) * 32, cy = (cell / 16) * 32;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool o = opaque(x, y);
        game.Pattern.Set(cx + x, cy + y, o ? colour(cx + x, cy + y) : kWhite);
        game.Masking.Set(cx + x, cy + y, o ? kWhite : kBlack);
      }
  }
  void PaintSolidCell(int cell, uint32_t colour) {
    PaintCell(cell, [](int, int) { return true; }, [&](int, int) { return colour; });
  }

  // A road whose every pixel differs from its neighbours and from white and black.
  void PaintRoad() {
    for (int y = 0; y < game.Display.height(); ++y)
      for (int x = 0; x < game.Display.width(); ++x) game.Display.Set(x, y, RoadColour(x, y));
  }
  static uint32_t RoadColour(int x, int y) { return 0x101010u + ((x * 7 + y * 13) % 200) * 0x010101u; }

  std::vector<int> CellsOf(int sprite) const {
    std::vector<int> cells;
    const int n = game.vehicles.SpriteSize[2 * sprite] * game.vehicles.SpriteSize[2 * sprite + 1];
    for (int k = 0; k < n; ++k) cells.push_back(game.vehicles.SpriteCells[game.vehicles.SpriteFirstCell[sprite] + k]);
    return cells;
  }

  HeadlessPlatform platform;
  Kelto1 game{platform};
};

TEST_F(SpritesTest, EverySpriteIsOneRectangleOfTheSheetInRowMajorOrder) {
  int expected_first = 0;
  for (int s = 0; s < 60; ++s) {
    SCOPED_TRACE("sprite " + std::to_string(s));
    const int w = game.vehicles.SpriteSize[2 * s], h = game.vehicles.SpriteSize[2 * s + 1];
    EXPECT_EQ(game.vehicles.SpriteFirstCell[s], expected_first);
    expected_first += w * h;
    const std::vector<int> cells = CellsOf(s);
    for (int k = 0; k < w * h; ++k) {
      // Each cell lies k % w columns right of and k / w rows below the first one.
      EXPECT_EQ(cells[k], cells[0] + (k / w) * 16 + k % w);
      EXPECT_LE(cells[0] % 16 + w, 16) << "a sprite must not wrap around the sheet's right edge";
    }
  }
  EXPECT_EQ(expected_first, 230);
  for (int s = 57; s < 60; ++s) EXPECT_EQ(game.vehicles.SpriteSize[2 * s] * game.vehicles.SpriteSize[2 * s + 1], 0);
  for (int i = 230; i <= 250; ++i) EXPECT_EQ(game.vehicles.SpriteCells[i], 0);
}

TEST_F(SpritesTest, ThePlayersVehiclesSitAtTheirSheetCells) {
  struct Case {
    int sprite, width, height, first_cell;
  };
  const Case cases[] = {{1, 2, 3, 0}, {10, 2, 3, 52}, {15, 2, 3, 102}, {16, 2, 3, 144}, {20, 2, 4, 8}, {52, 1, 2, 168}};
  for (const Case& c : cases) {
    SCOPED_TRACE("sprite " + std::to_string(c.sprite));
    EXPECT_EQ(game.vehicles.SpriteSize[2 * c.sprite], c.width);
    EXPECT_EQ(game.vehicles.SpriteSize[2 * c.sprite + 1], c.height);
    EXPECT_EQ(CellsOf(c.sprite).front(), c.first_cell);
  }
  // Sprite 0 is the top-left cell of the dark blue car turned the other way.
  EXPECT_EQ(CellsOf(0), std::vector<int>{CellsOf(2).front()});
}

TEST_F(SpritesTest, TheQueueHolds255EntriesAndDropsTheRest) {
  for (int k = 0; k < 256; ++k) game.QueueSprite(static_cast<uint8_t>(42 + k % 10), static_cast<int16_t>(k), -7);
  EXPECT_EQ(game.vehicles.SpriteQueue[0], 255);
  EXPECT_EQ(game.vehicles.SpriteQueue[3 * 255 - 2], 42 + 254 % 10);
  EXPECT_EQ(game.vehicles.SpriteQueue[3 * 255 - 1], 254);
  EXPECT_EQ(game.vehicles.SpriteQueue[3 * 255], -7);

  // The 256th would have been the only sprite at this spot.
  PaintSolidCell(120, 0xFF0000);
  game.vehicles.SpriteQueue[0] = 0;
  for (int k = 0; k < 255; ++k) game.QueueSprite(42, 0, 0);
  game.QueueSprite(42, 300, 300);
  game.DrawQueuedSprites();
  EXPECT_EQ(game.Display.At(310, 310), kBlack);
  EXPECT_EQ(game.Display.At(10, 10), 0xFF0000u);
}

TEST_F(SpritesTest, QueueOrderIsStackingOrder) {
  PaintSolidCell(120, 0xFF0000);  // sprite 42
  PaintSolidCell(121, 0x0000FF);  // sprite 43
  game.QueueSprite(42, 100, 100);
  game.QueueSprite(43, 116, 100);
  game.DrawQueuedSprites();
  EXPECT_EQ(game.Display.At(110, 110), 0xFF0000u);
  EXPECT_EQ(game.Display.At(120, 110), 0x0000FFu);  // the later one covers the overlap

  game.vehicles.SpriteQueue[0] = 0;
  game.QueueSprite(43, 116, 100);
  game.QueueSprite(42, 100, 100);
  game.DrawQueuedSprites();
  EXPECT_EQ(game.Display.At(120, 110), 0xFF0000u);
  EXPECT_EQ(game.Display.At(140, 110), 0x0000FFu);
}

TEST_F(SpritesTest, TransparentPixelsKeepTheRoadAndOpaqueOnesShowTheSheetExactly) {
  // A checkerboard of opaque pixels in colours that OR and AND with the road would spoil.
  for (int cell : {0, 1, 16, 17, 32, 33}) {
    PaintCell(
        cell, [](int x, int y) { return (x + y) % 2 == 0; },
        [](int x, int y) { return 0x0F00F0u ^ static_cast<uint32_t>(x * 977 + y * 131); });
  }
  PaintRoad();
  game.QueueSprite(1, 200, 300);
  game.DrawQueuedSprites();
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint32_t got = game.Display.At(200 + x, 300 + y);
      if (game.Masking.At(x, y) == kWhite) {
        ASSERT_EQ(got, game.Pattern.At(x, y)) << x << "," << y;
      } else {
        ASSERT_EQ(got, RoadColour(200 + x, 300 + y)) << x << "," << y;
      }
    }
  EXPECT_EQ(game.Display.At(199, 300), RoadColour(199, 300));
  EXPECT_EQ(game.Display.At(264, 396), RoadColour(264, 396));
}

// A sprite reaching past any edge of the view is cut off there; the rest is drawn.
TEST_F(SpritesTest, SpritesAreClippedAtEveryEdge) {
  for (int cell : {0, 1, 16, 17, 32, 33})
    PaintCell(cell, [](int, int) { return true; }, [](int x, int y) { return 0x800000u + x * 256u + y; });
  struct Case {
    const char* edge;
    int x, y;
    bool partly_inside;
  };
  const Case cases[] = {{"left", -40, 200, true},       {"right", 490, 200, true},
                        {"top", 100, -70, true},        {"bottom", 100, 540, true},
                        {"top-left", -63, -95, true},   {"bottom-right", 511, 575, true},
                        {"far outside", -300, 900, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.edge);
    PaintRoad();
    game.vehicles.SpriteQueue[0] = 0;
    game.QueueSprite(1, static_cast<int16_t>(c.x), static_cast<int16_t>(c.y));
    game.DrawQueuedSprites();
    int drawn = 0;
    for (int y = 0; y < 576; ++y)
      for (int x = 0; x < 512; ++x) {
        const int sx = x - c.x, sy = y - c.y;
        const bool inside = sx >= 0 && sx < 64 && sy >= 0 && sy < 96;
        const uint32_t want = inside ? game.Pattern.At(sx, sy) : RoadColour(x, y);
        drawn += inside;
        ASSERT_EQ(game.Display.At(x, y), want) << x << "," << y;
      }
    EXPECT_EQ(drawn > 0, c.partly_inside);
  }
}

TEST_F(SpritesTest, EmptySpritesDrawNothing) {
  for (int cell = 0; cell < 256; ++cell) PaintSolidCell(cell, 0x00FF00);
  PaintRoad();
  const std::vector<uint32_t> before = game.Display.pixels();
  for (uint8_t s : {57, 58, 59}) game.QueueSprite(s, 100, 100);
  game.DrawQueuedSprites();
  EXPECT_EQ(game.Display.pixels(), before);
}

TEST_F(SpritesTest, DrawingDoesNotEmptyTheQueue) {
  PaintSolidCell(120, 0xFF0000);
  game.QueueSprite(42, 10, 10);
  game.DrawQueuedSprites();
  EXPECT_EQ(game.vehicles.SpriteQueue[0], 1);
  game.Display.Clear();
  game.DrawQueuedSprites();
  EXPECT_EQ(game.Display.At(20, 20), 0xFF0000u);
}

// ---- The committed artwork -------------------------------------------------------------

struct Image {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  uint32_t At(int x, int y) const {
    const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  }
};

bool LoadPng(const std::string& path, Image& image) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  int channels = 0;
  stbi_uc* data = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &image.width, &image.height,
                                        &channels, 3);
  if (!data) return false;
  image.rgb.assign(data, data + static_cast<size_t>(image.width) * image.height * 3);
  stbi_image_free(data);
  return true;
}

TEST_F(SpritesTest, EveryUsedSheetCellKeepsTheMaskPairing) {
  const std::string dir = std::string(KELTO1_SOURCE_DIR) + "/assets/";
  Image sheet, mask;
  if (!std::ifstream(dir + "sprites.png") || !std::ifstream(dir + "sprites_mask.png"))
    GTEST_SKIP() << "the sprite artwork is not in assets/";
  ASSERT_TRUE(LoadPng(dir + "sprites.png", sheet));
  ASSERT_TRUE(LoadPng(dir + "sprites_mask.png", mask));
  ASSERT_EQ(sheet.width, 512);
  ASSERT_EQ(sheet.height, 512);
  ASSERT_EQ(mask.width, 512);
  ASSERT_EQ(mask.height, 512);

  for (int s = 0; s < 57; ++s) {
    SCOPED_TRACE("sprite " + std::to_string(s));
    int opaque = 0;
    for (int cell : CellsOf(s)) {
      const int cx = (cell % 16) * 32, cy = (cell / 16) * 32;
      for (int y = cy; y < cy + 32; ++y)
        for (int x = cx; x < cx + 32; ++x) {
          const uint32_t m = mask.At(x, y);
          ASSERT_TRUE(m == kWhite || m == kBlack) << "mask pixel " << x << "," << y << " is neither black nor white";
          if (m == kBlack) {
            ASSERT_EQ(sheet.At(x, y), kWhite) << "transparent pixel " << x << "," << y << " is not white in the sheet";
          }
          opaque += m == kWhite;
        }
    }
    EXPECT_GT(opaque, 0) << "an empty sprite";
  }
}

}  // namespace
}  // namespace kelto1
