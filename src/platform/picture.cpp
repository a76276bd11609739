// The raster operations: straight copy, OR and AND, with clipping on every side.
#include "platform/picture.h"

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
  top_row_ = other.top_row_;
  Touch();
  return *this;
}

void Picture::Resize(int width, int height, uint32_t background) {
  Touch();
  width_ = width;
  height_ = height;
  background_ = background;
  pixels_.assign(static_cast<size_t>(width) * height, background);
  top_row_ = 0;
}

void Picture::CopyImageFrom(const Picture& other) {
  Touch();
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = other.pixels_;
  top_row_ = other.top_row_;
}

void Picture::PutTopRowFirst() const {
  if (top_row_ == 0) return;
  std::rotate(pixels_.begin(), pixels_.begin() + static_cast<std::ptrdiff_t>(RowOffset(0)), pixels_.end());
  top_row_ = 0;
}

void Picture::ScrollDown(int rows) {
  if (rows <= 0 || rows >= height_) return;  // nothing would land inside the picture
  Touch();
  if (2 * rows > height_) {
    // Most of the picture would be copied anyway: move the rows one by one, bottom first.
    for (int y = height_ - 1; y >= rows; --y) std::copy_n(Row(y - rows), width_, Row(y));
    return;
  }
  // Turn the ring: the bottom band becomes the top band and everything else moves down.
  top_row_ -= rows;
  if (top_row_ < 0) top_row_ += height_;
  // The top band must keep its own pixels, which now lie one band lower.
  for (int y = 0; y < rows; ++y) std::copy_n(Row(y + rows), width_, Row(y));
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

}  // namespace kelto1
