// Drawing text into a picture: the fonts behind it are the front end's business
// (fontconfig and SDL2_ttf on the desktop, a stand-in in tests).
#pragma once

#include <cstdint>
#include <string>

#include "frontend/screen_layout.h"
#include "platform/picture.h"

namespace kelto1 {

class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual int Width(Face face, const std::string& text) = 0;
  virtual int LineHeight(Face face) = 0;
  // Draws text in one colour with its line box's top-left at (x, y), only inside clip.
  virtual void Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color, int x,
                    int y) = 0;
};

}  // namespace kelto1
