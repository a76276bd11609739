#!/usr/bin/env python3
"""Enlarges the game's icon for the desktop's icon theme, pixel-sharp.

    python3 tools/scale_icon.py assets/icon.png SIZE output.png

Every pixel of the output takes the colour of the icon pixel it falls on (nearest
neighbour), so the pixel art stays crisp; nothing is blended. The icon is a palette
PNG and the output keeps its palette (and transparency, if it has any). Standard
library only.
"""
import struct
import sys
import zlib


def read_chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        chunks.append((data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    return chunks


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, height, stride):
    rows, prev, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - 1] if i else 0
            up, up_left = prev[i], (prev[i - 1] if i else 0)
            line[i] = (line[i] + (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]) & 0xFF
        rows.append(line)
        prev = line
    return rows


def read_indexed(path):
    """(palette bytes, transparency bytes, depth, rows of palette indices)."""
    chunks = read_chunks(open(path, "rb").read())
    width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    if colour_type != 3 or interlace:
        raise ValueError("%s: expected a non-interlaced palette PNG" % path)
    palette = b"".join(d for k, d in chunks if k == b"PLTE")
    trns = b"".join(d for k, d in chunks if k == b"tRNS")
    raw = zlib.decompress(b"".join(d for k, d in chunks if k == b"IDAT"))
    per_byte = 8 // depth
    rows = []
    for line in unfilter(raw, height, (width * depth + 7) // 8):
        rows.append([(line[x // per_byte] >> (8 - depth * (x % per_byte + 1))) & ((1 << depth) - 1)
                     for x in range(width)])
    return palette, trns, depth, rows


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_indexed(path, palette, trns, depth, rows):
    height, width = len(rows), len(rows[0])
    per_byte = 8 // depth
    raw = bytearray()
    for row in rows:
        line = bytearray((width * depth + 7) // 8)
        for x, index in enumerate(row):
            line[x // per_byte] |= index << (8 - depth * (x % per_byte + 1))
        raw += b"\x00" + line
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, 3, 0, 0, 0))
    png += chunk(b"PLTE", palette)
    if trns:
        png += chunk(b"tRNS", trns)
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def scale(rows, size):
    """Nearest neighbour to size x size: output pixel (x, y) shows icon pixel
    (x * w // size, y * h // size)."""
    h, w = len(rows), len(rows[0])
    return [[rows[y * h // size][x * w // size] for x in range(size)] for y in range(size)]


def main():
    if len(sys.argv) != 4:
        sys.exit("usage: scale_icon.py ICON.png SIZE OUTPUT.png")
    palette, trns, depth, rows = read_indexed(sys.argv[1])
    write_indexed(sys.argv[3], palette, trns, depth, scale(rows, int(sys.argv[2])))


if __name__ == "__main__":
    main()
