// Pictures: pixel buffers owned by the game, and the bit-block transfer between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelto1 {

// Pixels are 0x00RRGGBB. A 1-bit mask is held as 0x000000 (transparent) and
// 0xFFFFFF (opaque), so OR-ing it whitens the sprite's shape.
class Picture {
 public:
  Picture() = default;
  Picture(int width, int height, uint32_t background = 0) { Resize(width, height, background); }
  Picture(const Picture& other) { *this = other; }
  Picture& operator=(const Picture& other);

  void Resize(int width, int height, uint32_t background = 0);
  void Clear() {
    Touch();
    pixels_.assign(pixels_.size(), background_);
  }
  void CopyImageFrom(const Picture& other);
  // Changes whenever the pixels may have changed, so what is worked out from them can
  // tell when to work it out again.
  uint64_t version() const { return version_; }

  int width() const { return width_; }
  int height() const { return height_; }
  uint32_t background() const { return background_; }
  uint32_t At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void Set(int x, int y, uint32_t c) {
    Touch();
    pixels_[static_cast<size_t>(y) * width_ + x] = c;
  }
  uint32_t* Row(int y) {
    Touch();
    return pixels_.data() + static_cast<size_t>(y) * width_;
  }
  const uint32_t* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  std::vector<uint32_t>& pixels() {
    Touch();
    return pixels_;
  }

 private:
  void Touch();

  int width_ = 0;
  int height_ = 0;
  uint32_t background_ = 0;
  std::vector<uint32_t> pixels_;
  uint64_t version_ = 0;
};

enum class RasterOp : uint32_t {
  SRCCOPY = 0xCC0020,   // source
  SRCPAINT = 0xEE0086,  // source OR target
  SRCAND = 0x8800C6,    // source AND target
};

// Combines the w x h rectangle at (sx, sy) of source into target at (x, y).
// Whatever falls outside either picture is clipped. A transfer within one picture
// reads the whole source rectangle before writing, so overlapping shifts come out intact.
void BitBlt(Picture& target, int x, int y, int w, int h, const Picture& source, int sx, int sy, RasterOp op);

// Where each row of each 32 x 32 cell of a mask sheet has opaque pixels, so that a
// sprite's transparent margins cost nothing to draw. Worked out again when the mask
// changes.
class MaskSpans {
 public:
  void Update(const Picture& mask);
  // Columns [begin, end) of the cell's row hold every opaque pixel (begin == end: none).
  int Begin(int cell, int row) const { return begin_[static_cast<size_t>(cell) * 32 + row]; }
  int End(int cell, int row) const { return end_[static_cast<size_t>(cell) * 32 + row]; }

 private:
  const Picture* mask_ = nullptr;
  uint64_t version_ = 0;
  std::vector<uint8_t> begin_, end_;
};

// A masked sprite cell of a 16-cell-wide sheet at (x, y), drawing only the opaque spans.
void BlitMaskedCell(Picture& target, int x, int y, const Picture& mask, const Picture& sheet, int cell,
                    const MaskSpans& spans);

// The two transfers of a masked sprite in one pass: target OR mask, then AND sheet,
// pixel by pixel. Gives exactly the picture of BitBlt with SRCPAINT from the mask
// followed by BitBlt with SRCAND from the sheet, at the cost of one.
void BitBltMasked(Picture& target, int x, int y, int w, int h, const Picture& mask, const Picture& sheet, int sx,
                  int sy);

}  // namespace kelto1
