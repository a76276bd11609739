// Sprites: the tables, the per-frame draw queue and the masked drawing.
#include "shell/kelto1.h"

namespace kelto1 {

namespace {

// Width and height in cells of sprites 0..56; 57..59 stay 0 x 0 and draw nothing.
constexpr int16_t kSpriteSizes[114] = {
    1, 1,  2, 3,  2, 3,  2, 3,  // 0..3
    2, 3,  2, 1,  2, 1,  2, 1,  // 4..7
    2, 3,  2, 3,  2, 3,  2, 3,  // 8..11
    2, 3,  2, 3,  2, 3,  2, 3,  // 12..15
    2, 3,  2, 3,  2, 3,  2, 3,  // 16..19
    2, 4,  2, 4,  2, 4,  2, 3,  // 20..23
    2, 3,  2, 1,  2, 1,  2, 1,  // 24..27
    2, 2,  2, 2,  2, 2,  2, 2,  // 28..31
    3, 2,  3, 2,  3, 2,  3, 2,  // 32..35
    3, 2,  3, 2,  2, 2,  2, 2,  // 36..39
    2, 2,  2, 2,  1, 1,  1, 1,  // 40..43
    1, 1,  1, 1,  1, 1,  1, 1,  // 44..47
    1, 1,  1, 1,  1, 1,  1, 1,  // 48..51
    1, 2,  1, 2,  1, 1,  1, 1,  // 52..55
    1, 1,  // 56..56
};

// The sheet cells of every sprite, one sprite after another, each one's rectangle
// row by row (sprite: size from its top-left cell, column and row of the sheet).
constexpr int16_t kSpriteCells[230] = {
    2,  // 0: 1 x 1 from (2, 0)
    0, 1,   16, 17,   32, 33,  // 1: 2 x 3 from (0, 0)
    2, 3,   18, 19,   34, 35,  // 2: 2 x 3 from (2, 0)
    4, 5,   20, 21,   36, 37,  // 3: 2 x 3 from (4, 0)
    6, 7,   22, 23,   38, 39,  // 4: 2 x 3 from (6, 0)
    14, 15,  // 5: 2 x 1 from (14, 0)
    30, 31,  // 6: 2 x 1 from (14, 1)
    46, 47,  // 7: 2 x 1 from (14, 2)
    48, 49,   64, 65,   80, 81,  // 8: 2 x 3 from (0, 3)
    50, 51,   66, 67,   82, 83,  // 9: 2 x 3 from (2, 3)
    52, 53,   68, 69,   84, 85,  // 10: 2 x 3 from (4, 3)
    54, 55,   70, 71,   86, 87,  // 11: 2 x 3 from (6, 3)
    96, 97,   112, 113,   128, 129,  // 12: 2 x 3 from (0, 6)
    98, 99,   114, 115,   130, 131,  // 13: 2 x 3 from (2, 6)
    100, 101,   116, 117,   132, 133,  // 14: 2 x 3 from (4, 6)
    102, 103,   118, 119,   134, 135,  // 15: 2 x 3 from (6, 6)
    144, 145,   160, 161,   176, 177,  // 16: 2 x 3 from (0, 9)
    146, 147,   162, 163,   178, 179,  // 17: 2 x 3 from (2, 9)
    148, 149,   164, 165,   180, 181,  // 18: 2 x 3 from (4, 9)
    150, 151,   166, 167,   182, 183,  // 19: 2 x 3 from (6, 9)
    8, 9,   24, 25,   40, 41,   56, 57,  // 20: 2 x 4 from (8, 0)
    10, 11,   26, 27,   42, 43,   58, 59,  // 21: 2 x 4 from (10, 0)
    12, 13,   28, 29,   44, 45,   60, 61,  // 22: 2 x 4 from (12, 0)
    72, 73,   88, 89,   104, 105,  // 23: 2 x 3 from (8, 4)
    74, 75,   90, 91,   106, 107,  // 24: 2 x 3 from (10, 4)
    62, 63,  // 25: 2 x 1 from (14, 3)
    78, 79,  // 26: 2 x 1 from (14, 4)
    94, 95,  // 27: 2 x 1 from (14, 5)
    110, 111,   126, 127,  // 28: 2 x 2 from (14, 6)
    142, 143,   158, 159,  // 29: 2 x 2 from (14, 8)
    174, 175,   190, 191,  // 30: 2 x 2 from (14, 10)
    206, 207,   222, 223,  // 31: 2 x 2 from (14, 12)
    192, 193, 194,   208, 209, 210,  // 32: 3 x 2 from (0, 12)
    224, 225, 226,   240, 241, 242,  // 33: 3 x 2 from (0, 14)
    195, 196, 197,   211, 212, 213,  // 34: 3 x 2 from (3, 12)
    227, 228, 229,   243, 244, 245,  // 35: 3 x 2 from (3, 14)
    198, 199, 200,   214, 215, 216,  // 36: 3 x 2 from (6, 12)
    230, 231, 232,   246, 247, 248,  // 37: 3 x 2 from (6, 14)
    76, 77,   92, 93,  // 38: 2 x 2 from (12, 4)
    108, 109,   124, 125,  // 39: 2 x 2 from (12, 6)
    140, 141,   156, 157,  // 40: 2 x 2 from (12, 8)
    172, 173,   188, 189,  // 41: 2 x 2 from (12, 10)
    120,  // 42: 1 x 1 from (8, 7)
    121,  // 43: 1 x 1 from (9, 7)
    122,  // 44: 1 x 1 from (10, 7)
    123,  // 45: 1 x 1 from (11, 7)
    136,  // 46: 1 x 1 from (8, 8)
    137,  // 47: 1 x 1 from (9, 8)
    138,  // 48: 1 x 1 from (10, 8)
    139,  // 49: 1 x 1 from (11, 8)
    152,  // 50: 1 x 1 from (8, 9)
    153,  // 51: 1 x 1 from (9, 9)
    168,   184,  // 52: 1 x 2 from (8, 10)
    169,   185,  // 53: 1 x 2 from (9, 10)
    154,  // 54: 1 x 1 from (10, 9)
    155,  // 55: 1 x 1 from (11, 9)
    170,  // 56: 1 x 1 from (10, 10)
};

constexpr int kSpriteCount = 60;
constexpr int kQueueCapacity = 255;
constexpr int kCell = 32;

}  // namespace

void Kelto1::AppendWordList(Int16* target, const int16_t* values, int count) {
  for (int k = 0; k < count; ++k) {
    target[vehicles.FillIndex] = values[k];
    vehicles.FillIndex += 1;
  }
}

void Kelto1::BuildSpriteTables() {
  vehicles.FillIndex = 0;
  AppendWordList(vehicles.SpriteSize.data(), kSpriteSizes, 114);
  vehicles.FillIndex = 0;
  AppendWordList(vehicles.SpriteCells.data(), kSpriteCells, 230);
  vehicles.SpriteQueue[0] = 0;
  int first = 0;
  for (int s = 0; s < kSpriteCount; ++s) {
    vehicles.SpriteFirstCell[s] = first;
    first += vehicles.SpriteSize[2 * s] * vehicles.SpriteSize[2 * s + 1];
  }
}

void Kelto1::QueueSprite(uint8_t sprite, int16_t x, int16_t y) {
  const int n = vehicles.SpriteQueue[0];
  if (n == kQueueCapacity) return;  // a full queue drops the rest of the frame's sprites
  vehicles.SpriteQueue[3 * n + 1] = sprite;
  vehicles.SpriteQueue[3 * n + 2] = x;
  vehicles.SpriteQueue[3 * n + 3] = y;
  vehicles.SpriteQueue[0] = n + 1;
}

void Kelto1::DrawQueuedSprites() {
  const int n = vehicles.SpriteQueue[0];
  for (int k = 1; k <= n; ++k) {
    const int s = vehicles.SpriteQueue[3 * k - 2];
    if (s < 0 || s >= kSpriteCount) continue;  // no such sprite: nothing to draw
    DrawSprite(Narrow<uint8_t>(vehicles.SpriteSize[2 * s]), Narrow<uint8_t>(vehicles.SpriteSize[2 * s + 1]),
               vehicles.SpriteFirstCell[s], vehicles.SpriteQueue[3 * k - 1], vehicles.SpriteQueue[3 * k], Display);
  }
}

void Kelto1::DrawSprite(uint8_t widthCells, uint8_t heightCells, int16_t firstIndex, int16_t x, int16_t y,
                        Picture& target) {
  int i = firstIndex;
  for (int dy = 0; dy <= (heightCells - 1) * kCell; dy += kCell) {
    for (int dx = 0; dx <= (widthCells - 1) * kCell; dx += kCell) {
      BlitSprite(Narrow<uint8_t>(vehicles.SpriteCells[i]), Narrow<int16_t>(x + dx), Narrow<int16_t>(y + dy), target);
      i += 1;
    }
  }
}

void Kelto1::BlitSprite(uint8_t cell, int16_t x, int16_t y, Picture& target) {
  // The mask whitens the sprite's shape; the sheet, white where transparent, then
  // colours only that shape. Both transfers are made in one pass over the target, and
  // only over the pixels that change it. The sheets are always 512 x 512: artwork that
  // cannot be read leaves them plain.
  sprite_cells_.Update(Masking, Pattern);
  sprite_cells_.Draw(target, x, y, cell);
}

}  // namespace kelto1
