"""Small PNG writer and reader for our asset generators (standard library only).

Pictures are lists of rows; a pixel is an (r, g, b) tuple, or 0/1 for 1-bit masks.
"""
import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def _write(path, width, height, bit_depth, colour_type, raw_rows, palette=b""):
    raw = b"".join(b"\x00" + row for row in raw_rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 0))
    if palette:
        png += _chunk(b"PLTE", palette)
    png += _chunk(b"IDAT", zlib.compress(raw, 9))
    png += _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def write_rgb(path, rows):
    """24-bit colour PNG from rows of (r, g, b) tuples."""
    height, width = len(rows), len(rows[0])
    raw_rows = [bytes(c for px in row for c in px) for row in rows]
    _write(path, width, height, 8, 2, raw_rows)


def write_mask(path, rows):
    """1-bit greyscale PNG from rows of 0 (black) / 1 (white)."""
    height, width = len(rows), len(rows[0])
    raw_rows = []
    for row in rows:
        out = bytearray((width + 7) // 8)
        for x, bit in enumerate(row):
            if bit:
                out[x >> 3] |= 0x80 >> (x & 7)
        raw_rows.append(bytes(out))
    _write(path, width, height, 1, 0, raw_rows)


def write_indexed(path, palette, rows):
    """Palette PNG (up to 16 colours, 4 bits a pixel) from rows of palette indices."""
    assert 1 <= len(palette) <= 16
    height, width = len(rows), len(rows[0])
    raw_rows = []
    for row in rows:
        out = bytearray((width + 1) // 2)
        for x, idx in enumerate(row):
            out[x >> 1] |= (idx & 15) << (4 if x % 2 == 0 else 0)
        raw_rows.append(bytes(out))
    _write(path, width, height, 4, 3, raw_rows, b"".join(bytes(c) for c in palette))


def scale(rows, factor):
    """Nearest-neighbour enlargement, for looking at a sheet at 2x or more."""
    out = []
    for row in rows:
        big = [px for px in row for _ in range(factor)]
        out.extend(list(big) for _ in range(factor))
    return out


def read_rgb(path):
    """Rows of (r, g, b) tuples from an 8-bit RGB PNG (as write_rgb makes them)."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, ctype = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and ctype == 2, "expects 8-bit RGB: " + path
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3
    rows, prev = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        line = bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b = prev[i]
            c = prev[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else (b if pb <= pc else c))) & 255
        rows.append([tuple(line[x * 3:x * 3 + 3]) for x in range(width)])
        prev = line
    return rows
