// How the 630 x 576 picture fills a window: either the largest whole factor that fits,
// or a sharp fit that fills the window keeping the picture's shape; centred on black,
// and the way back from window points to picture pixels.
#pragma once

#include "frontend/screen_layout.h"

namespace kelto1 {

// The largest whole factor at which the picture fits an area, 0 when none does.
int WholeScaleThatFits(int width, int height);

// Where the picture goes in an output of this size: whole factors, centred; an
// output smaller than the picture shrinks it keeping its shape, so nothing is cut off.
Rect FitPicture(int out_width, int out_height);

// The two ways the player can have the picture fill the window.
enum class ScaleMode : unsigned char {
  Whole,  // whole factors only: every pixel the same size, black all round
  Sharp,  // fills the window: blown up by the largest whole factor that fits, the
          // rest of the way smoothed, so pixels stay crisp and nothing is cut off
};

// The sharp fit: the picture is first enlarged `prescale` times with hard pixel edges,
// then that is smoothed down or up to `placed`.
struct SharpFit {
  Rect placed;
  int prescale = 1;
};
SharpFit FitSharply(int out_width, int out_height);

// Where the picture goes in an output of this size, in either mode.
Rect FitPicture(int out_width, int out_height, ScaleMode mode);

// The factor a new window opens at: the largest that fits the usable screen area with
// room to spare for the window's frame, and at least 1.
int OpeningScale(int usable_width, int usable_height);

// A point of the output, in picture pixels (may lie outside the picture).
struct Point {
  int x = 0, y = 0;
};
Point ToPicture(int out_x, int out_y, const Rect& placed);

}  // namespace kelto1
