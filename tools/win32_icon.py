#!/usr/bin/env python3
"""Packs PNG pictures into one Windows icon file (.ico), each kept as a PNG inside it.

    python3 tools/win32_icon.py output.ico input.png...

Windows since Vista reads PNG-packed icon pictures; the sizes are taken from the PNG
headers. Standard library only.
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(out, inputs):
    pictures = [open(p, "rb").read() for p in inputs]
    header = struct.pack("<HHH", 0, 1, len(pictures))
    entries, offset = b"", 6 + 16 * len(pictures)
    for data in pictures:
        w, h = png_size(data)
        if w > 256 or h > 256:
            raise ValueError("an icon picture is at most 256 x 256")
        # 0 stands for 256 in the one-byte sizes.
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + b"".join(pictures))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
