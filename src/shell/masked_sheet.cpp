// Sprite cells as runs of the pixels that matter, and their drawing.
#include "shell/masked_sheet.h"

#include <algorithm>

namespace kelto1 {

namespace {

constexpr int kCell = 32;
constexpr int kCellsPerRow = 16;
constexpr int kBlock = MaskedSheet::kBlock;

enum class Kind { kUntouched, kCovering, kBlending };

Kind KindOf(uint32_t mask, uint32_t sheet) {
  if ((sheet & ~mask) == 0) return Kind::kCovering;  // (old | mask) & sheet == sheet
  if (mask == 0 && (sheet & 0xFFFFFF) == 0xFFFFFF) return Kind::kUntouched;
  return Kind::kBlending;
}

// Eight pixels as one value, which the wider build moves in one step (a plain copy of
// this size is done in halves).
typedef uint32_t Block8 __attribute__((vector_size(kBlock * sizeof(uint32_t)), aligned(4), may_alias));

inline void CopyBlock(uint32_t* dst, const uint32_t* sheet) {
  *reinterpret_cast<Block8*>(dst) = *reinterpret_cast<const Block8*>(sheet);
}

// A fixed count, which the compiler turns into vector steps.
inline void BlendBlock(uint32_t* __restrict dst, const uint32_t* __restrict mask_then_sheet) {
  for (int i = 0; i < kBlock; ++i) dst[i] = (dst[i] | mask_then_sheet[i]) & mask_then_sheet[kBlock + i];
}

// A covering run in its four blocks.
template <class Run>
inline void CopyRun(const Run& run, uint32_t* dst, const uint32_t* src) {
  CopyBlock(dst, src);
  CopyBlock(dst + run.second, src + run.second);
  CopyBlock(dst + run.third, src + run.third);
  CopyBlock(dst + run.last, src + run.last);
}

}  // namespace

void MaskedSheet::AddRun(const uint32_t* mask, const uint32_t* sheet, int row, int begin, int end, bool covering) {
  if (covering) {
    const int last = end - begin - kBlock;
    runs_.push_back({static_cast<uint8_t>(row), static_cast<uint8_t>(begin), static_cast<uint8_t>(end - begin),
                     static_cast<uint8_t>(std::min(kBlock, last)), static_cast<uint8_t>(std::min(2 * kBlock, last)),
                     static_cast<uint8_t>(last), static_cast<uint32_t>(covering_pixels_.size())});
    covering_pixels_.insert(covering_pixels_.end(), sheet + begin, sheet + end);
    return;
  }
  // Blocks from the run's start, the last one moved back to end with the run; one shorter
  // than a block takes in its neighbours.
  for (int b = begin;; b += kBlock) {
    const int at = std::max(0, std::min(b, end - kBlock));
    blocks_.push_back({static_cast<uint8_t>(row), static_cast<uint8_t>(at)});
    block_pixels_.insert(block_pixels_.end(), mask + at, mask + at + kBlock);
    block_pixels_.insert(block_pixels_.end(), sheet + at, sheet + at + kBlock);
    if (at + kBlock >= end) break;
  }
}

void MaskedSheet::Update(const Picture& mask, const Picture& sheet) {
  if (mask_ == &mask && sheet_ == &sheet && mask_version_ == mask.version() && sheet_version_ == sheet.version())
    return;
  mask_ = &mask;
  sheet_ = &sheet;
  mask_version_ = mask.version();
  sheet_version_ = sheet.version();
  cells_.assign(1, Cell{0, 0});
  runs_.clear();
  covering_pixels_.clear();
  blocks_.clear();
  block_pixels_.clear();
  if (mask.width() != sheet.width() || mask.height() != sheet.height()) return;
  if (mask.width() < kCellsPerRow * kCell) return;
  const int cells = kCellsPerRow * (mask.height() / kCell);
  for (int cell = 0; cell < cells; ++cell) {
    const int cx = (cell % kCellsPerRow) * kCell, cy = (cell / kCellsPerRow) * kCell;
    for (int r = 0; r < kCell; ++r) {
      const uint32_t* m = mask.Row(cy + r) + cx;
      const uint32_t* s = sheet.Row(cy + r) + cx;
      for (int b = 0; b < kCell;) {
        const Kind kind = KindOf(m[b], s[b]);
        int e = b + 1;
        while (e < kCell && KindOf(m[e], s[e]) == kind) ++e;
        if (kind != Kind::kUntouched) AddRun(m, s, r, b, e, kind == Kind::kCovering && e - b >= kBlock);
        b = e;
      }
    }
    cells_.push_back(Cell{static_cast<uint32_t>(runs_.size()), static_cast<uint32_t>(blocks_.size())});
  }
}

// Windows programs have no indirect functions to choose the clone at load time.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
__attribute__((target_clones("avx2", "default")))
#endif
void DrawMaskedCell(const MaskedSheet& sheet, Picture& target, int x, int y, int cell) {
  if (cell < 0 || static_cast<size_t>(cell) + 1 >= sheet.cells_.size()) return;
  // The cell's rows and columns that land inside the target.
  const int r0 = std::max(0, -y), r1 = std::min(kCell, target.height() - y);
  const int c0 = std::max(0, -x), c1 = std::min(kCell, target.width() - x);
  if (r0 >= r1 || c0 >= c1) return;
  const size_t width = static_cast<size_t>(target.width());
  uint32_t* const rows = target.FirstRowInMemory();
  const MaskedSheet::Cell& from = sheet.cells_[static_cast<size_t>(cell)];
  const MaskedSheet::Cell& to = sheet.cells_[static_cast<size_t>(cell) + 1];
  const MaskedSheet::CoveringRun* const runs = sheet.runs_.data();
  const uint32_t* const covering = sheet.covering_pixels_.data();
  const MaskedSheet::Block* const blocks = sheet.blocks_.data();
  const uint32_t* const block_pixels = sheet.block_pixels_.data();
  if (r0 == 0 && r1 == kCell && c0 == 0 && c1 == kCell &&
      target.RowOffset(y + kCell - 1) == target.RowOffset(y) + (kCell - 1) * width) {
    // The whole cell lands, its rows one after another in memory from its top left corner.
    uint32_t* const corner = rows + target.RowOffset(y) + x;
    for (uint32_t i = from.first_run; i < to.first_run; ++i)
      CopyRun(runs[i], corner + runs[i].row * width + runs[i].column, covering + runs[i].pixels);
    for (uint32_t i = from.first_block; i < to.first_block; ++i)
      BlendBlock(corner + blocks[i].row * width + blocks[i].column, block_pixels + i * 2 * size_t{kBlock});
    return;
  }
  // Cut at the target's edges: whole blocks where they lie inside, pixel by pixel where
  // they straddle a side.
  for (uint32_t i = from.first_run; i < to.first_run; ++i) {
    const MaskedSheet::CoveringRun& run = runs[i];
    if (run.row < r0 || run.row >= r1) continue;
    uint32_t* const row = rows + target.RowOffset(y + run.row);
    const uint32_t* const src = covering + run.pixels;
    if (run.column >= c0 && run.column + run.count <= c1) {
      CopyRun(run, row + x + run.column, src);
      continue;
    }
    for (int c = std::max<int>(run.column, c0); c < std::min(run.column + run.count, c1); ++c)
      row[x + c] = src[c - run.column];
  }
  for (uint32_t i = from.first_block; i < to.first_block; ++i) {
    const MaskedSheet::Block& block = blocks[i];
    if (block.row < r0 || block.row >= r1) continue;
    uint32_t* const row = rows + target.RowOffset(y + block.row);
    const uint32_t* const pixels = block_pixels + i * 2 * size_t{kBlock};
    if (block.column >= c0 && block.column + kBlock <= c1) {
      BlendBlock(row + x + block.column, pixels);
      continue;
    }
    for (int k = std::max(0, c0 - block.column); k < kBlock && block.column + k < c1; ++k) {
      uint32_t& dst = row[x + block.column + k];
      dst = (dst | pixels[k]) & pixels[kBlock + k];
    }
  }
}

}  // namespace kelto1
