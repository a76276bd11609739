// The few zlib calls the replay files make, for the WebAssembly build, where the system's
// zlib cannot be linked. They are carried out by stb's deflate and inflate (libstb-dev),
// so replays written in the browser are ordinary zlib streams that the desktop reads, and
// the other way round.
#pragma once

#include <cstddef>

using uLong = unsigned long;
using uLongf = unsigned long;
using uInt = unsigned int;
using Bytef = unsigned char;

constexpr int Z_OK = 0;
constexpr int Z_MEM_ERROR = -4;
constexpr int Z_BUF_ERROR = -5;
constexpr int Z_DATA_ERROR = -3;
constexpr int Z_BEST_COMPRESSION = 9;

uLong compressBound(uLong source_length);
int compress2(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length, int level);
int uncompress(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length);
uLong crc32(uLong crc, const Bytef* buf, uInt length);
