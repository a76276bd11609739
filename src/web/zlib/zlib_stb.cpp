// zlib's compress2, uncompress and crc32 on stb's deflate and inflate.
#include "zlib.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

uLong compressBound(uLong source_length) {
  // stb's deflate can fall back to stored blocks: 5 bytes a 32 KiB block, plus header
  // and check, plus slack for its own worst case.
  return source_length + source_length / 8 + 64;
}

int compress2(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length, int level) {
  int out_length = 0;
  unsigned char* packed = stbi_zlib_compress(const_cast<unsigned char*>(source), static_cast<int>(source_length),
                                             &out_length, level < 5 ? 5 : level);
  if (!packed) return Z_MEM_ERROR;
  if (static_cast<uLong>(out_length) > *dest_length) {
    STBIW_FREE(packed);
    return Z_BUF_ERROR;
  }
  std::memcpy(dest, packed, static_cast<size_t>(out_length));
  *dest_length = static_cast<uLongf>(out_length);
  STBIW_FREE(packed);
  return Z_OK;
}

int uncompress(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length) {
  const int got = stbi_zlib_decode_buffer(reinterpret_cast<char*>(dest), static_cast<int>(*dest_length),
                                          reinterpret_cast<const char*>(source), static_cast<int>(source_length));
  if (got < 0) return Z_DATA_ERROR;
  *dest_length = static_cast<uLongf>(got);
  return Z_OK;
}

uLong crc32(uLong crc, const Bytef* buf, uInt length) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = static_cast<uint32_t>(crc) ^ 0xFFFFFFFFu;
  for (uInt i = 0; i < length; ++i) c = table[(c ^ buf[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}
