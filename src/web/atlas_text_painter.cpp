#include "web/atlas_text_painter.h"

#include <algorithm>

namespace kelto1 {

uint32_t NextCodePoint(const std::string& text, size_t& i) {
  const auto byte = [&](size_t at) { return static_cast<uint8_t>(text[at]); };
  const uint8_t lead = byte(i++);
  if (lead < 0x80) return lead;
  int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0) return 0xFFFD;
  uint32_t code = lead & (0x3F >> more);
  for (; more > 0; --more) {
    if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return 0xFFFD;
    code = (code << 6) | (byte(i++) & 0x3F);
  }
  return code;
}

const Glyph* FindGlyph(Face face, uint32_t code) {
  const auto f = static_cast<size_t>(face);
  if (f == 0 || f >= static_cast<size_t>(Face::Count)) return nullptr;
  const FaceGlyphs& glyphs = kFaceGlyphs[f];
  const Glyph* end = glyphs.glyphs + glyphs.count;
  const Glyph* g = std::lower_bound(glyphs.glyphs, end, code, [](const Glyph& a, uint32_t c) { return a.code < c; });
  return g != end && g->code == code ? g : nullptr;
}

int AtlasTextPainter::Width(Face face, const std::string& text) {
  int width = 0;
  for (size_t i = 0; i < text.size();)
    if (const Glyph* g = FindGlyph(face, NextCodePoint(text, i))) width += g->advance;
  return width;
}

int AtlasTextPainter::LineHeight(Face face) {
  const auto f = static_cast<size_t>(face);
  return f < static_cast<size_t>(Face::Count) ? kFaceGlyphs[f].line_height : 0;
}

void AtlasTextPainter::Draw(Picture& canvas, const Rect& clip, Face face, const std::string& text, uint32_t color,
                            int x, int y) {
  const int x0 = std::max(clip.x, 0), y0 = std::max(clip.y, 0);
  const int x1 = std::min(clip.Right(), canvas.width()), y1 = std::min(clip.Bottom(), canvas.height());
  for (size_t i = 0; i < text.size();) {
    const Glyph* g = FindGlyph(face, NextCodePoint(text, i));
    if (!g) continue;
    for (int gy = 0; gy < g->height; ++gy) {
      const int py = y + g->top + gy;
      if (py < y0 || py >= y1) continue;
      uint32_t* row = canvas.Row(py);
      for (int gx = 0; gx < g->width; ++gx) {
        const int px = x + g->left + gx;
        const uint32_t bit = g->ink + static_cast<uint32_t>(gy * g->width + gx);
        if (px >= x0 && px < x1 && ((kGlyphInk[bit >> 3] >> (bit & 7)) & 1)) row[px] = color;
      }
    }
    x += g->advance;
  }
}

}  // namespace kelto1
