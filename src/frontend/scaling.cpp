// Scaling the picture into the window.
#include "frontend/scaling.h"

#include <algorithm>
#include <cmath>

namespace kelto1 {

int WholeScaleThatFits(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return std::min(width / kScreenWidth, height / kScreenHeight);
}

Rect FitPicture(int out_width, int out_height) {
  const int scale = WholeScaleThatFits(out_width, out_height);
  int w = kScreenWidth * scale;
  int h = kScreenHeight * scale;
  if (scale == 0) {
    const double ratio = std::min(double(std::max(out_width, 0)) / kScreenWidth,
                                  double(std::max(out_height, 0)) / kScreenHeight);
    w = std::max(1, static_cast<int>(kScreenWidth * ratio));
    h = std::max(1, static_cast<int>(kScreenHeight * ratio));
  }
  return {(out_width - w) / 2, (out_height - h) / 2, w, h};
}

SharpFit FitSharply(int out_width, int out_height) {
  if (out_width <= 0 || out_height <= 0) return {{0, 0, 0, 0}, 1};
  const double ratio = std::min(double(out_width) / kScreenWidth, double(out_height) / kScreenHeight);
  // The side that limits the fit fills the output exactly; the other is rounded.
  const int w = std::clamp(static_cast<int>(std::lround(kScreenWidth * ratio)), 1, out_width);
  const int h = std::clamp(static_cast<int>(std::lround(kScreenHeight * ratio)), 1, out_height);
  return {{(out_width - w) / 2, (out_height - h) / 2, w, h}, std::max(1, WholeScaleThatFits(out_width, out_height))};
}

Rect FitPicture(int out_width, int out_height, ScaleMode mode) {
  return mode == ScaleMode::Sharp ? FitSharply(out_width, out_height).placed : FitPicture(out_width, out_height);
}

int OpeningScale(int usable_width, int usable_height) {
  // A tenth of the screen is left for the frame, the caption and a margin around.
  return std::max(1, WholeScaleThatFits(usable_width * 9 / 10, usable_height * 9 / 10));
}

Point ToPicture(int out_x, int out_y, const Rect& placed) {
  if (placed.w <= 0 || placed.h <= 0) return {-1, -1};
  auto map = [](int v, int origin, int size, int full) {
    return static_cast<int>(std::floor(double(v - origin) * full / size));
  };
  return {map(out_x, placed.x, placed.w, kScreenWidth), map(out_y, placed.y, placed.h, kScreenHeight)};
}

}  // namespace kelto1
