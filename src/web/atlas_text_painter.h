// Text drawn from the glyph tables made at build time: the browser has no fontconfig,
// so the desktop's fonts come along as the few glyphs the game shows.
#pragma once

#include "frontend/text_painter.h"
#include "web/glyph_atlas.h"

namespace kelto1 {

class AtlasTextPainter final : public TextPainter {
 public:
  int Width(Face face, const std::string& text) override;
  int LineHeight(Face face) override;
  void Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color, int x,
            int y) override;
};

// The next character of UTF-8 text at i (moved past it); U+FFFD for a broken sequence.
uint32_t NextCodePoint(const std::string& text, size_t& i);
// The glyph of a character in a face; nullptr when the face lacks it.
const Glyph* FindGlyph(Face face, uint32_t code);

}  // namespace kelto1
