// How the 630 x 576 picture fills a window: the largest whole factor that fits,
// centred on black, and the way back from window points to picture pixels.
#pragma once

#include "frontend/screen_layout.h"

namespace kelto1 {

// The largest whole factor at which the picture fits an area, 0 when none does.
int WholeScaleThatFits(int width, int height);

// Where the picture goes in an output of this size: whole factors, centred; an
// output smaller than the picture shrinks it keeping its shape, so nothing is cut off.
Rect FitPicture(int out_width, int out_height);

// The factor a new window opens at: the largest that fits the usable screen area with
// room to spare for the window's frame, and at least 1.
int OpeningScale(int usable_width, int usable_height);

// A point of the output, in picture pixels (may lie outside the picture).
struct Point {
  int x = 0, y = 0;
};
Point ToPicture(int out_x, int out_y, const Rect& placed);

}  // namespace kelto1
