// A stand-in for the desktop's fonts: every narrow character is a 6 x 10 cell, every
// wide (Japanese) one 12 x 10, drawn as a solid block of ink so tests can find text.
#pragma once

#include <algorithm>
#include <string>

#include "frontend/screen_picture.h"
#include "frontend/text_painter.h"

namespace kelto1::testing {

class FakeTextPainter : public TextPainter {
 public:
  static constexpr int kNarrow = 6, kWide = 12, kHeight = 10;

  int Width(Face, const std::string& text) override {
    int w = 0;
    for (size_t i = 0; i < text.size();) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
      w += len >= 3 ? kWide : kNarrow;
      i += len;
    }
    return w;
  }
  int LineHeight(Face) override { return kHeight; }
  void Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color, int x,
            int y) override {
    const int w = Width(face, text);
    const int x0 = std::max(x, clip.x), x1 = std::min(x + w, clip.Right());
    const int y0 = std::max(y + 2, clip.y), y1 = std::min(y + kHeight - 2, clip.Bottom());
    FillRect(canvas, {x0, y0, x1 - x0, y1 - y0}, color);
  }
};

}  // namespace kelto1::testing
