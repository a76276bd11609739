// Our artwork, embedded in the program and decoded once when the window is made.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/picture.h"

namespace kelto1 {

struct EmbeddedFile {
  const uint8_t* data;
  size_t size;
};

// The embedded PNG files by name ("road_tiles.png", "sprites.png", ...); an empty
// record when the build holds no such file.
EmbeddedFile FindEmbeddedAsset(const char* name);

// Decodes a PNG into a picture of the given size; pixels outside the image, or the
// whole picture when the PNG cannot be decoded, keep the fill colour. A 1-bit mask
// decodes to black and white. Returns false when the PNG could not be read.
bool DecodePng(const EmbeddedFile& file, Picture& target, int width, int height, uint32_t fill);

// An embedded picture, decoded the first time it is asked for and kept for the life of
// the program.
const Picture& Artwork(const char* name, int width, int height, uint32_t fill);

}  // namespace kelto1
