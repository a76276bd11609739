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
  uint32_t At(int x, int y) const { return pixels_[RowOffset(y) + x]; }
  void Set(int x, int y, uint32_t c) {
    Touch();
    pixels_[RowOffset(y) + x] = c;
  }
  uint32_t* Row(int y) {
    Touch();
    return pixels_.data() + RowOffset(y);
  }
  const uint32_t* Row(int y) const { return pixels_.data() + RowOffset(y); }
  // Every pixel, top row first. A scrolled picture is put back in order for this, so
  // row pointers taken before no longer point at the same rows.
  const std::vector<uint32_t>& pixels() const {
    PutTopRowFirst();
    return pixels_;
  }
  std::vector<uint32_t>& pixels() {
    Touch();
    PutTopRowFirst();
    return pixels_;
  }

  // Moves the whole picture down by `rows`: each row below the top `rows` takes what the
  // row `rows` above it held, and the top rows keep what they held. The same pixels as a
  // copy of the picture onto itself one band lower, but only the top band is copied: the
  // rest moves by turning the buffer, which is a ring of rows.
  void ScrollDown(int rows);
  // The buffer itself, for drawing loops that find many rows: row y starts at
  // FirstRowInMemory() + RowOffset(y).
  uint32_t* FirstRowInMemory() {
    Touch();
    return pixels_.data();
  }
  // Where row y (0 <= y < height) starts, counted from the first row in memory.
  size_t RowOffset(int y) const {
    int r = y + top_row_;
    if (r >= height_) r -= height_;
    return static_cast<size_t>(r) * static_cast<size_t>(width_);
  }

 private:
  void Touch();
  // Turns the ring back so that the buffer holds the rows in order.
  void PutTopRowFirst() const;

  int width_ = 0;
  int height_ = 0;
  uint32_t background_ = 0;
  // The buffer is a ring of rows; the picture's top row is the buffer's row top_row_.
  // Reading every pixel at once puts it back in order, which is why these are mutable.
  mutable std::vector<uint32_t> pixels_;
  mutable int top_row_ = 0;
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

}  // namespace kelto1
