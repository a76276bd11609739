// The game's glyphs, rendered at build time from the fonts the desktop uses
// (tools/web/glyph_atlas.py): one table a face, in the order of the layout's faces.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelto1 {

struct Glyph {
  uint32_t code;        // the character
  int16_t advance;      // pixels to the next character
  int16_t left, top;    // where the ink starts, from the line box's top-left
  int16_t width, height;
  uint32_t ink;         // first bit of its ink in kGlyphInk, row by row
};

struct FaceGlyphs {
  int line_height;
  const Glyph* glyphs;  // sorted by code
  size_t count;
};

extern const FaceGlyphs kFaceGlyphs[];
extern const uint8_t* const kGlyphInk;  // one bit a pixel, lowest bit first

}  // namespace kelto1
