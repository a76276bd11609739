// Tile drawing from the road tile sheet, and the first screen of road at race start.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::DrawTile(uint8_t tile, int16_t x, int16_t y, Picture& target) {
  // The sheet is 8 tiles wide: the id's low three bits pick the column.
  const int sx = (tile & 7) * 32;
  const int sy = (tile / 8) * 32;
  BitBlt(target, x, y, 32, 32, PatternSL, sx, sy, RasterOp::SRCCOPY);
}

void Kelto1::BuildInitialRoad() {
  course.CoursePos = 1;
  course.RowHalf = 0;
  // Twenty rows from the bottom of Master up; the last one lands above the picture.
  for (int r = 0; r <= 19; ++r) {
    const int pattern = course.CourseSeq[course.CoursePos];
    const int first = (course.RowHalf ^ 1) * 16;
    for (int col = 0; col <= 15; ++col) {
      const uint8_t t = course.PatternRows[first + col][pattern];
      DrawTile(t, static_cast<int16_t>(col * 32), static_cast<int16_t>((18 - r) * 32), Master);
      // This first screen fills the grid from the bottom up (row r, not 18 - r), and
      // only with kerbs: the narrowing kerb on any row, other kerbs on lower rows.
      const int attr = course.TileAttr[t];
      if (attr == 3 || (attr != 0 && course.RowHalf == 0)) course.TileGrid[col][r] = attr;
    }
    course.RowHalf += 1;
    if (course.RowHalf == 2) {
      course.RowHalf = 0;
      course.CoursePos += 1;
    }
  }
}

}  // namespace kelto1
