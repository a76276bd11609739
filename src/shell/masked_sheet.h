// Sprite cells ready to draw: a sprite sheet and its mask, kept as the runs of pixels
// that change what they are drawn over.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/picture.h"

namespace kelto1 {

// Drawing a cell gives exactly the picture of the mask OR-ed onto the target followed by
// the sheet AND-ed onto it, but touches only the pixels that change. A pixel is
//  - covering when the mask has every bit the sheet has: the sheet's pixel lands as it
//    is, whatever was under it;
//  - untouched when the mask is black over a white sheet: nothing changes (pictures hold
//    0x00RRGGBB);
//  - blending otherwise.
// Each row of a cell is cut into runs of one kind. A covering run of eight pixels or more
// is copied in four blocks of eight, the later ones moved back to end with the run (a
// pixel copied twice lands the same), so every such run costs the same four steps. What
// else changes the target is drawn from mask and sheet in blocks of eight, which may take
// in untouched or already drawn neighbours: drawing a pixel again changes nothing.
class MaskedSheet;
void DrawMaskedCell(const MaskedSheet& sheet, Picture& target, int x, int y, int cell);

class MaskedSheet {
 public:
  // Works the runs out again when either picture has changed since the last call.
  // The pictures must be the same size; a sheet is 16 cells wide.
  void Update(const Picture& mask, const Picture& sheet);
  // Draws the cell with its top left corner at (x, y), clipped to the target.
  void Draw(Picture& target, int x, int y, int cell) const { DrawMaskedCell(*this, target, x, y, cell); }

  static constexpr int kBlock = 8;

 private:
  struct CoveringRun {
    uint8_t row, column;          // of its first pixel, within the cell
    uint8_t count;                // kBlock or more
    uint8_t second, third, last;  // where its other three blocks start, from its first pixel
    uint32_t pixels;              // where its sheet pixels start in covering_pixels_
  };
  struct Block {
    uint8_t row, column;  // of its first pixel, within the cell
  };
  struct Cell {
    uint32_t first_run, first_block;  // where its runs and blocks start
  };
  // The drawing itself, built wider for processors that have it.
  friend void DrawMaskedCell(const MaskedSheet& sheet, Picture& target, int x, int y, int cell);
  void AddRun(const uint32_t* mask, const uint32_t* sheet, int row, int begin, int end, bool covering);

  const Picture* mask_ = nullptr;
  const Picture* sheet_ = nullptr;
  uint64_t mask_version_ = 0, sheet_version_ = 0;
  std::vector<Cell> cells_;  // and one past the last cell
  std::vector<CoveringRun> runs_;
  std::vector<uint32_t> covering_pixels_;
  std::vector<Block> blocks_;
  std::vector<uint32_t> block_pixels_;  // per block: eight mask pixels, then eight sheet pixels
};

}  // namespace kelto1
