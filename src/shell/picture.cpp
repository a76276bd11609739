// The raster operations: straight copy, OR and AND, with clipping on every side.
#include "shell/picture.h"

#include <algorithm>
#include <cstring>

namespace kelto1 {

namespace {
uint64_t g_last_version = 0;
}

void Picture::Touch() { version_ = ++g_last_version; }

Picture& Picture::operator=(const Picture& other) {
  width_ = other.width_;
  height_ = other.height_;
  background_ = other.background_;
  pixels_ = other.pixels_;
  Touch();
  return *this;
}

void Picture::Resize(int width, int height, uint32_t background) {
  Touch();
  width_ = width;
  height_ = height;
  background_ = background;
  pixels_.assign(static_cast<size_t>(width) * height, background);
}

void Picture::CopyImageFrom(const Picture& other) {
  Touch();
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = other.pixels_;
}

namespace {

// Cuts the rectangle down to what lies inside both pictures.
bool Clip(int& x, int& y, int& w, int& h, int& sx, int& sy, const Picture& target, const Picture& source) {
  if (x < 0) { sx -= x; w += x; x = 0; }
  if (y < 0) { sy -= y; h += y; y = 0; }
  if (sx < 0) { x -= sx; w += sx; sx = 0; }
  if (sy < 0) { y -= sy; h += sy; sy = 0; }
  w = std::min({w, target.width() - x, source.width() - sx});
  h = std::min({h, target.height() - y, source.height() - sy});
  return w > 0 && h > 0;
}

void OrRow(uint32_t* __restrict dst, const uint32_t* __restrict src, int w) {
  for (int i = 0; i < w; ++i) dst[i] |= src[i];
}

void AndRow(uint32_t* __restrict dst, const uint32_t* __restrict src, int w) {
  for (int i = 0; i < w; ++i) dst[i] &= src[i];
}

void CombineRow(uint32_t* dst, const uint32_t* src, int w, RasterOp op) {
  switch (op) {
    case RasterOp::SRCCOPY:
      std::memmove(dst, src, static_cast<size_t>(w) * sizeof(uint32_t));
      break;
    case RasterOp::SRCPAINT:
      OrRow(dst, src, w);
      break;
    case RasterOp::SRCAND:
      AndRow(dst, src, w);
      break;
  }
}

// A whole sprite cell row, 32 pixels: a fixed count the compiler turns into vector code
// (inlined into the cell drawing, which is built wider for processors that have it).
inline void MaskedRow32(uint32_t* __restrict dst, const uint32_t* __restrict mask, const uint32_t* __restrict sheet) {
  for (int i = 0; i < 32; ++i) dst[i] = (dst[i] | mask[i]) & sheet[i];
}

inline void MaskedRow8(uint32_t* __restrict dst, const uint32_t* __restrict mask, const uint32_t* __restrict sheet) {
  for (int i = 0; i < 8; ++i) dst[i] = (dst[i] | mask[i]) & sheet[i];
}

void MaskedRow(uint32_t* __restrict dst, const uint32_t* __restrict mask, const uint32_t* __restrict sheet, int w) {
  for (int i = 0; i < w; ++i) dst[i] = (dst[i] | mask[i]) & sheet[i];
}

}  // namespace

void BitBlt(Picture& target, int x, int y, int w, int h, const Picture& source, int sx, int sy, RasterOp op) {
  if (!Clip(x, y, w, h, sx, sy, target, source)) return;
  // Within one picture, walk the rows against the direction of the shift so that no
  // source row is overwritten before it has been read (memmove covers the columns).
  const bool same = &target == &source;
  if (same && op != RasterOp::SRCCOPY) {
    // OR and AND within one picture never happen in play; a snapshot keeps them exact.
    Picture snapshot;
    snapshot.CopyImageFrom(source);
    for (int r = 0; r < h; ++r) CombineRow(target.Row(y + r) + x, snapshot.Row(sy + r) + sx, w, op);
    return;
  }
  if (same && y > sy) {
    for (int r = h - 1; r >= 0; --r) CombineRow(target.Row(y + r) + x, source.Row(sy + r) + sx, w, op);
  } else {
    for (int r = 0; r < h; ++r) CombineRow(target.Row(y + r) + x, source.Row(sy + r) + sx, w, op);
  }
}

void MaskSpans::Update(const Picture& mask) {
  if (mask_ == &mask && version_ == mask.version()) return;
  mask_ = &mask;
  version_ = mask.version();
  const int cells = (mask.width() / 32) * (mask.height() / 32);
  begin_.assign(static_cast<size_t>(cells) * 32, 0);
  end_.assign(static_cast<size_t>(cells) * 32, 0);
  const int per_row = mask.width() / 32;
  for (int cell = 0; cell < cells; ++cell) {
    const int cx = (cell % per_row) * 32, cy = (cell / per_row) * 32;
    for (int r = 0; r < 32; ++r) {
      const uint32_t* row = mask.Row(cy + r) + cx;
      int b = 0, e = 32;
      while (b < 32 && row[b] == 0) ++b;
      while (e > b && row[e - 1] == 0) --e;
      begin_[static_cast<size_t>(cell) * 32 + r] = static_cast<uint8_t>(b);
      end_[static_cast<size_t>(cell) * 32 + r] = static_cast<uint8_t>(e);
    }
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("avx2", "default")))
#endif
void BlitMaskedCell(Picture& target, int x, int y, const Picture& mask, const Picture& sheet, int cell,
                    const MaskSpans& spans) {
  const int per_row = mask.width() / 32;
  const int cx = (cell % per_row) * 32, cy = (cell / per_row) * 32;
  if (mask.width() != sheet.width() || mask.height() != sheet.height() || cy + 32 > mask.height()) return;
  // The cell's rows that land inside the target, and its columns that do.
  const int r0 = std::max(0, -y), r1 = std::min(32, target.height() - y);
  const int c0 = std::max(0, -x), c1 = std::min(32, target.width() - x);
  if (r0 >= r1 || c0 >= c1) return;
  const bool whole_width = c0 == 0 && c1 == 32;
  // Row starts, stepped down the rows rather than looked up for each.
  uint32_t* dst_row = target.Row(y + r0);
  const uint32_t* mask_row = mask.Row(cy + r0) + cx;
  const uint32_t* sheet_row = sheet.Row(cy + r0) + cx;
  const size_t target_step = static_cast<size_t>(target.width()), sheet_step = static_cast<size_t>(mask.width());
  for (int r = r0; r < r1; ++r, dst_row += target_step, mask_row += sheet_step, sheet_row += sheet_step) {
    // The span widened to whole groups of eight pixels, which the vector code takes in
    // one step; the transparent pixels it takes in leave the target as it was.
    int b = spans.Begin(cell, r) & ~7, e = (spans.End(cell, r) + 7) & ~7;
    if (b >= e) continue;
    if (whole_width) {  // then x >= 0 and the cell lies wholly inside the row
      uint32_t* dst = dst_row + x;
      if (b == 0 && e == 32) {
        MaskedRow32(dst, mask_row, sheet_row);
      } else {
        for (; b < e; b += 8) MaskedRow8(dst + b, mask_row + b, sheet_row + b);
      }
      continue;
    }
    b = std::max(b, c0);
    e = std::min(e, c1);
    if (b < e) {
      MaskedRow(dst_row + x + b, mask_row + b, sheet_row + b, e - b);
    }
  }
}

void BitBltMasked(Picture& target, int x, int y, int w, int h, const Picture& mask, const Picture& sheet, int sx,
                  int sy) {
  // The mask and the sheet share one layout, so clipping against one clips both.
  if (mask.width() != sheet.width() || mask.height() != sheet.height()) return;
  if (!Clip(x, y, w, h, sx, sy, target, mask)) return;
  for (int r = 0; r < h; ++r) {
    uint32_t* dst = target.Row(y + r) + x;
    const uint32_t* m = mask.Row(sy + r) + sx;
    const uint32_t* s = sheet.Row(sy + r) + sx;
    if (w == 32) {
      MaskedRow32(dst, m, s);
    } else {
      MaskedRow(dst, m, s, w);
    }
  }
}

}  // namespace kelto1
